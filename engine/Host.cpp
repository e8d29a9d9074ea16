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
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void ProcessPendingMessages() override {}
    bool OpenWithDesktop(const std::string&) override { return false; }
};

ConsoleHost consoleHost;
Host* currentHost = &consoleHost;

}  // namespace

Host& CurrentHost() { return *currentHost; }

void SetHost(Host* host) { currentHost = host ? host : &consoleHost; }

void ShowError(const std::string& text, const std::string& caption) {
    CurrentHost().ShowMessage(text, caption, MessageIcon::Critical, MessageButtons::OK);
}

ScopedHost::ScopedHost(Host& host) : previous_(&CurrentHost()) { SetHost(&host); }

ScopedHost::~ScopedHost() { SetHost(previous_); }

}  // namespace tessaly
