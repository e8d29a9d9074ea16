// The properties of an MP3 file's MPEG audio stream, from the first valid
// frame header after the ID3v2 tag and the encoder's header in that frame
// (Xing, Info or VBRI), which states the stream's frame count.
#pragma once

#include "engine/AudioFileData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// How far past the tag the search for a frame header goes.
inline constexpr int32_t MPEGSearchWindow = 16384;
// How much of a candidate frame the Xing check looks at.
inline constexpr int32_t XingCheckBytes = 2048;

// Indexed by the header's two emphasis bits: "None", "50/15 ms", "Reserved",
// "CCIT J.17".
extern const std::vector<std::string> EmphasisNames;

// Searches the open file from the end of the ID3v2 tag (10 + TagSize when
// tag.Present, else 0). FileSize is left for the caller to fill. Reads the
// file's head once and checks for an ID3v1 trailer; leaves the position
// unspecified.
//
// VBR is true when a candidate frame carries a Xing header (read through the
// support library; none without it) or a VBRI header. When the first frame's
// Xing, Info or VBRI header states a frame count, Duration is frames x
// samples per frame / sample rate, to the nearest second, and a VBR stream's
// Bitrate is its average (the stated byte count, else the bytes from the
// first frame to the trailer, x 8 / that time), to the nearest kbit/s.
// Otherwise Duration is the bytes after the tag at the first frame's rate,
// truncated.
MPEGData ReadMPEGInfo(int32_t handle, const ID3v2Data& tag);

// The same search over bytes already in memory: `window` holds the file's
// bytes from `start` (the end of the tag), at least MPEGSearchWindow +
// XingCheckBytes of them when the file has that many; bytes beyond `window`
// count as the end of the file. `fileSize` is the whole file's size, used for
// the playing time; `trailerSize` the bytes at its end that are not audio
// (an ID3v1 trailer).
MPEGData ScanMPEGFrames(std::string_view window, int64_t start, int64_t fileSize,
                        int32_t trailerSize = 0);

}  // namespace tessaly
