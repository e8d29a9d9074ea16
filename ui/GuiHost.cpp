#include "ui/GuiHost.h"

#include "ui/MP3Updating.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace tessaly {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical: return QMessageBox::Critical;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::OK: break;
    }
    return QMessageBox::Ok;
}

MessageAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        case QMessageBox::Cancel: return MessageAnswer::Cancel;
        default: return MessageAnswer::OK;
    }
}

}  // namespace

GuiHost::GuiHost(QWidget* mainWindow) : mainWindow_(mainWindow) {}

GuiHost::~GuiHost() { delete progress_.data(); }

MessageAnswer GuiHost::ShowMessage(const std::string& text, const std::string& caption,
                                   MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(BoxIcon(icon), QString::fromUtf8(caption), QString::fromUtf8(text),
                    BoxButtons(buttons), mainWindow_);
    // A question defaults to its safe answer, as an Enter pressed by habit
    // must not delete or overwrite anything.
    if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel)
        box.setDefaultButton(QMessageBox::No);
    box.setAccessibleName(QString::fromUtf8(caption));
    box.setAccessibleDescription("MessageBox");
    const int answer = box.exec();
    if (answer == QMessageBox::Ok || answer == QMessageBox::Yes || answer == QMessageBox::No ||
        answer == QMessageBox::Cancel)
        return AnswerOf(answer);
    return SafeAnswer(buttons);  // closed with the window's close button
}

namespace {
constexpr qint64 ProgressDelayMs = 300;
}

void GuiHost::ShowProgress(const std::string& caption) {
    // Only over a window the user sees; a window not yet shown gets none.
    if (!mainWindow_ || !mainWindow_->isVisible()) return;
    progressCaption_ = QString::fromStdString(caption);
    percent_ = 0;
    progressSince_.start();
}

void GuiHost::ShowProgressWhenDue() {
    if (!progressSince_.isValid() || progressSince_.elapsed() < ProgressDelayMs) return;
    if (!progress_) progress_ = new MP3Updating(mainWindow_);
    if (!progress_->isVisible()) progress_->Start(progressCaption_);
    progress_->SetPercent(percent_);
}

void GuiHost::SetProgress(int percent) {
    if (!progressSince_.isValid()) return;
    percent_ = percent;
    ProcessPendingMessages();
}

void GuiHost::HideProgress() {
    progressSince_.invalidate();
    if (progress_) progress_->hide();
}

void GuiHost::ProcessPendingMessages() {
    ShowProgressWhenDue();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool GuiHost::OpenWithDesktop(const std::string& target) {
    const QString text = QString::fromUtf8(target);
    const QUrl url = text.contains("://") ? QUrl(text) : QUrl::fromLocalFile(text);
    return QDesktopServices::openUrl(url);
}

}  // namespace tessaly
