// tessaly-cli for daily use, end to end: one file without its folder, -r over
// a tree, usage errors, --version and help, questions, the debug log, and a
// Windows Media file's extended description.
#include "editor/EditorTestFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <regex>

#include <unistd.h>

using testsupport::CliResult;
using testsupport::ReadBytes;
using testsupport::ShellQuote;
using testsupport::WriteBytes;
namespace fs = std::filesystem;

namespace {

class DailyUseTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (editortest::LameMP3().empty()) GTEST_SKIP() << "lame is not installed";
    }
    // The log goes below the temporary folder unless `env` says otherwise.
    CliResult Cli(const std::string& args, const std::string& env = "") const {
        return testsupport::RunCli(dir_.Path().string(),
                                   "--settings " + ShellQuote(dir_.File("s.reg")) + " " + args,
                                   "XDG_STATE_HOME=" + ShellQuote(dir_.File("state")) + " " + env);
    }
    std::string Song(const std::string& relative) const {
        fs::create_directories(fs::path(dir_.File(relative)).parent_path());
        WriteBytes(dir_.File(relative), editortest::LameMP3());
        return dir_.File(relative);
    }
    std::string Log() const { return dir_.File("state/tessaly/DEBUG.LOG"); }

    testsupport::TempDir dir_;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(DailyUseTest, OneFileIsEditedWithoutAWordAboutItsUnreadableNeighbour) {
    Song("music/a.mp3");
    Song("music/locked.mp3");
    fs::permissions(dir_.File("music/locked.mp3"), fs::perms::none);
    std::string as;  // root reads anything: run as nobody, in a folder open to all
    if (::geteuid() == 0) {
        if (!testsupport::HaveTool("setpriv")) GTEST_SKIP() << "setpriv is needed as root";
        for (const auto& entry : fs::recursive_directory_iterator(dir_.Path()))
            if (entry.path().filename() != "locked.mp3")
                fs::permissions(entry.path(), fs::perms::all);
        fs::permissions(dir_.Path(), fs::perms::all);
        as = "setpriv --reuid=65534 --regid=65534 --clear-groups";
    }
    CliResult set = Cli("set --title Solo music/a.mp3", as);
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.err, "");
    EXPECT_TRUE(Has(Cli("info --json music/a.mp3", as).out, "\"Solo\""));
    // The neighbour is unreadable indeed: listing the folder says so.
    EXPECT_TRUE(Has(Cli("list music", as).err, "locked.mp3")) << Cli("list music", as).err;
}

TEST_F(DailyUseTest, RecursionWalksListedFilesInNameOrderAndEachFolderOnce) {
    Song("music/b.mp3");
    Song("music/a/z.mp3");
    Song("music/a/deep/y.mp3");
    WriteBytes(dir_.File("music/a/notes.txt"), "x");
    fs::create_directory_symlink("..", dir_.File("music/a/loop"));
    fs::create_directory_symlink("a", dir_.File("music/c"));

    CliResult r = Cli("info --json -r music");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names;
    for (size_t at = 0; (at = r.out.find("\"FileName\":\"", at)) != std::string::npos;) {
        at += 12;
        names.push_back(r.out.substr(at, r.out.find('"', at) - at));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"music/b.mp3", "music/a/z.mp3",
                                               "music/a/deep/y.mp3"}));
    EXPECT_EQ(r.err, "3 files read, 0 updated, 0 failed\n");

    CliResult set = Cli("set -r --album Box music");
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.err, "3 files read, 3 updated, 0 failed\n");

    // Read on several threads, written in order: more files than results may
    // wait at once, and a failure in the middle.
    std::string args;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "many/" + std::to_string(1000 + i) + ".mp3";
        if (i != 150) Song(name);
        args += " " + name;
    }
    CliResult many = Cli("info --json" + args);
    EXPECT_EQ(many.status, 1);
    EXPECT_EQ(many.err, "Error Opening File 'many/1150.mp3': No such file or directory\n");
    std::regex record("\"FileName\":\"many/(\\d+)\\.mp3\"");
    int expected = 1000;
    for (std::sregex_iterator it(many.out.begin(), many.out.end(), record), end; it != end; ++it) {
        if (expected == 1150) ++expected;
        EXPECT_EQ(std::stoi((*it)[1]), expected++);
    }
    EXPECT_EQ(expected, 1300);

    // Without -r a folder is a mistake that names the flag.
    for (const std::string command : {"info", "set --album x", "macro {UPDATE}", "rename", "parse"}) {
        CliResult folder = Cli(command + " music");
        EXPECT_EQ(folder.status, 2) << command;
        EXPECT_TRUE(Has(folder.err, "-r (--recursive)")) << command << ": " << folder.err;
    }
}

TEST_F(DailyUseTest, UsageErrorsNameTheMistakeAndDashDashEndsTheOptions) {
    const struct {
        std::string args, err;
    } cases[] = {
        {"bogus", "unknown command 'bogus'; commands: info, set, config"},
        {"", "a command is required; commands: info, set"},
        {"--yes bogus x.mp3", "unknown command 'bogus'"},
        {"help bogus", "unknown help topic 'bogus'; topics: macros, patterns, info"},
        {"info --bogus x.mp3", "--bogus"},
    };
    for (const auto& c : cases) {
        CliResult r = Cli(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_TRUE(Has(r.err, c.err)) << c.args << ": " << r.err;
    }
    Song("-odd.mp3");
    CliResult dashed = Cli("set --title Dash -- -odd.mp3");
    EXPECT_EQ(dashed.status, 0) << dashed.err;
    EXPECT_TRUE(Has(Cli("info --json -- -odd.mp3").out, "\"Dash\""));
}

TEST_F(DailyUseTest, VersionHelpTopicsAndNearMisses) {
    CliResult version = Cli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("tessaly-cli \\d+\\.\\d+\\.\\d+\n")))
        << version.out;

    CliResult macros = Cli("help macros");
    EXPECT_EQ(macros.status, 0);
    const std::regex keywordLine("\n  \\{[^}]+\\} +[a-z]");
    EXPECT_EQ(std::distance(std::sregex_iterator(macros.out.begin(), macros.out.end(), keywordLine),
                            std::sregex_iterator()),
              23);
    EXPECT_TRUE(Has(macros.out, "{[V1|V2]TITLE:text}")) << macros.out;
    EXPECT_TRUE(Has(Cli("help patterns").out, "{ORIGARTIST}"));

    CliResult nearMiss = Cli("validate '{TITLE=x}{UPDTE}'");
    EXPECT_EQ(nearMiss.status, 1);
    EXPECT_EQ(nearMiss.err,
              "Incorrect Syntax: 'TITLE=X'\nUnknown Keyword: 'UPDTE'\n"
              "did you mean {TITLE:x}?\ndid you mean {UPDATE}?\n");
}

TEST_F(DailyUseTest, ManualPageAndCompletionCoverEveryCommandAndOption) {
    const std::string docs = testsupport::BinaryDir() + "/../doc/";
    const std::string page = ReadBytes(docs + "tessaly-cli.1");
    const std::string completion = ReadBytes(docs + "tessaly-cli.bash");
    ASSERT_FALSE(page.empty());
    EXPECT_TRUE(Has(ReadBytes(docs + "tessaly.1"), "tessal://URL"));
    const std::string help = Cli("--help").out;
    const std::string commands = help.substr(help.find("Subcommands:"));
    const std::regex command("\n  ([a-z]+) ");
    for (std::sregex_iterator it(commands.begin(), commands.end(), command), end; it != end; ++it) {
        const std::string name = (*it)[1];
        EXPECT_TRUE(Has(page, ".SS \"" + name + " ")) << name;
        EXPECT_TRUE(Has(completion, "        " + name + ") words=")) << name;
        const std::string options = Cli("help " + name).out;
        const std::regex option("--([a-z0-9-]+)");
        for (std::sregex_iterator o(options.begin(), options.end(), option); o != end; ++o) {
            EXPECT_TRUE(Has(page, "\\-\\-" + std::regex_replace((*o)[1].str(), std::regex("-"),
                                                               "\\-")))
                << name << " " << (*o)[0];
            EXPECT_TRUE(Has(completion, " " + (*o)[0].str())) << name << " " << (*o)[0];
        }
    }
}

TEST_F(DailyUseTest, DeleteAsksOnATerminalOnlyAndYesAnswersWithoutAsking) {
    const std::string song = Song("music/song.mp3");
    CliResult piped = Cli("delete music/song.mp3 < /dev/null");
    EXPECT_EQ(piped.status, 1);
    EXPECT_TRUE(Has(piped.err, "Are You Sure?\nNo terminal to answer on: taken as No (give --yes"))
        << piped.err;
    EXPECT_TRUE(fs::exists(song));

    if (testsupport::HaveTool("script")) {
        // script gives the program a terminal and types the answer on it.
        for (const auto& [answer, kept] : {std::pair{"n", true}, {"", true}, {"Y", false}}) {
            const std::string command = "XDG_STATE_HOME=" + ShellQuote(dir_.File("state")) + " " +
                                        ShellQuote(testsupport::BinaryDir() + "/tessaly-cli") +
                                        " --settings " + ShellQuote(dir_.File("s.reg")) +
                                        " delete " + ShellQuote(song);
            std::string out;
            testsupport::Run("printf '" + std::string(answer) + "\\n' | script -qec " +
                                 ShellQuote(command) + " /dev/null",
                             &out);
            EXPECT_TRUE(Has(out, "Are You Sure? [y/N]")) << out;
            EXPECT_EQ(fs::exists(song), kept) << answer;
        }
    }
    Song("music/song.mp3");
    CliResult yes = Cli("delete --yes music/song.mp3 < /dev/null");
    EXPECT_EQ(yes.status, 0);
    EXPECT_EQ(yes.err, "");
    EXPECT_FALSE(fs::exists(song));
}

TEST_F(DailyUseTest, TheLogLivesInTheStateFolderRotatesAndCanBeTurnedOff) {
    Song("music/song.mp3");
    ASSERT_EQ(Cli("set --title One music/song.mp3").status, 0);
    EXPECT_TRUE(Has(ReadBytes(Log()), "music/song.mp3"));
    EXPECT_FALSE(fs::exists(dir_.File("DEBUG.LOG")));
    EXPECT_FALSE(fs::exists(dir_.File("music/DEBUG.LOG")));

    // Without XDG_STATE_HOME: below the home folder.
    ASSERT_EQ(Cli("set --title Two music/song.mp3",
                  "XDG_STATE_HOME= HOME=" + ShellQuote(dir_.File("home")))
                  .status,
              0);
    EXPECT_TRUE(fs::exists(dir_.File("home/.local/state/tessaly/DEBUG.LOG")));

    // A full log becomes the one old log.
    const std::string full(1024 * 1024 - 100, 'x');
    WriteBytes(Log(), full);
    WriteBytes(Log() + ".1", "older");
    ASSERT_EQ(Cli("set --title Three music/song.mp3").status, 0);
    EXPECT_EQ(ReadBytes(Log() + ".1"), full);
    EXPECT_LT(fs::file_size(Log()), 64 * 1024u);
    EXPECT_GT(fs::file_size(Log()), 0u);

    ASSERT_EQ(Cli("config --set DebugLog=False").status, 0);
    fs::remove(Log());
    ASSERT_EQ(Cli("set --title Four music/song.mp3").status, 0);
    EXPECT_FALSE(fs::exists(Log()));
}

TEST_F(DailyUseTest, WindowsMediaShowsAlbumYearTrackAndGenre) {
    if (!testsupport::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    const std::string wma = dir_.File("x.wma");
    ASSERT_EQ(testsupport::Run("ffmpeg -v error -y -f lavfi -i sine=d=1 -c:a wmav2 -metadata "
                               "album=Harbour -metadata WM/Year=2011 -metadata track=3 -metadata "
                               "genre=Folk " +
                               ShellQuote(wma)),
              0);
    CliResult r = Cli("info --json x.wma");
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json v2 = nlohmann::json::parse(r.out)["ID3v2"];
    EXPECT_EQ(v2["Album"], "Harbour");
    EXPECT_EQ(v2["Year"], "2011");
    EXPECT_EQ(v2["Track"], "3");
    EXPECT_EQ(v2["Genre"], "Folk");
    EXPECT_EQ(Cli("set --album y x.wma").status, 1);  // still read-only
}

}  // namespace
