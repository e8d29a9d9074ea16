// The frames of an old tag that an update keeps: everything the editor does
// not manage, converted to the 2.3 layout the new tag is written in.
#pragma once

#include "engine/id3tag/ID3v2Frames.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Every frame of `frames` (read from a tag of version `majorVersion`) that an
// update keeps, as 2.3 frames (header and body), in their order. Managed
// frames are left out (the update builds them anew), as are frames that ask to
// be discarded when the tag changes, frames that describe the old tag's own
// layout (ASPI, SEEK, SIGN, and 2.2's CRM and LNK), 2.2 frames without a 2.3
// form, and 2.4 frames that are compressed or encrypted.
std::string CarryOverFrames(const std::vector<ID3v2Frame>& frames, int majorVersion);

// A 2.4 frame body whose text is UTF-8 or UTF-16BE, with that text re-encoded
// as UTF-16 with a byte-order mark (2.3 knows no other Unicode form). Bodies
// of other frames, and Latin-1 or UTF-16 text, come back unchanged.
std::string ReencodeFor23(std::string_view id, std::string_view body);

// The 2.3 identifier of a 2.2 frame, "" when it has none.
std::string ID3v22To23(std::string_view id);

}  // namespace tessaly
