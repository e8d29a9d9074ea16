// The files a command works on: the paths given, with -r the listed files
// below the folders given; and the progress and summary of a long run.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tessaly::cli {

// Registers -r/--recursive on `command`.
void AddRecursiveFlag(CLI::App& command, bool& recursive);

// What became of one file.
enum class FileOutcome { Failed, Read, Updated };

// The paths to work on. A folder is a usage error without `recursive`; with
// it, the folder's files whose names end in one of `extensions` (regular
// files, links followed) and then its subfolders, each in name order, a
// folder reached twice (a link loop, two links to one folder) walked once.
// Other paths are kept as given, for the command to report. False after a
// usage error has been printed.
bool ExpandPaths(const std::vector<std::string>& paths, bool recursive,
                 const std::vector<std::string>& extensions, std::vector<std::string>& files);

// Counts what became of each file of a run, shows progress on stderr when it
// is a terminal and the run has lasted over a second, and at the end, with
// `summary`, prints "N files read, N updated, N failed".
class RunTally {
public:
    RunTally(size_t total, bool summary);
    ~RunTally();
    RunTally(const RunTally&) = delete;
    RunTally& operator=(const RunTally&) = delete;

    void Count(FileOutcome outcome);
    // Ends the progress line, prints the summary; the exit status, 0 when no
    // file failed.
    int Finish();

private:
    void ClearProgress();

    size_t total_, done_ = 0, read_ = 0, updated_ = 0, failed_ = 0;
    bool summary_, terminal_, drawn_ = false, finished_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), last_{};
};

// Runs `each` on every file, shows progress on stderr when it is a terminal
// and the run has lasted over a second, and with `summary` ends with the line
// "N files read, N updated, N failed". The exit status: 0 when no file failed.
int ForEachFile(const std::vector<std::string>& files, bool summary,
                const std::function<FileOutcome(const std::string&)>& each);

// ExpandPaths then ForEachFile (the summary with -r); 2 on a usage error.
int RunOnPaths(const std::vector<std::string>& paths, bool recursive,
               const std::vector<std::string>& extensions,
               const std::function<FileOutcome(const std::string&)>& each);

}  // namespace tessaly::cli
