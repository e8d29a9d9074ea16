#include "UpdateAudioFile.h"

#include "engine/DebugLog.h"
#include "engine/FileGuard.h"
#include "engine/FileIO.h"
#include "engine/Host.h"
#include "engine/ReadAudioFile.h"
#include "engine/id3tag/FrameCarryOver.h"
#include "engine/id3tag/ID3v1.h"
#include "engine/id3tag/ID3v2Frames.h"
#include "engine/id3tag/ID3v2Writer.h"
#include "engine/UpdateBackup.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

constexpr int16_t FooterFlag = 0x10;  // 2.4: a copy of the header follows the tag
// The largest size a tag header can state (28 bits, 7 per byte).
constexpr size_t MaxTagSize = 0x0FFFFFFF;

class ProgressWindow {
public:
    ProgressWindow() { CurrentHost().ShowProgress("Updating Tags"); }
    ~ProgressWindow() { CurrentHost().HideProgress(); }
    void Set(int percent) { CurrentHost().SetProgress(percent); }
};

// What the update needs to know of the file as it is on disk.
struct DiskState {
    AudioFileData data;
    int32_t room = 0;        // bytes the old tag occupies after its 10-byte header
    int64_t audioStart = 0;  // first byte the rewrite copies
    std::string frames;      // the new tag's frames: the old ones kept, the edited ones built
    std::string trailer;     // the old ID3v1 trailer's bytes, "" when there is none
};

int32_t RoomOf(int32_t handle, const ID3v2Data& tag) {
    if (!tag.Present || tag.IsASF) return 0;
    // A 2.4 footer belongs to the old tag; counting it as room lets the new
    // tag's padding cover it instead of leaving it before the audio. Only a
    // footer that is there counts: the flag alone may be a damaged header.
    if (tag.MajorVersion >= 4 && (tag.Flags & FooterFlag) &&
        FileSeek(handle, 10 + tag.TagSize, 0) >= 0 && FileRead(handle, 3) == "3DI")
        return tag.TagSize + 10;
    return tag.TagSize;
}

std::string FramesFor(int32_t handle, const ID3v2Data& tag, const ID3v2Data& wanted,
                      const std::string& language) {
    if (!tag.Present || tag.IsASF) return MergeFrames(wanted, language, {}, 3);
    FileSeek(handle, 0, 0);
    const std::string bytes = FileRead(handle, 10 + tag.TagSize);
    ID3v2Header header;
    if (!ParseID3v2Header(bytes, header)) return MergeFrames(wanted, language, {}, 3);
    return MergeFrames(wanted, language, ReadID3v2Frames(bytes, header), header.MajorVersion);
}

std::string TrailerOf(int32_t handle, const AudioFileData& data) {
    if (!data.ID3v1.Present || data.MPEG.FileSize < ID3v1Size) return {};
    if (FileSeek(handle, data.MPEG.FileSize - ID3v1Size, 0) < 0) return {};
    return FileRead(handle, ID3v1Size);
}

DiskState ReadDiskState(const AudioFileData& data, int32_t handle, const AudioFileData& record,
                        const std::string& language) {
    DiskState disk;
    disk.data = data;
    disk.room = RoomOf(handle, data.ID3v2);
    disk.frames = FramesFor(handle, data.ID3v2, record.ID3v2, language);
    disk.trailer = TrailerOf(handle, data);
    // Without an audio frame the header position means nothing: copy from the
    // end of the old tag so the tag is not carried into the audio.
    int64_t start = data.MPEG.HeaderFound ? data.MPEG.HeaderPosition
                                          : (data.ID3v2.Present ? 10 + int64_t{disk.room} : 0);
    disk.audioStart = std::min<int64_t>(start, data.MPEG.FileSize);
    return disk;
}

bool WriteAll(int32_t handle, const std::string& bytes) {
    return bytes.empty() || FileWrite(handle, bytes) == static_cast<int32_t>(bytes.size());
}

int ErrorOr(int fallback) { return LastFileError() ? LastFileError() : fallback; }

// One update of one file: the names it goes by, the state it was read in, and
// where it traces and reports.
struct UpdateRun {
    std::string path;    // as the caller named it
    std::string target;  // the file itself: a symbolic link's target
    FileStamp read;      // the file as it was read, under the lock
    DebugLog& log;
    ProgressWindow& progress;

    void Report(const std::string& text) {
        log.Write(text);
        ShowError(text, "Error");
    }
    bool Fail(int error) {
        Report("Error Updating File: " + path + ": " + ErrorDescription(error));
        return false;
    }
    bool FailChanged() {
        Report("Error Updating File: " + path +
               ": The file was changed by another program; nothing was written");
        return false;
    }
    // True while the path names the file as it was read and `fd` is that file.
    bool Unchanged(int32_t fd) const {
        FileStamp now, named;
        return StampOf(fd, now) == 0 && now.SameFile(read) && StampOf(target, named) == 0 &&
               named.SameFile(read);
    }
    // Puts the file back from `backup` after a failed write (`error`).
    bool Undo(UpdateBackup& backup, int32_t fd, int error) {
        if (int failed = backup.Restore(fd)) {
            Report("Error Updating File: " + path + ": " + ErrorDescription(error) +
                   ". The file could not be put back as it was (" + ErrorDescription(failed) +
                   "); the next update of the file puts back its backup " + backup.Path());
            return false;
        }
        backup.Discard();
        return Fail(error);
    }
    // A backup left behind would undo the finished update later.
    void DiscardAfterSuccess(UpdateBackup& backup) {
        const std::string name = backup.Path();
        if (int error = backup.Discard())
            Report("The file " + path + " is updated, but its backup " + name +
                   (backup.Held() ? " could not be removed (" : " was not removed for sure (") +
                   ErrorDescription(error) + "); remove it before the file is updated again");
    }
    // Writing clears the set-user-ID bit of a file for a writer without the
    // right to keep it; the owner may set it again.
    void KeepMode(int32_t fd) const {
        if (read.Mode & (S_ISUID | S_ISGID)) ::fchmod(fd, read.Mode & 07777);
    }

    // The end of an update written within the file itself, once it is flushed.
    void FinishWithin(FileHandle& file, UpdateBackup& backup, const AudioFileData& record,
                      const UpdateOptions& options) {
        KeepMode(file.Get());
        DiscardAfterSuccess(backup);
        file.Close();
        if (options.OriginalDateTime)
            SetFileTimes(target, record.Created, record.Accessed, record.Modified);
    }
};

// An update that was cut short (a killed process, a stopped machine) left a
// backup of the file: put it back before anything else. False when a backup
// is there and could not be put back; the file must then not be written.
bool RecoverInterrupted(const std::string& path, const std::string& target, DebugLog& log) {
    FileStamp stamp;
    if (StampOf(target, stamp) != 0 || !HasBackup(stamp)) return true;
    int fd = ::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return true;  // the read reports what is wrong with the file
    struct stat st {};
    bool restored = false;
    int error = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        error = RestoreInterruptedUpdate(target, fd, restored);
    ::close(fd);
    if (error) {
        const std::string text = "Error Updating File: " + path +
                                 ": The backup of an interrupted update could not be put back: " +
                                 ErrorDescription(error);
        log.Write(text);
        ShowError(text, "Error");
        return false;
    }
    if (restored) {
        const std::string text =
            "The file " + path + " was put back as it was before an update that was interrupted.";
        log.Write(text);
        CurrentHost().ShowMessage(text, AppTitle, MessageIcon::Information, MessageButtons::OK);
    }
    return true;
}

// Places, replaces or removes the 128-byte trailer of a file whose audio
// (with any old trailer) ends at `end`. Returns the file's new length, -1 when
// a write failed.
int64_t UpdateTrailer(int32_t handle, const ID3v1Data& wanted, const std::string& oldTrailer,
                      bool trailerInFile, int64_t end, DebugLog* log) {
    if (wanted.Present) {
        if (log) log->Write("Writing v1 Tags");
        const int64_t at = trailerInFile ? end - ID3v1Size : end;
        if (FileSeek(handle, at, 0) < 0 || !WriteAll(handle, BuildID3v1(wanted, oldTrailer))) return -1;
        return at + ID3v1Size;
    }
    if (!trailerInFile) return end;
    return FileSetLength(handle, end - ID3v1Size) ? end - ID3v1Size : -1;
}

// Copies the source from `from` to its end to the target's position.
bool CopyAudio(int32_t source, int64_t from, int32_t target, int32_t blockSize,
               ProgressWindow& progress) {
    if (FileSeek(source, from, 0) < 0) return false;
    const int64_t length = FileLength(source);
    while (!FileAtEnd(source)) {
        if (FileCopyBytes(source, target, blockSize) == 0) return false;
        if (length > 0) progress.Set(static_cast<int>(FileTell(source) * 100 / length));
        CurrentHost().ProcessPendingMessages();
    }
    return true;
}

// In place: the new tag over the old one and the trailer at the end, each only
// when its bytes change. The bytes about to be overwritten are saved first, so
// a failure, a kill or a signal never leaves a half-written tag behind.
bool UpdateInPlace(FileHandle& file, UpdateRun& run, const AudioFileData& record,
                   const DiskState& disk, const std::string& tag, const UpdateOptions& options) {
    run.progress.Set(20);
    const int32_t h = file.Get();
    const int64_t size = disk.data.MPEG.FileSize;
    std::vector<SavedRange> ranges;
    const bool writeTag = record.ID3v2.Present && FileSeek(h, 0, 0) == 0 &&
                          FileRead(h, static_cast<int32_t>(tag.size())) != tag;
    if (writeTag) ranges.push_back({0, static_cast<int64_t>(tag.size())});
    const bool trailerInFile = disk.data.ID3v1.Present && size >= ID3v1Size;
    const std::string trailer = record.ID3v1.Present ? BuildID3v1(record.ID3v1, disk.trailer) : "";
    bool changeTrailer = record.ID3v1.Present != trailerInFile;
    if (record.ID3v1.Present && trailerInFile)
        changeTrailer = FileSeek(h, size - ID3v1Size, 0) < 0 || FileRead(h, ID3v1Size) != trailer;
    if (changeTrailer && trailerInFile) ranges.push_back({size - ID3v1Size, ID3v1Size});
    if (!writeTag && !changeTrailer) {
        run.progress.Set(100);
        return true;  // nothing changes: the file is left untouched
    }

    SignalsHeld held;
    UpdateBackup backup;
    if (int error = backup.Save(run.target, h, run.read, ranges, false))
        return run.Unchanged(h) ? run.Fail(error) : run.FailChanged();
    if (!run.Unchanged(h)) {
        backup.Discard();
        return run.FailChanged();
    }
    bool ok = !writeTag || (FileSeek(h, 0, 0) == 0 && WriteAll(h, tag));
    run.progress.Set(70);
    if (ok && changeTrailer) ok = UpdateTrailer(h, record.ID3v1, disk.trailer, trailerInFile, size, nullptr) >= 0;
    ok = ok && FileSync(h);
    if (!ok) return run.Undo(backup, h, ErrorOr(EIO));
    run.FinishWithin(file, backup, record, options);
    run.progress.Set(100);
    return true;
}

// The new file is written beside the old one under a hidden name, flushed,
// and renamed over it in one step: the path always names a complete file.
bool RewriteBySwap(FileHandle& source, TempFile& temp, UpdateRun& run, const AudioFileData& record,
                   const DiskState& disk, const std::string& tag, const UpdateOptions& options) {
    run.log.Write("Generated Tempfile: " + temp.Path());
    FileHandle out(temp.Path(), "r+");
    if (!out.IsOpen()) return run.Fail(ErrorOr(EIO));
    bool ok = true;
    if (record.ID3v2.Present) {
        run.log.Write("Writing v2 Header");
        ok = WriteAll(out.Get(), tag);
    }
    const int64_t audioOffset = FileTell(out.Get());
    ok = ok && CopyAudio(source.Get(), disk.audioStart, out.Get(), options.CopyBuffer, run.progress);
    if (ok) {
        const int64_t end = FileLength(out.Get());
        // A trailer can only be overwritten if the copy holds one.
        const bool copiedTrailer = disk.data.ID3v1.Present && end - audioOffset >= ID3v1Size;
        ok = UpdateTrailer(out.Get(), record.ID3v1, disk.trailer, copiedTrailer, end, &run.log) >= 0;
    }
    int error = ok ? 0 : ErrorOr(EIO);
    // Writing may have cleared set-id bits and capabilities: give them again.
    if (!error) error = CopyIdentity(source.Get(), out.Get());
    if (!error && options.OriginalDateTime)
        SetFileTimes(temp.Path(), record.Created, record.Accessed, record.Modified);
    if (!error && !FileSync(out.Get())) error = ErrorOr(EIO);
    if (!error) run.log.Write("Closing Files");
    if (!out.Close() && !error) error = ErrorOr(EIO);
    if (!run.Unchanged(source.Get())) return run.FailChanged();
    if (error) return run.Fail(error);

    run.log.Write("Renaming " + temp.Path() + " to " + run.target);
    if ((error = FaultPoint("rename")) != 0 ||
        (::rename(temp.Path().c_str(), run.target.c_str()) != 0 && (error = errno) != 0))
        return run.Fail(error);
    temp.Forget();
    run.log.Write("Finished");
    // Flushed while the old file is still open, so that freeing its blocks
    // (on closing it) is not part of this flush.
    if ((error = SyncFolderOf(run.target)) != 0)
        run.Report("The file " + run.path +
                   " is updated, but its folder could not be flushed to the disk: " +
                   ErrorDescription(error));
    source.Close();
    return true;
}

// Where a new file could not keep the old one's identity (other links, an
// owner we cannot give it, a folder we may not write), the file is rewritten
// within its own inode from a flushed backup of it; an interrupted rewrite is
// undone from that backup by the next update of the file.
bool RewriteWithinFile(FileHandle& file, UpdateRun& run, const AudioFileData& record,
                       const DiskState& disk, const std::string& tag, const UpdateOptions& options) {
    const int32_t h = file.Get();
    SignalsHeld held;
    UpdateBackup backup;
    if (int error = backup.Save(run.target, h, run.read, {{0, run.read.Size}}, true))
        return run.Unchanged(h) ? run.Fail(error) : run.FailChanged();
    run.log.Write("Rewriting within the file from the backup " + backup.Path());
    if (!run.Unchanged(h)) {
        backup.Discard();
        return run.FailChanged();
    }
    FileHandle saved(backup.Path(), "r");
    if (!saved.IsOpen()) return run.Undo(backup, h, ErrorOr(EIO));
    // The backup holds the file's bytes after its own header.
    const int64_t savedStart = FileLength(saved.Get()) - run.read.Size;
    bool ok = FileSeek(h, 0, 0) == 0;
    if (ok && record.ID3v2.Present) {
        run.log.Write("Writing v2 Header");
        ok = WriteAll(h, tag);
    }
    const int64_t audioOffset = FileTell(h);
    ok = ok && CopyAudio(saved.Get(), savedStart + disk.audioStart, h, options.CopyBuffer,
                         run.progress);
    const int64_t end = FileTell(h);
    const bool copiedTrailer = disk.data.ID3v1.Present && end - audioOffset >= ID3v1Size;
    const int64_t length = ok ? UpdateTrailer(h, record.ID3v1, disk.trailer, copiedTrailer, end, &run.log) : -1;
    ok = length >= 0 && FileSetLength(h, length) && FileSync(h);
    if (!ok) return run.Undo(backup, h, ErrorOr(EIO));
    run.FinishWithin(file, backup, record, options);
    run.log.Write("Finished");
    return true;
}

bool Rewrite(FileHandle& source, UpdateRun& run, const AudioFileData& record,
             const DiskState& disk, const std::string& tag, const UpdateOptions& options) {
    run.log.Write("Must Rewrite Entire File");
    // A new file can stand in for the old one only when it can be given all
    // of the old one's identity; another link to the old file never follows.
    int error = EMLINK;
    if (run.read.Links == 1) {
        TempFile temp;
        const int fd = temp.Create(run.target, error);
        if (fd >= 0) {
            error = CopyIdentity(source.Get(), fd);
            ::close(fd);
            if (!error) return RewriteBySwap(source, temp, run, record, disk, tag, options);
        }
    }
    run.log.Write("A new file cannot take the place of this one (" + ErrorDescription(error) + ")");
    return RewriteWithinFile(source, run, record, disk, tag, options);
}

}  // namespace

bool UpdateAudioFile(const std::string& path, const AudioFileData& record,
                     const UpdateOptions& options) {
    DebugLog log;
    ProgressWindow progress;
    UpdateRun run{path, ResolveLink(path), {}, log, progress};

    // Updates of one file by two Tessaly processes take turns; what the first
    // wrote is then what the second reads.
    UpdateLock lock;
    const int lockError = lock.Acquire(run.target);
    if (!lockError && !RecoverInterrupted(path, run.target, log)) return false;
    FileStamp before;
    const int stampError = StampOf(run.target, before);
    int32_t handle = InvalidHandle;
    const AudioFileData current = ReadAudioFile(path, handle, true);
    FileHandle file(handle);
    if (!file.IsOpen()) return false;
    log.Write("Opened " + path + " for read/write");
    if (lockError || stampError) return run.Fail(lockError ? lockError : stampError);
    if (StampOf(file.Get(), run.read) != 0 || !run.read.SameFile(before)) return run.FailChanged();
    if (current.ID3v2.IsASF) {
        run.Report("Error Updating File: Windows Media files are read-only");
        return false;
    }
    // The record's fields are what the editor read; written over a file that
    // another program changed since, they would undo that program's edit.
    if (record.Modified != 0 &&
        (record.Modified != current.Modified || record.MPEG.FileSize != current.MPEG.FileSize))
        return run.FailChanged();

    const DiskState disk = ReadDiskState(current, file.Get(), record, options.Language);
    // A tag whose size field claims more than the file holds (a truncated or
    // damaged file) has no real room: padding it out to the claim would write
    // a tag of that size, and an in-place write would run into the trailer's
    // place. Such a file is rewritten with a tag made as for a new one.
    const int64_t trailerStart = current.MPEG.FileSize - (current.ID3v1.Present ? ID3v1Size : 0);
    const bool tagFitsFile = !current.ID3v2.Present || 10 + int64_t{disk.room} <= trailerStart;
    const int32_t room = tagFitsFile ? disk.room : 0;
    const std::string block = PadFrameBlock(disk.frames, room);
    if (block.size() > MaxTagSize) return run.Fail(EFBIG);
    const std::string tag = ID3v2Header23(static_cast<uint32_t>(block.size())) + block;

    // Without an ID3v2 tag before or after, the frames are never written, so
    // their size cannot call for a rewrite of the whole file.
    const bool rewrite =
        record.ID3v2.Present != current.ID3v2.Present ||
        (record.ID3v2.Present &&
         (!tagFitsFile || static_cast<int64_t>(block.size()) > disk.room));
    UpdateOptions effective = options;
    effective.CopyBuffer = std::clamp(options.CopyBuffer, 1, 1 << 20);
    if (rewrite) return Rewrite(file, run, record, disk, tag, effective);
    return UpdateInPlace(file, run, record, disk, tag, effective);
}

void PutBackInterruptedUpdate(const std::string& path) {
    DebugLog log;
    const std::string target = ResolveLink(path);
    UpdateLock lock;
    if (lock.Acquire(target) == 0) RecoverInterrupted(path, target, log);
}

}  // namespace tessaly
