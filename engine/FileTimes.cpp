// File times in the file system's unit: 100-ns intervals since 1601-01-01 UTC.
#include "FileIO.h"
#include "FileIOInternal.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace tessaly {

namespace {
constexpr int64_t UnixEpochAsFileTime = 116444736000000000LL;
int Fail(int error) { return RecordFileError(error); }
}  // namespace

int64_t FileTimeFromUnix(int64_t seconds, int64_t nanoseconds) {
    return seconds * 10000000LL + nanoseconds / 100 + UnixEpochAsFileTime;
}

int64_t UnixFromFileTime(int64_t fileTime, int64_t* nanoseconds) {
    int64_t since = fileTime - UnixEpochAsFileTime;
    int64_t seconds = since / 10000000LL;
    int64_t rest = since % 10000000LL;
    if (rest < 0) {
        rest += 10000000LL;
        --seconds;
    }
    if (nanoseconds) *nanoseconds = rest * 100;
    return seconds;
}

namespace {

bool TimesFromStatx(int dirfd, const char* path, int flags, FileTimes& times) {
    struct statx sx {};
    if (::statx(dirfd, path, flags, STATX_ATIME | STATX_MTIME | STATX_BTIME, &sx) != 0) {
        Fail(errno);
        return false;
    }
    times.Accessed = FileTimeFromUnix(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
    times.Modified = FileTimeFromUnix(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    // Not every file system records a birth time; the last change of the data
    // is then the closest honest answer.
    times.Created = (sx.stx_mask & STATX_BTIME)
                        ? FileTimeFromUnix(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec)
                        : times.Modified;
    return true;
}

}  // namespace

bool GetFileTimes(int32_t handle, FileTimes& times) {
    return TimesFromStatx(handle, "", AT_EMPTY_PATH, times);
}

bool GetFileTimes(const std::string& path, FileTimes& times) {
    return TimesFromStatx(AT_FDCWD, path.c_str(), 0, times);
}

bool SetFileTimes(const std::string& path, int64_t /*created*/, int64_t accessed,
                  int64_t modified) {
    struct timespec times[2] {};
    int64_t nanos = 0;
    times[0].tv_sec = static_cast<time_t>(UnixFromFileTime(accessed, &nanos));
    times[0].tv_nsec = static_cast<long>(nanos);
    times[1].tv_sec = static_cast<time_t>(UnixFromFileTime(modified, &nanos));
    times[1].tv_nsec = static_cast<long>(nanos);
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

}  // namespace tessaly
