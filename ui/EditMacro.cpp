#include "ui/EditMacro.h"

#include "engine/Host.h"
#include "engine/HotKeys.h"
#include "macros/MacroValidation.h"
#include "ui/Accessible.h"
#include "ui/EditorButtons.h"
#include "ui/KeyCodes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessaly {

namespace {
constexpr const char* LineBreak = "\r\n";
}  // namespace

EditMacro::EditMacro(QWidget* parent) : QDialog(parent) {
    NameWidget(this, "EditMacro");
    setWindowTitle("Edit Macro");
    setModal(true);

    hotKey_ = new QComboBox(this);
    NameWidget(hotKey_, "HotKey");
    // Every named key but the last row: Esc can carry a macro but is not
    // offered for new ones. The first entry is the empty "none".
    for (const HotKey& key : HotKeys)
        if (key.Name != "ESC") hotKey_->addItem(QString::fromStdString(key.Name));
    hotKey_->installEventFilter(this);
    hotKeyMacro_ = new QLineEdit(this);
    NameWidget(hotKeyMacro_, "HotKeyMacro");
    label1_ = new QLabel("HotKey", this);
    NameWidget(label1_, "Label1");
    label2_ = new QLabel("Macro", this);
    NameWidget(label2_, "Label2");
    label1_->setBuddy(hotKey_);
    label2_->setBuddy(hotKeyMacro_);
    hotKey_->setAccessibleName("HotKey");
    hotKeyMacro_->setAccessibleName("Macro");
    QHBoxLayout* buttons = MakeOkCancelRow(this, ok_, cancel_);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label1_, 0, 0);
    layout->addWidget(hotKey_, 0, 1, Qt::AlignLeft);
    layout->addWidget(label2_, 1, 0);
    layout->addWidget(hotKeyMacro_, 1, 1);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    const int chars = fontMetrics().averageCharWidth();
    hotKey_->setMinimumWidth(chars * 14);
    hotKeyMacro_->setMinimumWidth(chars * 56);

    connect(ok_, &QPushButton::clicked, this, &EditMacro::TryAccept);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        result_ = false;
        reject();
    });
}

void EditMacro::SetHotKey(const QString& name) {
    const int row = hotKey_->findText(name, Qt::MatchExactly);
    if (row >= 0 || name.isEmpty()) {
        unlistedHotKey_.clear();
        hotKey_->setPlaceholderText(QString());
        hotKey_->setCurrentIndex(std::max(row, 0));
        return;
    }
    // No row to select: show the name in the empty box until the user picks.
    unlistedHotKey_ = name;
    hotKey_->setPlaceholderText(name);
    hotKey_->setCurrentIndex(-1);
}

QString EditMacro::HotKeyText() const {
    if (hotKey_->currentIndex() < 0) return unlistedHotKey_;
    return hotKey_->currentText();
}

void EditMacro::SetMacro(const QString& macro) {
    hotKeyMacro_->setText(macro);
}

QString EditMacro::Macro() const {
    return hotKeyMacro_->text();
}

QString EditMacro::Errors(QString& warning) const {
    QString errors;
    const QString key = HotKeyText();
    if (key.isEmpty()) errors += QString("* No HotKey defined.") + LineBreak;
    // A macro whose key is the one it had when the dialog came up keeps it,
    // even though that key is in the list.
    if (!key.isEmpty() && (!editingExisting_ || key != hotKeyAtActivation_) &&
        definedHotKeys_.contains(key))
        errors += QString("* HotKey already defined") + LineBreak;
    if (Macro().trimmed().isEmpty()) errors += QString("* No macro defined.") + LineBreak;
    const MacroVerdict verdict = ValidateMacro(Macro().toStdString());
    if (!verdict.Messages.empty()) {
        if (verdict.Invalid)
            errors += QString("Macro is invalid.") + LineBreak;
        else
            warning = "Warning: " + QString::fromStdString(verdict.Messages) + LineBreak;
    }
    return errors;
}

void EditMacro::TryAccept() {
    QString warning;
    const QString errors = Errors(warning);
    Host& host = CurrentHost();
    if (!errors.isEmpty()) {
        host.ShowMessage(errors.toStdString(), "Error", MessageIcon::Critical, MessageButtons::OK);
        return;
    }
    if (!warning.isEmpty()) {
        const MessageAnswer answer =
            host.ShowMessage((warning + LineBreak + "Continue?").toStdString(), "Warning",
                             MessageIcon::None, MessageButtons::OKCancel);
        if (answer != MessageAnswer::OK) return;
    }
    result_ = true;
    accept();
}

void EditMacro::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) hotKeyAtActivation_ = HotKeyText();
    QDialog::showEvent(event);
}

bool EditMacro::eventFilter(QObject* watched, QEvent* event) {
    // A hot key pressed in the list selects its own row, so Ctrl+F5 picks
    // "CTRL-F5" without scrolling for it. Other keys work the list as usual.
    if (watched == hotKey_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const std::string name =
            HotKeyName(VirtualKeyOf(key->key()), ShiftCodeOf(key->modifiers()));
        const int row = name.empty() ? -1 : hotKey_->findText(QString::fromStdString(name));
        if (row > 0) {
            hotKey_->setCurrentIndex(row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tessaly
