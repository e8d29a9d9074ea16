// Backups of the bytes an update overwrites within a file's own inode (in
// place, or a whole rewrite where a swap of files would lose the file's
// identity), so that an update cut short can be undone: at once when it fails,
// or by the next update of the file when the process was killed or the
// machine stopped. One backup per file, in BackupFolder(), named by the
// file's device and inode, so finding it costs one lookup.
#pragma once

#include "engine/FileGuard.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

// $XDG_STATE_HOME/tessaly/backups, else $HOME/.local/state/tessaly/backups;
// "" when neither variable is set.
std::string BackupFolder();

struct SavedRange {
    int64_t Offset = 0;
    int64_t Length = 0;
};

class UpdateBackup {
public:
    // Saves `ranges` of the open file `fd` (named `path`, as `stamp` describes
    // it) with its length, complete before it takes its name; flushed to the
    // disk first when `flush`. 0 or the system's error number.
    int Save(const std::string& path, int fd, const FileStamp& stamp,
             const std::vector<SavedRange>& ranges, bool flush);
    // Writes the saved bytes back into `fd`, gives it its old length and
    // flushes it. 0 or the error number.
    int Restore(int fd) const;
    // The update is complete: the backup goes. 0 or the error number.
    int Discard();
    const std::string& Path() const { return path_; }
    bool Held() const { return !path_.empty(); }

private:
    friend int RestoreInterruptedUpdate(const std::string& path, int fd, bool& restored);
    std::string path_;
    bool flushed_ = false;
};

// True when an interrupted update left a backup of the file `stamp` describes.
bool HasBackup(const FileStamp& stamp);

// Puts back the backup an interrupted update of the file `path` (open as `fd`)
// left, and removes it. 0 when there was none or it was restored (`restored`
// tells which), else the error number.
int RestoreInterruptedUpdate(const std::string& path, int fd, bool& restored);

}  // namespace tessaly
