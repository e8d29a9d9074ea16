#include "FrameCarryOver.h"

#include "engine/TagFields.h"
#include "engine/id3tag/FieldFrames.h"
#include "engine/id3tag/ID3v2Reader.h"
#include "engine/id3tag/ID3v2Writer.h"
#include "engine/id3tag/UnicodeText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace tessaly {

namespace {

// 2.3 flag bits.
constexpr uint16_t TagAlterPreservation23 = 0x8000;
constexpr uint16_t FileAlterPreservation23 = 0x4000;
constexpr uint16_t ReadOnly23 = 0x2000;
constexpr uint16_t Grouping23 = 0x0020;
// 2.4 flag bits.
constexpr uint16_t TagAlterPreservation24 = 0x4000;
constexpr uint16_t FileAlterPreservation24 = 0x2000;
constexpr uint16_t ReadOnly24 = 0x1000;

bool IsFrameID(std::string_view id, size_t length) {
    return id.size() == length && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

bool DescribesOldTag(std::string_view id) { return id == "ASPI" || id == "SEEK" || id == "SIGN"; }

// TDOR holds a full date; the 2.3 original-release frame holds the year.
std::string TDORToTORY(const ID3v2Frame& frame) {
    if (frame.Body.empty()) return {};
    int encoding = static_cast<unsigned char>(frame.Body[0]);
    std::string_view text = std::string_view(frame.Body).substr(1);
    text = text.substr(0, TextFieldLength(text, encoding, nullptr));
    std::u32string year = DecodeCodePoints(text, encoding).substr(0, 4);
    std::string body(1, '\0');
    for (char32_t c : year) body += c <= 0xFF ? static_cast<char>(c) : '?';
    return body;
}

std::string Convert24(const ID3v2Frame& frame) {
    if (!IsFrameID(frame.ID, 4) || DescribesOldTag(frame.ID)) return {};
    if ((frame.Flags & TagAlterPreservation24) || frame.Compressed || frame.Encrypted) return {};
    uint16_t flags = 0;
    if (frame.Flags & FileAlterPreservation24) flags |= FileAlterPreservation23;
    if (frame.Flags & ReadOnly24) flags |= ReadOnly23;
    std::string body;
    std::string id = frame.ID;
    if (id == "TDOR") {
        id = "TORY";
        body = TDORToTORY(frame);
    } else {
        body = ReencodeFor23(id, frame.Body);
    }
    if (frame.GroupId >= 0) {
        flags |= Grouping23;
        body.insert(body.begin(), static_cast<char>(frame.GroupId));
    }
    return Frame23(id, flags, body);
}

std::string Convert23(const ID3v2Frame& frame) {
    if (!IsFrameID(frame.ID, 4) || DescribesOldTag(frame.ID)) return {};
    if (frame.Flags & TagAlterPreservation23) return {};
    return Frame23(frame.ID, frame.Flags, frame.Body);
}

std::string ImageFormatToMIME(std::string_view format) {
    std::string lower;
    for (char c : format) {
        if (c == '\0') break;
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (lower == "jpg") return "image/jpeg";
    return "image/" + lower;
}

// PIC: encoding, 3-character image format, picture type, description, data.
std::string PICToAPIC(const std::string& body) {
    if (body.size() < 5) return {};
    return body.substr(0, 1) + ImageFormatToMIME(std::string_view(body).substr(1, 3)) +
           std::string(1, '\0') + body.substr(4);
}

std::string Convert22(const ID3v2Frame& frame) {
    if (!IsFrameID(frame.ID, 3)) return {};
    std::string id = ID3v22To23(frame.ID);
    if (id.empty()) return {};
    std::string body = frame.ID == "PIC" ? PICToAPIC(frame.Body) : frame.Body;
    if (frame.ID == "PIC" && body.empty()) return {};
    return Frame23(id, 0, body);
}

}  // namespace

std::string ID3v22To23(std::string_view id) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 67> table = {{
        {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"},
        {"EQU", "EQUA"}, {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"MCI", "MCDI"}, {"MLL", "MLLT"},
        {"PIC", "APIC"}, {"POP", "POPM"}, {"REV", "RVRB"}, {"RVA", "RVAD"}, {"SLT", "SYLT"},
        {"STC", "SYTC"}, {"ULT", "USLT"}, {"UFI", "UFID"}, {"TXX", "TXXX"}, {"WXX", "WXXX"},
        {"TAL", "TALB"}, {"TBP", "TBPM"}, {"TCM", "TCOM"}, {"TCO", "TCON"}, {"TCR", "TCOP"},
        {"TDA", "TDAT"}, {"TDY", "TDLY"}, {"TEN", "TENC"}, {"TFT", "TFLT"}, {"TIM", "TIME"},
        {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"}, {"TMT", "TMED"}, {"TOA", "TOPE"},
        {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"}, {"TOT", "TOAL"}, {"TP1", "TPE1"},
        {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TPA", "TPOS"}, {"TPB", "TPUB"},
        {"TRC", "TSRC"}, {"TRD", "TRDA"}, {"TRK", "TRCK"}, {"TSI", "TSIZ"}, {"TSS", "TSSE"},
        {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TXT", "TEXT"}, {"TYE", "TYER"},
        {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"},
        {"WPB", "WPUB"}, {"TCP", "TCMP"}, {"TS2", "TSO2"}, {"TSA", "TSOA"}, {"TSC", "TSOC"},
        {"TSP", "TSOP"}, {"TST", "TSOT"},
    }};
    for (const auto& [from, to] : table)
        if (from == id) return std::string(to);
    return {};
}

std::string ConvertFrameTo23(const ID3v2Frame& frame, int majorVersion) {
    if (majorVersion <= 2) return Convert22(frame);
    if (majorVersion == 3) return Convert23(frame);
    return Convert24(frame);
}

std::string RecordingTimeTo23(const ID3v2Frame& frame, int majorVersion) {
    const std::string_view content = FrameContent(frame, majorVersion);
    if (content.empty()) return {};
    // "yyyy-MM-ddTHH:mm:ss": each part present only when the ones before are.
    const std::string time = DecodeText(content.substr(1), static_cast<uint8_t>(content[0]));
    auto digits = [&](size_t at, size_t count) {
        if (time.size() < at + count) return false;
        return std::all_of(time.begin() + static_cast<std::ptrdiff_t>(at),
                           time.begin() + static_cast<std::ptrdiff_t>(at + count),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(0, 4)) return ConvertFrameTo23(frame, majorVersion);  // not a date: keep it
    const std::string latin1(1, '\0');
    std::string frames = Frame23("TYER", 0, latin1 + time.substr(0, 4));
    if (digits(5, 2) && digits(8, 2) && time[4] == '-' && time[7] == '-') {
        frames += Frame23("TDAT", 0, latin1 + time.substr(8, 2) + time.substr(5, 2));
        if (time.size() >= 16 && time[10] == 'T' && digits(11, 2) && digits(14, 2) && time[13] == ':')
            frames += Frame23("TIME", 0, latin1 + time.substr(11, 2) + time.substr(14, 2));
    }
    return frames;
}

std::string MergeFrames(const ID3v2Data& wanted, const std::string& language,
                        const std::vector<ID3v2Frame>& frames, int majorVersion) {
    ID3v2Data old;
    const FieldFrameMap map = ReadFieldFrames(frames, majorVersion, old);

    std::vector<const TagField*> owner(frames.size(), nullptr);
    for (const TagField& field : TagFields())
        for (size_t index : map.Frames[field.Number]) owner[index] = &field;
    auto changed = [&](const TagField& field) { return wanted.*field.V2 != old.*field.V2; };

    // A field the old tag did not hold comes first, in the order new tags
    // have always been written.
    ID3v2Data added;
    for (const TagField& field : TagFields())
        if (map.Frames[field.Number].empty() && changed(field)) added.*field.V2 = wanted.*field.V2;
    std::string block = BuildManagedFrames(added, language);

    for (size_t i = 0; i < frames.size(); ++i) {
        const TagField* field = owner[i];
        const bool recordingTime = majorVersion >= 3 && frames[i].ID == "TDRC";
        if (field == nullptr) {
            // A recording time beside a TYER is the year's other form; the
            // year box shows the TYER and an edit writes one.
            if (!recordingTime) block += ConvertFrameTo23(frames[i], majorVersion);
            continue;
        }
        if (!changed(*field)) {
            block += recordingTime ? RecordingTimeTo23(frames[i], majorVersion)
                                   : ConvertFrameTo23(frames[i], majorVersion);
            continue;
        }
        // A changed field replaces its main frame in place; its other frames
        // (repeated text frames) go with the old value.
        const std::string& value = wanted.*field->V2;
        if (i == map.Frames[field->Number].front() && !value.empty())
            block += BuildFieldFrame(*field, value, language, &frames[i], majorVersion);
    }
    return block;
}

}  // namespace tessaly
