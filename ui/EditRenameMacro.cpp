#include "ui/EditRenameMacro.h"

#include "ui/Accessible.h"
#include "ui/EditorButtons.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <functional>
#include <iterator>

namespace tessaly {

namespace {

// Shown name and the keyword it inserts. COPYRIGHT is a valid pattern field
// but has never been offered here.
struct Field {
    const char* Shown;
    const char* Keyword;
};
constexpr Field Fields[] = {
    {"Artist", "ARTIST"},   {"Title", "TITLE"},       {"Album", "ALBUM"},
    {"Track", "TRACK"},     {"Genre", "GENRE"},       {"Year", "YEAR"},
    {"Comment", "COMMENT"}, {"Composer", "COMPOSER"}, {"Original Artist", "ORIGARTIST"},
    {"URL", "URL"},         {"Encoder", "ENCODER"},
};

// A text box that reports its caret after every key and mouse event the user
// gives it. Clicking the field list takes the focus away, so the caret the
// user meant has to be remembered while it is still theirs; moves made by
// the program (filling the box, focus arriving) do not count.
class CaretTrackingEdit final : public QLineEdit {
public:
    CaretTrackingEdit(std::function<void(int)> record, QWidget* parent)
        : QLineEdit(parent), record_(std::move(record)) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        QLineEdit::keyPressEvent(e);
        Record();
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        QLineEdit::keyReleaseEvent(e);
        Record();
    }
    void mousePressEvent(QMouseEvent* e) override {
        QLineEdit::mousePressEvent(e);
        Record();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        QLineEdit::mouseMoveEvent(e);
        Record();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QLineEdit::mouseReleaseEvent(e);
        Record();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        QLineEdit::mouseDoubleClickEvent(e);
        Record();
    }
    void inputMethodEvent(QInputMethodEvent* e) override {
        QLineEdit::inputMethodEvent(e);
        Record();
    }
    void contextMenuEvent(QContextMenuEvent* e) override {
        QLineEdit::contextMenuEvent(e);  // paste or undo from the menu
        Record();
    }

private:
    void Record() { record_(cursorPosition()); }
    std::function<void(int)> record_;
};

}  // namespace

EditRenameMacro::EditRenameMacro(QWidget* parent) : QDialog(parent) {
    NameWidget(this, "EditRenameMacro");
    setWindowTitle("Edit Rename Macro");
    setModal(true);

    renameMacro_ = new CaretTrackingEdit([this](int caret) { recordedCaret_ = caret; }, this);
    NameWidget(renameMacro_, "RenameMacro");
    renameMacro_->setAccessibleName("Pattern");
    fields_ = new QListWidget(this);
    NameWidget(fields_, "Fields");
    fields_->setAccessibleName("Fields");
    for (const Field& field : Fields) fields_->addItem(field.Shown);
    fields_->installEventFilter(this);
    warnLabel_ = new QLabel(this);
    NameWidget(warnLabel_, "WarnLabel");
    warning_ = new QLabel(this);
    NameWidget(warning_, "Warning");
    warning_->setWordWrap(true);
    warnLabel_->setAccessibleName("Warning");
    warning_->setAccessibleName("Notice");
    QHBoxLayout* buttons = MakeOkCancelRow(this, ok_, cancel_);
    auto* notice = new QHBoxLayout;
    notice->addWidget(warnLabel_, 0, Qt::AlignTop);
    notice->addWidget(warning_, 1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(renameMacro_, 0, 0);
    layout->addLayout(notice, 1, 0);
    layout->setRowStretch(2, 1);
    layout->addWidget(fields_, 0, 1, 4, 1);
    layout->addLayout(buttons, 3, 0);
    layout->setColumnStretch(0, 1);
    const int chars = fontMetrics().averageCharWidth();
    renameMacro_->setMinimumWidth(chars * 44);
    fields_->setFixedWidth(fields_->sizeHintForColumn(0) + chars * 6);
    fields_->setMinimumHeight(fields_->sizeHintForRow(0) * (fields_->count() + 1));

    connect(fields_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { InsertField(fields_->row(item)); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        result_ = true;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        result_ = false;
        reject();
    });
}

void EditRenameMacro::SetText(const QString& pattern) {
    renameMacro_->setText(pattern);
}

QString EditRenameMacro::Text() const {
    return renameMacro_->text();
}

void EditRenameMacro::SetWarning(const QString& warning) {
    warning_->setText(warning);
}

void EditRenameMacro::InsertField(int row) {
    if (row < 0 || row >= static_cast<int>(std::size(Fields))) return;
    const QString keyword = QString("{%1}").arg(Fields[row].Keyword);
    QString text = renameMacro_->text();
    // The text may have been replaced since the caret was recorded.
    const int at = std::clamp(recordedCaret_, 0, static_cast<int>(text.size()));
    text.insert(at, keyword);
    renameMacro_->setText(text);
    renameMacro_->setCursorPosition(at + static_cast<int>(keyword.size()));
    // The caret now stands after the field, and that is where the next one
    // belongs: fields clicked one after another come out in clicking order.
    recordedCaret_ = renameMacro_->cursorPosition();
    renameMacro_->setFocus();
}

void EditRenameMacro::showEvent(QShowEvent* event) {
    warnLabel_->setText(warning_->text().isEmpty() ? QString() : QString("Warning:"));
    QDialog::showEvent(event);
}

bool EditRenameMacro::eventFilter(QObject* watched, QEvent* event) {
    // Keyboard users pick a field with Enter or Space, as a click would.
    if (watched == fields_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
            fields_->currentRow() >= 0) {
            InsertField(fields_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tessaly
