#include "FileWalk.h"

#include "CliEditor.h"
#include "Commands.h"

#include "engine/FileIO.h"
#include "patterns/Utils.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <set>
#include <utility>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly::cli {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

bool IsFolder(const std::string& path, struct stat& st) {
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The names in `folder`, sorted by their bytes; "." and ".." left out.
std::vector<std::string> SortedNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        PrintError(folder + ": " + ErrorDescription(errno));
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void Walk(const std::string& folder, const std::vector<std::string>& extensions,
          std::set<FolderId>& walked, std::vector<std::string>& files) {
    std::vector<std::string> subfolders;
    for (const std::string& name : SortedNames(folder)) {
        const std::string path = folder + (folder.back() == '/' ? "" : "/") + name;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) continue;  // a dangling link
        if (S_ISDIR(st.st_mode)) {
            if (walked.insert({st.st_dev, st.st_ino}).second) subfolders.push_back(path);
        } else if (S_ISREG(st.st_mode) && HasListedExtension(name, extensions)) {
            files.push_back(path);
        }
    }
    for (const std::string& subfolder : subfolders) Walk(subfolder, extensions, walked, files);
}

class Progress {
public:
    explicit Progress(size_t total) : total_(total), shown_(::isatty(STDERR_FILENO) == 1) {}
    ~Progress() {
        if (drawn_) std::fprintf(stderr, "\r\033[K");
    }

    void Step(size_t done) {
        if (!shown_) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(100))
            return;
        last_ = now;
        drawn_ = true;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        std::fprintf(stderr, "\r%zu/%zu files, %.1f s", done, total_, seconds);
        std::fflush(stderr);
    }

private:
    size_t total_;
    bool shown_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace

void AddRecursiveFlag(CLI::App& command, bool& recursive) {
    command.add_flag("-r,--recursive", recursive,
                     "Also work on the listed files below the folders given, folder by folder "
                     "in name order");
}

bool ExpandPaths(const std::vector<std::string>& paths, bool recursive,
                 const std::vector<std::string>& extensions, std::vector<std::string>& files) {
    std::set<FolderId> walked;
    for (const std::string& path : paths) {
        struct stat st {};
        if (!IsFolder(path, st)) {
            files.push_back(path);
            continue;
        }
        if (!recursive) {
            PrintError("'" + path + "' is a folder; give -r (--recursive) to work on its files");
            return false;
        }
        if (walked.insert({st.st_dev, st.st_ino}).second) Walk(path, extensions, walked, files);
    }
    return true;
}

int ForEachFile(const std::vector<std::string>& files, bool summary,
                const std::function<FileOutcome(const std::string&)>& each) {
    size_t read = 0, updated = 0, failed = 0;
    {
        Progress progress(files.size());
        for (size_t i = 0; i < files.size(); ++i) {
            switch (each(files[i])) {
                case FileOutcome::Failed: ++failed; break;
                case FileOutcome::Updated: ++updated; [[fallthrough]];
                case FileOutcome::Read: ++read; break;
            }
            progress.Step(i + 1);
        }
    }
    std::fflush(stdout);
    if (summary)
        std::fprintf(stderr, "%zu files read, %zu updated, %zu failed\n", read, updated, failed);
    return failed == 0 ? ExitOk : ExitFailed;
}

int RunOnPaths(const std::vector<std::string>& paths, bool recursive,
               const std::vector<std::string>& extensions,
               const std::function<FileOutcome(const std::string&)>& each) {
    std::vector<std::string> files;
    if (!ExpandPaths(paths, recursive, extensions, files)) return ExitUsage;
    return ForEachFile(files, recursive, each);
}

}  // namespace tessaly::cli
