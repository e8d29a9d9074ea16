#include "DebugLog.h"

#include <chrono>
#include <ctime>

namespace tessaly {

DebugLog::DebugLog() : file_(std::fopen(DebugLogName, "a")) {}

DebugLog::~DebugLog() {
    if (file_) std::fclose(file_);
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
}

}  // namespace tessaly
