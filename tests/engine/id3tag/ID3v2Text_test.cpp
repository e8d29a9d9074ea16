#include "engine/id3tag/ID3v2Reader.h"

#include "support/ID3Builders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tessaly;
using namespace std::string_literals;
using namespace testsupport::id3;
using testsupport::Hex;

TEST(DecodeText, EachEncodingToUTF8) {
    struct Case {
        const char* name;
        std::string bytes;
        int encoding;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"single-byte text stops at its zero byte", "Caf\xE9\0rest"s, 0, "Café"},
        {"single-byte text without terminator", "Abc", 0, "Abc"},
        {"UTF-16 little-endian mark", Hex("FF FE 61 00 E9 00"), 1, "aé"},
        {"UTF-16 big-endian mark", Hex("FE FF 00 61 00 E9"), 1, "aé"},
        {"UTF-16 without a mark is little-endian from its first byte", Hex("61 00 62 00"), 1, "ab"},
        {"UTF-16 stops at the first NUL", Hex("FF FE 61 00 00 00 62 00"), 1, "a"},
        {"UTF-16 odd last byte is dropped", Hex("FF FE 61 00 62"), 1, "a"},
        {"UTF-16 beyond Latin-1", Hex("FF FE 41 01 42 00"), 1, "ŁB"},
        {"UTF-16 low byte 0 is no terminator", Hex("FF FE 00 01 62 00"), 1, "Āb"},
        {"UTF-16 surrogate pair is one code point", Hex("FF FE 3D D8 41 DE 62 00"), 1, "\xF0\x9F\x99\x81" "b"},
        {"UTF-16 lone surrogate", Hex("FF FE 3D D8 62 00"), 1, "\xEF\xBF\xBD" "b"},
        {"UTF-16BE", Hex("00 61 01 41 00 00 00 62"), 2, "aŁ"},
        {"UTF-16BE odd length", Hex("00 61 00"), 2, "a"},
        {"UTF-8", "a\xC3\xA9\xC5\x81", 3, "aéŁ"},
        {"UTF-8 four-byte sequence", "\xF0\x9F\x98\x80x", 3, "\xF0\x9F\x98\x80x"},
        {"UTF-8 stops at NUL", std::string("ab\0cd", 5), 3, "ab"},
        {"UTF-8 invalid bytes read as Latin-1", "Caf\xE9 \xC3", 3, "Café Ã"},
        {"UTF-8 overlong form is not a NUL",
         "a\xC0\x80"
         "b",
         3,
         "aÀ\xC2\x80"
         "b"},
        {"other encoding values read like 1", Hex("FF FE 61 00"), 7, "a"},
        {"empty", "", 1, ""},
        {"mark only", Hex("FE FF"), 1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeText(c.bytes, c.encoding), c.expected) << c.name;
}

// The description ends at its terminator in the frame's encoding; two zero
// bytes count only at an even distance from the description's first byte.
TEST(DecodeComment, SkipsTheDescriptionByItsTerminator) {
    struct Case {
        const char* name;
        std::string body;  // with the encoding byte
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"single-byte", CommentBody(0, "eng", "abc", "Hello"), "Hello"},
        {"empty description", CommentBody(0, "eng", "", "Hello"), "Hello"},
        {"UTF-16 with marks", CommentBody(1, "eng", UTF16LE("desc"), UTF16LE("Hello")), "Hello"},
        {"UTF-16 empty description", CommentBody(1, "eng", "", UTF16LE("Hi")), "Hi"},
        {"UTF-16 zero pair at an odd offset",
         CommentBody(1, "eng", Hex("FF FE 61 00 00 01"), UTF16LE("Hello")), "Hello"},
        {"UTF-16 description without mark",
         CommentBody(1, "eng", UTF16LE("de", false), UTF16LE("Hello", false)), "Hello"},
        {"UTF-16BE", CommentBody(2, "eng", UTF16BE("desc"), UTF16BE("Hello")), "Hello"},
        {"UTF-8 multi-byte description", CommentBody(3, "eng", "\xC3\xA9t\xC3\xA9", "Hello"),
         "Hello"},
        {"no terminator", std::string("\0engdescription", 15), ""},
        {"shorter than the language", std::string("\0en", 3), ""},
        {"odd-length UTF-16 text", CommentBody(1, "eng", "", UTF16LE("Hi") + "x"), "Hi"},
    };
    for (const auto& c : cases) {
        const std::string_view body = c.body;
        EXPECT_EQ(DecodeComment(body.substr(1), static_cast<uint8_t>(body[0])), c.expected)
            << c.name;
    }
}

TEST(DecodeURL, SkipsAnyDescriptionAndReadsSingleByteText) {
    struct Case {
        const char* name;
        std::string body;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"empty description", std::string("\0\0http://a.example/", 19), "http://a.example/"},
        {"description", std::string("\0home\0http://a.example/", 23), "http://a.example/"},
        {"UTF-16 description, single-byte URL",
         "\x01" + UTF16LE("home") + std::string(2, '\0') + "http://a.example/",
         "http://a.example/"},
        {"UTF-16 empty description", std::string("\x01\0\0http://x/", 12), "http://x/"},
        {"URL ends at a zero byte", std::string("\0\0http://x/\0junk", 16), "http://x/"},
        {"no terminator", std::string("\0http://x/", 10), ""},
        {"empty body", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeURL(c.body), c.expected) << c.name;
}

TEST(ResolveGenre, ReferencesAndRefinements) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"(17)", "Rock"},
        {"(17)Rock", "Rock"},
        {"(17)rock", "Rock"},
        {"(17)Pop Rock", "Rock/Pop Rock"},
        {"(17)  Pop Rock  ", "Rock/Pop Rock"},
        {"(200)", ""},
        {"(148)", ""},
        {"(147)", "Synthpop"},
        {"(99999999999999999999)", ""},
        {"Trance", "Trance"},
        {"", ""},
        {"(17", "Rock"},
        {"(RX)", "Remix"},
        {"(CR)", "Cover"},
        {"(RX)Dub", "Remix/Dub"},
        {"(17)(32)", "Rock"},
    };
    for (const auto& [text, genre] : cases) EXPECT_EQ(ResolveGenre(text), genre) << text;
}
