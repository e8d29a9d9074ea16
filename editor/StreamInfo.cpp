#include "editor/StreamInfo.h"

namespace tessaly {

namespace {

std::string FlagsText(const MPEGData& m) {
    std::string flags;
    auto add = [&](const char* flag) {
        if (!flags.empty()) flags += ", ";
        flags += flag;
    };
    if (m.Copyrighted) add("Copyrighted");
    add(m.CRC ? "CRC" : "No CRC");
    if (m.Original) add("Original");
    if (m.Private) add("Private");
    return flags;
}

}  // namespace

StreamInfo StreamInfoOf(const MPEGData& m) {
    StreamInfo info;
    if (!m.HeaderFound) {
        info.NoMPEGInfo = true;
        return info;
    }
    const std::string bitrate = std::to_string(m.Bitrate);
    const std::string rate = std::to_string(m.SampleRate);
    const std::string seconds = std::to_string(m.Duration) + " seconds";
    info.Rows = {
        {"", ""},
        {"Size:", std::to_string(m.FileSize)},
        {"Length:", seconds},
        {"Version:", "MPEG " + m.Version + " (Layer " + m.Layer + ")"},
        {"Rate:", bitrate + "kbit " + rate + "Hz " + (m.VBR ? "(VBR)" : "")},
        {"Mode:", m.Mode},
        {"Emphasis:", m.Emphasis},
        {"Flags:", FlagsText(m)},
    };
    info.StatusText = "MPEG Version " + m.Version + " Layer " + m.Layer + ", " + rate + "Hz (" +
                      bitrate + "kbit" + (m.VBR ? "-VBR" : "") + ") " + m.Mode + " " + seconds;
    return info;
}

}  // namespace tessaly
