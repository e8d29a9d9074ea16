// Conversions between the engine's byte strings (one char per byte, code =
// byte value) and UTF-8, the encoding of file names and terminal output here.
#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// Each byte b becomes the code point U+00bb, written in UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// Decodes valid UTF-8 into one byte per code point (code points above 0xFF
// become "?"). Returns false, leaving `out` untouched, when `text` is not
// valid UTF-8.
bool Utf8ToLatin1(std::string_view text, std::string& out);

// The UTF-8 reading of `text` when it is valid UTF-8, else its bytes as they
// are: how text from the system (file names, command-line arguments) becomes
// tag text.
std::string FileNameToTagText(std::string_view text);

}  // namespace tessaly
