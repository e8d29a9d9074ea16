#include "ui/FileListView.h"

#include "ui/EditorIdle.h"
#include "ui/FileListModel.h"
#include "ui/Twips.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QTreeView>

namespace tessaly {

namespace {

// What a column is wide before the main window restores its own widths.
constexpr int ColumnWidthTwips = 2000;

template <typename View>
void SetUpView(View* view, const char* objectName) {
    view->setObjectName(QString::fromLatin1(objectName));
    view->setAccessibleName(QStringLiteral("File list"));
    view->setAccessibleDescription(QStringLiteral("FileList"));
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Names are edited only from the menu's Rename, which asks the editor
    // first.
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTextElideMode(Qt::ElideRight);
}

}  // namespace

FileListView::FileListView(TagEditor& editor, QWidget* parent)
    : QStackedWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("FileList"));
    setAccessibleDescription(QStringLiteral("FileList"));
    setProperty("listView", true);
    CreateViews();
    CreateMenu();
    listener_ = editor_.AddListener([this](const EditorEvent& event) { OnEditorEvent(event); });
    SetViewMode(Details);
    ShowSortIndicator();
    ShowEditorSelection(false);
    UpdateMenuState();
}

FileListView::~FileListView() {
    editor_.RemoveListener(listener_);
}

void FileListView::CreateViews() {
    model_ = new FileListModel(editor_, this);

    details_ = new QTreeView(this);
    SetUpView(details_, "FileListDetails");
    details_->setModel(model_);
    details_->setRootIsDecorated(false);
    details_->setItemsExpandable(false);
    details_->setUniformRowHeights(true);
    details_->setAllColumnsShowFocus(true);
    details_->setSortingEnabled(false);  // the editor sorts; the header only shows it
    QHeaderView* header = details_->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(false);
    header->setDefaultSectionSize(TwipsToPixels(ColumnWidthTwips, logicalDpiX()));
    for (int section = 0; section < header->count(); ++section)
        header->resizeSection(section, header->defaultSectionSize());
    connect(header, &QHeaderView::sectionClicked, this, &FileListView::OnHeaderClicked);
    selection_ = details_->selectionModel();

    icons_ = new QListView(this);
    SetUpView(icons_, "FileListIcons");
    icons_->setModel(model_);
    QItemSelectionModel* own = icons_->selectionModel();
    icons_->setSelectionModel(selection_);
    delete own;

    addWidget(icons_);
    addWidget(details_);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }

    connect(selection_, &QItemSelectionModel::selectionChanged, this,
            &FileListView::OnUserSelection);
    // While the model follows the editor (a new listing, a re-sort, a removed
    // row) the selection changes under Qt's hands, not the user's.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { showingEditorSelection_ = true; });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        showingEditorSelection_ = false;
        ShowSortIndicator();
        ShowEditorSelection(true);
    });
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this] { showingEditorSelection_ = true; });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] {
        showingEditorSelection_ = false;
        ShowEditorSelection(false);
    });
}

void FileListView::CreateMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("mnuPop"));
    menu_->setAccessibleDescription(QStringLiteral("mnuPop"));
    auto whenIdle = [this](void (TagEditor::*command)()) {
        return [this, command] {
            WhenEditorIdle(editor_, this, [this, command] { (editor_.*command)(); });
        };
    };

    play_ = menu_->addAction(QStringLiteral("&Play"));
    play_->setObjectName(QStringLiteral("mnuPopPlay"));
    connect(play_, &QAction::triggered, this, whenIdle(&TagEditor::PlaySelectedFile));

    QMenu* view = menu_->addMenu(QStringLiteral("View"));
    view->menuAction()->setObjectName(QStringLiteral("mnuPopView"));
    viewGroup_ = new QActionGroup(this);
    viewGroup_->setExclusive(true);
    static const char* const texts[4] = {"Large Icons", "Small Icons", "List", "Details"};
    static const char* const names[4] = {"mnuPopLargeIcons", "mnuPopSmallIcons", "mnuPopList",
                                         "mnuPopDetails"};
    for (int mode = 0; mode < 4; ++mode) {
        QAction* action = view->addAction(QString::fromLatin1(texts[mode]));
        action->setObjectName(QString::fromLatin1(names[mode]));
        action->setCheckable(true);
        viewGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, mode] { SetViewMode(mode); });
        viewActions_[mode] = action;
    }

    rename_ = menu_->addAction(QStringLiteral("Rena&me"));
    rename_->setObjectName(QStringLiteral("mnuPopRename"));
    connect(rename_, &QAction::triggered, this, &FileListView::Rename);

    delete_ = menu_->addAction(QStringLiteral("&Delete"));
    delete_->setObjectName(QStringLiteral("mnuPopDelete"));
    connect(delete_, &QAction::triggered, this,
            [this] { WhenEditorIdle(editor_, this, [this] { editor_.DeleteSelectedFile(); }); });

    fileByTags_ = menu_->addAction(QStringLiteral("Rename based on tags"));
    fileByTags_->setObjectName(QStringLiteral("mnuPopFileByTags"));
    connect(fileByTags_, &QAction::triggered, this, whenIdle(&TagEditor::RenameCurrentFile));

    tagsByFile_ = menu_->addAction(QStringLiteral("Tags by filename"));
    tagsByFile_->setObjectName(QStringLiteral("mnuPopTagsByFile"));
    connect(tagsByFile_, &QAction::triggered, this, whenIdle(&TagEditor::TagsFromFileName));
}

QHeaderView* FileListView::Header() const {
    return details_->header();
}

QAbstractItemView* FileListView::ActiveView() const {
    if (mode_ == Details) return details_;
    return icons_;
}

void FileListView::SetViewMode(int mode) {
    if (mode < LargeIcons || mode > Details) return;
    const bool changed = mode != mode_;
    mode_ = mode;
    const QFontMetrics metrics = fontMetrics();
    switch (mode) {
        case LargeIcons:
            // Icons in rows, the name wrapped under each, on a fixed grid so
            // that a long name never pushes its neighbours about.
            icons_->setViewMode(QListView::IconMode);
            icons_->setMovement(QListView::Static);
            icons_->setIconSize(QSize(32, 32));
            icons_->setGridSize(QSize(metrics.averageCharWidth() * 14, 32 + metrics.height() * 3));
            icons_->setWordWrap(true);
            break;
        case SmallIcons:
            // Small icons with the name beside them, filled row by row.
            icons_->setViewMode(QListView::ListMode);
            icons_->setFlow(QListView::LeftToRight);
            icons_->setWrapping(true);
            icons_->setIconSize(QSize(16, 16));
            icons_->setGridSize(
                QSize(metrics.averageCharWidth() * 26, std::max(16, metrics.height()) + 6));
            icons_->setWordWrap(false);
            break;
        case List:
            // Small icons with the name beside them, filled column by column.
            icons_->setViewMode(QListView::ListMode);
            icons_->setFlow(QListView::TopToBottom);
            icons_->setWrapping(true);
            icons_->setIconSize(QSize(16, 16));
            icons_->setGridSize(QSize());
            icons_->setWordWrap(false);
            break;
        default:
            break;
    }
    icons_->setResizeMode(QListView::Adjust);
    if (QAction* action = viewActions_[mode]) action->setChecked(true);
    const bool hadFocus = currentWidget() && currentWidget()->hasFocus();
    setCurrentWidget(ActiveView());
    if (hadFocus) ActiveView()->setFocus();
    ShowEditorSelection(true);
    if (changed) emit viewModeChanged(mode);
}

void FileListView::OnEditorEvent(const EditorEvent& event) {
    switch (event.Kind) {
        case EditorEventKind::SelectionChanged:
            ShowEditorSelection(true);
            break;
        case EditorEventKind::StateChanged:
            UpdateMenuState();
            break;
        case EditorEventKind::StartLabelEdit:
            // The editor is still inside its load; edit once it returned.
            QTimer::singleShot(0, this, &FileListView::EditSelectedName);
            break;
        default:
            break;
    }
}

void FileListView::ShowEditorSelection(bool scroll) {
    QScopedValueRollback<bool> showing(showingEditorSelection_, true);
    const int row = editor_.Files().Selected();
    if (row < 0 || row >= model_->rowCount()) {
        selection_->clear();
        return;
    }
    const QModelIndex index = model_->index(row, 0);
    if (!selection_->isRowSelected(row) || selection_->currentIndex().row() != row)
        selection_->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (scroll) ActiveView()->scrollTo(index);
}

void FileListView::ShowSortIndicator() {
    const FileList& files = editor_.Files();
    // Qt draws its ascending indicator as the down arrow.
    Header()->setSortIndicator(files.SortColumn(), files.Order() == SortOrder::Ascending
                                                       ? Qt::AscendingOrder
                                                       : Qt::DescendingOrder);
}

void FileListView::UpdateMenuState() {
    fileByTags_->setEnabled(editor_.Controls().FileByTags);
    tagsByFile_->setEnabled(editor_.Controls().TagsByFile);
}

void FileListView::OnUserSelection() {
    if (showingEditorSelection_) return;
    const QModelIndexList selected = selection_->selectedRows();
    const auto& rows = editor_.Files().Rows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    if (row >= static_cast<int>(rows.size())) return;
    const std::string key = row < 0 ? std::string() : rows[static_cast<size_t>(row)].Key;
    // The row is named by its key: by the time a busy editor is free, the
    // rows may have moved.
    WhenEditorIdle(editor_, this, [this, key] {
        const int index = key.empty() ? -1 : editor_.Files().FindKey(key);
        if (!key.empty() && index < 0) {
            ShowEditorSelection(false);  // the file is no longer listed
            return;
        }
        if (index != editor_.Files().Selected()) editor_.SelectRow(index);
    });
}

void FileListView::OnHeaderClicked(int section) {
    WhenEditorIdle(editor_, this, [this, section] { editor_.ClickColumnHeader(section); });
    // Qt flipped its indicator on the click; the editor's sort state is what
    // the header shows.
    ShowSortIndicator();
}

void FileListView::Rename() {
    WhenEditorIdle(editor_, this, [this] {
        if (editor_.BeginRename()) EditSelectedName();
        // Otherwise the editor loads the file and asks for the edit itself.
    });
}

void FileListView::EditSelectedName() {
    const int row = editor_.Files().Selected();
    if (row < 0 || row >= model_->rowCount()) return;
    ShowEditorSelection(true);
    QAbstractItemView* view = ActiveView();
    view->setFocus();
    view->edit(model_->index(row, 0));
}

void FileListView::OpenMenu(const QPoint& globalPos) {
    if (model_->rowCount() == 0) return;
    UpdateMenuState();
    menu_->popup(globalPos);
}

bool FileListView::eventFilter(QObject* watched, QEvent* event) {
    QAbstractItemView* view = ActiveView();
    const bool onView = watched == details_ || watched == icons_;
    switch (event->type()) {
        case QEvent::KeyPress: {
            if (!onView) break;
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F5 && key->modifiers() == Qt::NoModifier) {
                emit refreshRequested();
                return true;
            }
            if (key->key() == Qt::Key_Menu) {
                const QModelIndex current = view->currentIndex();
                const QRect rect =
                    current.isValid() ? view->visualRect(current) : view->viewport()->rect();
                OpenMenu(view->viewport()->mapToGlobal(rect.center()));
                return true;
            }
            break;
        }
        case QEvent::ContextMenu:
            // The menu opens on the right button's release and on the menu key
            // (above), whatever context events the platform adds to them.
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (!onView && mouse->button() == Qt::RightButton)
                OpenMenu(mouse->globalPosition().toPoint());
            break;
        }
        default:
            break;
    }
    return QStackedWidget::eventFilter(watched, event);
}

}  // namespace tessaly
