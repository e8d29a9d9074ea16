// Writing an edited record back into its MP3 file: an ID3v2.3 tag and an
// ID3v1.1 trailer, in place when the new tag fits the old one's room, else by
// writing a new file beside the old one and swapping the two.
#pragma once

#include "engine/AudioFileData.h"
#include "engine/UpdateOptions.h"

#include <string>

namespace tessaly {

// Updates `path` from `record` (its ID3v1 and ID3v2 parts with their Present
// flags, and the times and size read when it was loaded). Only what differs
// from the file's tags is written; every other frame and an unchanged ID3v1
// trailer are kept. A record read from the file (Modified not 0) whose time or
// size no longer match the file's is refused: another program changed it. Failures are shown through the Host
// with the system's texts; the original file is then left as it was. Traces
// each step to DEBUG.LOG and shows the progress window while it runs.
// Returns true when the file was updated.
bool UpdateAudioFile(const std::string& path, const AudioFileData& record,
                     const UpdateOptions& options = {});

// Puts back the file `path` from the backup an interrupted update left (and
// says so through the Host); nothing when there is none.
void PutBackInterruptedUpdate(const std::string& path);

}  // namespace tessaly
