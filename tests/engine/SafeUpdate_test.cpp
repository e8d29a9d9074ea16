// An update under kills, signals, injected failures, other programs and
// unusual files: the user's path always holds the whole old or the whole new
// file, failures say so with the path and the reason, nothing is left behind.
#include "engine/FileGuard.h"
#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"
#include "engine/UpdateAudioFile.h"
#include "engine/id3tag/ID3v1.h"
#include "support/ID3Builders.h"
#include "support/MPEGBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace tessaly;
using testsupport::ReadBytes;
using testsupport::WriteBytes;
namespace fs = std::filesystem;
namespace id3 = testsupport::id3;

namespace {

// The fault hook's plan: at the `countdown`th fault point, run `action` (which
// may end the process) and fail the call with `error`.
struct FaultPlan {
    int countdown = 0;
    int error = 0;
    int calls = 0;
    std::function<void()> action;
} plan;

int Planned(const char*) {
    ++plan.calls;
    if (--plan.countdown != 0) return 0;
    if (plan.action) plan.action();
    return plan.error;
}

void Arm(int at, int error, std::function<void()> action = {}) {
    plan = FaultPlan{at, error, 0, std::move(action)};
    SetFaultHook(Planned);
}

enum class Way { InPlace, Swap, WithinInode };
const char* Name(Way way) {
    return way == Way::InPlace ? "in place" : way == Way::Swap ? "swap" : "within the inode";
}

std::string Audio(int frames) {
    std::string audio;
    for (int i = 0; i < frames; ++i) {
        std::string frame = testsupport::PlainFrame(testsupport::Bytes({0xFF, 0xFB, 0x90, 0x44}));
        for (size_t k = 4; k < frame.size(); ++k) frame[k] = static_cast<char>((i * 7 + k) & 0x7F);
        audio += frame;
    }
    return audio;
}

pid_t Spawn(const std::function<void()>& body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

class SafeUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        fs::current_path(dir_.Path());
        ::setenv("XDG_STATE_HOME", state_.Path().c_str(), 1);
    }
    void TearDown() override {
        SetFaultHook(nullptr);
        fs::current_path(previous_);
    }

    std::string Path(const std::string& name = "song.mp3") const { return dir_.File(name); }
    const std::string& Old() const { return old_; }

    // Puts the original back; a hard link beside it makes a rewrite stay in
    // the file's own inode.
    void Reset(Way way) {
        for (auto& entry : fs::directory_iterator(dir_.Path())) fs::remove_all(entry.path());
        fs::remove_all(state_.Path() / "tessaly");
        WriteBytes(Path(), old_);
        if (way == Way::WithinInode) fs::create_hard_link(Path(), Path("link.mp3"));
        host_.messages.clear();
    }
    AudioFileData Edit(Way way) const {
        AudioFileData record = ReadAudioFile(Path());
        record.ID3v2.Title = way == Way::InPlace ? "Short" : std::string(1500, 'L');
        record.ID3v1.Title = "New v1";
        return record;
    }
    // The file an undisturbed update makes.
    std::string Updated(Way way) {
        Reset(way);
        EXPECT_TRUE(UpdateAudioFile(Path(), Edit(way)));
        return ReadBytes(Path());
    }
    // Names other than the song, its link and the log, and backups left (an
    // emptied one is no backup).
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (auto& entry : fs::directory_iterator(dir_.Path())) {
            const std::string name = entry.path().filename().string();
            if (name != "song.mp3" && name != "link.mp3" && name != "DEBUG.LOG") names.push_back(name);
        }
        const fs::path backups = state_.Path() / "tessaly" / "backups";
        if (fs::exists(backups))
            for (auto& entry : fs::directory_iterator(backups))
                if (fs::file_size(entry.path()) > 0) names.push_back(entry.path().filename().string());
        return names;
    }

    testsupport::TempDir dir_;
    testsupport::TempDir state_;
    testsupport::RecordingHost host_;
    fs::path previous_;
    const std::string old_ = id3::Tag(3, id3::TextFrame(3, "TIT2", "Old"), {.padding = 300}) +
                             Audio(60) + id3::Trailer("Old v1", "", "", "", "", 255);
};

const Way AllWays[] = {Way::InPlace, Way::Swap, Way::WithinInode};

}  // namespace

// A kill at every fault point of each way: right after it the path holds the
// old or the new file (or the file is mid-write and its backup is there), and
// the next update completes the edit and leaves nothing behind.
TEST_F(SafeUpdateTest, AKillAtAnyPointLeavesTheOldOrTheNewFile) {
    for (Way way : AllWays) {
        const std::string updated = Updated(way);
        int killed = 0;
        for (int at = 1; at < 200; ++at) {
            SCOPED_TRACE(std::string(Name(way)) + ", killed at point " + std::to_string(at));
            Reset(way);
            const AudioFileData record = Edit(way);
            const int status = Wait(Spawn([&] {
                Arm(at, 0, [] { ::raise(SIGKILL); });
                UpdateAudioFile(Path(), record);
            }));
            if (!WIFSIGNALED(status)) break;  // the update ran to its end
            ++killed;
            const std::string now = ReadBytes(Path());
            if (now != Old() && now != updated) {
                // Mid-write within the file: its backup is there, and reading
                // the file puts it back.
                EXPECT_NE(way, Way::Swap);
                EXPECT_FALSE(Leftovers().empty());
                ReadAudioFile(Path());
                EXPECT_EQ(ReadBytes(Path()), Old());
                ASSERT_EQ(host_.messages.size(), 1u);
                EXPECT_NE(host_.messages[0].text.find("was put back"), std::string::npos);
            }

            EXPECT_TRUE(UpdateAudioFile(Path(), Edit(way)));
            EXPECT_EQ(ReadBytes(Path()), updated);
            if (way == Way::WithinInode) {
                EXPECT_EQ(ReadBytes(Path("link.mp3")), updated);
            }
            EXPECT_EQ(Leftovers(), std::vector<std::string>{});
            fs::remove_all(state_.Path() / "tessaly");
        }
        EXPECT_GT(killed, 4) << Name(way);
    }
}

// An error injected at every fault point: the file stays as it was and the
// message names the path and the system's reason; an error after the new file
// is in place is reported as what it is.
TEST_F(SafeUpdateTest, AFailureAtAnyPointLeavesTheFileAndSaysWhy) {
    for (Way way : AllWays) {
        for (int error : {ENOSPC, EIO}) {
            const std::string updated = Updated(way);
            for (int at = 1; at < 200; ++at) {
                SCOPED_TRACE(std::string(Name(way)) + ", " + ErrorDescription(error) + " at " +
                             std::to_string(at));
                Reset(way);
                const AudioFileData record = Edit(way);
                Arm(at, error);
                const bool done = UpdateAudioFile(Path(), record);
                SetFaultHook(nullptr);
                if (plan.countdown > 0) break;  // no point was left to fail
                // A backup that cannot be removed after success is emptied:
                // nothing to say then.
                if (done && host_.messages.empty()) continue;
                ASSERT_EQ(host_.messages.size(), 1u);
                const std::string& text = host_.messages[0].text;
                EXPECT_NE(text.find(Path()), std::string::npos) << text;
                EXPECT_NE(text.find(ErrorDescription(error)), std::string::npos) << text;
                EXPECT_EQ(ReadBytes(Path()), done ? updated : Old());
                if (done) {
                    EXPECT_NE(text.find("is updated, but"), std::string::npos) << text;
                }
                EXPECT_EQ(Leftovers(), std::vector<std::string>{});
            }
        }
    }
}

// Another program replaces, cuts or extends the file while the update runs:
// nothing of ours lands in it and the message says what happened.
TEST_F(SafeUpdateTest, AFileChangedByAnotherProgramMeanwhileIsLeftToIt) {
    struct Change {
        const char* what;
        std::function<void(const std::string&)> apply;
    };
    const Change changes[] = {
        {"replaced",
         [](const std::string& p) {
             WriteBytes(p + ".new", "another program's file");
             fs::rename(p + ".new", p);
         }},
        {"truncated", [](const std::string& p) { fs::resize_file(p, 1000); }},
        {"appended to", [](const std::string& p) { WriteBytes(p, ReadBytes(p) + "more"); }},
    };
    for (Way way : AllWays)
        for (const Change& change : changes)
            for (int at : {1, 2, 4}) {  // before the first write, and during the copy
                SCOPED_TRACE(std::string(Name(way)) + ", " + change.what + " at " + std::to_string(at));
                Reset(way);
                change.apply(Path());
                const std::string theirs = ReadBytes(Path());
                Reset(way);
                const AudioFileData record = Edit(way);
                Arm(at, 0, [&] { change.apply(Path()); });
                EXPECT_FALSE(UpdateAudioFile(Path(), record));
                SetFaultHook(nullptr);
                EXPECT_EQ(ReadBytes(Path()), theirs);
                ASSERT_EQ(host_.messages.size(), 1u);
                EXPECT_NE(host_.messages[0].text.find(Path() + ": The file was changed by another program"),
                          std::string::npos) << host_.messages[0].text;
                EXPECT_EQ(Leftovers(), std::vector<std::string>{});
            }
}

// Two updates of one file take turns, and one edit never silently erases the
// other: the second, read before the first wrote, waits for the first and is
// then refused because the file changed since it was read.
TEST_F(SafeUpdateTest, TwoUpdatesOfOneFileTakeTurns) {
    Reset(Way::Swap);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    AudioFileData first = Edit(Way::Swap);
    first.ID3v2.Title = std::string(2000, 'A');
    const pid_t child = Spawn([&] {
        Arm(1, 0, [&] {
            ::write(ready[1], "x", 1);
            ::usleep(400000);  // holds the file's lock meanwhile
        });
        UpdateAudioFile(Path(), first);
    });
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    AudioFileData second = Edit(Way::Swap);  // read while the first still runs
    second.ID3v2.Title = std::string(3000, 'B');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(UpdateAudioFile(Path(), second));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_EQ(Wait(child), 0);
    EXPECT_EQ(ReadAudioFile(Path()).ID3v2.Title, first.ID3v2.Title);
    ASSERT_FALSE(host_.messages.empty());
    EXPECT_NE(host_.messages.back().text.find("changed by another program"), std::string::npos);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});

    // Read again, the second edit goes through.
    second = ReadAudioFile(Path());
    second.ID3v2.Title = std::string(3000, 'B');
    EXPECT_TRUE(UpdateAudioFile(Path(), second));
    EXPECT_EQ(ReadAudioFile(Path()).ID3v2.Title, second.ID3v2.Title);
}

// SIGINT, SIGTERM, SIGHUP and SIGQUIT during a rewrite by swap remove the
// temporary file; within a file they wait until the file is whole again.
TEST_F(SafeUpdateTest, TerminatingSignalsLeaveNoHalfWrittenFile) {
    for (Way way : AllWays) {
        const std::string updated = Updated(way);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            SCOPED_TRACE(std::string(Name(way)) + ", signal " + std::to_string(signal));
            Reset(way);
            const AudioFileData record = Edit(way);
            const int status = Wait(Spawn([&] {
                Arm(3, 0, [signal] { ::raise(signal); });
                UpdateAudioFile(Path(), record);
            }));
            ASSERT_TRUE(WIFSIGNALED(status));
            EXPECT_EQ(WTERMSIG(status), signal);
            EXPECT_EQ(ReadBytes(Path()), way == Way::Swap ? Old() : updated);
            EXPECT_EQ(Leftovers(), std::vector<std::string>{});
        }
    }
}

// The file keeps owner, group, mode bits, extended attributes, ACL and links,
// also when a non-owner updates it or its folder is read-only.
TEST_F(SafeUpdateTest, TheFileKeepsItsIdentity) {
    // An ACL granting user 4242 read and write, in the kernel's xattr form.
    const std::string acl = testsupport::Hex(
        "02 00 00 00  01 00 06 00 FF FF FF FF  02 00 06 00 92 10 00 00"
        "04 00 06 00 FF FF FF FF  10 00 06 00 FF FF FF FF  20 00 06 00 FF FF FF FF");
    struct Case {
        const char* name;
        uid_t owner;   // of the file
        uid_t runner;  // who updates it (0: this process)
        mode_t folderMode;
        mode_t mode;  // a writer without the right to keep set-user-ID loses it
    };
    const Case cases[] = {
        {"own file", 0, 0, 0755, 07666},
        {"other owner, run by root", 4242, 0, 0755, 07666},
        {"run by a non-owner with write permission", 4242, 4343, 0777, 03666},
        {"read-only folder", 4242, 4242, 0555, 07666},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if ((c.owner || c.runner) && ::geteuid() != 0) continue;  // needs root to set up
        Reset(Way::Swap);
        const std::string path = Path();
        ASSERT_EQ(::chown(path.c_str(), c.owner, 100), 0);
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        const bool xattrs = ::setxattr(path.c_str(), "user.mood", "calm", 4, 0) == 0;
        const bool acls =
            ::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        ::chmod(dir_.Path().c_str(), c.folderMode);
        ::chmod(state_.Path().c_str(), 0777);
        const AudioFileData record = Edit(Way::Swap);
        const int status = Wait(Spawn([&] {
            if (c.runner && (::setgroups(0, nullptr) != 0 || ::setgid(100) != 0 ||
                             ::setuid(c.runner) != 0))
                ::_exit(3);
            ::_exit(UpdateAudioFile(path, record) ? 0 : 1);
        }));
        ::chmod(dir_.Path().c_str(), 0755);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(ReadAudioFile(path).ID3v2.Title, record.ID3v2.Title);
        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
        char value[256];
        if (xattrs) {
            EXPECT_EQ(::getxattr(path.c_str(), "user.mood", value, sizeof value), 4);
        }
        if (acls) {
            EXPECT_EQ(::getxattr(path.c_str(), "system.posix_acl_access", value, sizeof value),
                      static_cast<ssize_t>(acl.size()));
        }
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
    // Hard links: both names still share the one, updated, file.
    Reset(Way::WithinInode);
    struct stat before {}, after {};
    ASSERT_EQ(::stat(Path().c_str(), &before), 0);
    ASSERT_TRUE(UpdateAudioFile(Path(), Edit(Way::WithinInode)));
    ASSERT_EQ(::stat(Path().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(ReadBytes(Path("link.mp3")), ReadBytes(Path()));
}

// A sparse file of 4.5 GiB: its real size, duration and trailer are read, and
// an edit lands in the tag and the real trailer, nowhere in between.
TEST_F(SafeUpdateTest, FilesOver4GiBReadAndUpdateWithTheirRealSize) {
    constexpr int64_t Size = (int64_t{9} << 29);  // 4.5 GiB
    const std::string head = id3::Tag(3, id3::TextFrame(3, "TIT2", "Big"), {.padding = 100}) + Audio(4);
    WriteBytes(Path(), head);
    if (::truncate(Path().c_str(), Size) != 0) GTEST_SKIP() << "no sparse 4.5 GiB file here";
    {
        int fd = ::open(Path().c_str(), O_WRONLY);
        const std::string trailer = id3::Trailer("Far away", "", "", "", "", 255);
        ASSERT_EQ(::pwrite(fd, trailer.data(), trailer.size(), Size - 128), 128);
        ::close(fd);
    }
    AudioFileData record = ReadAudioFile(Path());
    EXPECT_EQ(record.MPEG.FileSize, Size);
    EXPECT_EQ(record.MPEG.Duration, (Size - 10 - record.ID3v2.TagSize) * 8 / 128000);
    EXPECT_STREQ(record.ID3v1.Title.c_str(), "Far away");

    record.ID3v2.Title = "Bigger";
    record.ID3v1.Title = "Still far";
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    const AudioFileData back = ReadAudioFile(Path());
    EXPECT_EQ(back.MPEG.FileSize, Size);
    EXPECT_EQ(back.ID3v2.Title, "Bigger");
    EXPECT_STREQ(back.ID3v1.Title.c_str(), "Still far");
    struct stat st {};
    ASSERT_EQ(::stat(Path().c_str(), &st), 0);
    EXPECT_LT(st.st_blocks * 512, int64_t{1} << 24);  // nothing was filled in
}
