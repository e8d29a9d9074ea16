#include "engine/id3tag/ID3v2Reader.h"

#include "engine/FileIO.h"
#include "support/ID3Builders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tessaly;
using namespace std::string_literals;
using namespace testsupport::id3;
using testsupport::Hex;
using testsupport::Synchsafe;

namespace {

// Frame identifiers of the fields, by version: 2.2 first, then 2.3/2.4.
struct FieldIDs {
    const char* v22;
    const char* v23;
};
const FieldIDs Track{"TRK", "TRCK"}, Title{"TT2", "TIT2"}, Artist{"TP1", "TPE1"},
    Album{"TAL", "TALB"}, Year{"TYE", "TYER"}, Genre{"TCO", "TCON"}, Comment{"COM", "COMM"},
    Composer{"TCM", "TCOM"}, Original{"TOA", "TOPE"}, Copyright{"TCR", "TCOP"}, URL{"WXX", "WXXX"},
    Encoder{"TEN", "TENC"};

const char* ID(const FieldIDs& ids, int version) {
    return version == 2 ? ids.v22 : ids.v23;
}

std::string Text(int version, const FieldIDs& ids, std::string_view text, int encoding = 0) {
    return TextFrame(version, ID(ids, version), text, encoding);
}

std::string Unknown(int count) {
    std::string frames;
    for (int i = 0; i < count; ++i) frames += Frame(3, "PRIV", "owner\0data"s);
    return frames;
}

}  // namespace

// Every field frame, in 2.2 (including COM, TCR and WXX), 2.3 and 2.4.
TEST(ID3v2Read, FillsEveryFieldInEachVersion) {
    for (int version : {2, 3, 4}) {
        const std::string frames =
            Text(version, Track, "3/12") + Text(version, Title, "Title") +
            Text(version, Artist, "Artist") + Text(version, Album, "Album") +
            Text(version, Year, "1999") + Text(version, Genre, "(17)") +
            Frame(version, ID(Comment, version), CommentBody(0, "eng", "", "Comment")) +
            Text(version, Composer, "Composer") + Text(version, Original, "Original") +
            Text(version, Copyright, "2001 Someone") +
            Frame(version, ID(URL, version), std::string("\0\0http://x/", 11)) +
            Text(version, Encoder, "Encoder");
        TagOptions options;
        options.revision = 1;
        options.padding = 64;
        const std::string tag = Tag(version, frames, options);
        const ID3v2Data data = ParseID3v2(tag);

        ID3v2Data expected;
        expected.Present = true;
        expected.TagSize = static_cast<int32_t>(tag.size() - 10);
        expected.Track = "3/12";
        expected.Title = "Title";
        expected.Artist = "Artist";
        expected.Album = "Album";
        expected.Year = "1999";
        expected.Genre = "Rock";
        expected.Comment = "Comment";
        expected.Composer = "Composer";
        expected.OriginalArtist = "Original";
        expected.Copyright = "2001 Someone";
        expected.URL = "http://x/";
        expected.EncodedBy = "Encoder";
        expected.MajorVersion = static_cast<int16_t>(version);
        expected.Revision = 1;
        EXPECT_EQ(data, expected) << version;
    }
}

TEST(ID3v2Read, NoTagGivesAnEmptyRecord) {
    EXPECT_EQ(ParseID3v2("ID2" + std::string(20, '\0')), ID3v2Data{});
    EXPECT_EQ(ParseID3v2("ID3"), ID3v2Data{});
    EXPECT_EQ(ParseID3v2(""), ID3v2Data{});
    const ID3v2Data compressed = ParseID3v2(Tag(2, Text(2, Title, "T"), {0, 0x40}));
    EXPECT_TRUE(compressed.Present);
    EXPECT_EQ(compressed.Flags, 0x40);
    EXPECT_EQ(compressed.Title, "");
}

TEST(ID3v2Read, YearFromRecordingTimeOnlyWithoutTYER) {
    struct Case {
        const char* name;
        int version;
        std::string frames;
        std::string year;
    };
    const std::vector<Case> cases = {
        {"2.4 recording time", 4, TextFrame(4, "TDRC", "2004-05-06T10:00"), "2004"},
        {"2.3 writer that stores TDRC", 3, TextFrame(3, "TDRC", "1987"), "1987"},
        {"UTF-8 recording time", 4, TextFrame(4, "TDRC", "2010", 3), "2010"},
        {"short recording time", 4, TextFrame(4, "TDRC", "98"), "98"},
        {"TYER after TDRC wins", 3, TextFrame(3, "TDRC", "2004") + TextFrame(3, "TYER", "1999"),
         "1999"},
        {"TYER before TDRC wins", 3, TextFrame(3, "TYER", "1999") + TextFrame(3, "TDRC", "2004"),
         "1999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseID3v2(Tag(c.version, c.frames)).Year, c.year) << c.name;

    // TDRC is a known frame: 15 unknown frames, TDRC and TIT2 are all read.
    const ID3v2Data data =
        ParseID3v2(Tag(3, Unknown(15) + TextFrame(3, "TDRC", "2004") + TextFrame(3, "TIT2", "T")));
    EXPECT_EQ(data.Title, "T");
}

// Regression: the reader gave up after 16 frames it did not use.
TEST(ID3v2Read, ReadsPastAnyNumberOfUnknownFrames) {
    EXPECT_EQ(ParseID3v2(Tag(3, Unknown(40) + Text(3, Title, "T"))).Title, "T");
}

// The comment box shows the comment without a description, else the one this
// program used to write ("Comment"); the URL box the WXXX without one.
TEST(ID3v2Read, CommentAndURLAreTheFramesWithoutADescription) {
    struct Case {
        const char* name;
        std::string frames;
        std::string comment;
        std::string url;
    };
    const auto comm = [](const char* language, const char* description, const char* text) {
        return Frame(3, "COMM", CommentBody(0, language, description, text));
    };
    const auto wxxx = [](std::string description, const char* url) {
        return Frame(3, "WXXX", std::string(1, '\0') + description + std::string(1, '\0') + url);
    };
    const Case cases[] = {
        {"empty description wins over earlier ones",
         comm("eng", "iTunNORM", "norm") + comm("deu", "", "Hallo") + comm("eng", "", "later"),
         "Hallo", ""},
        {"\"Comment\" when none is empty", comm("eng", "x", "1") + comm("fra", "Comment", "2"), "2",
         ""},
        {"only described comments", comm("eng", "iTunNORM", "norm"), "", ""},
        {"URL without a description", wxxx("shop", "http://b") + wxxx("", "http://a"), "",
         "http://a"},
        {"only described URLs", wxxx("shop", "http://b"), "", ""},
    };
    for (const Case& c : cases) {
        const ID3v2Data data = ParseID3v2(Tag(3, c.frames));
        EXPECT_EQ(data.Comment, c.comment) << c.name;
        EXPECT_EQ(data.URL, c.url) << c.name;
    }
}

// Several values, in one frame or in repeated frames, show joined by "/"; a
// 2.4 genre may be a bare reference.
TEST(ID3v2Read, SeveralValuesAreJoinedBySlashes) {
    EXPECT_EQ(ParseID3v2(Tag(4, TextFrame(4, "TPE1", "A\0B\0"s, 3))).Artist, "A/B");
    EXPECT_EQ(ParseID3v2(Tag(3, TextFrame(3, "TPE1", "piman") + TextFrame(3, "TPE1", "jzig")))
                  .Artist,
              "piman/jzig");
    EXPECT_EQ(ParseID3v2(Tag(4, TextFrame(4, "TCON", "12\0RX\0Jazz"s))).Genre, "Other/Remix/Jazz");
}

// Their bodies are not text: they fill nothing.
TEST(ID3v2Read, CompressedOrEncryptedFramesCountAsUnknown) {
    struct Case {
        const char* name;
        int version;
        uint16_t flags;
    };
    for (const Case& c : {Case{"2.3 compressed", 3, 0x0080}, Case{"2.3 encrypted", 3, 0x0040},
                          Case{"2.4 compressed", 4, 0x0009}, Case{"2.4 encrypted", 4, 0x0004}}) {
        std::string body = c.version == 4 && (c.flags & 1) ? Synchsafe(5) : std::string();
        body += "\0Title"s;
        const std::string hidden = Frame(c.version, "TIT2", body, c.flags);
        const ID3v2Data one = ParseID3v2(Tag(c.version, hidden));
        EXPECT_EQ(one.Title, "") << c.name;
        const ID3v2Data last =
            ParseID3v2(Tag(c.version, Unknown(15) + hidden + Text(c.version, Artist, "A")));
        EXPECT_EQ(last.Artist, "A") << c.name;
    }
}

TEST(ID3v2Read, FrameContentAfterFlagsAndUnsynchronisation) {
    // 2.4 frame-level unsynchronisation with a data-length indicator.
    const std::string title = std::string("\0Caf\xFF\xE9", 6);
    EXPECT_EQ(
        ParseID3v2(Tag(4, Frame(4, "TIT2", Unsynchronise(Synchsafe(6) + title), 0x0003))).Title,
        "Caf\xC3\xBF\xC3\xA9");
    // 2.3 tag-level unsynchronisation.
    TagOptions unsync;
    unsync.unsync = true;
    EXPECT_EQ(ParseID3v2(Tag(3, TextFrame(3, "TIT2", UTF16LE("a"), 1), unsync)).Title, "a");
    // A grouped 2.3 frame carries its group byte before the content.
    EXPECT_EQ(ParseID3v2(Tag(3, Frame(3, "TIT2", std::string("\x09\0Title", 7), 0x0020))).Title,
              "Title");
    EXPECT_EQ(ParseID3v2(Tag(4, Frame(4, "TIT2", std::string("\x09\0Title", 7), 0x0040))).Title,
              "Title");
}

// 2.4 frames of 128 bytes or more, sized synchsafe as the format says or plain
// as some encoders write them: the field and the frames after it are read.
TEST(ID3v2Read, LongV24FramesInBothSizeForms) {
    const std::string longTitle(300, 't');
    const std::string rest = TextFrame(4, "TPE1", "Artist") + TextFrame(4, "TALB", "Album");
    const std::string body = std::string(1, '\0') + longTitle;
    for (bool plain : {false, true}) {
        const std::string size = plain ? testsupport::BE32(301) : Synchsafe(301);
        const ID3v2Data data = ParseID3v2(Tag(4, RawFrame("TIT2", size, body, 4) + rest));
        EXPECT_EQ(data.Title, longTitle) << plain;
        EXPECT_EQ(data.Artist, "Artist") << plain;
        EXPECT_EQ(data.Album, "Album") << plain;
    }
}

TEST(ID3v2Read, RepeatedFramesAddValuesAndShortFramesAreEmpty) {
    const ID3v2Data data =
        ParseID3v2(Tag(3, Text(3, Title, "First") + Text(3, Title, "Second") +
                              Frame(3, "TPE1", "\x01") + Frame(3, "TALB", "") +
                              Text(3, Genre, "Trance") + Frame(3, "COMM", std::string("\0en", 3))));
    EXPECT_EQ(data.Title, "First/Second");
    EXPECT_EQ(data.Artist, "");
    EXPECT_EQ(data.Album, "");
    EXPECT_EQ(data.Genre, "Trance");
    EXPECT_EQ(data.Comment, "");
}

TEST(ID3v2Read, ReadsFromAnOpenFile) {
    testsupport::TempDir dir;
    const std::string path = dir.File("a.mp3");
    const std::string tag = Tag(3, Text(3, Title, "Title") + Text(3, Artist, "Artist"));
    struct Case {
        const char* name;
        std::string bytes;
        std::string title;
    };
    // A size field that claims far more than the file holds: the reader takes
    // what is there and nothing more.
    std::string huge = tag;
    huge.replace(6, 4, Hex("7F 7F 7F 7F"));
    const std::vector<Case> cases = {
        {"tag and audio", tag + std::string(5000, '\xFF'), "Title"},
        {"tag larger than the read-ahead",
         Tag(3, Text(3, Title, "Title") + Frame(3, "APIC", std::string(200000, 'p'))), "Title"},
        {"size beyond the file", huge, "Title"},
        {"header only", tag.substr(0, 10), ""},
        {"no tag", std::string(100, 'x'), ""},
    };
    for (const auto& c : cases) {
        testsupport::WriteBytes(path, c.bytes);
        FileHandle file(path, "r");
        ASSERT_TRUE(file.IsOpen());
        FileSeek(file.Get(), 50, 0);  // the reader starts at the beginning itself
        const ID3v2Data data = ReadID3v2(file.Get());
        EXPECT_EQ(data.Title, c.title) << c.name;
        EXPECT_EQ(data.Present, c.bytes.starts_with("ID3")) << c.name;
    }
}
