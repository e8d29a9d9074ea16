// The main window's frame: the arrangement of its areas in twips, the
// toolbar switch, the first activation that restores the window as it was
// left, and the exit that saves it.
#include "ui/MainForm.h"

#include "ui/Accessible.h"
#include "ui/Controls.h"
#include "ui/EditorIdle.h"
#include "ui/FileListView.h"
#include "ui/FolderTree.h"
#include "ui/MainLayout.h"
#include "ui/Splitter.h"
#include "ui/TabPages.h"
#include "ui/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace tessaly {

int MainForm::ToTwipsX(int pixels) const { return PixelsToTwips(pixels, logicalDpiX()); }
int MainForm::ToTwipsY(int pixels) const { return PixelsToTwips(pixels, logicalDpiY()); }
int MainForm::ToPixelsX(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }
int MainForm::ToPixelsY(int twips) const { return TwipsToPixels(twips, logicalDpiY()); }

void MainForm::CreateCentralArea() {
    central_ = new QWidget(this);
    central_->setObjectName("MainFormClient");
    setCentralWidget(central_);
    central_->installEventFilter(this);

    splitter1_ = new Splitter(central_);
    NameWidget(splitter1_, "Splitter1");
    splitter1_->setAccessibleName("Folders and files");
    folderList_ = new FolderTree(splitter1_);
    fileList_ = new FileListView(editor_, splitter1_);
    splitter1_->SetSplitterSize(60);
    splitter1_->SetSplitterBorder(0);
    splitter1_->SetRatioFromTop(0.45f);
    splitter1_->SetChild1("FolderList");
    splitter1_->SetChild2("FileList");

    picture1_ = new QWidget(central_);
    NameWidget(picture1_, "Picture1");
    splitter2_ = new Splitter(picture1_);
    NameWidget(splitter2_, "Splitter2");
    splitter2_->setAccessibleName("ID3v1 tag and tabs");
    panes_ = new TagPanes(editor_, splitter2_, central_);
    tabs_ = new TabPages(editor_, config_, splitter2_);
    splitter2_->SetOrientation(2);
    splitter2_->SetSplitterSize(150);
    splitter2_->SetRatioFromTop(0.52f);
    splitter2_->SetMinSize1(200);
    splitter2_->SetMinSize2(923);
    splitter2_->SetChild1("ID3v1frame");
    splitter2_->SetChild2("tswindow");

    connect(panes_, &TagPanes::closeRequested, this, [this] { ExitProgram(false); });
    connect(tabs_, &TabPages::patternActivated, this, [this](PatternListKind list, int index) {
        WhenEditorIdle(editor_, this, [this, list, index] { EditPattern(list, index); });
    });
    connect(tabs_, &TabPages::macroActivated, this, [this](int row) {
        WhenEditorIdle(editor_, this, [this, row] { EditMacroRow(row); });
    });
    connect(folderList_, &FolderTree::folderChanged, this,
            [this](const QString& selection) { FolderSelected(selection); });
    connect(fileList_, &FileListView::refreshRequested, this, [this] {
        WhenEditorIdle(editor_, this, [this] { StartListing(editor_.RequestRefresh()); });
    });
}

// The outer size the layout rules measure: the frame and caption around the
// client area, whose top is below the menu bar.
void MainForm::LayOut() {
    if (closing_ || isMinimized() || !central_) return;
    const bool toolbarShown = toolBar_->isVisible();
    const int t = ToolbarOffset(toolbarShown);
    const WindowSize outer{ToTwipsX(width()) + MainDesign::FrameWidth,
                           ToTwipsY(height() - menuBar()->height()) + MainDesign::FrameHeight};
    // The ID3v1 pane fills Picture1, whose width follows from the same
    // layout: the room left of the ID3v2 pane. Taken from there rather than
    // from the pane, which is placed only after this.
    const MainWindowLayout sizes = LayOutMainWindow(outer, toolbarShown, 0);
    const int paneLeft = sizes.Splitter1.Right() - sizes.ID3v2FrameWidth;
    const int picture1Width = std::max(0, paneLeft - 70 - MainDesign::Picture1Left);
    const MainWindowLayout layout = LayOutMainWindow(outer, toolbarShown, picture1Width);
    // Client coordinates start below the menu bar; the central area below the
    // toolbar, which takes 360 twips while it shows.
    const int clientTop = MainDesign::ToolbarHeight - t;
    auto place = [this, clientTop](QWidget* widget, int left, int top, int width, int height) {
        widget->setGeometry(ToPixelsX(left), ToPixelsY(top - clientTop), ToPixelsX(width),
                            ToPixelsY(height));
    };
    const TwipRect s1 = layout.Splitter1;
    place(splitter1_, s1.Left, s1.Top, s1.Width, s1.Height);
    splitter1_->SetRatioFromTop(layout.Splitter1Ratio);
    // The lower band reaches down to 75 twips above the status bar.
    const int bottom = ToTwipsY(central_->height()) + clientTop - 75;
    place(picture1_, MainDesign::Picture1Left, layout.Picture1Top, picture1Width,
          std::max(0, bottom - layout.Picture1Top));
    splitter2_->setGeometry(picture1_->rect());
    place(panes_->ID3v2Frame(), paneLeft, layout.ID3v2FrameTop, layout.ID3v2FrameWidth,
          std::max(0, bottom - layout.ID3v2FrameTop));
}

void MainForm::ShowToolbar(bool show) {
    toolBar_->setVisible(show);
    Action("mnuViewToolbar")->setChecked(show);
    const bool normal = !isMaximized() && !isMinimized() && !isFullScreen();
    const ToolbarChange change = ShowToolbarLayout(show, normal);
    setMinimumSize(ToPixelsX(MainDesign::MinimumWidth - MainDesign::FrameWidth),
                   ToPixelsY(MainDesign::NormalHeight - ToolbarOffset(show) -
                             MainDesign::FrameHeight) +
                       menuBar()->sizeHint().height());
    if (change.WindowHeight)
        resize(width(), ToPixelsY(*change.WindowHeight - MainDesign::FrameHeight) +
                            menuBar()->sizeHint().height());
    LayOut();
}

void MainForm::FirstActivation() {
    const ViewSettings& view = config_.View;
    // A window left minimised opens normal: one that starts minimised is
    // easily lost.
    if (view.WindowState == 2) {
        setWindowState(Qt::WindowMaximized);
    } else {
        QRect geometry = this->geometry();
        if (view.WindowX > -1) geometry.moveLeft(ToPixelsX(view.WindowX));
        if (view.WindowY > -1) geometry.moveTop(ToPixelsY(view.WindowY));
        if (view.WindowW > -1) geometry.setWidth(ToPixelsX(view.WindowW));
        if (view.WindowH > -1) geometry.setHeight(ToPixelsY(view.WindowH));
        setGeometry(geometry);
    }
    QHeaderView* header = fileList_->Header();
    for (int c = 0; c < 6 && c < header->count(); ++c)
        if (view.ColumnWidth[static_cast<size_t>(c)] > -1)
            header->resizeSection(c, ToPixelsX(view.ColumnWidth[static_cast<size_t>(c)]));
    // Display positions, 1-based; the columns are placed from the first
    // position on, so each move lands where it was saved.
    std::vector<std::pair<int, int>> order;
    for (int c = 0; c < 6 && c < header->count(); ++c)
        order.emplace_back(view.ColumnPosition[static_cast<size_t>(c)], c);
    std::sort(order.begin(), order.end());
    for (const auto& [position, column] : order)
        if (position >= 1 && position <= header->count())
            header->moveSection(header->visualIndex(column), position - 1);
    fileList_->SetViewMode(view.ListView >= 0 && view.ListView <= 3 ? view.ListView : 3);
    activated_ = true;
}

ViewSettings MainForm::CollectView() const {
    ViewSettings view = config_.View;
    view.WindowState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    const QRect geometry = this->geometry();
    view.WindowX = ToTwipsX(geometry.x());
    view.WindowY = ToTwipsY(geometry.y());
    view.WindowW = ToTwipsX(geometry.width());
    view.WindowH = ToTwipsY(geometry.height());
    const QHeaderView* header = fileList_->Header();
    for (int c = 0; c < 6 && c < header->count(); ++c) {
        view.ColumnWidth[static_cast<size_t>(c)] = ToTwipsX(header->sectionSize(c));
        view.ColumnPosition[static_cast<size_t>(c)] = header->visualIndex(c) + 1;
    }
    view.ListView = fileList_->ViewMode();
    view.SortKey = editor_.Files().SortColumn();
    view.SortOrder = editor_.Files().Order() == SortOrder::Descending ? 1 : 0;
    return view;
}

bool MainForm::ExitProgram(bool fromCloseRequest) {
    if (config_.ConfirmExit &&
        CurrentHost().ShowMessage("Are you sure?", "Confirm Exit", MessageIcon::Question,
                          MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    closing_ = true;
    if (activated_) {
        SaveLastFolder(store_, folderList_->Selection().toStdString());
        config_.View = CollectView();
        SaveViewSettings(store_, config_.View);
    }
    exitRequested_ = true;
    if (!fromCloseRequest) close();
    return true;
}

void MainForm::closeEvent(QCloseEvent* event) {
    // Not in the middle of an update: the request is answered once it is done.
    if (editor_.IsChanging()) {
        event->ignore();
        WhenEditorIdle(editor_, this, [this] { close(); });
        return;
    }
    if (exitRequested_ || ExitProgram(true)) {
        event->accept();
        return;
    }
    event->ignore();
}

}  // namespace tessaly
