#include "engine/id3tag/ID3v2Writer.h"

#include "engine/id3tag/ID3v2Frames.h"
#include "engine/id3tag/ID3v2Reader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tessaly;
using testsupport::Hex;

TEST(ID3v2Writer, IntegersAreWrittenMostSignificantFirst) {
    EXPECT_EQ(BigEndian32(0x01020304), Hex("01 02 03 04"));
    EXPECT_EQ(BigEndian32(300), Hex("00 00 01 2C"));
    EXPECT_EQ(Synchsafe32(257), Hex("00 00 02 01"));
    EXPECT_EQ(Synchsafe32(127), Hex("00 00 00 7F"));
    EXPECT_EQ(Synchsafe32(2097152), Hex("01 00 00 00"));
    EXPECT_EQ(Synchsafe32(0x0FFFFFFF), Hex("7F 7F 7F 7F"));
    for (char byte : Synchsafe32(3000000)) EXPECT_LT(static_cast<unsigned char>(byte), 0x80);
}

TEST(ID3v2Writer, CommentAndURLFramesHaveTheirFixedLayouts) {
    ID3v2Data data;
    data.Comment = "Hello";
    EXPECT_EQ(BuildManagedFrames(data, "eng"), "COMM" + Hex("00 00 00 11 00 00") + Hex("00") +
                                                   "eng" + "Comment" + Hex("00") + "Hello");

    ID3v2Data url;
    url.URL = "http://x.org";
    EXPECT_EQ(BuildID3v2Frames(url, 0),
              "WXXX" + Hex("00 00 00 0E 00 00 00 00") + "http://x.org" + std::string(256, '\0'));
}

TEST(ID3v2Writer, LanguageIsCutOrPaddedToThreeCharacters) {
    ID3v2Data data;
    data.Comment = "c";
    EXPECT_EQ(BuildManagedFrames(data, "de").substr(11, 3), "de ");
    EXPECT_EQ(BuildManagedFrames(data, "english").substr(11, 3), "eng");
    EXPECT_EQ(BuildManagedFrames(data, "").substr(11, 3), "   ");
    // The body length stays that of a three-letter code.
    EXPECT_EQ(BuildManagedFrames(data, "de").substr(4, 4), BigEndian32(13));
}

TEST(ID3v2Writer, FramesComeInTheirFixedOrderAndOnlyWhenFilled) {
    ID3v2Data data;
    data.Year = "2004";
    data.Album = "A";
    data.Title = "T";
    data.Track = "7/12";
    data.Genre = "Rock";
    std::string block = BuildManagedFrames(data, "eng");
    EXPECT_EQ(block, "TALB" + BigEndian32(2) + Hex("00 00 00") + "A" +  //
                         "TCON" + BigEndian32(5) + Hex("00 00 00") + "Rock" + "TIT2" +
                         BigEndian32(2) + Hex("00 00 00") + "T" + "TRCK" + BigEndian32(5) +
                         Hex("00 00 00") + "7/12" + "TYER" + BigEndian32(5) + Hex("00 00 00") +
                         "2004");
    EXPECT_EQ(BuildID3v2Frames(ID3v2Data{}, 0), "");
}

TEST(ID3v2Writer, PaddingFillsTheOldRoomOrAdds256) {
    ID3v2Data data;
    data.Title = std::string(289, 'x');  // a 300-byte frame
    ASSERT_EQ(BuildManagedFrames(data, "eng").size(), 300u);
    EXPECT_EQ(BuildID3v2Frames(data, 1000).size(), 1000u);
    EXPECT_EQ(BuildID3v2Frames(data, 300).size(), 300u);
    EXPECT_EQ(BuildID3v2Frames(data, 299).size(), 556u);
    // Frames carried over from the old tag count toward the fit.
    EXPECT_EQ(BuildID3v2Frames(data, 1000, "eng", std::string(700, 'k')).size(), 1000u);
    EXPECT_EQ(BuildID3v2Frames(data, 1000, "eng", std::string(701, 'k')).size(), 1257u);
}

TEST(ID3v2Writer, WhatIsBuiltReadsBackFieldForField) {
    ID3v2Data data;
    data.Title = "Title";
    data.Artist = "Artist \xC3\xA9 Песня 日本語 ☃ 🎵";
    data.Album = "Album";
    data.Year = "1999";
    data.Track = "3/9";
    data.Genre = "Trip-Hop";
    data.Comment = "Комментарий";
    data.Composer = "Composer";
    data.OriginalArtist = "Orig";
    data.Copyright = "(c) me";
    data.URL = "http://example.org/";
    data.EncodedBy = "enc";
    std::string block = BuildID3v2Frames(data, 0);
    ID3v2Data back = ParseID3v2(ID3v2Header23(static_cast<uint32_t>(block.size())) + block);
    EXPECT_TRUE(back.Present);
    EXPECT_EQ(back.MajorVersion, 3);
    EXPECT_EQ(back.TagSize, static_cast<int32_t>(block.size()));
    for (auto field : {&ID3v2Data::Title, &ID3v2Data::Artist, &ID3v2Data::Album, &ID3v2Data::Year,
                       &ID3v2Data::Track, &ID3v2Data::Genre, &ID3v2Data::Comment,
                       &ID3v2Data::Composer, &ID3v2Data::OriginalArtist, &ID3v2Data::Copyright,
                       &ID3v2Data::URL, &ID3v2Data::EncodedBy})
        EXPECT_EQ(back.*field, data.*field);
}

TEST(ID3v2Writer, TextBeyondLatin1IsWrittenAsUTF16WithAMark) {
    const TagField& title = *TagFieldOf(FieldTitle);
    EXPECT_EQ(BuildFieldFrame(title, "Caf\xC3\xA9", "eng"),
              "TIT2" + BigEndian32(5) + Hex("00 00 00") + "Caf" + Hex("E9"));
    EXPECT_EQ(BuildFieldFrame(title, "\xD0\x9F\xF0\x9F\x8E\xB5", "eng"),  // П and a surrogate pair
              "TIT2" + BigEndian32(9) + Hex("00 00 01 FF FE 1F 04 3C D8 B5 DF"));
    // The comment's description goes into the same encoding as its text.
    EXPECT_EQ(BuildFieldFrame(*TagFieldOf(FieldComment), "\xD0\x9F", "deu"),
              "COMM" + BigEndian32(26) + Hex("00 00 01") + "deu" + Hex("FF FE") +
                  std::string("C\0o\0m\0m\0e\0n\0t\0\0\0", 16) + Hex("FF FE 1F 04"));
}
