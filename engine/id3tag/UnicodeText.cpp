#include "UnicodeText.h"

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
    size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        size_t extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 && lead <= 0xEF ? 2
                     : lead >= 0xC2 && lead <= 0xDF ? 1 : 0;
        uint32_t code = extra == 3 ? lead & 0x07 : extra == 2 ? lead & 0x0F : lead & 0x1F;
        bool valid = lead < 0x80 || extra > 0;
        if (extra > 0) {
            if (i + extra >= bytes.size()) valid = false;
            for (size_t k = 1; valid && k <= extra; ++k) {
                auto next = static_cast<unsigned char>(bytes[i + k]);
                if ((next & 0xC0) != 0x80) valid = false;
                code = (code << 6) | (next & 0x3Fu);
            }
            if (valid && ((extra == 2 && code < 0x800) ||
                          (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
                          (code >= 0xD800 && code <= 0xDFFF)))
                valid = false;
        }
        if (lead < 0x80) {
            out += static_cast<char32_t>(lead);
            ++i;
        } else if (valid) {
            out += static_cast<char32_t>(code);
            i += extra + 1;
        } else {
            out += static_cast<char32_t>(lead);  // not UTF-8: the byte as itself
            ++i;
        }
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

char NarrowCodePoint(char32_t codePoint) {
    if (codePoint <= 0xFF) return static_cast<char>(codePoint);
    const auto low = static_cast<unsigned char>(codePoint & 0xFF);
    return low != 0 ? static_cast<char>(low) : '?';
}

std::string NarrowText(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) out += NarrowCodePoint(c);
    return out;
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
