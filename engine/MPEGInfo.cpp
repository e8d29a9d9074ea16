#include "MPEGInfo.h"

#include "engine/FileIO.h"
#include "engine/Host.h"
#include "engine/SupportLibrary.h"
#include "engine/id3tag/ID3v1.h"

#include <algorithm>
#include <limits>

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

// Samples per frame: layer I 384, layer II 1152, layer III 1152 in version
// 1 and 576 at the lower sampling rates.
int64_t SamplesPerFrame(uint8_t byte1) {
    const int layerBits = (byte1 >> 1) & 3;
    const bool version1 = ((byte1 >> 3) & 3) == 3;
    if (layerBits == 3) return 384;
    if (layerBits == 2) return 1152;
    return version1 ? 1152 : 576;
}

// The bytes of a frame, from its header's bit rate (kbit/s), sampling rate and
// padding bit.
int64_t FrameLength(uint8_t byte1, uint8_t byte2, int64_t bitrate, int64_t sampleRate) {
    const int layerBits = (byte1 >> 1) & 3;
    const bool version1 = ((byte1 >> 3) & 3) == 3;
    const int64_t padding = (byte2 >> 1) & 1;
    if (layerBits == 3) return (12000 * bitrate / sampleRate + padding) * 4;
    if (layerBits == 1 && !version1) return 72000 * bitrate / sampleRate + padding;
    return 144000 * bitrate / sampleRate + padding;
}

// The big-endian 32-bit value at `at`, 0 when the bytes run out.
uint32_t BigEndian32At(std::string_view bytes, size_t at) {
    if (at > bytes.size() || bytes.size() - at < 4) return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// Fraunhofer's VBRI header stands 32 bytes after the 4-byte frame header,
// whatever the version and channel mode: "VBRI", version (2), delay (2),
// quality (2), bytes (4), frames (4), then its seek table.
constexpr size_t VBRIOffset = 36;

bool HasVBRIHeader(std::string_view frame) {
    return frame.substr(std::min(VBRIOffset, frame.size()), 4) == "VBRI";
}

// A frame whose encoder marked the stream as variable-rate.
bool HasVBRHeader(std::string_view frame) {
    return HasXingHeader(frame) || HasVBRIHeader(frame);
}

// What the encoder's header in the first frame says about the whole stream.
// 0 is "not stated".
struct StatedLength {
    uint32_t frames = 0;
    uint32_t bytes = 0;
    // A Xing or Info header's frame holds no sound: its encoders count the
    // frames after it, and its bytes among the stream's.
    bool inSilentFrame = false;
};

StatedLength StatedLengthOf(std::string_view frame) {
    if (frame.size() < 4) return {};
    if (const XingHeaderFields xing = ReadXingHeader(frame); xing.Found)
        return {xing.Frames, xing.Bytes, true};

    // "Info" is the Xing header under the name encoders give it in
    // constant-rate streams: same place, same layout. The support library only
    // knows "Xing", so it is read here.
    const uint8_t byte1 = static_cast<uint8_t>(frame[1]);
    const bool version1 = (byte1 >> 3) & 1;
    const bool mono = (static_cast<uint8_t>(frame[3]) >> 6) == 3;
    const size_t info = version1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
    if (frame.substr(std::min(info, frame.size()), 4) == "Info") {
        const uint32_t flags = BigEndian32At(frame, info + 4);
        size_t at = info + 8;
        StatedLength stated;
        stated.inSilentFrame = true;
        if (flags & 1) {
            stated.frames = BigEndian32At(frame, at);
            at += 4;
        }
        if (flags & 2) stated.bytes = BigEndian32At(frame, at);
        return stated;
    }
    if (HasVBRIHeader(frame))
        return {BigEndian32At(frame, VBRIOffset + 14), BigEndian32At(frame, VBRIOffset + 10)};
    return {};
}

// Duration and, for a variable-rate stream, the average bit rate from the
// frame count an encoder's header states; without one, the duration from the
// bytes after the tag at the first frame's bit rate. `audioBytes` is what
// lies from the first frame to the ID3v1 trailer or the end: it does not
// change when the tags do, so neither does the average.
void FillLength(std::string_view frame, int64_t bytesAfterTag, int64_t audioBytes, MPEGData& mpeg) {
    const StatedLength stated = StatedLengthOf(frame);
    const int64_t samples =
        int64_t{stated.frames} * SamplesPerFrame(static_cast<uint8_t>(frame[1]));
    const int64_t rate = mpeg.SampleRate;
    if (samples <= 0) {
        // In 64 bits: a long file at a low bit rate overflows 32-bit bytes x 8.
        mpeg.Duration = static_cast<int32_t>(bytesAfterTag * 8 / (int64_t{mpeg.Bitrate} * 1000));
        return;
    }
    // Whole seconds, to the nearest: 4.97 s of sound is "5 seconds".
    mpeg.Duration = static_cast<int32_t>((samples + rate / 2) / rate);
    if (!mpeg.VBR) return;  // a constant rate is the first frame's
    int64_t bytes = stated.bytes ? int64_t{stated.bytes} : audioBytes;
    if (stated.inSilentFrame)
        bytes -= FrameLength(static_cast<uint8_t>(frame[1]), static_cast<uint8_t>(frame[2]),
                             mpeg.Bitrate, rate);
    bytes = std::max<int64_t>(bytes, 0);
    // bytes x 8 / (samples / rate) in kbit/s, to the nearest.
    const int64_t average = (bytes * 8 * rate + samples * 500) / (samples * 1000);
    if (average >= 1 && average <= std::numeric_limits<int16_t>::max())
        mpeg.Bitrate = static_cast<int16_t>(average);
}

}  // namespace

MPEGData ScanMPEGFrames(std::string_view window, int64_t start, int64_t fileSize,
                        int32_t trailerSize) {
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

        // Once a VBR header has been seen the check always looks at that same
        // frame again, so its answer cannot change: skip it.
        if (!mpeg.VBR &&
            HasVBRHeader(window.substr(static_cast<size_t>(headerPosition), XingCheckBytes))) {
            mpeg.VBR = true;
        }
        previous = 0;

        if (!Acceptable(byte1, byte2)) {
            position = candidate + 1;
            continue;
        }
        mpeg.HeaderFound = true;
        FillFromHeader(byte1, byte2, byte3, mpeg);
        FillLength(window.substr(static_cast<size_t>(candidate), XingCheckBytes),
                   fileSize - start, fileSize - std::max(trailerSize, 0) - (start + candidate),
                   mpeg);
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
    // The ID3v1 trailer is not audio; the average bit rate leaves it out.
    int32_t trailerSize = 0;
    if (fileSize - start >= ID3v1Size && FileSeek(handle, fileSize - ID3v1Size, 0) >= 0 &&
        FileRead(handle, 3) == "TAG")
        trailerSize = ID3v1Size;
    if (FileSeek(handle, start, 0) != start) return MPEGData{};
    // One read covers every byte the scan can look at: the window, and the
    // Xing check of a candidate at its very end.
    const std::string window = FileRead(handle, MPEGSearchWindow + XingCheckBytes);
    return ScanMPEGFrames(window, start, fileSize, trailerSize);
}

}  // namespace tessaly
