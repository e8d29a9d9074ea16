// The main window as a user meets it, on the offscreen platform: its menus,
// toolbar and tabs; a folder of real files listed, selected, edited and
// written; a hot key; the exit question; geometry kept across a restart; a
// Windows Media file and a file without a frame header.
#include "ui/MainForm.h"

#include "editor/EditorTestFiles.h"
#include "engine/ReadAudioFile.h"
#include "settings/Startup.h"
#include "ui/Controls.h"
#include "ui/MP3Updating.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <filesystem>

using namespace tessaly;
using editortest::MP3;
using editortest::Text;

namespace {

// One window on a settings file of its own; the recording host answers
// every question instead of a message box.
struct Session {
    explicit Session(const std::string& settingsPath)
        : config(StartProgram(settingsPath)), window(config, *Settings) {}
    Configuration config;
    MainForm window;
};

QStringList Captions(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions) out << (a->isSeparator() ? "-" : a->text());
    return out;
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private:
    testsupport::TempDir dir_;
    std::string Put(const std::string& name, const std::string& bytes) {
        testsupport::WriteBytes(dir_.File(name), bytes);
        return dir_.File(name);
    }
    std::string Settings() const { return dir_.File("settings.reg"); }
    static void WaitForListing(MainForm& window) {
        QVERIFY(QTest::qWaitFor([&] { return !window.Listing(); }, 10000));
        QTest::qWait(20);  // the load queued after the listing
    }

private slots:
    void initTestCase() {
        std::filesystem::current_path(dir_.Path());
        std::filesystem::create_directories(dir_.File("music"));
        Put("music/a.MP3", MP3(Text("TIT2", "hello world") + Text("TPE1", "V2 Artist"),
                               editortest::id3::Trailer("v1 title", "V1 Artist", "", "", "", 13)));
        Put("music/b.mp3", MP3("", editortest::id3::Trailer("B title", "Only V1", "", "", "", 13)));
        Put("music/notes.txt", "not audio");
        Put("music/c.wma", editortest::WMA("Media Title", "Media Author", "5"));
        Put("music/d.mp3", std::string(4000, 'x'));  // no frame header anywhere
        if (!editortest::LameMP3().empty()) Put("music/lame.mp3", editortest::LameMP3());
    }

    void theWindowHasItsMenusToolbarTabsAndNames() {
        Session s(Settings());
        testsupport::RecordingHost host;
        MainForm& w = s.window;
        QStringList menus;
        for (QAction* a : w.menuBar()->actions()) menus << a->text();
        QCOMPARE(menus, QStringList({"&File", "&Edit", "&View", "&Tools", "&Help"}));
        const QList<QAction*> top = w.menuBar()->actions();
        QCOMPARE(Captions(top[1]->menu()->actions()),
                 QStringList({"&Undo", "-", "Cu&t", "&Copy", "&Paste", "-", "Select &All"}));
        QCOMPARE(Captions(top[3]->menu()->actions()),
                 QStringList({"Copy ID3v1 to ID3v2", "Copy ID3v2 to ID3v1",
                              "Convert Tags to Mixed Case", "Rename file based on tags",
                              "Tags by filename", "-", "Confirm Exit", "&Options"}));
        QCOMPARE(Captions(top[4]->menu()->actions()),
                 QStringList({"&Online Help", "-", "Check for &Update", "&Technical Support", "-",
                              "&About"}));
        QCOMPARE(w.Action("mnuEditCut")->shortcut(), QKeySequence("Ctrl+X"));

        auto* bar = w.findChild<QToolBar*>("tbToolBar");
        QVERIFY(bar);
        QStringList keys;
        for (QAction* a : bar->actions()) keys << (a->isSeparator() ? "|" : a->data().toString());
        QCOMPARE(keys.join(' '), QString("options | cut copy paste delete | filebytags tagsbyfile | "
                                         "v1tov2 v2tov1 | cvtmixed | vwLargeIcons vwSmallIcons "
                                         "vwList vwDetails | play | help"));
        QCOMPARE(w.ToolbarAction("filebytags")->toolTip(), QString("Rename by Tags"));

        auto* tabs = w.findChild<QTabWidget*>("tsWindow");
        QVERIFY(tabs);
        QStringList pages;
        for (int i = 0; i < tabs->count(); ++i) pages << tabs->tabText(i);
        QCOMPARE(pages, QStringList({"File by Tags", "Tags by File", "Macros", "MPEG Information"}));
        QCOMPARE(w.findChild<QLabel*>("NoneDefined")->text(), QString("None Defined"));
        QCOMPARE(w.findChild<QLabel*>("NoMPEGInfo")->text(), QString("No MPEG Header Found"));

        for (const char* name :
             {"cmdUpdate", "cmdUndo", "cmdClose", "v1enabled", "v1title", "v1genre", "v2genre",
              "v2encoder", "v2comment", "Label15", "FileList", "FolderList", "ID3v1Frame",
              "ID3v2Frame", "tsWindow", "MacroList", "MPEGInfo", "FileByTagsList",
              "TagsByFileList", "Splitter1", "Splitter2", "Picture1", "stBar", "tbToolBar"}) {
            auto* widget = w.findChild<QWidget*>(name);
            QVERIFY2(widget, name);
            QCOMPARE(widget->accessibleDescription(), QString(name));
        }
        QCOMPARE(w.findChild<QPushButton*>("cmdUpdate")->text(), QString("Update"));
        QCOMPARE(w.findChild<QGroupBox*>("ID3v1Frame")->title(), QString("ID3v1 Tag Information"));
        QCOMPARE(w.findChild<QLineEdit*>("v1title")->accessibleName(), QString("Title"));
    }

    void aFolderListsSelectsEditsAndWrites() {
        Session s(Settings());
        testsupport::RecordingHost host;
        MainForm& w = s.window;
        w.InitMainWindow(dir_.File("music/a.MP3"));
        WaitForListing(w);
        TagEditor& editor = w.Editor();
        // .MP3 in capitals listed, .txt not; a file lame made reads as lame wrote it.
        const int lame = editor.Files().FindText("lame.mp3");
        QCOMPARE(editor.Files().Rows().size(), size_t(lame < 0 ? 4 : 5));
        if (lame >= 0)
            QCOMPARE(QString::fromStdString(editor.Files().Rows()[static_cast<size_t>(lame)].SubItems[1]),
                     QString("Lame Title"));
        QCOMPARE(QString::fromStdString(editor.SelectedFileKey()),
                 QString::fromStdString(dir_.File("music/a.MP3")));
        const FileRow& a = editor.Files().Rows()[static_cast<size_t>(editor.Files().FindText("a.MP3"))];
        const FileRow& b = editor.Files().Rows()[static_cast<size_t>(editor.Files().FindText("b.mp3"))];
        QCOMPARE(QString::fromStdString(a.SubItems[0]), QString("V2 Artist"));
        QCOMPARE(QString::fromStdString(b.SubItems[0]), QString("Only V1"));
        QCOMPARE(w.windowTitle(), QString("a.MP3 - Tessaly"));

        auto* v2title = w.findChild<QLineEdit*>("v2title");
        auto* v1artist = w.findChild<QLineEdit*>("v1artist");
        QCOMPARE(v2title->text(), QString("hello world"));
        QCOMPARE(v1artist->text(), QString("V1 Artist"));
        QVERIFY(w.findChild<QLabel*>("NoMPEGInfo")->isHidden());
        QVERIFY(w.findChild<QLabel*>("stBarText")->text().startsWith("MPEG Version 1.0 Layer III"));
        QVERIFY(w.findChild<QTreeView*>("MPEGInfo") != nullptr);

        // Typing: the box selects its text on focus, so the keys replace it.
        v2title->setFocus();
        v2title->selectAll();
        for (QChar c : QString::fromUtf8("Ünïcode Τίτλος"))
            QTest::sendKeyEvent(QTest::Click, v2title, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(QString::fromStdString(editor.BoxText({2, FieldTitle})),
                 QString::fromUtf8("Ünïcode Τίτλος"));
        QTest::mouseClick(w.findChild<QPushButton*>("cmdUpdate"), Qt::LeftButton);
        QCOMPARE(QString::fromStdString(ReadAudioFile(dir_.File("music/a.MP3")).ID3v2.Title),
                 QString::fromUtf8("Ünïcode Τίτλος"));
        QVERIFY(host.messages.empty());

        // A hot key: F9 runs the default mixed-case macro on the panes.
        v1artist->setText("");
        editor.SetBoxText(1, FieldArtist, "LOUD ARTIST");
        QApplication::setActiveWindow(&w);
        v1artist->setFocus();
        QTest::keyClick(v1artist, Qt::Key_F9);
        QCOMPARE(v1artist->text(), QString("Loud Artist"));
    }

    void windowsMediaIsReadOnlyAndAFileWithoutStreamSaysSo() {
        Session s(Settings());
        testsupport::RecordingHost host;
        MainForm& w = s.window;
        w.InitMainWindow(dir_.File("music/c.wma"));
        WaitForListing(w);
        QCOMPARE(w.findChild<QGroupBox*>("ID3v2Frame")->title(),
                 QString("Windows Media Information (read-only)"));
        QCOMPARE(w.findChild<QLabel*>("Label15")->text(), QString("Rating"));
        QVERIFY(!w.findChild<QWidget*>("v2enabled")->isEnabled());
        QVERIFY(!w.findChild<QWidget*>("cmdUpdate")->isEnabled());
        QCOMPARE(w.findChild<QLineEdit*>("v2title")->text(), QString("Media Title"));

        w.Editor().SelectRow(w.Editor().Files().FindText("d.mp3"));
        auto* tabs = w.findChild<QTabWidget*>("tsWindow");
        tabs->setCurrentIndex(3);
        QVERIFY(w.findChild<QLabel*>("NoMPEGInfo")->isVisible());
        QCOMPARE(w.findChild<QLabel*>("stBarText")->text(), QString(""));
    }

    void aDoubleClickedRowOpensItsEditorAndTheEditIsStored() {
        {
            Session s(Settings());
            testsupport::RecordingHost host;
            MainForm& w = s.window;
            w.InitMainWindow("");
            auto* tabs = w.findChild<QTabWidget*>("tsWindow");
            // The editors are modal: answer each as a user would once it is open.
            auto answer = [](const char* box, const QString& text) {
                QTimer::singleShot(0, [box, text] {
                    QWidget* dialog = QApplication::activeModalWidget();
                    QVERIFY(dialog);
                    dialog->findChild<QLineEdit*>(box)->setText(text);
                    dialog->findChild<QPushButton*>("Command1")->click();
                });
            };
            auto doubleClick = [&](const char* name, int row) {
                auto* list = w.findChild<QTreeWidget*>(name);
                tabs->setCurrentWidget(list);
                // The first click of a double-click chooses the row (and
                // refills the list); the second must still find it.
                const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            };
            answer("RenameMacro", "{TITLE} ({YEAR})");
            doubleClick("TagsByFileList", 1);
            answer("HotKeyMacro", "{MIXEDCASE}{UPDATE}");
            doubleClick("MacroList", 0);
            QCOMPARE(w.findChild<QTreeWidget*>("MacroList")->topLevelItem(0)->text(1),
                     QString("{MIXEDCASE}{UPDATE}"));
        }
        Session s(Settings());
        QCOMPARE(s.config.TagsByFilePatterns[1], std::string("{TITLE} ({YEAR})"));
        QCOMPARE(s.config.MacroTable[0].Macro, std::string("{MIXEDCASE}{UPDATE}"));
        QCOMPARE(s.config.MacroTable[0].KeyCode, DefaultMacros[0].KeyCode);
    }

    void theHostShowsExactBoxesAndTheProgressWindowOnlyForSlowWork() {
        Session s(Settings());
        MainForm& w = s.window;
        w.InitMainWindow("");
        GuiHost& host = w.Host();
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->text(), QString("Delete /x\n\nAre You Sure?"));
            QCOMPARE(box->windowTitle(), QString("Confirm"));
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(host.ShowMessage("Delete /x\n\nAre You Sure?", "Confirm", MessageIcon::Question,
                                  MessageButtons::YesNo),
                 MessageAnswer::Yes);

        host.ShowProgress("Loading..");  // quick work: no window at all
        host.SetProgress(75);
        host.HideProgress();
        QVERIFY(!host.Progress() || !host.Progress()->isVisible());
        host.ShowProgress("Updating Tags");
        QTest::qWait(350);
        host.SetProgress(40);
        QVERIFY(host.Progress() && host.Progress()->isVisible());
        QCOMPARE(host.Progress()->windowTitle(), QString("Updating Tags"));
        QCOMPARE(host.Progress()->Percent(), 40);
        const QPoint centre = host.Progress()->frameGeometry().center();
        QVERIFY((centre - w.frameGeometry().center()).manhattanLength() <= 4);
        host.HideProgress();
        QVERIFY(!host.Progress()->isVisible());
    }

    void exitAsksAndTheGeometryComesBackAtTheNextStart() {
        {
            Session s(Settings());
            testsupport::RecordingHost host;
            MainForm& w = s.window;
            w.InitMainWindow("");
            QVERIFY(!w.ExitProgram(false));  // ConfirmExit, answered No
            QCOMPARE(host.messages.back().text, std::string("Are you sure?"));
            QCOMPARE(host.messages.back().caption, std::string("Confirm Exit"));
            QVERIFY(w.isVisible());
            w.resize(900, 700);
            w.move(40, 30);
            host.answer = MessageAnswer::Yes;
            QVERIFY(w.close());
            QVERIFY(w.ExitRequested());
            QVERIFY(w.close());  // a second close request asks nothing more
            QCOMPARE(host.messages.size(), size_t(2));
        }
        {
            Session s(Settings());
            testsupport::RecordingHost host;
            s.window.InitMainWindow("");
            QCOMPARE(s.window.size(), QSize(900, 700));
            s.window.showMaximized();
            host.answer = MessageAnswer::Yes;
            QVERIFY(s.window.ExitProgram(false));
        }
        Session s(Settings());
        QCOMPARE(s.config.View.WindowState, 2);
        testsupport::RecordingHost host;
        s.window.InitMainWindow("");
        QVERIFY(s.window.isMaximized());
    }
};

QTEST_MAIN(MainFormTest)
#include "MainForm_qt_test.moc"
