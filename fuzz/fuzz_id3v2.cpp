// The ID3v2 field reader, the frame walk the writer relies on, and the ID3v1
// trailer parser, on arbitrary bytes.
#include "engine/id3tag/ID3v1.h"
#include "engine/id3tag/ID3v2Frames.h"
#include "engine/id3tag/ID3v2Reader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tessaly::ParseID3v2(bytes);
    tessaly::ID3v2Header header;
    if (tessaly::ParseID3v2Header(bytes, header)) tessaly::ReadID3v2Frames(bytes, header);
    if (size >= tessaly::ID3v1Size) tessaly::ParseID3v1(bytes.substr(size - tessaly::ID3v1Size));
    // The text decoders on the raw bytes, in every encoding.
    if (size > 0) {
        const int encoding = data[0] & 3;
        tessaly::DecodeText(bytes.substr(1), encoding);
        tessaly::DecodeComment(bytes.substr(1), encoding);
        tessaly::DecodeURL(bytes);
        tessaly::ResolveGenre(std::string(bytes.substr(1)));
    }
    return 0;
}
