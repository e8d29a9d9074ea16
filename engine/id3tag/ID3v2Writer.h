// Building the ID3v2.3 tag that an update writes: the frames of the fields,
// every other frame of the old tag carried over (FrameCarryOver.h), and the
// padding.
#pragma once

#include "engine/AudioFileData.h"
#include "engine/TagFields.h"
#include "engine/id3tag/ID3v2Frames.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

// n as four bytes, most significant first, 8 bits per byte.
std::string BigEndian32(uint32_t n);
// n as four bytes, most significant first, 7 bits per byte (top bits 0).
std::string Synchsafe32(uint32_t n);

// A 2.3 frame: identifier, size, the two flag bytes, body.
std::string Frame23(std::string_view id, uint16_t flags, std::string_view body);

// The frame of `field` holding `text` (UTF-8). Text that fits ISO-8859-1 is
// written in encoding 0, byte for byte; any other text as UTF-16 with a
// byte-order mark. A comment carries the description and language of the
// frame it replaces (`replaced`, read from a tag of `majorVersion`), else the
// description "Comment" and `language` (cut or space-padded to three
// characters). A URL is ISO-8859-1 when it fits, else its UTF-8 bytes.
std::string BuildFieldFrame(const TagField& field, const std::string& text,
                            const std::string& language, const ID3v2Frame* replaced = nullptr,
                            int majorVersion = 3);

// The frames of a new tag for `data`: each non-empty field, in the fixed
// order the program has always written them.
std::string BuildManagedFrames(const ID3v2Data& data, const std::string& language);

// The frame block of a new tag: the managed frames, then `keptFrames` (frames
// in the 2.3 layout), padded to exactly `room` bytes when they fit, else
// followed by 256 bytes of padding.
std::string BuildID3v2Frames(const ID3v2Data& data, int32_t room,
                             const std::string& language = "eng",
                             const std::string& keptFrames = {});

// `frames` padded as BuildID3v2Frames pads.
std::string PadFrameBlock(std::string frames, int32_t room);

// The 10-byte header of a version 2.3.0 tag whose frame block is `blockSize` long.
std::string ID3v2Header23(uint32_t blockSize);

}  // namespace tessaly
