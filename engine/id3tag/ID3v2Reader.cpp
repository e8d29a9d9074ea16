#include "engine/id3tag/ID3v2Reader.h"

#include "engine/FileIO.h"
#include "engine/TagFields.h"
#include "engine/id3tag/FieldFrames.h"
#include "engine/id3tag/ID3v2Frames.h"
#include "engine/id3tag/ID3v2Walk.h"

namespace tessaly {

namespace {

constexpr size_t HeaderSize = 10;

// Only the frames that can hold a field are decoded and kept; pictures and
// other large frames are stepped over without a copy. The tag's size bounds
// the walk.
std::vector<ID3v2Frame> FieldCandidates(std::string_view fileStart, const ID3v2Header& header) {
    std::vector<ID3v2Frame> frames;
    WalkID3v2Frames(fileStart, header, [&](const StoredFrame& stored) {
        if (TagFieldOfFrame(stored.ID, header.MajorVersion) != nullptr ||
            (header.MajorVersion >= 3 && stored.ID == "TDRC"))
            frames.push_back(DecodeStoredFrame(stored, header.MajorVersion));
        return true;
    });
    return frames;
}

}  // namespace

ID3v2Data ParseID3v2(std::string_view fileStart) {
    ID3v2Data record;
    ID3v2Header header;
    if (!ParseID3v2Header(fileStart, header)) return record;
    record.Present = true;
    record.TagSize = header.TagSize;
    record.MajorVersion = header.MajorVersion;
    record.Revision = header.Revision;
    record.Flags = header.Flags;
    ReadFieldFrames(FieldCandidates(fileStart, header), header.MajorVersion, record);
    return record;
}

ID3v2Data ReadID3v2(int32_t handle) {
    if (FileSeek(handle, 0, 0) != 0) return {};
    std::string bytes = FileRead(handle, HeaderSize);
    ID3v2Header header;
    if (!ParseID3v2Header(bytes, header)) return {};
    // FileRead never holds more than the file has, whatever the size claims.
    if (header.TagSize > 0) bytes += FileRead(handle, header.TagSize);
    return ParseID3v2(bytes);
}

}  // namespace tessaly
