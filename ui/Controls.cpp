#include "ui/Controls.h"

#include "engine/TagFields.h"
#include "engine/id3tag/Genres.h"
#include "ui/Accessible.h"
#include "ui/EditorIdle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

namespace tessaly {

namespace {

// The label of a field's boxes, from the table of fields.
QString Caption(FieldNumber field) {
    const TagField* row = TagFieldOf(field);
    return row ? QString::fromUtf8(row->Caption.data(), static_cast<qsizetype>(row->Caption.size()))
               : QString();
}

QString Utf8(const std::string& text) { return QString::fromUtf8(text); }

std::pair<int, int> Key(BoxId box) { return {box.Version, static_cast<int>(box.Field)}; }

// Rows of each pane, top to bottom; a pair shares one row.
struct PaneRow {
    FieldNumber First;
    FieldNumber Second = FieldNone;
};
const PaneRow V1Rows[] = {{FieldTitle}, {FieldArtist}, {FieldAlbum},
                          {FieldYear, FieldTrack}, {FieldGenre}, {FieldComment}};
const PaneRow V2Rows[] = {{FieldTitle}, {FieldArtist}, {FieldAlbum}, {FieldGenre, FieldTrack},
                          {FieldYear}, {FieldComment}, {FieldComposer}, {FieldOriginalArtist},
                          {FieldCopyright}, {FieldURL}, {FieldEncoder}};

}  // namespace

TagPanes::TagPanes(TagEditor& editor, QWidget* v1Parent, QWidget* v2Parent)
    : QObject(v1Parent), editor_(editor) {
    v1Frame_ = new QGroupBox("ID3v1 Tag Information", v1Parent);
    v2Frame_ = new QGroupBox("ID3v2 Tag Information", v2Parent);
    NameWidget(v1Frame_, "ID3v1Frame");
    NameWidget(v2Frame_, "ID3v2Frame");
    Build();
    listener_ = editor_.AddListener([this](const EditorEvent& event) { OnEditorEvent(event); });
    for (BoxId box : AllBoxes()) ShowBox(box);
    ShowState();
    ShowCaptions();
}

TagPanes::~TagPanes() { editor_.RemoveListener(listener_); }

QWidget* TagPanes::Control(BoxId box) const {
    auto it = controls_.find(Key(box));
    return it == controls_.end() ? nullptr : it->second;
}

QPushButton* TagPanes::Button(const char* name) const {
    auto it = buttons_.find(name);
    return it == buttons_.end() ? nullptr : it->second;
}

QWidget* TagPanes::MakeBox(BoxId box, QWidget* parent) {
    const std::string name = BoxName(box);
    QWidget* control = nullptr;
    if (box.Field == FieldNone) {
        auto* check = new QCheckBox(box.Version == 1 ? "ID3v1 Tag" : "ID3v2 Tag", parent);
        connect(check, &QCheckBox::clicked, this, [this, box](bool checked) {
            WhenEditorIdle(editor_, this, [this, box, checked] {
                editor_.SetTagEnabled(box.Version, checked);
            });
        });
        control = check;
    } else if (box.Field == FieldGenre && box.Version == 1) {
        auto* list = new QComboBox(parent);  // a drop-down list without free text
        for (const std::string& entry : V1GenreEntries()) list->addItem(Utf8(entry));
        list->setMaxVisibleItems(20);
        connect(list, &QComboBox::activated, this, [this](int position) {
            WhenEditorIdle(editor_, this, [this, position] { editor_.SelectV1GenrePosition(position); });
        });
        control = list;
    } else if (box.Field == FieldGenre) {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const std::string& entry : SortedGenreNames) combo->addItem(Utf8(entry));
        combo->setMaxVisibleItems(20);
        connect(combo, &QComboBox::editTextChanged, this,
                [this, box](const QString& text) { Typed(box, text); });
        combo->lineEdit()->installEventFilter(this);
        control = combo;
    } else if (box.Field == FieldComment && box.Version == 2) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setTabChangesFocus(true);
        const int line = edit->fontMetrics().lineSpacing();
        edit->setFixedHeight(line * 2 + 2 * edit->frameWidth() + 8);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, box, edit] {
            if (edit->property("showing").toBool()) return;
            Typed(box, edit->toPlainText());
        });
        edit->installEventFilter(this);
        control = edit;
    } else {
        auto* edit = new QLineEdit(parent);
        connect(edit, &QLineEdit::textEdited, this,
                [this, box](const QString& text) { Typed(box, text); });
        edit->installEventFilter(this);
        control = edit;
    }
    NameWidget(control, name.c_str());
    if (box.Field != FieldNone) control->setAccessibleName(Caption(box.Field));
    controls_[Key(box)] = control;
    return control;
}

void TagPanes::Build() {
    auto makeButton = [this](const char* name, const char* caption, QWidget* parent) {
        auto* button = new QPushButton(caption, parent);
        NameWidget(button, name);
        buttons_[name] = button;
        return button;
    };
    auto fillRows = [this](QGroupBox* frame, int version, const auto& rows, QGridLayout* grid,
                           int firstRow) {
        int row = firstRow;
        for (const PaneRow& paneRow : rows) {
            int column = 0;
            for (FieldNumber field : {paneRow.First, paneRow.Second}) {
                if (field == FieldNone) continue;
                const BoxId box{version, field};
                auto* label = new QLabel(Caption(field), frame);
                QWidget* control = MakeBox(box, frame);
                label->setBuddy(control);
                if (version == 2 && field == FieldOriginalArtist) {
                    label15_ = label;
                    NameWidget(label, "Label15");
                }
                // A second box on the row is short (track): label and box at the right.
                const int span = paneRow.Second == FieldNone ? 3 : 1;
                grid->addWidget(label, row, column);
                // The year and track boxes keep their size as the pane
                // widens: room for "2024" or "07/12", no more.
                if (field == FieldYear || field == FieldTrack) {
                    control->setFixedWidth(control->fontMetrics().horizontalAdvance("00/000") + 16);
                    grid->addWidget(control, row, column + 1, 1, span, Qt::AlignLeft);
                } else {
                    grid->addWidget(control, row, column + 1, 1, span);
                }
                column += 2;
            }
            ++row;
        }
        grid->setColumnStretch(1, 1);
    };

    auto* v1 = new QGridLayout(v1Frame_);
    v1->setVerticalSpacing(2);
    v1->setContentsMargins(6, 2, 6, 4);
    v1->addWidget(MakeBox({1, FieldNone}, v1Frame_), 0, 0, 1, 4);
    fillRows(v1Frame_, 1, V1Rows, v1, 1);
    auto* v1Buttons = new QHBoxLayout;
    v1Buttons->addStretch(1);
    connect(makeButton("cmdUpdate", "Update", v1Frame_), &QPushButton::clicked, this, [this] {
        WhenEditorIdle(editor_, this, [this] { editor_.UpdateFromPanes(); });
    });
    connect(makeButton("cmdUndo", "Undo", v1Frame_), &QPushButton::clicked, this,
            [this] { WhenEditorIdle(editor_, this, [this] { editor_.Undo(); }); });
    connect(makeButton("cmdClose", "Close", v1Frame_), &QPushButton::clicked, this,
            &TagPanes::closeRequested);
    for (const char* name : {"cmdUpdate", "cmdUndo", "cmdClose"}) v1Buttons->addWidget(buttons_[name]);
    v1->addLayout(v1Buttons, 1 + static_cast<int>(std::size(V1Rows)), 0, 1, 4);
    v1->setRowStretch(2 + static_cast<int>(std::size(V1Rows)), 1);

    auto* v2 = new QGridLayout(v2Frame_);
    v2->setVerticalSpacing(2);
    v2->setContentsMargins(6, 2, 6, 4);
    auto* top = new QHBoxLayout;
    top->addWidget(MakeBox({2, FieldNone}, v2Frame_));
    top->addStretch(1);
    connect(makeButton("cmdCopyfromID3v1", "Copy from ID3v1", v2Frame_), &QPushButton::clicked,
            this, [this] { WhenEditorIdle(editor_, this, [this] { editor_.CopyV1ToV2(); }); });
    connect(makeButton("cmdCopytoID3v1", "Copy to ID3v1", v2Frame_), &QPushButton::clicked, this,
            [this] { WhenEditorIdle(editor_, this, [this] { editor_.CopyV2ToV1(); }); });
    top->addWidget(buttons_["cmdCopyfromID3v1"]);
    top->addWidget(buttons_["cmdCopytoID3v1"]);
    v2->addLayout(top, 0, 0, 1, 4);
    fillRows(v2Frame_, 2, V2Rows, v2, 1);
    v2->setRowStretch(1 + static_cast<int>(std::size(V2Rows)), 1);
}

void TagPanes::Typed(BoxId box, const QString& text) {
    const std::string typed = text.toStdString();
    const std::string kept = TypedText(box, typed);
    if (kept != typed) {
        // Past the box's limit in characters: what typing would have left.
        if (auto* edit = qobject_cast<QLineEdit*>(Control(box))) {
            const int cursor = edit->cursorPosition();
            const QSignalBlocker block(edit);
            edit->setText(Utf8(kept));
            edit->setCursorPosition(std::min(cursor, static_cast<int>(edit->text().size())));
        }
    }
    WhenEditorIdle(editor_, this, [this, box, kept] {
        editor_.SetBoxText(box.Version, box.Field, kept);
    });
}

bool TagPanes::eventFilter(QObject* watched, QEvent* event) {
    // Focus selects the whole text, so typing replaces it.
    if (event->type() == QEvent::FocusIn) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        else if (auto* text = qobject_cast<QPlainTextEdit*>(watched))
            QTimer::singleShot(0, text, [text] { text->selectAll(); });
    }
    return QObject::eventFilter(watched, event);
}

void TagPanes::OnEditorEvent(const EditorEvent& event) {
    switch (event.Kind) {
        case EditorEventKind::BoxChanged: ShowBox(event.Box); break;
        case EditorEventKind::StateChanged: ShowState(); break;
        case EditorEventKind::CaptionsChanged: ShowCaptions(); break;
        default: break;
    }
}

void TagPanes::ShowBox(BoxId box) {
    QWidget* control = Control(box);
    if (!control) return;
    const QSignalBlocker block(control);
    const PaneBoxes& boxes = editor_.Boxes();
    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        check->setChecked(box.Version == 1 ? boxes.V1.Checked : boxes.V2.Checked);
        return;
    }
    const QString text = Utf8(editor_.BoxText(box));
    if (box.Version == 1 && box.Field == FieldGenre) {
        static_cast<QComboBox*>(control)->setCurrentIndex(boxes.V1GenrePosition);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const QSignalBlocker blockEdit(combo->lineEdit());
        if (combo->currentText() != text) combo->setEditText(text);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        if (edit->toPlainText() != text) {
            edit->setProperty("showing", true);
            edit->setPlainText(text);
            edit->setProperty("showing", false);
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        if (line->text() != text) line->setText(text);
    }
}

void TagPanes::ShowState() {
    const PaneBoxes& boxes = editor_.Boxes();
    for (BoxId box : AllBoxes()) {
        QWidget* control = Control(box);
        if (!control) continue;
        const Pane& pane = box.Version == 1 ? boxes.V1 : boxes.V2;
        control->setEnabled(box.Field == FieldNone ? pane.CheckEnabled
                                                   : pane.Boxes[box.Field].Enabled);
    }
    const EditorControls& c = editor_.Controls();
    buttons_["cmdUpdate"]->setEnabled(c.Update);
    buttons_["cmdUndo"]->setEnabled(c.Undo);
    buttons_["cmdClose"]->setEnabled(c.Close);
    buttons_["cmdCopyfromID3v1"]->setEnabled(c.CopyFromID3v1);
    buttons_["cmdCopytoID3v1"]->setEnabled(c.CopyToID3v1);
}

void TagPanes::ShowCaptions() {
    const PaneBoxes& boxes = editor_.Boxes();
    label15_->setText(Utf8(boxes.Label15));
    v2Frame_->setTitle(Utf8(boxes.V2FrameCaption));
    v2Frame_->setAccessibleName(Utf8(boxes.V2FrameCaption));
}

}  // namespace tessaly
