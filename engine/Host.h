// The one way core code reaches the user. The GUI answers with real dialogs, the
// command line prints to stderr and answers questions from its flags, tests
// record the calls. Nothing below this interface knows which it is.
#pragma once

#include <string>
#include <vector>

namespace tessaly {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { OK, YesNo, YesNoCancel, OKCancel };
enum class MessageAnswer { OK, Cancel, Yes, No };

// The application's title, used as the caption of most message boxes.
inline constexpr const char* AppTitle = "Tessaly";

class Host {
public:
    virtual ~Host() = default;

    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) = 0;

    // The small progress window shown while a file is written or loaded.
    virtual void ShowProgress(const std::string& caption) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void HideProgress() = 0;

    // Lets the window repaint during long work; a no-op without a window.
    virtual void ProcessPendingMessages() = 0;

    // Opens a file, folder or address with the desktop's default application.
    // Returns false when nothing could be started.
    virtual bool OpenWithDesktop(const std::string& target) = 0;
};

// The host of this thread: the one installed for it with ScopedThreadHost,
// else the host of the process, which defaults to a console host that prints
// to stderr and answers every question with its safe default (No / Cancel /
// OK).
Host& CurrentHost();

// Installs `host` (not owned; it must outlive its use). nullptr restores the
// default console host.
void SetHost(Host* host);

// Convenience for the error boxes the engine shows: critical icon, OK button.
void ShowError(const std::string& text, const std::string& caption = AppTitle);

// Restores the previous host when it leaves scope; for front ends and tests.
class ScopedHost {
public:
    explicit ScopedHost(Host& host);
    ~ScopedHost();
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;

private:
    Host* previous_;
};

// Installs `host` for the calling thread only, while in scope: work moved off
// the window's thread (listing a folder) must never reach the window's host.
class ScopedThreadHost {
public:
    explicit ScopedThreadHost(Host& host);
    ~ScopedThreadHost();
    ScopedThreadHost(const ScopedThreadHost&) = delete;
    ScopedThreadHost& operator=(const ScopedThreadHost&) = delete;

private:
    Host* previous_;
};

// A host that keeps the messages it is given, answering each with its safe
// default, and ignores progress; for work that reports later, elsewhere.
struct CollectedMessage {
    std::string Text;
    std::string Caption;
    MessageIcon Icon = MessageIcon::None;
    MessageButtons Buttons = MessageButtons::OK;
};

class CollectingHost final : public Host {
public:
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                              MessageIcon icon, MessageButtons buttons) override;
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void ProcessPendingMessages() override {}
    bool OpenWithDesktop(const std::string&) override { return false; }

    std::vector<CollectedMessage> Messages;
};

// The safe answer to a question nobody can be asked: No, Cancel or OK.
MessageAnswer SafeAnswer(MessageButtons buttons);

}  // namespace tessaly
