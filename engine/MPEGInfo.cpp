#include "MPEGInfo.h"

#include "engine/FileIO.h"
#include "engine/Host.h"
#include "engine/SupportLibrary.h"

#include <algorithm>

namespace tessaly {

const std::vector<std::string> EmphasisNames = {"None", "50/15 ms", "Reserved", "CCIT J.17"};

namespace {

// kbit/s by bit-rate index 0-15 (0 free format, 15 reserved: never accepted).
constexpr int16_t Version1Bitrates[3][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // layer III
};
// The lower sampling rates (versions 2 and 2.5): layer I has its own table,
// layers II and III share one.
constexpr int16_t LowRateBitrates[2][16] = {
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},  // layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},       // layers II, III
};
constexpr int32_t SampleRates[3][3] = {
    {44100, 48000, 32000},  // 1.0
    {22050, 24000, 16000},  // 2.0
    {11025, 12000, 8000},   // 2.5
};
const char* const ModeNames[4] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};

// Window messages are let through this often during the scan.
constexpr int32_t PumpInterval = 4096;

bool Acceptable(uint8_t byte1, uint8_t byte2) {
    const int version = (byte1 >> 3) & 3;
    const int layer = (byte1 >> 1) & 3;
    const int bitrateIndex = byte2 >> 4;
    const int sampleRateIndex = (byte2 >> 2) & 3;
    return version != 1 && layer != 0 && bitrateIndex != 0 && bitrateIndex != 15 &&
           sampleRateIndex != 3;
}

void FillFromHeader(uint8_t byte1, uint8_t byte2, uint8_t byte3, MPEGData& mpeg) {
    const int versionBits = (byte1 >> 3) & 3;  // 3 = 1.0, 2 = 2.0, 0 = 2.5
    const int layerBits = (byte1 >> 1) & 3;    // 3 = I, 2 = II, 1 = III
    const int layer = 4 - layerBits;           // 1, 2 or 3
    const int versionRow = versionBits == 3 ? 0 : versionBits == 2 ? 1 : 2;
    const int bitrateIndex = byte2 >> 4;

    mpeg.Version = versionRow == 0 ? "1.0" : versionRow == 1 ? "2.0" : "2.5";
    mpeg.Layer = layer == 1 ? "I" : layer == 2 ? "II" : "III";
    mpeg.Bitrate = versionRow == 0 ? Version1Bitrates[layer - 1][bitrateIndex]
                                   : LowRateBitrates[layer == 1 ? 0 : 1][bitrateIndex];
    mpeg.SampleRate = SampleRates[versionRow][(byte2 >> 2) & 3];
    mpeg.CRC = (byte1 & 1) == 0;
    mpeg.Private = (byte2 & 1) != 0;
    mpeg.Mode = ModeNames[byte3 >> 6];
    mpeg.Copyrighted = (byte3 & 0x08) != 0;
    mpeg.Original = (byte3 & 0x04) != 0;
    mpeg.Emphasis = EmphasisNames[byte3 & 3];
}

}  // namespace

MPEGData ScanMPEGFrames(std::string_view window, int64_t start, int64_t fileSize) {
    MPEGData mpeg;
    if (start < 0 || fileSize < 0) return mpeg;
    // Offsets below are relative to `start`. The file ends at whichever comes
    // first, the file's size or the end of the bytes we were given.
    const int64_t end = std::min<int64_t>(fileSize - start, int64_t(window.size()));
    if (end <= 0) return mpeg;
    window = window.substr(0, static_cast<size_t>(end));
    auto byteAt = [&](int64_t at) { return static_cast<uint8_t>(window[static_cast<size_t>(at)]); };

    // This walks the bytes exactly as a byte-at-a-time reader would: `position`
    // is the next byte to read, `previous` the last byte read.
    int64_t position = 0;
    uint8_t previous = 0;
    int64_t headerPosition = 0;  // relative; reported only when set
    bool headerPositionSet = false;
    int32_t sincePump = 0;
    for (;;) {
        while (position < end && previous != 0xFF && position < MPEGSearchWindow) {
            previous = byteAt(position++);
            if (++sincePump == PumpInterval) {
                sincePump = 0;
                CurrentHost().ProcessPendingMessages();
            }
        }
        if (previous != 0xFF) break;  // end of file or of the window

        const int64_t candidate = position - 1;
        if (!mpeg.VBR) {
            headerPosition = candidate;
            headerPositionSet = true;
        }
        // Four bytes must follow the sync byte.
        if (start + candidate + 5 > fileSize || candidate + 3 >= end) break;

        const uint8_t byte1 = byteAt(candidate + 1);
        position = candidate + 2;
        if (byte1 < 0xE0) {
            // Not a sync; this byte is the last one read, and the scan goes on
            // after it.
            previous = byte1;
            continue;
        }
        const uint8_t byte2 = byteAt(candidate + 2);
        const uint8_t byte3 = byteAt(candidate + 3);

        // Once a Xing header has been seen the check always looks at that same
        // frame again, so its answer cannot change: skip it.
        if (!mpeg.VBR &&
            HasXingHeader(window.substr(static_cast<size_t>(headerPosition), XingCheckBytes))) {
            mpeg.VBR = true;
        }
        previous = 0;

        if (!Acceptable(byte1, byte2)) {
            position = candidate + 1;
            continue;
        }
        mpeg.HeaderFound = true;
        FillFromHeader(byte1, byte2, byte3, mpeg);
        // In 64 bits: a long file at a low bit rate overflows 32-bit bytes x 8.
        mpeg.Duration = static_cast<int32_t>(std::min<int64_t>(
            (fileSize - start) * 8 / (int64_t{mpeg.Bitrate} * 1000), INT32_MAX));
        break;
    }
    if (headerPositionSet) mpeg.HeaderPosition = start + headerPosition;
    return mpeg;
}

MPEGData ReadMPEGInfo(int32_t handle, const ID3v2Data& tag) {
    const int64_t tagEnd = tag.Present ? 10 + int64_t{std::max(tag.TagSize, 0)} : 0;
    const int64_t fileSize = FileLength(handle);
    if (fileSize < 0 || tagEnd >= fileSize) return MPEGData{};
    const int64_t start = tagEnd;
    if (FileSeek(handle, start, 0) != start) return MPEGData{};
    // One read covers every byte the scan can look at: the window, and the
    // Xing check of a candidate at its very end.
    const std::string window = FileRead(handle, MPEGSearchWindow + XingCheckBytes);
    return ScanMPEGFrames(window, start, fileSize);
}

}  // namespace tessaly
