// What keeps an update of a user's file safe: the lock that makes updates of
// one file take turns, the stamp that tells whether the path still names the
// file that was read, the hidden temporary file beside it and its removal on
// every path (signals included), and the copy of a file's identity (owner,
// group, mode, extended attributes and with them the ACL) onto a new file.
#pragma once

#include <cstdint>
#include <string>

#include <signal.h>

namespace tessaly {

// The identity and state of a file as read: when any of it differs, another
// program has changed or replaced the file.
struct FileStamp {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t Size = -1;
    int64_t ModifiedNs = 0;
    uint32_t Mode = 0;
    uint32_t Owner = 0;
    uint32_t Group = 0;
    uint64_t Links = 0;

    bool SameFile(const FileStamp& other) const {
        return Device == other.Device && Inode == other.Inode && Size == other.Size &&
               ModifiedNs == other.ModifiedNs;
    }
};

// 0 or the system's error number.
int StampOf(int fd, FileStamp& stamp);
int StampOf(const std::string& path, FileStamp& stamp);

// An exclusive advisory lock on the file `path` names, held while the object
// lives. Acquire waits for another Tessaly process updating the same file and
// makes sure the lock is on the file the path names once it has it (the
// other process may have replaced the file meanwhile).
class UpdateLock {
public:
    UpdateLock() = default;
    ~UpdateLock();
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;
    // 0 or the system's error number.
    int Acquire(const std::string& path);

private:
    int fd_ = -1;
};

// The hidden name of the temporary file an update of `target` writes beside
// it: ".NAME.tessaly-tmp". One name per file, so the leftover of a killed run
// is found without looking through the folder.
std::string TempFileNameFor(const std::string& target);

// Creates the temporary file for `target` (removing a killed run's leftover
// first; the caller holds the file's lock) with O_EXCL, owner-only, and
// registers it for removal on SIGINT, SIGTERM, SIGHUP and SIGQUIT until
// Forget or the object's end. Open gives the fd or -1 (error in `error`).
class TempFile {
public:
    TempFile() = default;
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int Create(const std::string& target, int& error);
    const std::string& Path() const { return path_; }
    // Removes the file (when it is still there) and stops guarding it.
    void Remove();
    // The file was renamed into place: nothing left to remove.
    void Forget();

private:
    std::string path_;
};

// Holds SIGINT, SIGTERM, SIGHUP and SIGQUIT back while the object lives, so
// that a write within a file's own inode is never cut short by them; a signal
// that arrives meanwhile acts when the object goes away.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t saved_;
};

// Gives the open file `to` the owner, group, mode bits (set-id and sticky
// included) and extended attributes (the ACL among them) of the open file
// `from`. 0, or the error number of the first thing that could not be copied.
int CopyIdentity(int from, int to);

// Flushes the folder that holds `path`. 0 or the error number.
int SyncFolderOf(const std::string& path);

// A seam for tests: a hook called before each system call that changes a file
// during an update (writes, copies, truncations, flushes, renames, removals).
// It returns 0 to let the call go ahead, or an error number the call then
// fails with; it may also end the process there.
using FaultHook = int (*)(const char* operation);
void SetFaultHook(FaultHook hook);
int FaultPoint(const char* operation);

}  // namespace tessaly
