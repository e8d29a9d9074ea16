// The ID3v2 tag header and the walk over a tag's frames, shared by the reader
// (which picks the fields it knows) and the writer (which carries every other
// frame over into the new tag).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct ID3v2Header {
    int16_t MajorVersion = 0;
    int16_t Revision = 0;
    int16_t Flags = 0;
    int32_t TagSize = 0;  // synchsafe size field: the bytes after the 10-byte header
};

// Reads the 10-byte header at the start of `bytes`. False unless they begin
// with "ID3" and hold a whole header.
bool ParseID3v2Header(std::string_view bytes, ID3v2Header& header);

struct ID3v2Frame {
    std::string ID;      // three characters (2.2) or four (2.3, 2.4)
    uint16_t Flags = 0;  // the two flag bytes as stored; 0 for 2.2
    // 2.2 and 2.3: the body as stored, after undoing the tag's own
    // unsynchronisation (a 2.3 frame's decompressed size, encryption method and
    // group bytes stay in it). 2.4: the body after undoing the frame's
    // unsynchronisation, with the group byte, encryption method and data-length
    // indicator taken out into the fields below.
    std::string Body;
    int GroupId = -1;           // 2.4 only; -1 when absent
    int EncryptionMethod = -1;  // 2.4 only; -1 when absent
    int64_t DataLength = -1;    // 2.4 data-length indicator; -1 when absent
    bool Compressed = false;    // the body is not the frame's plain content
    bool Encrypted = false;
};

// Every frame of the tag in file order. `tag` holds the file's first bytes
// (normally 10 + TagSize of them; fewer when the file is shorter). Skips the
// extended header, stops at padding, at the tag's end or at a damaged frame
// header, and cuts a frame that runs past the tag's end.
std::vector<ID3v2Frame> ReadID3v2Frames(std::string_view tag, const ID3v2Header& header);

}  // namespace tessaly
