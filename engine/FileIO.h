// A small stdio-like layer over the system's file handles. Every byte the tag
// engine reads or writes passes through here. Strings are byte strings (one
// char per byte), positions and sizes are 64-bit, and failures are return
// values: nothing here ever shows a message.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

inline constexpr int32_t InvalidHandle = -1;

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// Opens `path` in one of the six stdio modes ("r", "r+", "w", "w+", "a", "a+",
// compared case-insensitively). "a"/"a+" start at position 0 like every other
// mode. Only regular files open; FIFOs, devices and folders give -1 without
// blocking. An unknown mode gives -1 without touching the file system.
int32_t FileOpen(const std::string& path, const std::string& mode);

// Up to `count` bytes from the current position; "" at the end, on failure or
// when count < 1. Small reads are served from a per-handle read-ahead buffer,
// so scanning a file a byte at a time costs no system call per byte.
std::string FileRead(int32_t handle, int32_t count);

// Writes the first `count` bytes of `data` (-1: all of it) at the current
// position. Returns the number of bytes written, 0 when the write failed.
int32_t FileWrite(int32_t handle, const std::string& data, int32_t count = -1);

// origin 0 = start, 1 = current position, 2 = end. Returns the new position,
// -1 on failure (the position is then unchanged).
int64_t FileSeek(int32_t handle, int64_t offset, int origin);
int64_t FileTell(int32_t handle);
bool FileClose(int32_t handle);
// Sets the end of file at `length` and leaves the position there.
bool FileSetLength(int32_t handle, int64_t length);
bool FileAtEnd(int32_t handle);
bool FileRewind(int32_t handle);
int64_t FileLength(int32_t handle);
// Flushes the file's data to the disk.
bool FileSync(int32_t handle);

// Copies up to `count` bytes from the source's position to the target's. A
// failed or short write moves the source back and returns 0.
int32_t FileCopyBytes(int32_t source, int32_t target, int32_t count);

// Creates a new empty file in `folder` named prefix (first three characters,
// "TMP" when empty) + a hexadecimal number + ".tmp", exclusively and readable
// by the owner only. Returns its path, "" on failure.
std::string MakeTempFileName(const std::string& folder, const std::string& prefix);

// The part of `path` up to and including the last separator ("" if none).
std::string FolderOf(const std::string& path);
// The part after the last separator (the whole path if none).
std::string NameOf(const std::string& path);

bool PathExists(const std::string& path);
// Moves the file to the desktop's trash. 0 on success, else a non-zero status.
int RecycleFile(const std::string& path);
bool FileDelete(const std::string& path);

// Renames `from` to `to` unless `to` exists. 0 on success, else the system's
// error number (EEXIST when the target is taken).
int RenameNoReplace(const std::string& from, const std::string& to);

// File times are 100-ns intervals since 1601-01-01 UTC.
struct FileTimes {
    int64_t Created = 0;
    int64_t Accessed = 0;
    int64_t Modified = 0;
};
bool GetFileTimes(int32_t handle, FileTimes& times);
bool GetFileTimes(const std::string& path, FileTimes& times);
// Sets the access and modification times (a creation time cannot be set on
// every system; it is applied where the system allows).
bool SetFileTimes(const std::string& path, int64_t created, int64_t accessed, int64_t modified);

int64_t FileTimeFromUnix(int64_t seconds, int64_t nanoseconds);
// Seconds since 1970 for a file time, with the remainder in `nanoseconds`.
int64_t UnixFromFileTime(int64_t fileTime, int64_t* nanoseconds = nullptr);

// Gives the open file the permission bits of `fromPath`, and its owner and
// group where the process may set them. False when the bits could not be set.
bool CopyPermissions(const std::string& fromPath, int32_t handle);
// Flushes a folder's entries (a rename in it) to the disk.
bool SyncFolder(const std::string& folder);
// The file a symbolic link finally names; any other path unchanged.
std::string ResolveLink(const std::string& path);

// The long form of a path where the system has short names; else unchanged.
std::string GetLongName(const std::string& path);

// The system's error number of the last failed operation of this layer, and
// the system's description of an error number.
int LastFileError();
std::string ErrorDescription(int error);

// Owns a handle and closes it on every path.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int32_t handle) : handle_(handle) {}
    FileHandle(const std::string& path, const std::string& mode) : handle_(FileOpen(path, mode)) {}
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : handle_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.Release();
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int32_t Get() const { return handle_; }
    bool IsOpen() const { return handle_ != InvalidHandle; }
    int32_t Release() {
        int32_t h = handle_;
        handle_ = InvalidHandle;
        return h;
    }
    bool Close() {
        if (handle_ == InvalidHandle) return true;
        bool ok = FileClose(handle_);
        handle_ = InvalidHandle;
        return ok;
    }

private:
    int32_t handle_ = InvalidHandle;
};

}  // namespace tessaly
