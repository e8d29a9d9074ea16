#include "ReadAudioFile.h"

#include "engine/FileIO.h"
#include "engine/Host.h"
#include "engine/MPEGInfo.h"
#include "engine/UpdateAudioFile.h"
#include "engine/UpdateBackup.h"
#include "engine/id3tag/ID3v1.h"
#include "engine/id3tag/ID3v2Reader.h"
#include "engine/wmvtag.h"

namespace tessaly {

AudioFileData ReadAudioFile(const std::string& path, int32_t& handle, bool forUpdate) {
    handle = InvalidHandle;
    FileHandle file(path, forUpdate ? "r+" : "r");
    // A file whose update was cut short is put back first (one lookup by its
    // device and inode tells whether there is anything to put back).
    FileStamp stamp;
    if (file.IsOpen() && StampOf(file.Get(), stamp) == 0 && HasBackup(stamp)) {
        file.Close();
        PutBackInterruptedUpdate(path);
        file = FileHandle(path, forUpdate ? "r+" : "r");
    }
    if (!file.IsOpen()) {
        ShowError("Error Opening File '" + path + "': " + ErrorDescription(LastFileError()));
        return {};
    }

    AudioFileData data;
    FileTimes times;
    GetFileTimes(file.Get(), times);

    FileRewind(file.Get());
    if (IsASFFile(FileRead(file.Get(), 8))) {
        data.ID3v2 = ReadASFTags(file.Get());
    } else {
        data.ID3v1 = ReadID3v1(file.Get());
        data.ID3v2 = ReadID3v2(file.Get());
        data.MPEG = ReadMPEGInfo(file.Get(), data.ID3v2);
    }

    data.MPEG.FileSize = FileLength(file.Get());
    data.FileName = path;
    data.Created = times.Created;
    data.Accessed = times.Accessed;
    data.Modified = times.Modified;

    if (forUpdate) handle = file.Release();
    return data;
}

AudioFileData ReadAudioFile(const std::string& path) {
    int32_t handle = InvalidHandle;
    return ReadAudioFile(path, handle, false);
}

}  // namespace tessaly
