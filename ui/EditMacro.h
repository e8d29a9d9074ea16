// The small modal editor of one macro and its hot key ("Edit Macro"). OK
// checks the input (a hot key, one not taken by another macro, a macro text
// that validates) and keeps the dialog open with an "Error" box until it
// passes; warnings from the validation ask "Continue?". It writes nothing to
// the configuration.
//
// Caller protocol: SetHotKey, SetMacro, SetDefinedHotKeys (the hot-key names
// of the list the macro goes into) and, when an existing macro is edited,
// SetEditingExisting(true); exec(); on Result() read HotKeyText() and Macro().
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessaly {

class EditMacro final : public QDialog {
    Q_OBJECT
public:
    explicit EditMacro(QWidget* parent = nullptr);

    // Selects the row of `name` in the hot-key list. A name the list does
    // not offer (an existing macro's "ESC") is shown and kept as long as the
    // user picks no other key.
    void SetHotKey(const QString& name);
    // The chosen hot key's name; "" for none.
    QString HotKeyText() const;
    void SetMacro(const QString& macro);
    QString Macro() const;
    void SetEditingExisting(bool existing) { editingExisting_ = existing; }
    void SetDefinedHotKeys(const QStringList& names) { definedHotKeys_ = names; }
    // True after an accepted OK, false after Cancel (and before either).
    bool Result() const { return result_; }

    // What OK does: the checks, their boxes through the Host, and accepting
    // when they pass. Public so a caller without a mouse can drive it.
    void TryAccept();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The error text of the checks ("" when they pass) and the warning text.
    QString Errors(QString& warning) const;

    QComboBox* hotKey_;
    QLineEdit* hotKeyMacro_;
    QLabel* label1_;
    QLabel* label2_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QString unlistedHotKey_;      // the caller's name the list does not offer
    QString hotKeyAtActivation_;  // what HotKey showed when the dialog came up
    QStringList definedHotKeys_;
    bool editingExisting_ = false;
    bool result_ = false;
};

}  // namespace tessaly
