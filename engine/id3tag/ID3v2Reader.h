// Reading the fields the editor shows from an ID3v2 tag (versions 2.2, 2.3 and
// 2.4) at the start of an MP3 file, and the text decoders behind it.
//
// Text is decoded to UTF-8 from whichever encoding the frame declares.
#pragma once

#include "engine/AudioFileData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Reads the tag at the start of the open file. An empty record when the file
// does not begin with "ID3"; a damaged tag keeps the frames read before the
// damage. Leaves the file position inside or after the tag.
ID3v2Data ReadID3v2(int32_t handle);

// The same from the file's first bytes held in memory (normally the 10-byte
// header and TagSize bytes; fewer are fine).
ID3v2Data ParseID3v2(std::string_view fileStart);

// Text in one of the frame encodings, up to its first NUL character, as
// UTF-8:
// 0 one byte per character; 1 UTF-16 with a byte-order mark (FF FE or FE FF;
// without one, little-endian from the first byte); 2 UTF-16 big-endian;
// 3 UTF-8 (a byte that does not start valid UTF-8 is taken as it is). Other
// values are read like 1.
std::string DecodeText(std::string_view bytes, int encoding);

// Every value of a text frame's text (values are separated by NUL
// characters; a terminator after the last one starts no further value).
std::vector<std::string> DecodeTextValues(std::string_view bytes, int encoding);

// The text of a COMM body after its encoding byte (language, description,
// terminator, text); "" when the description has no terminator.
std::string DecodeComment(std::string_view bytes, int encoding);

// The URL of a WXXX body (encoding byte, description, terminator, URL): the
// bytes after the description's terminator up to the first zero byte; the URL
// is single-byte text whatever the encoding byte says (UTF-8 when the bytes
// are valid UTF-8).
std::string DecodeURL(std::string_view body);

// The genre shown for a TCON text: "(n)" references give the genre table's
// name, followed by "/" and a differing refinement after the last ")";
// "(RX)" and "(CR)" give "Remix" and "Cover"; a number outside the table gives
// ""; text not beginning with "(" is kept as it is.
std::string ResolveGenre(const std::string& text);

}  // namespace tessaly
