#include "ui/MP3Updating.h"

#include "ui/Accessible.h"

#include <QProgressBar>
#include <QVBoxLayout>

namespace tessaly {

MP3Updating::MP3Updating(QWidget* mainWindow) : QDialog(mainWindow) {
    NameWidget(this, "MP3Updating");
    setWindowTitle("Updating Tags");
    setModal(false);
    progress_ = new QProgressBar(this);
    NameWidget(progress_, "Progress");
    progress_->setAccessibleName("Progress");
    progress_->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(progress_);
    setMinimumWidth(progress_->fontMetrics().averageCharWidth() * 40);
}

void MP3Updating::Start(const QString& caption) {
    setWindowTitle(caption);
    progress_->setValue(0);
    adjustSize();
    // Centred over the main window: left = main left + (main width - own width) / 2.
    if (QWidget* main = parentWidget()) {
        const QRect outer = main->frameGeometry();
        move(outer.left() + (outer.width() - width()) / 2,
             outer.top() + (outer.height() - height()) / 2);
    }
    show();
}

void MP3Updating::SetPercent(int percent) { progress_->setValue(percent); }

int MP3Updating::Percent() const { return progress_->value(); }

}  // namespace tessaly
