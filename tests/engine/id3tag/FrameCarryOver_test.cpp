#include "engine/id3tag/FrameCarryOver.h"

#include "engine/id3tag/FieldFrames.h"
#include "engine/id3tag/ID3v2Writer.h"
#include "support/ID3Builders.h"

#include <gtest/gtest.h>

using namespace tessaly;
using testsupport::Hex;
namespace id3 = testsupport::id3;

namespace {

ID3v2Frame MakeFrame(std::string id, std::string body, uint16_t flags = 0) {
    ID3v2Frame f;
    f.ID = std::move(id);
    f.Body = std::move(body);
    f.Flags = flags;
    return f;
}

std::string Frame23(const std::string& id, const std::string& body, uint16_t flags = 0) {
    return id3::Frame(3, id, body, flags);
}

}  // namespace

TEST(FrameCarryOver, Version23FramesAreKeptAsStoredFlagsIncluded) {
    // Nothing wanted: the title is emptied, everything else stays.
    std::vector<ID3v2Frame> frames = {
        MakeFrame("TIT2", Hex("00") + "old title"),  // emptied
        MakeFrame("APIC", Hex("00") + "image/png" + Hex("00 03 00") + "PNGDATA"),
        MakeFrame("TXXX", Hex("01") + id3::UTF16LE("k") + Hex("00 00") + id3::UTF16LE("v"),
                  0x2000),                                               // read-only bit kept
        MakeFrame("PRIV", "owner" + Hex("00 FF FE"), 0x8000),            // asks to be discarded
        MakeFrame("COMM", Hex("00") + "engiTunNORM" + Hex("00") + "x"),  // not the comment box's
        MakeFrame("SEEK", Hex("00 00 10 00")),
    };
    EXPECT_EQ(MergeFrames({}, "eng", frames, 3), Frame23("APIC", frames[1].Body) +
                                                   Frame23("TXXX", frames[2].Body, 0x2000) +
                                                   Frame23("COMM", frames[4].Body));
}

TEST(FrameCarryOver, Version24TextIsReencodedAsUTF16WithAMark) {
    // "é€" in UTF-8: é fits one byte, € does not; both must survive.
    const std::string utf8 = "\xC3\xA9\xE2\x82\xAC";
    const std::string utf16 = Hex("FF FE E9 00 AC 20");
    EXPECT_EQ(ReencodeFor23("TPE2", Hex("03") + utf8), Hex("01") + utf16);
    EXPECT_EQ(ReencodeFor23("TPE2", Hex("02 00 E9 20 AC")), Hex("01") + utf16);
    // Several values in one 2.4 text frame stay several values.
    EXPECT_EQ(ReencodeFor23("TPE2", Hex("03") + "a" + Hex("00") + "b"),
              Hex("01 FF FE 61 00 00 00 FF FE 62 00"));
    EXPECT_EQ(ReencodeFor23("TXXX", Hex("03") + "desc" + Hex("00") + utf8),
              Hex("01") + id3::UTF16LE("desc") + Hex("00 00") + utf16);
    EXPECT_EQ(ReencodeFor23("USLT", Hex("03") + "eng" + Hex("00") + "la"),
              Hex("01") + "eng" + Hex("FF FE 00 00") + id3::UTF16LE("la"));
    // The picture's MIME type and data are not text; its description is.
    EXPECT_EQ(ReencodeFor23("APIC", Hex("03") + "image/jpeg" + Hex("00 03") + "d" + Hex("00") +
                                        Hex("FF D8 00 00")),
              Hex("01") + "image/jpeg" + Hex("00 03") + id3::UTF16LE("d") + Hex("00 00") +
                  Hex("FF D8 00 00"));
    EXPECT_EQ(ReencodeFor23("WXXX", Hex("03") + "d" + Hex("00") + "http://a"),
              Hex("01") + id3::UTF16LE("d") + Hex("00 00") + "http://a");
    EXPECT_EQ(ReencodeFor23(
                  "SYLT", Hex("03") + "eng" + Hex("02 01") + "la" + Hex("00") + Hex("00 00 03 E8")),
              Hex("01") + "eng" + Hex("02 01") + id3::UTF16LE("la") + Hex("00 00 00 00 03 E8"));
    // Latin-1 and UTF-16 with a mark are valid 2.3 already; binary frames are untouched.
    EXPECT_EQ(ReencodeFor23("TPE2", Hex("00 E9")), Hex("00 E9"));
    EXPECT_EQ(ReencodeFor23("TPE2", Hex("01 FF FE E9 00")), Hex("01 FF FE E9 00"));
    EXPECT_EQ(ReencodeFor23("PRIV", Hex("03 C3 A9")), Hex("03 C3 A9"));
}

TEST(FrameCarryOver, Version24FramesTakeThe23LayoutOrAreDropped) {
    ID3v2Frame grouped = MakeFrame("TPE2", Hex("00") + "Band", 0x2040);  // file-alter + group
    grouped.GroupId = 7;
    ID3v2Frame compressed = MakeFrame("TXXX", "zlib...", 0x0009);
    compressed.Compressed = true;
    ID3v2Frame encrypted = MakeFrame("PRIV", "secret", 0x0004);
    encrypted.Encrypted = true;
    std::vector<ID3v2Frame> frames = {
        MakeFrame("TDRC", Hex("03") + "2004-05-06"),  // the year, emptied
        MakeFrame("TDOR", Hex("03") + "1969-01-02"),
        grouped,
        compressed,
        encrypted,
        MakeFrame("TSOP", Hex("00") + "Beatles, The"),  // 2.4-only frames keep their name
        MakeFrame("ASPI", std::string(10, '\0')),
        MakeFrame("SIGN", Hex("01") + "sig"),
        MakeFrame("GEOB", Hex("00") + "x/y" + Hex("00 00 00") + "data", 0x4000),  // tag alter
    };
    EXPECT_EQ(MergeFrames({}, "eng", frames, 4), Frame23("TORY", Hex("00") + "1969") +
                                              Frame23("TPE2", Hex("07 00") + "Band", 0x4020) +
                                              Frame23("TSOP", Hex("00") + "Beatles, The"));
}

TEST(FrameCarryOver, Version22FramesTakeTheir23Names) {
    std::vector<ID3v2Frame> frames = {
        MakeFrame("TT2", Hex("00") + "emptied"),
        MakeFrame("TST", Hex("00") + "sort"),
        MakeFrame("PIC", Hex("00") + "JPG" + Hex("03") + "cover" + Hex("00 FF D8")),
        MakeFrame("PIC", Hex("00") + "PNG" + Hex("00 00 89")),
        MakeFrame("PIC", Hex("00") + "Gif" + Hex("00 00 47")),
        MakeFrame("TP2", Hex("00") + "Band"),
        MakeFrame("ULT", Hex("00") + "eng" + Hex("00") + "words"),
        MakeFrame("CRM", "owner"),
        MakeFrame("LNK", "link"),
        MakeFrame("XYZ", "unknown"),
    };
    EXPECT_EQ(MergeFrames({}, "eng", frames, 2),
              Frame23("TSOT", Hex("00") + "sort") +
              Frame23("APIC", Hex("00") + "image/jpeg" + Hex("00 03") + "cover" + Hex("00 FF D8")) +
                  Frame23("APIC", Hex("00") + "image/png" + Hex("00 00 00 89")) +
                  Frame23("APIC", Hex("00") + "image/gif" + Hex("00 00 00 47")) +
                  Frame23("TPE2", Hex("00") + "Band") +
                  Frame23("USLT", Hex("00") + "eng" + Hex("00") + "words"));
    EXPECT_EQ(ID3v22To23("COM"), "COMM");
    EXPECT_EQ(ID3v22To23("CRM"), "");
}

TEST(FrameCarryOver, AnEditReplacesOnlyTheEditedFieldsFrameInItsPlace) {
    const std::string comment = Hex("01") + "deu" + Hex("FF FE 00 00") + id3::UTF16LE("alt");
    std::vector<ID3v2Frame> frames = {
        MakeFrame("TPE1", Hex("03") + "A" + Hex("00") + "B"),  // two artists
        MakeFrame("COMM", Hex("00") + "engiTunNORM" + Hex("00") + "norm"),
        MakeFrame("COMM", comment),  // the comment box's: no description
        MakeFrame("TIT2", Hex("00") + "old"),
        MakeFrame("TDRC", Hex("00") + "2021-05-03T10:20"),
        MakeFrame("WXXX", Hex("00") + "shop" + Hex("00") + "http://b"),
        MakeFrame("WXXX", Hex("00 00") + "http://a"),
        MakeFrame("TIT2", Hex("00") + "duplicate"),
    };
    ID3v2Data wanted;
    ReadFieldFrames(frames, 4, wanted);
    ASSERT_EQ(wanted.Artist, "A/B");
    ASSERT_EQ(wanted.Comment, "alt");
    ASSERT_EQ(wanted.Title, "old/duplicate");
    ASSERT_EQ(wanted.Year, "2021");
    ASSERT_EQ(wanted.URL, "http://a");

    // Unchanged, every frame stays where it was; the recording time keeps
    // its whole date in the 2.3 frames.
    const std::string artist = Frame23("TPE1", Hex("01 FF FE 41 00 00 00 FF FE 42 00"));
    const std::string norm = Frame23("COMM", frames[1].Body);
    const std::string date = Frame23("TYER", Hex("00") + "2021") +
                             Frame23("TDAT", Hex("00") + "0305") +
                             Frame23("TIME", Hex("00") + "1020");
    const std::string shop = Frame23("WXXX", frames[5].Body);
    EXPECT_EQ(MergeFrames(wanted, "eng", frames, 4),
              artist + norm + Frame23("COMM", comment) + Frame23("TIT2", Hex("00") + "old") +
                  date + shop + Frame23("WXXX", frames[6].Body) +
                  Frame23("TIT2", Hex("00") + "duplicate"));

    // Edited: the title's first frame takes the new text, its repeat goes;
    // the comment keeps its language and empty description; a new field
    // comes first.
    wanted.Title = "new";
    wanted.Comment = "neu";
    wanted.Album = "Альбом";
    EXPECT_EQ(MergeFrames(wanted, "eng", frames, 4),
              Frame23("TALB", Hex("01 FF FE 10 04 3B 04 4C 04 31 04 3E 04 3C 04")) + artist +
                  norm + Frame23("COMM", Hex("00") + "deu" + Hex("00") + "neu") +
                  Frame23("TIT2", Hex("00") + "new") + date + shop +
                  Frame23("WXXX", frames[6].Body));
}
