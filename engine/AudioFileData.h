// The in-memory record of one audio file: its ID3v1 trailer, its ID3v2 tag (or,
// for a Windows Media file, its content description) and its first MPEG frame.
//
// All text is a byte string: one char per byte of the file, code = byte value.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

struct ID3v1Data {
    bool Present = false;  // the file ends with a trailer; when editing: write one
    std::string Track;
    std::string Artist;
    std::string Title;
    std::string Album;
    std::string Year;
    std::string Genre;
    std::string Comment;

    bool operator==(const ID3v1Data&) const = default;
};

struct ID3v2Data {
    int32_t TagSize = 0;   // header's size field: bytes after the 10-byte header
    bool Present = false;  // a tag (or ASF description) was found; when editing: write one
    std::string Track;
    std::string Artist;
    std::string Title;
    std::string Album;
    std::string Year;
    std::string Genre;
    std::string Comment;
    std::string Composer;
    std::string OriginalArtist;
    std::string Copyright;
    std::string URL;
    std::string EncodedBy;
    int16_t MajorVersion = 0;
    int16_t Revision = 0;
    int16_t Flags = 0;
    bool IsASF = false;

    bool operator==(const ID3v2Data&) const = default;
};

struct MPEGData {
    int64_t FileSize = 0;
    bool VBR = false;  // the first frame carries a Xing or VBRI header
    int64_t HeaderPosition = 0;
    bool HeaderFound = false;
    // Whole seconds. Wider than the classic 16 bits: long recordings at low bit
    // rates run past 32767 seconds and must not wrap or saturate.
    int32_t Duration = 0;
    std::string Version;  // "1.0", "2.0", "2.5"
    std::string Layer;    // "I", "II", "III"
    int16_t Bitrate = 0;  // kbit/s: the first frame's; a VBR stream's average
    int32_t SampleRate = 0;
    std::string Mode;
    bool CRC = false;
    bool Copyrighted = false;
    bool Original = false;
    bool Private = false;
    std::string Emphasis;

    bool operator==(const MPEGData&) const = default;
};

struct AudioFileData {
    ID3v1Data ID3v1;
    ID3v2Data ID3v2;
    MPEGData MPEG;
    std::string FileName;  // the path exactly as it was passed in
    // File times in 100-ns intervals since 1601-01-01 UTC.
    int64_t Created = 0;
    int64_t Accessed = 0;
    int64_t Modified = 0;

    bool operator==(const AudioFileData&) const = default;
};

// Field numbers shared by the editor, the name patterns and the macros.
enum FieldNumber : int16_t {
    FieldNone = 0,
    FieldArtist = 1,
    FieldAlbum = 2,
    FieldTitle = 3,
    FieldTrack = 4,
    FieldYear = 5,
    FieldGenre = 6,
    FieldComment = 7,
    FieldComposer = 8,
    FieldOriginalArtist = 9,
    FieldCopyright = 10,
    FieldURL = 11,
    FieldEncoder = 12,
};

// The file the editor panes show.
extern AudioFileData CurrentFile;

void ClearCurrentFile();

// True when the stream properties an update must not change are equal; size,
// header position, duration and HeaderFound are deliberately left out so that a
// change of tag size passes.
bool SameMPEGData(const MPEGData& a, const MPEGData& b);

}  // namespace tessaly
