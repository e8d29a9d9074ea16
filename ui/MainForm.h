// The main window: menus, toolbar, the folder tree beside the file list, the
// two tag panes, the tab pages and the status bar. It binds every control to
// the editor and keeps nothing of its own but the window's state: geometry,
// list view and the exit.
//
// What the idle loop of a single-threaded window would do is done by Qt's
// signals: a new folder in the tree starts its listing on a worker thread
// (the window paints and can be closed meanwhile; a listing finished after
// the user moved on is dropped), a finished listing loads the selected file,
// a newly selected row loads its file. Every handler reaches the editor
// through WhenEditorIdle, so nothing re-enters it while it changes.
#pragma once

#include "editor/TagEditor.h"
#include "ui/GuiHost.h"

#include <QMainWindow>
#include <QThreadPool>

#include <map>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QToolBar;

namespace tessaly {

class FileListView;
class FolderTree;
class Splitter;
class TabPages;
class TagPanes;

class MainForm final : public QMainWindow {
    Q_OBJECT
public:
    // `config` and `store` must outlive the window.
    MainForm(Configuration& config, CRegSettings& store, QWidget* parent = nullptr);
    ~MainForm() override;

    // Sets the window up as start-up leaves it and shows it: the command line
    // (a path or tessal:// URL; "" for none) picks the folder and file, else
    // the last folder is shown.
    void InitMainWindow(const std::string& commandLine);

    // Shows or hides the toolbar and places what is below it.
    void ShowToolbar(bool show);
    // Asks (when ConfirmExit), saves the folder and the view, and closes the
    // window unless the request came from closing it. False when the user
    // said No.
    bool ExitProgram(bool fromCloseRequest);

    TagEditor& Editor() { return editor_; }
    GuiHost& Host() { return host_; }
    QAction* Action(const QString& name) const;
    QAction* ToolbarAction(const QString& key) const;
    bool ExitRequested() const { return exitRequested_; }
    // True while a folder lists on the worker thread.
    bool Listing() const { return editor_.ListingPending(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateCentralArea();
    QAction* AddAction(const char* name, const QString& caption,
                       std::function<void()> action = {});
    void OnEditorEvent(const EditorEvent& event);
    void ShowCommandStates();
    void UpdateEditActions();
    void RunEditAction(const char* slot);
    void OpenOptions();
    void EditPattern(PatternListKind list, int patternIndex);
    void EditMacroRow(int row);
    void OpenHelp(const QUrl& url);

    // Folder and listing.
    void FolderSelected(const QString& selection);
    void StartListing(const ListingRequest& request);
    void ListingFinished(ListingResult result);
    bool ProcessCommandLine(const std::string& commandLine);

    // Layout and window state.
    void LayOut();
    void FirstActivation();
    ViewSettings CollectView() const;
    int ToTwipsX(int pixels) const;
    int ToTwipsY(int pixels) const;
    int ToPixelsX(int twips) const;
    int ToPixelsY(int twips) const;

    Configuration& config_;
    CRegSettings& store_;
    TagEditor editor_;
    GuiHost host_;
    std::unique_ptr<ScopedHost> hostScope_;
    int listener_ = 0;

    QToolBar* toolBar_ = nullptr;
    QWidget* central_ = nullptr;
    Splitter* splitter1_ = nullptr;
    Splitter* splitter2_ = nullptr;
    QWidget* picture1_ = nullptr;
    FolderTree* folderList_ = nullptr;
    FileListView* fileList_ = nullptr;
    TagPanes* panes_ = nullptr;
    TabPages* tabs_ = nullptr;
    QLabel* statusText_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<QString, QAction*> toolbarActions_;

    bool activated_ = false;
    bool closing_ = false;
    bool exitRequested_ = false;
    // A file named on the command line, selected once its folder is listed.
    std::optional<std::string> pendingName_;
    // Listings run here; the pool is waited for before the window goes.
    QThreadPool listingPool_;
};

}  // namespace tessaly
