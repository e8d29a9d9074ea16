// The dialogs the main window opens over itself: the options, and the
// pattern and macro editors reached by a double-click on a row of its lists.
#include "ui/MainForm.h"

#include "engine/HotKeys.h"
#include "ui/EditMacro.h"
#include "ui/EditRenameMacro.h"
#include "ui/Options.h"
#include "ui/TabPages.h"

#include <QToolBar>

namespace tessaly {

void MainForm::OpenOptions() {
    Options dialog(config_, store_, [this] { return toolBar_->isVisible(); }, this);
    connect(&dialog, &Options::applied, this, [this] {
        // The lists show what the dialog stored; a new extension list takes
        // effect at the next listing of a folder.
        tabs_->FillMacroList();
        editor_.FillPatternLists();
    });
    dialog.exec();
    editor_.FillPatternLists();
}

void MainForm::EditPattern(PatternListKind list, int patternIndex) {
    const auto& patterns =
        list == PatternListKind::FileByTags ? config_.FileByTagsPatterns : config_.TagsByFilePatterns;
    if (patternIndex < 0 || patternIndex >= static_cast<int>(patterns.size())) return;
    EditRenameMacro editor(this);
    editor.SetText(QString::fromUtf8(patterns[static_cast<size_t>(patternIndex)]));
    // No notice: the edit is stored like one made in the options dialog, so
    // a notice that it lasts only for this session would be untrue.
    editor.exec();
    if (editor.Result()) editor_.ReplacePattern(list, patternIndex, editor.Text().toStdString());
}

void MainForm::EditMacroRow(int row) {
    if (row < 0 || row >= static_cast<int>(config_.MacroTable.size())) return;
    MacroRow& macro = config_.MacroTable[static_cast<size_t>(row)];
    const QString keyName = QString::fromStdString(MacroKeyName(macro));
    QStringList defined;
    for (const MacroRow& other : config_.MacroTable)
        defined << QString::fromStdString(MacroKeyName(other));
    EditMacro editor(this);
    editor.SetEditingExisting(true);
    editor.SetHotKey(keyName);
    editor.SetMacro(QString::fromUtf8(macro.Macro));
    editor.SetDefinedHotKeys(defined);
    editor.exec();
    if (!editor.Result()) return;
    // A key left as it was keeps its codes: Esc has no entry to look up.
    if (editor.HotKeyText() != keyName) {
        const std::string name = editor.HotKeyText().toStdString();
        macro.KeyCode = HotKeyCode(name, 0);
        macro.ShiftCode = HotKeyCode(name, 1);
    }
    macro.Macro = editor.Macro().toStdString();
    SavePatternsAndMacros(store_, config_);
    tabs_->FillMacroList();
}

}  // namespace tessaly
