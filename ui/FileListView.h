// The FileList control: the audio files of the selected folder in one of four
// views. "Details" is a table with the six columns; "Large Icons", "Small
// Icons" and "List" are one icon/list view in three arrangements. Both share
// the model and the selection, so switching views keeps the selected file.
//
// The control only shows the editor's rows and reports what the user does:
// a row clicked, a header clicked, a menu command. Every call into the editor
// goes through WhenEditorIdle. The editor's own changes of the selection are
// shown without being reported back.
#pragma once

#include "editor/TagEditor.h"

#include <QStackedWidget>

class QAbstractItemView;
class QAction;
class QActionGroup;
class QHeaderView;
class QItemSelectionModel;
class QListView;
class QMenu;
class QTreeView;

namespace tessaly {

class FileListModel;

class FileListView final : public QStackedWidget {
    Q_OBJECT
public:
    // The list context menu's "View" entries, in menu order.
    enum Mode { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

    // `editor` must outlive the control.
    explicit FileListView(TagEditor& editor, QWidget* parent = nullptr);
    ~FileListView() override;

    // 0 Large Icons, 1 Small Icons, 2 List, 3 Details; others are ignored.
    void SetViewMode(int mode);
    int ViewMode() const { return mode_; }

    // The Details view's header: column widths and display positions are
    // the main window's to save and restore.
    QHeaderView* Header() const;
    // The list context menu (mnuPop); its actions carry their control names.
    QMenu* ContextMenu() const { return menu_; }
    FileListModel* Model() const { return model_; }
    // The view the current mode shows.
    QAbstractItemView* ActiveView() const;
    QTreeView* DetailsView() const { return details_; }
    QListView* IconView() const { return icons_; }

    // Starts the in-place edit of the selected row's name.
    void EditSelectedName();

signals:
    // F5: the folder selected in the tree is to be listed again.
    void refreshRequested();
    void viewModeChanged(int mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateViews();
    void CreateMenu();
    void OnEditorEvent(const EditorEvent& event);
    // Shows the editor's selected row and sort state in the views.
    void ShowEditorSelection(bool scroll);
    void ShowSortIndicator();
    void UpdateMenuState();
    void OnUserSelection();
    void OnHeaderClicked(int section);
    void OpenMenu(const QPoint& globalPos);
    void Rename();

    TagEditor& editor_;
    FileListModel* model_ = nullptr;
    QItemSelectionModel* selection_ = nullptr;
    QTreeView* details_ = nullptr;
    QListView* icons_ = nullptr;
    int mode_ = Details;
    int listener_ = 0;
    // Set while the editor's selection is being shown, so that it is not
    // reported back as the user's.
    bool showingEditorSelection_ = false;

    QMenu* menu_ = nullptr;
    QAction* play_ = nullptr;
    QActionGroup* viewGroup_ = nullptr;
    QAction* viewActions_[4] = {};
    QAction* rename_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* fileByTags_ = nullptr;
    QAction* tagsByFile_ = nullptr;
};

}  // namespace tessaly
