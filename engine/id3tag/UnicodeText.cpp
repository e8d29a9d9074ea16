#include "UnicodeText.h"

#include "engine/Utf8Text.h"

#include <cstdint>

namespace tessaly {

namespace {

bool IsHighSurrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::u32string DecodeUTF16(std::string_view bytes, bool bigEndian) {
    std::u32string out;
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) -> uint32_t {
        auto hi = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 0 : 1)]);
        auto lo = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
        return (static_cast<uint32_t>(hi) << 8) | lo;
    };
    for (size_t i = 0; i < units; ++i) {
        uint32_t u = unit(i);
        if (IsHighSurrogate(u) && i + 1 < units && IsLowSurrogate(unit(i + 1))) {
            out += static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else {
            out += static_cast<char32_t>(u);
        }
    }
    return out;
}

std::u32string DecodeUTF8(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        char32_t c;
        NextUtf8Char(bytes, at, c);  // a byte that is not UTF-8 stands for itself
        out += c;
    }
    return out;
}

std::u32string DecodeCodePoints(std::string_view bytes, int encoding) {
    switch (encoding) {
        case 0: {
            std::u32string out;
            for (unsigned char c : bytes) out += static_cast<char32_t>(c);
            return out;
        }
        case 2:
            return DecodeUTF16(bytes, true);
        case 3:
            return DecodeUTF8(bytes);
        default:
            if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
                static_cast<unsigned char>(bytes[1]) == 0xFF)
                return DecodeUTF16(bytes.substr(2), true);
            if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                static_cast<unsigned char>(bytes[1]) == 0xFE)
                return DecodeUTF16(bytes.substr(2), false);
            return DecodeUTF16(bytes, false);
    }
}

std::string EncodeUTF16WithBOM(std::u32string_view text) {
    std::string out("\xFF\xFE", 2);
    auto put = [&out](uint32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>((unit >> 8) & 0xFF);
    };
    for (char32_t c : text) {
        auto code = static_cast<uint32_t>(c);
        if (code >= 0x10000 && code <= 0x10FFFF) {
            code -= 0x10000;
            put(0xD800 + (code >> 10));
            put(0xDC00 + (code & 0x3FF));
        } else {
            put(code & 0xFFFF);
        }
    }
    return out;
}

size_t TextFieldLength(std::string_view bytes, int encoding, size_t* terminatorSize) {
    const bool wide = encoding != 0 && encoding != 3;  // the UTF-16 forms
    if (wide) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            if (bytes[i] == '\0' && bytes[i + 1] == '\0') {
                if (terminatorSize) *terminatorSize = 2;
                return i;
            }
        }
    } else {
        size_t at = bytes.find('\0');
        if (at != std::string_view::npos) {
            if (terminatorSize) *terminatorSize = 1;
            return at;
        }
    }
    if (terminatorSize) *terminatorSize = 0;
    return bytes.size();
}

}  // namespace tessaly
