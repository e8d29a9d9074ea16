// The Host of the desktop window: message boxes with the exact texts, the
// progress window, repainting during long work and the desktop's default
// application.
//
// Repainting during an operation must not let the user start another one:
// pending messages are processed without user input, which waits until the
// operation is done while the window still paints.
#pragma once

#include "engine/Host.h"
#include "ui/MP3Updating.h"

#include <QElapsedTimer>
#include <QPointer>

class QWidget;

namespace tessaly {



class GuiHost final : public Host {
public:
    // Message boxes and the progress window belong to `mainWindow`.
    explicit GuiHost(QWidget* mainWindow);
    ~GuiHost() override;

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                              MessageIcon icon, MessageButtons buttons) override;
    void ShowProgress(const std::string& caption) override;
    void SetProgress(int percent) override;
    void HideProgress() override;
    void ProcessPendingMessages() override;
    bool OpenWithDesktop(const std::string& target) override;

    MP3Updating* Progress() const { return progress_; }

private:
    // The window appears only once the work has taken a moment: a file read
    // in a few milliseconds must not flash a window at every click.
    void ShowProgressWhenDue();

    QPointer<QWidget> mainWindow_;
    QPointer<MP3Updating> progress_;
    QString progressCaption_;
    QElapsedTimer progressSince_;
    int percent_ = 0;
};

}  // namespace tessaly
