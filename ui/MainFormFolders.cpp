// The main window's start and its folders: the command line, the listing of
// the folder chosen in the tree on a worker thread, and the loads that
// follow.
#include "ui/MainForm.h"

#include "settings/CommandLine.h"
#include "ui/Controls.h"
#include "ui/EditorIdle.h"
#include "ui/FileListView.h"
#include "ui/FolderTree.h"
#include "ui/TabPages.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QStatusBar>

#include "engine/FileIO.h"

namespace tessaly {

void MainForm::InitMainWindow(const std::string& commandLine) {
    Action("mnuToolsConfirmExit")->setChecked(config_.ConfirmExit);
    if (!ProcessCommandLine(commandLine)) folderList_->PointAt(QString::fromStdString(LoadLastFolder(store_)));
    editor_.SetEditorState(EditorMode::Normal);
    tabs_->FillMacroList();
    editor_.FillPatternLists();
    ShowToolbar(config_.Toolbar);
    FirstActivation();
    show();
}

bool MainForm::ProcessCommandLine(const std::string& commandLine) {
    const std::optional<std::string> path = CommandLinePath(commandLine);
    if (!path) return false;
    // A folder given without a final separator names itself as a file of
    // its parent: the parent is shown and no row matches.
    pendingName_ = NameOf(*path);
    folderList_->PointAt(QString::fromStdString(FolderOf(*path)));
    editor_.SetEditorState(EditorMode::Normal);
    return true;
}

void MainForm::FolderSelected(const QString& selection) {
    WhenEditorIdle(editor_, this, [this, selection] {
        if (auto request = editor_.RequestFolder(selection.toStdString())) StartListing(*request);
    });
}

void MainForm::StartListing(const ListingRequest& request) {
    statusBar()->showMessage("Reading " + QString::fromStdString(request.Folder) + " ...");
    QPointer<MainForm> self(this);
    listingPool_.start([self, request] {
        ListingResult result = RunListing(request);
        // Back on the window's thread; dropped if the window has gone.
        QMetaObject::invokeMethod(
            self.data(),
            [self, result = std::move(result)]() mutable {
                if (self) self->ListingFinished(std::move(result));
            },
            Qt::QueuedConnection);
    });
}

void MainForm::ListingFinished(ListingResult result) {
    WhenEditorIdle(editor_, this, [this, result = std::move(result)]() mutable {
        if (!editor_.FinishListing(std::move(result))) return;  // superseded
        statusBar()->clearMessage();
        if (pendingName_) {
            const int row = editor_.Files().FindText(*pendingName_);
            pendingName_.reset();
            // No row for the name: the folder shows with nothing loaded.
            if (row < 0) {
                editor_.SetEditorState(EditorMode::Normal);
                return;
            }
            // Selecting another row loads its file; the first row is loaded below.
            if (row != editor_.Files().Selected()) {
                editor_.SelectRow(row);
                return;
            }
        }
        editor_.LoadSelectedFile();
    });
}

}  // namespace tessaly
