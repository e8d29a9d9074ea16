// The FolderList control: the folders of the file system as a tree, rooted at
// "/", with the user's desktop folder named "Desktop". It is pointed at a
// folder, reports the folder the user selects, and has the folder menu
// (Explore, Rename, Delete). It knows nothing of the editor: the main window
// passes its selection on.
#pragma once

#include <QString>
#include <QTreeView>

class QAction;
class QFileSystemModel;
class QMenu;

namespace tessaly {

class FolderTree final : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    // Expands to, selects and shows `pathOrDesktop`: a folder's path, or
    // "Desktop" for the desktop folder. A path that does not exist points at
    // its nearest existing ancestor, else at the home folder.
    void PointAt(const QString& pathOrDesktop);
    // "Desktop" when the desktop folder is selected, else the selected
    // folder's path; "" when none is.
    QString Selection() const;
    // The selected folder's path, the desktop's included; "" when none is.
    QString SelectedPath() const;
    // The desktop folder as this tree names it "Desktop".
    const QString& DesktopPath() const { return desktopPath_; }

    // The folder menu (mnuPop2); its actions carry their control names.
    QMenu* ContextMenu() const { return menu_; }

signals:
    // The selected folder changed (by the user or PointAt): its Selection().
    // (Not "selectionChanged", which would hide the item view's own slot.)
    void folderChanged(const QString& selection);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateMenu();
    void OnCurrentChanged();
    void UpdateMenuState();
    void Explore();
    void DeleteFolder();

    QFileSystemModel* files_ = nullptr;
    QString desktopPath_;
    QString reported_;
    // The folders fill in as they are read: until the user takes over, each
    // folder read brings the folder pointed at back into view.
    bool keepInView_ = false;
    QMenu* menu_ = nullptr;
    QAction* explore_ = nullptr;
    QAction* rename_ = nullptr;
    QAction* delete_ = nullptr;
};

}  // namespace tessaly
