#include "UpdateBackup.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

// A backup: this line, the file's path, its length and the number of ranges,
// one per line; then per range "offset length" on a line and its bytes.
constexpr const char* Magic = "TESSALY-BACKUP 1";

std::string NameFor(uint64_t device, uint64_t inode) {
    return std::to_string(device) + "-" + std::to_string(inode);
}

int WriteAll(int fd, const std::string& bytes, int64_t offset) {
    size_t done = 0;
    while (done < bytes.size()) {
        if (int error = FaultPoint("write")) return error;
        ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                             offset + static_cast<int64_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Copies `length` bytes from `in` at `from` to `out` at `to`, in the kernel
// where it can. 0 or the error number; ENODATA when `in` ends first.
int CopyRange(int in, int64_t from, int out, int64_t to, int64_t length) {
    std::string buffer;
    while (length > 0) {
        if (int error = FaultPoint("copy")) return error;
        const size_t step = static_cast<size_t>(std::min<int64_t>(length, 1 << 24));
        loff_t inAt = from, outAt = to;
        ssize_t n = ::copy_file_range(in, &inAt, out, &outAt, step, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                      errno == EOPNOTSUPP)) {
            buffer.resize(std::min<size_t>(step, 1 << 20));
            n = ::pread(in, buffer.data(), buffer.size(), from);
            if (n < 0) return errno;
            if (n > 0) {
                buffer.resize(static_cast<size_t>(n));
                if (int error = WriteAll(out, buffer, to)) return error;
            }
        }
        if (n < 0) return errno;
        if (n == 0) return ENODATA;
        from += n;
        to += n;
        length -= n;
    }
    return 0;
}

struct Header {
    std::string path;
    int64_t length = -1;
    std::vector<SavedRange> ranges;
    int64_t dataStart = 0;
};

// Reads and checks a backup's header; false when the file is not a complete
// backup (the machine may have stopped while an unflushed one was written).
bool ReadHeader(int fd, Header& header) {
    std::string text(8192, '\0');
    ssize_t n = ::pread(fd, text.data(), text.size(), 0);
    if (n <= 0) return false;
    text.resize(static_cast<size_t>(n));
    size_t at = 0;
    auto line = [&](std::string& out) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) return false;
        out = text.substr(at, end - at);
        at = end + 1;
        return true;
    };
    std::string magic, length, count;
    if (!line(magic) || magic != Magic || !line(header.path) || !line(length) || !line(count))
        return false;
    header.length = std::strtoll(length.c_str(), nullptr, 10);
    const long ranges = std::strtol(count.c_str(), nullptr, 10);
    if (header.length < 0 || ranges < 0 || ranges > 16) return false;
    int64_t data = 0;
    for (long i = 0; i < ranges; ++i) {
        std::string range;
        if (!line(range)) return false;
        SavedRange r;
        char* end = nullptr;
        r.Offset = std::strtoll(range.c_str(), &end, 10);
        r.Length = std::strtoll(end, nullptr, 10);
        if (r.Offset < 0 || r.Length < 0) return false;
        header.ranges.push_back(r);
        data += r.Length;
    }
    header.dataStart = static_cast<int64_t>(at);
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_size == header.dataStart + data;
}

}  // namespace

std::string BackupFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return std::string(state) + "/tessaly/backups";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/state/tessaly/backups";
    return {};
}

int UpdateBackup::Save(const std::string& path, int fd, const FileStamp& stamp,
                       const std::vector<SavedRange>& ranges, bool flush) {
    const std::string folder = BackupFolder();
    if (folder.empty()) return ENOENT;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string name = folder + "/" + NameFor(stamp.Device, stamp.Inode);
    const std::string partial = name + ".partial";
    if (int error = FaultPoint("create")) return error;
    int out = ::open(partial.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0) return errno;
    std::string header = std::string(Magic) + "\n" + path + "\n" + std::to_string(stamp.Size) +
                         "\n" + std::to_string(ranges.size()) + "\n";
    for (const SavedRange& r : ranges)
        header += std::to_string(r.Offset) + " " + std::to_string(r.Length) + "\n";
    int error = WriteAll(out, header, 0);
    int64_t at = static_cast<int64_t>(header.size());
    for (const SavedRange& r : ranges) {
        if (error) break;
        error = CopyRange(fd, r.Offset, out, at, r.Length);
        at += r.Length;
    }
    if (!error && flush && !(error = FaultPoint("fsync")) && ::fsync(out) != 0) error = errno;
    if (::close(out) != 0 && !error) error = errno;
    if (!error && !(error = FaultPoint("rename")) && ::rename(partial.c_str(), name.c_str()) != 0)
        error = errno;
    if (!error && flush) error = SyncFolderOf(name);
    if (error) {
        ::unlink(partial.c_str());
        ::unlink(name.c_str());
        return error;
    }
    path_ = name;
    flushed_ = flush;
    return 0;
}

int UpdateBackup::Restore(int fd) const {
    int in = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errno;
    Header header;
    int error = ReadHeader(in, header) ? 0 : EINVAL;
    int64_t at = header.dataStart;
    for (const SavedRange& r : header.ranges) {
        if (error) break;
        error = CopyRange(in, at, fd, r.Offset, r.Length);
        at += r.Length;
    }
    ::close(in);
    if (!error && !(error = FaultPoint("truncate")) && ::ftruncate(fd, header.length) != 0)
        error = errno;
    if (!error && !(error = FaultPoint("fsync")) && ::fsync(fd) != 0) error = errno;
    return error;
}

int UpdateBackup::Discard() {
    if (path_.empty()) return 0;
    const std::string name = path_;
    int error = FaultPoint("unlink");
    if (!error && ::unlink(path_.c_str()) != 0) error = errno;
    // A backup that outlived a finished update would later undo it: one that
    // cannot go is at least emptied, which no run takes for a backup.
    if (error && ::truncate(path_.c_str(), 0) == 0) error = 0;
    if (error) return error;
    path_.clear();
    return flushed_ ? SyncFolderOf(name) : 0;
}

bool HasBackup(const FileStamp& stamp) {
    const std::string folder = BackupFolder();
    struct stat st {};
    return !folder.empty() &&
           ::stat((folder + "/" + NameFor(stamp.Device, stamp.Inode)).c_str(), &st) == 0 &&
           st.st_size > 0;  // an emptied one is no backup
}

int RestoreInterruptedUpdate(const std::string& path, int fd, bool& restored) {
    restored = false;
    const std::string folder = BackupFolder();
    FileStamp stamp;
    if (folder.empty() || StampOf(fd, stamp) != 0) return 0;
    UpdateBackup backup;
    backup.path_ = folder + "/" + NameFor(stamp.Device, stamp.Inode);
    int in = ::open(backup.path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        backup.path_.clear();
        return 0;
    }
    Header header;
    const bool usable = ReadHeader(in, header);
    ::close(in);
    // The inode may since have gone to another file: only the same name counts.
    if (!usable || header.path != path) {
        if (!usable) ::unlink(backup.path_.c_str());
        backup.path_.clear();
        return 0;
    }
    backup.flushed_ = true;
    if (int error = backup.Restore(fd)) return error;
    restored = true;
    return backup.Discard();
}

}  // namespace tessaly
