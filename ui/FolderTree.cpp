#include "ui/FolderTree.h"

#include <QTimer>

#include "engine/FileIO.h"
#include "engine/Host.h"
#include "patterns/Utils.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMenu>
#include <QMouseEvent>

namespace tessaly {

namespace {

// The file system's folders, with the desktop folder named as the desktop.
class DesktopNamingModel final : public QIdentityProxyModel {
public:
    DesktopNamingModel(QFileSystemModel* files, QString desktopPath, QObject* parent)
        : QIdentityProxyModel(parent),
          files_(files),
          desktopPath_(std::move(desktopPath)),
          desktopName_(QFileInfo(desktopPath_).fileName()) {
        setSourceModel(files);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if ((role == Qt::DisplayRole || role == Qt::AccessibleTextRole) && index.column() == 0 &&
            !desktopPath_.isEmpty()) {
            const QModelIndex source = mapToSource(index);
            // The name first: most rows are not the desktop, and their path
            // need not be built.
            if (files_->fileName(source) == desktopName_ &&
                files_->filePath(source) == desktopPath_)
                return QStringLiteral("Desktop");
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    QFileSystemModel* files_;
    QString desktopPath_;
    QString desktopName_;
};

QString CleanFolderPath(const QString& path) {
    if (path.isEmpty()) return {};
    return QDir::cleanPath(QDir(path).absolutePath());
}

}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("FolderList"));
    setAccessibleName(QStringLiteral("Folders"));
    setAccessibleDescription(QStringLiteral("FolderList"));

    desktopPath_ = CleanFolderPath(QString::fromUtf8(SpecialFolderPath()));
    files_ = new QFileSystemModel(this);
    // Folders only; dot-folders stay out of sight as a file manager keeps them.
    files_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    files_->setReadOnly(true);
    files_->setRootPath(QStringLiteral("/"));
    setModel(new DesktopNamingModel(files_, desktopPath_, this));

    setHeaderHidden(true);
    for (int column = 1; column < files_->columnCount(); ++column) hideColumn(column);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    expand(model()->index(0, 0));

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderTree::OnCurrentChanged);
    // Rows arrive and are sorted after the folder was read, each moving the
    // folder pointed at; it is brought back once things settle.
    auto bringBack = [this] {
        if (keepInView_) QTimer::singleShot(0, this, [this] {
            if (keepInView_ && currentIndex().isValid())
                scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
        });
    };
    connect(files_, &QFileSystemModel::directoryLoaded, this, bringBack);
    connect(model(), &QAbstractItemModel::layoutChanged, this, bringBack);
    connect(model(), &QAbstractItemModel::rowsInserted, this, bringBack);
    CreateMenu();
}

void FolderTree::CreateMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("mnuPop2"));
    menu_->setAccessibleDescription(QStringLiteral("mnuPop2"));
    explore_ = menu_->addAction(QStringLiteral("Explore"));
    explore_->setObjectName(QStringLiteral("mnuPop2Explore"));
    connect(explore_, &QAction::triggered, this, &FolderTree::Explore);
    // Folder renaming is not offered: the entry is there, without an action.
    rename_ = menu_->addAction(QStringLiteral("Rena&me"));
    rename_->setObjectName(QStringLiteral("mnuPop2Rename"));
    delete_ = menu_->addAction(QStringLiteral("&Delete"));
    delete_->setObjectName(QStringLiteral("mnuPop2Delete"));
    connect(delete_, &QAction::triggered, this, &FolderTree::DeleteFolder);
    UpdateMenuState();
}

void FolderTree::PointAt(const QString& pathOrDesktop) {
    QString path =
        CleanFolderPath(pathOrDesktop == QLatin1String("Desktop") ? desktopPath_ : pathOrDesktop);
    // The nearest folder the tree can show: a missing or hidden folder gives
    // way to its parent.
    QModelIndex source;
    while (!path.isEmpty()) {
        if (QFileInfo(path).isDir()) {
            source = files_->index(path);
            if (source.isValid()) break;
        }
        if (path == QLatin1String("/")) {
            path.clear();
            break;
        }
        path = CleanFolderPath(QFileInfo(path).path());
    }
    if (!source.isValid()) source = files_->index(QDir::homePath());
    if (!source.isValid()) return;

    auto* proxy = static_cast<QIdentityProxyModel*>(model());
    const QModelIndex index = proxy->mapFromSource(source);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    keepInView_ = true;
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    keepInView_ = false;
    QTreeView::mousePressEvent(event);
}

QString FolderTree::SelectedPath() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return {};
    auto* proxy = static_cast<QIdentityProxyModel*>(model());
    return files_->filePath(proxy->mapToSource(index.siblingAtColumn(0)));
}

QString FolderTree::Selection() const {
    const QString path = SelectedPath();
    if (!path.isEmpty() && path == desktopPath_) return QStringLiteral("Desktop");
    return path;
}

void FolderTree::OnCurrentChanged() {
    UpdateMenuState();
    const QString selection = Selection();
    if (selection == reported_) return;
    reported_ = selection;
    emit folderChanged(selection);
}

void FolderTree::UpdateMenuState() {
    const QString selection = Selection();
    const bool changeable = !selection.isEmpty() && selection != QLatin1String("Desktop");
    explore_->setEnabled(!selection.isEmpty());
    rename_->setEnabled(changeable);
    delete_->setEnabled(changeable);
}

void FolderTree::Explore() {
    const QString path = SelectedPath();
    if (!path.isEmpty()) CurrentHost().OpenWithDesktop(path.toUtf8().toStdString());
}

void FolderTree::DeleteFolder() {
    const QString selection = Selection();
    if (selection.isEmpty() || selection == QLatin1String("Desktop")) return;
    const std::string path = selection.toUtf8().toStdString();
    // The trash keeps the folder, but a whole folder is too much to lose to a
    // slip of the mouse without a question.
    if (CurrentHost().ShowMessage("Move " + path + " to the trash?\n\nAre You Sure?", "Confirm",
                                  MessageIcon::Question,
                                  MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (const int error = RecycleFile(path); error != 0) {
        ShowError(ErrorDescription(error), "Error");
        return;
    }
    PointAt(QFileInfo(selection).path());
}

void FolderTree::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    if (event->button() != Qt::RightButton || Selection().isEmpty()) return;
    UpdateMenuState();
    menu_->popup(event->globalPosition().toPoint());
}

void FolderTree::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    // The mouse opens the menu on the button's release (above); the menu key
    // opens it at the selected folder.
    if (event->reason() != QContextMenuEvent::Keyboard || Selection().isEmpty()) return;
    UpdateMenuState();
    menu_->popup(viewport()->mapToGlobal(visualRect(currentIndex()).center()));
}

}  // namespace tessaly
