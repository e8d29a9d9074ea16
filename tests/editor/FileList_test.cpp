// The file list: dates, which files a folder lists and what their rows show,
// sorting, and the in-place rename's checks.
#include "editor/FileList.h"

#include "editor/EditorTestFiles.h"
#include "engine/FileIO.h"
#include "engine/FileIO.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using namespace tessaly;
using editortest::MP3;
using editortest::Text;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

TEST(FormatFileDate, UtcWithoutConversionAndTheTwoFixedTexts) {
    const std::pair<int64_t, std::string> cases[] = {
        {0, "1601/01/01 00:00"},
        {FileTimeFromUnix(0, 0), "1970/01/01 00:00"},
        {FileTimeFromUnix(1700000000, 999999999), "2023/11/14 22:13"},
        {FileTimeFromUnix(1709210096, 0), "2024/02/29 12:34"},
        {-1, "0000/00/00 00:00"},
    };
    for (const auto& [time, text] : cases) EXPECT_EQ(FormatFileDate(time), text) << time;
}

std::vector<std::string> Names(const FolderListing& listing) {
    std::vector<std::string> names;
    for (const FileRow& row : listing.Rows) names.push_back(row.Text);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ListFolder, RegularFilesWithAListedExtensionOnly) {
    TempDir dir;
    const std::string song = MP3(Text("TIT2", "t"));
    WriteBytes(dir.File("a.MP3"), song);
    WriteBytes(dir.File("b.txt"), song);
    WriteBytes(dir.File(".hidden.mp3"), song);
    std::filesystem::create_directory(dir.File("folder.mp3"));
    ASSERT_EQ(::mkfifo(dir.File("pipe.mp3").c_str(), 0600), 0);  // must not block
    std::filesystem::create_symlink(dir.File("a.MP3"), dir.File("link.mp3"));
    std::filesystem::create_symlink(dir.File("gone.mp3"), dir.File("dead.mp3"));

    testsupport::RecordingHost host;
    FolderListing listing = ListFolder(dir.Path().string(), {".mp3", ".wma"});
    EXPECT_EQ(Names(listing), (std::vector<std::string>{".hidden.mp3", "a.MP3", "link.mp3"}));
    EXPECT_EQ(listing.Unreadable, 0);
    EXPECT_TRUE(host.messages.empty());
    for (const FileRow& row : listing.Rows) {
        EXPECT_EQ(row.Key, dir.Path().string() + "/" + row.Text);  // "/" added once
        EXPECT_EQ(row.SubItems[1], "t");
    }
    EXPECT_TRUE(ListFolder(dir.File("missing"), {".mp3"}).Rows.empty());
}

TEST(ListFolder, AFileThatCannotBeOpenedGetsARowWithEmptyColumns) {
    if (::geteuid() == 0) GTEST_SKIP() << "root opens every file";
    TempDir dir;
    WriteBytes(dir.File("locked.mp3"), MP3(Text("TIT2", "secret")));
    ::chmod(dir.File("locked.mp3").c_str(), 0);
    testsupport::RecordingHost host;
    FolderListing listing = ListFolder(dir.Path().string() + "/", {".mp3"});
    ASSERT_EQ(listing.Rows.size(), 1u);
    EXPECT_EQ(listing.Unreadable, 1);
    EXPECT_EQ(listing.Rows[0].SubItems,
              (std::array<std::string, 5>{"", "", "", "", "1601/01/01 00:00"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Error Opening File '" + dir.File("locked.mp3") +
                                         "': " + tessaly::ErrorDescription(EACCES));
}

TEST(MakeFileRow, EachTagColumnShowsTheID3v2ValueElseTheID3v1Value) {
    AudioFileData record;
    record.ID3v1.Artist = "v1 artist";
    record.ID3v1.Title = std::string("v1 title\0\0", 10);
    record.ID3v2.Artist = "v2 artist";
    record.ID3v2.Genre = "Rock";
    record.ID3v1.Genre = "Pop";
    record.Modified = FileTimeFromUnix(0, 0);
    const FileRow row = MakeFileRow("/f/x.mp3", "x.mp3", record);
    EXPECT_EQ(row.SubItems, (std::array<std::string, 5>{"v2 artist", "v1 title", "", "Rock",
                                                        "1970/01/01 00:00"}));
    EXPECT_EQ(row.Column(0), "x.mp3");
    EXPECT_EQ(row.Column(6), "x.mp3");
}

FileRow Row(const std::string& name, const std::string& artist) {
    return {"/f/" + name, name, {artist, "", "", "", ""}};
}

std::string Order(const FileList& list) {
    std::string order;
    for (const FileRow& row : list.Rows()) order += row.Text + " ";
    return order;
}

TEST(FileList, HeaderClicksSortAndTheSelectionStaysOnItsRow) {
    FileList list;
    list.SetRows({Row("b.mp3", "zed"), Row("A.mp3", "abba"), Row("c.mp3", "Beatles")});
    EXPECT_EQ(Order(list), "A.mp3 b.mp3 c.mp3 ");  // case-insensitive, ascending by name
    EXPECT_EQ(list.SelectedKey(), "/f/A.mp3");     // the first row is selected
    list.Select(2);

    list.ClickColumnHeader(1);  // another column: ascending
    EXPECT_EQ(Order(list), "A.mp3 c.mp3 b.mp3 ");
    EXPECT_EQ(list.HeaderImage(1), "downarrow");
    EXPECT_EQ(list.HeaderImage(0), "blank");
    list.ClickColumnHeader(1);  // the same column again: descending
    EXPECT_EQ(Order(list), "b.mp3 c.mp3 A.mp3 ");
    EXPECT_EQ(list.HeaderImage(1), "uparrow");
    EXPECT_EQ(list.SelectedKey(), "/f/c.mp3");

    list.RemoveRow(1);
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_EQ(list.SelectedKey(), "");
    list.SetRows({});
    EXPECT_EQ(list.SelectedKey(), "");
}

TEST(InPlaceRename, ForbiddenCharactersAndExtensionChanges) {
    for (char c : std::string("\\/:*?\"<>|"))
        EXPECT_TRUE(HasForbiddenNameCharacter(std::string("a") + c + "b.mp3")) << c;
    EXPECT_TRUE(HasForbiddenNameCharacter(std::string("a\0b", 3)));
    EXPECT_FALSE(HasForbiddenNameCharacter("Mr. Big - (live) [1], 50% & more.mp3"));
    EXPECT_EQ(ForbiddenNameMessage(),
              "A filename cannot contain any of the following characters:\n\n"
              "          \\ / : * ? \" < > |");

    EXPECT_TRUE(ChangesExtension("/m/song.mp3", "song.txt"));
    EXPECT_FALSE(ChangesExtension("/m/song.mp3", "Other.MP3"));
    EXPECT_TRUE(ChangesExtension("/m/song.mp3", "song"));
    EXPECT_FALSE(ChangesExtension("/m/v1.0/song", "other"));  // a dot in the folder is no extension
    EXPECT_TRUE(ChangesExtension("/m/song", "song.mp3"));
}

}  // namespace
