#include "wmvtag.h"

#include "engine/FileIO.h"
#include "engine/Utf8Text.h"
#include "engine/id3tag/UnicodeText.h"

#include <algorithm>
#include <array>

namespace tessaly {

namespace {

// GUIDs as stored (the first three groups little-endian).
constexpr std::string_view HeaderSignature("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8);
// 75B22633-668E-11CF-A6D9-00AA0062CE6C
constexpr std::string_view ContentDescriptionGuid(
    "\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);

constexpr size_t ObjectHeaderSize = 24;       // GUID and 64-bit size
constexpr size_t HeaderObjectFixedSize = 30;  // + object count and two reserved bytes
constexpr size_t DescriptionFixedSize = 34;   // + five 16-bit lengths
// Header objects hold metadata and occasionally cover art; anything larger
// than this is damaged, and the description sits near the start anyway.
constexpr int64_t MaxHeaderRead = 16 * 1024 * 1024;

uint64_t LittleEndian(std::string_view bytes, size_t at, int size) {
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// UTF-16LE text of its stored length, as UTF-8, up to the zero character
// that ends each string (counted in the length); a last odd byte is dropped;
// trailing spaces go.
std::string DecodeText(std::string_view bytes) {
    std::u32string text = DecodeUTF16(bytes, false);
    text.resize(std::min(text.size(), text.find(U'\0')));
    std::string out = EncodeUtf8(text);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

void ReadDescription(std::string_view object, ID3v2Data& tag) {
    std::array<size_t, 5> lengths{};
    size_t total = 0;
    for (size_t i = 0; i < lengths.size(); ++i) {
        lengths[i] = LittleEndian(object, ObjectHeaderSize + 2 * i, 2);
        total += lengths[i];
    }
    if (DescriptionFixedSize + total > object.size()) return;  // lengths overrun the object

    std::string* fields[] = {&tag.Title, &tag.Artist, &tag.Copyright, &tag.Comment,
                             &tag.OriginalArtist};
    size_t at = DescriptionFixedSize;
    for (size_t i = 0; i < lengths.size(); ++i) {
        *fields[i] = DecodeText(object.substr(at, lengths[i]));
        at += lengths[i];
    }
    tag.Present = true;
}

}  // namespace

bool IsASFFile(std::string_view first8) {
    return first8.size() >= HeaderSignature.size() &&
           first8.substr(0, HeaderSignature.size()) == HeaderSignature;
}

ID3v2Data ParseASFTags(std::string_view bytes) {
    ID3v2Data tag;
    if (!IsASFFile(bytes)) return tag;
    tag.IsASF = true;
    if (bytes.size() < HeaderObjectFixedSize) return tag;

    // The children lie within the header object; other objects (file and
    // stream properties, padding) may come before the description.
    const uint64_t headerSize = LittleEndian(bytes, 16, 8);
    const size_t end = static_cast<size_t>(std::min<uint64_t>(headerSize, bytes.size()));
    size_t at = HeaderObjectFixedSize;
    while (at + ObjectHeaderSize <= end) {
        const uint64_t size = LittleEndian(bytes, at + 16, 8);
        if (size < ObjectHeaderSize || size > end - at) break;  // damaged: stop walking
        if (bytes.substr(at, 16) == ContentDescriptionGuid) {
            if (size >= DescriptionFixedSize)
                ReadDescription(bytes.substr(at, static_cast<size_t>(size)), tag);
            break;
        }
        at += static_cast<size_t>(size);
    }
    return tag;
}

ID3v2Data ReadASFTags(int32_t handle) {
    if (FileSeek(handle, 0, 0) != 0) return ID3v2Data{};
    const std::string start = FileRead(handle, static_cast<int32_t>(HeaderObjectFixedSize));
    if (!IsASFFile(start)) return ID3v2Data{};
    if (start.size() < HeaderObjectFixedSize) return ParseASFTags(start);

    // Never read more than the file holds, whatever the header claims.
    const int64_t claimed = static_cast<int64_t>(
        std::min<uint64_t>(LittleEndian(start, 16, 8), static_cast<uint64_t>(MaxHeaderRead)));
    const int64_t size = std::min<int64_t>(claimed, FileLength(handle));
    if (size <= static_cast<int64_t>(start.size())) return ParseASFTags(start);
    if (FileSeek(handle, 0, 0) != 0) return ParseASFTags(start);
    return ParseASFTags(FileRead(handle, static_cast<int32_t>(size)));
}

}  // namespace tessaly
