// The ASF content description reader on arbitrary bytes, with and without the
// header signature in front.
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
    // Each field holds at most one byte per stored byte.
    if (tag.Title.size() + tag.Artist.size() + tag.Copyright.size() + tag.Comment.size() +
            tag.OriginalArtist.size() >
        size)
        __builtin_trap();
    return 0;
}
