#include "CliHost.h"

#include <cctype>
#include <cstdio>
#include <mutex>
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tessaly::cli {

namespace {

// Reads the user's answer to a question from the terminal: y or yes (any
// case) is Yes; anything else, an empty line or the end of input is No.
bool ReadYes() {
    char line[64];
    if (!std::fgets(line, sizeof line, stdin)) {
        std::fprintf(stderr, "\n");
        return false;
    }
    std::string answer(line);
    while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back())))
        answer.pop_back();
    for (char& c : answer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "y" || answer == "yes";
}

}  // namespace

MessageAnswer CliHost::ShowMessage(const std::string& text, const std::string& caption,
                                   MessageIcon, MessageButtons buttons) {
    // Readers on several threads may report at once; one message at a time.
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    ++messagesShown;
    const bool question = buttons != MessageButtons::OK;
    // --yes answers before anything is asked.
    if (question && answerYes)
        return buttons == MessageButtons::OKCancel ? MessageAnswer::OK : MessageAnswer::Yes;
    std::fflush(stdout);
    if (caption.empty() || caption == AppTitle)
        std::fprintf(stderr, "%s", text.c_str());
    else
        std::fprintf(stderr, "%s: %s", caption.c_str(), text.c_str());
    if (!question) {
        std::fprintf(stderr, "\n");
        return MessageAnswer::OK;
    }
    bool yes = false;
    if (::isatty(STDIN_FILENO) == 1) {
        std::fprintf(stderr, " [y/N] ");
        std::fflush(stderr);
        yes = ReadYes();
    } else {
        std::fprintf(stderr, "\nNo terminal to answer on: taken as No (give --yes to confirm).\n");
    }
    if (buttons == MessageButtons::OKCancel) return yes ? MessageAnswer::OK : MessageAnswer::Cancel;
    return yes ? MessageAnswer::Yes : MessageAnswer::No;
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
