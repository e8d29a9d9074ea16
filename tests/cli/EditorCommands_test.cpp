// The commands of tessaly-cli that drive the tag editor, end to end: the built
// program on temporary copies of real files, its output, the files it leaves
// and its exit status.
#include "editor/EditorTestFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <regex>

using testsupport::ReadBytes;
using testsupport::ShellQuote;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

using testsupport::CliResult;

class EditorCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (editortest::LameMP3().empty()) GTEST_SKIP() << "lame is not installed";
    }

    // Runs tessaly-cli in the temporary folder on its own settings file; `env`
    // may set variables first.
    CliResult Cli(const std::string& args, const std::string& env = "") const {
        return testsupport::RunCli(dir_.Path().string(),
                                   "--settings " + ShellQuote(dir_.File("s.reg")) + " " + args, env);
    }

    // A copy of the lame-made file under `name` in the music folder.
    std::string Song(const std::string& name) const {
        std::filesystem::create_directories(dir_.File("music"));
        WriteBytes(dir_.File("music/" + name), editortest::LameMP3());
        return dir_.File("music/" + name);
    }
    std::string WMA() const {
        std::filesystem::create_directories(dir_.File("music"));
        WriteBytes(dir_.File("music/clip.wma"), editortest::WMA("WM title", "WM author", "3"));
        return dir_.File("music/clip.wma");
    }

    nlohmann::json Info(const std::string& path) const {
        CliResult r = Cli("info --json " + ShellQuote(path));
        EXPECT_EQ(r.status, 0) << r.err;
        return nlohmann::json::parse(r.out);
    }

    TempDir dir_;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(EditorCommandsTest, ListShowsTheRowsOfTheFileListSortedAndAsJson) {
    Song("b.mp3");
    Song("A.MP3");
    WriteBytes(dir_.File("music/notes.txt"), "not audio");
    ASSERT_EQ(Cli("set --v2 --artist 'Caf\xC3\xA9' music/b.mp3").status, 0);

    CliResult text = Cli("list music");
    ASSERT_EQ(text.status, 0) << text.err;
    const std::regex table(
        "Filename\tArtist\tTitle\tAlbum\tGenre\tDate\n"
        "A\\.MP3\tLame Artist\tLame Title\tAlbum\t\t\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d\n"
        "b\\.mp3\tCaf\xC3\xA9\tLame Title\tAlbum\t\t[0-9/: ]{16}\n");
    EXPECT_TRUE(std::regex_match(text.out, table)) << text.out;

    CliResult json = Cli("list --json music");
    ASSERT_EQ(json.status, 0) << json.err;
    auto rows = nlohmann::json::parse(json.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1]["Key"], dir_.File("music/b.mp3"));
    EXPECT_EQ(rows[1]["Filename"], "b.mp3");
    EXPECT_EQ(rows[1]["Artist"], "Caf\xC3\xA9");  // the ID3v2 value wins over ID3v1's
    EXPECT_EQ(rows[1]["Title"], "Lame Title");

    EXPECT_EQ(Cli("list music/notes.txt").status, 1);
    EXPECT_EQ(Cli("list").status, 2);
}

TEST_F(EditorCommandsTest, ValidatePrintsEachMessageOnItsOwnLine) {
    CliResult invalid = Cli("validate '{FOO}{V1YEAR:1}'");
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.err, "Unknown Keyword: 'FOO'\nInvalid Year: 'V1YEAR:1'\n");
    CliResult warned = Cli("validate '{V1TRACK:100}{UPDATE}'");
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.err, "Invalid Track (v1): 'V1TRACK:100'\n");
    CliResult fine = Cli("validate '{MIXEDCASE}{UPDATE}'");
    EXPECT_EQ(fine.status, 0);
    EXPECT_EQ(fine.err + fine.out, "");
}

TEST_F(EditorCommandsTest, MacroRunsOnTheLoadedFileAsAHotKeyWould) {
    const std::string song = Song("song.mp3");
    CliResult r = Cli("macro '{V2TITLE:Live}{V1DISABLE}{UPDATE}' music/song.mp3");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    nlohmann::json info = Info(song);
    EXPECT_EQ(info["ID3v2"]["Title"], "Live");
    EXPECT_EQ(info["ID3v2"]["Artist"], "Lame Artist");
    EXPECT_EQ(info["ID3v1"]["Present"], false);

    // Invalid: its messages, and nothing of it runs.
    const std::string before = ReadBytes(song);
    CliResult invalid = Cli("macro '{V2TITLE:x}{FOO}{UPDATE}' " + ShellQuote(song));
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.err, "Unknown Keyword: 'FOO'\n");
    EXPECT_EQ(ReadBytes(song), before);

    // A file the list does not show cannot be selected.
    WriteBytes(dir_.File("music/song.txt"), before);
    CliResult unlisted = Cli("macro '{UPDATE}' music/song.txt");
    EXPECT_EQ(unlisted.status, 1);
    EXPECT_TRUE(Has(unlisted.err, "not in the file list")) << unlisted.err;
}

TEST_F(EditorCommandsTest, GatesClosedForAWindowsMediaFileChangeNothingAndFail) {
    const std::string wma = WMA();
    const std::string before = ReadBytes(wma);
    CliResult macro = Cli("macro '{TITLE:x}{UPDATE}{V1TOV2}' music/clip.wma");
    EXPECT_EQ(macro.status, 1);
    EXPECT_EQ(macro.err,
              "music/clip.wma: {UPDATE} skipped: Update is disabled for this file\n"
              "music/clip.wma: {V1TOV2} skipped: the ID3v1 tag is not enabled\n");
    const std::string readOnly = "'music/clip.wma' is a Windows Media file; its tags are read-only.\n";
    for (const std::string command :
         {"set --title x", "rename", "parse", "parse --dry-run", "rename --pattern '{TITLE}'"}) {
        CliResult r = Cli(command + " music/clip.wma");
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.err, readOnly) << command;
        EXPECT_EQ(r.out, "") << command;
    }
    EXPECT_EQ(ReadBytes(wma), before);
}

TEST_F(EditorCommandsTest, RenameByTagsKeepsTheExtensionAndNeverReplaces) {
    Song("one.MP3");
    CliResult r = Cli("rename --pattern '{TRACK}. {ARTIST} - {TITLE}' music/one.MP3");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string renamed = dir_.File("music/04. Lame Artist - Lame Title.MP3");
    EXPECT_EQ(r.out, renamed + "\n");
    EXPECT_TRUE(std::filesystem::exists(renamed));

    // The default pattern is the stored current one, "{ARTIST} - {TITLE}".
    const std::string taken = dir_.File("music/Lame Artist - Lame Title.MP3");
    WriteBytes(taken, "someone else's file");
    CliResult clash = Cli("rename " + ShellQuote(renamed));
    EXPECT_EQ(clash.status, 1);
    EXPECT_EQ(clash.err, "Error: File exists\n");
    EXPECT_EQ(ReadBytes(taken), "someone else's file");
    EXPECT_TRUE(std::filesystem::exists(renamed));

    // Its own name: nothing to do, and that is no failure.
    CliResult same = Cli("rename --pattern '04. {ARTIST} - {TITLE}' " + ShellQuote(renamed));
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, renamed + "\n");
}

TEST_F(EditorCommandsTest, RenameToANewNameAsksBeforeChangingTheExtension) {
    const std::string song = Song("song.mp3");
    CliResult refused = Cli("rename --name 'bad?.mp3' music/song.mp3");
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Has(refused.err, "Rename: A filename cannot contain")) << refused.err;

    CliResult no = Cli("rename --name song.txt music/song.mp3");
    EXPECT_EQ(no.status, 1);
    EXPECT_TRUE(Has(no.err, "Rename: If you change a filename extension")) << no.err;
    EXPECT_TRUE(std::filesystem::exists(song));

    CliResult yes = Cli("--yes rename --name song.txt music/song.mp3");
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_EQ(yes.out, dir_.File("music/song.txt") + "\n");
    EXPECT_FALSE(std::filesystem::exists(song));

    EXPECT_EQ(Cli("rename --name x.mp3 music/a.mp3 music/b.mp3").status, 2);
    EXPECT_EQ(Cli("rename --name x.mp3 --pattern '{TITLE}' music/song.txt").status, 2);
}

TEST_F(EditorCommandsTest, ParseFillsBothVersionsFromTheNameOrOnlyShowsThem) {
    const std::string song = Song("07. Abba - Waterloo.mp3");
    const std::string before = ReadBytes(song);
    CliResult dry = Cli("parse --dry-run --pattern '{TRACK}. {ARTIST} - {TITLE}' " +
                        ShellQuote(song));
    ASSERT_EQ(dry.status, 0) << dry.err;
    nlohmann::json boxes = nlohmann::json::parse(dry.out);
    EXPECT_EQ(boxes["File"], song);
    EXPECT_EQ(boxes["v1track"], "07");
    EXPECT_EQ(boxes["v2artist"], "Abba");
    EXPECT_EQ(boxes["v1title"], "Waterloo");
    EXPECT_EQ(boxes["v2album"], "Album");  // no slot: kept from the file
    EXPECT_EQ(boxes["v1enabled"], true);
    EXPECT_EQ(ReadBytes(song), before);

    CliResult wet = Cli("parse --pattern '{TRACK}. {ARTIST} - {TITLE}' " + ShellQuote(song));
    ASSERT_EQ(wet.status, 0) << wet.err;
    nlohmann::json info = Info(song);
    EXPECT_EQ(info["ID3v2"]["Title"], "Waterloo");
    EXPECT_EQ(info["ID3v1"]["Track"], "7");
    EXPECT_EQ(info["ID3v1"]["Artist"], "Abba");
}

TEST_F(EditorCommandsTest, SetTrimsAsTheEditorDoes) {
    const std::string song = Song("song.mp3");
    CliResult r = Cli("set --title '  Spaced  ' --year ' 1999 ' --genre synthpop " +
                      ShellQuote(song));
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json info = Info(song);
    EXPECT_EQ(info["ID3v2"]["Title"], "  Spaced");
    EXPECT_EQ(info["ID3v2"]["Year"], "1999");
    EXPECT_EQ(info["ID3v2"]["Genre"], "synthpop");
    EXPECT_EQ(info["ID3v1"]["Title"], "  Spaced");
    EXPECT_EQ(info["ID3v1"]["Genre"], "Synthpop");

    CliResult missing = Cli("set --title x music/nothing.mp3");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "music/nothing.mp3: no such file\n");
}

TEST_F(EditorCommandsTest, DeleteOnlyWhenTheQuestionIsAnsweredYes) {
    const std::string song = Song("song.mp3");
    CliResult no = Cli("delete music/song.mp3");
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.err, "Confirm: Delete " + song +
                          "\n\nAre You Sure?\nNo terminal to answer on: taken as No (give --yes "
                          "to confirm).\n");
    EXPECT_TRUE(std::filesystem::exists(song));
    CliResult yes = Cli("delete --yes music/song.mp3");
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_FALSE(std::filesystem::exists(song));
}

TEST_F(EditorCommandsTest, PlayOpensTheFileWithTheDesktopsOpener) {
    const std::string song = Song("song.mp3");
    const std::string bin = dir_.File("bin");
    std::filesystem::create_directories(bin);
    WriteBytes(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > " +
                                      ShellQuote(dir_.File("opened.txt")) + "\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    const std::string path = "PATH=" + ShellQuote(bin) + ":\"$PATH\"";
    CliResult r = Cli("play music/song.mp3", path);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir_.File("opened.txt")), song);

    WriteBytes(bin + "/xdg-open", "#!/bin/sh\nexit 4\n");
    CliResult failed = Cli("play music/song.mp3", path);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "Error: No program could be started to play '" + song + "'.\n");
}

}  // namespace
