// The editor on files in a temporary folder: loading and showing, the pane
// commands, the gates, the name patterns, rename and delete, macros.
#include "editor/TagEditor.h"

#include "editor/EditorTestFiles.h"
#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"
#include "settings/SettingsTestSupport.h"
#include "settings/Startup.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaly;
using editortest::MP3;
using editortest::Text;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

class TagEditorTest : public ::testing::Test {
protected:
    TagEditorTest() {
        // The update writes its DEBUG.LOG into the current folder.
        std::filesystem::current_path(dir_.Path());
        editor_.AddListener([this](const EditorEvent& e) { events_.push_back(e); });
    }
    ~TagEditorTest() override { std::filesystem::current_path(previous_); }

    std::string Put(const std::string& name, const std::string& bytes) {
        WriteBytes(dir_.File(name), bytes);
        return dir_.File(name);
    }
    std::string Box(int version, FieldNumber field) const { return editor_.BoxText({version, field}); }
    int Count(EditorEventKind kind) const {
        int n = 0;
        for (const EditorEvent& e : events_) n += e.Kind == kind;
        return n;
    }
    std::string StoredSettings() const { return ReadBytes(dir_.File("s.reg")); }

    std::filesystem::path previous_ = std::filesystem::current_path();
    testsupport::TempDir dir_;
    testsupport::RecordingHost host_;
    std::unique_ptr<CRegSettings> store_ = OpenSettings(dir_.File("s.reg"));
    Configuration config_ = LoadConfiguration(*store_);
    TagEditor editor_{config_, *store_};
    std::vector<EditorEvent> events_;
};

const std::string Tagged = MP3(Text("TIT2", "hello world") + Text("TPE1", "abba") +
                                   Text("TCOM", "Composer"),
                               editortest::id3::Trailer("v1 title", "v1 artist", "", "", "", 13));

TEST_F(TagEditorTest, LoadingShowsTheFileItsStreamAndCaption) {
    const std::string path = Put("song.mp3", Tagged);
    ASSERT_TRUE(editor_.OpenFile(path));
    EXPECT_EQ(editor_.SelectedFileKey(), path);
    EXPECT_EQ(Box(2, FieldTitle), "hello world");
    EXPECT_EQ(Box(1, FieldTitle), "v1 title");  // zero padding is not shown
    EXPECT_EQ(Box(1, FieldGenre), "Pop");
    EXPECT_TRUE(editor_.IsTagEnabled(1));
    EXPECT_EQ(editor_.WindowCaption(), "song.mp3 - Tessaly");
    EXPECT_EQ(editor_.Boxes().V2FrameCaption, "ID3v2 Information");
    EXPECT_EQ(editor_.Stream().Rows.size(), 8u);
    EXPECT_EQ(editor_.Stream().StatusText.substr(0, 30), "MPEG Version 1.0 Layer III, 44");
    EXPECT_EQ(host_.progressCaptions, std::vector<std::string>{"Loading.."});
    EXPECT_EQ(host_.progress, std::vector<int>{75});
    EXPECT_EQ(host_.hides, 1);
    EXPECT_TRUE(editor_.Controls().Update);
}

TEST_F(TagEditorTest, ASingleFileIsTheOnlyRowOfItsFolderAndIsReadOnce) {
    const std::string song = Put("song.mp3", Tagged);
    Put("other.mp3", Tagged);
    Put("notes.txt", Tagged);
    std::filesystem::create_directories(dir_.File("folder.mp3"));
    ASSERT_TRUE(editor_.OpenSingleFile(song));
    ASSERT_EQ(editor_.Files().Rows().size(), 1u);
    EXPECT_EQ(editor_.Files().Rows()[0].Column(2), "hello world");
    EXPECT_EQ(editor_.CurrentFolder(), dir_.File(""));
    EXPECT_EQ(Box(2, FieldTitle), "hello world");
    EXPECT_EQ(host_.progress, std::vector<int>{75});  // one read for the row and the panes
    EXPECT_TRUE(host_.messages.empty());

    // Its folder is the one a rename works in.
    editor_.RenameWithPattern("{TITLE}");
    EXPECT_EQ(editor_.SelectedFileKey(), dir_.File("hello world.mp3"));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("hello world.mp3")));

    // What the list would not show has no row, and nothing stays loaded.
    for (const std::string name : {"notes.txt", "folder.mp3", "missing.mp3"}) {
        EXPECT_FALSE(editor_.OpenSingleFile(dir_.File(name))) << name;
        EXPECT_TRUE(editor_.Files().Empty()) << name;
        EXPECT_FALSE(editor_.Controls().Update) << name;
    }
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(TagEditorTest, TheSameUnchangedFileKeepsItsEditsAndAChangedFileIsReread) {
    const std::string path = Put("song.mp3", Tagged);
    ASSERT_TRUE(editor_.OpenFile(path));
    editor_.SetBoxText(2, FieldTitle, "edited");
    editor_.LoadSelectedFile();
    ASSERT_TRUE(editor_.OpenFile(path));
    EXPECT_EQ(Box(2, FieldTitle), "edited");
    EXPECT_EQ(host_.progress.size(), 1u);  // read once

    WriteBytes(path, MP3(Text("TIT2", "changed on disk")));
    FileTimes times;
    ASSERT_TRUE(GetFileTimes(path, times));
    ASSERT_TRUE(SetFileTimes(path, 0, times.Accessed, times.Modified + 10'000'000));
    editor_.LoadSelectedFile();
    EXPECT_EQ(Box(2, FieldTitle), "changed on disk");

    // Listing the folder again empties the panes; the next load reads again.
    editor_.RefreshFolder();
    EXPECT_EQ(Box(2, FieldTitle), "");
    EXPECT_FALSE(editor_.Controls().Update);
    editor_.LoadSelectedFile();
    EXPECT_EQ(Box(2, FieldTitle), "changed on disk");
}

TEST_F(TagEditorTest, MixedCaseThenUndoShowsTheTextAsItWas) {
    ASSERT_TRUE(editor_.OpenFile(Put("song.mp3", Tagged)));
    editor_.SetBoxText(2, FieldAlbum, "typed album");
    editor_.MixedCasePanes();
    EXPECT_EQ(Box(2, FieldTitle), "Hello World");
    EXPECT_EQ(Box(2, FieldAlbum), "Typed Album");
    EXPECT_EQ(Box(1, FieldArtist), "V1 Artist");
    EXPECT_EQ(CurrentFile.ID3v2.Title, "hello world");  // the record stays as loaded
    editor_.Undo();
    EXPECT_EQ(Box(2, FieldTitle), "hello world");
    EXPECT_EQ(Box(2, FieldAlbum), "");  // Undo discards every edit since loading
}

TEST_F(TagEditorTest, AWindowsMediaFileIsReadOnlyAndKeepsNothingOfTheFileBefore) {
    const std::string mp3 = Put("a.mp3", Tagged);
    const std::string wma = Put("b.wma", editortest::WMA("WM title", "WM author", "5 stars"));
    ASSERT_TRUE(editor_.OpenFile(mp3));
    ASSERT_TRUE(editor_.OpenFile(wma));
    const PaneBoxes& boxes = editor_.Boxes();
    EXPECT_FALSE(boxes.V1.CheckEnabled);
    EXPECT_FALSE(boxes.V2.CheckEnabled);
    EXPECT_FALSE(editor_.IsTagEnabled(2));
    EXPECT_FALSE(editor_.Controls().Update);
    EXPECT_FALSE(editor_.Controls().Undo);
    EXPECT_FALSE(editor_.Controls().TagsByFile);
    EXPECT_FALSE(editor_.Controls().FileByTags);
    EXPECT_EQ(boxes.V2FrameCaption, "Windows Media Information (read-only)");
    EXPECT_EQ(boxes.Label15, "Rating");
    EXPECT_EQ(Box(2, FieldTitle), "WM title");
    EXPECT_EQ(Box(2, FieldOriginalArtist), "5 stars");
    EXPECT_EQ(Box(2, FieldComposer), "");
    EXPECT_EQ(Box(1, FieldTitle), "");
    EXPECT_TRUE(editor_.Stream().NoMPEGInfo);
    EXPECT_EQ(editor_.Stream().StatusText, "");
}

TEST_F(TagEditorTest, ClickingTheCheckBoxesMovesTheGatesAtOnce) {
    ASSERT_TRUE(editor_.OpenFile(Put("song.mp3", Tagged)));
    const MacroRunResult run = RunMacro("{DISABLE}{MIXEDCASE}{FILEBYTAGS}{TAGSBYFILE}", editor_);
    ASSERT_EQ(run.Commands.size(), 4u);
    EXPECT_EQ(run.Commands[1].Status, CommandStatus::Skipped);
    EXPECT_EQ(run.Commands[1].Gate, MacroGate::MixedCase);
    EXPECT_EQ(run.Commands[2].Status, CommandStatus::Skipped);
    // Tags by filename stays enabled and ticks both versions again.
    EXPECT_EQ(run.Commands[3].Status, CommandStatus::Ran);
    EXPECT_TRUE(editor_.IsTagEnabled(1) && editor_.IsTagEnabled(2));
    EXPECT_TRUE(editor_.Controls().MixedCase);
}

TEST_F(TagEditorTest, MacroV2TitleV1DisableUpdateOnALameFile) {
    if (editortest::LameMP3().empty()) GTEST_SKIP() << "lame is not installed";
    const std::string path = Put("lame.mp3", editortest::LameMP3());
    const MPEGData before = ReadAudioFile(path).MPEG;
    ASSERT_TRUE(before.HeaderFound);
    ASSERT_TRUE(editor_.OpenFile(path));
    ASSERT_TRUE(editor_.IsTagEnabled(1));

    const MacroRunResult run = RunMacro("{V2TITLE:Live}{V1DISABLE}{UPDATE}", editor_);
    EXPECT_FALSE(run.Failed);
    EXPECT_FALSE(run.AnySkipped());
    EXPECT_EQ(Box(1, FieldTitle), "Lame Title");  // only the ID3v2 title was set
    EXPECT_EQ(editor_.Failures(), 0);
    EXPECT_TRUE(host_.messages.empty());

    const AudioFileData after = ReadAudioFile(path);
    EXPECT_EQ(after.ID3v2.Title, "Live");
    EXPECT_EQ(after.ID3v2.Artist, "Lame Artist");
    EXPECT_FALSE(after.ID3v1.Present);
    EXPECT_TRUE(SameMPEGData(before, after.MPEG));
    std::string out;
    ASSERT_EQ(testsupport::Run(testsupport::Python() +
                                   " -c 'import sys,mutagen.id3; t=mutagen.id3.ID3(sys.argv[1]);"
                                   " print(t[\"TIT2\"], t[\"TPE1\"], t.version)' " +
                                   testsupport::ShellQuote(path),
                               &out),
              0)
        << out;
    EXPECT_EQ(out, "Live Lame Artist (2, 3, 0)\n");
}

TEST_F(TagEditorTest, TheUpdateRunsInTheBusyStateAndKeepsTheCollectedValues) {
    const std::string path = Put("song.mp3", Tagged);
    ASSERT_TRUE(editor_.OpenFile(path));
    std::vector<bool> fileListStates;
    editor_.AddListener([&](const EditorEvent& e) {
        if (e.Kind == EditorEventKind::StateChanged)
            fileListStates.push_back(editor_.Controls().FileList);
    });
    editor_.SetBoxText(2, FieldTitle, "  New title  ");
    editor_.SetBoxText(1, FieldYear, " 1999 ");
    editor_.UpdateFromPanes();
    EXPECT_EQ(fileListStates, (std::vector<bool>{false, true}));
    EXPECT_EQ(CurrentFile.ID3v2.Title, "  New title");
    EXPECT_EQ(Box(2, FieldTitle), "  New title  ");  // the panes are not refreshed
    const AudioFileData after = ReadAudioFile(path);
    EXPECT_EQ(after.ID3v2.Title, "  New title");
    EXPECT_EQ(after.ID3v1.Year, "1999");
    EXPECT_EQ(after.ID3v2.Composer, "Composer");
    EXPECT_EQ(editor_.Failures(), 0);
}

TEST_F(TagEditorTest, AFailedUpdateSaysWhyAndNothingElse) {
    const std::string path = Put("song.mp3", Tagged);
    // Neither a new file beside it nor a backup of it can be made.
    std::filesystem::create_directory(FolderOf(path) + ".song.mp3.tessaly-tmp");
    const std::string notAFolder = Put("state", "");
    settingstest::ScopedEnv state("XDG_STATE_HOME", notAFolder);
    ASSERT_TRUE(editor_.OpenFile(path));
    editor_.SetBoxText(2, FieldTitle, std::string(3000, 'x'));  // forces a rewrite
    editor_.UpdateFromPanes();
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text.rfind("Error Updating File: ", 0), 0u);
    EXPECT_EQ(ReadBytes(path), Tagged);
    EXPECT_EQ(editor_.Failures(), 1);
}

TEST_F(TagEditorTest, PreviewsFollowTypingAndEndWithTheFilesOwnExtension) {
    ASSERT_TRUE(editor_.OpenFile(Put("x.MP3", MP3(""))));
    // No field has text: each pattern shows itself.
    ASSERT_EQ(editor_.Patterns().FileByTags.size(), 5u);
    EXPECT_EQ(editor_.Patterns().FileByTags[0].Text, "{ARTIST} - {TITLE}");
    EXPECT_TRUE(editor_.Patterns().FileByTags[0].Checked);
    EXPECT_EQ(editor_.Patterns().TagsByFile[4].Text, "{TRACK}. {ARTIST} - {ALBUM} - {TITLE}");

    events_.clear();
    editor_.SetBoxText(2, FieldTitle, "Waterloo");
    editor_.SetBoxText(1, FieldArtist, "Abba");
    editor_.SetBoxText(1, FieldArtist, "Abba");  // unchanged: no event
    EXPECT_EQ(Count(EditorEventKind::BoxChanged), 2);
    EXPECT_EQ(Count(EditorEventKind::PatternListsChanged), 2);
    EXPECT_EQ(events_[0].Box, (BoxId{2, FieldTitle}));
    EXPECT_EQ(editor_.Patterns().FileByTags[0].Text, "Abba - Waterloo.MP3");
    EXPECT_EQ(editor_.Patterns().FileByTags[2].Text, ". Waterloo.MP3");
}

TEST_F(TagEditorTest, ChoosingAPatternChecksItAndSavesBothIndexes) {
    ASSERT_TRUE(editor_.OpenFile(Put("song.mp3", Tagged)));
    editor_.ChoosePattern(PatternListKind::FileByTags, 2);
    editor_.ChoosePattern(PatternListKind::TagsByFile, 4);
    editor_.ChoosePattern(PatternListKind::TagsByFile, 9);  // no such pattern: nothing
    EXPECT_EQ(config_.FileByTagsIndex, 2);
    EXPECT_EQ(config_.TagsByFileIndex, 4);
    EXPECT_FALSE(editor_.Patterns().FileByTags[0].Checked);
    EXPECT_TRUE(editor_.Patterns().FileByTags[2].Checked);
    EXPECT_TRUE(editor_.Patterns().TagsByFile[4].Checked);
    const std::string stored = StoredSettings();
    EXPECT_NE(stored.find("\"FileByTags Current\"=\"2\""), std::string::npos) << stored;
    EXPECT_NE(stored.find("\"TagsByFile Current\"=\"4\""), std::string::npos) << stored;
}

TEST_F(TagEditorTest, RenameByTagsKeepsTheExtensionNeverReplacesAndRefusesAnEmptyName) {
    const std::string path = Put("old.MP3", Tagged);
    Put("abba - taken.MP3", "other file");
    ASSERT_TRUE(editor_.OpenFile(path));
    editor_.SetBoxText(2, FieldTitle, "new title");  // an unsaved edit

    editor_.RenameCurrentFile();  // "{ARTIST} - {TITLE}"
    const std::string renamed = dir_.File("abba - new title.MP3");
    EXPECT_TRUE(PathExists(renamed));
    EXPECT_EQ(editor_.SelectedFileKey(), renamed);
    EXPECT_EQ(editor_.Files().Rows()[static_cast<size_t>(editor_.Files().Selected())].Text,
              "abba - new title.MP3");
    EXPECT_EQ(editor_.WindowCaption(), "abba - new title.MP3 - Tessaly");
    editor_.LoadSelectedFile();
    EXPECT_EQ(Box(2, FieldTitle), "new title");  // the same file: edits kept

    editor_.RenameCurrentFile();  // its own name: nothing to do
    EXPECT_TRUE(host_.messages.empty());

    editor_.SetBoxText(2, FieldTitle, "taken");
    editor_.RenameCurrentFile();
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "File exists");
    EXPECT_EQ(host_.messages[0].caption, "Error");
    EXPECT_EQ(ReadBytes(dir_.File("abba - taken.MP3")), "other file");
    EXPECT_TRUE(PathExists(renamed));

    editor_.RenameWithPattern("{COMPOSER}. ");  // "Composer. " is fine
    EXPECT_TRUE(PathExists(dir_.File("Composer. .MP3")));
    editor_.RenameWithPattern(" . {URL}");  // spaces and dots only
    ASSERT_EQ(host_.messages.size(), 2u);
    EXPECT_EQ(host_.messages[1].caption, "Rename");
    EXPECT_EQ(editor_.Failures(), 2);
    EXPECT_TRUE(PathExists(dir_.File("Composer. .MP3")));
}

TEST_F(TagEditorTest, InPlaceRenameChecksTheNameAsksForANewExtensionAndNeverReplaces) {
    const std::string path = Put("song.mp3", Tagged);
    Put("taken.mp3", "other file");
    ASSERT_TRUE(editor_.OpenFile(path));
    ASSERT_TRUE(editor_.BeginRename());

    EXPECT_FALSE(editor_.FinishRename("what?.mp3"));
    EXPECT_EQ(host_.messages.back().text, ForbiddenNameMessage());
    EXPECT_EQ(host_.messages.back().caption, "Rename");

    EXPECT_FALSE(editor_.FinishRename("song.txt"));  // answered No
    EXPECT_EQ(host_.messages.back().text,
              "If you change a filename extension, the file may become unusable.\n\n"
              "Are you sure you want to change it?");
    EXPECT_EQ(host_.messages.back().buttons, MessageButtons::YesNo);
    EXPECT_TRUE(PathExists(path));

    const size_t asked = host_.messages.size();
    EXPECT_TRUE(editor_.FinishRename("Song.MP3"));  // the extension's case only: no question
    EXPECT_EQ(host_.messages.size(), asked);
    EXPECT_EQ(editor_.SelectedFileKey(), dir_.File("Song.MP3"));
    EXPECT_EQ(CurrentFile.FileName, dir_.File("Song.MP3"));

    EXPECT_FALSE(editor_.FinishRename("taken.mp3"));
    EXPECT_EQ(host_.messages.back().text, "File exists");
    EXPECT_EQ(ReadBytes(dir_.File("taken.mp3")), "other file");

    host_.answer = MessageAnswer::Yes;
    EXPECT_TRUE(editor_.FinishRename("song.txt"));
    EXPECT_TRUE(PathExists(dir_.File("song.txt")));
}

TEST_F(TagEditorTest, DeleteAsksThenDeletesForGoodAndEmptiesThePanes) {
    const std::string path = Put("song.mp3", Tagged);
    ASSERT_TRUE(editor_.OpenFile(path));
    EXPECT_FALSE(editor_.DeleteSelectedFile());
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "Delete " + path + "\n\nAre You Sure?");
    EXPECT_EQ(host_.messages[0].caption, "Confirm");
    EXPECT_TRUE(PathExists(path));

    host_.answer = MessageAnswer::Yes;
    EXPECT_TRUE(editor_.DeleteSelectedFile());
    EXPECT_FALSE(PathExists(path));
    EXPECT_TRUE(editor_.Files().Empty());
    EXPECT_EQ(Box(2, FieldTitle), "");
    EXPECT_FALSE(editor_.Controls().Update);
    EXPECT_EQ(editor_.WindowCaption(), "Tessaly");
}

TEST_F(TagEditorTest, TagsFromTheFileNameFillBothPanesAndTickBothVersions) {
    ASSERT_TRUE(editor_.OpenFile(Put("03. Abba - rock.mp3", MP3(Text("TALB", "Gold")))));
    ASSERT_FALSE(editor_.IsTagEnabled(1));
    editor_.TagsFromFileNameWith("{TRACK}. {ARTIST} - {GENRE}");
    EXPECT_TRUE(editor_.IsTagEnabled(1) && editor_.IsTagEnabled(2));
    EXPECT_EQ(Box(1, FieldTrack), "03");
    EXPECT_EQ(Box(2, FieldArtist), "Abba");
    EXPECT_EQ(Box(1, FieldGenre), "Rock");
    EXPECT_EQ(Box(2, FieldGenre), "rock");
    EXPECT_EQ(Box(2, FieldAlbum), "Gold");  // no slot: kept
}

TEST_F(TagEditorTest, HotKeysRunTheFirstBoundMacroAndPlayOpensTheFile) {
    const std::string path = Put("song.mp3", Tagged);
    ASSERT_TRUE(editor_.OpenFile(path));
    EXPECT_FALSE(editor_.HandleHotKey(113, 0));  // F2: nothing bound
    editor_.SetBoxText(2, FieldTitle, "by F6");
    ASSERT_TRUE(editor_.HandleHotKey(117, 0));  // F6: {UPDATE}
    EXPECT_EQ(ReadAudioFile(path).ID3v2.Title, "by F6");

    config_.MacroTable.push_back({"{PLAY}", 113, 0});
    ASSERT_TRUE(editor_.HandleHotKey(113, 0));
    EXPECT_EQ(host_.opened, std::vector<std::string>{path});
    host_.openSucceeds = false;
    editor_.PlaySelectedFile();
    EXPECT_EQ(host_.messages.back().caption, "Error");
    EXPECT_EQ(editor_.Failures(), 1);
}

TEST_F(TagEditorTest, AFileGoneSinceListingIsReportedAndThePanesKeepTheirText) {
    const std::string a = Put("a.mp3", Tagged);
    const std::string b = Put("b.mp3", Tagged);
    ASSERT_TRUE(editor_.OpenFile(a));
    editor_.SetBoxText(2, FieldTitle, "kept");
    std::filesystem::remove(b);
    editor_.SelectRow(editor_.Files().FindKey(b));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text,
              "Unable to read file.  File may have been moved, renamed, or deleted.");
    EXPECT_EQ(host_.messages[0].caption, "File Access Error");
    EXPECT_EQ(Box(2, FieldTitle), "kept");
    EXPECT_FALSE(editor_.OpenFile(dir_.File("not-listed.txt")));
}

TEST_F(TagEditorTest, TheDesktopItemListsTheDesktopFolderAndDisablesTheFolderMenu) {
    settingstest::ScopedEnv home("HOME", dir_.Path().string());
    settingstest::ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    std::filesystem::create_directory(dir_.File("Desktop"));
    Put("Desktop/song.mp3", Tagged);
    EXPECT_TRUE(editor_.SetSelectedFolder("Desktop"));
    EXPECT_EQ(editor_.CurrentFolder(), dir_.File("Desktop") + "/");
    EXPECT_FALSE(editor_.FolderMenuEnabled());
    ASSERT_EQ(editor_.Files().Rows().size(), 1u);
    EXPECT_EQ(editor_.SelectedFileKey(), dir_.File("Desktop/song.mp3"));
    EXPECT_FALSE(editor_.SetSelectedFolder("Desktop"));  // the same folder: not listed again
    EXPECT_TRUE(editor_.SetSelectedFolder(dir_.Path().string()));
    EXPECT_TRUE(editor_.FolderMenuEnabled());
    EXPECT_TRUE(editor_.Files().Empty());
}

}  // namespace
