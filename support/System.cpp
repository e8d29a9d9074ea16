// File existence and time formatting, through the C library so that the same
// code serves every platform.
#include "tessaly.h"

#include <ctime>

#include <sys/stat.h>

extern "C" {

int32_t TESSALY_CALL FileExists(const char* path) {
    if (!path || !*path) return 0;
    struct stat info;
    return stat(path, &info) == 0 ? 1 : 0;
}

int32_t TESSALY_CALL MakeTime(char* buffer, int32_t size, const char* format,
                              const struct tm* time) {
    if (!buffer || size <= 0 || !format || !time) return 0;
    const size_t written = std::strftime(buffer, static_cast<size_t>(size), format, time);
    if (written == 0) buffer[0] = '\0';
    return static_cast<int32_t>(written);
}

}  // extern "C"
