#include "engine/id3tag/ID3v2Frames.h"

#include "engine/id3tag/ID3v2Walk.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr size_t HeaderSize = 10;
// Bounds the work a damaged or hostile tag can cause; real tags hold tens of
// frames, and a frame header takes at least six bytes.
constexpr size_t MaxFrames = 16384;

// Header flags.
constexpr int TagUnsynchronised = 0x80;
constexpr int TagExtendedHeader = 0x40;  // in 2.2: the tag is compressed

// 2.3 format flags (second flag byte).
constexpr int V23Compressed = 0x80;
constexpr int V23Encrypted = 0x40;

// 2.4 format flags (second flag byte).
constexpr int V24Grouped = 0x40;
constexpr int V24Compressed = 0x08;
constexpr int V24Encrypted = 0x04;
constexpr int V24Unsynchronised = 0x02;
constexpr int V24DataLength = 0x01;

uint8_t Byte(std::string_view bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]);
}

uint32_t BigEndian(std::string_view bytes, size_t at, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) value = (value << 8) | Byte(bytes, at + i);
    return value;
}

uint32_t Synchsafe(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 7) | (Byte(bytes, at + i) & 0x7F);
    return value;
}

bool IsSynchsafe(std::string_view bytes, size_t at) {
    for (size_t i = 0; i < 4; ++i)
        if (Byte(bytes, at + i) & 0x80) return false;
    return true;
}

bool IsFrameIDChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A 2.4 frame size "lands" when the next frame header starts with a plausible
// identifier, the tag ends exactly there, or only padding follows.
bool Lands(std::string_view data, uint64_t at) {
    if (at == data.size()) return true;
    if (at > data.size()) return false;
    if (at + 4 <= data.size() &&
        std::all_of(data.begin() + at, data.begin() + at + 4, IsFrameIDChar))
        return true;
    return data.find_first_not_of('\0', at) == std::string_view::npos;
}

// Several encoders write 2.4 sizes as plain integers. Keep the synchsafe
// reading unless it leads nowhere and the plain one leads to a frame, padding
// or the tag's end; below 128 both readings agree.
uint32_t V24FrameSize(std::string_view data, size_t sizeAt, size_t bodyAt) {
    const uint32_t plain = BigEndian(data, sizeAt, 4);
    const uint32_t synchsafe = Synchsafe(data, sizeAt);
    if (plain <= 127) return plain;
    const bool synchsafeLands =
        IsSynchsafe(data, sizeAt) && Lands(data, uint64_t{bodyAt} + synchsafe);
    if (!synchsafeLands && Lands(data, uint64_t{bodyAt} + plain)) return plain;
    return synchsafe;
}

// Where the first frame starts in `data` (the bytes after the tag header), or
// npos when an extended header does not fit.
size_t FirstFrameOffset(std::string_view data, const ID3v2Header& header) {
    if (!(header.Flags & TagExtendedHeader)) return 0;
    if (data.size() < 4) return std::string_view::npos;
    uint64_t skip = 0;
    if (header.MajorVersion >= 4) {
        skip = Synchsafe(data, 0);  // counts itself
        if (skip < 4) return std::string_view::npos;
    } else {
        skip = uint64_t{4} + BigEndian(data, 0, 4);  // counts what follows its size
    }
    if (skip > data.size()) return std::string_view::npos;
    return static_cast<size_t>(skip);
}

void WalkFrames(std::string_view data, const ID3v2Header& header,
                const std::function<bool(const StoredFrame&)>& visit) {
    const int16_t version = header.MajorVersion;
    const size_t idLength = version >= 3 ? 4 : 3;
    const size_t frameHeaderLength = version >= 3 ? 10 : 6;
    size_t pos = FirstFrameOffset(data, header);
    for (size_t count = 0; pos < data.size() && count < MaxFrames; ++count) {
        const uint8_t first = Byte(data, pos);
        if (first == 0x00 || first == 0xFF) return;  // padding
        if (pos + idLength >= data.size()) return;
        if (pos + frameHeaderLength > data.size()) return;  // truncated header
        const size_t sizeAt = pos + idLength;
        const size_t bodyAt = pos + frameHeaderLength;
        uint32_t size = 0;
        if (version >= 3) {
            // 2^31 and above cannot be a size in a signed 32-bit world.
            if (Byte(data, sizeAt) & 0x80) return;
            size = version == 4 ? V24FrameSize(data, sizeAt, bodyAt) : BigEndian(data, sizeAt, 4);
        } else {
            size = BigEndian(data, sizeAt, 3);
        }
        StoredFrame frame;
        frame.ID = data.substr(pos, idLength);
        if (version >= 3) frame.Flags = static_cast<uint16_t>(BigEndian(data, pos + 8, 2));
        const size_t length = std::min<size_t>(size, data.size() - bodyAt);  // cut at tag end
        frame.Data = data.substr(bodyAt, length);
        if (!visit(frame)) return;
        pos = bodyAt + length;
    }
}

}  // namespace

bool ParseID3v2Header(std::string_view bytes, ID3v2Header& header) {
    if (bytes.size() < HeaderSize || bytes.substr(0, 3) != "ID3") return false;
    header.MajorVersion = Byte(bytes, 3);
    header.Revision = Byte(bytes, 4);
    header.Flags = Byte(bytes, 5);
    // 7 bits per byte, most significant first; the bytes are taken whole, so
    // a damaged field still gives a bounded, positive size.
    header.TagSize =
        static_cast<int32_t>((uint32_t{Byte(bytes, 6)} << 21) + (uint32_t{Byte(bytes, 7)} << 14) +
                             (uint32_t{Byte(bytes, 8)} << 7) + Byte(bytes, 9));
    return true;
}

std::string RemoveUnsynchronisation(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (Byte(bytes, i) == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == '\0') ++i;
    }
    return out;
}

void WalkID3v2Frames(std::string_view tag, const ID3v2Header& header,
                     const std::function<bool(const StoredFrame&)>& visit) {
    if (tag.size() < HeaderSize || header.TagSize <= 0) return;
    // In 2.2, flag 0x40 marks a compressed tag that no one defined a method for.
    if (header.MajorVersion <= 2 && (header.Flags & TagExtendedHeader)) return;
    const size_t stored =
        std::min<size_t>(static_cast<size_t>(header.TagSize), tag.size() - HeaderSize);
    const std::string_view body = tag.substr(HeaderSize, stored);
    // 2.4 moved unsynchronisation into each frame.
    if (header.MajorVersion <= 3 && (header.Flags & TagUnsynchronised)) {
        const std::string plain = RemoveUnsynchronisation(body);
        WalkFrames(plain, header, visit);
    } else {
        WalkFrames(body, header, visit);
    }
}

ID3v2Frame DecodeStoredFrame(const StoredFrame& stored, int16_t majorVersion) {
    ID3v2Frame frame;
    frame.ID = std::string(stored.ID);
    frame.Flags = stored.Flags;
    const int format = stored.Flags & 0xFF;
    if (majorVersion != 4) {
        frame.Body = std::string(stored.Data);
        if (majorVersion == 3) {
            frame.Compressed = format & V23Compressed;
            frame.Encrypted = format & V23Encrypted;
        }
        return frame;
    }
    frame.Compressed = format & V24Compressed;
    frame.Encrypted = format & V24Encrypted;
    std::string body = (format & V24Unsynchronised) ? RemoveUnsynchronisation(stored.Data)
                                                    : std::string(stored.Data);
    // The extra header bytes come in the order of their flags.
    size_t at = 0;
    bool whole = true;
    if (format & V24Grouped) {
        whole = at < body.size();
        if (whole) frame.GroupId = static_cast<uint8_t>(body[at++]);
    }
    if (whole && (format & V24Encrypted)) {
        whole = at < body.size();
        if (whole) frame.EncryptionMethod = static_cast<uint8_t>(body[at++]);
    }
    if (whole && (format & V24DataLength)) {
        whole = at + 4 <= body.size();
        if (whole) {
            frame.DataLength = Synchsafe(body, at);
            at += 4;
        }
    }
    frame.Body = whole ? body.substr(at) : std::string();
    return frame;
}

std::vector<ID3v2Frame> ReadID3v2Frames(std::string_view tag, const ID3v2Header& header) {
    std::vector<ID3v2Frame> frames;
    WalkID3v2Frames(tag, header, [&](const StoredFrame& stored) {
        frames.push_back(DecodeStoredFrame(stored, header.MajorVersion));
        return true;
    });
    return frames;
}

}  // namespace tessaly
