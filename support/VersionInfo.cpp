// The file version of a Windows executable, read from its version resource
// with plain file reads so that it works the same on every platform:
// DOS header -> PE header -> section table -> resource directory (type 16)
// -> VS_VERSIONINFO -> VS_FIXEDFILEINFO. Every offset comes from the file, so
// every one is checked against what the file holds before it is used.
#include "tessaly.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint32_t ResourceTypeVersion = 16;
constexpr uint32_t VersionInfoId = 1;
constexpr uint32_t FixedFileInfoSignature = 0xFEEF04BD;
constexpr int ResourceDataDirectory = 2;
// A version resource's length is a 16-bit field.
constexpr uint32_t MaxVersionResource = 0xFFFF;

uint16_t LE16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                 static_cast<unsigned char>(bytes[at + 1]) << 8);
}

uint32_t LE32(const std::string& bytes, size_t at) {
    return uint32_t{LE16(bytes, at)} | uint32_t{LE16(bytes, at + 2)} << 16;
}

class ImageFile {
public:
    explicit ImageFile(const char* path) : file_(path ? std::fopen(path, "rb") : nullptr) {
        if (file_ && std::fseek(file_, 0, SEEK_END) == 0) {
            long end = std::ftell(file_);
            size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
        }
    }
    ~ImageFile() {
        if (file_) std::fclose(file_);
    }
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    // Exactly `count` bytes at `offset`, or false when the file is shorter.
    bool Read(uint64_t offset, uint32_t count, std::string& out) const {
        if (!file_ || offset > size_ || count > size_ - offset) return false;
        out.assign(count, '\0');
        if (count == 0) return true;
        if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
        return std::fread(out.data(), 1, count, file_) == count;
    }

private:
    std::FILE* file_;
    uint64_t size_ = 0;
};

struct Section {
    uint32_t VirtualAddress;
    uint32_t VirtualSize;
    uint32_t RawOffset;
    uint32_t RawSize;
};

class PEImage {
public:
    explicit PEImage(const char* path) : file_(path) {}

    // The version's low 32 bits (third and fourth components), or 0.
    uint32_t FileVersionLS() {
        uint32_t resourceRva = 0;
        if (!ReadHeaders(resourceRva)) return 0;
        uint32_t dataRva = 0, dataSize = 0;
        if (!FindVersionResource(resourceRva, dataRva, dataSize)) return 0;
        return ReadFixedFileInfo(dataRva, dataSize);
    }

private:
    bool ReadHeaders(uint32_t& resourceRva) {
        std::string bytes;
        if (!file_.Read(0, 64, bytes) || bytes.compare(0, 2, "MZ") != 0) return false;
        const uint32_t peOffset = LE32(bytes, 0x3C);
        // Signature and file header.
        if (!file_.Read(peOffset, 24, bytes) || bytes.compare(0, 4, std::string("PE\0\0", 4)) != 0)
            return false;
        const uint16_t sectionCount = LE16(bytes, 6);
        const uint16_t optionalSize = LE16(bytes, 20);

        std::string optional;
        if (!file_.Read(uint64_t{peOffset} + 24, optionalSize, optional) || optionalSize < 2)
            return false;
        size_t countAt, directoriesAt;
        switch (LE16(optional, 0)) {
            case 0x10B:  // PE32
                countAt = 92;
                directoriesAt = 96;
                break;
            case 0x20B:  // PE32+
                countAt = 108;
                directoriesAt = 112;
                break;
            default:
                return false;
        }
        if (optional.size() < countAt + 4 || LE32(optional, countAt) <= ResourceDataDirectory)
            return false;
        const size_t resourceEntry = directoriesAt + 8 * ResourceDataDirectory;
        if (optional.size() < resourceEntry + 8) return false;
        resourceRva = LE32(optional, resourceEntry);
        if (resourceRva == 0) return false;

        std::string table;
        const uint64_t tableAt = uint64_t{peOffset} + 24 + optionalSize;
        if (!file_.Read(tableAt, uint32_t{sectionCount} * 40, table)) return false;
        for (size_t i = 0; i < sectionCount; ++i) {
            const size_t at = i * 40;
            sections_.push_back({LE32(table, at + 12), LE32(table, at + 8), LE32(table, at + 20),
                                 LE32(table, at + 16)});
        }
        return true;
    }

    // Reads `count` bytes at the relative virtual address `rva`; they must lie
    // in the stored data of one section.
    bool ReadRva(uint32_t rva, uint32_t count, std::string& out) const {
        for (const Section& s : sections_) {
            const uint32_t extent = s.VirtualSize ? s.VirtualSize : s.RawSize;
            if (rva < s.VirtualAddress || rva - s.VirtualAddress >= extent) continue;
            const uint64_t inSection = rva - s.VirtualAddress;
            if (inSection + count > s.RawSize) return false;
            return file_.Read(s.RawOffset + inSection, count, out);
        }
        return false;
    }

    enum class Pick { Required, PreferredOrFirst, First };

    // An entry of the resource directory at `directoryOffset` (relative to
    // the resource root) chosen by `pick` among the entries named by number:
    // the one numbered `id`, or the first when none is (or `pick` is First).
    // Gives the entry's target, which must be a directory when `wantDirectory`
    // is set and a data entry otherwise.
    bool FindEntry(uint32_t root, uint32_t directoryOffset, Pick pick, uint32_t id,
                   bool wantDirectory, uint32_t& target) const {
        std::string header;
        if (!ReadRva(root + directoryOffset, 16, header)) return false;
        const uint32_t count = uint32_t{LE16(header, 12)} + LE16(header, 14);
        if (count == 0) return false;
        std::string entries;
        if (!ReadRva(root + directoryOffset + 16, count * 8, entries)) return false;
        size_t chosen = 0;
        bool found = false;
        for (size_t i = 0; i < count && pick != Pick::First && !found; ++i) {
            // Named entries have the high bit set; numbered ones hold the number.
            if (LE32(entries, i * 8) == id) {
                chosen = i;
                found = true;
            }
        }
        if (pick == Pick::Required && !found) return false;
        target = LE32(entries, chosen * 8 + 4);
        const bool isDirectory = (target & 0x80000000u) != 0;
        target &= 0x7FFFFFFFu;
        return isDirectory == wantDirectory;
    }

    bool FindVersionResource(uint32_t root, uint32_t& dataRva, uint32_t& dataSize) const {
        // Type, then name (id 1 by convention, else the first), then language.
        uint32_t names = 0, languages = 0, leaf = 0;
        if (!FindEntry(root, 0, Pick::Required, ResourceTypeVersion, true, names)) return false;
        if (!FindEntry(root, names, Pick::PreferredOrFirst, VersionInfoId, true, languages))
            return false;
        if (!FindEntry(root, languages, Pick::First, 0, false, leaf)) return false;
        std::string entry;
        if (!ReadRva(root + leaf, 16, entry)) return false;
        dataRva = LE32(entry, 0);
        dataSize = LE32(entry, 4);
        return true;
    }

    uint32_t ReadFixedFileInfo(uint32_t dataRva, uint32_t dataSize) const {
        if (dataSize > MaxVersionResource) dataSize = MaxVersionResource;
        std::string block;
        if (dataSize < 6 || !ReadRva(dataRva, dataSize, block)) return 0;
        const uint32_t length = std::min<uint32_t>(LE16(block, 0), dataSize);
        const uint32_t valueLength = LE16(block, 2);
        // The key "VS_VERSION_INFO" in UTF-16 follows the three words, then
        // padding to a 32-bit boundary, then the fixed information.
        size_t at = 6;
        while (at + 1 < length && LE16(block, at) != 0) at += 2;
        at += 2;
        at = (at + 3) & ~size_t{3};
        if (valueLength < 52 || at + 52 > length) return 0;
        if (LE32(block, at) != FixedFileInfoSignature) return 0;
        return LE32(block, at + 12);  // dwFileVersionLS
    }

    ImageFile file_;
    std::vector<Section> sections_;
};

}  // namespace

extern "C" int32_t TESSALY_CALL CompareDLLVersions(const char* path1, const char* path2) {
    const uint32_t first = PEImage(path1).FileVersionLS();
    const uint32_t second = PEImage(path2).FileVersionLS();
    if (first > second) return -1;
    if (first < second) return 1;
    return 0;
}
