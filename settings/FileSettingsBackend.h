// The settings store as one text file (see RegistryText.h for its syntax).
//
// Every write: take an advisory lock on "<file>.lock", re-read the file,
// apply the change, write a temporary file beside it, flush it to the disk and
// rename it over the file. Two processes therefore never lose each other's
// writes, and a process killed in the middle of a write leaves the previous
// file whole. Reads re-read the file when it has changed since it was last
// read.
//
// A file that cannot be parsed is never overwritten: the program runs on
// defaults, the Host says so once, and the next write moves the file aside
// as "<file>.bad-<date>" before writing a new one. A file that exists but
// cannot be read is not written at all.
#pragma once

#include "settings/CRegSettings.h"
#include "settings/RegistryTree.h"

#include <sys/types.h>

namespace tessaly {

class FileSettingsBackend final : public SettingsBackend {
public:
    explicit FileSettingsBackend(std::string path);

    bool DeleteSetting(RegistryRoot root, const std::string& section,
                       const std::string& key) override;
    std::vector<SettingPair> GetAllSettings(RegistryRoot root, const std::string& section) override;
    std::vector<std::string> GetAllSubKeys(RegistryRoot root, const std::string& section) override;
    std::string GetSetting(RegistryRoot root, const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    void SaveSetting(RegistryRoot root, const std::string& section, const std::string& key,
                     const std::string& setting) override;
    int DeleteKey(RegistryRoot root, const std::string& section, const std::string& key) override;
    bool Batch(const std::function<void()>& writes) override;

    const std::string& Path() const { return path_; }

    // Typed access for values other than text (and for tests).
    void SaveValue(RegistryRoot root, const std::string& section, const RegistryValue& value);

private:
    enum class Health { Good, Unparseable, Unreadable };

    struct FileStamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long modified = 0;
        long long changed = 0;
        bool operator==(const FileStamp&) const = default;
    };

    void RefreshForRead();
    void Load(const std::string& file);
    // Applies `change` (which returns whether it changed the tree) under the
    // lock and stores the result. Inside a batch, only applies it.
    bool Modify(const std::function<bool(RegistryTree&)>& change);
    bool Store(const std::string& file);
    bool MoveAside(const std::string& file);
    // `error`: why the file could not be read (0 when it could, but not parsed).
    void NoticeOnce(int error);

    std::string path_;
    RegistryTree tree_;
    Health health_ = Health::Good;
    FileStamp stamp_;
    bool loaded_ = false;
    bool noticeShown_ = false;

    int batchDepth_ = 0;
    bool batchChanged_ = false;
};

}  // namespace tessaly
