#include "support/tessaly.h"

#include "support/MPEGBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <sstream>

using testsupport::Bytes;
using testsupport::XingFields;
using testsupport::XingFrame;

namespace {

const unsigned char* U(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

XingHeaderData Sentinel() {
    XingHeaderData d;
    d.h_id = d.samprate = d.flags = d.frames = d.bytes = d.vbr_scale = 0x5A5A;
    d.toc = nullptr;
    return d;
}

}  // namespace

TEST(SupportLibrary, ExportsExactlyTheFourteenFunctions) {
    if (!testsupport::HaveTool("nm")) GTEST_SKIP() << "nm not available";
    std::string out;
    ASSERT_EQ(
        testsupport::Run("nm -D --defined-only " +
                             testsupport::ShellQuote(testsupport::BinaryDir() + "/libtessaly.so"),
                         &out),
        0);
    std::set<std::string> names;
    std::istringstream lines(out);
    std::string address, type, name;
    while (lines >> address >> type >> name) names.insert(name);
    const std::set<std::string> expected = {"getxingheader", "seekpoint",
                                            "extracti4",     "bitshift",
                                            "ul2str",        "LoWord",
                                            "HiWord",        "LoByte",
                                            "HiByte",        "MakeWORD",
                                            "MakeDWORD",     "FileExists",
                                            "MakeTime",      "CompareDLLVersions"};
    EXPECT_EQ(names, expected);
}

// The header's place follows the side information: 36 for version 1 with two
// channels, 21 for version 1 mono and the lower rates with two channels, 13
// for the lower rates mono. A header anywhere else is not seen.
TEST(Xing, FoundOnlyAtTheOffsetOfTheFramesVersionAndChannels) {
    struct Row {
        std::string header;
        size_t offset;
        int32_t id;
        int32_t samprate;
    };
    const Row rows[] = {
        {Bytes({0xFF, 0xFB, 0x90, 0x44}), 36, 1, 44100},  // MPEG-1 joint stereo
        {Bytes({0xFF, 0xFB, 0x94, 0x04}), 36, 1, 48000},  // MPEG-1 stereo
        {Bytes({0xFF, 0xFB, 0x98, 0x84}), 36, 1, 32000},  // MPEG-1 dual channel
        {Bytes({0xFF, 0xFB, 0x90, 0xC4}), 21, 1, 44100},  // MPEG-1 mono
        {Bytes({0xFF, 0xF3, 0x90, 0x44}), 21, 0, 22050},  // MPEG-2 joint stereo
        {Bytes({0xFF, 0xF3, 0x98, 0xC4}), 13, 0, 16000},  // MPEG-2 mono
        {Bytes({0xFF, 0xE3, 0x90, 0xC4}), 13, 0, 22050},  // MPEG-2.5 reads as id 0
        {Bytes({0xFF, 0xFB, 0x9C, 0x44}), 36, 1, 99999},  // reserved rate index
        {Bytes({0xFF, 0xF3, 0x9C, 0xC4}), 13, 0, 49999},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("row with header byte 1 = " + std::to_string(uint8_t(row.header[1])) +
                     ", byte 3 = " + std::to_string(uint8_t(row.header[3])));
        for (size_t offset : {13, 21, 36}) {
            std::string frame = XingFrame(row.header, {}, 2048, offset);
            XingHeaderData d = Sentinel();
            const int32_t found = getxingheader(&d, U(frame));
            if (offset == row.offset) {
                EXPECT_EQ(found, 1);
                EXPECT_EQ(d.h_id, row.id);
                EXPECT_EQ(d.samprate, row.samprate);
                EXPECT_EQ(d.flags, 0x0F);
            } else {
                EXPECT_EQ(found, 0) << "offset " << offset;
                EXPECT_EQ(d.flags, 0);
                EXPECT_EQ(d.h_id, 0x5A5A);  // untouched apart from flags
                EXPECT_EQ(d.frames, 0x5A5A);
            }
        }
    }
}

TEST(Xing, FieldsFollowTheirFlagsInOrder) {
    const std::string header = Bytes({0xFF, 0xFB, 0x90, 0x44});
    XingFields all;
    all.frames = 0x01020304;
    all.bytes = 0x8A0B0C0D;  // high bit set: read as the raw 32 bits
    for (int i = 0; i < 100; ++i) all.toc[i] = static_cast<char>(i * 2);
    all.scale = 57;
    {
        std::string frame = XingFrame(header, all, 2048);
        unsigned char toc[100] = {};
        XingHeaderData d = Sentinel();
        d.toc = toc;
        ASSERT_EQ(getxingheader(&d, U(frame)), 1);
        EXPECT_EQ(d.frames, 0x01020304);
        EXPECT_EQ(static_cast<uint32_t>(d.bytes), 0x8A0B0C0Du);
        EXPECT_EQ(d.vbr_scale, 57);
        EXPECT_EQ(std::memcmp(toc, all.toc.data(), 100), 0);
    }
    {
        // Frames and table only, no table buffer: the table is skipped, the
        // byte count left alone and the quality marked absent.
        XingFields some = all;
        some.flags = 0x05;
        std::string frame = XingFrame(header, some, 2048);
        XingHeaderData d = Sentinel();
        ASSERT_EQ(getxingheader(&d, U(frame)), 1);
        EXPECT_EQ(d.flags, 0x05);
        EXPECT_EQ(d.frames, 0x01020304);
        EXPECT_EQ(d.bytes, 0x5A5A);
        EXPECT_EQ(d.vbr_scale, -1);
    }
    {
        // Table and quality without a buffer: the quality is read past the table.
        XingFields some = all;
        some.flags = 0x0C;
        std::string frame = XingFrame(header, some, 2048);
        XingHeaderData d = Sentinel();
        ASSERT_EQ(getxingheader(&d, U(frame)), 1);
        EXPECT_EQ(d.frames, 0x5A5A);
        EXPECT_EQ(d.vbr_scale, 57);
    }
}

TEST(Xing, SeekPointInterpolatesInTheTable) {
    unsigned char toc[100];
    for (int i = 0; i < 100; ++i) toc[i] = static_cast<unsigned char>(i * 256 / 100);
    toc[50] = 128;
    toc[10] = 20;
    toc[11] = 30;
    EXPECT_EQ(seekpoint(toc, 1000, 100.0f), 1000);
    EXPECT_EQ(seekpoint(toc, 2000000000, 100.0f), 2000000000);  // no float rounding
    EXPECT_EQ(seekpoint(toc, 1000, 50.0f), 500);
    EXPECT_EQ(seekpoint(toc, 1000, 10.5f), 25 * 1000 / 256);
    EXPECT_EQ(seekpoint(toc, 1000, 250.0f), 1000);  // clamped to 100
    EXPECT_EQ(seekpoint(toc, 1000, -3.0f), 0);      // clamped to 0 (toc[0] = 0)
    EXPECT_EQ(seekpoint(toc, 1000, std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(Words, ShiftsAreLogicalAndModulo32) {
    EXPECT_EQ(bitshift(static_cast<int32_t>(0x80000000u), -31), 1);
    EXPECT_EQ(static_cast<uint32_t>(bitshift(1, 31)), 0x80000000u);
    EXPECT_EQ(bitshift(-1, -28), 0xF);  // logical, not arithmetic
    EXPECT_EQ(bitshift(0x1234, 0), 0x1234);
    EXPECT_EQ(bitshift(1, 33), 2);  // modulo 32
    EXPECT_EQ(bitshift(8, -35), 1);
    EXPECT_EQ(bitshift(5, std::numeric_limits<int32_t>::min()), 5);  // -2^31 mod 32 = 0
}

TEST(Words, PackAndUnpack) {
    const int32_t v = static_cast<int32_t>(0xF1E2D3C4u);
    EXPECT_EQ(LoWord(v), 0xD3C4);
    EXPECT_EQ(HiWord(v), 0xF1E2);  // logical: no sign bits
    EXPECT_EQ(LoByte(v), 0xC4);
    EXPECT_EQ(HiByte(v), 0xD3);
    EXPECT_EQ(MakeWORD(0x1AB, 0x2CD), 0xABCD);
    EXPECT_EQ(static_cast<uint32_t>(MakeDWORD(0x1F1E2, 0xD3C4)), 0xF1E2D3C4u);
    // The low value is added whole: its upper bits carry into the high word.
    EXPECT_EQ(MakeDWORD(1, 0x10005), 0x20005);
    EXPECT_EQ(MakeDWORD(0, -1), -1);
    EXPECT_EQ(static_cast<uint32_t>(MakeDWORD(0xFFFF, 0x10000)), 0u);  // wraps, no overflow trap
    EXPECT_EQ(extracti4(U(Bytes({0x12, 0x34, 0x56, 0x78}))), 0x12345678);
    EXPECT_EQ(static_cast<uint32_t>(extracti4(U(Bytes({0xFF, 0, 0, 1})))), 0xFF000001u);
}

TEST(Words, Ul2strWritesDigitsThenTheLetterL) {
    char buffer[12];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(ul2str(5, buffer), 2);
    EXPECT_STREQ(buffer, "5l");
    EXPECT_EQ(ul2str(4294967295u, buffer), 11);  // the longest fits the documented 12 bytes
    EXPECT_STREQ(buffer, "4294967295l");
    EXPECT_EQ(ul2str(0, buffer), 2);
    EXPECT_STREQ(buffer, "0l");
}

TEST(System, FileExistsForAnyKindOfPath) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.File("a.txt"), "x");
    EXPECT_EQ(FileExists(dir.File("a.txt").c_str()), 1);
    EXPECT_EQ(FileExists(dir.Path().string().c_str()), 1);
    EXPECT_EQ(FileExists(dir.File("missing").c_str()), 0);
    EXPECT_EQ(FileExists(""), 0);
    EXPECT_EQ(FileExists(nullptr), 0);
}

TEST(System, MakeTimeFormatsWithStrftime) {
    struct tm t = {};
    t.tm_year = 2003 - 1900;
    t.tm_mon = 6;
    t.tm_mday = 9;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 7;
    char buffer[32];
    EXPECT_EQ(MakeTime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &t), 19);
    EXPECT_STREQ(buffer, "2003/07/09 14:05:07");
    // Too small: nothing written but an empty string.
    EXPECT_EQ(MakeTime(buffer, 5, "%Y/%m/%d", &t), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(MakeTime(buffer, 0, "%Y", &t), 0);
    EXPECT_EQ(MakeTime(buffer, sizeof buffer, "%Y", nullptr), 0);
}
