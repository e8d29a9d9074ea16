#include "Utf8Text.h"

#include <cstdint>

namespace tessaly {

bool NextUtf8Char(std::string_view text, size_t& at, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        code = lead;
        ++at;
        return true;
    }
    const size_t extra = lead >= 0xF0 && lead <= 0xF4   ? 3
                         : lead >= 0xE0 && lead <= 0xEF ? 2
                         : lead >= 0xC2 && lead <= 0xDF ? 1
                                                        : 0;
    uint32_t value = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : lead & 0x1Fu;
    bool valid = extra > 0 && text.size() - at > extra;
    for (size_t k = 1; valid && k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) valid = false;
        value = (value << 6) | (next & 0x3Fu);
    }
    if (valid && ((extra == 2 && value < 0x800) ||
                  (extra == 3 && (value < 0x10000 || value > 0x10FFFF)) ||
                  (value >= 0xD800 && value <= 0xDFFF)))
        valid = false;
    if (!valid) {
        code = lead;
        ++at;
        return false;
    }
    code = static_cast<char32_t>(value);
    at += extra + 1;
    return true;
}

void AppendUtf8(std::string& out, char32_t code) {
    uint32_t c = code;
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) AppendUtf8(out, c);
    return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) AppendUtf8(out, c);
    return out;
}

std::string Utf8ToLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        NextUtf8Char(text, at, c);
        out += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return out;
}

bool FitsLatin1(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        if (!NextUtf8Char(text, at, c) || c > 0xFF) return false;
    }
    return true;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        if (!NextUtf8Char(text, at, c)) return false;
    }
    return true;
}

std::string FileNameToTagText(std::string_view text) {
    return IsValidUtf8(text) ? std::string(text) : Latin1ToUtf8(text);
}

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); ++count) {
        char32_t c;
        NextUtf8Char(text, at, c);
    }
    return count;
}

std::string_view FirstCharacters(std::string_view text, size_t count) {
    size_t at = 0;
    for (size_t n = 0; n < count && at < text.size(); ++n) {
        char32_t c;
        NextUtf8Char(text, at, c);
    }
    return text.substr(0, at);
}

}  // namespace tessaly
