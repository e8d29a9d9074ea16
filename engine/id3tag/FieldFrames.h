// Which frames of a tag hold the editor's fields, shared by the reader (which
// shows them) and the writer (which replaces exactly the frame of a field the
// user changed and keeps every other frame as it was).
//
// A text field is every frame with its identifier, the first being the one an
// edit replaces. The comment is the first COMM whose description is empty (in
// any language), else the first whose description is "Comment"; the URL the
// first WXXX whose description is empty. Other COMM and WXXX frames belong to
// no field. The year is TYER, else the first TDRC.
#pragma once

#include "engine/AudioFileData.h"
#include "engine/id3tag/ID3v2Frames.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct FieldFrameMap {
    // By field number: the indexes of the frames that hold the field, the
    // main frame first. Empty when the tag does not hold the field.
    std::array<std::vector<size_t>, 13> Frames;
    bool YearFromRecordingTime = false;  // the year's frame is a TDRC
};

// `frames` as read from a tag of version `majorVersion`.
FieldFrameMap MapFieldFrames(const std::vector<ID3v2Frame>& frames, int majorVersion);

// The frame's content: its body without the group byte a grouped 2.3 frame
// keeps in front.
std::string_view FrameContent(const ID3v2Frame& frame, int majorVersion);

// Fills the twelve fields of `record` from `frames`: each value decoded to
// UTF-8, the values of a text field (several in one frame, or several frames)
// joined by "/". Returns the map of the frames it read them from.
FieldFrameMap ReadFieldFrames(const std::vector<ID3v2Frame>& frames, int majorVersion,
                              ID3v2Data& record);

}  // namespace tessaly
