#include "settings/FileSettingsBackend.h"

#include "engine/FileIO.h"
#include "engine/Host.h"
#include "patterns/Utils.h"
#include "settings/RegistryText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

std::string FolderPart(const std::string& file) {
    size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

std::string NamePart(const std::string& file) {
    size_t slash = file.rfind('/');
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

// Writes go to the file a symbolic link points at, so the link survives; a
// link whose target does not exist yet names the file to create.
std::string Resolved(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (n <= 0) return current;
        const std::string target(buffer, static_cast<size_t>(n));
        current = target[0] == '/' ? target : FolderPart(current) + "/" + target;
    }
    return current;
}

// The reason a store file cannot be used, as the system would word it.
std::string ReasonFor(int error) {
    if (error == EINVAL) return "Not a regular file";
    return ErrorDescription(error);
}

// The advisory lock every writer holds from its re-read to its rename. The
// system drops it when the process ends, however it ends.
class StoreLock {
public:
    explicit StoreLock(const std::string& file) {
        std::error_code ignored;
        std::filesystem::create_directories(FolderPart(file), ignored);
        fd_ = ::open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) return;
        int result;
        do {
            result = ::flock(fd_, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0) Release();
    }
    ~StoreLock() { Release(); }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    void Release() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Temporary files are only created under the lock, so any left while we hold
// it belong to a writer that died.
void RemoveOrphans(const std::string& file) {
    const std::string folder = FolderPart(file);
    const std::string prefix = NamePart(file) + ".tmp-";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
            ::unlink((folder + "/" + entry->d_name).c_str());
    }
    ::closedir(dir);
}

std::string DateStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace

FileSettingsBackend::FileSettingsBackend(std::string path) : path_(std::move(path)) {}

void FileSettingsBackend::NoticeOnce(int error) {
    if (noticeShown_) return;
    noticeShown_ = true;
    std::string text = "The settings file \"" + path_ + "\" could not be read";
    if (health_ == Health::Unparseable) {
        text += ". Tessaly runs on its default settings; the file is moved aside as \"" +
                NamePart(path_) + ".bad-<date>\" when settings are next saved.";
    } else {
        text += " (" + ReasonFor(error) +
                "). Tessaly runs on its default settings and leaves the file as it is.";
    }
    CurrentHost().ShowMessage(text, AppTitle, MessageIcon::Exclamation, MessageButtons::OK);
}

void FileSettingsBackend::Load(const std::string& file) {
    loaded_ = true;
    tree_ = RegistryTree{};
    health_ = Health::Good;
    stamp_ = FileStamp{};
    if (file.empty()) return;

    // Never wait on a FIFO or a device: opening does not block, and anything
    // but a regular file is refused at once.
    int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) {  // no file yet: a first run
            health_ = Health::Unreadable;
            NoticeOnce(errno);
        }
        return;
    }
    struct stat st {};
    std::string bytes;
    int error = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR
                                            : !S_ISREG(st.st_mode)  ? EINVAL
                                                                    : 0;
    char buffer[65536];
    while (!error) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (error) {
        health_ = Health::Unreadable;
        NoticeOnce(error);
        return;
    }
    stamp_ = {st.st_dev, st.st_ino, st.st_size,
              st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
              st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec};
    if (!ParseRegistryText(bytes, tree_)) {
        tree_ = RegistryTree{};
        health_ = Health::Unparseable;
        NoticeOnce(0);
    }
}

void FileSettingsBackend::RefreshForRead() {
    if (batchDepth_ > 0) return;
    const std::string file = Resolved(path_);
    struct stat st {};
    FileStamp now;
    if (::stat(file.c_str(), &st) == 0)
        now = {st.st_dev, st.st_ino, st.st_size,
               st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
               st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec};
    if (loaded_ && now == stamp_ && health_ == Health::Good) return;
    Load(file);
}

bool FileSettingsBackend::MoveAside(const std::string& file) {
    const std::string base = file + ".bad-" + DateStamp();
    for (int attempt = 1; attempt < 100; ++attempt) {
        std::string target = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        int error = RenameNoReplace(file, target);
        if (error == 0 || error == ENOENT) return true;
        if (error != EEXIST) return false;
    }
    return false;
}

bool FileSettingsBackend::Store(const std::string& file) {
    // A file made read-only is the user's way of saying "leave it alone".
    if (::access(file.c_str(), F_OK) == 0 && ::access(file.c_str(), W_OK) != 0) return false;
    if (health_ == Health::Unparseable && !MoveAside(file)) return false;
    RemoveOrphans(file);

    std::string temp = file + ".tmp-XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    struct stat old {};
    mode_t mode = ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok =
        ::fchmod(fd, mode) == 0 && WriteAll(fd, FormatRegistryText(tree_)) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    int folder = ::open(FolderPart(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    health_ = Health::Good;
    loaded_ = false;  // the next read takes the new file's stamp
    return true;
}

bool FileSettingsBackend::Modify(const std::function<bool(RegistryTree&)>& change) {
    if (batchDepth_ > 0) {
        if (change(tree_)) batchChanged_ = true;
        return true;
    }
    if (path_.empty()) return false;
    const std::string file = Resolved(path_);
    StoreLock lock(file);
    if (!lock.Held()) return false;
    Load(file);
    if (health_ == Health::Unreadable) return false;
    if (!change(tree_)) return true;
    if (Store(file)) return true;
    loaded_ = false;  // the file is as it was; so must our copy be
    return false;
}

bool FileSettingsBackend::Batch(const std::function<void()>& writes) {
    if (batchDepth_ > 0) {
        writes();
        return true;
    }
    const std::string file = Resolved(path_);
    StoreLock lock(file);
    bool usable = !path_.empty() && lock.Held();
    if (usable) Load(file);
    usable = usable && health_ != Health::Unreadable;

    struct Depth {
        FileSettingsBackend& self;
        explicit Depth(FileSettingsBackend& s) : self(s) {
            ++self.batchDepth_;
            self.batchChanged_ = false;
        }
        ~Depth() { --self.batchDepth_; }
    };
    {
        Depth depth(*this);
        try {
            writes();
        } catch (...) {
            loaded_ = false;
            throw;
        }
    }
    if (!usable) {
        loaded_ = false;
        return false;
    }
    if (!batchChanged_ || Store(file)) return true;
    loaded_ = false;
    return false;
}

void FileSettingsBackend::SaveValue(RegistryRoot root, const std::string& section,
                                    const RegistryValue& value) {
    if (!IsStorableValueName(value.Name)) return;
    Modify([&](RegistryTree& tree) {
        RegistryKey* key = tree.Create(RootName(root), section);
        if (!key) return false;
        if (RegistryValue* existing = key->FindValue(value.Name)) {
            if (existing->Type == value.Type && existing->Data == value.Data) return false;
            existing->Type = value.Type;
            existing->Data = value.Data;
        } else {
            key->Values.push_back(value);
        }
        return true;
    });
}

void FileSettingsBackend::SaveSetting(RegistryRoot root, const std::string& section,
                                      const std::string& key, const std::string& setting) {
    SaveValue(root, section, RegistryValue{key == "*" ? "" : key, RegText, TextData(setting)});
}

std::string FileSettingsBackend::GetSetting(RegistryRoot root, const std::string& section,
                                            const std::string& key, const std::string& fallback) {
    RefreshForRead();
    const RegistryKey* found = tree_.Find(RootName(root), section);
    if (!found) return fallback;
    const RegistryValue* value = found->FindValue(key == "*" ? "" : key);
    if (!value || value->Data.empty()) return fallback;
    return value->Data.substr(0, value->Data.size() - 1);
}

std::vector<SettingPair> FileSettingsBackend::GetAllSettings(RegistryRoot root,
                                                             const std::string& section) {
    RefreshForRead();
    std::vector<SettingPair> pairs;
    if (const RegistryKey* found = tree_.Find(RootName(root), section)) {
        for (const RegistryValue& value : found->Values) {
            if (value.Type != RegText) continue;
            std::string text =
                value.Data.empty() ? "" : value.Data.substr(0, value.Data.size() - 1);
            pairs.emplace_back(value.Name, std::move(text));
        }
    }
    return pairs;
}

std::vector<std::string> FileSettingsBackend::GetAllSubKeys(RegistryRoot root,
                                                            const std::string& section) {
    RefreshForRead();
    std::vector<std::string> names;
    if (const RegistryKey* found = tree_.Find(RootName(root), section))
        for (const RegistryKey& child : found->SubKeys) names.push_back(child.Name);
    return names;
}

bool FileSettingsBackend::DeleteSetting(RegistryRoot root, const std::string& section,
                                        const std::string& key) {
    bool deleted = false;
    bool stored = Modify([&](RegistryTree& tree) {
        RegistryKey* found = tree.Find(RootName(root), section);
        if (!found) return false;
        if (key.empty()) {
            // Like the registry's own key deletion: only a key without subkeys.
            auto parts = SplitKeyPath(section);
            if (!found->SubKeys.empty() || !parts || parts->empty()) return false;
            deleted = tree.Remove(RootName(root), section);
            return deleted;
        }
        const std::string name = key == "*" ? "" : key;
        for (auto it = found->Values.begin(); it != found->Values.end(); ++it) {
            if (EqualsIgnoringCase(it->Name, name)) {
                found->Values.erase(it);
                deleted = true;
                return true;
            }
        }
        return false;
    });
    return deleted && stored;
}

int FileSettingsBackend::DeleteKey(RegistryRoot root, const std::string& section,
                                   const std::string& key) {
    if (section.empty() || section.find('\\') == std::string::npos) return StoreRefused;
    if (key.empty()) return StoreNotFound;
    int status = StoreNotFound;
    std::string base = section;
    if (base.back() != '\\') base += '\\';
    bool stored = Modify([&](RegistryTree& tree) {
        if (!tree.Find(RootName(root), section)) return false;
        if (!tree.Remove(RootName(root), base + key)) return false;
        status = StoreSuccess;
        return true;
    });
    if (status == StoreSuccess && !stored) return StoreAccessDenied;
    return status;
}

std::unique_ptr<CRegSettings> OpenFileSettings(const std::string& path) {
    return std::make_unique<CRegSettings>(std::make_unique<FileSettingsBackend>(path));
}

}  // namespace tessaly
