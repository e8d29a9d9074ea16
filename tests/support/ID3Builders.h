// Byte builders for ID3v2 frames and tags and ID3v1 trailers, shared by the
// tag reader and writer tests.
#pragma once

#include "support/TestSupport.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace testsupport::id3 {

// The size field of a frame header: 3 bytes in 2.2, 4 plain bytes in 2.3,
// 4 synchsafe bytes in 2.4.
inline std::string FrameSizeField(int version, uint32_t size) {
    if (version <= 2) return BE24(size);
    return version == 4 ? Synchsafe(size) : BE32(size);
}

// A frame header with the size field given as raw bytes, then `body`.
inline std::string RawFrame(std::string_view id, const std::string& sizeField,
                            std::string_view body, int version, uint16_t flags = 0) {
    std::string out(id);
    out += sizeField;
    if (version >= 3) out += {static_cast<char>(flags >> 8), static_cast<char>(flags & 0xFF)};
    out += body;
    return out;
}

// A frame whose size field holds the body's length in `version`'s form.
inline std::string Frame(int version, std::string_view id, std::string_view body,
                         uint16_t flags = 0) {
    return RawFrame(id, FrameSizeField(version, static_cast<uint32_t>(body.size())), body, version,
                    flags);
}

// A text frame: encoding byte, then the text as given (already encoded).
inline std::string TextFrame(int version, std::string_view id, std::string_view text,
                             int encoding = 0) {
    std::string body(1, static_cast<char>(encoding));
    body += text;
    return Frame(version, id, body);
}

// A COMM (COM) body: encoding, language, description, terminator, text; the
// description and text are given already encoded.
inline std::string CommentBody(int encoding, std::string_view language,
                               std::string_view description, std::string_view text) {
    std::string body(1, static_cast<char>(encoding));
    body += language;
    body += description;
    body += (encoding == 1 || encoding == 2) ? std::string(2, '\0') : std::string(1, '\0');
    body += text;
    return body;
}

// UTF-16 little-endian with its byte-order mark, for ASCII `text`.
inline std::string UTF16LE(std::string_view text, bool withMark = true) {
    std::string out = withMark ? std::string("\xFF\xFE") : std::string();
    for (char c : text) out += {c, '\0'};
    return out;
}

// UTF-16 big-endian, for ASCII `text`.
inline std::string UTF16BE(std::string_view text, bool withMark = false) {
    std::string out = withMark ? std::string("\xFE\xFF") : std::string();
    for (char c : text) out += {'\0', c};
    return out;
}

// The format's unsynchronisation: a zero byte after every FF that is followed
// by a byte of 0xE0 or more, by a zero byte, or that ends the data.
inline std::string Unsynchronise(std::string_view bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (static_cast<unsigned char>(bytes[i]) != 0xFF) continue;
        if (i + 1 == bytes.size() || static_cast<unsigned char>(bytes[i + 1]) >= 0xE0 ||
            bytes[i + 1] == '\0')
            out += '\0';
    }
    return out;
}

// An extended header as the version stores it: 2.3's size counts the six
// bytes after its own field, 2.4's is synchsafe and counts itself.
inline std::string ExtendedHeader(int version) {
    if (version == 4) return Synchsafe(6) + std::string("\x01\x00", 2);
    return BE32(6) + std::string(6, '\0');
}

struct TagOptions {
    int revision = 0;
    int flags = 0;          // header flags as stored
    size_t padding = 0;     // zero bytes after the frames
    bool extended = false;  // add an extended header (sets flag 0x40)
    bool unsync = false;    // unsynchronise the whole tag (sets flag 0x80)
};

// A whole tag: header, optional extended header, `frames`, padding. The size
// field counts what follows the header as stored.
inline std::string Tag(int version, const std::string& frames, TagOptions options = {}) {
    std::string body;
    int flags = options.flags;
    if (options.extended) {
        body += ExtendedHeader(version);
        flags |= 0x40;
    }
    body += frames;
    body += std::string(options.padding, '\0');
    if (options.unsync) {
        body = Unsynchronise(body);
        flags |= 0x80;
    }
    std::string out = "ID3";
    out +=
        {static_cast<char>(version), static_cast<char>(options.revision), static_cast<char>(flags)};
    out += Synchsafe(static_cast<uint32_t>(body.size()));
    return out + body;
}

// A 128-byte ID3v1 trailer from raw field bytes (each padded with zeros to
// its width); `comment` is the whole 30-byte comment area.
inline std::string Trailer(std::string_view title, std::string_view artist, std::string_view album,
                           std::string_view year, std::string_view comment, int genre) {
    auto field = [](std::string_view text, size_t width) {
        std::string out(text.substr(0, width));
        out.resize(width, '\0');
        return out;
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
           field(comment, 30) + std::string(1, static_cast<char>(genre));
}

}  // namespace testsupport::id3
