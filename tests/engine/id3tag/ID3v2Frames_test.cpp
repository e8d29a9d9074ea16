#include "engine/id3tag/ID3v2Frames.h"

#include "support/ID3Builders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tessaly;
using namespace std::string_literals;
using namespace testsupport::id3;
using testsupport::BE32;
using testsupport::Hex;
using testsupport::Synchsafe;

namespace {

std::vector<ID3v2Frame> Frames(const std::string& tag) {
    ID3v2Header header;
    EXPECT_TRUE(ParseID3v2Header(tag, header));
    return ReadID3v2Frames(tag, header);
}

std::string IDs(const std::vector<ID3v2Frame>& frames) {
    std::string out;
    for (const auto& frame : frames) out += (out.empty() ? "" : " ") + frame.ID;
    return out;
}

}  // namespace

TEST(ID3v2Header, ParsesTheTenByteHeader) {
    ID3v2Header header;
    ASSERT_TRUE(ParseID3v2Header("ID3" + Hex("04 01 40") + Synchsafe(300000), header));
    EXPECT_EQ(header.MajorVersion, 4);
    EXPECT_EQ(header.Revision, 1);
    EXPECT_EQ(header.Flags, 0x40);
    EXPECT_EQ(header.TagSize, 300000);
    EXPECT_FALSE(ParseID3v2Header("ID3" + Hex("03 00 00 00 00 00"), header));
    EXPECT_FALSE(ParseID3v2Header("ID2" + Hex("03 00 00 00 00 00 00"), header));
    EXPECT_FALSE(ParseID3v2Header("", header));
}

// 2.2 and 2.3 sizes are plain big-endian, 2.4 sizes synchsafe: a frame of
// 128 bytes or more read the wrong way loses every frame behind it.
TEST(ID3v2Frames, FrameSizesFollowTheVersion) {
    for (int version : {2, 3, 4}) {
        const char* first = version == 2 ? "TT2" : "TIT2";
        const char* second = version == 2 ? "TP1" : "TPE1";
        const std::string big(200, 'x');
        const auto frames =
            Frames(Tag(version, Frame(version, first, big) + Frame(version, second, "\0Artist"s)));
        ASSERT_EQ(frames.size(), 2u) << version;
        EXPECT_EQ(frames[0].Body, big) << version;
        EXPECT_EQ(frames[1].ID, second) << version;
    }
}

// A plain size of 300 (00 00 01 2C) reads 172 when taken as synchsafe.
TEST(ID3v2Frames, V24PlainSizeFallbackOnlyWhenTheSynchsafeReadingLeadsNowhere) {
    const std::string plain300 = BE32(300);
    const std::string next = Frame(4, "TPE1", "\0Artist"s);
    struct Case {
        const char* name;
        std::string frames;
        size_t firstBody;
        std::string ids;
    };
    const std::vector<Case> cases = {
        {"plain size followed by a frame",
         RawFrame("TIT2", plain300, std::string(300, 'x'), 4) + next, 300, "TIT2 TPE1"},
        {"plain size whose bytes are not synchsafe",
         RawFrame("TIT2", BE32(200), std::string(200, 'x'), 4) + next, 200, "TIT2 TPE1"},
        {"plain size ending exactly at the tag's end",
         RawFrame("TIT2", plain300, std::string(300, 'x'), 4), 300, "TIT2"},
        {"plain size followed by padding",
         RawFrame("TIT2", plain300, std::string(300, 'x'), 4) + std::string(20, '\0'), 300, "TIT2"},
        {"synchsafe reading lands: kept even though the plain one lands too",
         RawFrame("TIT2", plain300, std::string(172, 'x'), 4) +
             Frame(4, "TPE1", std::string(118, 'a')) + next,
         172, "TIT2 TPE1 TPE1"},
        {"neither lands: synchsafe kept", RawFrame("TIT2", plain300, std::string(250, 'x'), 4), 172,
         "TIT2 xxxx"},
    };
    for (const auto& c : cases) {
        const auto frames = Frames(Tag(4, c.frames));
        ASSERT_FALSE(frames.empty()) << c.name;
        EXPECT_EQ(frames[0].Body.size(), c.firstBody) << c.name;
        EXPECT_EQ(IDs(frames), c.ids) << c.name;
    }
}

// 2.3's extended-header size counts the bytes after its own field; 2.4's is
// synchsafe and counts itself.
TEST(ID3v2Frames, ExtendedHeaderIsSkippedByItsVersionsRule) {
    for (int version : {3, 4}) {
        TagOptions options;
        options.extended = true;
        const auto frames = Frames(Tag(version, Frame(version, "TIT2", "\0Title"s), options));
        ASSERT_EQ(frames.size(), 1u) << version;
        EXPECT_EQ(frames[0].ID, "TIT2") << version;
        EXPECT_EQ(frames[0].Body, "\0Title"s) << version;
    }
    // An extended header running past the tag leaves nothing to read.
    EXPECT_TRUE(Frames("ID3" + Hex("03 00 40") + Synchsafe(8) + BE32(100) + "TIT2").empty());
}

TEST(ID3v2Frames, TagUnsynchronisationIsUndoneBeforeFramesAreParsed) {
    const std::string binary = Hex("01 FF E0 02 FF 00 03 FF");
    for (int version : {2, 3}) {
        const char* id = version == 2 ? "PIC" : "APIC";
        const char* after = version == 2 ? "TT2" : "TIT2";
        TagOptions options;
        options.unsync = true;
        const std::string tag =
            Tag(version, Frame(version, id, binary) + Frame(version, after, "\0T"s), options);
        ASSERT_NE(tag.find(Hex("FF 00 E0")), std::string::npos);
        const auto frames = Frames(tag);
        ASSERT_EQ(frames.size(), 2u) << version;
        EXPECT_EQ(frames[0].Body, binary) << version;
        EXPECT_EQ(frames[1].ID, after) << version;
    }
}

TEST(ID3v2Frames, V24FrameFlagsAreUndoneIntoTheirFields) {
    const std::string data = Hex("61 FF E1 62");
    struct Case {
        const char* name;
        uint16_t flags;
        std::string stored;
        int group, method;
        int64_t dataLength;
        bool compressed, encrypted;
        std::string body;
    };
    const std::vector<Case> cases = {
        {"unsynchronised", 0x0002, Unsynchronise(data), -1, -1, -1, false, false, data},
        {"unsynchronised with data length", 0x0003, Unsynchronise(Synchsafe(4) + data), -1, -1, 4,
         false, false, data},
        {"group, encryption, data length in that order", 0x0045,
         Hex("07 02") + Synchsafe(300) + data, 7, 2, 300, false, true, data},
        {"compressed with data length", 0x0009, Synchsafe(1000) + data, -1, -1, 1000, true, false,
         data},
        {"group byte missing", 0x0040, "", -1, -1, -1, false, false, ""},
        {"status flags only", 0x6000, data, -1, -1, -1, false, false, data},
    };
    for (const auto& c : cases) {
        const auto frames = Frames(Tag(4, Frame(4, "APIC", c.stored, c.flags)));
        ASSERT_EQ(frames.size(), 1u) << c.name;
        const ID3v2Frame& f = frames[0];
        EXPECT_EQ(f.Flags, c.flags) << c.name;
        EXPECT_EQ(f.GroupId, c.group) << c.name;
        EXPECT_EQ(f.EncryptionMethod, c.method) << c.name;
        EXPECT_EQ(f.DataLength, c.dataLength) << c.name;
        EXPECT_EQ(f.Compressed, c.compressed) << c.name;
        EXPECT_EQ(f.Encrypted, c.encrypted) << c.name;
        EXPECT_EQ(f.Body, c.body) << c.name;
    }
}

// 2.3 keeps its extra bytes in the body; the writer carries such frames as stored.
TEST(ID3v2Frames, V23FramesKeepTheirBodiesAsStored) {
    const std::string stored = BE32(50) + "zlib data";
    const auto frames =
        Frames(Tag(3, Frame(3, "TIT2", stored, 0x8080) + Frame(3, "TPE1", "\x05\0A"s, 0x0040)));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].Flags, 0x8080);
    EXPECT_TRUE(frames[0].Compressed);
    EXPECT_FALSE(frames[0].Encrypted);
    EXPECT_EQ(frames[0].Body, stored);
    EXPECT_TRUE(frames[1].Encrypted);
    EXPECT_EQ(frames[1].Body, std::string("\x05\0A", 3));
    EXPECT_EQ(frames[1].DataLength, -1);
}

TEST(ID3v2Frames, CompressedV22TagHasNoReadableFrames) {
    TagOptions options;
    options.flags = 0x40;
    EXPECT_TRUE(Frames(Tag(2, Frame(2, "TT2", "\0Title"s), options)).empty());
    EXPECT_EQ(Frames(Tag(2, Frame(2, "TT2", "\0Title"s))).size(), 1u);
}

TEST(ID3v2Frames, WalkEndsOrCutsAtDamage) {
    const std::string title = Frame(3, "TIT2", "\0Title"s);
    const std::string artist = Frame(3, "TPE1", "\0Artist"s);
    struct Case {
        const char* name;
        std::string tag;
        std::string ids;
        std::string lastBody;
    };
    std::string truncatedFile = Tag(3, title + Frame(3, "TPE1", std::string(100, 'a')));
    truncatedFile.resize(truncatedFile.size() - 60);
    const std::vector<Case> cases = {
        {"padding ends the walk", Tag(3, title, {0, 0, 4}) + artist, "TIT2", "\0Title"s},
        {"zero byte before a frame", Tag(3, title + std::string(1, '\0') + artist), "TIT2",
         "\0Title"s},
        {"FF byte", Tag(3, title + "\xFF" + artist), "TIT2", "\0Title"s},
        {"2.3 size of 2^31",
         Tag(3, title + RawFrame("TPE1", Hex("80 00 00 05"), "\0Abcd"s, 3) + artist), "TIT2",
         "\0Title"s},
        {"2.4 size of 2^31", Tag(4, RawFrame("TPE1", Hex("80 00 00 05"), "\0Abcd"s, 4)), "", ""},
        {"truncated frame header", Tag(3, title + artist.substr(0, 7)), "TIT2", "\0Title"s},
        {"frame running past the tag is cut",
         Tag(3, title + RawFrame("TPE1", BE32(1000), "\0Art"s, 3)), "TIT2 TPE1", "\0Art"s},
        {"file shorter than the tag claims", truncatedFile, "TIT2 TPE1", std::string(40, 'a')},
        {"empty frame keeps its neighbour aligned", Tag(3, Frame(3, "TIT2", "") + artist),
         "TIT2 TPE1", "\0Artist"s},
        {"last frame ends exactly at the tag's end", Tag(3, title + artist), "TIT2 TPE1",
         "\0Artist"s},
    };
    for (const auto& c : cases) {
        const auto frames = Frames(c.tag);
        EXPECT_EQ(IDs(frames), c.ids) << c.name;
        if (!frames.empty()) {
            EXPECT_EQ(frames.back().Body, c.lastBody) << c.name;
        }
    }
}

TEST(ID3v2Frames, FrameCountIsBounded) {
    std::string frames;
    for (int i = 0; i < 40000; ++i) frames += Frame(2, "TT2", "");
    const auto read = Frames(Tag(2, frames));
    EXPECT_GT(read.size(), 1000u);
    EXPECT_LT(read.size(), 40000u);
}
