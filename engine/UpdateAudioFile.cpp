#include "UpdateAudioFile.h"

#include "engine/DebugLog.h"
#include "engine/FileIO.h"
#include "engine/Host.h"
#include "engine/ReadAudioFile.h"
#include "engine/id3tag/FrameCarryOver.h"
#include "engine/id3tag/ID3v1.h"
#include "engine/id3tag/ID3v2Frames.h"
#include "engine/id3tag/ID3v2Writer.h"

#include <algorithm>
#include <cerrno>

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
    int32_t audioStart = 0;  // first byte the rewrite copies
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
    disk.audioStart = static_cast<int32_t>(std::min<int64_t>(start, data.MPEG.FileSize));
    return disk;
}

bool WriteAll(int32_t handle, const std::string& bytes) {
    return bytes.empty() || FileWrite(handle, bytes) == static_cast<int32_t>(bytes.size());
}

int ErrorOr(int fallback) { return LastFileError() ? LastFileError() : fallback; }

void ReportFailure(DebugLog& log, const std::string& text) {
    log.Write(text);
    ShowError(text, "Error");
}

// Places, replaces or removes the 128-byte trailer of a file whose audio
// (with any old trailer) ends at `end`.
bool UpdateTrailer(int32_t handle, const ID3v1Data& wanted, const std::string& oldTrailer,
                   bool hadTrailer, int32_t end, DebugLog* log) {
    const bool trailerInFile = hadTrailer && end >= ID3v1Size;
    if (wanted.Present) {
        if (log) log->Write("Writing v1 Tags");
        if (FileSeek(handle, trailerInFile ? end - ID3v1Size : end, 0) < 0) return false;
        return WriteAll(handle, BuildID3v1(wanted, oldTrailer));
    }
    if (trailerInFile) return FileSetLength(handle, end - ID3v1Size);
    return true;
}

bool UpdateInPlace(FileHandle& file, const AudioFileData& record, const DiskState& disk,
                   const std::string& header, const std::string& block,
                   const UpdateOptions& options, ProgressWindow& progress, DebugLog& log) {
    progress.Set(20);
    bool ok = true;
    if (record.ID3v2.Present)
        ok = FileSeek(file.Get(), 0, 0) == 0 && WriteAll(file.Get(), header + block);
    progress.Set(70);
    if (ok)
        ok = UpdateTrailer(file.Get(), record.ID3v1, disk.trailer, disk.data.ID3v1.Present,
                           disk.data.MPEG.FileSize, nullptr);
    const int error = ok ? 0 : ErrorOr(EIO);
    if (!file.Close() && ok) ok = false;
    if (!ok) {
        ReportFailure(log, "Error Updating File: " + ErrorDescription(error ? error : ErrorOr(EIO)));
        return false;
    }
    if (options.OriginalDateTime)
        SetFileTimes(record.FileName.empty() ? disk.data.FileName : record.FileName,
                     record.Created, record.Accessed, record.Modified);
    progress.Set(100);
    return true;
}

// Copies the audio from the source's audio start to its end, block by block.
bool CopyAudio(int32_t source, int32_t target, const DiskState& disk, int32_t blockSize,
               ProgressWindow& progress) {
    if (FileSeek(source, disk.audioStart, 0) < 0) return false;
    const int32_t length = FileLength(source);
    while (!FileAtEnd(source)) {
        if (FileCopyBytes(source, target, blockSize) == 0) return false;
        if (length > 0)
            progress.Set(static_cast<int>(int64_t{FileTell(source)} * 100 / length));
        CurrentHost().ProcessPendingMessages();
    }
    return true;
}

// Swaps the finished temporary file in for `target`, parking the old file
// under target + ".tmp" meanwhile. Renames never replace an existing file.
bool SwapFiles(const std::string& target, const std::string& temp, DebugLog& log) {
    const std::string backup = target + ".tmp";
    bool backupMade = false;
    int error = 0;
    log.Write("Renaming " + target + " to " + backup);
    if ((error = RenameNoReplace(target, backup)) == 0) {
        backupMade = true;
        log.Write("Renaming " + temp + " to " + target);
        if ((error = RenameNoReplace(temp, target)) == 0) {
            log.Write("Deleting " + backup);
            if (FileDelete(backup)) {
                log.Write("Finished");
                SyncFolder(FolderOf(target));
                return true;
            }
            error = ErrorOr(EIO);
        }
    }

    const std::string description = ErrorDescription(error);
    const bool tempLeft = PathExists(temp);
    const bool backupLeft = backupMade && PathExists(backup);
    const bool targetThere = PathExists(target);
    if (tempLeft && backupLeft && !targetThere) {
        RenameNoReplace(backup, target);
        ReportFailure(log, "Error Updating File: " + description);
    } else if (backupLeft && !tempLeft && targetThere) {
        ReportFailure(log, "Unable to delete temp file: " + description);
    } else {
        ReportFailure(log, "Error Updating File: " + description);
    }
    // Only a backup this update made, and only while the file itself is in
    // place, may go: anything else would delete the user's only copy.
    if (backupMade && PathExists(backup) && PathExists(target)) FileDelete(backup);
    if (PathExists(temp)) FileDelete(temp);
    SyncFolder(FolderOf(target));
    return false;
}

bool Rewrite(FileHandle& source, const std::string& path, const AudioFileData& record,
             const DiskState& disk, const std::string& header, const std::string& block,
             const UpdateOptions& options, ProgressWindow& progress, DebugLog& log) {
    log.Write("Must Rewrite Entire File");
    // Through a symbolic link the new file must take the target's place, so
    // the link stays a link.
    const std::string target = ResolveLink(path);
    const std::string temp = MakeTempFileName(FolderOf(target), "");
    log.Write("Generated Tempfile: " + temp);
    FileHandle out = temp.empty() ? FileHandle() : FileHandle(temp, "w+");
    if (!out.IsOpen()) {
        ShowError("Error Creating Tempfile");
        log.Write("Unable to open Tempfile for writing");
        source.Close();
        if (!temp.empty()) FileDelete(temp);
        return false;
    }

    bool ok = true;
    if (record.ID3v2.Present) {
        log.Write("Writing v2 Header");
        ok = WriteAll(out.Get(), header + block);
    }
    const int32_t audioOffset = FileTell(out.Get());
    ok = ok && CopyAudio(source.Get(), out.Get(), disk, options.CopyBuffer, progress);
    if (ok) {
        const int32_t end = FileLength(out.Get());
        // A trailer can only be overwritten if the copy holds one.
        const bool copiedTrailer = disk.data.ID3v1.Present && end - audioOffset >= ID3v1Size;
        ok = UpdateTrailer(out.Get(), record.ID3v1, disk.trailer, copiedTrailer, end, &log);
    }
    ok = ok && CopyPermissions(target, out.Get()) && FileSync(out.Get());
    const int error = ok ? 0 : ErrorOr(EIO);
    if (ok) log.Write("Closing Files");
    ok = out.Close() && ok;
    source.Close();
    if (!ok) {
        ReportFailure(log, "Error Updating File: " + ErrorDescription(error ? error : ErrorOr(EIO)));
        FileDelete(temp);
        return false;
    }
    if (options.OriginalDateTime)
        SetFileTimes(temp, record.Created, record.Accessed, record.Modified);
    return SwapFiles(target, temp, log);
}

}  // namespace

bool UpdateAudioFile(const std::string& path, const AudioFileData& record,
                     const UpdateOptions& options) {
    DebugLog log;
    ProgressWindow progress;

    int32_t handle = InvalidHandle;
    const AudioFileData current = ReadAudioFile(path, handle, true);
    FileHandle file(handle);
    if (!file.IsOpen()) return false;
    log.Write("Opened " + path + " for read/write");
    if (current.ID3v2.IsASF) {
        ReportFailure(log, "Error Updating File: Windows Media files are read-only");
        return false;
    }

    const DiskState disk = ReadDiskState(current, file.Get(), record, options.Language);
    // A tag whose size field claims more than the file holds (a truncated or
    // damaged file) has no real room: padding it out to the claim would write
    // a tag of that size, and an in-place write would run into the trailer's
    // place. Such a file is rewritten with a tag made as for a new one.
    const int64_t trailerStart =
        int64_t{current.MPEG.FileSize} - (current.ID3v1.Present ? ID3v1Size : 0);
    const bool tagFitsFile = !current.ID3v2.Present || 10 + int64_t{disk.room} <= trailerStart;
    const int32_t room = tagFitsFile ? disk.room : 0;
    const std::string block = PadFrameBlock(disk.frames, room);
    if (block.size() > MaxTagSize) {
        ReportFailure(log, "Error Updating File: " + ErrorDescription(EFBIG));
        return false;
    }
    const std::string header = ID3v2Header23(static_cast<uint32_t>(block.size()));

    // Without an ID3v2 tag before or after, the frames are never written, so
    // their size cannot call for a rewrite of the whole file.
    const bool rewrite =
        record.ID3v2.Present != current.ID3v2.Present ||
        (record.ID3v2.Present &&
         (!tagFitsFile || static_cast<int64_t>(block.size()) > disk.room));
    const int32_t blockSize = std::clamp(options.CopyBuffer, 1, 1 << 20);
    UpdateOptions effective = options;
    effective.CopyBuffer = blockSize;
    if (rewrite) return Rewrite(file, path, record, disk, header, block, effective, progress, log);
    return UpdateInPlace(file, record, disk, header, block, effective, progress, log);
}

}  // namespace tessaly
