#include "BenchFiles.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

namespace {

std::string BE32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string Synchsafe(uint32_t v) {
    return {static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
            static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}

std::string TextFrame(const std::string& id, const std::string& text) {
    std::string body = std::string(1, '\0') + text;
    return id + BE32(static_cast<uint32_t>(body.size())) + std::string(2, '\0') + body;
}

std::string Padded(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

}  // namespace

std::vector<std::string> MakeTaggedMP3Folder(const std::string& folder, int count, int frames) {
    std::filesystem::create_directories(folder);
    // One 128 kbit/s 44.1 kHz frame is 417 bytes; vary the payload a little so
    // the files are not all alike.
    std::mt19937 random(12345);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i + 1);
        std::string frameBlock = TextFrame("TIT2", "Song number " + n) +
                                 TextFrame("TPE1", "Artist " + std::to_string(i % 37)) +
                                 TextFrame("TALB", "Album " + std::to_string(i % 11)) +
                                 TextFrame("TRCK", std::to_string(i % 20 + 1) + "/20") +
                                 TextFrame("TYER", "2004") + TextFrame("TCON", "(17)Rock") +
                                 TextFrame("TENC", "LAME 3.100");
        std::string comm = std::string(1, '\0') + "eng" + std::string(1, '\0') + "Ripped " + n;
        frameBlock += "COMM" + BE32(static_cast<uint32_t>(comm.size())) + std::string(2, '\0') + comm;
        frameBlock += std::string(1024, '\0');  // padding, as taggers leave it
        std::string file = "ID3" + std::string("\x03\x00\x00", 3) +
                           Synchsafe(static_cast<uint32_t>(frameBlock.size())) + frameBlock;
        for (int f = 0; f < frames; ++f) {
            std::string frame = std::string("\xFF\xFB\x90\x44", 4);
            frame.resize(417);
            for (size_t k = 4; k < frame.size(); k += 16)
                frame[k] = static_cast<char>(random() & 0xFF);
            file += frame;
        }
        file += "TAG" + Padded("Song number " + n, 30) + Padded("Artist", 30) +
                Padded("Album", 30) + "2004" + Padded("Ripped", 28) + std::string(1, '\0') +
                static_cast<char>(i % 20 + 1) + static_cast<char>(17);
        std::string path = folder + "/" + n + ".mp3";
        std::ofstream(path, std::ios::binary).write(file.data(), static_cast<long>(file.size()));
        paths.push_back(path);
    }
    return paths;
}

std::string MakeScratchFolder(const std::string& name) {
    auto path = std::filesystem::temp_directory_path() /
                (name + "-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path);
    return path.string();
}

void RemoveFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double TimedRun(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

bool DropPageCache() {
    ::sync();
    std::ofstream control("/proc/sys/vm/drop_caches");
    control << "3\n";
    return static_cast<bool>(control.flush());
}

}  // namespace bench
