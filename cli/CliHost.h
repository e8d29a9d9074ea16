// The Host of the command line: messages go to stderr as "caption: text" (the
// text alone for the application's own caption); a question is answered Yes
// by the --yes flag without being asked, else asked on a terminal (y/N), else
// answered No with a word on how to confirm. There is no window to repaint.
#pragma once

#include "engine/Host.h"

namespace tessaly::cli {

class CliHost final : public Host {
public:
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                              MessageIcon icon, MessageButtons buttons) override;
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void ProcessPendingMessages() override {}
    bool OpenWithDesktop(const std::string& target) override;

    bool answerYes = false;  // set by --yes
    int messagesShown = 0;
};

CliHost& TheCliHost();

}  // namespace tessaly::cli
