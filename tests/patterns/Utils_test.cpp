#include "patterns/Utils.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>

using namespace tessaly;

namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

TEST(MixedCase, WordStartsAreOnlySpaceAndOpeningBrackets) {
    struct Case {
        std::string in, out;
    };
    for (const Case& c : std::vector<Case>{
             {"", ""},
             {"the {best} of [a] (b)", "The {Best} Of [A] (B)"},
             {"ROCK-N-ROLL", "Rock-n-roll"},
             {"a  b", "A  B"},
             {"o'neil's band", "O'neil's Band"},
             {"AC/DC", "Ac/dc"},
             {"(live)", "(Live)"},
             {"x\tY 2ND", "X\ty 2nd"},
             {" lead", " Lead"},
         })
        EXPECT_EQ(MixedCase(c.in), c.out) << c.in;
}

TEST(MixedCase, Latin1LettersMapTheSameInEveryLocale) {
    // é/É, à/À, ø/Ø change; ß and ÿ have no single-byte capital; × and ÷ are
    // not letters and sit where a naive +/-0x20 would touch them.
    const std::string lower = "\xE9t\xE9 \xE0 \xF8ygard \xDF\xFF \xF7";
    const std::string expected = "\xC9t\xE9 \xC0 \xD8ygard \xDF\xFF \xF7";
    EXPECT_EQ(MixedCase(lower), expected);
    EXPECT_EQ(MixedCase("\xC9T\xC9 \xD7"), "\xC9t\xE9 \xD7");

    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    std::setlocale(LC_ALL, "C.UTF-8");
    EXPECT_EQ(MixedCase(lower), expected);
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_TRUE(EqualsIgnoringCase(".MP3", ".mp3"));
    EXPECT_TRUE(EqualsIgnoringCase("\xC9", "\xE9"));
    EXPECT_FALSE(EqualsIgnoringCase("\xDF", "\xFF"));
}

TEST(MixedCase, MixedCaseAllTouchesTheWordFieldsOnly) {
    AudioFileData record;
    record.ID3v1 = {true,       "tRACK", "the artist", "a title",
                    "an album", "yEAR",  "rOCK",       "a comment"};
    record.ID3v2.Track = "tRACK";
    record.ID3v2.Year = "yEAR";
    record.ID3v2.URL = "http://X.org/a";
    for (std::string* field :
         {&record.ID3v2.Artist, &record.ID3v2.Title, &record.ID3v2.Album, &record.ID3v2.Comment,
          &record.ID3v2.Genre, &record.ID3v2.Composer, &record.ID3v2.OriginalArtist,
          &record.ID3v2.Copyright, &record.ID3v2.EncodedBy})
        *field = "hARD rock";

    AudioFileData expected = record;
    expected.ID3v1 = {true,       "tRACK", "The Artist", "A Title",
                      "An Album", "yEAR",  "rOCK",       "A Comment"};
    for (std::string* field :
         {&expected.ID3v2.Artist, &expected.ID3v2.Title, &expected.ID3v2.Album,
          &expected.ID3v2.Comment, &expected.ID3v2.Genre, &expected.ID3v2.Composer,
          &expected.ID3v2.OriginalArtist, &expected.ID3v2.Copyright, &expected.ID3v2.EncodedBy})
        *field = "Hard Rock";
    EXPECT_EQ(MixedCaseAll(record), expected);
}

TEST(LegalFileName, ReplacesTheNineCharactersAndNul) {
    EXPECT_EQ(LegalFileName("AC/DC: Live?", false, "_"), "AC DC  Live ");
    EXPECT_EQ(LegalFileName("AC/DC: Live?", true, "_"), "AC_DC_ Live_");
    EXPECT_EQ(LegalFileName("\"|>*\\/:?<", true, "-"), "---------");
    // The replacement goes in whole, whatever its length.
    EXPECT_EQ(LegalFileName("a/b", true, "--"), "a--b");
    EXPECT_EQ(LegalFileName("a/b", true, ""), "ab");
    EXPECT_EQ(LegalFileName(std::string("a\0b", 3), false, "_"), "a b");
    EXPECT_EQ(LegalFileName("caf\xE9 & co.", true, "_"), "caf\xE9 & co.");
    EXPECT_EQ(LegalFileName("", true, "_"), "");
}

TEST(HasListedExtension, MatchesTheEndIgnoringCase) {
    const std::vector<std::string> list{".mp3", ".wma", ".wmv"};
    EXPECT_TRUE(HasListedExtension("C:\\music\\SONG.MP3", list));
    EXPECT_TRUE(HasListedExtension("/music/a.Wmv", list));
    EXPECT_FALSE(HasListedExtension("song.mp3.txt", list));
    EXPECT_FALSE(HasListedExtension("song.mpeg", list));
    EXPECT_FALSE(HasListedExtension("mp3", list));
    EXPECT_FALSE(HasListedExtension("a.mp3", {}));
    EXPECT_FALSE(HasListedExtension("a.mp3", {""}));
    EXPECT_TRUE(HasListedExtension("a.mp3", {"", "3"}));
}

TEST(SplitJoinList, DropEmptyPiecesAndCollapseSeparators) {
    using List = std::vector<std::string>;
    EXPECT_EQ(SplitList(".mp3||.wma|", "|"), (List{".mp3", ".wma"}));
    EXPECT_EQ(SplitList("", "|"), List{});
    EXPECT_EQ(SplitList("|||", "|"), List{});
    EXPECT_EQ(SplitList("a<>b<><>c", "<>"), (List{"a", "b", "c"}));
    EXPECT_EQ(SplitList("abc", ""), List{"abc"});

    EXPECT_EQ(JoinList({".mp3", "", ".wma", ""}, "|"), ".mp3|.wma");
    EXPECT_EQ(JoinList({"a", "", "", "", "b"}, "|"), "a|b");
    EXPECT_EQ(JoinList({"", ".mp3"}, "|"), "|.mp3");  // a leading separator stays
    EXPECT_EQ(JoinList({}, "|"), "");
    EXPECT_EQ(JoinList({"a", "b"}, ""), "ab");  // no separator: nothing to collapse
    EXPECT_EQ(SplitList(JoinList({".mp3", ".wma", ".wmv"}, "|"), "|"),
              (List{".mp3", ".wma", ".wmv"}));
}

TEST(SpecialFolderPath, DesktopComesFromUserDirsElseHome) {
    testsupport::TempDir dir;
    const std::string home = dir.File("home");
    std::filesystem::create_directories(home + "/cfg");
    ScopedEnv homeEnv("HOME", home);
    ScopedEnv configEnv("XDG_CONFIG_HOME", home + "/cfg");

    EXPECT_EQ(SpecialFolderPath(), home + "/Desktop");
    testsupport::WriteBytes(home + "/cfg/user-dirs.dirs",
                            "# written by xdg-user-dirs-update\n"
                            "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
                            "XDG_DESKTOP_DIR=\"$HOME/Bureau \\\"x\\\"/\"\n");
    EXPECT_EQ(SpecialFolderPath(DesktopDirectoryFolderId), home + "/Bureau \"x\"");
    EXPECT_EQ(SpecialFolderPath(DesktopFolderId), home + "/Bureau \"x\"");
    testsupport::WriteBytes(home + "/cfg/user-dirs.dirs", "XDG_DESKTOP_DIR=\"/srv/desk\"\n");
    EXPECT_EQ(SpecialFolderPath(), "/srv/desk");
    EXPECT_EQ(SpecialFolderPath(5), "");  // other folders are unknown here
}

TEST(WindowsVersionId, TableAndNonWindows) {
    EXPECT_EQ(WindowsVersionIdOf(1, 4, 0), 1);
    EXPECT_EQ(WindowsVersionIdOf(1, 4, 10), 2);
    EXPECT_EQ(WindowsVersionIdOf(1, 4, 90), 3);
    EXPECT_EQ(WindowsVersionIdOf(2, 3, 51), 4);
    EXPECT_EQ(WindowsVersionIdOf(2, 4, 0), 5);
    EXPECT_EQ(WindowsVersionIdOf(2, 5, 0), 6);
    EXPECT_EQ(WindowsVersionIdOf(2, 5, 1), 7);
    EXPECT_EQ(WindowsVersionIdOf(2, 6, 1), 0);
    EXPECT_EQ(WindowsVersionIdOf(1, 5, 0), 0);

    WindowsVersion version{1, 2, 3, 4};
    EXPECT_EQ(WindowsVersionId(&version), 0);
    EXPECT_EQ(version.Major, 0);
    EXPECT_EQ(version.Platform, 0);
}

TEST(Pause, PumpsMessagesTwicePerTenth) {
    testsupport::RecordingHost host;
    Pause(0);
    Pause(-3);
    EXPECT_EQ(host.pumps, 0);
    auto start = std::chrono::steady_clock::now();
    Pause(2);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(host.pumps, 4);
    EXPECT_GE(elapsed, std::chrono::milliseconds(200));
}
