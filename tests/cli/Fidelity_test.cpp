// Files tagged by other programs, edited one field at a time with
// tessaly-cli set: the boxes show what the tagger wrote, and afterwards a
// peer (mutagen) reads every frame as before except the edited field's, the
// audio is unchanged and ffmpeg decodes the file without a word.
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <set>

using testsupport::CliResult;
using testsupport::HaveTool;
using testsupport::Python;

using testsupport::ShellQuote;
using testsupport::TempDir;
using Json = nlohmann::json;

namespace {

const std::string Script = std::string(TESSALY_SOURCE_DIR) + "/tests/cli/tagged_files.py";

struct Case {
    const char* name;
    const char* tool;   // skipped with a message when it is not installed
    std::string maker;  // shell command; $F the file, $B plain audio, $W the same as WAV
    std::map<std::string, std::string> shown;  // ID3v2 fields as info --json shows them
    std::string edit;                          // options of set
    std::set<std::string> edited;              // the frames (mutagen's keys) it may change
};

std::string Maker(const std::string& kind) {
    return Python() + " " + ShellQuote(Script) + " make " + kind + " $F";
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"mid3v2: UTF-8 text, comments and URLs with descriptions, a full date", "mid3v2",
         "mid3v2 -t 'Песня' -a '日本語 ☃' -A '\xF0\x9F\x8E\xB5 Album' -c first "
         "-c 'iTunNORM: 0000 0001' -c 'Kommentar:Hallo:deu' --WXXX ':http://a.example/' "
         "--WXXX 'shop:http://b.example/' --TDRC 2021-05-03T10:20 --TXXX 'note:x' $F",
         {{"Title", "Песня"}, {"Artist", "日本語 ☃"}, {"Album", "\xF0\x9F\x8E\xB5 Album"},
          {"Comment", "first"}, {"Year", "2021"}, {"URL", "http://a.example/"}},
         "--album 'Новый'", {"TALB"}},
        {"mutagen: several values, a bare genre, 20 unknown frames before the title", "",
         Maker("v24-multi"),
         {{"Artist", "Песня/日本語 ☃"}, {"Title", "\xF0\x9F\x8E\xB5 Title"}, {"Genre", "Other"},
          {"Comment", "main"}, {"URL", "http://a.example/"}, {"Year", "2021"}},
         "--album 'Ἀθῆναι'", {"TALB"}},
        {"hand-made 2.3: one field in two frames", "", Maker("v23-repeated"),
         {{"Artist", "piman/jzig"}, {"Title", "Café"}}, "--album A", {"TALB"}},
        {"hand-made 2.2 from a music store: sort names and four comments", "",
         Maker("v22-store"),
         {{"Title", "Title"}, {"Comment", "store comment"}, {"Genre", "Rock"}},
         "--v2 --title 'Заголовок'", {"TIT2"}},
        {"an ID3v1 genre the table does not name, kept through an ID3v2 edit", "",
         Maker("v1-genre150"), {{"Title", "Title"}}, "--v2 --title New", {"TIT2"}},
        {"eyeD3: UTF-16 in 2.3, a picture, a user text", "eyeD3",
         "eyeD3 -Q --to-v2.3 --encoding utf16 -t 'Заголовок' -a 'Ἀθῆναι' -A 'Альбом' "
         "-c main --add-comment 'norm:iTunNORM' --user-text-frame 'k:v' "
         "--add-image $P:FRONT_COVER $F >/dev/null",
         {{"Title", "Заголовок"}, {"Artist", "Ἀθῆναι"}, {"Comment", "main"}},
         "--year 2004", {"TDRC"}},
        {"id3v2: ISO-8859-1 2.3 tag and an ID3v1 trailer", "id3v2",
         "id3v2 -t Title -a Artist -A Album -y 2003 -T 3/12 -c comment -g 17 $F",
         {{"Title", "Title"}, {"Track", "3/12"}, {"Genre", "Rock"}, {"Year", "2003"}},
         "--v2 --title 'Título'", {"TIT2"}},
        {"kid3-cli: its own defaults", "kid3-cli",
         "kid3-cli -c \"set title 'Песня'\" -c \"set artist 'Артист'\" "
         "-c \"set comment 'c'\" $F",
         {{"Title", "Песня"}, {"Artist", "Артист"}}, "--year 1999", {"TDRC", "TYER"}},
        {"ffmpeg: a 2.3 tag from a remux", "ffmpeg",
         "ffmpeg -v error -y -i $B -c copy -id3v2_version 3 -metadata title='Песня' "
         "-metadata artist='日本語' -metadata album_artist=AA $F",
         {{"Title", "Песня"}, {"Artist", "日本語"}}, "--comment 'Ünïcødé ☃'",
         {"COMM::eng", "COMM:Comment:eng"}},
        {"lame: a VBR file with its own UTF-16 tag", "lame",
         "lame --quiet -V 2 --id3v2-utf16 --tt 'Título ☃' --ta 'Артист' $W $F",
         {{"Title", "Título ☃"}, {"Artist", "Артист"}}, "--title T", {"TIT2"}},
    };
    return cases;
}

class FidelityTest : public ::testing::TestWithParam<size_t> {
protected:
    static void SetUpTestSuite() {
        haveMutagen_ = testsupport::Run(Python() + " -c 'import mutagen'") == 0;
        if (!HaveTool("ffmpeg")) return;
        audio_ = std::make_unique<TempDir>();
        const std::string wav = audio_->File("plain.wav");
        testsupport::Run("ffmpeg -v error -f lavfi -i sine=frequency=440:duration=3 -ac 1 -ar 44100 " + wav);
        testsupport::Run("ffmpeg -v error -i " + wav + " -c:a libmp3lame -b:a 128k -id3v2_version 0 " +
            "-write_xing 0 " + audio_->File("plain.mp3"));
        testsupport::Run(Python() + " " + ShellQuote(Script) + " make png " +
                         audio_->File("cover.png"));
    }
    static void TearDownTestSuite() { audio_.reset(); }

    static Json Dump(const std::string& path) {
        std::string out;
        EXPECT_EQ(testsupport::Run(Python() + " " + ShellQuote(Script) + " dump " + ShellQuote(path), &out), 0)
            << out;
        return Json::parse(out, nullptr, false);
    }

    static inline std::unique_ptr<TempDir> audio_;
    static inline bool haveMutagen_ = false;
    TempDir dir_;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST_P(FidelityTest, OneFieldEditedNothingElseChanges) {
    const Case& c = Cases()[GetParam()];
    SCOPED_TRACE(c.name);
    if (!haveMutagen_ || !audio_) GTEST_SKIP() << "needs python3-mutagen and ffmpeg";
    if (*c.tool && !HaveTool(c.tool)) GTEST_SKIP() << c.tool << " is not installed";

    const std::string file = dir_.File("song.mp3");
    std::filesystem::copy_file(audio_->File("plain.mp3"), file);
    std::string maker = Replace(c.maker, "$F", ShellQuote(file));
    maker = Replace(maker, "$B", ShellQuote(audio_->File("plain.mp3")));
    maker = Replace(maker, "$W", ShellQuote(audio_->File("plain.wav")));
    maker = Replace(maker, "$P", ShellQuote(audio_->File("cover.png")));
    std::string output;
    ASSERT_EQ(testsupport::Run(maker, &output), 0) << maker << "\n" << output;

    // The boxes show what the tagger wrote.
    const CliResult info = testsupport::RunCli(dir_.Path().string(), "info --json song.mp3");
    ASSERT_EQ(info.status, 0) << info.err;
    const Json record = Json::parse(info.out);
    for (const auto& [key, value] : c.shown)
        EXPECT_EQ(record["ID3v2"][key].get<std::string>(), value) << key;

    const Json before = Dump(file);
    const CliResult set = testsupport::RunCli(dir_.Path().string(), "set " + c.edit + " song.mp3");
    ASSERT_EQ(set.status, 0) << set.err;
    const Json after = Dump(file);

    EXPECT_EQ(after["audio"], before["audio"]);
    if (c.edit.find("--v2") != std::string::npos) {
        EXPECT_EQ(after["v1"], before["v1"]);
    }
    std::set<std::string> keys;
    for (const auto& [key, value] : before["frames"].items()) keys.insert(key);
    for (const auto& [key, value] : after["frames"].items()) keys.insert(key);
    for (const std::string& key : keys) {
        if (c.edited.count(key)) continue;
        EXPECT_EQ(after["frames"].value(key, Json()), before["frames"].value(key, Json()))
            << key;
    }
    ASSERT_EQ(testsupport::Run("ffmpeg -v error -i " + ShellQuote(file) + " -f null - 2>&1",
                               &output),
              0);
    EXPECT_EQ(output, "");
}

INSTANTIATE_TEST_SUITE_P(Taggers, FidelityTest, ::testing::Range<size_t>(0, 10));

// Text typed on the command line keeps every character: in the ID3v2 tag as
// UTF-16 when it needs to, in ID3v1 as "?" where ISO-8859-1 has no character;
// names read into tags and built from them are UTF-8.
TEST_F(FidelityTest, TypedUnicodeRoundTripsThroughSetParseAndRename) {
    if (!haveMutagen_ || !audio_) GTEST_SKIP() << "needs python3-mutagen and ffmpeg";
    const std::string file = dir_.File("Артист - Песня ☃.mp3");
    std::filesystem::copy_file(audio_->File("plain.mp3"), file);
    const auto cli = [&](const std::string& args) {
        return testsupport::RunCli(dir_.Path().string(), args);
    };

    CliResult r = cli("parse --pattern '{ARTIST} - {TITLE}' " + ShellQuote(file));
    ASSERT_EQ(r.status, 0) << r.err;
    r = cli("set --album '日本語 \xF0\x9F\x8E\xB5' " + ShellQuote(file));
    ASSERT_EQ(r.status, 0) << r.err;
    Json tags = Dump(file)["frames"];
    EXPECT_EQ(tags["TPE1"][0]["text"][0], "Артист");
    EXPECT_EQ(tags["TIT2"][0]["text"][0], "Песня ☃");
    EXPECT_EQ(tags["TALB"][0]["text"][0], "日本語 \xF0\x9F\x8E\xB5");
    r = cli("info --json " + ShellQuote(file));
    const Json record = Json::parse(r.out);
    EXPECT_EQ(record["ID3v1"]["Title"], "????? ?");
    EXPECT_EQ(record["ID3v2"]["Album"], "日本語 \xF0\x9F\x8E\xB5");

    r = cli("rename --pattern '{TITLE} ({ALBUM})' " + ShellQuote(file));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir_.File("Песня ☃ (日本語 \xF0\x9F\x8E\xB5).mp3")));
}

// A file without tags gets the versions its fields go into; one that has a
// single version keeps the other off; a set or parse that would write nothing
// fails and says why.
TEST_F(FidelityTest, SetTicksTheVersionsItWritesAndRefusesToWriteNothing) {
    if (!haveMutagen_ || !audio_) GTEST_SKIP() << "needs python3-mutagen and ffmpeg";
    const std::string file = dir_.File("a.mp3");
    std::filesystem::copy_file(audio_->File("plain.mp3"), file);
    const auto cli = [&](const std::string& args) {
        return testsupport::RunCli(dir_.Path().string(), args + " a.mp3");
    };
    const auto present = [&] {
        const Json j = Json::parse(cli("info --json").out);
        return std::make_pair(j["ID3v1"]["Present"].get<bool>(), j["ID3v2"]["Present"].get<bool>());
    };

    EXPECT_EQ(cli("set --composer C").status, 0);  // an ID3v2-only field
    EXPECT_EQ(present(), std::make_pair(false, true));
    const CliResult nothing = cli("set --v1 --title T");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find("--enable-v1"), std::string::npos) << nothing.err;
    EXPECT_EQ(present(), std::make_pair(false, true));
    EXPECT_EQ(cli("set").status, 1);
    const CliResult parse = cli("parse --pattern 'no field'");
    EXPECT_EQ(parse.status, 1);
    EXPECT_NE(parse.err.find("nothing was written"), std::string::npos) << parse.err;

    std::filesystem::remove(file);
    std::filesystem::copy_file(audio_->File("plain.mp3"), file);
    EXPECT_EQ(cli("set --title T").status, 0);
    EXPECT_EQ(present(), std::make_pair(true, true));
}
