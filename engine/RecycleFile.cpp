// Deletion to a recoverable place: the freedesktop.org trash. A file on the
// home file system goes to $XDG_DATA_HOME/Trash; a file elsewhere goes to the
// top directory's .Trash-$uid, so that nothing is ever copied across devices.
#include "FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

std::string HomeTrash() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/') return std::string(dataHome) + "/Trash";
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return std::string(home) + "/.local/share/Trash";
}

bool MakeDirs(const std::string& path) {
    if (path.empty()) return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirs(path.substr(0, slash))) return false;
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// Percent-encodes every byte outside the unreserved set and "/", as the
// trash's Path key is a URI path.
std::string EncodePath(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return path;
    return std::string(cwd) + "/" + path;
}

// The mount point holding `path`: the last ancestor on the same device.
std::string TopDirectory(const std::string& absolute) {
    struct stat st {};
    if (::stat(absolute.c_str(), &st) != 0) return {};
    const dev_t device = st.st_dev;
    std::string top = absolute;
    while (true) {
        size_t slash = top.rfind('/');
        std::string parent = slash == 0 ? std::string("/") : top.substr(0, slash);
        if (parent == top) return top;
        struct stat pst {};
        if (::stat(parent.c_str(), &pst) != 0 || pst.st_dev != device) return top;
        top = parent;
        if (top == "/") return top;
    }
}

// Reserves a unique name in `trash` by creating its .trashinfo exclusively,
// then moves the file in. 0 on success, else an error number.
int MoveIntoTrash(const std::string& trash, const std::string& absolute,
                  const std::string& pathForInfo) {
    if (!MakeDirs(trash + "/files") || !MakeDirs(trash + "/info")) return errno ? errno : EACCES;
    const std::string base = NameOf(absolute);
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string info = "[Trash Info]\nPath=" + EncodePath(pathForInfo) +
                             "\nDeletionDate=" + stamp + "\n";
    for (int n = 1; n < 10000; ++n) {
        std::string name = n == 1 ? base : base + "." + std::to_string(n);
        std::string infoPath = trash + "/info/" + name + ".trashinfo";
        int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return errno;
        }
        bool written = ::write(fd, info.data(), info.size()) == static_cast<ssize_t>(info.size());
        ::close(fd);
        int error = written ? RenameNoReplace(absolute, trash + "/files/" + name) : EIO;
        if (error == EEXIST) {
            ::unlink(infoPath.c_str());
            continue;
        }
        if (error != 0) ::unlink(infoPath.c_str());
        return error;
    }
    return EEXIST;
}

}  // namespace

int RecycleFile(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0) return errno ? errno : ENOENT;
    const std::string absolute = AbsolutePath(path);
    const std::string home = HomeTrash();
    if (!home.empty()) {
        MakeDirs(home);
        struct stat hst {};
        if (::stat(home.c_str(), &hst) == 0 && hst.st_dev == st.st_dev)
            return MoveIntoTrash(home, absolute, absolute);
    }
    // Another file system: its own top-directory trash, with a relative path.
    const std::string top = TopDirectory(FolderOf(absolute).empty() ? "/" : absolute);
    if (top.empty()) return EXDEV;
    const std::string trash = (top == "/" ? std::string() : top) + "/.Trash-" +
                              std::to_string(::getuid());
    std::string relative = absolute.substr(top == "/" ? 1 : top.size() + 1);
    return MoveIntoTrash(trash, absolute, relative);
}

}  // namespace tessaly
