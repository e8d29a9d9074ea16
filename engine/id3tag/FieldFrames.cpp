#include "FieldFrames.h"

#include "engine/TagFields.h"
#include "engine/Utf8Text.h"
#include "engine/id3tag/ID3v2Reader.h"
#include "engine/id3tag/UnicodeText.h"

namespace tessaly {

namespace {

constexpr uint16_t V23Grouped = 0x0020;

// The description of a COMM (after encoding and language) or WXXX (after
// the encoding) body; `found` false when it has no terminator.
std::string Description(std::string_view content, size_t from, bool& found) {
    found = false;
    if (content.empty() || content.size() < from) return {};
    const int encoding = static_cast<unsigned char>(content[0]);
    size_t terminator = 0;
    const std::string_view rest = content.substr(from);
    const size_t length = TextFieldLength(rest, encoding, &terminator);
    found = terminator != 0;
    return DecodeText(rest.substr(0, length), encoding);
}

bool Unusable(const ID3v2Frame& frame) { return frame.Compressed || frame.Encrypted; }

std::string JoinValues(const std::vector<std::string>& values) {
    std::string joined;
    for (const std::string& value : values) {
        if (!joined.empty()) joined += '/';
        joined += value;
    }
    return joined;
}

// A 2.4 genre may be a bare number, "RX" or "CR": the same references 2.3
// writes in parentheses.
std::string GenreValue(const std::string& value) {
    const bool number = !value.empty() && value.size() <= 3 &&
                        value.find_first_not_of("0123456789") == std::string::npos;
    if (number || value == "RX" || value == "CR") return ResolveGenre("(" + value + ")");
    return ResolveGenre(value);
}

}  // namespace

std::string_view FrameContent(const ID3v2Frame& frame, int majorVersion) {
    std::string_view body = frame.Body;
    if (majorVersion == 3 && (frame.Flags & V23Grouped) && !body.empty()) body.remove_prefix(1);
    return body;
}

FieldFrameMap MapFieldFrames(const std::vector<ID3v2Frame>& frames, int majorVersion) {
    FieldFrameMap map;
    size_t commentByName = frames.size();
    size_t recordingTime = frames.size();
    for (size_t i = 0; i < frames.size(); ++i) {
        const ID3v2Frame& frame = frames[i];
        if (Unusable(frame)) continue;
        const std::string_view content = FrameContent(frame, majorVersion);
        if (majorVersion >= 3 && frame.ID == "TDRC") {
            if (recordingTime == frames.size()) recordingTime = i;
            continue;
        }
        const TagField* field = TagFieldOfFrame(frame.ID, majorVersion);
        if (field == nullptr) continue;
        std::vector<size_t>& slot = map.Frames[field->Number];
        bool found = false;
        if (field->Number == FieldComment) {
            if (!slot.empty()) continue;
            const std::string description = Description(content, 4, found);
            if (!found) continue;
            if (description.empty())
                slot.push_back(i);
            else if (description == "Comment" && commentByName == frames.size())
                commentByName = i;
        } else if (field->Number == FieldURL) {
            if (slot.empty() && Description(content, 1, found).empty() && found) slot.push_back(i);
        } else {
            slot.push_back(i);
        }
    }
    if (map.Frames[FieldComment].empty() && commentByName < frames.size())
        map.Frames[FieldComment].push_back(commentByName);
    if (map.Frames[FieldYear].empty() && recordingTime < frames.size()) {
        map.Frames[FieldYear].push_back(recordingTime);
        map.YearFromRecordingTime = true;
    }
    return map;
}

FieldFrameMap ReadFieldFrames(const std::vector<ID3v2Frame>& frames, int majorVersion,
                              ID3v2Data& record) {
    FieldFrameMap map = MapFieldFrames(frames, majorVersion);
    for (const TagField& field : TagFields()) {
        const std::vector<size_t>& indexes = map.Frames[field.Number];
        if (indexes.empty()) continue;
        const std::string_view main = FrameContent(frames[indexes[0]], majorVersion);
        std::string& value = record.*field.V2;
        if (field.Number == FieldComment) {
            value = main.empty() ? std::string()
                                 : DecodeComment(main.substr(1), static_cast<uint8_t>(main[0]));
            continue;
        }
        if (field.Number == FieldURL) {
            value = DecodeURL(main);
            continue;
        }
        if (field.Number == FieldYear && map.YearFromRecordingTime) {
            // The year is the first four characters of a recording time.
            value = std::string(main.empty() ? std::string_view() : main.substr(1));
            value = DecodeText(value, main.empty() ? 0 : static_cast<uint8_t>(main[0]));
            value = std::string(FirstCharacters(value, 4));
            continue;
        }
        std::vector<std::string> values;
        for (size_t index : indexes) {
            const std::string_view content = FrameContent(frames[index], majorVersion);
            if (content.empty()) continue;
            for (std::string& text : DecodeTextValues(content.substr(1),
                                                      static_cast<uint8_t>(content[0])))
                values.push_back(field.Number == FieldGenre ? GenreValue(text) : std::move(text));
        }
        value = JoinValues(values);
    }
    return map;
}

}  // namespace tessaly
