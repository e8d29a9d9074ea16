#include "ui/Options.h"

#include "engine/HotKeys.h"
#include "engine/LanguageTable.h"
#include "settings/MacroTable.h"
#include "settings/ShellIntegration.h"
#include "ui/Accessible.h"
#include "ui/EditMacro.h"
#include "ui/EditRenameMacro.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr int MinimumCopyBuffer = 2048;
constexpr int MaximumCopyBuffer = 65536;

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
    auto* item = new QTreeWidgetItem(list, {QString::fromStdString(MacroKeyName(row)),
                                            FromUtf8(row.Macro)});
    item->setData(0, TextRole, QByteArray::fromStdString(row.Macro));
    item->setData(0, KeyCodeRole, row.KeyCode);
    item->setData(0, ShiftCodeRole, row.ShiftCode);
    return item;
}

QTreeWidget* MakeList(const char* name, const char* caption, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    NameWidget(list, name);
    list->setAccessibleName(caption);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    return list;
}

QPushButton* MakeButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    NameWidget(button, name);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* MakeCheckBox(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    NameWidget(box, name);
    return box;
}

QLineEdit* MakeTextBox(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    NameWidget(box, name);
    box->setAccessibleName(caption);
    return box;
}

// A list with its Add, Edit and Delete buttons in a column beside it.
QGroupBox* ListFrame(const char* title, QTreeWidget* list, std::initializer_list<QPushButton*> buttons,
                     QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    auto* column = new QVBoxLayout;
    for (QPushButton* button : buttons) column->addWidget(button);
    column->addStretch();
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(list, 1);
    layout->addLayout(column);
    return frame;
}

Qt::CheckState CheckStateOf(int16_t shellState) {
    return shellState == 1 ? Qt::Checked
                           : shellState == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

int16_t ShellStateOf(Qt::CheckState state) {
    return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

}  // namespace

Options::Options(Configuration& config, CRegSettings& store, std::function<bool()> toolbarShown,
                 QWidget* parent)
    : QDialog(parent), config_(config), store_(store), toolbarShown_(std::move(toolbarShown)) {
    NameWidget(this, "Options");
    setWindowTitle("Options");
    setModal(true);

    tabs_ = new QTabWidget(this);
    NameWidget(tabs_, "tbsOptions");
    tabs_->setAccessibleName("Options");
    struct Tab {
        QWidget* Page;
        const char* Caption;
        const char* Key;
        const char* ToolTip;
    };
    const Tab tabs[] = {
        {GeneralPage(), "&General", "General", "General Options"},
        {PatternPage(true), "&Rename by Tags", "Rename by Tags", "Rename by Tags Options"},
        {PatternPage(false), "&Tags by Filename", "Tags by Filename", "Tags by Filename Options"},
        {MacroPage(), "&Macros", "Macros", "Define HotKeys/Macros"},
    };
    for (int i = 0; i < 4; ++i) {
        NameWidget(tabs[i].Page, QString("picOptions%1").arg(i).toUtf8().constData());
        tabs[i].Page->setAccessibleName(tabs[i].Key);
        tabs_->addTab(tabs[i].Page, tabs[i].Caption);
        tabs_->setTabToolTip(i, tabs[i].ToolTip);
        tabs_->tabBar()->setTabData(i, tabs[i].Key);
    }

    auto* ok = MakeButton("cmdOK", "OK", this);
    auto* cancel = MakeButton("cmdCancel", "Cancel", this);
    auto* apply = MakeButton("cmdApply", "Apply", this);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        if (ApplyOptions()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply, &QPushButton::clicked, this, [this] { ApplyOptions(); });

    LoadControls();
    // Ctrl+Tab turns the page whichever control has the focus: the dialog
    // looks at key presses before its controls do.
    qApp->installEventFilter(this);
}

QWidget* Options::GeneralPage() {
    auto* page = new QWidget;
    originalDateTime_ = MakeCheckBox("OriginalDateTime", "Keep Original File Date/Time", page);
    extendedInfo_ = MakeCheckBox("ExtendedInfo", "Show Extended Info In FileList", page);

    auto* languageFrame = new QGroupBox("ID3v2 Comment Language", page);
    language_ = new QComboBox(languageFrame);
    NameWidget(language_, "Language");
    language_->setAccessibleName("ID3v2 Comment Language");
    (new QVBoxLayout(languageFrame))->addWidget(language_);

    auto* otherFrame = new QGroupBox("Other Options", page);
    addContextMenu_ = MakeCheckBox("AddContextMenu", "Add To Context Menu (right-click)", otherFrame);
    quickLoad_ = MakeCheckBox("QuickLoad", "No Delay At Startup", otherFrame);
    auto* other = new QVBoxLayout(otherFrame);
    other->addWidget(addContextMenu_);
    other->addWidget(quickLoad_);

    auto* extensionFrame = new QGroupBox("Extensions", page);
    extensions_ = new QListWidget(extensionFrame);
    NameWidget(extensions_, "Extensions");
    extensions_->setAccessibleName("Extensions");
    txtExtension_ = MakeTextBox("txtExtension", "Extension", extensionFrame);
    addExtension_ = MakeButton("cmdAddExtension", "Add", extensionFrame);
    removeExtension_ = MakeButton("cmdRemoveExtension", "Remove", extensionFrame);
    auto* extensionButtons = new QVBoxLayout;
    extensionButtons->addWidget(txtExtension_);
    extensionButtons->addWidget(addExtension_);
    extensionButtons->addWidget(removeExtension_);
    extensionButtons->addStretch();
    auto* extension = new QHBoxLayout(extensionFrame);
    extension->addWidget(extensions_, 1);
    extension->addLayout(extensionButtons);
    extensions_->setMinimumHeight(extensions_->fontMetrics().height() * 5);

    auto* bufferFrame = new QGroupBox("Copy Buffer", page);
    copyBuffer_ = new QSlider(Qt::Horizontal, bufferFrame);
    NameWidget(copyBuffer_, "sldCopyBuffer");
    copyBuffer_->setAccessibleName("Copy Buffer");
    copyBuffer_->setRange(MinimumCopyBuffer, MaximumCopyBuffer);
    copyBuffer_->setSingleStep(1024);
    copyBuffer_->setPageStep(8192);
    copyBufferLabel_ = new QLabel(bufferFrame);
    NameWidget(copyBufferLabel_, "CopyBuffer");
    copyBufferLabel_->setMinimumWidth(copyBufferLabel_->fontMetrics().horizontalAdvance("000000"));
    copyBufferLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* buffer = new QHBoxLayout(bufferFrame);
    buffer->addWidget(copyBuffer_, 1);
    buffer->addWidget(copyBufferLabel_);

    auto* layout = new QGridLayout(page);
    layout->addWidget(originalDateTime_, 0, 0);
    layout->addWidget(extendedInfo_, 1, 0);
    layout->addWidget(languageFrame, 2, 0);
    layout->addWidget(otherFrame, 3, 0);
    layout->addWidget(extensionFrame, 0, 1, 4, 1);
    layout->addWidget(bufferFrame, 4, 0, 1, 2);
    layout->setRowStretch(5, 1);

    connect(txtExtension_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
    connect(extensions_, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(addExtension_, &QPushButton::clicked, this, &Options::AddExtension);
    connect(removeExtension_, &QPushButton::clicked, this, &Options::RemoveExtension);
    connect(copyBuffer_, &QSlider::valueChanged, copyBufferLabel_,
            [this](int value) { copyBufferLabel_->setNum(value); });
    connect(addContextMenu_, &QCheckBox::clicked, this, [this] {
        // Greyed only shows what the desktop has; once clicked the box says
        // yes or no to every listed type.
        addContextMenu_->setTristate(false);
    });
    return page;
}

QWidget* Options::PatternPage(bool fileByTags) {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    QTreeWidget* list;
    if (fileByTags) {
        list = fileByTags_ = MakeList("FileByTags", "Filename by Tags", page);
        auto* add = MakeButton("cmdFBTAdd", "Add", page);
        fbtEdit_ = MakeButton("cmdFBTEdit", "Edit", page);
        fbtDelete_ = MakeButton("cmdFBTDelete", "Delete", page);
        layout->addWidget(ListFrame("Filename by Tags", list, {add, fbtEdit_, fbtDelete_}, page),
                          0, 0, 1, 2);
        renameSpace_ = MakeCheckBox("RenameSpace", "Rename Spaces with:", page);
        renameSpaceChar_ = MakeTextBox("RenameSpaceChar", "Rename Spaces with:", page);
        renamePadTracks_ = MakeCheckBox("RenamePadTracks", "Two Digit Tracks", page);
        renameSpaceChar_->setMaximumWidth(renameSpaceChar_->fontMetrics().averageCharWidth() * 8);
        layout->addWidget(renameSpace_, 1, 0);
        layout->addWidget(renameSpaceChar_, 1, 1, Qt::AlignLeft);
        layout->addWidget(renamePadTracks_, 2, 0);
        connect(add, &QPushButton::clicked, this, [this] { AddPattern(fileByTags_); });
        connect(fbtEdit_, &QPushButton::clicked, this,
                [this] { EditPattern(fileByTags_, fileByTags_->currentItem()); });
        connect(fbtDelete_, &QPushButton::clicked, this, [this] { DeleteRow(fileByTags_); });
        connect(renameSpace_, &QCheckBox::toggled, renameSpaceChar_, &QWidget::setEnabled);
    } else {
        list = tagsByFile_ = MakeList("TagsByFile", "Tags by Filename", page);
        auto* add = MakeButton("cmdTBFAdd", "Add", page);
        tbfEdit_ = MakeButton("cmdTBFEdit", "Edit", page);
        tbfDelete_ = MakeButton("cmdTBFDelete", "Delete", page);
        layout->addWidget(ListFrame("Tags by Filename", list, {add, tbfEdit_, tbfDelete_}, page),
                          0, 0, 1, 2);
        replaceWithSpaces_ = MakeCheckBox("ReplaceWithSpaces",
                                          "Replace the following characters with spaces:", page);
        replaceWithSpacesChars_ = MakeTextBox(
            "ReplaceWithSpacesChars", "Replace the following characters with spaces:", page);
        replaceWithSpacesChars_->setMaximumWidth(
            replaceWithSpacesChars_->fontMetrics().averageCharWidth() * 16);
        layout->addWidget(replaceWithSpaces_, 1, 0);
        layout->addWidget(replaceWithSpacesChars_, 1, 1, Qt::AlignLeft);
        connect(add, &QPushButton::clicked, this, [this] { AddPattern(tagsByFile_); });
        connect(tbfEdit_, &QPushButton::clicked, this,
                [this] { EditPattern(tagsByFile_, tagsByFile_->currentItem()); });
        connect(tbfDelete_, &QPushButton::clicked, this, [this] { DeleteRow(tagsByFile_); });
        connect(replaceWithSpaces_, &QCheckBox::toggled, replaceWithSpacesChars_,
                &QWidget::setEnabled);
    }
    layout->setColumnStretch(1, 1);
    list->setHeaderHidden(true);
    connect(list, &QTreeWidget::itemDoubleClicked, this,
            [this, list](QTreeWidgetItem* item) { EditPattern(list, item); });
    return page;
}

QWidget* Options::MacroPage() {
    auto* page = new QWidget;
    macroList_ = MakeList("MacroList", "Hot Keys / Macros", page);
    macroList_->setHeaderLabels({"HotKey", "Macro"});
    macroList_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    macroList_->header()->setStretchLastSection(true);
    auto* add = MakeButton("cmdMacroAdd", "Add", page);
    macroEdit_ = MakeButton("cmdMacroEdit", "Edit", page);
    macroDelete_ = MakeButton("cmdMacroDelete", "Delete", page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(ListFrame("Hot Keys / Macros", macroList_, {add, macroEdit_, macroDelete_}, page));
    connect(add, &QPushButton::clicked, this, &Options::AddMacro);
    connect(macroEdit_, &QPushButton::clicked, this,
            [this] { EditMacroRow(macroList_->currentItem()); });
    connect(macroDelete_, &QPushButton::clicked, this, [this] { DeleteRow(macroList_); });
    connect(macroList_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { EditMacroRow(item); });
    return page;
}

void Options::LoadControls() {
    for (const std::string& pattern : config_.FileByTagsPatterns) PatternRow(fileByTags_, pattern);
    for (const std::string& pattern : config_.TagsByFilePatterns) PatternRow(tagsByFile_, pattern);
    for (const MacroRow& row : config_.MacroTable) MacroListRow(macroList_, row);
    for (QTreeWidget* list : {fileByTags_, tagsByFile_, macroList_})
        if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));

    copyBuffer_->setValue(config_.CopyBuffer);
    copyBufferLabel_->setNum(copyBuffer_->value());
    for (const std::string& extension : config_.Extensions) extensions_->addItem(FromUtf8(extension));

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
    auto* item = MacroListRow(macroList_, {editor.Macro().toStdString(), HotKeyCode(name, 0),
                                           HotKeyCode(name, 1)});
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

void Options::RunEditor(QDialog& editor) { editor.exec(); }

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
    if (wanted != ShellVerbState(config_.Extensions)) RegisterShellVerb(wanted != 0, config_.Extensions);
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
