// The Xing VBR header that an encoder puts into the first frame of a
// variable-bit-rate stream, and the seek-point interpolation in its table of
// contents.
#include "tessaly.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int32_t XingSampleRates[4] = {44100, 48000, 32000, 99999};

int32_t ReadBE32(const unsigned char* bytes) {
    uint32_t value = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                     (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
    return static_cast<int32_t>(value);
}

}  // namespace

extern "C" {

int32_t TESSALY_CALL extracti4(const unsigned char* bytes) {
    return bytes ? ReadBE32(bytes) : 0;
}

int32_t TESSALY_CALL getxingheader(XingHeaderData* record, const unsigned char* buffer) {
    if (!record || !buffer) return 0;
    record->flags = 0;

    const int id = (buffer[1] >> 3) & 1;
    const int sampleRateIndex = (buffer[2] >> 2) & 3;
    const bool mono = ((buffer[3] >> 6) & 3) == 3;

    // The header follows the side information, whose size depends on the
    // version and on whether the frame has one channel or two.
    const unsigned char* p = buffer + (id == 1 ? (mono ? 21 : 36) : (mono ? 13 : 21));
    if (std::memcmp(p, "Xing", 4) != 0) return 0;
    p += 4;

    record->h_id = id;
    record->samprate = XingSampleRates[sampleRateIndex];
    if (id == 0) record->samprate >>= 1;

    const int32_t flags = ReadBE32(p);
    record->flags = flags;
    p += 4;
    if (flags & TESSALY_XING_FRAMES) {
        record->frames = ReadBE32(p);
        p += 4;
    }
    if (flags & TESSALY_XING_BYTES) {
        record->bytes = ReadBE32(p);
        p += 4;
    }
    if (flags & TESSALY_XING_TOC) {
        if (record->toc) std::memcpy(record->toc, p, 100);
        p += 100;
    }
    record->vbr_scale = -1;
    if (flags & TESSALY_XING_VBR_SCALE) record->vbr_scale = ReadBE32(p);
    return 1;
}

int32_t TESSALY_CALL seekpoint(const unsigned char* toc, int32_t file_bytes, float percent) {
    if (!toc) return 0;
    if (std::isnan(percent) || percent < 0.0f) percent = 0.0f;
    if (percent > 100.0f) percent = 100.0f;
    int a = static_cast<int>(percent);
    if (a > 99) a = 99;
    const double fa = toc[a];
    const double fb = a < 99 ? toc[a + 1] : 256.0;
    const double fx = fa + (fb - fa) * (static_cast<double>(percent) - a);
    // In double, so that large files do not lose their low digits; fx is at
    // most 256, so the result never exceeds file_bytes in magnitude.
    return static_cast<int32_t>(fx * file_bytes / 256.0);
}

}  // extern "C"
