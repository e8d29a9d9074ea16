// The properties of an MP3 file's MPEG audio stream, from the first valid
// frame header after the ID3v2 tag.
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
// file once and leaves its position unspecified.
MPEGData ReadMPEGInfo(int32_t handle, const ID3v2Data& tag);

// The same search over bytes already in memory: `window` holds the file's
// bytes from `start` (the end of the tag), at least MPEGSearchWindow +
// XingCheckBytes of them when the file has that many; bytes beyond `window`
// count as the end of the file. `fileSize` is the whole file's size, used for
// the playing time.
MPEGData ScanMPEGFrames(std::string_view window, int64_t start, int64_t fileSize);

}  // namespace tessaly
