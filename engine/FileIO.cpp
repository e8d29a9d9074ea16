#include "FileIO.h"

#include "Host.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <unordered_map>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessaly {

namespace {

// Files handled here stay below 2 GiB; positions beyond are refused.
constexpr int64_t MaxPosition = INT32_MAX;
// Large enough to hold an ordinary ID3v2 tag and the 16 KiB frame search in
// one system call, small enough to cost nothing per file.
constexpr int64_t ReadAheadSize = 64 * 1024;

struct HandleState {
    int64_t position = 0;
    int64_t cacheStart = 0;
    std::string cache;  // bytes of the file from cacheStart on
};

std::mutex tableMutex;
std::unordered_map<int32_t, HandleState> handles;
thread_local int lastError = 0;

HandleState* Find(int32_t handle) {
    auto it = handles.find(handle);
    if (it == handles.end()) {
        lastError = EBADF;
        return nullptr;
    }
    return &it->second;
}

int Fail(int error) {
    lastError = error;
    return error;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Reads up to `count` bytes at `offset`, retrying short reads; returns how many
// arrived, -1 when the first read failed.
int64_t ReadAt(int fd, char* buffer, int64_t count, int64_t offset) {
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::pread(fd, buffer + done, static_cast<size_t>(count - done), offset + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (done == 0) {
                lastError = errno;
                return -1;
            }
            break;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t SizeOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        lastError = errno;
        return -1;
    }
    return st.st_size;
}

constexpr int64_t UnixEpochAsFileTime = 116444736000000000LL;

}  // namespace

int32_t FileOpen(const std::string& path, const std::string& mode) {
    const std::string m = Lower(mode);
    int flags = 0;
    if (m == "r") {
        flags = O_RDONLY;
    } else if (m == "r+") {
        flags = O_RDWR;
    } else if (m == "w") {
        flags = O_WRONLY | O_CREAT | O_TRUNC;
    } else if (m == "w+") {
        flags = O_RDWR | O_CREAT | O_TRUNC;
    } else if (m == "a") {
        flags = O_WRONLY | O_CREAT;
    } else if (m == "a+") {
        flags = O_RDWR | O_CREAT;
    } else {
        Fail(EINVAL);
        return InvalidHandle;
    }
    if (path.empty() || path.find('\0') != std::string::npos) {
        Fail(ENOENT);
        return InvalidHandle;
    }
    // O_NONBLOCK keeps a FIFO from stalling the open; anything but a regular
    // file is then refused. The truncating modes are applied only after that
    // check, so a device is never truncated either.
    int fd = ::open(path.c_str(), (flags & ~O_TRUNC) | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        Fail(errno);
        return InvalidHandle;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        int error = S_ISDIR(st.st_mode) ? EISDIR : (errno ? errno : EINVAL);
        ::close(fd);
        Fail(error ? error : EINVAL);
        return InvalidHandle;
    }
    // O_NONBLOCK has no effect on regular files, so it may stay set.
    if ((flags & O_TRUNC) && ::ftruncate(fd, 0) != 0) {
        Fail(errno);
        ::close(fd);
        return InvalidHandle;
    }
    std::lock_guard lock(tableMutex);
    handles[fd] = HandleState{};
    return fd;
}

std::string FileRead(int32_t handle, int32_t count) {
    if (count < 1) return {};
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    if (!state) return {};
    const int64_t want = count;
    const int64_t pos = state->position;
    const int64_t cacheEnd = state->cacheStart + static_cast<int64_t>(state->cache.size());
    if (pos >= state->cacheStart && pos + want <= cacheEnd) {
        state->position += want;
        return state->cache.substr(static_cast<size_t>(pos - state->cacheStart),
                                   static_cast<size_t>(want));
    }
    if (want < ReadAheadSize) {
        std::string block(static_cast<size_t>(ReadAheadSize), '\0');
        int64_t got = ReadAt(handle, block.data(), ReadAheadSize, pos);
        if (got <= 0) {
            state->cache.clear();
            return {};
        }
        block.resize(static_cast<size_t>(got));
        state->cache = std::move(block);
        state->cacheStart = pos;
        int64_t take = std::min(want, got);
        state->position += take;
        return state->cache.substr(0, static_cast<size_t>(take));
    }
    // Large reads bypass the buffer. Never allocate more than the file holds:
    // callers pass sizes taken from untrusted headers.
    int64_t size = SizeOf(handle);
    if (size <= pos) return {};
    int64_t take = std::min(want, size - pos);
    std::string data(static_cast<size_t>(take), '\0');
    int64_t got = ReadAt(handle, data.data(), take, pos);
    if (got <= 0) return {};
    data.resize(static_cast<size_t>(got));
    state->position += got;
    return data;
}

int32_t FileWrite(int32_t handle, const std::string& data, int32_t count) {
    int64_t total = count < 0 ? static_cast<int64_t>(data.size())
                              : std::min<int64_t>(count, static_cast<int64_t>(data.size()));
    int64_t done = 0;
    {
        std::lock_guard lock(tableMutex);
        HandleState* state = Find(handle);
        if (!state) return 0;
        state->cache.clear();
        if (state->position + total > MaxPosition) {
            Fail(EFBIG);
            return 0;
        }
        while (done < total) {
            ssize_t n = ::pwrite(handle, data.data() + done, static_cast<size_t>(total - done),
                                 state->position + done);
            if (n < 0) {
                if (errno == EINTR) continue;
                Fail(errno);
                break;
            }
            if (n == 0) {
                Fail(ENOSPC);
                break;
            }
            done += n;
        }
        state->position += done;
    }
    CurrentHost().ProcessPendingMessages();
    if (done == 0 && total > 0) return 0;
    return static_cast<int32_t>(done);
}

int32_t FileSeek(int32_t handle, int32_t offset, int origin) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    if (!state) return -1;
    int64_t base = 0;
    switch (origin) {
        case 0:
            base = 0;
            break;
        case 1:
            base = state->position;
            break;
        case 2:
            base = SizeOf(handle);
            if (base < 0) return -1;
            break;
        default:
            Fail(EINVAL);
            return -1;
    }
    int64_t target = base + offset;
    if (target < 0 || target > MaxPosition) {
        Fail(EINVAL);
        return -1;
    }
    state->position = target;
    return static_cast<int32_t>(target);
}

int32_t FileTell(int32_t handle) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    return state ? static_cast<int32_t>(state->position) : -1;
}

bool FileClose(int32_t handle) {
    {
        std::lock_guard lock(tableMutex);
        if (handles.erase(handle) == 0) {
            Fail(EBADF);
            return false;
        }
    }
    if (::close(handle) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

bool FileSetLength(int32_t handle, int32_t length) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    if (!state) return false;
    if (length < 0) {
        Fail(EINVAL);
        return false;
    }
    state->cache.clear();
    state->position = length;
    if (::ftruncate(handle, length) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

bool FileAtEnd(int32_t handle) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    if (!state) return true;
    int64_t size = SizeOf(handle);
    return size < 0 || state->position >= size;
}

bool FileRewind(int32_t handle) { return FileSeek(handle, 0, 0) == 0; }

int32_t FileLength(int32_t handle) {
    std::lock_guard lock(tableMutex);
    if (!Find(handle)) return -1;
    int64_t size = SizeOf(handle);
    if (size < 0) return -1;
    return static_cast<int32_t>(std::min<int64_t>(size, MaxPosition));
}

bool FileSync(int32_t handle) {
    if (::fsync(handle) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

int32_t FileCopyBytes(int32_t source, int32_t target, int32_t count) {
    if (count < 1) return 0;
    int32_t before = FileTell(source);
    if (before < 0) return 0;
    std::string block = FileRead(source, count);
    if (block.empty()) return 0;
    int32_t written = FileWrite(target, block, -1);
    if (written != static_cast<int32_t>(block.size())) {
        if (written > 0) Fail(lastError ? lastError : ENOSPC);
        FileSeek(source, before, 0);
        return 0;
    }
    return written;
}

std::string MakeTempFileName(const std::string& folder, const std::string& prefix) {
    std::string dir = folder;
    if (!dir.empty() && dir.back() != PathSeparator) dir += PathSeparator;
    const std::string head = prefix.empty() ? std::string("TMP") : prefix.substr(0, 3);
    // Start from a number that differs between processes and calls, then walk
    // the 16-bit space; O_EXCL makes the pick safe against any planted name.
    static unsigned counter = 0;
    unsigned start = static_cast<unsigned>(std::time(nullptr)) ^
                     (static_cast<unsigned>(::getpid()) << 4) ^ (++counter * 0x9E37u);
    for (unsigned i = 0; i < 0x10000; ++i) {
        unsigned number = (start + i) & 0xFFFF;
        if (number == 0) continue;
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", number);
        std::string path = dir + head + hex + ".tmp";
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) {
            Fail(errno);
            return {};
        }
    }
    Fail(EEXIST);
    return {};
}

std::string FolderOf(const std::string& path) {
    size_t at = path.rfind(PathSeparator);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string NameOf(const std::string& path) {
    size_t at = path.rfind(PathSeparator);
    return at == std::string::npos ? path : path.substr(at + 1);
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool FileDelete(const std::string& path) {
    if (::unlink(path.c_str()) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

int RenameNoReplace(const std::string& from, const std::string& to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return Fail(errno);
#endif
    // File systems without an atomic no-replace rename: a hard link fails when
    // the target exists, and removing the old name then completes the move.
    if (::link(from.c_str(), to.c_str()) != 0) return Fail(errno);
    if (::unlink(from.c_str()) != 0) {
        int error = errno;
        ::unlink(to.c_str());
        return Fail(error);
    }
    return 0;
}

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
    struct timespec spec[2] {};
    int64_t nanos = 0;
    spec[0].tv_sec = static_cast<time_t>(UnixFromFileTime(accessed, &nanos));
    spec[0].tv_nsec = static_cast<long>(nanos);
    spec[1].tv_sec = static_cast<time_t>(UnixFromFileTime(modified, &nanos));
    spec[1].tv_nsec = static_cast<long>(nanos);
    if (::utimensat(AT_FDCWD, path.c_str(), spec, 0) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

bool CopyPermissions(const std::string& fromPath, int32_t handle) {
    struct stat st {};
    if (::stat(fromPath.c_str(), &st) != 0) {
        Fail(errno);
        return false;
    }
    // Owner and group first: changing them may clear set-id bits, which the
    // mode below then restores. Only a privileged process may give a file away,
    // so a refusal here is expected and harmless.
    if (::fchown(handle, st.st_uid, st.st_gid) != 0) { /* keep our own ownership */ }
    if (::fchmod(handle, st.st_mode & 07777) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

bool SyncFolder(const std::string& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        Fail(errno);
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    if (!ok) Fail(errno);
    ::close(fd);
    return ok;
}

std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

std::string GetLongName(const std::string& path) { return path; }

int LastFileError() { return lastError; }

std::string ErrorDescription(int error) { return std::strerror(error); }

}  // namespace tessaly
