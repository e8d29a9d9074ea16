// Operations on open handles. Each handle keeps its position, the file's size
// and two read-ahead blocks, so that reading a tag (head and tail of a file)
// and scanning for a frame costs a handful of system calls per file.
#include "FileIO.h"
#include "FileIOInternal.h"
#include "FileGuard.h"

#include "Host.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

// The largest position a file may have here (off_t's own limit).
constexpr int64_t MaxPosition = INT64_MAX / 2;
// Large enough to hold an ordinary ID3v2 tag and the 16 KiB frame search in
// one system call, small enough to cost nothing per file.
constexpr int64_t ReadAheadSize = 64 * 1024;

struct Block {
    int64_t start = 0;
    std::string bytes;      // the file's bytes from `start` on
    bool reachesEnd = false;  // the file ended inside this block
    unsigned lastUse = 0;
};

struct HandleState {
    int64_t position = 0;
    int64_t size = 0;  // kept in step with this handle's own writes
    std::array<Block, 2> blocks;
    unsigned uses = 0;
};

std::mutex tableMutex;
std::unordered_map<int32_t, HandleState> handles;
// Buffers of closed handles, reused so that reading file after file does not
// allocate and free 64 KiB each time.
std::vector<std::string> spareBuffers;
thread_local int lastError = 0;

HandleState* Find(int32_t handle) {
    auto it = handles.find(handle);
    if (it == handles.end()) {
        lastError = EBADF;
        return nullptr;
    }
    return &it->second;
}

int Fail(int error) { return RecordFileError(error); }

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
                Fail(errno);
                return -1;
            }
            break;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

void ForgetBlocks(HandleState& state) {
    for (Block& block : state.blocks) {
        block.bytes.clear();
        block.reachesEnd = false;
    }
}

// The bytes [pos, pos + want) from a block holding them (fewer when the file
// ends first); nullptr when no block does.
const Block* CachedBlock(HandleState& state, int64_t pos, int64_t want) {
    for (Block& block : state.blocks) {
        const int64_t end = block.start + static_cast<int64_t>(block.bytes.size());
        if (block.bytes.empty() || pos < block.start || pos > end) continue;
        if (pos + want <= end || block.reachesEnd) {
            block.lastUse = ++state.uses;
            return &block;
        }
    }
    return nullptr;
}

const Block* FillBlock(int32_t handle, HandleState& state, int64_t pos) {
    Block& block = state.blocks[0].lastUse <= state.blocks[1].lastUse ? state.blocks[0]
                                                                      : state.blocks[1];
    if (block.bytes.capacity() < ReadAheadSize) {
        std::lock_guard lock(tableMutex);
        if (!spareBuffers.empty()) {
            block.bytes = std::move(spareBuffers.back());
            spareBuffers.pop_back();
        }
    }
    block.bytes.resize(static_cast<size_t>(ReadAheadSize));
    int64_t got = ReadAt(handle, block.bytes.data(), ReadAheadSize, pos);
    if (got <= 0) {
        block.bytes.clear();
        return nullptr;
    }
    block.bytes.resize(static_cast<size_t>(got));
    block.start = pos;
    block.reachesEnd = got < ReadAheadSize;
    block.lastUse = ++state.uses;
    return &block;
}

}  // namespace

int RecordFileError(int error) {
    lastError = error;
    return error;
}

int LastFileError() { return lastError; }

std::string ErrorDescription(int error) { return std::strerror(error); }

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
    // O_NONBLOCK keeps a FIFO from stalling the open (and has no effect on a
    // regular file); anything but a regular file is then refused. Truncation
    // waits for that check, so a device is never truncated either.
    int fd = ::open(path.c_str(), (flags & ~O_TRUNC) | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        Fail(errno);
        return InvalidHandle;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        ::close(fd);
        return InvalidHandle;
    }
    if ((flags & O_TRUNC) && st.st_size != 0) {
        if (::ftruncate(fd, 0) != 0) {
            Fail(errno);
            ::close(fd);
            return InvalidHandle;
        }
        st.st_size = 0;
    }
    std::lock_guard lock(tableMutex);
    HandleState& state = handles[fd];
    state = HandleState{};
    state.size = st.st_size;
    return fd;
}

std::string FileRead(int32_t handle, int32_t count) {
    if (count < 1) return {};
    std::unique_lock lock(tableMutex);
    HandleState* found = Find(handle);
    if (!found) return {};
    HandleState& state = *found;
    lock.unlock();  // one handle is used by one caller at a time

    const int64_t pos = state.position;
    const int64_t want = count;
    if (want < ReadAheadSize) {
        const Block* block = CachedBlock(state, pos, want);
        if (!block) block = FillBlock(handle, state, pos);
        if (!block) return {};
        const int64_t offset = pos - block->start;
        const int64_t take =
            std::min<int64_t>(want, static_cast<int64_t>(block->bytes.size()) - offset);
        if (take <= 0) return {};
        state.position += take;
        return block->bytes.substr(static_cast<size_t>(offset), static_cast<size_t>(take));
    }
    // Large reads bypass the blocks. Never allocate more than the file holds:
    // callers pass sizes taken from untrusted headers.
    const int64_t take = std::min(want, state.size - pos);
    if (take <= 0) return {};
    std::string data(static_cast<size_t>(take), '\0');
    const int64_t got = ReadAt(handle, data.data(), take, pos);
    if (got <= 0) return {};
    data.resize(static_cast<size_t>(got));
    state.position += got;
    return data;
}

int32_t FileWrite(int32_t handle, const std::string& data, int32_t count) {
    const int64_t total = count < 0 ? static_cast<int64_t>(data.size())
                                    : std::min<int64_t>(count, static_cast<int64_t>(data.size()));
    int64_t done = 0;
    {
        std::lock_guard lock(tableMutex);
        HandleState* state = Find(handle);
        if (!state) return 0;
        ForgetBlocks(*state);
        if (state->position + total > MaxPosition) {
            Fail(EFBIG);
            return 0;
        }
        while (done < total) {
            if (int injected = FaultPoint("write")) {
                Fail(injected);
                break;
            }
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
        state->size = std::max(state->size, state->position);
    }
    CurrentHost().ProcessPendingMessages();
    return static_cast<int32_t>(done);
}

int64_t FileSeek(int32_t handle, int64_t offset, int origin) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    if (!state) return -1;
    int64_t base = 0;
    switch (origin) {
        case 0: base = 0; break;
        case 1: base = state->position; break;
        case 2: base = state->size; break;
        default: Fail(EINVAL); return -1;
    }
    if ((offset > 0 && base > MaxPosition - offset) || base + offset < 0) {
        Fail(EINVAL);
        return -1;
    }
    state->position = base + offset;
    return state->position;
}

int64_t FileTell(int32_t handle) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    return state ? state->position : -1;
}

bool FileClose(int32_t handle) {
    {
        std::lock_guard lock(tableMutex);
        auto it = handles.find(handle);
        if (it == handles.end()) {
            Fail(EBADF);
            return false;
        }
        for (Block& block : it->second.blocks)
            if (block.bytes.capacity() >= ReadAheadSize && spareBuffers.size() < 8)
                spareBuffers.push_back(std::move(block.bytes));
        handles.erase(it);
    }
    if (::close(handle) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

bool FileSetLength(int32_t handle, int64_t length) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    if (!state) return false;
    if (length < 0) {
        Fail(EINVAL);
        return false;
    }
    ForgetBlocks(*state);
    state->position = length;
    if (int injected = FaultPoint("truncate")) {
        Fail(injected);
        return false;
    }
    if (::ftruncate(handle, length) != 0) {
        Fail(errno);
        return false;
    }
    state->size = length;
    return true;
}

bool FileAtEnd(int32_t handle) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    return !state || state->position >= state->size;
}

bool FileRewind(int32_t handle) { return FileSeek(handle, 0, 0) == 0; }

int64_t FileLength(int32_t handle) {
    std::lock_guard lock(tableMutex);
    HandleState* state = Find(handle);
    return state ? state->size : -1;
}

bool FileSync(int32_t handle) {
    if (int injected = FaultPoint("fsync")) {
        Fail(injected);
        return false;
    }
    if (::fsync(handle) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

int32_t FileCopyBytes(int32_t source, int32_t target, int32_t count) {
    if (count < 1) return 0;
    std::lock_guard lock(tableMutex);
    HandleState* from = Find(source);
    HandleState* to = Find(target);
    if (!from || !to) return 0;
    const int64_t want = std::min<int64_t>(count, from->size - from->position);
    if (want <= 0) return 0;
    if (to->position + want > MaxPosition) {
        Fail(EFBIG);
        return 0;
    }
    ForgetBlocks(*to);
    // The kernel copies without the bytes passing through this process; where
    // it cannot (another file system, an old kernel) a read and a write do.
    loff_t in = from->position, out = to->position;
    int64_t done = 0;
    while (done < want) {
        if (int injected = FaultPoint("copy")) {
            Fail(injected);
            return 0;
        }
        ssize_t n = ::copy_file_range(source, &in, target, &out,
                                      static_cast<size_t>(want - done), 0);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                      errno == EOPNOTSUPP) && done == 0) {
            std::string block(static_cast<size_t>(want), '\0');
            const int64_t got = ReadAt(source, block.data(), want, from->position);
            if (got <= 0) return 0;
            ssize_t w = 0;
            while (done < got) {
                w = ::pwrite(target, block.data() + done, static_cast<size_t>(got - done),
                             to->position + done);
                if (w < 0 && errno == EINTR) continue;
                if (w <= 0) break;
                done += w;
            }
            if (done < got) {
                Fail(w < 0 ? errno : ENOSPC);
                return 0;
            }
            break;
        }
        // A failed write, or a source that ended early (another program cut
        // it short): the source stays where it was.
        Fail(n < 0 ? errno : ENODATA);
        return 0;
    }
    from->position += done;
    to->position += done;
    to->size = std::max(to->size, to->position);
    return static_cast<int32_t>(done);
}

}  // namespace tessaly
