#include "Host.h"

#include <cstdio>
#include <cstdlib>

namespace tessaly {

namespace {

class ConsoleHost final : public Host {
public:
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon,
                              MessageButtons buttons) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return SafeAnswer(buttons);
    }
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void ProcessPendingMessages() override {}
    bool OpenWithDesktop(const std::string&) override { return false; }
};

ConsoleHost consoleHost;
Host* currentHost = &consoleHost;
thread_local Host* threadHost = nullptr;

}  // namespace

MessageAnswer SafeAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::No;
        case MessageButtons::OKCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::OK:
            break;
    }
    return MessageAnswer::OK;
}

Host& CurrentHost() { return threadHost ? *threadHost : *currentHost; }

void SetHost(Host* host) { currentHost = host ? host : &consoleHost; }

void ShowError(const std::string& text, const std::string& caption) {
    CurrentHost().ShowMessage(text, caption, MessageIcon::Critical, MessageButtons::OK);
}

ScopedHost::ScopedHost(Host& host) : previous_(currentHost) { SetHost(&host); }

ScopedHost::~ScopedHost() { SetHost(previous_); }

ScopedThreadHost::ScopedThreadHost(Host& host) : previous_(threadHost) { threadHost = &host; }

ScopedThreadHost::~ScopedThreadHost() { threadHost = previous_; }

MessageAnswer CollectingHost::ShowMessage(const std::string& text, const std::string& caption,
                                          MessageIcon icon, MessageButtons buttons) {
    Messages.push_back({text, caption, icon, buttons});
    return SafeAnswer(buttons);
}

}  // namespace tessaly
