// The small progress window shown while a file is written ("Updating Tags")
// or read for the panes ("Loading.."): one progress bar, centred over the
// main window, shown without blocking.
#pragma once

#include <QDialog>

class QProgressBar;

namespace tessaly {

class MP3Updating final : public QDialog {
    Q_OBJECT
public:
    explicit MP3Updating(QWidget* mainWindow);

    void Start(const QString& caption);
    void SetPercent(int percent);
    int Percent() const;

private:
    QProgressBar* progress_;
};

}  // namespace tessaly
