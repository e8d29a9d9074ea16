// The trace of file updates: "DEBUG.LOG" in the process's current folder,
// appended to, one line per event with a time stamp before the event text.
#pragma once

#include <cstdio>
#include <string>

namespace tessaly {

inline constexpr const char* DebugLogName = "DEBUG.LOG";

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
    std::FILE* file_ = nullptr;
};

}  // namespace tessaly
