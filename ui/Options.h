// The options dialog: every setting that has a control, on four tabs
// (General, Rename by Tags, Tags by Filename, Macros). It works on its
// controls only; the configuration in memory and the store change when OK or
// Apply runs ApplyOptions, never before, and Cancel drops what was not
// applied.
//
// Opened modally: Options dialog(config, store, toolbarShown, window);
// dialog.exec(). `applied` is emitted after each apply, so the window can
// refresh what depends on the configuration (file-list columns, pattern
// lists, macros).
#pragma once

#include "settings/Configuration.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QComboBox;
class QPushButton;
class QSlider;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaly {

class Options : public QDialog {
    Q_OBJECT
public:
    // `toolbarShown` tells whether the main window shows its toolbar, which
    // is what gets stored for "Toolbar".
    Options(Configuration& config, CRegSettings& store, std::function<bool()> toolbarShown,
            QWidget* parent = nullptr);

    // Copies the controls into the configuration, saves it, and adds or
    // removes the context-menu entry when its box says otherwise than the
    // desktop. Always true: saving fails silently, as every settings write.
    bool ApplyOptions();

signals:
    void applied();

protected:
    // Runs a pattern or macro editor modally; the caller then reads its
    // result. Tests answer the editors here without a nested event loop.
    virtual void RunEditor(QDialog& editor);

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* GeneralPage();
    QWidget* PatternPage(bool fileByTags);
    // A pattern list in its frame with Add, Edit and Delete (named
    // buttonPrefix + "Add", ...), wired to the list.
    QTreeWidget* PatternListFrame(QGridLayout* layout, const char* listName, const char* title,
                                  const std::string& buttonPrefix, QPushButton*& edit,
                                  QPushButton*& remove, QWidget* page);
    QWidget* MacroPage();
    void LoadControls();
    void UpdateButtons();

    void AddExtension();
    void RemoveExtension();
    void AddPattern(QTreeWidget* list);
    void EditPattern(QTreeWidget* list, QTreeWidgetItem* item);
    void DeleteRow(QTreeWidget* list);
    void AddMacro();
    void EditMacroRow(QTreeWidgetItem* item);
    QStringList DefinedHotKeys() const;

    Configuration& config_;
    CRegSettings& store_;
    std::function<bool()> toolbarShown_;
    bool centred_ = false;
    bool languageChosen_ = false;  // the user picked a row of Language

    QTabWidget* tabs_;
    QCheckBox* originalDateTime_;
    QCheckBox* extendedInfo_;
    QComboBox* language_;
    QCheckBox* addContextMenu_;
    QCheckBox* quickLoad_;
    QListWidget* extensions_;
    QLineEdit* txtExtension_;
    QPushButton* addExtension_;
    QPushButton* removeExtension_;
    QSlider* copyBuffer_;
    QLabel* copyBufferLabel_;
    QTreeWidget* fileByTags_;
    QTreeWidget* tagsByFile_;
    QPushButton* fbtEdit_;
    QPushButton* fbtDelete_;
    QPushButton* tbfEdit_;
    QPushButton* tbfDelete_;
    QCheckBox* renameSpace_;
    QLineEdit* renameSpaceChar_;
    QCheckBox* renamePadTracks_;
    QCheckBox* replaceWithSpaces_;
    QLineEdit* replaceWithSpacesChars_;
    QTreeWidget* macroList_;
    QPushButton* macroEdit_;
    QPushButton* macroDelete_;
};

}  // namespace tessaly
