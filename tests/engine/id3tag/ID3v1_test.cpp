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
    const ID3v1Data spaced =
        ParseID3v1(Trailer(Padded("Title", 30, ' '), Padded("Artist", 30, ' '),
                           Padded("Album", 30, ' '), "1999", Padded("Comment", 30, ' '), 17));
    EXPECT_EQ(spaced, (ID3v1Data{true, "", "Artist", "Title", "Album", "1999", "Rock", "Comment"}));
    // Zero bytes are not padding: they stay part of the text.
    const ID3v1Data zeroed = ParseID3v1(Trailer("Title", "", "", "", "", 0));
    EXPECT_EQ(zeroed.Title, Padded("Title", 30, '\0'));
    EXPECT_EQ(zeroed.Year, std::string(4, '\0'));

    struct Case {
        std::string comment;  // the 30-byte comment area
        int genre;
        std::string track, text, genreName;
    };
    const std::string c28(28, 'c');
    const std::vector<Case> cases = {
        {c28 + std::string("\0\x07", 2), 0, "7", c28, "Blues"},
        {c28 + std::string("\0\xFF", 2), 147, "255", c28, "Synthpop"},
        {"Note" + std::string(24, ' ') + std::string(2, '\0'), 148, "", "Note", ""},
        {c28 + " 9", 255, "", c28 + " 9", ""},  // byte 125 not zero: a 30-byte comment
    };
    for (const auto& c : cases) {
        const ID3v1Data data = ParseID3v1(Trailer("", "", "", "", c.comment, c.genre));
        EXPECT_EQ(data.Track, c.track) << c.text;
        EXPECT_EQ(data.Comment, c.text) << c.text;
        EXPECT_EQ(data.Genre, c.genreName) << c.genre;
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
    // clang-format off
    const std::vector<std::pair<std::string, int>> cases = {
        {"", 0}, {"7", 7}, {"07", 7}, {"7/12", 7}, {"255", 255}, {"256", 0}, {"300", 0},
        {"-3", 0}, {"abc", 0}, {"12abc", 12}, {" 7", 0}, {"0", 0}, {"99999999999999999999", 0},
    };
    // clang-format on
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
    const std::string path = dir.File("a.mp3");
    const std::string trailer = Trailer("Title", "", "", "", "", 17);
    for (const auto& [bytes, present] :
         std::vector<std::pair<std::string, bool>>{{std::string(1000, 'x') + trailer, true},
                                                   {trailer, true},
                                                   {trailer.substr(1), false},
                                                   {trailer + "x", false}}) {
        testsupport::WriteBytes(path, bytes);
        FileHandle file(path, "r");
        const ID3v1Data data = ReadID3v1(file.Get());
        EXPECT_EQ(data.Present, present) << bytes.size();
        EXPECT_EQ(data.Genre, present ? "Rock" : "") << bytes.size();
    }
}

// Unchanged is untouched: a trailer whose record did not change comes back
// byte for byte, and a genre byte the table has no name for survives an edit
// of another field.
TEST(ID3v1Build, KeepsWhatTheOldTrailerHeld) {
    const std::string old = Trailer("Caf\xE9", "Artist  ", "", "1999", "c", 150);
    ID3v1Data data = ParseID3v1(old);
    EXPECT_EQ(data.Title, "Caf\xC3\xA9" + std::string(26, '\0'));
    EXPECT_EQ(BuildID3v1(data, old), old);
    data.Title = "Песня é";
    const std::string built = BuildID3v1(data, old);
    EXPECT_EQ(built.substr(3, 30), Padded("????? \xE9", 30, ' '));
    EXPECT_EQ(static_cast<unsigned char>(built[127]), 150);
    data.Genre = "Rock";
    EXPECT_EQ(static_cast<unsigned char>(BuildID3v1(data, old)[127]), 17);
}
