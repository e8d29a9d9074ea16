// The pane rules without files: collecting with the trimming table, the
// copies between the tag versions, showing a record, and the editor state.
#include "editor/EditorState.h"
#include "editor/PaneBoxes.h"
#include "editor/StreamInfo.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

void Put(PaneBoxes& boxes, int version, FieldNumber field, const std::string& text) {
    (version == 1 ? boxes.V1 : boxes.V2).Boxes[field].Text = text;
}

TEST(CollectPanes, TrimsAsTheTableSaysAndStopsAtTheFirstZeroCharacter) {
    PaneBoxes boxes;
    boxes.V1.Checked = true;
    Put(boxes, 1, FieldTrack, " 7 ");
    Put(boxes, 1, FieldTitle, std::string("  Song\0\0\0", 9));  // zero-padded, as read
    Put(boxes, 1, FieldYear, " 1979 ");
    Put(boxes, 1, FieldComment, "c  ");
    boxes.V1GenrePosition = V1GenrePositionOf("Synthpop");
    Put(boxes, 2, FieldTrack, " 07/12 ");
    Put(boxes, 2, FieldGenre, " Rock ");
    Put(boxes, 2, FieldTitle, "  Title  ");
    Put(boxes, 2, FieldURL, "http://x  ");
    Put(boxes, 2, FieldEncoder, std::string("enc\0hidden", 10));

    AudioFileData record;
    record.ID3v2.Present = true;
    CollectPanes(boxes, record);
    EXPECT_TRUE(record.ID3v1.Present);
    EXPECT_FALSE(record.ID3v2.Present);  // follows the check box, not the record
    EXPECT_EQ(record.ID3v1.Track, "7");
    EXPECT_EQ(record.ID3v1.Title, "  Song");
    EXPECT_EQ(record.ID3v1.Year, "1979");
    EXPECT_EQ(record.ID3v1.Comment, "c");
    EXPECT_EQ(record.ID3v1.Genre, "Synthpop");
    EXPECT_EQ(record.ID3v2.Track, "07/12");
    EXPECT_EQ(record.ID3v2.Genre, "Rock");
    EXPECT_EQ(record.ID3v2.Title, "  Title");
    EXPECT_EQ(record.ID3v2.URL, "http://x");
    EXPECT_EQ(record.ID3v2.EncodedBy, "enc");

    for (int position : {-1, 0}) {
        boxes.V1GenrePosition = position;
        CollectPanes(boxes, record);
        EXPECT_EQ(record.ID3v1.Genre, "") << position;
    }
}

// An update keeps the frame of every field whose box the user left alone, so
// collecting must give the loaded text back exactly, spaces and all.
TEST(CollectPanes, ABoxStillShowingTheLoadedTextGivesItBackUntouched) {
    AudioFileData loaded;
    loaded.ID3v1.Present = loaded.ID3v2.Present = true;
    loaded.ID3v1.Title = std::string("Song\0\0", 6);
    loaded.ID3v1.Genre = "";  // a genre byte the table does not name
    loaded.ID3v2.Title = "Title  ";
    loaded.ID3v2.Artist = " Песня/日本語 ";
    loaded.ID3v2.Year = " 2021";
    PaneBoxes boxes;
    ShowRecord(loaded, boxes);
    AudioFileData record = loaded;
    CollectPanes(boxes, record);
    EXPECT_EQ(record, loaded);

    Put(boxes, 2, FieldYear, " 1999 ");
    CollectPanes(boxes, record);
    AudioFileData expected = loaded;
    expected.ID3v2.Year = "1999";
    EXPECT_EQ(record, expected);
}

TEST(BoxTypingLimit, CountsCharactersNotBytes) {
    const std::string cyrillic = "Песня о друге, которого нет рядом";  // 33 characters
    EXPECT_EQ(BoxTypingLimit({1, FieldTitle}), 30);
    EXPECT_EQ(BoxTypingLimit({1, FieldTrack}), 2);
    EXPECT_EQ(BoxTypingLimit({2, FieldTitle}), 0);
    EXPECT_EQ(TypedText({1, FieldTitle}, cyrillic), "Песня о друге, которого нет ря");
    EXPECT_EQ(TypedText({1, FieldYear}, "２０２１年"), "２０２１");
    EXPECT_EQ(TypedText({2, FieldTitle}, cyrillic), cyrillic);
}

struct CopyToV1Case {
    std::string v2track, v2genre;
    std::string v1track, v1genre;
};

TEST(CopyV2ToV1, TrackIsItsPlainNumberAndGenreIsSelectedByName) {
    const CopyToV1Case cases[] = {
        {"07/12", "Synthpop", "7", "Synthpop"},
        {" 3 ", "synthpop", "3", "Synthpop"},
        {"", "Nu-Rock", "", ""},
        {"abc", "", "", ""},
        {"0", "Rock ", "", ""},  // "0" leaves the box empty; "Rock " is no genre name
        {"2.5", "Pop", "2.5", "Pop"},
        {"&H10", "Pop", "16", "Pop"},
    };
    for (const auto& c : cases) {
        PaneBoxes boxes;
        Put(boxes, 1, FieldTrack, "99");
        Put(boxes, 2, FieldTrack, c.v2track);
        Put(boxes, 2, FieldGenre, c.v2genre);
        Put(boxes, 2, FieldTitle, std::string(31, 't') + "  ");
        Put(boxes, 2, FieldYear, " 1999 ");
        CopyV2ToV1(boxes);
        EXPECT_EQ(boxes.V1.Boxes[FieldTrack].Text, c.v1track) << c.v2track;
        EXPECT_EQ(V1GenreText(boxes), c.v1genre) << c.v2genre;
        // Placed whole: the ID3v1 width is applied when the tag is written.
        EXPECT_EQ(boxes.V1.Boxes[FieldTitle].Text, std::string(31, 't'));
        EXPECT_EQ(boxes.V1.Boxes[FieldYear].Text, "1999");
        EXPECT_TRUE(boxes.V1.Checked);
    }
}

TEST(CopyV1ToV2, CopiesTheSixTextsAndTheGenreAndLeavesTheOthers) {
    PaneBoxes boxes;
    Put(boxes, 1, FieldTrack, " 5 ");
    Put(boxes, 1, FieldArtist, "Abba  ");
    Put(boxes, 2, FieldComposer, "kept");
    Put(boxes, 2, FieldGenre, "old");
    boxes.V1GenrePosition = 0;  // the empty entry
    CopyV1ToV2(boxes);
    EXPECT_EQ(boxes.V2.Boxes[FieldTrack].Text, "5");
    EXPECT_EQ(boxes.V2.Boxes[FieldArtist].Text, "Abba");
    EXPECT_EQ(boxes.V2.Boxes[FieldGenre].Text, "");
    EXPECT_EQ(boxes.V2.Boxes[FieldComposer].Text, "kept");
    EXPECT_TRUE(boxes.V2.Checked);

    boxes.V1GenrePosition = V1GenrePositionOf("Pop");
    CopyV1ToV2(boxes);
    EXPECT_EQ(boxes.V2.Boxes[FieldGenre].Text, "Pop");
}

TEST(ShowRecord, AWindowsMediaFileShowsItsFiveTextsOnlyAndItsCaptions) {
    PaneBoxes boxes;
    AudioFileData mp3;
    mp3.ID3v2.Present = true;
    mp3.ID3v2.Composer = "Previous composer";
    mp3.ID3v2.Track = "9";
    ShowRecord(mp3, boxes);
    EXPECT_EQ(boxes.Label15, "Orig. Artist");
    EXPECT_EQ(boxes.V2FrameCaption, "ID3v2 Information");

    AudioFileData wma;
    wma.ID3v2.IsASF = true;
    wma.ID3v2.Present = true;
    wma.ID3v2.Title = std::string("T\0", 2);
    wma.ID3v2.OriginalArtist = "5 stars";
    wma.ID3v2.Album = "not shown";
    ShowRecord(wma, boxes);
    EXPECT_FALSE(boxes.V2.Checked);
    EXPECT_EQ(boxes.V2.Boxes[FieldTitle].Text, std::string("T\0", 2));  // kept as read
    EXPECT_EQ(BoxText(boxes, {2, FieldTitle}), "T");                     // held as shown
    EXPECT_EQ(boxes.V2.Boxes[FieldOriginalArtist].Text, "5 stars");
    for (FieldNumber gone : {FieldComposer, FieldTrack, FieldAlbum})
        EXPECT_EQ(boxes.V2.Boxes[gone].Text, "") << BoxName({2, gone});
    EXPECT_EQ(boxes.Label15, "Rating");
    EXPECT_EQ(boxes.V2FrameCaption, "Windows Media Information (read-only)");
}

// --- SetEditorState ------------------------------------------------------------

struct StateCase {
    const char* name;
    EditorMode mode;
    int32_t fileSize;
    bool asf, v1, v2;
    // update/undo, tags by file, mixed case = rename by tags, print, play, lists, checks
    bool update, tagsByFile, mixedCase, print, play, lists, checks;
};

TEST(SetEditorState, GatesFollowTheFileTheCheckBoxesAndTheMode) {
    const StateCase cases[] = {
        {"both on", EditorMode::Normal, 1000, false, true, true, 1, 1, 1, 1, 1, 1, 1},
        {"both cleared", EditorMode::Normal, 1000, false, false, false, 1, 1, 0, 1, 1, 1, 1},
        {"nothing loaded", EditorMode::Normal, 0, false, true, true, 0, 0, 0, 1, 0, 1, 0},
        {"windows media", EditorMode::Normal, 1000, true, false, false, 0, 0, 0, 0, 1, 1, 0},
        {"busy", EditorMode::Busy, 1000, false, true, true, 0, 0, 0, 0, 1, 0, 0},
    };
    for (const auto& c : cases) {
        AudioFileData file;
        file.MPEG.FileSize = c.fileSize;
        file.ID3v2.IsASF = c.asf;
        PaneBoxes boxes;
        boxes.V1.Checked = c.v1;
        boxes.V2.Checked = c.v2;
        const EditorControls s = SetEditorState(c.mode, file, boxes);
        EXPECT_EQ(s.Update, c.update) << c.name;
        EXPECT_EQ(s.Undo, c.update) << c.name;
        EXPECT_EQ(s.TagsByFile, c.tagsByFile) << c.name;
        EXPECT_EQ(s.MixedCase, c.mixedCase) << c.name;
        EXPECT_EQ(s.FileByTags, c.mixedCase) << c.name;
        EXPECT_EQ(s.PrintFileInfo, c.print) << c.name;
        EXPECT_EQ(s.Play, c.play) << c.name;
        EXPECT_EQ(s.FileList, c.lists) << c.name;
        EXPECT_EQ(s.FolderList, c.lists) << c.name;
        EXPECT_EQ(s.Close, c.lists) << c.name;
        EXPECT_EQ(boxes.V1.CheckEnabled, c.checks) << c.name;
        EXPECT_EQ(boxes.V2.CheckEnabled, c.checks) << c.name;
        const bool active = c.mode == EditorMode::Normal;
        EXPECT_EQ(s.CopyFromID3v1, active && c.v1) << c.name;
        EXPECT_EQ(s.CopyToID3v1, active && c.v2) << c.name;
        EXPECT_EQ(boxes.V1.Boxes[FieldTitle].Enabled, active && c.v1) << c.name;
        EXPECT_EQ(boxes.V2.Boxes[FieldEncoder].Enabled, active && c.v2) << c.name;
    }
}

TEST(StreamInfo, RowsAndStatusTextOfAFrameHeaderAndOfNone) {
    MPEGData m;
    m.HeaderFound = true;
    m.FileSize = 12345;
    m.Duration = 61;
    m.Version = "1.0";
    m.Layer = "III";
    m.Bitrate = 128;
    m.SampleRate = 44100;
    m.VBR = true;
    m.Mode = "Joint Stereo";
    m.Emphasis = "None";
    m.Copyrighted = true;
    m.Original = true;
    const StreamInfo info = StreamInfoOf(m);
    EXPECT_FALSE(info.NoMPEGInfo);
    EXPECT_EQ(info.Rows, (std::vector<StreamInfoRow>{{"", ""},
                                                     {"Size:", "12345"},
                                                     {"Length:", "61 seconds"},
                                                     {"Version:", "MPEG 1.0 (Layer III)"},
                                                     {"Rate:", "128kbit 44100Hz (VBR)"},
                                                     {"Mode:", "Joint Stereo"},
                                                     {"Emphasis:", "None"},
                                                     {"Flags:", "Copyrighted, No CRC, Original"}}));
    EXPECT_EQ(info.StatusText,
              "MPEG Version 1.0 Layer III, 44100Hz (128kbit-VBR) Joint Stereo 61 seconds");

    m.VBR = false;
    m.Copyrighted = m.Original = false;
    m.CRC = m.Private = true;
    EXPECT_EQ(StreamInfoOf(m).Rows[4].Value, "128kbit 44100Hz ");
    EXPECT_EQ(StreamInfoOf(m).Rows[7].Value, "CRC, Private");

    const StreamInfo none = StreamInfoOf(MPEGData{});
    EXPECT_TRUE(none.NoMPEGInfo);
    EXPECT_TRUE(none.Rows.empty());
    EXPECT_EQ(none.StatusText, "");
}

}  // namespace
