// Operations on paths: names, existence, deletion, renames that never replace,
// temporary files, permissions, links.
#include "FileIO.h"
#include "FileIOInternal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {
int Fail(int error) { return RecordFileError(error); }
}  // namespace

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

}  // namespace tessaly
