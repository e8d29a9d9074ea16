// The options dialog and its two editors, driven on shown, non-modal
// instances: buttons are clicked, editors opened from the options dialog are
// answered in RunEditor, message boxes by a recording host.
#include "engine/LanguageTable.h"
#include "settings/Configuration.h"
#include "settings/ShellIntegration.h"
#include "support/TestSupport.h"
#include "ui/EditMacro.h"
#include "ui/EditRenameMacro.h"
#include "ui/Options.h"

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
        auto dialog = std::make_unique<TestOptions>(config, *store, [this] { return config.Toolbar; });
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
    void extensionsAddAndRemove();
    void controlsFollowTheirBoxes();
    void languageRows_data();
    void languageRows();
    void contextMenuBoxFollowsTheDesktop();
    void cancelWritesNothingAndApplyStays();
    void sliderRightEndStoresTheMaximum();
    void untouchedPatternsAndMacrosSurviveByteForByte();
    void listsAreEditedThroughTheEditors();
    void controlTabTurnsThePageFromAnyControl();

    void macroChecks_data();
    void macroChecks();
    void macroWarningAsksToContinue();
    void hotKeyPressSelectsItsRow();
    void renameFieldsGoWhereTheCaretWasLeft();
    void renameWarningAndResult();

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

void OptionsTest::extensionsAddAndRemove() {
    SavedSettings saved;
    auto dialog = saved.Open();
    auto* text = Child<QLineEdit>(dialog.get(), "txtExtension");
    auto* list = Child<QListWidget>(dialog.get(), "Extensions");
    auto* add = Child<QPushButton>(dialog.get(), "cmdAddExtension");
    auto* remove = Child<QPushButton>(dialog.get(), "cmdRemoveExtension");
    QVERIFY(!add->isEnabled());
    QVERIFY(!remove->isEnabled());

    QTest::keyClicks(text, "mp3");
    QVERIFY(add->isEnabled());
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::keyClicks(text, ".ogg");
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(text->text(), QString());
    QVERIFY(!add->isEnabled());
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    QCOMPARE(entries, (QStringList{".mp3", ".wma", ".wmv", ".mp3", ".ogg"}));

    list->setCurrentRow(1);
    QVERIFY(remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->item(1)->text(), QString(".wmv"));
    list->clearSelection();
    QVERIFY(!remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);  // disabled: nothing happens
    QCOMPARE(list->count(), 4);

    Click(dialog.get(), "cmdOK");
    QCOMPARE(saved.config.Extensions, (std::vector<std::string>{".mp3", ".wmv", ".mp3", ".ogg"}));
    QCOMPARE(saved.Stored("Extensions"), std::string(".mp3|.wmv|.mp3|.ogg"));
}

void OptionsTest::controlsFollowTheirBoxes() {
    SavedSettings saved([](Configuration& c) {
        c.RenameSpace = false;
        c.ReplaceWithSpaces = true;
    });
    auto dialog = saved.Open();
    auto* renameSpace = Child<QCheckBox>(dialog.get(), "RenameSpace");
    auto* renameChar = Child<QLineEdit>(dialog.get(), "RenameSpaceChar");
    auto* replace = Child<QCheckBox>(dialog.get(), "ReplaceWithSpaces");
    auto* replaceChars = Child<QLineEdit>(dialog.get(), "ReplaceWithSpacesChars");
    QVERIFY(!renameChar->isEnabled());
    QVERIFY(replaceChars->isEnabled());
    renameSpace->click();
    replace->click();
    QVERIFY(renameChar->isEnabled());
    QVERIFY(!replaceChars->isEnabled());

    // The characters to replace are stored without surrounding spaces.
    replaceChars->setText("  _-  ");
    renameChar->setText("+");
    Click(dialog.get(), "cmdApply");
    QCOMPARE(saved.config.ReplaceWithSpacesChars, std::string("_-"));
    QCOMPARE(saved.config.RenameSpaceChar, std::string("+"));
    QVERIFY(saved.config.RenameSpace);
    QVERIFY(!saved.config.ReplaceWithSpaces);
    QCOMPARE(Child<QTabWidget>(dialog.get(), "tbsOptions")->tabText(3), QString("&Macros"));
    QCOMPARE(Child<QTabWidget>(dialog.get(), "tbsOptions")->tabToolTip(3),
             QString("Define HotKeys/Macros"));
}

void OptionsTest::languageRows_data() {
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<int>("row");  // -2: leave the list alone
    QTest::addColumn<QString>("stored");
    const int french = LanguageIndex("fre");
    QTest::newRow("first row") << "deu" << 0 << "eng";
    QTest::newRow("no selection") << "deu" << -1 << "eng";
    QTest::newRow("a row") << "eng" << french << "fre";
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
    QCOMPARE(language->count(), static_cast<int>(LanguageTable.size()));
    QCOMPARE(language->currentIndex(), LanguageIndex(loaded.toStdString()));
    if (row != -2) language->setCurrentIndex(row);
    Click(dialog.get(), "cmdOK");
    QCOMPARE(QString::fromStdString(saved.config.Language), stored);
    QCOMPARE(QString::fromStdString(saved.Stored("Language")), stored);
}

void OptionsTest::contextMenuBoxFollowsTheDesktop() {
    const std::vector<std::string> defaults{".mp3", ".wma", ".wmv"};
    SavedSettings saved;
    QCOMPARE(ShellVerbState(defaults), int16_t{0});
    QVERIFY(RegisterShellVerb(true, {".mp3"}));

    // Some of the types carry the entry: greyed, and OK leaves the desktop be.
    {
        auto dialog = saved.Open();
        QCOMPARE(Child<QCheckBox>(dialog.get(), "AddContextMenu")->checkState(),
                 Qt::PartiallyChecked);
        Click(dialog.get(), "cmdOK");
        QCOMPARE(ShellVerbState(defaults), int16_t{2});
    }
    // A click from greyed means all of them.
    {
        auto dialog = saved.Open();
        auto* box = Child<QCheckBox>(dialog.get(), "AddContextMenu");
        box->click();
        QCOMPARE(box->checkState(), Qt::Checked);
        Click(dialog.get(), "cmdOK");
        QCOMPARE(ShellVerbState(defaults), int16_t{1});
    }
    // A checked box carries the entry to an extension added with it.
    {
        auto dialog = saved.Open();
        auto* box = Child<QCheckBox>(dialog.get(), "AddContextMenu");
        QCOMPARE(box->checkState(), Qt::Checked);
        QTest::keyClicks(Child<QLineEdit>(dialog.get(), "txtExtension"), "ogg");
        Click(dialog.get(), "cmdAddExtension");
        Click(dialog.get(), "cmdOK");
        QCOMPARE(ShellVerbState({".ogg"}), int16_t{1});
    }
    // Cleared: the entry goes from every listed type; clicks never grey it.
    {
        auto dialog = saved.Open();
        auto* box = Child<QCheckBox>(dialog.get(), "AddContextMenu");
        box->click();
        box->click();
        box->click();
        QCOMPARE(box->checkState(), Qt::Unchecked);
        Click(dialog.get(), "cmdOK");
        QCOMPARE(ShellVerbState(saved.config.Extensions), int16_t{0});
    }
}

void OptionsTest::cancelWritesNothingAndApplyStays() {
    SavedSettings saved;
    const Configuration before = saved.config;
    const std::string bytes = ReadBytes(saved.path);
    {
        auto dialog = saved.Open();
        auto* macros = Child<QTreeWidget>(dialog.get(), "MacroList");
        macros->setCurrentItem(macros->topLevelItem(0));
        Click(dialog.get(), "cmdMacroDelete");
        Child<QCheckBox>(dialog.get(), "QuickLoad")->click();
        Child<QSlider>(dialog.get(), "sldCopyBuffer")->setValue(4096);
        Click(dialog.get(), "cmdCancel");
        QVERIFY(!dialog->isVisible());
    }
    QCOMPARE(saved.config, before);
    QCOMPARE(ReadBytes(saved.path), bytes);

    // Apply, then more changes and Cancel: the applied ones stay.
    auto dialog = saved.Open();
    auto* macros = Child<QTreeWidget>(dialog.get(), "MacroList");
    macros->setCurrentItem(macros->topLevelItem(0));
    Click(dialog.get(), "cmdMacroDelete");
    Child<QCheckBox>(dialog.get(), "QuickLoad")->click();
    Click(dialog.get(), "cmdApply");
    QVERIFY(dialog->isVisible());
    Child<QCheckBox>(dialog.get(), "ExtendedInfo")->click();
    Click(dialog.get(), "cmdCancel");
    QVERIFY(saved.config.QuickLoad);
    QVERIFY(saved.config.ExtendedInfo);
    QCOMPARE(saved.config.MacroTable.size(), before.MacroTable.size() - 1);
    QCOMPARE(saved.Stored("QuickLoad"), std::string("True"));
    QCOMPARE(saved.Stored("ExtendedInfo"), std::string("True"));
    QCOMPARE(LoadConfiguration(*saved.store).MacroTable, saved.config.MacroTable);
}

void OptionsTest::sliderRightEndStoresTheMaximum() {
    SavedSettings saved([](Configuration& c) { c.CopyBuffer = 8192; });
    auto dialog = saved.Open();
    auto* slider = Child<QSlider>(dialog.get(), "sldCopyBuffer");
    auto* label = Child<QLabel>(dialog.get(), "CopyBuffer");
    QCOMPARE(label->text(), QString("8192"));
    QCOMPARE(slider->minimum(), 2048);
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(label->text(), QString("65536"));
    Click(dialog.get(), "cmdOK");
    QCOMPARE(saved.config.CopyBuffer, 65536);
    QCOMPARE(saved.Stored("CopyBuffer"), std::string("65536"));
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
    {
        auto dialog = saved.Open();
        auto* macros = Child<QTreeWidget>(dialog.get(), "MacroList");
        QCOMPARE(Rows(macros), (QStringList{"F4", "F6", "F9", "F11", "F12", "ESC", "CTRL-F5"}));
        QCOMPARE(macros->topLevelItem(5)->text(1), QString("{UNDO}"));
        // Opening and confirming the editors unchanged counts as untouched.
        dialog->answer = [](QDialog& editor) {
            if (auto* macro = qobject_cast<EditMacro*>(&editor)) macro->TryAccept();
            if (auto* pattern = qobject_cast<EditRenameMacro*>(&editor))
                Click(pattern, "Command1");
        };
        RecordingHost host;
        host.answer = MessageAnswer::OK;
        for (QTreeWidget* list : {macros, Child<QTreeWidget>(dialog.get(), "FileByTags")})
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                emit list->itemDoubleClicked(list->topLevelItem(i), 0);
        QCOMPARE(dialog->editorsRun, 7 + 6);
        Click(dialog.get(), "cmdOK");
    }
    QCOMPARE(ReadBytes(saved.path), bytes);

    // Nor in memory, whatever bytes it holds.
    saved.config.FileByTagsPatterns.push_back("caf\xE9 \xFF");
    saved.config.MacroTable.push_back({"{TITLE:\xFF}", 113, 0});
    const Configuration before = saved.config;
    saved.Open()->ApplyOptions();
    QCOMPARE(saved.config.FileByTagsPatterns, before.FileByTagsPatterns);
    QCOMPARE(saved.config.MacroTable, before.MacroTable);
    saved.config.FileByTagsPatterns.pop_back();
    saved.config.MacroTable.pop_back();

    // A new text on Esc keeps its key.
    auto dialog = saved.Open();
    auto* macros = Child<QTreeWidget>(dialog.get(), "MacroList");
    dialog->answer = [](QDialog& editor) {
        auto& macro = dynamic_cast<EditMacro&>(editor);
        QCOMPARE(macro.HotKeyText(), QString("ESC"));
        macro.SetMacro("{UNDO}{MIXEDCASE}");
        macro.TryAccept();
    };
    RecordingHost host;
    emit macros->itemDoubleClicked(macros->topLevelItem(5), 1);
    QCOMPARE(Messages(host), std::string());
    Click(dialog.get(), "cmdOK");
    QCOMPARE(saved.config.MacroTable[5], (MacroRow{"{UNDO}{MIXEDCASE}", 27, 0}));
    QCOMPARE(LoadConfiguration(*saved.store).MacroTable, saved.config.MacroTable);
}

void OptionsTest::listsAreEditedThroughTheEditors() {
    SavedSettings saved([](Configuration& c) {
        c.TagsByFilePatterns = {"{TITLE}"};
        c.MacroTable = {{"{UPDATE}", 117, 0}};
    });
    auto dialog = saved.Open();
    auto* tagsByFile = Child<QTreeWidget>(dialog.get(), "TagsByFile");
    auto* edit = Child<QPushButton>(dialog.get(), "cmdTBFEdit");
    auto* remove = Child<QPushButton>(dialog.get(), "cmdTBFDelete");

    QString typed;
    dialog->answer = [&](QDialog& editor) {
        auto& pattern = dynamic_cast<EditRenameMacro&>(editor);
        QCOMPARE(pattern.windowTitle(), QString("Edit Rename Macro"));
        if (typed.isEmpty()) return Click(&pattern, "Command2");
        pattern.SetText(typed);
        Click(&pattern, "Command1");
    };
    typed = "{ARTIST}";
    Click(dialog.get(), "cmdTBFAdd");
    typed.clear();
    Click(dialog.get(), "cmdTBFAdd");  // cancelled: no row
    QCOMPARE(Rows(tagsByFile), (QStringList{"{TITLE}", "{ARTIST}"}));
    typed = "{TRACK}. {TITLE}";
    tagsByFile->setCurrentItem(tagsByFile->topLevelItem(0));
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(Rows(tagsByFile), (QStringList{"{TRACK}. {TITLE}", "{ARTIST}"}));
    QTest::mouseClick(remove, Qt::LeftButton);
    QTest::mouseClick(remove, Qt::LeftButton);
    QVERIFY(!edit->isEnabled());
    QVERIFY(!remove->isEnabled());

    // Macros: a key another row uses is refused, the new row's codes come
    // from its name.
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
    QCOMPARE(Rows(macros), (QStringList{"F6", "SHIFT-F2"}));
    QCOMPARE(Rows(macros, 1), (QStringList{"{UPDATE}", "{MIXEDCASE}"}));
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
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(Child<QLineEdit>(dialog.get(), "txtExtension"), Qt::Key_Tab,
                    Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
    QTest::keyClick(Child<QTreeWidget>(dialog.get(), "FileByTags"), Qt::Key_Tab,
                    Qt::ControlModifier);
    QTest::keyClick(Child<QPushButton>(dialog.get(), "cmdOK"), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 3);
    QTest::keyClick(Child<QTreeWidget>(dialog.get(), "MacroList"), Qt::Key_Tab,
                    Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
}

void OptionsTest::macroChecks_data() {
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("key");     // set by the caller
    QTest::addColumn<QString>("picked");  // chosen by the user afterwards, "" for none
    QTest::addColumn<QString>("macro");
    QTest::addColumn<QString>("errors");  // "" when accepted
    const QString used = "* HotKey already defined\r\n";
    QTest::newRow("nothing") << false << "" << "" << "  "
                             << "* No HotKey defined.\r\n* No macro defined.\r\n";
    QTest::newRow("new on a used key") << false << "F4" << "" << "{UPDATE}" << used;
    QTest::newRow("existing, key unchanged") << true << "F4" << "" << "{UPDATE}" << "";
    QTest::newRow("existing, moved to a used key") << true << "F9" << "F4" << "{UPDATE}" << used;
    QTest::newRow("existing, moved and back") << true << "F4" << "F4" << "{UPDATE}" << "";
    QTest::newRow("new on a free key") << false << "CTRL-F1" << "" << "{UPDATE}" << "";
    QTest::newRow("unknown keyword") << false << "F2" << "" << "{BOGUS}"
                                     << "Macro is invalid.\r\n";
    QTest::newRow("everything") << false << "F9" << "" << "{TITLE}"
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
    if (errors.isEmpty()) {
        QCOMPARE(Messages(host), std::string());
        QVERIFY(editor.Result());
        QVERIFY(!editor.isVisible());
        return;
    }
    QCOMPARE(host.messages.size(), size_t{1});
    QCOMPARE(QString::fromStdString(host.messages[0].text), errors);
    QCOMPARE(host.messages[0].caption, std::string("Error"));
    QVERIFY(host.messages[0].icon == MessageIcon::Critical);
    QVERIFY(!editor.Result());
    QVERIFY(editor.isVisible());
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
    QVERIFY(!editor.isVisible());
    QVERIFY(editor.Result());
    QCOMPARE(host.messages.size(), size_t{2});
    QCOMPARE(host.messages[0].text,
             "Warning: Incorrect Length: 'V1TITLE:" + value + "'\r\n\r\n\r\nContinue?");
    QCOMPARE(host.messages[0].caption, std::string("Warning"));
    QVERIFY(host.messages[0].buttons == MessageButtons::OKCancel);

    EditMacro cancelled;
    cancelled.show();
    Click(&cancelled, "Command2");
    QVERIFY(!cancelled.isVisible());
    QVERIFY(!cancelled.Result());
}

void OptionsTest::hotKeyPressSelectsItsRow() {
    EditMacro editor;
    editor.show();
    auto* hotKey = Child<QComboBox>(&editor, "HotKey");
    QCOMPARE(hotKey->count(), 49);
    QCOMPARE(hotKey->itemText(0), QString());
    QCOMPARE(hotKey->findText("ESC"), -1);
    QCOMPARE(Child<QLabel>(&editor, "Label1")->text(), QString("HotKey"));
    QTest::keyClick(hotKey, Qt::Key_F5, Qt::ControlModifier);
    QCOMPARE(editor.HotKeyText(), QString("CTRL-F5"));
    QTest::keyClick(hotKey, Qt::Key_F12, Qt::AltModifier);
    QCOMPARE(editor.HotKeyText(), QString("ALT-F12"));
    QTest::keyClick(hotKey, Qt::Key_F13);  // no row: nothing changes
    QCOMPARE(editor.HotKeyText(), QString("ALT-F12"));
    QTest::keyClick(hotKey, Qt::Key_F3, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(editor.HotKeyText(), QString("ALT-F12"));
}

void OptionsTest::renameFieldsGoWhereTheCaretWasLeft() {
    EditRenameMacro editor;
    editor.show();
    auto* box = Child<QLineEdit>(&editor, "RenameMacro");
    auto* fields = Child<QListWidget>(&editor, "Fields");
    QStringList shown;
    for (int i = 0; i < fields->count(); ++i) shown << fields->item(i)->text();
    QCOMPARE(shown, (QStringList{"Artist", "Title", "Album", "Track", "Genre", "Year", "Comment",
                                 "Composer", "Original Artist", "URL", "Encoder"}));
    auto clickField = [&](const QString& name) {
        QListWidgetItem* item = fields->findItems(name, Qt::MatchExactly).value(0);
        QTest::mouseClick(fields->viewport(), Qt::LeftButton, {},
                          fields->visualItemRect(item).center());
    };

    // Before the user has been in the box the caret counts as the start,
    // wherever filling it left it.
    editor.SetText(" - {TITLE}");
    clickField("Artist");
    QCOMPARE(box->text(), QString("{ARTIST} - {TITLE}"));
    QCOMPARE(box->cursorPosition(), 8);
    QCOMPARE(editor.focusWidget(), box);
    clickField("Album");  // follows the field just inserted
    QCOMPARE(box->text(), QString("{ARTIST}{ALBUM} - {TITLE}"));

    editor.SetText(QString());
    QTest::keyClicks(box, "{ARTIST} - ");
    clickField("Genre");
    QCOMPARE(box->text(), QString("{ARTIST} - {GENRE}"));
    QCOMPARE(box->cursorPosition(), static_cast<int>(box->text().size()));

    // A click in the box moves it.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2));
    clickField("Original Artist");
    QCOMPARE(box->text(), QString("{ORIGARTIST}{ARTIST} - {GENRE}"));
}

void OptionsTest::renameWarningAndResult() {
    EditRenameMacro plain;
    plain.show();
    QCOMPARE(Child<QLabel>(&plain, "WarnLabel")->text(), QString());
    Click(&plain, "Command2");
    QVERIFY(!plain.Result());

    EditRenameMacro warned;
    warned.SetWarning("Some files have no track number.");
    warned.SetText("{TRACK}");
    warned.show();
    QCOMPARE(Child<QLabel>(&warned, "WarnLabel")->text(), QString("Warning:"));
    QCOMPARE(Child<QLabel>(&warned, "Warning")->text(), QString("Some files have no track number."));
    Click(&warned, "Command1");
    QVERIFY(warned.Result());
    QVERIFY(!warned.isVisible());
    QCOMPARE(warned.Text(), QString("{TRACK}"));
}

QTEST_MAIN(OptionsTest)
#include "Options_test.moc"
