#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include <sys/wait.h>

namespace testsupport {

TempDir::TempDir() {
    std::random_device random;
    auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("tessaly-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return (path_ / name).string(); }

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string Hex(const std::string& hex) {
    std::string out;
    int pending = -1;
    for (char c : hex) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else continue;
        if (pending < 0) {
            pending = v;
        } else {
            out += static_cast<char>(pending * 16 + v);
            pending = -1;
        }
    }
    return out;
}

std::string BE32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}
std::string BE24(uint32_t v) {
    return {static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}
std::string Synchsafe(uint32_t v) {
    return {static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
            static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}
std::string LE16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string LE32(uint32_t v) { return LE16(v & 0xFFFF) + LE16(v >> 16); }
std::string LE64(uint64_t v) {
    return LE32(static_cast<uint32_t>(v)) + LE32(static_cast<uint32_t>(v >> 32));
}

int Run(const std::string& command, std::string* output) {
    std::string full = command + " 2>&1";
    FILE* pipe = ::popen(full.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        if (output) output->append(buffer, n);
    int status = ::pclose(pipe);
    if (status == -1) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveTool(const std::string& program) {
    return Run("command -v " + ShellQuote(program) + " >/dev/null") == 0;
}

std::string Python() { return "/usr/bin/python3"; }

std::string BinaryDir() { return TESSALY_BINARY_DIR; }

std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

CliResult RunCli(const std::string& folder, const std::string& args, const std::string& env) {
    const std::string errFile = folder + "/cli-stderr.txt";
    CliResult result;
    result.status = Run("{ cd " + ShellQuote(folder) + " && env -u TESSALY_SETTINGS " + env + " " +
                            ShellQuote(BinaryDir() + "/tessaly-cli") + " " + args + " 2>" +
                            ShellQuote(errFile) + "; }",
                        &result.out);
    result.err = ReadBytes(errFile);
    std::remove(errFile.c_str());
    return result;
}

RecordingHost::RecordingHost() : previous_(&tessaly::CurrentHost()) { tessaly::SetHost(this); }

RecordingHost::~RecordingHost() { tessaly::SetHost(previous_); }

tessaly::MessageAnswer RecordingHost::ShowMessage(const std::string& text,
                                                  const std::string& caption,
                                                  tessaly::MessageIcon icon,
                                                  tessaly::MessageButtons buttons) {
    messages.push_back({text, caption, icon, buttons});
    if (buttons == tessaly::MessageButtons::OK) return tessaly::MessageAnswer::OK;
    return answer;
}

void RecordingHost::ShowProgress(const std::string& caption) {
    ++shows;
    progressCaptions.push_back(caption);
}
void RecordingHost::SetProgress(int percent) { progress.push_back(percent); }
void RecordingHost::HideProgress() { ++hides; }
bool RecordingHost::OpenWithDesktop(const std::string& target) {
    opened.push_back(target);
    return openSucceeds;
}

}  // namespace testsupport
