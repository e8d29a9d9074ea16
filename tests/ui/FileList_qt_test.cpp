// The folder tree and the file list bound to a real editor over real files in
// a temporary folder: what the rows show, sorting from the header, the view
// modes, rename and delete from the list, and the folder tree's selection and
// desktop handling.
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/FolderTree.h"

#include "editor/EditorTestFiles.h"
#include "settings/Configuration.h"
#include "settings/Startup.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <ctime>
#include <filesystem>
#include <memory>

#include <utime.h>

using namespace tessaly;
using editortest::MP3;
using editortest::Text;
using testsupport::WriteBytes;
namespace id3 = testsupport::id3;

namespace {

// 2021/03/04 05:06 in the file system's own time.
std::time_t SampleTime() {
    std::tm when{};
    when.tm_year = 121;
    when.tm_mon = 2;
    when.tm_mday = 4;
    when.tm_hour = 5;
    when.tm_min = 6;
    return ::timegm(&when);
}

void SetModified(const std::string& path, std::time_t time) {
    const utimbuf times{time, time};
    QVERIFY(::utime(path.c_str(), &times) == 0);
}

QAction* Action(QWidget* owner, const char* name) {
    auto* action = owner->findChild<QAction*>(QString::fromLatin1(name));
    if (!action) qFatal("no action %s", name);
    return action;
}

}  // namespace

class FileListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsTheAudioFilesWithTheirColumns();
    void headerClickSortsAndShowsTheIndicator();
    void viewModesSwitchTheShownView_data();
    void viewModesSwitchTheShownView();
    void renameRefusesAForbiddenNameAndKeepsTheOldOne();
    void renameKeepsSelectionAndScrollPosition();
    void renameFromTheMenuEditsOnceTheFileIsLoaded();
    void deleteFromTheMenuRemovesTheRow();
    void keysAndTheRightButtonReachTheList();
    void folderTreeReportsTheFolderItIsPointedAt();
    void folderTreeNamesTheDesktopAndGuardsItsMenu();
    void folderTreeDeleteSendsTheFolderToTheTrash();

private:
    void List(const std::string& folder) {
        editor_->SetSelectedFolder(folder);
        QCoreApplication::processEvents();
    }
    // Files n00.mp3 .. n(count-1).mp3 in the list folder, listed.
    void ListMany(int count) {
        for (int i = 0; i < count; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "n%02d.mp3", i);
            WriteBytes(dir_->File(name), MP3(Text("TIT2", name)));
        }
        List(dir_->Path().string());
    }
    QString Cell(int row, int column) const {
        return view_->Model()->index(row, column).data().toString();
    }

    // The process's home and desktop live in a temporary folder for the
    // whole run: the tree names the desktop once it is made.
    testsupport::TempDir home_;
    std::unique_ptr<testsupport::TempDir> dir_;
    std::unique_ptr<testsupport::RecordingHost> host_;
    std::unique_ptr<CRegSettings> store_;
    std::unique_ptr<Configuration> config_;
    std::unique_ptr<TagEditor> editor_;
    std::unique_ptr<FileListView> view_;
};

void FileListTest::initTestCase() {
    const std::string home = home_.Path().string();
    qputenv("HOME", QByteArray::fromStdString(home));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home + "/.config"));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home + "/.local/share"));
    std::filesystem::create_directories(home + "/Desktop");
}

void FileListTest::init() {
    dir_ = std::make_unique<testsupport::TempDir>();
    host_ = std::make_unique<testsupport::RecordingHost>();
    store_ = OpenSettings(home_.File("settings.reg"));
    config_ = std::make_unique<Configuration>(LoadConfiguration(*store_));
    editor_ = std::make_unique<TagEditor>(*config_, *store_);
    view_ = std::make_unique<FileListView>(*editor_);
    view_->resize(600, 300);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
}

void FileListTest::cleanup() {
    view_.reset();
    editor_.reset();
    config_.reset();
    store_.reset();
    host_.reset();
    dir_.reset();
}

void FileListTest::listsTheAudioFilesWithTheirColumns() {
    WriteBytes(dir_->File("a.MP3"), MP3(""));
    WriteBytes(dir_->File("b.mp3"),
               MP3(Text("TPE1", "Two Artist"), id3::Trailer("", "One Artist", "", "", "", 0)));
    WriteBytes(dir_->File("c.mp3"), MP3("", id3::Trailer("", "Only One", "", "", "", 0)));
    WriteBytes(dir_->File("notes.txt"), "not audio");
    SetModified(dir_->File("b.mp3"), SampleTime());
    List(dir_->Path().string());

    FileListModel* model = view_->Model();
    QCOMPARE(model->rowCount(), 3);
    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column)
        headers << model->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({"Filename", "Artist", "Title", "Album", "Genre", "Date"}));
    QCOMPARE(Cell(0, 0), QStringLiteral("a.MP3"));
    QCOMPARE(Cell(1, 1), QStringLiteral("Two Artist"));  // ID3v2 before ID3v1
    QCOMPARE(Cell(2, 1), QStringLiteral("Only One"));    // else ID3v1
    QCOMPARE(Cell(1, 5), QStringLiteral("2021/03/04 05:06"));
    // Only the name is editable; the first row is selected in the view.
    QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
    QCOMPARE(view_->DetailsView()->currentIndex().row(), 0);
    QCOMPARE(view_->objectName(), QStringLiteral("FileList"));
    QCOMPARE(view_->property("listView").toBool(), true);

    // Clicking a row is the editor's selection; the editor's is the view's.
    QTreeView* details = view_->DetailsView();
    QTest::mouseClick(details->viewport(), Qt::LeftButton, {},
                      details->visualRect(model->index(2, 1)).center());
    QCOMPARE(editor_->Files().Selected(), 2);
    editor_->SelectRow(1);
    QCOMPARE(details->selectionModel()->selectedRows().value(0).row(), 1);
}

void FileListTest::headerClickSortsAndShowsTheIndicator() {
    WriteBytes(dir_->File("a.mp3"), MP3(Text("TPE1", "Zed")));
    WriteBytes(dir_->File("b.mp3"), MP3(Text("TPE1", "Abe")));
    WriteBytes(dir_->File("c.mp3"), MP3(Text("TPE1", "Max")));
    List(dir_->Path().string());
    editor_->SelectRow(0);  // a.mp3
    QHeaderView* header = view_->Header();
    auto clickArtist = [&] {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    };

    clickArtist();
    QCOMPARE(editor_->Files().SortColumn(), 1);
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    QCOMPARE(editor_->Files().HeaderImage(1), std::string("downarrow"));
    QCOMPARE(Cell(0, 1) + Cell(1, 1) + Cell(2, 1), QStringLiteral("AbeMaxZed"));
    // The selected file stays selected wherever the sort put it.
    QCOMPARE(view_->DetailsView()->selectionModel()->selectedRows().value(0).row(), 2);

    clickArtist();
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(editor_->Files().HeaderImage(1), std::string("uparrow"));
    QCOMPARE(Cell(0, 1) + Cell(1, 1) + Cell(2, 1), QStringLiteral("ZedMaxAbe"));
    QCOMPARE(view_->DetailsView()->selectionModel()->selectedRows().value(0).row(), 0);

    // A new listing keeps the sort and its indicator.
    editor_->RefreshFolder();
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(Cell(0, 1), QStringLiteral("Zed"));
}

void FileListTest::viewModesSwitchTheShownView_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("details");
    QTest::addColumn<int>("listMode");
    QTest::addColumn<int>("flow");
    QTest::addColumn<int>("iconSize");
    QTest::newRow("large icons") << "mnuPopLargeIcons" << 0 << false << int(QListView::IconMode)
                                 << int(QListView::LeftToRight) << 32;
    QTest::newRow("small icons") << "mnuPopSmallIcons" << 1 << false << int(QListView::ListMode)
                                 << int(QListView::LeftToRight) << 16;
    QTest::newRow("list") << "mnuPopList" << 2 << false << int(QListView::ListMode)
                          << int(QListView::TopToBottom) << 16;
    QTest::newRow("details") << "mnuPopDetails" << 3 << true << 0 << 0 << 0;
}

void FileListTest::viewModesSwitchTheShownView() {
    QFETCH(QString, action);
    QFETCH(int, mode);
    QFETCH(bool, details);
    QFETCH(int, listMode);
    QFETCH(int, flow);
    QFETCH(int, iconSize);
    ListMany(5);
    editor_->SelectRow(3);
    view_->SetViewMode(mode == 0 ? 3 : 0);  // start from another mode
    QSignalSpy changed(view_.get(), &FileListView::viewModeChanged);

    Action(view_.get(), action.toLatin1().constData())->trigger();
    QCOMPARE(view_->ViewMode(), mode);
    QCOMPARE(changed.count(), 1);
    QVERIFY(Action(view_.get(), action.toLatin1().constData())->isChecked());
    QCOMPARE(view_->currentWidget() == view_->DetailsView(), details);
    QVERIFY(view_->ActiveView()->isVisible());
    if (!details) {
        QListView* icons = view_->IconView();
        QCOMPARE(int(icons->viewMode()), listMode);
        QCOMPARE(int(icons->flow()), flow);
        QCOMPARE(icons->iconSize(), QSize(iconSize, iconSize));
    }
    // One selection for every view.
    QCOMPARE(view_->ActiveView()->currentIndex().row(), 3);
}

void FileListTest::renameRefusesAForbiddenNameAndKeepsTheOldOne() {
    WriteBytes(dir_->File("a.mp3"), MP3(""));
    List(dir_->Path().string());
    FileListModel* model = view_->Model();

    QVERIFY(!model->setData(model->index(0, 0), QStringLiteral("what?.mp3")));
    QCOMPARE(host_->messages.size(), size_t(1));
    QCOMPARE(host_->messages[0].caption, std::string("Rename"));
    QCOMPARE(host_->messages[0].text, ForbiddenNameMessage());
    QCOMPARE(Cell(0, 0), QStringLiteral("a.mp3"));
    QVERIFY(std::filesystem::exists(dir_->File("a.mp3")));

    QVERIFY(model->setData(model->index(0, 0), QString::fromUtf8("b \xc3\xa9.mp3")));
    QCOMPARE(Cell(0, 0), QString::fromUtf8("b \xc3\xa9.mp3"));
    QVERIFY(std::filesystem::exists(dir_->File("b \xc3\xa9.mp3")));
}

void FileListTest::renameKeepsSelectionAndScrollPosition() {
    ListMany(80);
    editor_->SelectRow(70);
    QTreeView* details = view_->DetailsView();
    const int scroll = details->verticalScrollBar()->value();
    QVERIFY(scroll > 0);

    FileListModel* model = view_->Model();
    QVERIFY(model->setData(model->index(70, 0), QStringLiteral("n70 renamed.mp3")));
    QCOMPARE(Cell(70, 0), QStringLiteral("n70 renamed.mp3"));
    QCOMPARE(details->verticalScrollBar()->value(), scroll);
    QCOMPARE(details->selectionModel()->selectedRows().value(0).row(), 70);
    QCOMPARE(editor_->Files().Selected(), 70);
}

void FileListTest::renameFromTheMenuEditsOnceTheFileIsLoaded() {
    WriteBytes(dir_->File("a.mp3"), MP3(""));
    WriteBytes(dir_->File("b.mp3"), MP3(""));
    List(dir_->Path().string());
    editor_->SelectRow(1);  // loads b.mp3
    editor_->SelectRow(0);  // loads a.mp3
    QTRY_COMPARE(CurrentFile.FileName, dir_->File("a.mp3"));

    // The loaded file: the edit starts at once.
    Action(view_.get(), "mnuPopRename")->trigger();
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(edit);
    QCOMPARE(edit->text(), QStringLiteral("a.mp3"));
    edit->setText(QStringLiteral("c.mp3"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(std::filesystem::exists(dir_->File("c.mp3")));
    QCOMPARE(Cell(0, 0), QStringLiteral("c.mp3"));

    // A file not loaded yet: the edit waits for the editor's load.
    CurrentFile = {};
    Action(view_.get(), "mnuPopRename")->trigger();
    QVERIFY(editor_->PendingRename());
    QVERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    editor_->LoadSelectedFile();
    QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
}

void FileListTest::deleteFromTheMenuRemovesTheRow() {
    ListMany(3);
    editor_->SelectRow(1);
    QSignalSpy removed(view_->Model(), &QAbstractItemModel::rowsRemoved);

    host_->answer = MessageAnswer::No;
    Action(view_.get(), "mnuPopDelete")->trigger();
    QCOMPARE(view_->Model()->rowCount(), 3);
    QVERIFY(std::filesystem::exists(dir_->File("n01.mp3")));

    host_->answer = MessageAnswer::Yes;
    Action(view_.get(), "mnuPopDelete")->trigger();
    QCOMPARE(host_->messages.back().caption, std::string("Confirm"));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(view_->Model()->rowCount(), 2);
    QCOMPARE(Cell(1, 0), QStringLiteral("n02.mp3"));
    QVERIFY(!std::filesystem::exists(dir_->File("n01.mp3")));
    // The view's selection is the editor's, whatever the removal left.
    const QModelIndexList selected = view_->DetailsView()->selectionModel()->selectedRows();
    QCOMPARE(selected.isEmpty() ? -1 : selected.first().row(), editor_->Files().Selected());
}

void FileListTest::keysAndTheRightButtonReachTheList() {
    QTreeView* details = view_->DetailsView();
    QMenu* menu = view_->ContextMenu();
    QSignalSpy refresh(view_.get(), &FileListView::refreshRequested);
    QTest::keyClick(details, Qt::Key_F5);
    QCOMPARE(refresh.count(), 1);

    // No rows, no menu.
    QTest::mouseClick(details->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    QVERIFY(!menu->isVisible());

    ListMany(2);
    QTest::mouseClick(details->viewport(), Qt::RightButton, {}, QPoint(20, 5));
    QVERIFY(menu->isVisible());
    menu->hide();
    QTest::keyClick(details, Qt::Key_Menu);
    QVERIFY(menu->isVisible());
    menu->hide();
}

void FileListTest::folderTreeReportsTheFolderItIsPointedAt() {
    FolderTree tree;
    QCOMPARE(tree.objectName(), QStringLiteral("FolderList"));
    QSignalSpy changed(&tree, &FolderTree::folderChanged);
    const QString folder = QString::fromStdString(dir_->Path().string());
    std::filesystem::create_directories(dir_->Path() / "inner");

    tree.PointAt(folder + "/inner/");
    QCOMPARE(tree.Selection(), folder + "/inner");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.last().at(0).toString(), folder + "/inner");
    // A folder that is gone points at what is left of its path.
    tree.PointAt(folder + "/gone/deeper");
    QCOMPARE(tree.Selection(), folder);

    tree.ContextMenu()->findChild<QAction*>("mnuPop2Explore")->trigger();
    QCOMPARE(host_->opened.back(), folder.toStdString());
}

void FileListTest::folderTreeNamesTheDesktopAndGuardsItsMenu() {
    FolderTree tree;
    QAction* rename = Action(tree.ContextMenu(), "mnuPop2Rename");
    QAction* remove = Action(tree.ContextMenu(), "mnuPop2Delete");

    tree.PointAt(QStringLiteral("Desktop"));
    QCOMPARE(tree.Selection(), QStringLiteral("Desktop"));
    QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Desktop"));
    QVERIFY(!rename->isEnabled());
    QVERIFY(!remove->isEnabled());
    remove->trigger();  // disabled: nothing happens
    QVERIFY(std::filesystem::exists(home_.Path() / "Desktop"));

    // The desktop's path is the desktop too, and the editor lists it.
    tree.PointAt(QString::fromStdString(home_.File("Desktop")));
    QCOMPARE(tree.Selection(), QStringLiteral("Desktop"));
    QVERIFY(editor_->SetSelectedFolder(tree.Selection().toStdString()));
    QCOMPARE(editor_->CurrentFolder(), home_.File("Desktop") + "/");

    tree.PointAt(QString::fromStdString(dir_->Path().string()));
    QVERIFY(rename->isEnabled());
    QVERIFY(remove->isEnabled());
}

void FileListTest::folderTreeDeleteSendsTheFolderToTheTrash() {
    // In the home folder, so that the trash is on the same file system.
    const std::filesystem::path parent = home_.Path() / "music";
    std::filesystem::create_directories(parent / "old");
    FolderTree tree;
    tree.PointAt(QString::fromStdString((parent / "old").string()));
    QAction* remove = Action(tree.ContextMenu(), "mnuPop2Delete");

    host_->answer = MessageAnswer::No;
    remove->trigger();
    QVERIFY(std::filesystem::exists(parent / "old"));

    host_->answer = MessageAnswer::Yes;
    remove->trigger();
    QVERIFY(!std::filesystem::exists(parent / "old"));
    QVERIFY(std::filesystem::exists(home_.Path() / ".local/share/Trash/files/old"));
    QCOMPARE(tree.Selection(), QString::fromStdString(parent.string()));
}

QTEST_MAIN(FileListTest)
#include "FileList_qt_test.moc"
