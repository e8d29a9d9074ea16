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

struct Entry {
    std::string name;
    unsigned char type;  // DT_REG, DT_DIR, or another type to be looked up
    bool operator<(const Entry& other) const { return name < other.name; }
};

// The entries of `folder`, sorted by their names' bytes; "." and ".." left out.
std::vector<Entry> SortedEntries(const std::string& folder) {
    std::vector<Entry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        PrintError(folder + ": " + ErrorDescription(errno));
        return entries;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") entries.push_back({name, entry->d_type});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end());
    return entries;
}

void Walk(const std::string& folder, const std::vector<std::string>& extensions,
          std::set<FolderId>& walked, std::vector<std::string>& files) {
    std::vector<std::string> subfolders;
    for (const Entry& entry : SortedEntries(folder)) {
        const bool listed = HasListedExtension(entry.name, extensions);
        // A file the folder calls regular needs no look-up; a link or an
        // unknown type is followed by stat.
        if (entry.type != DT_DIR && !listed && entry.type != DT_LNK && entry.type != DT_UNKNOWN)
            continue;
        const std::string path = folder + (folder.back() == '/' ? "" : "/") + entry.name;
        if (entry.type == DT_REG) {
            files.push_back(path);
            continue;
        }
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) continue;  // a dangling link
        if (S_ISDIR(st.st_mode)) {
            if (walked.insert({st.st_dev, st.st_ino}).second) subfolders.push_back(path);
        } else if (S_ISREG(st.st_mode) && listed) {
            files.push_back(path);
        }
    }
    for (const std::string& subfolder : subfolders) Walk(subfolder, extensions, walked, files);
}

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

RunTally::RunTally(size_t total, bool summary)
    : total_(total), summary_(summary), terminal_(::isatty(STDERR_FILENO) == 1) {}

RunTally::~RunTally() { ClearProgress(); }

void RunTally::Count(FileOutcome outcome) {
    ++done_;
    switch (outcome) {
        case FileOutcome::Failed: ++failed_; break;
        case FileOutcome::Updated: ++updated_; [[fallthrough]];
        case FileOutcome::Read: ++read_; break;
    }
    if (!terminal_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(100))
        return;
    last_ = now;
    drawn_ = true;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::fprintf(stderr, "\r%zu/%zu files, %.1f s", done_, total_, seconds);
    std::fflush(stderr);
}

void RunTally::ClearProgress() {
    if (drawn_) std::fprintf(stderr, "\r\033[K");
    drawn_ = false;
}

int RunTally::Finish() {
    ClearProgress();
    std::fflush(stdout);
    if (summary_ && !finished_)
        std::fprintf(stderr, "%zu files read, %zu updated, %zu failed\n", read_, updated_, failed_);
    finished_ = true;
    return failed_ == 0 ? ExitOk : ExitFailed;
}

int ForEachFile(const std::vector<std::string>& files, bool summary,
                const std::function<FileOutcome(const std::string&)>& each) {
    RunTally tally(files.size(), summary);
    for (const std::string& file : files) tally.Count(each(file));
    return tally.Finish();
}

int RunOnPaths(const std::vector<std::string>& paths, bool recursive,
               const std::vector<std::string>& extensions,
               const std::function<FileOutcome(const std::string&)>& each) {
    std::vector<std::string> files;
    if (!ExpandPaths(paths, recursive, extensions, files)) return ExitUsage;
    return ForEachFile(files, recursive, each);
}

}  // namespace tessaly::cli
