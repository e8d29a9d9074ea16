// The options dialog's controls: the four pages with their layouts, the
// buttons below them, and the connections between controls of one page.
#include "ui/Options.h"

#include "ui/Accessible.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr int MinimumCopyBuffer = 2048;
constexpr int MaximumCopyBuffer = 65536;

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
QGroupBox* ListFrame(const char* title, QTreeWidget* list,
                     std::initializer_list<QPushButton*> buttons, QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    auto* column = new QVBoxLayout;
    for (QPushButton* button : buttons) column->addWidget(button);
    column->addStretch();
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(list, 1);
    layout->addLayout(column);
    return frame;
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
    addContextMenu_ =
        MakeCheckBox("AddContextMenu", "Add To Context Menu (right-click)", otherFrame);
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

QTreeWidget* Options::PatternListFrame(QGridLayout* layout, const char* listName,
                                       const char* title, const std::string& buttonPrefix,
                                       QPushButton*& edit, QPushButton*& remove, QWidget* page) {
    QTreeWidget* list = MakeList(listName, title, page);
    auto* add = MakeButton((buttonPrefix + "Add").c_str(), "Add", page);
    edit = MakeButton((buttonPrefix + "Edit").c_str(), "Edit", page);
    remove = MakeButton((buttonPrefix + "Delete").c_str(), "Delete", page);
    layout->addWidget(ListFrame(title, list, {add, edit, remove}, page), 0, 0, 1, 2);
    connect(add, &QPushButton::clicked, this, [this, list] { AddPattern(list); });
    connect(edit, &QPushButton::clicked, this, [this, list] { EditPattern(list, list->currentItem()); });
    connect(remove, &QPushButton::clicked, this, [this, list] { DeleteRow(list); });
    connect(list, &QTreeWidget::itemDoubleClicked, this,
            [this, list](QTreeWidgetItem* item) { EditPattern(list, item); });
    list->setHeaderHidden(true);
    return list;
}

QWidget* Options::PatternPage(bool fileByTags) {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    if (fileByTags) {
        fileByTags_ = PatternListFrame(layout, "FileByTags", "Filename by Tags", "cmdFBT", fbtEdit_,
                                       fbtDelete_, page);
        renameSpace_ = MakeCheckBox("RenameSpace", "Rename Spaces with:", page);
        renameSpaceChar_ = MakeTextBox("RenameSpaceChar", "Rename Spaces with:", page);
        renamePadTracks_ = MakeCheckBox("RenamePadTracks", "Two Digit Tracks", page);
        renameSpaceChar_->setMaximumWidth(renameSpaceChar_->fontMetrics().averageCharWidth() * 8);
        layout->addWidget(renameSpace_, 1, 0);
        layout->addWidget(renameSpaceChar_, 1, 1, Qt::AlignLeft);
        layout->addWidget(renamePadTracks_, 2, 0);
        connect(renameSpace_, &QCheckBox::toggled, renameSpaceChar_, &QWidget::setEnabled);
    } else {
        tagsByFile_ = PatternListFrame(layout, "TagsByFile", "Tags by Filename", "cmdTBF", tbfEdit_,
                                       tbfDelete_, page);
        replaceWithSpaces_ = MakeCheckBox("ReplaceWithSpaces",
                                          "Replace the following characters with spaces:", page);
        replaceWithSpacesChars_ = MakeTextBox(
            "ReplaceWithSpacesChars", "Replace the following characters with spaces:", page);
        replaceWithSpacesChars_->setMaximumWidth(
            replaceWithSpacesChars_->fontMetrics().averageCharWidth() * 16);
        layout->addWidget(replaceWithSpaces_, 1, 0);
        layout->addWidget(replaceWithSpacesChars_, 1, 1, Qt::AlignLeft);
        connect(replaceWithSpaces_, &QCheckBox::toggled, replaceWithSpacesChars_,
                &QWidget::setEnabled);
    }
    layout->setColumnStretch(1, 1);
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
    layout->addWidget(
        ListFrame("Hot Keys / Macros", macroList_, {add, macroEdit_, macroDelete_}, page));
    connect(add, &QPushButton::clicked, this, &Options::AddMacro);
    connect(macroEdit_, &QPushButton::clicked, this,
            [this] { EditMacroRow(macroList_->currentItem()); });
    connect(macroDelete_, &QPushButton::clicked, this, [this] { DeleteRow(macroList_); });
    connect(macroList_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { EditMacroRow(item); });
    return page;
}

}  // namespace tessaly
