// The text decoders of the ID3v2 reader (declared in ID3v2Reader.h).
#include "engine/Utf8Text.h"
#include "engine/id3tag/Genres.h"
#include "engine/id3tag/ID3v2Reader.h"
#include "engine/id3tag/UnicodeText.h"

#include <algorithm>

namespace tessaly {

namespace {

enum Encoding { Latin1 = 0, UTF16WithBOM = 1, UTF16BE = 2, UTF8 = 3 };

// Offset just after the description that starts at `from`: its terminator is
// one zero byte in single-byte encodings, two zero bytes at an even distance
// from the description's start in UTF-16. npos when there is none.
size_t AfterDescription(std::string_view bytes, size_t from, int encoding) {
    if (from > bytes.size()) return std::string_view::npos;
    size_t terminator = 0;
    const size_t length = TextFieldLength(bytes.substr(from), encoding, &terminator);
    return terminator ? from + length + terminator : std::string_view::npos;
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
    // Text ends at its first zero character, whatever the encoding.
    std::u32string text = DecodeCodePoints(bytes, encoding);
    text.resize(std::min(text.size(), text.find(U'\0')));
    return EncodeUtf8(text);
}

std::vector<std::string> DecodeTextValues(std::string_view bytes, int encoding) {
    std::vector<std::string> values;
    const std::u32string text = DecodeCodePoints(bytes, encoding);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = std::min(text.size(), text.find(U'\0', start));
        values.push_back(EncodeUtf8(std::u32string_view(text).substr(start, end - start)));
        start = end + 1;
    }
    // A terminator after the last value ends it; it does not start another.
    while (values.size() > 1 && values.back().empty()) values.pop_back();
    return values;
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
    // URLs are ISO-8859-1 by the format; one written as UTF-8 reads as such.
    const std::string_view bytes = body.substr(url);
    return FileNameToTagText(bytes.substr(0, bytes.find('\0')));
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
