// The options dialog and its two editors, driven on shown, non-modal
// instances: buttons are clicked, editors opened from the options dialog are
// answered in RunEditor, message boxes by a recording host.
#include "ui/Options.h"
#include "engine/LanguageTable.h"
#include "settings/Configuration.h"
#include "settings/ShellIntegration.h"
#include "support/TestSupport.h"
#include "ui/EditMacro.h"
#include "ui/EditRenameMacro.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

using namespace tessaly;
using testsupport::ReadBytes;
using testsupport::RecordingHost;

namespace {

template <typename T>
T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(name);
    if (!child) qFatal("no %s", name);
    return child;
}

void Click(QWidget* parent, const char* button) {
    QTest::mouseClick(Child<QPushButton>(parent, button), Qt::LeftButton);
}

// The options dialog with its editors answered by the test.
class TestOptions final : public Options {
public:
    using Options::Options;
    std::function<void(QDialog&)> answer = [](QDialog&) {};
    int editorsRun = 0;

protected:
    void RunEditor(QDialog& editor) override {
        ++editorsRun;
        editor.show();
        answer(editor);
        editor.hide();
    }
};

// A store on a temporary file holding a configuration as the program saves
// it, and that configuration as loaded from it.
struct SavedSettings {
    testsupport::TempDir dir;
    std::string path = dir.File("settings.reg");
    std::unique_ptr<CRegSettings> store = OpenFileSettings(path);
    Configuration config;

    explicit SavedSettings(const std::function<void(Configuration&)>& adjust = {}) {
        Configuration first;
        first.FileByTagsPatterns = DefaultPatterns;
        first.TagsByFilePatterns = DefaultPatterns;
        first.MacroTable = DefaultMacros;
        if (adjust) adjust(first);
        SaveConfiguration(*store, first, first.Toolbar);
        // Saved once more from memory: the file as the program writes it.
        SaveConfiguration(*store, LoadConfiguration(*store), first.Toolbar);
        config = LoadConfiguration(*store);
    }
    std::unique_ptr<TestOptions> Open() {
        auto dialog =
            std::make_unique<TestOptions>(config, *store, [this] { return config.Toolbar; });
        dialog->show();
        return dialog;
    }
    std::string Stored(const std::string& name) {
        return store->GetSetting(RegistryRoot::LocalMachine, BaseKey, name, "<missing>");
    }
};

QStringList Rows(QTreeWidget* list, int column = 0) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) rows << list->topLevelItem(i)->text(column);
    return rows;
}

std::string Messages(const RecordingHost& host) {
    std::string all;
    for (const auto& message : host.messages) all += "[" + message.caption + "] " + message.text;
    return all;
}

}  // namespace

class OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void extensionsAndBoxesThatFollowEachOther();
    void languageRows_data();
    void languageRows();
    void contextMenuBoxFollowsTheDesktop();
    void cancelWritesNothingApplyStays();
    void untouchedPatternsAndMacrosSurviveByteForByte();
    void listsAreEditedThroughTheEditors();
    void controlTabTurnsThePageFromAnyControl();
    void macroChecks_data();
    void macroChecks();
    void macroWarningAsksToContinue();
    void hotKeyPressSelectsItsRow();
    void renameFieldsGoWhereTheCaretWasLeft();

private:
    testsupport::TempDir desktop_;
};

void OptionsTest::initTestCase() {
    // The context-menu entry goes to a desktop of the test's own, with a
    // glob table that knows .ogg, never to the user's.
    std::filesystem::create_directories(desktop_.File("share/mime"));
    testsupport::WriteBytes(desktop_.File("share/mime/globs2"),
                            "50:audio/mpeg:*.mp3\n50:audio/x-ms-wma:*.wma\n"
                            "50:video/x-ms-wmv:*.wmv\n50:audio/ogg:*.ogg\n");
    ::setenv("XDG_DATA_HOME", desktop_.File("share").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", desktop_.File("none").c_str(), 1);
}

void OptionsTest::extensionsAndBoxesThatFollowEachOther() {
    SavedSettings saved;
    auto dialog = saved.Open();
    auto* text = Child<QLineEdit>(dialog.get(), "txtExtension");
    auto* list = Child<QListWidget>(dialog.get(), "Extensions");
    auto* add = Child<QPushButton>(dialog.get(), "cmdAddExtension");
    auto* remove = Child<QPushButton>(dialog.get(), "cmdRemoveExtension");
    QVERIFY(!add->isEnabled() && !remove->isEnabled());
    for (const char* typed : {"mp3", ".ogg"}) {
        QTest::keyClicks(text, typed);
        QVERIFY(add->isEnabled());
        QTest::mouseClick(add, Qt::LeftButton);
    }
    QVERIFY(text->text().isEmpty() && !add->isEnabled());
    list->setCurrentRow(1);
    QVERIFY(remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);
    QVERIFY(!remove->isEnabled());

    auto* renameSpace = Child<QCheckBox>(dialog.get(), "RenameSpace");
    auto* replaceChars = Child<QLineEdit>(dialog.get(), "ReplaceWithSpacesChars");
    QVERIFY(!Child<QLineEdit>(dialog.get(), "RenameSpaceChar")->isEnabled());
    renameSpace->click();
    QVERIFY(Child<QLineEdit>(dialog.get(), "RenameSpaceChar")->isEnabled());
    QVERIFY(replaceChars->isEnabled());
    Child<QCheckBox>(dialog.get(), "ReplaceWithSpaces")->click();
    QVERIFY(!replaceChars->isEnabled());
    replaceChars->setText("  _-  ");
    QTest::keyClick(Child<QSlider>(dialog.get(), "sldCopyBuffer"), Qt::Key_Home);
    QCOMPARE(Child<QLabel>(dialog.get(), "CopyBuffer")->text(), QString("2048"));

    Click(dialog.get(), "cmdOK");
    QCOMPARE(saved.config.Extensions, (std::vector<std::string>{".mp3", ".wmv", ".mp3", ".ogg"}));
    QCOMPARE(saved.Stored("Extensions"), std::string(".mp3|.wmv|.mp3|.ogg"));
    QCOMPARE(saved.config.ReplaceWithSpacesChars, std::string("_-"));
    QVERIFY(saved.config.RenameSpace && !saved.config.ReplaceWithSpaces);
    QCOMPARE(saved.Stored("CopyBuffer"), std::string("2048"));
}

void OptionsTest::languageRows_data() {
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<int>("row");  // -2: leave the list alone
    QTest::addColumn<QString>("stored");
    QTest::newRow("first row") << "deu" << 0 << "eng";
    QTest::newRow("no selection") << "deu" << -1 << "eng";
    QTest::newRow("a row") << "eng" << LanguageIndex("fre") << "fre";
    QTest::newRow("untouched") << "deu" << -2 << "deu";
    // A code the table lacks is not lost by opening the dialog.
    QTest::newRow("unknown, untouched") << "xyz" << -2 << "xyz";
}

void OptionsTest::languageRows() {
    QFETCH(QString, loaded);
    QFETCH(int, row);
    QFETCH(QString, stored);
    SavedSettings saved([&](Configuration& c) { c.Language = loaded.toStdString(); });
    auto dialog = saved.Open();
    auto* language = Child<QComboBox>(dialog.get(), "Language");
    QCOMPARE(language->currentIndex(), LanguageIndex(loaded.toStdString()));
    if (row != -2) language->setCurrentIndex(row);
    Click(dialog.get(), "cmdOK");
    QCOMPARE(QString::fromStdString(saved.Stored("Language")), stored);
}

void OptionsTest::contextMenuBoxFollowsTheDesktop() {
    const std::vector<std::string> defaults{".mp3", ".wma", ".wmv"};
    SavedSettings saved;
    QVERIFY(RegisterShellVerb(true, {".mp3"}));
    // Some types carry the entry: greyed, and OK leaves the desktop be.
    auto dialog = saved.Open();
    QCOMPARE(Child<QCheckBox>(dialog.get(), "AddContextMenu")->checkState(), Qt::PartiallyChecked);
    Click(dialog.get(), "cmdOK");
    QCOMPARE(ShellVerbState(defaults), int16_t{2});
    // A click from greyed means all of them; clicks never grey it again.
    dialog = saved.Open();
    auto* box = Child<QCheckBox>(dialog.get(), "AddContextMenu");
    box->click();
    QCOMPARE(box->checkState(), Qt::Checked);
    Click(dialog.get(), "cmdOK");
    QCOMPARE(ShellVerbState(defaults), int16_t{1});
    // A checked box carries the entry to an extension added with it.
    dialog = saved.Open();
    QCOMPARE(Child<QCheckBox>(dialog.get(), "AddContextMenu")->checkState(), Qt::Checked);
    QTest::keyClicks(Child<QLineEdit>(dialog.get(), "txtExtension"), "ogg");
    Click(dialog.get(), "cmdAddExtension");
    Click(dialog.get(), "cmdOK");
    QCOMPARE(ShellVerbState({".ogg"}), int16_t{1});
    // Cleared: gone from every listed type.
    dialog = saved.Open();
    box = Child<QCheckBox>(dialog.get(), "AddContextMenu");
    box->click();
    box->click();
    box->click();
    QCOMPARE(box->checkState(), Qt::Unchecked);
    Click(dialog.get(), "cmdOK");
    QCOMPARE(ShellVerbState(saved.config.Extensions), int16_t{0});
}

void OptionsTest::cancelWritesNothingApplyStays() {
    SavedSettings saved;
    const Configuration before = saved.config;
    const std::string bytes = ReadBytes(saved.path);
    auto edit = [](Options* dialog) {
        Click(dialog, "cmdMacroDelete");
        Child<QCheckBox>(dialog, "QuickLoad")->click();
        QTest::keyClick(Child<QSlider>(dialog, "sldCopyBuffer"), Qt::Key_PageDown);
    };
    auto dialog = saved.Open();
    edit(dialog.get());
    Click(dialog.get(), "cmdCancel");
    QVERIFY(!dialog->isVisible());
    QCOMPARE(saved.config, before);
    QCOMPARE(ReadBytes(saved.path), bytes);

    // Apply, then more changes and Cancel: the applied ones stay.
    dialog = saved.Open();
    edit(dialog.get());
    Click(dialog.get(), "cmdApply");
    QVERIFY(dialog->isVisible());
    Child<QCheckBox>(dialog.get(), "ExtendedInfo")->click();
    Click(dialog.get(), "cmdCancel");
    QVERIFY(saved.config.QuickLoad && saved.config.ExtendedInfo);
    QCOMPARE(saved.config.MacroTable.size(), before.MacroTable.size() - 1);
    QCOMPARE(LoadConfiguration(*saved.store), saved.config);
}

void OptionsTest::untouchedPatternsAndMacrosSurviveByteForByte() {
    // Esc has no name in the hot-key lists, and texts go through text boxes
    // and editors; none of it may change on open and OK.
    SavedSettings saved([](Configuration& c) {
        c.FileByTagsPatterns.push_back("{ARTIST} \xE9t\xE9");
        c.TagsByFilePatterns.insert(c.TagsByFilePatterns.begin(), "");
        c.MacroTable.push_back({"{COMMENT:caf\xE9}", 116, 2});
    });
    const std::string bytes = ReadBytes(saved.path);
    auto dialog = saved.Open();
    auto* macros = Child<QTreeWidget>(dialog.get(), "MacroList");
    QCOMPARE(Rows(macros), (QStringList{"F4", "F6", "F9", "F11", "F12", "ESC", "CTRL-F5"}));
    // Opening and confirming the editors unchanged counts as untouched.
    dialog->answer = [](QDialog& editor) {
        if (auto* macro = qobject_cast<EditMacro*>(&editor)) macro->TryAccept();
        if (auto* pattern = qobject_cast<EditRenameMacro*>(&editor)) Click(pattern, "Command1");
    };
    RecordingHost host;
    for (QTreeWidget* list : {macros, Child<QTreeWidget>(dialog.get(), "FileByTags")})
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            emit list->itemDoubleClicked(list->topLevelItem(i), 0);
    QCOMPARE(dialog->editorsRun, 7 + 6);
    Click(dialog.get(), "cmdOK");
    QCOMPARE(Messages(host), std::string());
    QCOMPARE(ReadBytes(saved.path), bytes);

    // Nor in memory, whatever bytes it holds.
    saved.config.FileByTagsPatterns.push_back("caf\xE9 \xFF");
    saved.config.MacroTable.push_back({"{TITLE:\xFF}", 113, 0});
    const Configuration before = saved.config;
    saved.Open()->ApplyOptions();
    QCOMPARE(saved.config, before);

    // A new text on Esc keeps its key.
    dialog = saved.Open();
    dialog->answer = [](QDialog& editor) {
        auto& macro = dynamic_cast<EditMacro&>(editor);
        QCOMPARE(macro.HotKeyText(), QString("ESC"));
        macro.SetMacro("{UNDO}{MIXEDCASE}");
        macro.TryAccept();
    };
    macros = Child<QTreeWidget>(dialog.get(), "MacroList");
    emit macros->itemDoubleClicked(macros->topLevelItem(5), 1);
    Click(dialog.get(), "cmdOK");
    QCOMPARE(Messages(host), std::string());
    QCOMPARE(saved.config.MacroTable[5], (MacroRow{"{UNDO}{MIXEDCASE}", 27, 0}));
}

void OptionsTest::listsAreEditedThroughTheEditors() {
    SavedSettings saved([](Configuration& c) {
        c.TagsByFilePatterns = {"{TITLE}"};
        c.MacroTable = {{"{UPDATE}", 117, 0}};
    });
    auto dialog = saved.Open();
    auto* tagsByFile = Child<QTreeWidget>(dialog.get(), "TagsByFile");
    QString typed;  // "" cancels
    dialog->answer = [&](QDialog& editor) {
        auto& pattern = dynamic_cast<EditRenameMacro&>(editor);
        pattern.SetText(typed);
        Click(&pattern, typed.isEmpty() ? "Command2" : "Command1");
    };
    typed = "{ARTIST}";
    Click(dialog.get(), "cmdTBFAdd");
    typed = "";
    Click(dialog.get(), "cmdTBFAdd");
    typed = "{TRACK}. {TITLE}";
    tagsByFile->setCurrentItem(tagsByFile->topLevelItem(0));
    Click(dialog.get(), "cmdTBFEdit");
    QCOMPARE(Rows(tagsByFile), (QStringList{"{TRACK}. {TITLE}", "{ARTIST}"}));
    Click(dialog.get(), "cmdTBFDelete");
    Click(dialog.get(), "cmdTBFDelete");
    QVERIFY(!Child<QPushButton>(dialog.get(), "cmdTBFEdit")->isEnabled());
    QVERIFY(!Child<QPushButton>(dialog.get(), "cmdTBFDelete")->isEnabled());

    // Macros: a key another row uses is refused; codes come from the name.
    RecordingHost host;
    QString key = "F6";
    dialog->answer = [&](QDialog& editor) {
        auto& macro = dynamic_cast<EditMacro&>(editor);
        macro.SetHotKey(key);
        macro.SetMacro("{MIXEDCASE}");
        macro.TryAccept();
    };
    Click(dialog.get(), "cmdMacroAdd");
    QCOMPARE(Messages(host), std::string("[Error] * HotKey already defined\r\n"));
    key = "SHIFT-F2";
    Click(dialog.get(), "cmdMacroAdd");
    auto* macros = Child<QTreeWidget>(dialog.get(), "MacroList");
    key = "ALT-F12";
    emit macros->itemDoubleClicked(macros->topLevelItem(0), 0);
    QCOMPARE(Rows(macros), (QStringList{"ALT-F12", "SHIFT-F2"}));

    Click(dialog.get(), "cmdOK");
    QVERIFY(saved.config.TagsByFilePatterns.empty());
    QCOMPARE(saved.config.MacroTable,
             (std::vector<MacroRow>{{"{MIXEDCASE}", 123, 4}, {"{MIXEDCASE}", 113, 1}}));
}

void OptionsTest::controlTabTurnsThePageFromAnyControl() {
    SavedSettings saved;
    auto dialog = saved.Open();
    auto* tabs = Child<QTabWidget>(dialog.get(), "tbsOptions");
    int expected = 0;
    for (const char* focus : {"txtExtension", "FileByTags", "cmdOK", "MacroList", "Language"}) {
        QTest::keyClick(Child<QWidget>(dialog.get(), focus), Qt::Key_Tab, Qt::ControlModifier);
        expected = (expected + 1) % 4;
        QCOMPARE(tabs->currentIndex(), expected);
    }
}

void OptionsTest::macroChecks_data() {
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("key");     // set by the caller
    QTest::addColumn<QString>("picked");  // chosen by the user afterwards, "" for none
    QTest::addColumn<QString>("macro");
    QTest::addColumn<QString>("errors");  // "" when accepted
    const QString used = "* HotKey already defined\r\n";
    QTest::newRow("nothing") << false << ""
                             << ""
                             << "  "
                             << "* No HotKey defined.\r\n* No macro defined.\r\n";
    QTest::newRow("new on a used key") << false << "F4"
                                       << ""
                                       << "{UPDATE}" << used;
    QTest::newRow("existing, key unchanged") << true << "F4"
                                             << ""
                                             << "{UPDATE}"
                                             << "";
    QTest::newRow("existing, moved to a used key") << true << "F9"
                                                   << "F4"
                                                   << "{UPDATE}" << used;
    QTest::newRow("existing, moved and back") << true << "F4"
                                              << "F4"
                                              << "{UPDATE}"
                                              << "";
    QTest::newRow("unknown keyword") << false << "F2"
                                     << ""
                                     << "{BOGUS}"
                                     << "Macro is invalid.\r\n";
    QTest::newRow("everything") << false << "F9"
                                << ""
                                << "{TITLE}"
                                << "* HotKey already defined\r\nMacro is invalid.\r\n";
}

void OptionsTest::macroChecks() {
    QFETCH(bool, existing);
    QFETCH(QString, key);
    QFETCH(QString, picked);
    QFETCH(QString, macro);
    QFETCH(QString, errors);
    RecordingHost host;
    EditMacro editor;
    editor.SetEditingExisting(existing);
    editor.SetDefinedHotKeys({"F4", "F9", "ESC"});
    editor.SetHotKey(key);
    editor.SetMacro(macro);
    editor.show();
    if (!picked.isEmpty()) {
        editor.SetHotKey("F3");
        editor.SetHotKey(picked);
    }
    Click(&editor, "Command1");
    QCOMPARE(QString::fromStdString(Messages(host)),
             errors.isEmpty() ? QString() : "[Error] " + errors);
    if (!errors.isEmpty()) QVERIFY(host.messages[0].icon == MessageIcon::Critical);
    QCOMPARE(editor.Result(), errors.isEmpty());
    QCOMPARE(editor.isVisible(), !errors.isEmpty());
}

void OptionsTest::macroWarningAsksToContinue() {
    const std::string value(31, 'X');
    RecordingHost host;
    EditMacro editor;
    editor.SetHotKey("F2");
    editor.SetMacro(QString::fromStdString("{V1TITLE:" + value + "}"));
    editor.show();
    host.answer = MessageAnswer::Cancel;
    Click(&editor, "Command1");
    QVERIFY(editor.isVisible());
    host.answer = MessageAnswer::OK;
    Click(&editor, "Command1");
    QVERIFY(!editor.isVisible() && editor.Result());
    QCOMPARE(host.messages.size(), size_t{2});
    QCOMPARE(host.messages[0].text,
             "Warning: Incorrect Length: 'V1TITLE:" + value + "'\r\n\r\n\r\nContinue?");
    QCOMPARE(host.messages[0].caption, std::string("Warning"));
    QVERIFY(host.messages[0].buttons == MessageButtons::OKCancel);
}

void OptionsTest::hotKeyPressSelectsItsRow() {
    EditMacro editor;
    editor.show();
    auto* hotKey = Child<QComboBox>(&editor, "HotKey");
    QCOMPARE(hotKey->count(), 49);
    QCOMPARE(hotKey->findText("ESC"), -1);
    QTest::keyClick(hotKey, Qt::Key_F5, Qt::ControlModifier);
    QCOMPARE(editor.HotKeyText(), QString("CTRL-F5"));
    QTest::keyClick(hotKey, Qt::Key_F12, Qt::AltModifier);
    QTest::keyClick(hotKey, Qt::Key_F13);  // no row: nothing changes
    QTest::keyClick(hotKey, Qt::Key_F3, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(editor.HotKeyText(), QString("ALT-F12"));
}

void OptionsTest::renameFieldsGoWhereTheCaretWasLeft() {
    EditRenameMacro editor;
    editor.SetWarning("Some files have no track number.");
    editor.show();
    QCOMPARE(Child<QLabel>(&editor, "WarnLabel")->text(), QString("Warning:"));
    auto* box = Child<QLineEdit>(&editor, "RenameMacro");
    auto* fields = Child<QListWidget>(&editor, "Fields");
    QCOMPARE(fields->count(), 11);
    auto clickField = [&](const QString& name) {
        QListWidgetItem* item = fields->findItems(name, Qt::MatchExactly).value(0);
        QTest::mouseClick(fields->viewport(), Qt::LeftButton, {},
                          fields->visualItemRect(item).center());
    };
    // Before the user has been in the box the caret counts as the start,
    // wherever filling it left it.
    editor.SetText(" - {TITLE}");
    clickField("Artist");
    QCOMPARE(box->cursorPosition(), 8);
    QCOMPARE(editor.focusWidget(), box);
    clickField("Album");  // follows the field just inserted
    QCOMPARE(box->text(), QString("{ARTIST}{ALBUM} - {TITLE}"));

    editor.SetText(QString());
    QTest::keyClicks(box, "{ARTIST} - ");
    clickField("Genre");
    QCOMPARE(box->text(), QString("{ARTIST} - {GENRE}"));
    QCOMPARE(box->cursorPosition(), static_cast<int>(box->text().size()));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2));
    clickField("Original Artist");
    QCOMPARE(box->text(), QString("{ORIGARTIST}{ARTIST} - {GENRE}"));

    Click(&editor, "Command1");
    QVERIFY(editor.Result() && !editor.isVisible());
}

QTEST_MAIN(OptionsTest)
#include "Options_test.moc"
