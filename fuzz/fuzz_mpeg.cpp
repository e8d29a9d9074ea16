// The MPEG frame scan on arbitrary bytes, checked against the search carried
// out literally one byte at a time; and the Xing parser on a padded frame.
// Frame counts in Xing, Info and VBRI headers are arbitrary here: the time and
// the average rate they give must stay in range.
#include "engine/MPEGInfo.h"
#include "support/tessaly.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool Xing(std::string_view bytes, size_t at) {
    unsigned char buffer[2048] = {};
    std::memcpy(buffer, bytes.data() + at, std::min<size_t>(bytes.size() - at, sizeof buffer));
    XingHeaderData record{};
    return getxingheader(&record, buffer) == 1;
}

// The search as a byte-at-a-time reader performs it; only the fields the
// scan decides (the rest come from a table lookup on the same bytes).
tessaly::MPEGData Literal(std::string_view file, int32_t start) {
    tessaly::MPEGData m;
    const int64_t size = static_cast<int64_t>(file.size());
    int64_t position = start;
    uint8_t previous = 0;
    for (;;) {
        while (position < size && previous != 0xFF && position < start + 16384)
            previous = static_cast<uint8_t>(file[position++]);
        if (previous != 0xFF) return m;
        const int64_t p = position - 1;
        if (!m.VBR) m.HeaderPosition = static_cast<int32_t>(p);
        if (p + 5 > size) return m;
        const uint8_t b1 = static_cast<uint8_t>(file[p + 1]);
        position = p + 2;
        if (b1 < 0xE0) {
            previous = b1;
            continue;
        }
        const uint8_t b2 = static_cast<uint8_t>(file[p + 2]);
        const size_t at = static_cast<size_t>(m.HeaderPosition);
        if (Xing(file, at) || file.substr(std::min(at + 36, file.size()), 4) == "VBRI")
            m.VBR = true;
        previous = 0;
        const int version = (b1 >> 3) & 3, layer = (b1 >> 1) & 3, rate = b2 >> 4;
        if (((b2 >> 2) & 3) == 3 || layer == 0 || version == 1 || rate == 0 || rate == 15) {
            position = p + 1;
            continue;
        }
        m.HeaderFound = true;
        return m;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (size > 0) Xing(bytes, 0);

    // The first byte picks where the search starts, as a tag's end would.
    const int32_t start = size > 0 ? data[0] % 64 : 0;
    const std::string_view file = bytes;
    // The second picks whether the file ends in an ID3v1 trailer.
    const int32_t trailer = size > 1 && (data[1] & 1) ? 128 : 0;
    const tessaly::MPEGData m = tessaly::ScanMPEGFrames(file.substr(std::min<size_t>(start, size)),
                                                        start, static_cast<int32_t>(size), trailer);
    const tessaly::MPEGData expected = Literal(file, start);
    if (m.HeaderFound != expected.HeaderFound || m.VBR != expected.VBR ||
        m.HeaderPosition != expected.HeaderPosition)
        __builtin_trap();
    if (m.HeaderFound && (m.Bitrate <= 0 || m.SampleRate <= 0 || m.Duration < 0 ||
                          m.Version.empty() || m.Layer.empty() || m.Mode.empty()))
        __builtin_trap();

    // A file much longer than the bytes in hand: the scan stops at the bytes.
    tessaly::ScanMPEGFrames(bytes, 0, INT32_MAX);
    return 0;
}
