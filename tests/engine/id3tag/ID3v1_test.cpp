#include "engine/id3tag/ID3v1.h"

#include "engine/FileIO.h"
#include "support/ID3Builders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tessaly;
using testsupport::id3::Trailer;

namespace {

std::string Padded(std::string text, size_t width, char pad) {
    text.resize(width, pad);
    return text;
}

}  // namespace

TEST(ID3v1Parse, FieldsPaddingTrackAndGenre) {
    struct Case {
        const char* name;
        std::string trailer;
        ID3v1Data expected;
    };
    const std::vector<Case> cases = {
        {"space padding is removed",
         Trailer(Padded("Title", 30, ' '), Padded("Artist", 30, ' '), Padded("Album", 30, ' '),
                 "1999", Padded("Comment", 30, ' '), 17),
         {true, "", "Artist", "Title", "Album", "1999", "Rock", "Comment"}},
        {"zero padding stays part of the text",
         Trailer("Title", "Artist", "", "", Padded("Note", 28, ' ') + std::string(2, '\0'), 255),
         {true, "", Padded("Artist", 30, '\0'), Padded("Title", 30, '\0'), std::string(30, '\0'),
          std::string(4, '\0'), "", "Note"}},
        {"ID3v1.1 track byte",
         Trailer("", "", "", "2001", Padded("Note", 28, ' ') + std::string("\0\x07", 2), 0),
         {true, "7", std::string(30, '\0'), std::string(30, '\0'), std::string(30, '\0'), "2001",
          "Blues", "Note"}},
        {"zero track byte gives no track, 28-byte comment",
         Trailer("", "", "", "", Padded("", 28, 'c') + std::string(2, '\0'), 147),
         {true, "", std::string(30, '\0'), std::string(30, '\0'), std::string(30, '\0'),
          std::string(4, '\0'), "Synthpop", std::string(28, 'c')}},
        {"byte 125 not zero: the whole 30-byte comment",
         Trailer("", "", "", "", Padded("", 28, 'c') + " 9", 148),
         {true, "", std::string(30, '\0'), std::string(30, '\0'), std::string(30, '\0'),
          std::string(4, '\0'), "", Padded("", 28, 'c') + " 9"}},
        {"track 255",
         Trailer("", "", "", "", Padded("", 28, ' ') + std::string("\0\xFF", 2), 255),
         {true, "255", std::string(30, '\0'), std::string(30, '\0'), std::string(30, '\0'),
          std::string(4, '\0'), "", ""}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.trailer.size(), 128u) << c.name;
        EXPECT_EQ(ParseID3v1(c.trailer), c.expected) << c.name;
    }
}

TEST(ID3v1Parse, AnythingButA128ByteTagIsNoTag) {
    const std::string good = Trailer("T", "", "", "", "", 1);
    EXPECT_TRUE(ParseID3v1(good).Present);
    EXPECT_EQ(ParseID3v1("tag" + good.substr(3)), ID3v1Data{});
    EXPECT_EQ(ParseID3v1(good.substr(0, 127)), ID3v1Data{});
    EXPECT_EQ(ParseID3v1(good + "x"), ID3v1Data{});
    EXPECT_EQ(ParseID3v1(""), ID3v1Data{});
}

TEST(ID3v1Build, LayoutWidthsAndGenreByte) {
    ID3v1Data data;
    data.Title = std::string(31, 'T');
    data.Artist = "Artist";
    data.Album = "Album";
    data.Year = "19999";
    data.Comment = std::string(30, 'c');
    data.Genre = "rock";
    const std::string built = BuildID3v1(data);
    ASSERT_EQ(built.size(), 128u);
    EXPECT_EQ(built.substr(0, 3), "TAG");
    EXPECT_EQ(built.substr(3, 30), std::string(30, 'T'));
    EXPECT_EQ(built.substr(33, 30), Padded("Artist", 30, ' '));
    EXPECT_EQ(built.substr(63, 30), Padded("Album", 30, ' '));
    EXPECT_EQ(built.substr(93, 4), "1999");
    EXPECT_EQ(built.substr(97, 28), std::string(28, 'c'));  // 29th and 30th are lost
    EXPECT_EQ(built.substr(125, 2), std::string(2, '\0'));  // no track
    EXPECT_EQ(static_cast<unsigned char>(built[127]), 17);

    for (const char* genre : {"", "Not A Genre", "Rock "}) {
        data.Genre = genre;
        EXPECT_EQ(static_cast<unsigned char>(BuildID3v1(data)[127]), 255) << genre;
    }
}

// The byte holds 0-255: a number that does not fit is stored as 0, never
// wrapped to another track.
TEST(ID3v1Build, TrackByteIsTheLeadingDecimalNumber) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"", 0},
        {"7", 7},
        {"07", 7},
        {"7/12", 7},
        {"255", 255},
        {"256", 0},
        {"300", 0},
        {"-3", 0},
        {"abc", 0},
        {"12abc", 12},
        {" 7", 0},
        {"0", 0},
        {"99999999999999999999", 0},
    };
    for (const auto& [track, byte] : cases) {
        ID3v1Data data;
        data.Track = track;
        EXPECT_EQ(static_cast<unsigned char>(BuildID3v1(data)[126]), byte) << track;
    }
}

TEST(ID3v1Build, ParsesBackToTheSameRecord) {
    ID3v1Data data{true, "12", "Artist", "Title", "Album", "2004", "Heavy Metal", "Comment"};
    EXPECT_EQ(ParseID3v1(BuildID3v1(data)), data);
    data.Track = "";
    data.Comment = std::string(28, 'x');
    data.Genre = "";
    EXPECT_EQ(ParseID3v1(BuildID3v1(data)), data);
}

TEST(ID3v1Read, ReadsTheFilesLast128Bytes) {
    testsupport::TempDir dir;
    const std::string trailer = Trailer("Title", "", "", "", "", 17);
    struct Case {
        std::string bytes;
        bool present;
    };
    const std::vector<Case> cases = {
        {std::string(1000, 'x') + trailer, true},
        {trailer, true},
        {trailer.substr(1), false},
        {trailer + "x", false},
        {"", false},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File("a.mp3");
        testsupport::WriteBytes(path, c.bytes);
        FileHandle file(path, "r");
        ASSERT_TRUE(file.IsOpen());
        const ID3v1Data data = ReadID3v1(file.Get());
        EXPECT_EQ(data.Present, c.present) << c.bytes.size();
        if (c.present) {
            EXPECT_EQ(data.Genre, "Rock");
        }
    }
}
