// The two tag panes as widgets bound to the editor: the ID3v1 pane
// (ID3v1Frame, with Update, Undo and Close) and the ID3v2 pane (ID3v2Frame,
// with the two copy buttons). Every box shows what the editor holds and hands
// every keystroke back to it; what is enabled, checked or captioned comes
// from the editor's events. No tag logic lives here.
#pragma once

#include "editor/TagEditor.h"

#include <QObject>

#include <map>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace tessaly {

class TagPanes final : public QObject {
    Q_OBJECT
public:
    // Builds ID3v1Frame as a child of `v1Parent` and ID3v2Frame of `v2Parent`.
    TagPanes(TagEditor& editor, QWidget* v1Parent, QWidget* v2Parent);
    ~TagPanes() override;

    QGroupBox* ID3v1Frame() const { return v1Frame_; }
    QGroupBox* ID3v2Frame() const { return v2Frame_; }
    // The control of a box (a QLineEdit, QPlainTextEdit, QComboBox or QCheckBox).
    QWidget* Control(BoxId box) const;
    QPushButton* Button(const char* name) const;

signals:
    // The Close button: the main window runs its exit.
    void closeRequested();

private:
    void Build();
    QWidget* MakeBox(BoxId box, QWidget* parent);
    void OnEditorEvent(const EditorEvent& event);
    void ShowBox(BoxId box);
    void ShowState();
    void ShowCaptions();
    void Typed(BoxId box, const QString& text);
    bool eventFilter(QObject* watched, QEvent* event) override;

    TagEditor& editor_;
    int listener_ = 0;
    QGroupBox* v1Frame_ = nullptr;
    QGroupBox* v2Frame_ = nullptr;
    QLabel* label15_ = nullptr;
    std::map<std::pair<int, int>, QWidget*> controls_;
    std::map<std::string, QPushButton*> buttons_;
};

}  // namespace tessaly
