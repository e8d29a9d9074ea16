// The ID3v1 trailer: the fixed 128 bytes at the end of an MP3 file. The reader
// understands ID3v1 and ID3v1.1 (a track byte inside the comment); the builder
// always writes ID3v1.1.
#pragma once

#include "engine/AudioFileData.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

inline constexpr int32_t ID3v1Size = 128;

// Reads the last 128 bytes of the open file. An empty record (Present false)
// when the file is shorter or its trailer does not begin with "TAG".
ID3v1Data ReadID3v1(int32_t handle);

// The record for exactly 128 bytes beginning with "TAG"; anything else gives
// an empty record. The bytes are ISO-8859-1; the record holds them as UTF-8.
ID3v1Data ParseID3v1(std::string_view trailer);

// The 128-byte ID3v1.1 trailer for `data`: text fields in ISO-8859-1 ("?" for
// a character beyond it), cut or space-padded to their widths, the comment to
// 28 bytes, a zero byte, the track byte (the leading decimal digits of Track,
// 0 when there are none or the number does not fit in 0-255) and the genre
// byte (255 for a name not in the table). With the file's `oldTrailer`: when
// `data` is what that trailer reads as, the trailer itself, byte for byte; an
// unchanged genre keeps its byte, whatever the table names.
std::string BuildID3v1(const ID3v1Data& data, std::string_view oldTrailer = {});

}  // namespace tessaly
