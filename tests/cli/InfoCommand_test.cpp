// tessaly-cli info, end to end: the JSON record's keys and byte text, the
// listing, and the exit statuses.
#include "engine/FileIO.h"
#include "support/ID3Builders.h"
#include "support/MPEGBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using testsupport::Hex;
using testsupport::ShellQuote;
namespace id3 = testsupport::id3;

namespace {

class InfoCommandTest : public ::testing::Test {
protected:
    testsupport::CliResult Info(const std::string& args) const {
        return testsupport::RunCli(dir_.Path().string(), "info " + args);
    }
    std::string Song() const {
        const std::string path = dir_.File("song.mp3");
        testsupport::WriteBytes(
            path, id3::Tag(3, id3::TextFrame(3, "TIT2", "Caf\xE9") +
                                  id3::TextFrame(3, "TPE1", "Band \"q\" \\ \t\x01\x7F")) +
                      testsupport::PlainFrame(testsupport::Bytes({0xFF, 0xFB, 0x90, 0x44})) +
                      id3::Trailer("Title", "Artist", "", "1999", "", 17));
        return path;
    }
    testsupport::TempDir dir_;
};

}  // namespace

TEST_F(InfoCommandTest, JsonHasTheRecordsFieldsInOrderAndBytesAsCodePoints) {
    const auto r = Info("--json " + ShellQuote(Song()));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::ordered_json::parse(r.out);
    // Exactly the compact form a JSON library writes, escapes included.
    EXPECT_EQ(j.dump() + "\n", r.out);
    EXPECT_EQ(j["ID3v2"]["Artist"], "Band \"q\" \\ \t\x01\x7F");
    std::vector<std::string> keys;
    for (auto& [key, value] : j.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"FileName", "Created", "Accessed", "Modified",
                                              "ID3v1", "ID3v2", "MPEG"}));
    EXPECT_EQ(j["ID3v2"]["Title"], "Caf\u00e9");  // byte E9 is U+00E9
    EXPECT_EQ(j["ID3v2"].size(), 18u);
    EXPECT_EQ(j["ID3v2"]["MajorVersion"], 3);
    // The trailer's zero padding is part of the record.
    EXPECT_EQ(j["ID3v1"]["Title"], std::string("Title") + std::string(25, '\0'));
    EXPECT_EQ(j["ID3v1"]["Genre"], "Rock");
    EXPECT_EQ(j["MPEG"]["Bitrate"], 128);
    EXPECT_EQ(j["MPEG"]["Mode"], "Joint Stereo");
    EXPECT_EQ(j["MPEG"].size(), 15u);
}

TEST_F(InfoCommandTest, ListingShowsTextAsTheBoxesDo) {
    const auto r = Info(ShellQuote(Song()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Title            Caf\u00e9\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Title            Title\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("MPEG: MPEG 1.0 Layer III, 128 kbit/s"), std::string::npos) << r.out;
}

TEST_F(InfoCommandTest, ExitStatusSaysWhetherEveryFileWasRead) {
    const auto r = Info("--json " + ShellQuote(Song()) + " " + ShellQuote(dir_.File("none.mp3")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);  // the readable one is printed
    EXPECT_EQ(r.err, "Error Opening File '" + dir_.File("none.mp3") +
                         "': " + tessaly::ErrorDescription(ENOENT) + "\n");
    EXPECT_EQ(Info("").status, 2);
    EXPECT_EQ(Info("--bogus " + ShellQuote(Song())).status, 2);
}
