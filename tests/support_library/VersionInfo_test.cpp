// CompareDLLVersions on Windows executables built here in memory: a DOS stub,
// a PE header, one ".rsrc" section with a version resource.
#include "support/tessaly.h"

#include "support/MPEGBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::LittleEndian;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

struct ImageOptions {
    uint32_t versionMS = 0x00010000;  // 1.0
    uint32_t versionLS = 0x00020003;  // .2.3
    bool pe32Plus = false;
    uint32_t signature = 0xFEEF04BD;
    uint32_t typeId = 16;  // RT_VERSION
};

std::string L16(uint32_t v) {
    return LittleEndian(v, 2);
}
std::string L32(uint32_t v) {
    return LittleEndian(v, 4);
}

std::string VersionResource(const ImageOptions& o) {
    std::string key = testsupport::Utf16("VS_VERSION_INFO");  // 32 bytes with terminator
    std::string fixed = L32(o.signature) + L32(0x00010000) + L32(o.versionMS) + L32(o.versionLS) +
                        L32(o.versionMS) + L32(o.versionLS) + std::string(7 * 4, '\0');
    std::string block = L16(0) + L16(52) + L16(0) + key;
    block.resize((block.size() + 3) & ~size_t{3}, '\0');
    block += fixed;
    block.replace(0, 2, L16(static_cast<uint32_t>(block.size())));
    return block;
}

// A resource tree: type -> name 1 -> language 0x409 -> data.
std::string ResourceSection(const ImageOptions& o, uint32_t sectionRva) {
    auto directory = [](uint32_t id, uint32_t target) {
        return std::string(12, '\0') + L16(0) + L16(1) + L32(id) + L32(target);
    };
    std::string s = directory(o.typeId, 0x80000000u | 0x18);  // 0x00
    s += directory(1, 0x80000000u | 0x30);                    // 0x18
    s += directory(0x409, 0x48);                              // 0x30
    const std::string data = VersionResource(o);
    s += L32(sectionRva + 0x58) + L32(static_cast<uint32_t>(data.size())) + L32(0) + L32(0);
    s += data;  // 0x58
    return s;
}

std::string PEImage(const ImageOptions& o = {}) {
    const uint32_t sectionRva = 0x1000, rawOffset = 0x200;
    const std::string rsrc = ResourceSection(o, sectionRva);

    std::string image = "MZ";
    image.resize(0x3C, '\0');
    image += L32(0x40);
    image += std::string("PE\0\0", 4);
    const uint16_t optionalSize = o.pe32Plus ? 240 : 224;
    image += L16(o.pe32Plus ? 0x8664 : 0x14C) + L16(1) + L32(0) + L32(0) + L32(0) +
             L16(optionalSize) + L16(0x2102);
    std::string optional = L16(o.pe32Plus ? 0x20B : 0x10B);
    const size_t countAt = o.pe32Plus ? 108 : 92;
    optional.resize(countAt, '\0');
    optional += L32(16);
    for (int i = 0; i < 16; ++i)
        optional += i == 2 ? L32(sectionRva) + L32(static_cast<uint32_t>(rsrc.size()))
                           : std::string(8, '\0');
    EXPECT_EQ(optional.size(), optionalSize);
    image += optional;
    std::string section = ".rsrc";
    section.resize(8, '\0');
    section += L32(static_cast<uint32_t>(rsrc.size())) + L32(sectionRva) +
               L32(static_cast<uint32_t>(rsrc.size())) + L32(rawOffset) + std::string(16, '\0');
    image += section;
    image.resize(rawOffset, '\0');
    image += rsrc;
    return image;
}

class VersionFiles {
public:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir_.File(name);
        WriteBytes(path, bytes);
        return path;
    }

private:
    TempDir dir_;
};

}  // namespace

TEST(CompareDLLVersions, ComparesTheLowHalfOfTheFileVersion) {
    VersionFiles files;
    auto image = [&](const std::string& name, uint32_t ms, uint32_t ls, bool plus = false) {
        ImageOptions o;
        o.versionMS = ms;
        o.versionLS = ls;
        o.pe32Plus = plus;
        return files.Write(name, PEImage(o));
    };
    const std::string v1_0_2_5 = image("a.dll", 0x00010000, 0x00020005);
    const std::string v1_0_2_4 = image("b.dll", 0x00010000, 0x00020004, true);
    const std::string v9_0_2_5 = image("c.dll", 0x00090000, 0x00020005);
    const std::string v1_0_3_0 = image("d.dll", 0x00010000, 0x00030000, true);
    const std::string high = image("e.dll", 0, 0x80000000u);  // third component 32768

    EXPECT_EQ(CompareDLLVersions(v1_0_2_5.c_str(), v1_0_2_4.c_str()), -1);
    EXPECT_EQ(CompareDLLVersions(v1_0_2_4.c_str(), v1_0_2_5.c_str()), 1);
    EXPECT_EQ(CompareDLLVersions(v1_0_2_5.c_str(), v1_0_2_5.c_str()), 0);
    // Only the third and fourth components take part.
    EXPECT_EQ(CompareDLLVersions(v1_0_2_5.c_str(), v9_0_2_5.c_str()), 0);
    EXPECT_EQ(CompareDLLVersions(v1_0_3_0.c_str(), v1_0_2_5.c_str()), -1);
    // Components are unsigned: 32768 is larger, not negative.
    EXPECT_EQ(CompareDLLVersions(high.c_str(), v1_0_3_0.c_str()), -1);
}

TEST(CompareDLLVersions, FilesWithoutAVersionCountAsZero) {
    VersionFiles files;
    ImageOptions zero;
    zero.versionLS = 0;
    const std::string versionZero = files.Write("zero.dll", PEImage(zero));
    const std::string text = files.Write("notes.txt", "MZ but nothing else");
    ImageOptions badSignature;
    badSignature.signature = 0xFEEF04BC;
    const std::string unsigned_ = files.Write("sig.dll", PEImage(badSignature));
    ImageOptions otherType;
    otherType.typeId = 3;  // an icon, not a version
    const std::string icon = files.Write("icon.dll", PEImage(otherType));
    const std::string versioned = files.Write("v.dll", PEImage());
    const std::string missing = files.Write("x", "") + ".missing";

    for (const std::string& path : {text, unsigned_, icon, missing, std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(CompareDLLVersions(path.c_str(), versionZero.c_str()), 0);
        EXPECT_EQ(CompareDLLVersions(versioned.c_str(), path.c_str()), -1);
    }
    EXPECT_EQ(CompareDLLVersions(nullptr, versioned.c_str()), 1);
}

// Every offset comes from the file: a cut-off image, or one whose fields point
// anywhere, reads as some version (0 when the structure breaks), never beyond the file;
// the sanitizer build checks the reads.
TEST(CompareDLLVersions, DamagedImagesNeverReadPastTheFile) {
    VersionFiles files;
    const std::string image = PEImage();
    const std::string zero = files.Write("zero.txt", "");
    const std::string good = files.Write("good.dll", image);
    ASSERT_EQ(CompareDLLVersions(good.c_str(), zero.c_str()), -1);

    for (size_t length = 0; length < image.size(); length += 7) {
        const std::string cut = files.Write("cut.dll", image.substr(0, length));
        EXPECT_EQ(CompareDLLVersions(cut.c_str(), zero.c_str()), 0) << "length " << length;
    }
    for (size_t at = 0; at + 4 <= image.size(); at += 2) {
        for (uint32_t value : {0xFFFFFFFFu, 0x7FFFFFF0u, 0x00000000u}) {
            std::string damaged = image;
            damaged.replace(at, 4, L32(value));
            const std::string path = files.Write("bad.dll", damaged);
            const int32_t result = CompareDLLVersions(path.c_str(), good.c_str());
            EXPECT_TRUE(result >= -1 && result <= 1) << "offset " << at;
        }
    }
}
