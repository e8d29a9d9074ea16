// The content descriptions of Windows Media (ASF) files: title, author,
// copyright, description and rating, and from the extended description the
// album, year, track and genre, shown in the ID3v2 places, read-only.
#pragma once

#include "engine/AudioFileData.h"

#include <cstdint>
#include <string_view>

namespace tessaly {

// True when `first8` begins with the ASF header object's signature
// 30 26 B2 75 8E 66 CF 11.
bool IsASFFile(std::string_view first8);

// Reads the content description of the open file into Title, Artist (author),
// Copyright, Comment (description) and OriginalArtist (rating), and the
// extended description's WM/AlbumTitle, WM/Year, WM/TrackNumber (text or a
// number) and WM/Genre into Album, Year, Track and Genre. IsASF is set
// whenever the signature matches; Present only when a valid description or
// one of those four was found. A file that is not ASF gives an empty record.
ID3v2Data ReadASFTags(int32_t handle);

// The same from the bytes of the header object (from offset 0 of the file;
// fewer when the file is shorter than the object claims).
ID3v2Data ParseASFTags(std::string_view headerObjectBytes);

}  // namespace tessaly
