#include "FileGuard.h"

#include "FileIO.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tessaly {

namespace {

FaultHook faultHook = nullptr;

FileStamp StampFrom(const struct stat& st) {
    FileStamp stamp;
    stamp.Device = st.st_dev;
    stamp.Inode = st.st_ino;
    stamp.Size = st.st_size;
    stamp.ModifiedNs = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    stamp.Mode = st.st_mode;
    stamp.Owner = st.st_uid;
    stamp.Group = st.st_gid;
    stamp.Links = st.st_nlink;
    return stamp;
}

// The signals that end a program from the terminal or the session. Their
// handlers are ours only while a temporary file exists.
constexpr int CleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int SignalCount = 4;
char guardedPath[4096];
volatile sig_atomic_t guarded = 0;
struct sigaction previous[SignalCount];
bool installed[SignalCount] = {};

void RemoveGuardedAndResend(int signal) {
    if (guarded) ::unlink(guardedPath);
    guarded = 0;
    for (int i = 0; i < SignalCount; ++i)
        if (CleanupSignals[i] == signal && installed[i]) {
            ::sigaction(signal, &previous[i], nullptr);
            installed[i] = false;
        }
    ::raise(signal);  // acts once this handler returns, as it would have without us
}

void Guard(const std::string& path) {
    if (path.size() >= sizeof guardedPath) return;
    std::memcpy(guardedPath, path.c_str(), path.size() + 1);
    guarded = 1;
    for (int i = 0; i < SignalCount; ++i) {
        struct sigaction action {};
        action.sa_handler = RemoveGuardedAndResend;
        sigemptyset(&action.sa_mask);
        struct sigaction old {};
        if (::sigaction(CleanupSignals[i], nullptr, &old) != 0) continue;
        if (old.sa_handler == SIG_IGN) continue;  // an ignored signal ends nothing
        if (::sigaction(CleanupSignals[i], &action, &previous[i]) == 0) installed[i] = true;
    }
}

void Unguard() {
    guarded = 0;
    for (int i = 0; i < SignalCount; ++i)
        if (installed[i]) {
            ::sigaction(CleanupSignals[i], &previous[i], nullptr);
            installed[i] = false;
        }
}

}  // namespace

void SetFaultHook(FaultHook hook) { faultHook = hook; }

int FaultPoint(const char* operation) { return faultHook ? faultHook(operation) : 0; }

int StampOf(int fd, FileStamp& stamp) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return errno;
    stamp = StampFrom(st);
    return 0;
}

int StampOf(const std::string& path, FileStamp& stamp) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    stamp = StampFrom(st);
    return 0;
}

UpdateLock::~UpdateLock() {
    if (fd_ >= 0) ::close(fd_);
}

int UpdateLock::Acquire(const std::string& path) {
    // Another update may replace the file while we wait for its lock; the lock
    // then sits on the old file, and we take the new one's instead.
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return errno;
        int result;
        while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        struct stat held {}, named {};
        if (result == 0 && ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            fd_ = fd;
            return 0;
        }
        const int error = result != 0 ? errno : 0;
        // A file system without locks still takes updates, one at a time
        // only as far as the user runs them so.
        if (error == ENOLCK || error == EOPNOTSUPP || error == EINVAL) {
            fd_ = fd;
            return 0;
        }
        ::close(fd);
        if (error) return error;
    }
    return EAGAIN;
}

std::string TempFileNameFor(const std::string& target) {
    return FolderOf(target) + "." + NameOf(target) + ".tessaly-tmp";
}

TempFile::~TempFile() { Remove(); }

int TempFile::Create(const std::string& target, int& error) {
    Remove();
    const std::string path = TempFileNameFor(target);
    // Only a file of ours can be there while we hold the lock: a killed run's.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        if ((error = FaultPoint("unlink")) != 0) return -1;
        ::unlink(path.c_str());
    }
    if ((error = FaultPoint("create")) != 0) return -1;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    path_ = path;
    Guard(path_);
    return fd;
}

void TempFile::Remove() {
    if (path_.empty()) return;
    ::unlink(path_.c_str());
    Forget();
}

void TempFile::Forget() {
    if (path_.empty()) return;
    Unguard();
    path_.clear();
}

SignalsHeld::SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : CleanupSignals) sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &saved_);
}

SignalsHeld::~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &saved_, nullptr); }

int CopyIdentity(int from, int to) {
    struct stat st {};
    if (::fstat(from, &st) != 0) return errno;
    // Owner first: a change of owner may clear the set-id bits, which the mode
    // then puts back.
    if (::fchown(to, st.st_uid, st.st_gid) != 0) return errno;
    if (::fchmod(to, st.st_mode & 07777) != 0) return errno;
    ssize_t size = ::flistxattr(from, nullptr, 0);
    if (size < 0) return errno == ENOTSUP ? 0 : errno;
    std::vector<char> names(static_cast<size_t>(size) + 1, '\0');
    size = ::flistxattr(from, names.data(), names.size());
    if (size < 0) return errno;
    for (const char* name = names.data(); name < names.data() + size;
         name += std::strlen(name) + 1) {
        ssize_t length = ::fgetxattr(from, name, nullptr, 0);
        if (length < 0) return errno;
        std::string value(static_cast<size_t>(length), '\0');
        length = ::fgetxattr(from, name, value.data(), value.size());
        if (length < 0) return errno;
        value.resize(static_cast<size_t>(length));
        // Some attributes the system sets on every new file by itself.
        std::string present(value.size(), '\0');
        if (::fgetxattr(to, name, present.data(), present.size()) == length && present == value)
            continue;
        if (::fsetxattr(to, name, value.data(), value.size(), 0) != 0) return errno;
    }
    return 0;
}

int SyncFolderOf(const std::string& path) {
    const std::string folder = FolderOf(path);
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = FaultPoint("fsync-folder");
    if (!error && ::fsync(fd) != 0) error = errno;
    ::close(fd);
    return error;
}

}  // namespace tessaly
