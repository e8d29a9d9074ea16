#include "ID3v2Writer.h"

#include <array>

namespace tessaly {

namespace {

// Padding added when the frames outgrow the old tag, so that the next edits
// of similar size fit in place.
constexpr size_t GrowthPadding = 256;
const std::string TextEncodingLatin1(1, '\0');

std::string Frame(std::string_view id, const std::string& body) {
    return std::string(id) + BigEndian32(static_cast<uint32_t>(body.size())) +
           std::string(2, '\0') + body;
}

std::string ThreeLetters(const std::string& language) {
    std::string code = language.substr(0, 3);
    code.resize(3, ' ');
    return code;
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

bool IsManagedFrameID(std::string_view id) {
    static constexpr std::array<std::string_view, 25> managed = {
        // 2.3 and 2.4; TDRC is where 2.4 keeps the year the editor shows.
        "TALB", "TPE1", "COMM", "TCOM", "TCOP", "TENC", "TCON", "TOPE", "TIT2", "TRCK", "WXXX",
        "TYER", "TDRC",
        // 2.2
        "TAL", "TP1", "COM", "TCM", "TCR", "TEN", "TCO", "TOA", "TT2", "TRK", "WXX", "TYE"};
    for (std::string_view m : managed)
        if (m == id) return true;
    return false;
}

std::string BuildManagedFrames(const ID3v2Data& data, const std::string& language) {
    const std::string& E = TextEncodingLatin1;
    std::string block;
    auto text = [&](std::string_view id, const std::string& value) {
        if (!value.empty()) block += Frame(id, E + value);
    };
    text("TALB", data.Album);
    text("TPE1", data.Artist);
    if (!data.Comment.empty())
        block += Frame("COMM", E + ThreeLetters(language) + "Comment" + std::string(1, '\0') +
                                   data.Comment);
    text("TCOM", data.Composer);
    text("TCOP", data.Copyright);
    text("TENC", data.EncodedBy);
    text("TCON", data.Genre);
    text("TOPE", data.OriginalArtist);
    text("TIT2", data.Title);
    text("TRCK", data.Track);
    if (!data.URL.empty()) block += Frame("WXXX", E + std::string(1, '\0') + data.URL);
    text("TYER", data.Year);
    return block;
}

std::string BuildID3v2Frames(const ID3v2Data& data, int32_t room, const std::string& language,
                             const std::string& keptFrames) {
    std::string block = BuildManagedFrames(data, language) + keptFrames;
    const size_t length = block.size();
    if (room > 0 && length < static_cast<size_t>(room))
        block.append(static_cast<size_t>(room) - length, '\0');
    else if (length > static_cast<size_t>(room < 0 ? 0 : room))
        block.append(GrowthPadding, '\0');
    return block;
}

std::string ID3v2Header23(uint32_t blockSize) {
    return std::string("ID3\x03\x00\x00", 6) + Synchsafe32(blockSize);
}

}  // namespace tessaly
