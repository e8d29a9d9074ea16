// Helpers for fuzz targets that need the input as a file on disk.
#pragma once

#include "engine/Host.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fuzz {

// A Host that shows nothing and answers every question with its default.
class SilentHost final : public tessaly::Host {
public:
    tessaly::MessageAnswer ShowMessage(const std::string&, const std::string&,
                                       tessaly::MessageIcon,
                                       tessaly::MessageButtons buttons) override {
        return buttons == tessaly::MessageButtons::YesNo ? tessaly::MessageAnswer::No
                                                         : tessaly::MessageAnswer::OK;
    }
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void ProcessPendingMessages() override {}
    bool OpenWithDesktop(const std::string&) override { return false; }
};

// A private working folder (the update writes its log into the current one)
// and the path of the file each input is written to.
inline const std::string& WorkFile() {
    static const std::string path = [] {
        char folder[] = "/tmp/tessaly-fuzz-XXXXXX";
        if (!::mkdtemp(folder)) std::abort();
        if (::chdir(folder) != 0) std::abort();
        static const std::string made = folder;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        static SilentHost host;
        tessaly::SetHost(&host);
        return std::string(folder) + "/input.mp3";
    }();
    return path;
}

inline void WriteInput(const uint8_t* data, size_t size) {
    FILE* out = std::fopen(WorkFile().c_str(), "wb");
    if (!out) std::abort();
    if (size && std::fwrite(data, 1, size, out) != size) std::abort();
    std::fclose(out);
}

}  // namespace fuzz
