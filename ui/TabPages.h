// The tab strip below the ID3v1 pane (tsWindow) and its four pages: the
// rename patterns with their previews (FileByTagsList), the parsing patterns
// (TagsByFileList), the macros (MacroList) and the stream information
// (MPEGInfo); "None Defined" stands over an empty list and "No MPEG Header
// Found" over the stream page of a file without a frame header.
#pragma once

#include "editor/TagEditor.h"

#include <QTabWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaly {

class TabPages final : public QTabWidget {
    Q_OBJECT
public:
    TabPages(TagEditor& editor, const Configuration& config, QWidget* parent);
    ~TabPages() override;

    QTreeWidget* FileByTagsList() const { return fileByTags_; }
    QTreeWidget* TagsByFileList() const { return tagsByFile_; }
    QTreeWidget* MacroList() const { return macros_; }
    QTreeWidget* MPEGInfo() const { return mpegInfo_; }
    QLabel* NoneDefined() const { return noneDefined_; }
    QLabel* NoMPEGInfo() const { return noMPEGInfo_; }

    // Refills the macro list from the configuration's macro table.
    void FillMacroList();

signals:
    // A double-click on a pattern or macro row: the main window opens its editor.
    void patternActivated(PatternListKind list, int patternIndex);
    void macroActivated(int row);

private:
    QTreeWidget* MakeList(const char* name, const char* caption, const QStringList& header);
    void FillPatterns(QTreeWidget* list, const std::vector<PatternListItem>& items);
    void Chosen(PatternListKind kind, QTreeWidgetItem* item);
    void ShowStream();
    // Shows the label the page calls for over the current page's list.
    void ShowPageLabel();
    void resizeEvent(QResizeEvent* event) override;

    TagEditor& editor_;
    const Configuration& config_;
    int listener_ = 0;
    bool filling_ = false;
    QTreeWidget* fileByTags_;
    QTreeWidget* tagsByFile_;
    QTreeWidget* macros_;
    QTreeWidget* mpegInfo_;
    QLabel* noneDefined_;
    QLabel* noMPEGInfo_;
};

}  // namespace tessaly
