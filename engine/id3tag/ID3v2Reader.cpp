#include "engine/id3tag/ID3v2Reader.h"

#include "engine/FileIO.h"
#include "engine/Host.h"
#include "engine/id3tag/ID3v2Frames.h"
#include "engine/id3tag/ID3v2Walk.h"

#include <array>

namespace tessaly {

namespace {

constexpr size_t HeaderSize = 10;
// The reader gives up after this many frames it cannot use: a tag that is
// mostly pictures and private data holds nothing for the editor further on.
constexpr int MaxUnknownFrames = 16;
constexpr uint16_t V23Grouped = 0x0020;

enum class Decoding { Text, Genre, Comment, URL, Year, RecordingTime };

struct FieldFrame {
    const char* v22;  // nullptr: not in 2.2
    const char* v23;
    std::string ID3v2Data::*field;
    Decoding decoding;
};

// clang-format off
const std::array<FieldFrame, 13> FieldFrames = {{
    {"TRK", "TRCK", &ID3v2Data::Track, Decoding::Text},
    {"TT2", "TIT2", &ID3v2Data::Title, Decoding::Text},
    {"TP1", "TPE1", &ID3v2Data::Artist, Decoding::Text},
    {"TAL", "TALB", &ID3v2Data::Album, Decoding::Text},
    {"TYE", "TYER", &ID3v2Data::Year, Decoding::Year},
    {"TCO", "TCON", &ID3v2Data::Genre, Decoding::Genre},
    {"COM", "COMM", &ID3v2Data::Comment, Decoding::Comment},
    {"TCM", "TCOM", &ID3v2Data::Composer, Decoding::Text},
    {"TOA", "TOPE", &ID3v2Data::OriginalArtist, Decoding::Text},
    {"TCR", "TCOP", &ID3v2Data::Copyright, Decoding::Text},
    {"WXX", "WXXX", &ID3v2Data::URL, Decoding::URL},
    {"TEN", "TENC", &ID3v2Data::EncodedBy, Decoding::Text},
    // 2.4 keeps the year in the recording time; used only without a TYER.
    {nullptr, "TDRC", &ID3v2Data::Year, Decoding::RecordingTime},
}};
// clang-format on

const FieldFrame* FindFieldFrame(std::string_view id, int16_t majorVersion) {
    for (const FieldFrame& frame : FieldFrames) {
        const char* name = majorVersion >= 3 ? frame.v23 : frame.v22;
        if (name != nullptr && id == name) return &frame;
    }
    return nullptr;
}

// A text frame's body: encoding byte, then the text.
std::string FrameText(std::string_view body) {
    if (body.empty()) return {};
    return DecodeText(body.substr(1), static_cast<uint8_t>(body[0]));
}

class FieldCollector {
public:
    explicit FieldCollector(ID3v2Data& record) : record_(record) {}

    // False once the reader should stop.
    bool Take(const StoredFrame& stored) {
        CurrentHost().ProcessPendingMessages();
        const FieldFrame* known = FindFieldFrame(stored.ID, record_.MajorVersion);
        if (known == nullptr) return Unknown();
        ID3v2Frame frame = DecodeStoredFrame(stored, record_.MajorVersion);
        // Compressed or encrypted bodies are not text.
        if (frame.Compressed || frame.Encrypted) return Unknown();
        std::string_view body = frame.Body;
        // A grouped 2.3 frame keeps its group byte in front of the content.
        if (record_.MajorVersion == 3 && (frame.Flags & V23Grouped) && !body.empty())
            body.remove_prefix(1);
        Apply(*known, body);
        return true;
    }

    void Finish() {
        if (!sawYear_ && sawRecordingTime_) record_.Year = recordingYear_;
    }

private:
    bool Unknown() { return ++unknown_ < MaxUnknownFrames; }

    void Apply(const FieldFrame& known, std::string_view body) {
        std::string& field = record_.*known.field;
        switch (known.decoding) {
            case Decoding::Text:
                field = FrameText(body);
                break;
            case Decoding::Genre:
                field = ResolveGenre(FrameText(body));
                break;
            case Decoding::Comment:
                field = body.empty() ? std::string()
                                     : DecodeComment(body.substr(1), static_cast<uint8_t>(body[0]));
                break;
            case Decoding::URL:
                field = DecodeURL(body);
                break;
            case Decoding::Year:
                field = FrameText(body);
                sawYear_ = true;
                break;
            case Decoding::RecordingTime:
                recordingYear_ = FrameText(body).substr(0, 4);
                sawRecordingTime_ = true;
                break;
        }
    }

    ID3v2Data& record_;
    int unknown_ = 0;
    bool sawYear_ = false;
    bool sawRecordingTime_ = false;
    std::string recordingYear_;
};

}  // namespace

ID3v2Data ParseID3v2(std::string_view fileStart) {
    ID3v2Data record;
    ID3v2Header header;
    if (!ParseID3v2Header(fileStart, header)) return record;
    record.Present = true;
    record.TagSize = header.TagSize;
    record.MajorVersion = header.MajorVersion;
    record.Revision = header.Revision;
    record.Flags = header.Flags;
    FieldCollector collector(record);
    WalkID3v2Frames(fileStart, header,
                    [&](const StoredFrame& frame) { return collector.Take(frame); });
    collector.Finish();
    return record;
}

ID3v2Data ReadID3v2(int32_t handle) {
    if (FileSeek(handle, 0, 0) != 0) return {};
    std::string bytes = FileRead(handle, HeaderSize);
    ID3v2Header header;
    if (!ParseID3v2Header(bytes, header)) return {};
    // FileRead never holds more than the file has, whatever the size claims.
    if (header.TagSize > 0) bytes += FileRead(handle, header.TagSize);
    return ParseID3v2(bytes);
}

}  // namespace tessaly
