// The ASF content description readers on arbitrary bytes, with and without
// the header signature in front, and as the body of an extended content
// description object.
#include "engine/wmvtag.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tessaly::ParseASFTags(bytes);

    // Most inputs lack the signature; give every one a chance at the walk.
    std::string header("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8);
    header += bytes.substr(std::min<size_t>(8, size));
    const tessaly::ID3v2Data tag = tessaly::ParseASFTags(header);
    if (!tag.IsASF || !tessaly::IsASFFile(header)) __builtin_trap();
    if (!tag.Present && (!tag.Title.empty() || !tag.Artist.empty())) __builtin_trap();
    // Each text holds at most one byte per stored byte; a number at most 20
    // digits per 8 stored bytes.
    if (tag.Title.size() + tag.Artist.size() + tag.Copyright.size() + tag.Comment.size() +
            tag.OriginalArtist.size() + tag.Album.size() + tag.Year.size() + tag.Track.size() +
            tag.Genre.size() >
        3 * size)
        __builtin_trap();

    // The same bytes as the descriptors of an extended description, the only
    // child of a header object whose sizes fit it.
    const uint64_t objectSize = 24 + size, headerSize = 30 + objectSize;
    std::string wrapped("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
    for (int i = 0; i < 8; ++i) wrapped += static_cast<char>(headerSize >> (8 * i));
    wrapped += std::string("\x01\x00\x00\x00\x01\x02", 6);
    wrapped += std::string("\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50", 16);
    for (int i = 0; i < 8; ++i) wrapped += static_cast<char>(objectSize >> (8 * i));
    wrapped += bytes;
    const tessaly::ID3v2Data extended = tessaly::ParseASFTags(wrapped);
    if (!extended.Title.empty() || !extended.Artist.empty()) __builtin_trap();
    if (extended.Album.size() + extended.Year.size() + extended.Track.size() +
            extended.Genre.size() >
        3 * size)
        __builtin_trap();
    return 0;
}
