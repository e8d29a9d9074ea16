// The frame walk behind ReadID3v2Frames, as views into the tag: the field
// reader only copies the few frames it uses and stops early, the writer takes
// every frame as ID3v2Frame.
#pragma once

#include "engine/id3tag/ID3v2Frames.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tessaly {

// One frame as stored. `Data` is the stored body, after undoing a 2.2/2.3
// tag's unsynchronisation; it is valid only during the visit.
struct StoredFrame {
    std::string_view ID;
    uint16_t Flags = 0;
    std::string_view Data;
};

// Calls `visit` for each frame in file order until it returns false or the
// walk meets padding, the tag's end or a damaged frame header.
void WalkID3v2Frames(std::string_view tag, const ID3v2Header& header,
                     const std::function<bool(const StoredFrame&)>& visit);

// The frame with its version's body semantics (see ID3v2Frame).
ID3v2Frame DecodeStoredFrame(const StoredFrame& frame, int16_t majorVersion);

// FF 00 -> FF throughout `bytes`.
std::string RemoveUnsynchronisation(std::string_view bytes);

}  // namespace tessaly
