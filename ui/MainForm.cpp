// The main window's construction: actions, menus, toolbar, status bar and
// the controls of its areas, and the commands they run.
#include "ui/MainForm.h"

#include "ui/About.h"
#include "ui/Accessible.h"
#include "ui/Controls.h"
#include "ui/EditorIdle.h"
#include "ui/FileListView.h"
#include "ui/FolderTree.h"
#include "ui/HelpPages.h"
#include "ui/Icons.h"
#include "ui/KeyCodes.h"
#include "ui/Splitter.h"
#include "ui/TabPages.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>

namespace tessaly {

MainForm::MainForm(Configuration& config, CRegSettings& store, QWidget* parent)
    : QMainWindow(parent), config_(config), store_(store), editor_(config, store), host_(this) {
    setObjectName("MainForm");
    setWindowTitle(AppTitle);
    setWindowIcon(AppIcon());
    hostScope_ = std::make_unique<ScopedHost>(host_);
    listingPool_.setMaxThreadCount(1);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateCentralArea();
    listener_ = editor_.AddListener([this](const EditorEvent& event) { OnEditorEvent(event); });
    connect(qApp, &QApplication::focusChanged, this, [this] { UpdateEditActions(); });
    // Key presses reach the window before its controls, for the hot keys.
    qApp->installEventFilter(this);
    ShowCommandStates();
    UpdateEditActions();
}

MainForm::~MainForm() {
    qApp->removeEventFilter(this);
    // A listing still running stops at its next file and is waited for.
    editor_.CancelListing();
    listingPool_.waitForDone();
    editor_.RemoveListener(listener_);
}

QAction* MainForm::AddAction(const char* name, const QString& caption,
                             std::function<void()> action) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (action)
        connect(a, &QAction::triggered, this, [this, action = std::move(action)] {
            WhenEditorIdle(editor_, this, action);
        });
    actions_[name] = a;
    return a;
}

QAction* MainForm::Action(const QString& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* MainForm::ToolbarAction(const QString& key) const {
    auto it = toolbarActions_.find(key);
    return it == toolbarActions_.end() ? nullptr : it->second;
}

void MainForm::CreateActions() {
    AddAction("mnuFileExit", "E&xit", [this] { ExitProgram(false); });

    struct EditEntry { const char* name; const char* caption; QKeySequence keys; const char* slot; };
    for (const EditEntry& e : {EditEntry{"mnuEditUndo", "&Undo", QKeySequence::Undo, "undo"},
                               EditEntry{"mnuEditCut", "Cu&t", QKeySequence::Cut, "cut"},
                               EditEntry{"mnuEditCopy", "&Copy", QKeySequence::Copy, "copy"},
                               EditEntry{"mnuEditPaste", "&Paste", QKeySequence::Paste, "paste"},
                               EditEntry{"mnuEditDSelectAll", "Select &All", QKeySequence::SelectAll,
                                         "selectAll"}}) {
        QAction* a = AddAction(e.name, e.caption);
        a->setShortcut(e.keys);
        // The focused box handles its own keys; the shortcut serves the menu.
        a->setShortcutContext(Qt::WidgetShortcut);
        const char* slot = e.slot;
        connect(a, &QAction::triggered, this, [this, slot] { RunEditAction(slot); });
    }

    QAction* toolbar = AddAction("mnuViewToolbar", "&Toolbar");
    toolbar->setCheckable(true);
    connect(toolbar, &QAction::triggered, this, [this](bool checked) {
        ShowToolbar(checked);
        SaveToolbarSetting(store_, checked);
    });
    AddAction("mnuViewRefresh", "&Refresh", [this] { StartListing(editor_.RequestRefresh()); });

    AddAction("mnuToolsv1Tov2", "Copy ID3v1 to ID3v2", [this] { editor_.CopyV1ToV2(); });
    AddAction("mnuToolsv2Tov1", "Copy ID3v2 to ID3v1", [this] { editor_.CopyV2ToV1(); });
    AddAction("mnuToolsCvtMixed", "Convert Tags to Mixed Case", [this] { editor_.MixedCasePanes(); });
    AddAction("mnuToolsFileByTags", "Rename file based on tags", [this] { editor_.RenameCurrentFile(); });
    AddAction("mnuToolsTagsByFile", "Tags by filename", [this] { editor_.TagsFromFileName(); });
    QAction* confirm = AddAction("mnuToolsConfirmExit", "Confirm Exit");
    confirm->setCheckable(true);
    connect(confirm, &QAction::triggered, this, [this, confirm] {
        config_.ConfirmExit = !config_.ConfirmExit;
        confirm->setChecked(config_.ConfirmExit);
        SaveConfirmExit(store_, config_);
    });
    AddAction("mnuToolsOptions", "&Options", [this] { OpenOptions(); });

    AddAction("mnuHelpOnline", "&Online Help", [this] { OpenHelp(OnlineHelpUrl()); });
    AddAction("mnuHelpUpdate", "Check for &Update", [this] { OpenHelp(ReleasesUrl()); });
    AddAction("mnuHelpSupport", "&Technical Support", [this] { OpenHelp(TechnicalSupportUrl()); });
    AddAction("mnuHelpAbout", "&About", [this] {
        About about(store_, this);
        about.exec();
    });
}

void MainForm::CreateMenus() {
    auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    menu("mnuFile", "&File")->addAction(Action("mnuFileExit"));
    QMenu* edit = menu("mnuEdit", "&Edit");
    edit->addAction(Action("mnuEditUndo"));
    edit->addSeparator();
    for (const char* name : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste"}) edit->addAction(Action(name));
    edit->addSeparator();
    edit->addAction(Action("mnuEditDSelectAll"));
    QMenu* view = menu("mnuView", "&View");
    view->addAction(Action("mnuViewToolbar"));
    view->addSeparator();
    view->addAction(Action("mnuViewRefresh"));
    QMenu* tools = menu("mnuTools", "&Tools");
    for (const char* name : {"mnuToolsv1Tov2", "mnuToolsv2Tov1", "mnuToolsCvtMixed",
                             "mnuToolsFileByTags", "mnuToolsTagsByFile"})
        tools->addAction(Action(name));
    tools->addSeparator();
    tools->addAction(Action("mnuToolsConfirmExit"));
    tools->addAction(Action("mnuToolsOptions"));
    QMenu* help = menu("mnuHelp", "&Help");
    help->addAction(Action("mnuHelpOnline"));
    help->addSeparator();
    help->addAction(Action("mnuHelpUpdate"));
    help->addAction(Action("mnuHelpSupport"));
    help->addSeparator();
    help->addAction(Action("mnuHelpAbout"));
}

void MainForm::CreateToolBar() {
    toolBar_ = new QToolBar("Toolbar", this);
    NameWidget(toolBar_, "tbToolBar");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->toggleViewAction()->setEnabled(false);  // View > Toolbar is the one switch
    addToolBar(Qt::TopToolBarArea, toolBar_);
    struct Button { const char* key; const char* tip; QAction* same; std::function<void()> run; bool separatorAfter; };
    const Button buttons[] = {
        {"options", "Options", Action("mnuToolsOptions"), {}, true},
        {"cut", "Cut", Action("mnuEditCut"), {}, false},
        {"copy", "Copy", Action("mnuEditCopy"), {}, false},
        {"paste", "Paste", Action("mnuEditPaste"), {}, false},
        {"delete", "Delete", nullptr, {}, true},
        {"filebytags", "Rename by Tags", Action("mnuToolsFileByTags"), {}, false},
        {"tagsbyfile", "Tags by Filename", Action("mnuToolsTagsByFile"), {}, true},
        {"v1tov2", "ID3v1 to ID3v2", Action("mnuToolsv1Tov2"), {}, false},
        {"v2tov1", "ID3v2 to ID3v1", Action("mnuToolsv2Tov1"), {}, true},
        {"cvtmixed", "Convert Tags to Mixed Case", Action("mnuToolsCvtMixed"), {}, true},
        {"vwLargeIcons", "Large Icons", nullptr, [this] { fileList_->SetViewMode(0); }, false},
        {"vwSmallIcons", "Small Icons", nullptr, [this] { fileList_->SetViewMode(1); }, false},
        {"vwList", "List", nullptr, [this] { fileList_->SetViewMode(2); }, false},
        {"vwDetails", "Details", nullptr, [this] { fileList_->SetViewMode(3); }, true},
        {"play", "Play", nullptr, [this] { editor_.PlaySelectedFile(); }, true},
        {"help", "Help", Action("mnuHelpOnline"), {}, false},
    };
    for (const Button& b : buttons) {
        auto* a = new QAction(ToolbarIcon(b.key), b.tip, this);
        a->setObjectName(QString("tb_") + b.key);
        a->setData(QString(b.key));
        a->setToolTip(b.tip);
        if (b.same) {
            connect(a, &QAction::triggered, b.same, &QAction::trigger);
        } else if (b.run) {
            connect(a, &QAction::triggered, this, [this, run = b.run] { WhenEditorIdle(editor_, this, run); });
        } else {
            a->setEnabled(false);  // a button without a command is shown as such
        }
        toolBar_->addAction(a);
        if (QWidget* w = toolBar_->widgetForAction(a)) {
            w->setAccessibleName(b.tip);
            w->setAccessibleDescription(b.key);
        }
        toolbarActions_[b.key] = a;
        if (b.separatorAfter) toolBar_->addSeparator();
    }
}

void MainForm::CreateStatusBar() {
    NameWidget(statusBar(), "stBar");
    statusBar()->setAccessibleName("Status");
    statusText_ = new QLabel("Status: Ready", statusBar());
    statusText_->setObjectName("stBarText");
    statusText_->setAccessibleName("Status");
    statusText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(statusText_, 1);
}

void MainForm::OnEditorEvent(const EditorEvent& event) {
    switch (event.Kind) {
        case EditorEventKind::StateChanged: ShowCommandStates(); break;
        case EditorEventKind::CaptionsChanged:
            setWindowTitle(QString::fromUtf8(editor_.WindowCaption()));
            break;
        case EditorEventKind::StreamInfoChanged:
            statusText_->setText(QString::fromUtf8(editor_.Stream().StatusText));
            break;
        default: break;
    }
}

void MainForm::ShowCommandStates() {
    const EditorControls& c = editor_.Controls();
    const std::pair<const char*, bool> states[] = {
        {"mnuToolsv1Tov2", c.CopyFromID3v1}, {"mnuToolsv2Tov1", c.CopyToID3v1},
        {"mnuToolsCvtMixed", c.MixedCase},   {"mnuToolsFileByTags", c.FileByTags},
        {"mnuToolsTagsByFile", c.TagsByFile}};
    for (auto [name, enabled] : states) Action(name)->setEnabled(enabled);
    const std::pair<const char*, bool> buttons[] = {
        {"v1tov2", c.CopyFromID3v1}, {"v2tov1", c.CopyToID3v1}, {"cvtmixed", c.MixedCase},
        {"filebytags", c.FileByTags}, {"tagsbyfile", c.TagsByFile}, {"play", c.Play}};
    for (auto [key, enabled] : buttons) ToolbarAction(key)->setEnabled(enabled);
    if (folderList_) folderList_->setEnabled(c.FolderList);
    if (fileList_) fileList_->setEnabled(c.FileList);
}

namespace {
// The focused text box the Edit menu acts on, if any.
QWidget* FocusedTextBox() {
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QPlainTextEdit*>(focus)) return focus;
    return nullptr;
}
}  // namespace

void MainForm::UpdateEditActions() {
    const bool box = FocusedTextBox() != nullptr;
    for (const char* name : {"mnuEditUndo", "mnuEditCut", "mnuEditCopy", "mnuEditPaste",
                             "mnuEditDSelectAll"})
        Action(name)->setEnabled(box);
}

void MainForm::RunEditAction(const char* slot) {
    if (QWidget* box = FocusedTextBox()) QMetaObject::invokeMethod(box, slot);
}

void MainForm::OpenHelp(const QUrl& url) {
    if (!CurrentHost().OpenWithDesktop(url.toString().toStdString()))
        CurrentHost().ShowMessage("Unable to open " + url.toString().toStdString(), AppTitle,
                          MessageIcon::Exclamation, MessageButtons::OK);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == central_ && event->type() == QEvent::Resize) LayOut();
    if (event->type() == QEvent::KeyPress && !exitRequested_) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // Once per key press: at the widget that has it first (the focus, or
        // the window itself), never again as it travels to the parents; and
        // only for this window, not a dialog over it.
        const bool first = widget && (widget == QApplication::focusWidget() ||
                                      (!QApplication::focusWidget() && widget == this));
        if (first && widget->window() == this && !QApplication::activeModalWidget()) {
            auto* key = static_cast<QKeyEvent*>(event);
            const int code = VirtualKeyOf(key->key());
            if (code != 0 && !key->isAutoRepeat() && !editor_.IsChanging()) {
                const int shift = ShiftCodeOf(key->modifiers());
                editor_.HandleHotKey(code, shift);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tessaly
