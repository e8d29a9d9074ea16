// Text in memory is UTF-8 in std::string: tag text, file names, patterns,
// macros and settings alike. These are the conversions at the edges, where
// text meets a stored encoding (ISO-8859-1, UTF-16) or a system string that
// may not be valid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly {

// Reads the character at `at` and moves `at` past it. False when no valid
// UTF-8 sequence starts there (overlong forms, surrogates and values past
// U+10FFFF are not valid); `at` then moves one byte and `code` is that byte.
bool NextUtf8Char(std::string_view text, size_t& at, char32_t& code);

// Appends `code` in UTF-8. A surrogate or a value past U+10FFFF, which UTF-8
// cannot hold, becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t code);
std::string EncodeUtf8(std::u32string_view text);

// Each byte b becomes the character U+00bb.
std::string Latin1ToUtf8(std::string_view bytes);

// The text as ISO-8859-1 bytes: "?" for each character beyond U+00FF (and
// for each byte that is not valid UTF-8 but would be read as itself, the
// byte itself).
std::string Utf8ToLatin1(std::string_view text);

// True when every character is at most U+00FF and the text is valid UTF-8.
bool FitsLatin1(std::string_view text);

bool IsValidUtf8(std::string_view text);

// `text` when it is valid UTF-8, else its bytes read as ISO-8859-1: how a
// system string (a file name, an argument) becomes tag text.
std::string FileNameToTagText(std::string_view text);

// Characters, not bytes; an invalid byte counts as one character.
size_t CharacterCount(std::string_view text);
// The first `count` characters.
std::string_view FirstCharacters(std::string_view text, size_t count);

}  // namespace tessaly
