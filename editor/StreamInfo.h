// What the stream-information list (MPEGInfo), its "No MPEG Header Found"
// label and the status bar show for the file in the panes.
#pragma once

#include "engine/AudioFileData.h"

#include <string>
#include <vector>

namespace tessaly {

struct StreamInfoRow {
    std::string Caption;  // "Size:", "Length:", ...
    std::string Value;

    bool operator==(const StreamInfoRow&) const = default;
};

struct StreamInfo {
    // An empty first row, then Size, Length, Version, Rate, Mode, Emphasis and
    // Flags; no rows when no frame header was found.
    std::vector<StreamInfoRow> Rows;
    // True when the file has no frame header: the stream-information page then
    // shows "No MPEG Header Found" instead of its list.
    bool NoMPEGInfo = false;
    std::string StatusText;  // the status bar's simple text

    bool operator==(const StreamInfo&) const = default;
};

// The stream information of `mpeg`, numbers in plain decimal.
StreamInfo StreamInfoOf(const MPEGData& mpeg);

}  // namespace tessaly
