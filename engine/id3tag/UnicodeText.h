// Code-point level text of ID3v2 frames: decoding each stored encoding, and
// the UTF-16 form the 2.3 writer uses for text beyond ISO-8859-1.
#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// UTF-16 without a byte-order mark. A surrogate pair is one code point, a lone
// surrogate is kept as it is, a trailing odd byte is dropped.
std::u32string DecodeUTF16(std::string_view bytes, bool bigEndian);

// UTF-8; a byte that is not part of valid UTF-8 stands for itself (tags marked
// UTF-8 that hold single-byte text are common).
std::u32string DecodeUTF8(std::string_view bytes);

// The code points of `bytes` in an ID3v2 text encoding: 0 Latin-1; 1 UTF-16
// with a byte-order mark (little-endian without one), as are the undefined
// values above 3; 2 UTF-16 big-endian; 3 UTF-8.
std::u32string DecodeCodePoints(std::string_view bytes, int encoding);

// UTF-16 little-endian with its byte-order mark (FF FE), no terminator.
std::string EncodeUTF16WithBOM(std::u32string_view text);

// The length of the text field at the start of `bytes` up to its terminator
// in `encoding` (one zero byte for 0 and 3, two zero bytes at an even offset
// for the UTF-16 forms), and the terminator's size in `terminatorSize` (0 when the text
// runs to the end of `bytes` without one).
size_t TextFieldLength(std::string_view bytes, int encoding, size_t* terminatorSize);

}  // namespace tessaly
