// The frames an update writes: the old tag's frames kept in their order and
// converted to the 2.3 layout the new tag is written in, with the frames of the
// fields the user changed built anew.
#pragma once

#include "engine/AudioFileData.h"
#include "engine/id3tag/ID3v2Frames.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The frames of the updated tag, in the 2.3 layout, without padding. Every
// frame of the old tag (`frames`, read from a tag of version `majorVersion`)
// stays in its place, converted to 2.3, unless it holds a field whose value in
// `wanted` differs from what the tag holds: then its main frame is replaced by
// one built for the new value (none for an empty value) and its other frames
// go. Fields the old tag lacked come first. A TDRC that gives the year becomes
// TYER, TDAT and TIME so that the whole date survives. Dropped whatever the
// fields: frames that ask to be discarded when the tag changes, frames that
// describe the old tag's own layout (ASPI, SEEK, SIGN, and 2.2's CRM and LNK),
// 2.2 frames without a 2.3 form, and 2.4 frames that are compressed or
// encrypted.
std::string MergeFrames(const ID3v2Data& wanted, const std::string& language,
                        const std::vector<ID3v2Frame>& frames, int majorVersion);

// One frame in the 2.3 layout (header and body); "" when it is dropped.
std::string ConvertFrameTo23(const ID3v2Frame& frame, int majorVersion);

// A 2.4 frame body whose text is UTF-8 or UTF-16BE, with that text re-encoded
// as UTF-16 with a byte-order mark (2.3 knows no other Unicode form). Bodies
// of other frames, and Latin-1 or UTF-16 text, come back unchanged.
std::string ReencodeFor23(std::string_view id, std::string_view body);

// The 2.3 identifier of a 2.2 frame, "" when it has none.
std::string ID3v22To23(std::string_view id);

}  // namespace tessaly
