#include "ID3v2Writer.h"

#include "engine/Utf8Text.h"
#include "engine/id3tag/FieldFrames.h"
#include "engine/id3tag/ID3v2Reader.h"
#include "engine/id3tag/UnicodeText.h"

#include <algorithm>
#include <vector>

namespace tessaly {

namespace {

// Padding added when the frames outgrow the old tag, so that the next edits
// of similar size fit in place.
constexpr size_t GrowthPadding = 256;
constexpr char Latin1 = 0;
constexpr char UTF16WithBOM = 1;

std::string ThreeLetters(const std::string& language) {
    std::string code = language.substr(0, 3);
    code.resize(3, ' ');
    return code;
}

// The text in `encoding` (0 or 1), with a terminator when `terminated`.
std::string Encoded(const std::string& text, char encoding, bool terminated) {
    if (encoding == Latin1) return Utf8ToLatin1(text) + (terminated ? std::string(1, '\0') : "");
    return EncodeUTF16WithBOM(DecodeUtf8(text)) + (terminated ? std::string(2, '\0') : "");
}

char EncodingFor(const std::string& a, const std::string& b = {}) {
    return FitsLatin1(a) && FitsLatin1(b) ? Latin1 : UTF16WithBOM;
}

std::string CommentFrame(const std::string& text, const std::string& language,
                         const ID3v2Frame* replaced, int majorVersion) {
    std::string languageCode = ThreeLetters(language);
    std::string description = "Comment";
    if (replaced != nullptr) {
        const std::string_view content = FrameContent(*replaced, majorVersion);
        if (content.size() >= 4) {
            languageCode = std::string(content.substr(1, 3));
            description = DecodeText(content.substr(4), static_cast<uint8_t>(content[0]));
        }
    }
    const char encoding = EncodingFor(description, text);
    return Frame23("COMM", 0,
                   std::string(1, encoding) + languageCode + Encoded(description, encoding, true) +
                       Encoded(text, encoding, false));
}

}  // namespace

std::string BigEndian32(uint32_t n) {
    return {static_cast<char>((n >> 24) & 0xFF), static_cast<char>((n >> 16) & 0xFF),
            static_cast<char>((n >> 8) & 0xFF), static_cast<char>(n & 0xFF)};
}

std::string Synchsafe32(uint32_t n) {
    return {static_cast<char>((n >> 21) & 0x7F), static_cast<char>((n >> 14) & 0x7F),
            static_cast<char>((n >> 7) & 0x7F), static_cast<char>(n & 0x7F)};
}

std::string Frame23(std::string_view id, uint16_t flags, std::string_view body) {
    std::string frame(id);
    frame += BigEndian32(static_cast<uint32_t>(body.size()));
    frame += static_cast<char>(flags >> 8);
    frame += static_cast<char>(flags & 0xFF);
    frame += body;
    return frame;
}

std::string BuildFieldFrame(const TagField& field, const std::string& text,
                            const std::string& language, const ID3v2Frame* replaced,
                            int majorVersion) {
    if (field.Number == FieldComment) return CommentFrame(text, language, replaced, majorVersion);
    if (field.Number == FieldURL) {
        // The URL box shows the WXXX without a description.
        const std::string url = FitsLatin1(text) ? Utf8ToLatin1(text) : text;
        return Frame23("WXXX", 0, std::string(2, '\0') + url);
    }
    const char encoding = EncodingFor(text);
    return Frame23(field.V23, 0, std::string(1, encoding) + Encoded(text, encoding, false));
}

std::string BuildManagedFrames(const ID3v2Data& data, const std::string& language) {
    static const std::vector<const TagField*> order = [] {
        std::vector<const TagField*> fields;
        for (const TagField& field : TagFields()) fields.push_back(&field);
        std::sort(fields.begin(), fields.end(), [](const TagField* a, const TagField* b) {
            return a->WriteRank < b->WriteRank;
        });
        return fields;
    }();
    std::string block;
    for (const TagField* field : order) {
        const std::string& value = data.*field->V2;
        if (!value.empty()) block += BuildFieldFrame(*field, value, language);
    }
    return block;
}

std::string PadFrameBlock(std::string block, int32_t room) {
    const size_t length = block.size();
    if (room > 0 && length < static_cast<size_t>(room))
        block.append(static_cast<size_t>(room) - length, '\0');
    else if (length > static_cast<size_t>(room < 0 ? 0 : room))
        block.append(GrowthPadding, '\0');
    return block;
}

std::string BuildID3v2Frames(const ID3v2Data& data, int32_t room, const std::string& language,
                             const std::string& keptFrames) {
    return PadFrameBlock(BuildManagedFrames(data, language) + keptFrames, room);
}

std::string ID3v2Header23(uint32_t blockSize) {
    return std::string("ID3\x03\x00\x00", 6) + Synchsafe32(blockSize);
}

}  // namespace tessaly
