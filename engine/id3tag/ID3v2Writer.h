// Building the ID3v2.3 tag that an update writes: the twelve frames the editor
// manages, every other frame of the old tag carried over, and the padding.
#pragma once

#include "engine/AudioFileData.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

// n as four bytes, most significant first, 8 bits per byte.
std::string BigEndian32(uint32_t n);
// n as four bytes, most significant first, 7 bits per byte (top bits 0).
std::string Synchsafe32(uint32_t n);

// True for the identifiers (of any version) whose content the editor's fields
// own: an update replaces them with the frames it builds.
bool IsManagedFrameID(std::string_view id);

// The managed frames for `data`, in their fixed order, single-byte text; the
// comment frame carries `language` (cut or space-padded to three characters).
std::string BuildManagedFrames(const ID3v2Data& data, const std::string& language);

// The frame block of a new tag: the managed frames, then `keptFrames` (frames
// of the old tag in the 2.3 layout), padded to exactly `room` bytes when they
// fit, else followed by 256 bytes of padding.
std::string BuildID3v2Frames(const ID3v2Data& data, int32_t room,
                             const std::string& language = "eng",
                             const std::string& keptFrames = {});

// The 10-byte header of a version 2.3.0 tag whose frame block is `blockSize` long.
std::string ID3v2Header23(uint32_t blockSize);

}  // namespace tessaly
