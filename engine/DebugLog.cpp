#include "DebugLog.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <mutex>

namespace tessaly {

namespace {

std::mutex& PathMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& ConfiguredPath() {
    static std::string path = DebugLogName;
    return path;
}

}  // namespace

void SetDebugLogPath(const std::string& path) {
    std::lock_guard lock(PathMutex());
    ConfiguredPath() = path;
}

std::string DebugLogPath() {
    std::lock_guard lock(PathMutex());
    return ConfiguredPath();
}

DebugLog::DebugLog() {
    {
        std::lock_guard lock(PathMutex());
        path_ = ConfiguredPath();
    }
    Open();
}

DebugLog::~DebugLog() {
    if (file_) std::fclose(file_);
}

void DebugLog::Open() {
    if (path_.empty()) return;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path path(path_);
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), error);
    // A full log becomes the one old log, replacing the one before it.
    const auto size = fs::file_size(path, error);
    if (!error && static_cast<int64_t>(size) >= DebugLogLimit - 64 * 1024)
        fs::rename(path, path_ + ".1", error);
    file_ = std::fopen(path_.c_str(), "a");
}

void DebugLog::Write(const std::string& event) {
    if (!file_) return;
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local {};
    ::localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(file_, "%s.%03d %s\n", stamp, static_cast<int>(millis), event.c_str());
    std::fflush(file_);
    // One long update must not carry the log past its limit either.
    if (std::ftell(file_) >= DebugLogLimit - 4096) {
        std::fclose(file_);
        file_ = nullptr;
        Open();
    }
}

}  // namespace tessaly
