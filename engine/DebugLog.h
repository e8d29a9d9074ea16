// The trace of file updates: one line per event with a time stamp before the
// event text, appended to the log file. The front ends place the log (the
// user's state folder) or turn it off; a log that reaches its size limit is
// moved aside to one old file (the log's name + ".1") and begun again.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace tessaly {

inline constexpr const char* DebugLogName = "DEBUG.LOG";
// The log is kept below this size; an update writes a few hundred bytes.
inline constexpr int64_t DebugLogLimit = 1024 * 1024;

// Where every DebugLog made from now on writes: `path` ("" turns logging
// off). Until it is called the log is DebugLogName in the current folder.
// Missing folders of the path are made when the log is first opened.
void SetDebugLogPath(const std::string& path);
std::string DebugLogPath();

// Logging lasts as long as the object: it starts (opens the file for
// appending) when made and stops when it goes away, on every path. A log that
// cannot be opened is silently skipped: tracing must never stop an update.
class DebugLog {
public:
    DebugLog();
    ~DebugLog();
    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    void Write(const std::string& event);

private:
    void Open();

    std::string path_;
    std::FILE* file_ = nullptr;
};

}  // namespace tessaly
