// Small helpers for tests: temporary folders, whole-file bytes, a Host that
// records what the code under test shows, and running other programs.
#pragma once

#include "engine/Host.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder below the system's temporary folder, removed with its
// contents when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of `name` inside the folder, as a string.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Bytes from hex text ("FF FB 90 44"; spaces ignored).
std::string Hex(const std::string& hex);

// Big-endian and synchsafe integers for building tag bytes by hand.
std::string BE32(uint32_t value);
std::string BE24(uint32_t value);
std::string Synchsafe(uint32_t value);
std::string LE16(uint16_t value);
std::string LE32(uint32_t value);
std::string LE64(uint64_t value);

// Runs a shell command line; returns its exit status (-1 if it could not run).
// Output goes to `output` when given (stdout and stderr together).
int Run(const std::string& command, std::string* output = nullptr);
// True when `program` is found on PATH.
bool HaveTool(const std::string& program);
// The Debian interpreter that has python3-mutagen, whatever python3 is first on PATH.
std::string Python();
// Folder of the built programs and libraries.
std::string BinaryDir();

// Quotes a string for the shell.
std::string ShellQuote(const std::string& text);

// What a run of the built tessaly-cli printed and returned.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs tessaly-cli in `folder` (where an update writes its log) with `args`
// (already quoted for the shell), the environment assignments in `env` first
// and TESSALY_SETTINGS unset; stdout and stderr are kept apart.
CliResult RunCli(const std::string& folder, const std::string& args, const std::string& env = "");

struct RecordedMessage {
    std::string text;
    std::string caption;
    tessaly::MessageIcon icon;
    tessaly::MessageButtons buttons;
};

// Records every call; answers questions with `answer`. Installs itself as the
// current host for its lifetime.
class RecordingHost : public tessaly::Host {
public:
    RecordingHost();
    ~RecordingHost() override;

    tessaly::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                       tessaly::MessageIcon icon,
                                       tessaly::MessageButtons buttons) override;
    void ShowProgress(const std::string& caption) override;
    void SetProgress(int percent) override;
    void HideProgress() override;
    void ProcessPendingMessages() override { ++pumps; }
    bool OpenWithDesktop(const std::string& target) override;

    tessaly::MessageAnswer answer = tessaly::MessageAnswer::No;
    bool openSucceeds = true;
    std::vector<RecordedMessage> messages;
    std::vector<std::string> progressCaptions;
    std::vector<int> progress;
    std::vector<std::string> opened;
    int shows = 0;
    int hides = 0;
    long pumps = 0;

private:
    tessaly::Host* previous_;
};

}  // namespace testsupport
