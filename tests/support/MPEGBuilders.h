// Byte builders for MPEG audio frames, Xing headers and ASF headers, shared by
// the reader tests and the support library's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// Where a Xing header stands in the frame that starts with `header`: after
// the side information, whose size depends on the version and channel count.
inline size_t XingOffset(std::string_view header) {
    const bool version1 = (static_cast<unsigned char>(header[1]) >> 3) & 1;
    const bool mono = (static_cast<unsigned char>(header[3]) >> 6) == 3;
    return version1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
}

inline std::string BigEndian32(uint32_t v) {
    return Bytes({static_cast<int>(v >> 24 & 0xFF), static_cast<int>(v >> 16 & 0xFF),
                  static_cast<int>(v >> 8 & 0xFF), static_cast<int>(v & 0xFF)});
}

struct XingFields {
    uint32_t flags = 0x0F;
    uint32_t frames = 1000;
    uint32_t bytes = 400000;
    std::string toc = std::string(100, '\0');  // 100 bytes
    uint32_t scale = 78;
    std::string name = "Xing";  // "Info" in constant-rate streams
};

// A frame of `size` bytes (zero filled) beginning with the 4-byte `header`,
// carrying a Xing header at its proper offset (or at `offset` when given).
inline std::string XingFrame(std::string_view header, const XingFields& xing = {},
                             size_t size = 417, size_t offset = 0) {
    std::string frame(header);
    frame.resize(offset ? offset : XingOffset(header), '\0');
    frame += xing.name + BigEndian32(xing.flags);
    if (xing.flags & 1) frame += BigEndian32(xing.frames);
    if (xing.flags & 2) frame += BigEndian32(xing.bytes);
    if (xing.flags & 4) frame += xing.toc;
    if (xing.flags & 8) frame += BigEndian32(xing.scale);
    if (frame.size() < size) frame.resize(size, '\0');
    return frame;
}

// A frame of `size` bytes carrying a VBRI header 32 bytes after its 4-byte
// header: "VBRI", version 1, delay, quality, bytes, frames, then an empty
// seek table.
inline std::string VBRIFrame(std::string_view header, uint32_t bytes, uint32_t frames,
                             size_t size = 417) {
    std::string frame(header);
    frame.resize(36, '\0');
    frame += "VBRI" + Bytes({0, 1, 0x04, 0x60, 0, 75}) + BigEndian32(bytes) + BigEndian32(frames) +
             Bytes({0, 0, 0, 1, 0, 2, 0, 1});
    if (frame.size() < size) frame.resize(size, '\0');
    return frame;
}

// A plain frame: the header, then zeros.
inline std::string PlainFrame(std::string_view header, size_t size = 417) {
    std::string frame(header);
    frame.resize(size, '\0');
    return frame;
}

// An ID3v2.3 tag of `bodySize` zero bytes (padding only).
inline std::string EmptyID3v2Tag(uint32_t bodySize) {
    std::string tag = "ID3";
    tag += Bytes({3, 0, 0, static_cast<int>(bodySize >> 21 & 0x7F),
                  static_cast<int>(bodySize >> 14 & 0x7F), static_cast<int>(bodySize >> 7 & 0x7F),
                  static_cast<int>(bodySize & 0x7F)});
    tag.resize(10 + bodySize, '\0');
    return tag;
}

// --- ASF ---------------------------------------------------------------------

inline std::string LittleEndian(uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
    return out;
}

// A GUID in its stored form from the usual text form
// "75B22633-668E-11CF-A6D9-00AA0062CE6C": the first three groups little-endian.
inline std::string Guid(std::string_view text) {
    auto hex = [&](size_t at, size_t digits) {
        return std::stoull(std::string(text.substr(at, digits)), nullptr, 16);
    };
    std::string out =
        LittleEndian(hex(0, 8), 4) + LittleEndian(hex(9, 4), 2) + LittleEndian(hex(14, 4), 2);
    for (size_t at : {19, 21, 24, 26, 28, 30, 32, 34}) out += static_cast<char>(hex(at, 2));
    return out;
}

inline const std::string& HeaderObjectGuid() {
    static const std::string g = Guid("75B22630-668E-11CF-A6D9-00AA0062CE6C");
    return g;
}
inline const std::string& ContentDescriptionGuid() {
    static const std::string g = Guid("75B22633-668E-11CF-A6D9-00AA0062CE6C");
    return g;
}
inline const std::string& FilePropertiesGuid() {
    static const std::string g = Guid("8CABDCA1-A947-11CF-8EE4-00C00C205365");
    return g;
}

// An object: GUID, 64-bit size (of the whole object), payload.
inline std::string AsfObject(const std::string& guid, const std::string& payload,
                             uint64_t sizeOverride = 0) {
    return guid + LittleEndian(sizeOverride ? sizeOverride : 24 + payload.size(), 8) + payload;
}

// UTF-16LE of a byte string (each byte a code point), optionally terminated.
inline std::string Utf16(std::string_view text, bool terminator = true) {
    std::string out;
    for (char c : text) out += std::string(1, c) + '\0';
    if (terminator) out += std::string(2, '\0');
    return out;
}

// A content description from five stored (already UTF-16) strings.
inline std::string ContentDescription(const std::vector<std::string>& stored) {
    std::string payload;
    for (const std::string& s : stored) payload += LittleEndian(s.size(), 2);
    for (const std::string& s : stored) payload += s;
    return AsfObject(ContentDescriptionGuid(), payload);
}

// A header object holding `children` (object count, then two reserved bytes).
inline std::string AsfHeader(const std::vector<std::string>& children, uint64_t sizeOverride = 0) {
    std::string payload = LittleEndian(children.size(), 4) + Bytes({1, 2});
    for (const std::string& c : children) payload += c;
    return AsfObject(HeaderObjectGuid(), payload, sizeOverride);
}

}  // namespace testsupport
