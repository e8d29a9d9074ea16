#include "engine/UpdateAudioFile.h"

#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"
#include "engine/id3tag/ID3v1.h"
#include "engine/id3tag/ID3v2Writer.h"
#include "support/ID3Builders.h"
#include "support/MPEGBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tessaly;
using testsupport::Hex;
using testsupport::ReadBytes;
using testsupport::WriteBytes;
namespace id3 = testsupport::id3;

namespace {

// MPEG-1 Layer III frames whose payload differs from frame to frame, so a
// misplaced copy shows.
std::string Audio(int frames) {
    std::string audio;
    for (int i = 0; i < frames; ++i) {
        std::string frame = testsupport::PlainFrame(testsupport::Bytes({0xFF, 0xFB, 0x90, 0x44}));
        for (size_t k = 4; k < frame.size(); ++k) frame[k] = static_cast<char>((i * 31 + k) & 0x7F);
        audio += frame;
    }
    return audio;
}

// Compares file bytes without printing megabytes of them on a mismatch.
void ExpectBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return;
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    ADD_FAILURE() << "bytes differ at offset " << at << " (sizes " << actual.size() << " and "
                  << expected.size() << ")";
}

std::string Trailer(const std::string& title) {
    return id3::Trailer(title, "", "", "", "", 255);
}

// Runs each test in a fresh folder that is also the current folder, where the
// update writes its DEBUG.LOG.
class UpdateAudioFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.Path());
        ::setenv("XDG_STATE_HOME", state_.Path().c_str(), 1);
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    std::string Path(const std::string& name = "song.mp3") const { return dir_.File(name); }

    // The log's event texts without their time stamps.
    std::vector<std::string> LogEvents() const {
        std::vector<std::string> events;
        std::istringstream log(ReadBytes(dir_.File("DEBUG.LOG")));
        std::string line;
        const std::regex stamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )");
        while (std::getline(log, line)) {
            EXPECT_TRUE(std::regex_search(line, stamp)) << line;
            events.push_back(std::regex_replace(line, stamp, ""));
        }
        return events;
    }

    // Files of the folder other than the song, the log and what a test names.
    std::vector<std::string> Leftovers(const std::vector<std::string>& expected = {}) const {
        std::vector<std::string> names;
        for (auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
            std::string name = entry.path().filename().string();
            if (name == "song.mp3" || name == "DEBUG.LOG") continue;
            if (std::find(expected.begin(), expected.end(), name) != expected.end()) continue;
            names.push_back(name);
        }
        return names;
    }

    testsupport::TempDir dir_;
    testsupport::TempDir state_;  // where backups go
    testsupport::RecordingHost host_;
    std::filesystem::path previous_;
};

std::string TitleFrameOfSize(size_t frameSize) {
    return id3::TextFrame(3, "TIT2", std::string(frameSize - 11, 't'));
}

}  // namespace

TEST_F(UpdateAudioFileTest, FramesThatFitAreWrittenInPlaceIntoTheOldRoom) {
    const std::string audio = Audio(20);
    WriteBytes(Path(), id3::Tag(3, id3::TextFrame(3, "TIT2", "Old"), {.padding = 1000 - 14}) +
                           audio);
    AudioFileData record = ReadAudioFile(Path());
    ASSERT_EQ(record.ID3v2.TagSize, 1000);
    record.ID3v2.Title = std::string(289, 't');

    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    ExpectBytes(ReadBytes(Path()), "ID3" + Hex("03 00 00") + Synchsafe32(1000) +
                                     TitleFrameOfSize(300) + std::string(700, '\0') + audio);
    EXPECT_EQ(LogEvents(), std::vector<std::string>{"Opened " + Path() + " for read/write"});
    EXPECT_EQ(host_.progress, (std::vector<int>{20, 70, 100}));
    EXPECT_EQ(host_.shows, 1);
    EXPECT_EQ(host_.hides, 1);
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(UpdateAudioFileTest, FramesThatOutgrowTheRoomRewriteTheFileWith256BytesToSpare) {
    const std::string audio = Audio(20);
    WriteBytes(Path(), id3::Tag(3, id3::TextFrame(3, "TIT2", "Old"), {.padding = 1000 - 14}) +
                           audio + Trailer("v1"));
    AudioFileData record = ReadAudioFile(Path());
    record.ID3v2.Title = std::string(1189, 't');
    record.ID3v1.Title = "New v1";

    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    ExpectBytes(ReadBytes(Path()), "ID3" + Hex("03 00 00") + Synchsafe32(1456) +
                                     TitleFrameOfSize(1200) + std::string(256, '\0') + audio +
                                     BuildID3v1(record.ID3v1));
    EXPECT_EQ(ReadAudioFile(Path()).ID3v1.Title, "New v1");

    const std::string temp = Path(".song.mp3.tessaly-tmp");
    EXPECT_EQ(LogEvents(), (std::vector<std::string>{
                               "Opened " + Path() + " for read/write", "Must Rewrite Entire File",
                               "Generated Tempfile: " + temp, "Writing v2 Header",
                               "Writing v1 Tags", "Closing Files",
                               "Renaming " + temp + " to " + Path(), "Finished"}));
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_EQ(host_.hides, 1);
}

TEST_F(UpdateAudioFileTest, TagsAreAddedAndRemovedAroundUntouchedAudio) {
    const std::string audio = Audio(10);
    WriteBytes(Path(), audio);
    AudioFileData record = ReadAudioFile(Path());
    record.ID3v2.Present = true;
    record.ID3v2.Title = "T";
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    const std::string frames = BuildManagedFrames(record.ID3v2, "eng");
    ExpectBytes(ReadBytes(Path()), "ID3" + Hex("03 00 00") + Synchsafe32(frames.size() + 256) +
                                     frames + std::string(256, '\0') + audio);

    record = ReadAudioFile(Path());
    record.ID3v1.Present = true;
    ASSERT_TRUE(UpdateAudioFile(Path(), record));  // in place: the trailer is appended
    EXPECT_EQ(ReadBytes(Path()).size(), 10 + frames.size() + 256 + audio.size() + 128);

    record = ReadAudioFile(Path());
    record.ID3v1.Present = false;
    record.ID3v2.Present = false;
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    ExpectBytes(ReadBytes(Path()), audio);
}

TEST_F(UpdateAudioFileTest, NothingToWriteLeavesTheFileAsItWas) {
    const std::string audio = Audio(5);
    WriteBytes(Path(), audio);
    AudioFileData record = ReadAudioFile(Path());
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    ExpectBytes(ReadBytes(Path()), audio);
    EXPECT_EQ(LogEvents().size(), 1u);

    // ID3v2 text with the tag switched off is never written: no rewrite for it.
    record.ID3v2.Title = "not written";
    record.ID3v1.Present = true;
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    EXPECT_EQ(ReadBytes(Path()).substr(0, audio.size()), audio);
    EXPECT_EQ(ReadBytes(Path()).size(), audio.size() + 128);
    EXPECT_EQ(LogEvents().size(), 2u);
}

TEST_F(UpdateAudioFileTest, AFileNamedLikeTheOldBackupIsNeverTouched) {
    WriteBytes(Path(), Audio(5));
    WriteBytes(Path() + ".tmp", "the user's own file");
    AudioFileData record = ReadAudioFile(Path());
    record.ID3v2.Present = true;
    record.ID3v2.Title = "T";

    EXPECT_TRUE(UpdateAudioFile(Path(), record));
    EXPECT_EQ(ReadAudioFile(Path()).ID3v2.Title, "T");
    EXPECT_EQ(ReadBytes(Path() + ".tmp"), "the user's own file");
    EXPECT_TRUE(Leftovers({"song.mp3.tmp"}).empty());  // our temporary file is gone
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(UpdateAudioFileTest, OriginalTimesAreRestoredOnBothPathsWhenAsked) {
    for (bool rewrite : {false, true}) {
        WriteBytes(Path(), id3::Tag(3, id3::TextFrame(3, "TIT2", "x"), {.padding = 100}) + Audio(3));
        const int64_t then = FileTimeFromUnix(1000000000, 0);
        ASSERT_TRUE(SetFileTimes(Path(), 0, then, then));
        AudioFileData record = ReadAudioFile(Path());
        record.ID3v2.Title = rewrite ? std::string(500, 'y') : "y";
        UpdateOptions options;
        options.OriginalDateTime = true;
        ASSERT_TRUE(UpdateAudioFile(Path(), record, options));
        FileTimes times;
        ASSERT_TRUE(GetFileTimes(Path(), times));
        EXPECT_EQ(times.Modified, then) << (rewrite ? "rewrite" : "in place");
        EXPECT_EQ(times.Accessed, then) << (rewrite ? "rewrite" : "in place");

        // Without the option the file carries the time of its change.
        ASSERT_TRUE(SetFileTimes(Path(), 0, then, then));
        record = ReadAudioFile(Path());
        record.ID3v2.Title = rewrite ? std::string(2000, 'z') : "z";
        ASSERT_TRUE(UpdateAudioFile(Path(), record));
        ASSERT_TRUE(GetFileTimes(Path(), times));
        EXPECT_GT(times.Modified, then);
    }
}

TEST_F(UpdateAudioFileTest, AFileWithoutAudioFramesIsRewrittenWithoutItsOldTag) {
    const std::string noise(3000, '\x11');
    WriteBytes(Path(), id3::Tag(3, id3::TextFrame(3, "TIT2", "Old")) + noise);
    AudioFileData record = ReadAudioFile(Path());
    ASSERT_FALSE(record.MPEG.HeaderFound);
    record.ID3v2.Title = std::string(100, 'n');
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    const std::string frames = BuildManagedFrames(record.ID3v2, "eng");
    ExpectBytes(ReadBytes(Path()), "ID3" + Hex("03 00 00") + Synchsafe32(frames.size() + 256) +
                                     frames + std::string(256, '\0') + noise);
}

TEST_F(UpdateAudioFileTest, FramesTheEditorDoesNotManageSurviveAnEdit) {
    const std::string apic = id3::Frame(3, "APIC", Hex("00") + "image/png" + Hex("00 03 00") +
                                                       std::string(3000, '\x89'));
    const std::string txxx = id3::Frame(3, "TXXX", Hex("00") + "MOOD" + Hex("00") + "calm");
    WriteBytes(Path(), id3::Tag(3, id3::TextFrame(3, "TIT2", "Old") + apic + txxx) + Audio(4));
    AudioFileData record = ReadAudioFile(Path());
    // The same size fits in place; a longer title makes a rewrite. Both keep them.
    record.ID3v2.Title = "New";
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    std::string frames = id3::TextFrame(3, "TIT2", "New") + apic + txxx;
    ExpectBytes(ReadBytes(Path()), "ID3" + Hex("03 00 00") + Synchsafe32(frames.size()) + frames +
                                       Audio(4));
    record = ReadAudioFile(Path());
    record.ID3v2.Title = "Newer";
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    frames = id3::TextFrame(3, "TIT2", "Newer") + apic + txxx;
    ExpectBytes(ReadBytes(Path()), "ID3" + Hex("03 00 00") + Synchsafe32(frames.size() + 256) +
                                       frames + std::string(256, '\0') + Audio(4));
}

TEST_F(UpdateAudioFileTest, AVersion24TagBecomes23WithItsFramesConverted) {
    const std::string big(300, 'b');  // over 127 bytes: a synchsafe size
    WriteBytes(Path(), id3::Tag(4, id3::TextFrame(4, "TIT2", "Old", 3) +
                                       id3::TextFrame(4, "TDRC", "2001-02-03", 3) +
                                       id3::TextFrame(4, "TPE2", big, 3)) +
                           Audio(3));
    AudioFileData record = ReadAudioFile(Path());
    ASSERT_EQ(record.ID3v2.Year, "2001");
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    AudioFileData back = ReadAudioFile(Path());
    EXPECT_EQ(back.ID3v2.MajorVersion, 3);
    EXPECT_EQ(back.ID3v2.Title, "Old");
    EXPECT_EQ(back.ID3v2.Year, "2001");
    const std::string bytes = ReadBytes(Path());
    EXPECT_NE(bytes.find("TPE2" + BigEndian32(1 + 2 + 600) + Hex("00 00 01 FF FE 62 00")),
              std::string::npos);
    EXPECT_EQ(bytes.find("TDRC"), std::string::npos);
}

TEST_F(UpdateAudioFileTest, ASymbolicLinkStaysALinkAndItsTargetIsUpdated) {
    const std::string target = Path("real.mp3");
    WriteBytes(target, Audio(3));
    ASSERT_EQ(::symlink(target.c_str(), Path().c_str()), 0);
    AudioFileData record = ReadAudioFile(Path());
    record.ID3v2.Present = true;
    record.ID3v2.Title = "Linked";
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    EXPECT_TRUE(std::filesystem::is_symlink(Path()));
    EXPECT_EQ(ReadAudioFile(target).ID3v2.Title, "Linked");
    EXPECT_TRUE(Leftovers({"real.mp3"}).empty());
}

TEST_F(UpdateAudioFileTest, ARewrittenFileKeepsItsPermissions) {
    WriteBytes(Path(), Audio(3));
    ASSERT_EQ(::chmod(Path().c_str(), 0640), 0);
    AudioFileData record = ReadAudioFile(Path());
    record.ID3v2.Present = true;
    record.ID3v2.Title = "T";
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    struct stat st {};
    ASSERT_EQ(::stat(Path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(UpdateAudioFileTest, AWriteFailureMidCopyLeavesTheOriginalAndNoTemporaryFile) {
    const std::string original = id3::Tag(3, id3::TextFrame(3, "TIT2", "x")) + Audio(400);
    WriteBytes(Path(), original);
    AudioFileData record = ReadAudioFile(Path());
    record.ID3v2.Title = std::string(400, 'g');  // forces a rewrite
    UpdateOptions options;
    options.CopyBuffer = 4096;

    // The child may write no file beyond 64 KiB: the copy fails part way.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit {65536, 65536};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        bool updated = UpdateAudioFile(Path(), record, options);
        bool reported = !host_.messages.empty() &&
                        host_.messages.back().text.rfind("Error Updating File: ", 0) == 0;
        ::_exit(!updated && reported ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ExpectBytes(ReadBytes(Path()), original);
    EXPECT_TRUE(Leftovers().empty());
    std::vector<std::string> events = LogEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().rfind("Error Updating File: ", 0), 0u);
}

TEST_F(UpdateAudioFileTest, AFileThatCannotBeOpenedIsReportedOnce) {
    AudioFileData record;
    record.ID3v2.Present = true;
    EXPECT_FALSE(UpdateAudioFile(Path("missing.mp3"), record));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "Error Opening File '" + Path("missing.mp3") + "': " + ErrorDescription(ENOENT));
    EXPECT_EQ(host_.shows, 1);
    EXPECT_EQ(host_.hides, 1);
    EXPECT_TRUE(LogEvents().empty());
}

TEST_F(UpdateAudioFileTest, ATagClaimingMoreThanTheFileHoldsIsRewrittenNotOverrun) {
    // Found by fuzzing: the size field says 10752 bytes, the file has 63. An
    // in-place write would grow the tag past the file's end and the trailer,
    // appended at the old end, would land inside it.
    const std::string tag = "ID3" + Hex("02 00 00 00 00 54 00") + id3::Frame(2, "COM", "x");
    WriteBytes(Path(), tag);
    AudioFileData record = ReadAudioFile(Path());
    ASSERT_EQ(record.ID3v2.TagSize, 10752);
    record.ID3v2.Title = "Edited";
    record.ID3v1.Present = true;
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    AudioFileData back = ReadAudioFile(Path());
    EXPECT_EQ(back.ID3v2.Title, "Edited");
    EXPECT_TRUE(back.ID3v1.Present);
    EXPECT_EQ(back.ID3v2.TagSize + 10 + 128, back.MPEG.FileSize);

    // A claim of 2^28 bytes (more than a header can state) must not be padded
    // out to: the new tag is sized as for a file without one.
    WriteBytes(Path(), "ID3" + Hex("03 00 00 80 00 00 00") + id3::TextFrame(3, "TALB", "A"));
    record = ReadAudioFile(Path());
    record.ID3v2.Title = "Big";
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    back = ReadAudioFile(Path());
    EXPECT_EQ(back.ID3v2.Title, "Big");
    EXPECT_EQ(back.ID3v2.Album, "A");
    EXPECT_LT(back.MPEG.FileSize, 1000);
}

TEST_F(UpdateAudioFileTest, AFooterOfAVersion24TagIsCoveredOnlyWhenItIsThere) {
    const std::string frames = id3::TextFrame(4, "TIT2", "Old", 3) + std::string(50, '\0');
    const std::string body = "ID3" + Hex("04 00 10") + Synchsafe32(frames.size()) + frames;
    const std::string footer = "3DI" + Hex("04 00 10") + Synchsafe32(frames.size());
    for (bool withFooter : {true, false}) {
        SCOPED_TRACE(withFooter ? "footer" : "flag without footer");
        // Without the footer the flag lies: what follows the tag is audio.
        const std::string audio = Audio(3);
        WriteBytes(Path(), body + (withFooter ? footer : "") + audio);
        AudioFileData record = ReadAudioFile(Path());
        record.ID3v2.Title = "New";
        ASSERT_TRUE(UpdateAudioFile(Path(), record));
        const int32_t room = static_cast<int32_t>(frames.size()) + (withFooter ? 10 : 0);
        ExpectBytes(ReadBytes(Path()), "ID3" + Hex("03 00 00") + Synchsafe32(room) +
                                           id3::TextFrame(3, "TIT2", "New") +
                                           std::string(room - 14, '\0') + audio);
    }
}
