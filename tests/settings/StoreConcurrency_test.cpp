// Several processes on one store file: none loses another's writes, and a
// writer killed at any moment leaves a file that reads back whole.
#include "SettingsTestSupport.h"
#include "settings/RegistryText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tessaly;
using namespace settingstest;

namespace {

const std::string Section = "SOFTWARE\\Brackwater\\Tessaly\\Concurrency";

// Runs `body` in a child process that ends with _exit, never returning into
// the test framework.
template <typename Body>
pid_t Spawn(Body body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    return pid;
}

// The many-writes test measures the locking, not the disk: on a memory file
// system, when there is one, a thousand flushes cost nothing.
std::unique_ptr<testsupport::TempDir> FastTempDir() {
    std::optional<ScopedEnv> tmp;
    if (::access("/dev/shm", W_OK) == 0) tmp.emplace("TMPDIR", "/dev/shm");
    return std::make_unique<testsupport::TempDir>();
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

TEST(StoreConcurrency, TwoProcessesWritingAtOnceLoseNothing) {
    auto scratch = FastTempDir();
    const testsupport::TempDir& dir = *scratch;
    const std::string path = dir.File("settings.reg");
    constexpr int Writes = 500;

    auto start = std::chrono::steady_clock::now();
    std::vector<pid_t> children;
    for (const std::string prefix : {"first", "second"}) {
        children.push_back(Spawn([&] {
            auto store = OpenFileSettings(path);
            for (int i = 0; i < Writes; ++i)
                store->SaveSetting(LM, Section, prefix + std::to_string(i), std::to_string(i * 7));
        }));
    }
    for (pid_t child : children) {
        int status = WaitFor(child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto elapsed = std::chrono::steady_clock::now() - start;
    std::cout << "[ figures  ] 2 x " << Writes << " concurrent writes: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms\n";

    auto store = OpenFileSettings(path);
    auto pairs = store->GetAllSettings(LM, Section);
    EXPECT_EQ(pairs.size(), 2u * Writes);
    for (const std::string prefix : {"first", "second"})
        for (int i = 0; i < Writes; ++i)
            ASSERT_EQ(store->GetSetting(LM, Section, prefix + std::to_string(i), "lost"),
                      std::to_string(i * 7))
                << prefix << i;
    // Every writer held the lock: no temporary file is left behind.
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
}

TEST(StoreConcurrency, WriterKilledAtRandomMomentsNeverLeavesAnUnreadableFile) {
    testsupport::TempDir dir;
    const std::string path = dir.File("settings.reg");
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delay(0, 15000);  // microseconds
    int round = 0;
    int lastCount = 0;

    for (int kill = 0; kill < 50; ++kill) {
        pid_t child = Spawn([&] {
            auto store = OpenFileSettings(path);
            // Values of changing size, so every write changes the file's length.
            for (int i = 0;; ++i)
                store->SaveSetting(LM, Section, "k" + std::to_string(i % 40),
                                   std::string(static_cast<size_t>(1 + (i * 37) % 900), 'x') +
                                       std::to_string(round));
        });
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        WaitFor(child);
        ++round;

        if (!std::filesystem::exists(path)) continue;  // killed before its first write
        RegistryTree tree;
        ASSERT_TRUE(ParseRegistryText(testsupport::ReadBytes(path), tree)) << "after kill " << kill;
        const RegistryKey* key = tree.Find(RootName(LM), Section);
        ASSERT_NE(key, nullptr);
        // Values are only ever added: a later file never holds fewer.
        EXPECT_GE(static_cast<int>(key->Values.size()), lastCount);
        lastCount = static_cast<int>(key->Values.size());
    }
    EXPECT_GT(lastCount, 0) << "no writer ever got a write through";

    // The next writer clears what killed writers left behind, and nothing
    // was ever taken for a bad file.
    OpenFileSettings(path)->SaveSetting(LM, Section, "after", "1");
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
        EXPECT_EQ(name.find(".bad-"), std::string::npos) << name;
    }
}
