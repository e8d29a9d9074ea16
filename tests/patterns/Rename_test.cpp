#include "patterns/Rename.h"
#include "patterns/PatternToken.h"

#include "engine/FileIO.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <initializer_list>

using namespace tessaly;
using testsupport::TempDir;

namespace {

PatternToken L(const char* text) {
    return PatternToken::MakeLiteral(text);
}
PatternToken F(FieldNumber field) {
    return PatternToken::MakeField(field);
}

struct TokenCase {
    const char* pattern;
    std::vector<PatternToken> tokens;
};

TEST(TokenizePattern, SplitsLiteralsAndKeywords) {
    const TokenCase cases[] = {
        {"", {}},
        {"{TRACK}. {ARTIST} - {TITLE}",
         {F(FieldTrack), L(". "), F(FieldArtist), L(" - "), F(FieldTitle)}},
        // Keywords ignore case and surrounding spaces; trailing literal kept.
        {"{artist}-{Title} (live)", {F(FieldArtist), L("-"), F(FieldTitle), L(" (live)")}},
        {"{ artist }", {F(FieldArtist)}},
        {"{FOO}{}", {F(FieldNone), F(FieldNone)}},
        {"{COMMENT}{comments}", {F(FieldComment), F(FieldComment)}},
        {"{COMPOSER}{ORIGARTIST}{COPYRIGHT}{URL}{ENCODER}{YEAR}{GENRE}{ALBUM}",
         {F(FieldComposer), F(FieldOriginalArtist), F(FieldCopyright), F(FieldURL), F(FieldEncoder),
          F(FieldYear), F(FieldGenre), F(FieldAlbum)}},
        // An unclosed keyword is dropped, and the literal before it is not
        // repeated.
        {"{ARTIST} - {TITLE", {F(FieldArtist), L(" - ")}},
        // "}" outside braces is text; "{" inside belongs to the keyword.
        {"a}b", {L("a}b")}},
        {"{ART{IST}x", {F(FieldNone), L("x")}},
        // Keywords are ASCII; a Latin-1 letter never folds onto one.
        {"{TITL\xC9}", {F(FieldNone)}},
    };
    for (const auto& c : cases) EXPECT_EQ(TokenizePattern(c.pattern), c.tokens) << c.pattern;
}

struct Box {
    int version;
    FieldNumber field;
    const char* text;
};

TagBoxTexts Boxes(std::initializer_list<Box> boxes) {
    TagBoxTexts texts;
    for (const Box& b : boxes) (b.version == 1 ? texts.V1 : texts.V2)[b.field] = b.text;
    return texts;
}

struct NameCase {
    const char* pattern;
    TagBoxTexts boxes;
    bool twoDigits;
    const char* expected;
};

TEST(BuildNameFromTags, TakesTheID3v2BoxThenTheID3v1Box) {
    const NameCase cases[] = {
        {"{TRACK}. {ARTIST} - {TITLE}",
         Boxes({{2, FieldTrack, "3"}, {2, FieldArtist, " Abba "}, {2, FieldTitle, "Waterloo"}}),
         true, "03. Abba - Waterloo"},
        {"{TITLE}", Boxes({{1, FieldTitle, " Hey Jude "}}), true, "Hey Jude"},
        // Spaces alone count as text in the ID3v2 box.
        {"{TITLE}", Boxes({{2, FieldTitle, "  "}, {1, FieldTitle, "Hey Jude"}}), true, ""},
        {"{GENRE}/{COMMENTS}/{COMMENT}", Boxes({{1, FieldGenre, "Rock"}, {2, FieldComment, "c"}}),
         true, "Rock/c/c"},
        // Fields 8-12 come from the ID3v2 box only.
        {"{COMPOSER}|{ENCODER}|{URL}",
         Boxes({{1, FieldComposer, "v1"}, {2, FieldEncoder, " lame "}}), true, "|lame|"},
        {"{FOO}x{}", Boxes({{2, FieldTitle, "t"}}), true, "x"},
        // Boxes are read whatever the tag versions' check state: no such input.
        {"{ARTIST} - {TITLE}", Boxes({}), true, " - "},
    };
    PatternOptions options;
    for (const auto& c : cases) {
        options.RenameTwoDigitTracks = c.twoDigits;
        EXPECT_EQ(BuildNameFromTags(c.pattern, c.boxes, options, false), c.expected) << c.pattern;
    }
}

TEST(BuildNameFromTags, WritesTheTrackAsItsNumber) {
    struct TrackCase {
        const char* v2;
        const char* v1;
        const char* twoDigits;
        const char* plain;
    };
    const TrackCase cases[] = {
        {"7/12", "", "07", "7"},   {"abc", "", "00", "0"},    {"123", "", "123", "123"},
        {"", "5", "05", "5"},      {"", "", "", ""},          {" 9 ", "1", "09", "9"},
        {"2.5", "", "2.5", "2.5"}, {".5", "", "0.5", "0.5"},  {"&H10", "", "16", "16"},
        {"-3", "", "-3", "-3"},    {"1E2", "", "100", "100"},
    };
    PatternOptions options;
    for (const auto& c : cases) {
        TagBoxTexts boxes = Boxes({{2, FieldTrack, c.v2}, {1, FieldTrack, c.v1}});
        options.RenameTwoDigitTracks = true;
        EXPECT_EQ(BuildNameFromTags("{TRACK}", boxes, options, false), c.twoDigits) << c.v2;
        options.RenameTwoDigitTracks = false;
        EXPECT_EQ(BuildNameFromTags("{TRACK}", boxes, options, false), c.plain) << c.v2;
    }
}

TEST(BuildNameFromTags, RenameSpaceAndLiteralsOnly) {
    TagBoxTexts boxes = Boxes({{2, FieldArtist, "Abba"}, {2, FieldTitle, "Water loo"}});
    PatternOptions options;
    options.RenameSpace = true;
    EXPECT_EQ(BuildNameFromTags("{ARTIST} - {TITLE}", boxes, options, false), "Abba_-_Water_loo");
    EXPECT_EQ(BuildNameFromTags("{ARTIST} - {TITLE}", boxes, options, true), "_-_");
    options.RenameSpaceChar = "";
    EXPECT_EQ(BuildNameFromTags("{ARTIST} - {TITLE}", boxes, options, false), "Abba-Waterloo");
    options.RenameSpace = false;
    EXPECT_EQ(BuildNameFromTags("{ARTIST} - {TITLE}", boxes, options, true), " - ");
}

TEST(PlainDecimal, IsTheShortestPlainForm) {
    EXPECT_EQ(PlainDecimal(7), "7");
    EXPECT_EQ(PlainDecimal(2.5), "2.5");
    EXPECT_EQ(PlainDecimal(-0.0), "0");
    EXPECT_EQ(PlainDecimal(0.1), "0.1");
    EXPECT_EQ(PlainDecimal(1e21), "1000000000000000000000");
    EXPECT_EQ(PlainDecimal(1.0 / 0.0), "0");
}

class RenameFromTagsTest : public ::testing::Test {
protected:
    std::string Make(const std::string& name, const std::string& bytes = "audio") {
        std::string path = dir.File(name);
        testsupport::WriteBytes(path, bytes);
        return path;
    }
    std::string Folder() const { return dir.Path().string(); }

    TempDir dir;
    PatternOptions options;
};

TEST_F(RenameFromTagsTest, KeepsTheFilesOwnExtension) {
    const std::pair<const char*, const char*> cases[] = {{"old.MP3", "Abba.MP3"},
                                                         {"old.wma", "Abba.wma"},
                                                         {"o.l.d.mp2", "Abba.mp2"},
                                                         {"noextension", "Abba"}};
    for (const auto& [name, expected] : cases) {
        std::string old = Make(name);
        RenameResult result = RenameFromTags(old, Folder(), "Abba", options);
        ASSERT_EQ(result.Status, RenameStatus::Renamed) << name << result.Message;
        EXPECT_EQ(result.NewPath, dir.File(expected));
        EXPECT_TRUE(PathExists(result.NewPath));
        EXPECT_FALSE(PathExists(old));
        FileDelete(result.NewPath);
    }
}

TEST_F(RenameFromTagsTest, MakesTheNameLegal) {
    std::string old = Make("a.mp3");
    RenameResult result = RenameFromTags(old, Folder() + "/", "AC/DC: Live?", options);
    EXPECT_EQ(result.NewPath, dir.File("AC DC  Live .mp3"));
    options.RenameSpace = true;
    result = RenameFromTags(result.NewPath, Folder(), "AC/DC: Live?", options);
    EXPECT_EQ(result.NewPath, dir.File("AC_DC_ Live_.mp3"));
    EXPECT_TRUE(PathExists(result.NewPath));
}

TEST_F(RenameFromTagsTest, NamesAreTheTagsUTF8) {
    std::string old = Make("a.mp3");
    RenameResult result = RenameFromTags(old, Folder(), "Café Песня 日本語", options);
    EXPECT_EQ(result.NewPath, dir.File("Café Песня 日本語.mp3"));
    EXPECT_TRUE(PathExists(result.NewPath));
}

TEST_F(RenameFromTagsTest, NeverReplacesAnExistingFile) {
    std::string old = Make("a.mp3", "first");
    std::string taken = Make("Abba.mp3", "second");
    RenameResult result = RenameFromTags(old, Folder(), "Abba", options);
    EXPECT_EQ(result.Status, RenameStatus::Failed);
    EXPECT_EQ(result.Message, ErrorDescription(EEXIST));
    EXPECT_EQ(result.Caption, "Error");
    EXPECT_EQ(testsupport::ReadBytes(old), "first");
    EXPECT_EQ(testsupport::ReadBytes(taken), "second");

    testsupport::RecordingHost host;
    ShowRenameFailure(result);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, ErrorDescription(EEXIST));
    EXPECT_EQ(host.messages[0].caption, "Error");
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::OK);
}

TEST_F(RenameFromTagsTest, ItsOwnNameIsANoOp) {
    std::string old = Make("Abba.mp3");
    RenameResult result = RenameFromTags(old, Folder(), "Abba", options);
    EXPECT_EQ(result.Status, RenameStatus::Unchanged);
    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.NewPath, old);
    EXPECT_TRUE(PathExists(old));
}

TEST_F(RenameFromTagsTest, RefusesNamesThatAreNoName) {
    std::string old = Make("a.mp3");
    PatternOptions slash;
    slash.RenameSpace = true;
    slash.RenameSpaceChar = "/";  // a setting that would smuggle in a separator
    const std::pair<const char*, const PatternOptions*> cases[] = {
        {"", &options},   {"   ", &options}, {". .", &options},
        {"..", &options}, {"?", &options},   {"AC:DC", &slash},
    };
    testsupport::RecordingHost host;
    for (const auto& [name, caseOptions] : cases) {
        RenameResult result = RenameFromTags(old, Folder(), name, *caseOptions);
        EXPECT_EQ(result.Status, RenameStatus::Refused) << name;
        EXPECT_FALSE(result.Message.empty());
        ShowRenameFailure(result);
    }
    EXPECT_TRUE(PathExists(old));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    ASSERT_EQ(host.messages.size(), std::size(cases));
    EXPECT_EQ(host.messages[0].caption, "Rename");
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Critical);
}

}  // namespace
