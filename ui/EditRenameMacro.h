// The small modal editor of one rename or parsing pattern ("Edit Rename
// Macro"): a text box, the field names that can be inserted into it, and an
// optional notice from the caller. It checks nothing and writes nothing to
// the configuration.
//
// Caller protocol: SetText (and SetWarning if wanted), exec(), then on
// Result() read Text().
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tessaly {

class EditRenameMacro final : public QDialog {
    Q_OBJECT
public:
    explicit EditRenameMacro(QWidget* parent = nullptr);

    void SetText(const QString& pattern);
    QString Text() const;
    // A notice shown above the buttons, "Warning:" beside it; "" for none.
    void SetWarning(const QString& warning);
    // True after OK, false after Cancel (and before either).
    bool Result() const { return result_; }

    // The character index a field goes to: where the user last left the
    // caret in the text box, 0 until they have typed or clicked there.
    int RecordedCaret() const { return recordedCaret_; }
    // Inserts "{KEYWORD}" for the Fields row `row` at the recorded caret,
    // puts the caret after it and gives the text box the focus.
    void InsertField(int row);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* renameMacro_;
    QListWidget* fields_;
    QLabel* warning_;
    QLabel* warnLabel_;
    QPushButton* ok_;
    QPushButton* cancel_;
    int recordedCaret_ = 0;
    bool result_ = false;
};

}  // namespace tessaly
