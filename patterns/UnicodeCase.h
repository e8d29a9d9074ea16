// Upper- and lower-case mapping of Unicode letters, our own and the same on
// every machine whatever its locale: a file converted here and there must
// come out identical. One character maps to one character (the simple case
// mappings): ß and the micro sign µ stay as they are, final sigma ς
// upper-cases to Σ and Σ lower-cases to σ.
//
// Covered: ASCII, Latin-1, Latin Extended-A and -B (with their partners in
// IPA Extensions and Latin Extended-C), Latin Extended Additional, Greek and
// Greek Extended, Cyrillic and its Supplement, Armenian and fullwidth Latin.
// Everything else maps to itself.
//
// Text is UTF-8. A byte that does not belong to a valid UTF-8 sequence is
// taken as the ISO-8859-1 character of that value, so text stored one byte
// per character converts as it always has (\xE9 <-> \xC9); it is written
// back as one byte, and left alone when its partner does not fit in one
// (\xFF, whose capital is U+0178). Any character the mapping leaves alone
// comes out as exactly the bytes it came in as.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly {

char32_t UpperCaseOf(char32_t c);
char32_t LowerCaseOf(char32_t c);

std::string UpperCase(std::string_view utf8);
std::string LowerCase(std::string_view utf8);

// True when both texts have the same characters once upper-cased (ς, σ and Σ
// are one letter here), so that it agrees with UpperCase used as a key.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// One character of UTF-8 text: its code point and how many bytes it takes.
// An invalid byte is one character: the ISO-8859-1 character of that value,
// with `valid` false.
struct TextCharacter {
    char32_t code = 0;
    size_t length = 0;
    bool valid = true;
};

// The character starting at `at` (< text.size()).
TextCharacter CharacterAt(std::string_view text, size_t at);

// Appends `mapped`, what character `from` (at `at` in `text`) maps to, to
// `out`: the original bytes when the mapping left it alone, one byte for an
// invalid byte whose partner fits in one, else its UTF-8.
void AppendMapped(std::string& out, std::string_view text, size_t at, const TextCharacter& from,
                  char32_t mapped);

}  // namespace tessaly
