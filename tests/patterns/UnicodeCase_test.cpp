#include "patterns/UnicodeCase.h"
#include "patterns/Utils.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

using namespace tessaly;

namespace {

struct CaseRow {
    const char* in;
    const char* upper;
    const char* lower;
    const char* mixed;
};

// UTF-8 words of each script the mapping covers, and the characters it must
// leave alone.
const CaseRow Words[] = {
    {"пЕСНЯ о ДРУГЕ", "ПЕСНЯ О ДРУГЕ", "песня о друге", "Песня О Друге"},
    {"ΚΑΛΗΜΈΡΑ κόσμε", "ΚΑΛΗΜΈΡΑ ΚΌΣΜΕ", "καλημέρα κόσμε", "Καλημέρα Κόσμε"},
    {"ÉCOLE łódź ŐRÜLT", "ÉCOLE ŁÓDŹ ŐRÜLT", "école łódź őrült", "École Łódź Őrült"},
    {"tiếng việt", "TIẾNG VIỆT", "tiếng việt", "Tiếng Việt"},
    {"їжак ґанок ԁԃ", "ЇЖАК ҐАНОК ԀԂ", "їжак ґанок ԁԃ", "Їжак Ґанок Ԁԃ"},
    {"բարեւ ՀԱՅ", "ԲԱՐԵՒ ՀԱՅ", "բարեւ հայ", "Բարեւ Հայ"},
    {"ｆｕｌｌ ＷＩＤＴＨ", "ＦＵＬＬ ＷＩＤＴＨ", "ｆｕｌｌ ｗｉｄｔｈ", "Ｆｕｌｌ Ｗｉｄｔｈ"},
    {"ǆungla ȼ", "ǄUNGLA Ȼ", "ǆungla ȼ", "Ǆungla Ȼ"},
    {"ἀθῆναι", "ἈΘῆΝΑΙ", "ἀθῆναι", "Ἀθῆναι"},
    // Final sigma has no capital of its own; Σ lower-cases to σ.
    {"ς σ Σ", "Σ Σ Σ", "ς σ σ", "Σ Σ Σ"},
    // ß and µ stay; ÿ's capital is U+0178.
    {"ß µ ÿ Ÿ", "ß µ Ÿ Ÿ", "ß µ ÿ ÿ", "ß µ Ÿ Ÿ"},
    {"日本語 ☃ 😀 ½", "日本語 ☃ 😀 ½", "日本語 ☃ 😀 ½", "日本語 ☃ 😀 ½"},
    // Bytes that are not UTF-8 are ISO-8859-1 characters, written back as
    // one byte: \xE9 é, \xC9 É; \xFF ÿ has no one-byte capital and stays.
    {"\xE9t\xE9 \xFF", "\xC9T\xC9 \xFF", "\xE9t\xE9 \xFF", "\xC9t\xE9 \xFF"},
    // A lead byte without its continuation, an overlong form, a surrogate, a
    // stray continuation byte: each byte is a character of its own.
    {"\xC3 x\xC0\xAF \xED\xA0\x80 \x80\xA0", "\xC3 X\xC0\xAF \xCD\xA0\x80 \x80\xA0",
     "\xE3 x\xE0\xAF \xED\xA0\x80 \x80\xA0", "\xC3 X\xE0\xAF \xCD\xA0\x80 \x80\xA0"},
    // Valid and invalid side by side.
    {"é\xE9", "É\xC9", "é\xE9", "É\xE9"},
};

}  // namespace

TEST(UnicodeCase, WordsOfEachScript) {
    for (const CaseRow& r : Words) {
        SCOPED_TRACE(r.in);
        EXPECT_EQ(UpperCase(r.in), r.upper);
        EXPECT_EQ(LowerCase(r.in), r.lower);
        EXPECT_EQ(MixedCase(r.in), r.mixed);
    }
}

TEST(UnicodeCase, EqualsIgnoringCase) {
    struct Row {
        const char* a;
        const char* b;
        bool equal;
    };
    const Row rows[] = {
        {".MP3", ".mp3", true},    {"ПЕСНЯ", "песня", true}, {"ΣΟΦΊΑ", "σοφία", true},
        {"ς", "Σ", true},          {"ς", "σ", true},         {"ＡＢ", "ａｂ", true},
        {"\xC9", "\xE9", true},    {"\xDF", "\xFF", false},  {"ß", "SS", false},
        {"песня", "песни", false}, {"a", "ab", false},       {"", "", true},
    };
    for (const Row& r : rows) EXPECT_EQ(EqualsIgnoringCase(r.a, r.b), r.equal) << r.a << " " << r.b;
}

namespace {

std::string UTF8(char32_t c) {
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    if (c < 0x800) return {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    if (c < 0x10000)
        return {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                static_cast<char>(0x80 | (c & 0x3F))};
    return {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
            static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
}

}  // namespace

// Every code point decodes from its UTF-8 and maps as its text does; every
// pair in the table maps back (a damaged run breaks one), apart from the
// letters whose partner maps elsewhere: dotless ı, long ſ, final ς, the Greek
// symbol forms, İ, ẞ, the titlecase digraphs.
TEST(UnicodeCase, PairsMapBackAndTextMapsAsItsCharacters) {
    const std::u32string oneWay =
        U"\u0131\u017F\u03C2\u03D0\u03D1\u03D5\u03D6\u03F0\u03F1\u03F5\u1E9B\u1FBE"
        U"\u0130\u03F4\u1E9E\u01C5\u01C8\u01CB\u01F2";
    int mapped = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string text = UTF8(c);
        const TextCharacter decoded = CharacterAt(text, 0);
        ASSERT_TRUE(decoded.valid && decoded.code == c && decoded.length == text.size())
            << std::hex << uint32_t(c);
        const char32_t upper = UpperCaseOf(c), lower = LowerCaseOf(c);
        if (upper == c && lower == c) continue;
        ++mapped;
        EXPECT_EQ(UpperCase(text), UTF8(upper));
        EXPECT_EQ(LowerCase(text), UTF8(lower));
        if (oneWay.find(c) != std::u32string::npos) continue;
        if (upper != c) {
            EXPECT_EQ(LowerCaseOf(upper), c) << std::hex << uint32_t(c);
        }
        if (lower != c) {
            EXPECT_EQ(UpperCaseOf(lower), c) << std::hex << uint32_t(c);
        }
    }
    // Roughly the letters of the covered blocks; far fewer means a block went
    // missing.
    EXPECT_GT(mapped, 1400);
    EXPECT_LT(mapped, 1700);
}

// No locale is consulted: a Turkish locale (where i upper-cases to İ) changes
// nothing, and the code calls none of the C library's locale-dependent case
// functions.
TEST(UnicodeCase, SameUnderEveryLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    for (const char* locale : {"tr_TR.UTF-8", "tr_TR.ISO-8859-9", "C.UTF-8", "C"}) {
        if (!std::setlocale(LC_ALL, locale)) continue;
        SCOPED_TRACE(locale);
        EXPECT_EQ(UpperCase("istanbul ıi"), "ISTANBUL II");
        for (const CaseRow& r : Words) EXPECT_EQ(MixedCase(r.in), r.mixed);
    }
    std::setlocale(LC_ALL, saved.c_str());

    if (!testsupport::HaveTool("nm")) GTEST_SKIP() << "nm not installed";
    std::string symbols;
    ASSERT_EQ(testsupport::Run("nm -u -C " + testsupport::ShellQuote(PATTERNS_LIBRARY), &symbols),
              0);
    std::istringstream lines(symbols);
    std::string member;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == ':') member = line;
        if (member.find("UnicodeCase") == std::string::npos &&
            member.find("Utils") == std::string::npos)
            continue;
        for (const char* name : {"toupper", "tolower", "towupper", "towlower", "setlocale",
                                 "uselocale", "newlocale", "ctype<wchar_t>"})
            EXPECT_EQ(line.find(name), std::string::npos) << member << " " << line;
    }
}
