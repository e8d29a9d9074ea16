// Fills an AudioFileData from a file on disk: the one way the file list, the
// editor and the update read a file.
#pragma once

#include "engine/AudioFileData.h"

#include <cstdint>
#include <string>

namespace tessaly {

// Opens `path` ("r+" when `forUpdate`, else "r") and reads its tags and stream
// properties. A Windows Media file fills only the content description in ID3v2.
// When the open fails, shows "Error Opening File '<path>'" through the Host,
// sets `handle` to -1 and returns an empty record. With `forUpdate` the file
// stays open and its handle is returned for the update to go on with;
// otherwise it is closed and `handle` is -1.
AudioFileData ReadAudioFile(const std::string& path, int32_t& handle, bool forUpdate);

// Reads for display: opens read-only and closes again.
AudioFileData ReadAudioFile(const std::string& path);

}  // namespace tessaly
