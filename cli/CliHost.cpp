#include "CliHost.h"

#include <cstdio>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace tessaly::cli {

MessageAnswer CliHost::ShowMessage(const std::string& text, const std::string& caption,
                                   MessageIcon, MessageButtons buttons) {
    ++messagesShown;
    if (caption.empty() || caption == AppTitle)
        std::fprintf(stderr, "%s\n", text.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    switch (buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return answerYes ? MessageAnswer::Yes : MessageAnswer::No;
        case MessageButtons::OKCancel:
            return answerYes ? MessageAnswer::OK : MessageAnswer::Cancel;
        case MessageButtons::OK:
            break;
    }
    return MessageAnswer::OK;
}

bool CliHost::OpenWithDesktop(const std::string& target) {
    const char* argv[] = {"xdg-open", target.c_str(), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv),
                       environ) != 0)
        return false;
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

CliHost& TheCliHost() {
    static CliHost host;
    return host;
}

}  // namespace tessaly::cli
