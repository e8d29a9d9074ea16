// The text decoders of the ID3v2 reader (declared in ID3v2Reader.h).
#include "engine/id3tag/Genres.h"
#include "engine/id3tag/ID3v2Reader.h"

#include <algorithm>

namespace tessaly {

namespace {

enum Encoding { Latin1 = 0, UTF16WithBOM = 1, UTF16BE = 2, UTF8 = 3 };

void AppendNarrowed(uint32_t codePoint, std::string& out) {
    if (codePoint <= 0xFF) {
        out += static_cast<char>(codePoint);
        return;
    }
    const uint8_t low = codePoint & 0xFF;
    out += low != 0 ? static_cast<char>(low) : '?';
}

std::string DecodeUTF16(std::string_view bytes, bool bigEndian) {
    auto unit = [&](size_t at) -> uint32_t {
        const uint8_t a = static_cast<uint8_t>(bytes[at]);
        const uint8_t b = static_cast<uint8_t>(bytes[at + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    std::string out;
    // An odd last byte is half a code unit and is dropped.
    for (size_t at = 0; at + 1 < bytes.size();) {
        uint32_t codePoint = unit(at);
        at += 2;
        if (codePoint == 0) break;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF && at + 1 < bytes.size()) {
            const uint32_t low = unit(at);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        AppendNarrowed(codePoint, out);
    }
    return out;
}

// Length and first bits of the UTF-8 sequence a lead byte opens; 0 when it
// cannot open one.
size_t SequenceLength(uint8_t lead, uint32_t& bits) {
    if ((lead & 0xE0) == 0xC0) {
        bits = lead & 0x1F;
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        bits = lead & 0x0F;
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        bits = lead & 0x07;
        return 4;
    }
    return 0;
}

std::string DecodeUTF8(std::string_view bytes) {
    static constexpr uint32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    std::string out;
    for (size_t at = 0; at < bytes.size();) {
        const uint8_t lead = static_cast<uint8_t>(bytes[at]);
        if (lead == 0) break;
        uint32_t codePoint = 0;
        const size_t length = lead < 0x80 ? 1 : SequenceLength(lead, codePoint);
        bool valid = length == 1 || (length > 1 && at + length <= bytes.size());
        for (size_t i = 1; valid && i < length; ++i) {
            const uint8_t next = static_cast<uint8_t>(bytes[at + i]);
            valid = (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (length == 1) codePoint = lead;
        if (valid && length > 1)
            valid = codePoint >= Smallest[length] && codePoint <= 0x10FFFF &&
                    (codePoint < 0xD800 || codePoint > 0xDFFF);
        if (!valid) {
            // Tags marked UTF-8 that hold single-byte text are common; keep
            // such a byte as it is rather than lose it.
            out += static_cast<char>(lead);
            ++at;
            continue;
        }
        AppendNarrowed(codePoint, out);
        at += length;
    }
    return out;
}

// Offset just after the description that starts at `from`: its terminator is
// one zero byte in single-byte encodings, two zero bytes at an even distance
// from the description's start in UTF-16. npos when there is none.
size_t AfterDescription(std::string_view bytes, size_t from, int encoding) {
    if (from > bytes.size()) return std::string_view::npos;
    if (encoding == Latin1 || encoding == UTF8) {
        const size_t zero = bytes.find('\0', from);
        return zero == std::string_view::npos ? zero : zero + 1;
    }
    for (size_t at = from; at + 1 < bytes.size(); at += 2) {
        if (bytes[at] == '\0' && bytes[at + 1] == '\0') return at + 2;
    }
    return std::string_view::npos;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string DecodeText(std::string_view bytes, int encoding) {
    switch (encoding) {
        case Latin1:
            return std::string(bytes.substr(0, bytes.find('\0')));
        case UTF16BE:
            return DecodeUTF16(bytes, true);
        case UTF8:
            return DecodeUTF8(bytes);
        default:
            break;
    }
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return DecodeUTF16(bytes.substr(2), false);
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return DecodeUTF16(bytes.substr(2), true);
    return DecodeUTF16(bytes, false);  // no mark: little-endian, as most writers use
}

std::string DecodeComment(std::string_view bytes, int encoding) {
    // Three bytes of language, then the description.
    const size_t text = AfterDescription(bytes, 3, encoding);
    if (text == std::string_view::npos) return {};
    return DecodeText(bytes.substr(text), encoding);
}

std::string DecodeURL(std::string_view body) {
    if (body.empty()) return {};
    const size_t url = AfterDescription(body, 1, static_cast<uint8_t>(body[0]));
    if (url == std::string_view::npos) return {};
    return DecodeText(body.substr(url), Latin1);
}

std::string ResolveGenre(const std::string& text) {
    if (text.empty() || text[0] != '(') return text;
    std::string genre;
    if (text.starts_with("(RX)")) {
        genre = "Remix";
    } else if (text.starts_with("(CR)")) {
        genre = "Cover";
    } else {
        int number = 0;  // "(" without digits refers to genre 0
        for (size_t at = 1; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
            number = std::min(number * 10 + (text[at] - '0'), 1000);
        genre = GenreName(number);
        if (genre.empty()) return {};
    }
    // A reference without ")" has no refinement.
    const size_t close = text.rfind(')');
    const std::string refinement =
        close == std::string::npos ? std::string() : TrimSpaces(text.substr(close + 1));
    if (!refinement.empty() && Upper(refinement) != Upper(genre)) return genre + "/" + refinement;
    return genre;
}

}  // namespace tessaly
