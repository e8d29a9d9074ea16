#include "ui/Options.h"

#include "engine/HotKeys.h"
#include "engine/LanguageTable.h"
#include "settings/MacroTable.h"
#include "settings/ShellIntegration.h"
#include "ui/EditMacro.h"
#include "ui/EditRenameMacro.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTreeWidget>

namespace tessaly {

namespace {

// A row keeps the bytes it was loaded with, so a pattern or macro the user
// leaves alone is stored back exactly as it was read, whatever its text.
constexpr int TextRole = Qt::UserRole;
constexpr int KeyCodeRole = Qt::UserRole + 1;
constexpr int ShiftCodeRole = Qt::UserRole + 2;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string StoredText(const QTreeWidgetItem* item) {
    return item->data(0, TextRole).toByteArray().toStdString();
}

// Sets the row's text; a text equal to the one shown keeps the stored bytes.
void SetRowText(QTreeWidgetItem* item, int column, const QString& text) {
    if (item->text(column) == text && item->data(0, TextRole).isValid()) return;
    item->setText(column, text);
    item->setData(0, TextRole, text.toUtf8());
}

QTreeWidgetItem* PatternRow(QTreeWidget* list, const std::string& pattern) {
    auto* item = new QTreeWidgetItem(list, {FromUtf8(pattern)});
    item->setData(0, TextRole, QByteArray::fromStdString(pattern));
    return item;
}

QTreeWidgetItem* MacroListRow(QTreeWidget* list, const MacroRow& row) {
    // Esc has no name in the hot-key lists but its macro has a key all the
    // same; the stored name shows it.
    auto* item =
        new QTreeWidgetItem(list, {QString::fromStdString(MacroKeyName(row)), FromUtf8(row.Macro)});
    item->setData(0, TextRole, QByteArray::fromStdString(row.Macro));
    item->setData(0, KeyCodeRole, row.KeyCode);
    item->setData(0, ShiftCodeRole, row.ShiftCode);
    return item;
}

Qt::CheckState CheckStateOf(int16_t shellState) {
    return shellState == 1 ? Qt::Checked : shellState == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

int16_t ShellStateOf(Qt::CheckState state) {
    return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

}  // namespace

void Options::LoadControls() {
    for (const std::string& pattern : config_.FileByTagsPatterns) PatternRow(fileByTags_, pattern);
    for (const std::string& pattern : config_.TagsByFilePatterns) PatternRow(tagsByFile_, pattern);
    for (const MacroRow& row : config_.MacroTable) MacroListRow(macroList_, row);
    for (QTreeWidget* list : {fileByTags_, tagsByFile_, macroList_})
        if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));

    copyBuffer_->setValue(config_.CopyBuffer);
    copyBufferLabel_->setNum(copyBuffer_->value());
    for (const std::string& extension : config_.Extensions)
        extensions_->addItem(FromUtf8(extension));

    for (const Language& language : LanguageTable)
        language_->addItem(QString::fromLatin1(language.Name.data(),
                                               static_cast<qsizetype>(language.Name.size())));
    language_->setCurrentIndex(LanguageIndex(config_.Language));
    connect(language_, &QComboBox::currentIndexChanged, this, [this] { languageChosen_ = true; });

    renameSpace_->setChecked(config_.RenameSpace);
    renamePadTracks_->setChecked(config_.RenameTwoDigitTracks);
    replaceWithSpaces_->setChecked(config_.ReplaceWithSpaces);
    quickLoad_->setChecked(config_.QuickLoad);
    originalDateTime_->setChecked(config_.OriginalDateTime);
    extendedInfo_->setChecked(config_.ExtendedInfo);
    renameSpaceChar_->setText(FromUtf8(config_.RenameSpaceChar));
    replaceWithSpacesChars_->setText(FromUtf8(config_.ReplaceWithSpacesChars));
    renameSpaceChar_->setEnabled(renameSpace_->isChecked());
    replaceWithSpacesChars_->setEnabled(replaceWithSpaces_->isChecked());

    const int16_t shellState = ShellVerbState(config_.Extensions);
    addContextMenu_->setTristate(shellState == 2);
    addContextMenu_->setCheckState(CheckStateOf(shellState));
    UpdateButtons();
}

void Options::UpdateButtons() {
    addExtension_->setEnabled(!txtExtension_->text().isEmpty());
    removeExtension_->setEnabled(!extensions_->selectedItems().isEmpty());
    const std::pair<QTreeWidget*, std::array<QPushButton*, 2>> lists[] = {
        {fileByTags_, {fbtEdit_, fbtDelete_}},
        {tagsByFile_, {tbfEdit_, tbfDelete_}},
        {macroList_, {macroEdit_, macroDelete_}},
    };
    for (const auto& [list, buttons] : lists)
        for (QPushButton* button : buttons) button->setEnabled(list->topLevelItemCount() > 0);
}

void Options::AddExtension() {
    const QString text = txtExtension_->text();
    if (text.isEmpty()) return;
    extensions_->addItem(text.startsWith('.') ? text : "." + text);
    txtExtension_->clear();
}

void Options::RemoveExtension() {
    const QList<QListWidgetItem*> selected = extensions_->selectedItems();
    if (!selected.isEmpty()) delete selected.first();
    // Nothing stays selected, so a second click cannot remove a neighbour
    // the user never picked.
    extensions_->setCurrentRow(-1);
    extensions_->clearSelection();
    UpdateButtons();
}

void Options::AddPattern(QTreeWidget* list) {
    EditRenameMacro editor(this);
    RunEditor(editor);
    if (!editor.Result()) return;
    auto* item = new QTreeWidgetItem(list, {editor.Text()});
    item->setData(0, TextRole, editor.Text().toUtf8());
    list->setCurrentItem(item);
    UpdateButtons();
}

void Options::EditPattern(QTreeWidget* list, QTreeWidgetItem* item) {
    if (!item || list->topLevelItemCount() == 0) return;
    EditRenameMacro editor(this);
    editor.SetText(item->text(0));
    RunEditor(editor);
    if (editor.Result()) SetRowText(item, 0, editor.Text());
}

void Options::DeleteRow(QTreeWidget* list) {
    delete list->currentItem();
    UpdateButtons();
}

QStringList Options::DefinedHotKeys() const {
    QStringList names;
    for (int i = 0; i < macroList_->topLevelItemCount(); ++i)
        names << macroList_->topLevelItem(i)->text(0);
    return names;
}

void Options::AddMacro() {
    EditMacro editor(this);
    editor.SetDefinedHotKeys(DefinedHotKeys());
    RunEditor(editor);
    if (!editor.Result()) return;
    const std::string name = editor.HotKeyText().toStdString();
    auto* item = MacroListRow(
        macroList_, {editor.Macro().toStdString(), HotKeyCode(name, 0), HotKeyCode(name, 1)});
    macroList_->setCurrentItem(item);
    UpdateButtons();
}

void Options::EditMacroRow(QTreeWidgetItem* item) {
    if (!item || macroList_->topLevelItemCount() == 0) return;
    EditMacro editor(this);
    editor.SetEditingExisting(true);
    editor.SetHotKey(item->text(0));
    editor.SetMacro(item->text(1));
    editor.SetDefinedHotKeys(DefinedHotKeys());
    RunEditor(editor);
    if (!editor.Result()) return;
    // A macro that stays on its key keeps the key's codes: Esc has no name to
    // look them up by.
    const QString name = editor.HotKeyText();
    if (name != item->text(0)) {
        item->setText(0, name);
        item->setData(0, KeyCodeRole, HotKeyCode(name.toStdString(), 0));
        item->setData(0, ShiftCodeRole, HotKeyCode(name.toStdString(), 1));
    }
    SetRowText(item, 1, editor.Macro());
}

void Options::RunEditor(QDialog& editor) {
    editor.exec();
}

bool Options::ApplyOptions() {
    config_.CopyBuffer = copyBufferLabel_->text().toInt();
    config_.Extensions.clear();
    for (int i = 0; i < extensions_->count(); ++i)
        config_.Extensions.push_back(extensions_->item(i)->text().toStdString());
    config_.QuickLoad = quickLoad_->checkState() != Qt::Unchecked;
    config_.OriginalDateTime = originalDateTime_->checkState() != Qt::Unchecked;
    config_.ExtendedInfo = extendedInfo_->checkState() != Qt::Unchecked;

    for (auto [list, patterns] : {std::pair{fileByTags_, &config_.FileByTagsPatterns},
                                  std::pair{tagsByFile_, &config_.TagsByFilePatterns}}) {
        patterns->clear();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            patterns->push_back(StoredText(list->topLevelItem(i)));
    }
    config_.MacroTable.clear();
    for (int i = 0; i < macroList_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = macroList_->topLevelItem(i);
        config_.MacroTable.push_back({StoredText(item),
                                      static_cast<int16_t>(item->data(0, KeyCodeRole).toInt()),
                                      static_cast<int16_t>(item->data(0, ShiftCodeRole).toInt())});
    }

    config_.RenameSpace = renameSpace_->isChecked();
    config_.RenameSpaceChar = renameSpaceChar_->text().toStdString();
    config_.RenameTwoDigitTracks = renamePadTracks_->isChecked();
    config_.ReplaceWithSpaces = replaceWithSpaces_->isChecked();
    config_.ReplaceWithSpacesChars = replaceWithSpacesChars_->text().trimmed().toStdString();

    // The first row stands for no choice and gives "eng". A language the
    // user did not pick again stays as stored, even one the table lacks.
    if (languageChosen_) {
        const int row = language_->currentIndex();
        config_.Language = row >= 1 ? LanguageTable[static_cast<size_t>(row)].Code : "eng";
    }

    SaveConfiguration(store_, config_, toolbarShown_ ? toolbarShown_() : config_.Toolbar);

    const int16_t wanted = ShellStateOf(addContextMenu_->checkState());
    if (wanted != ShellVerbState(config_.Extensions))
        RegisterShellVerb(wanted != 0, config_.Extensions);
    emit applied();
    return true;
}

void Options::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        if (QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    QDialog::showEvent(event);
}

bool Options::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier && widget &&
            widget->window() == this) {
            tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tessaly
