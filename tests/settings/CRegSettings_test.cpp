#include "settings/CRegSettings.h"

#include "SettingsTestSupport.h"
#include "engine/FileIO.h"
#include "settings/RegistryText.h"

#include "engine/Utf8Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace tessaly;
using namespace settingstest;
using testsupport::ReadBytes;
using testsupport::WriteBytes;
using tessaly::ErrorDescription;

namespace {

const std::string Section = "SOFTWARE\\Brackwater\\Tessaly";

std::vector<std::string> BadCopies(const testsupport::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        std::string name = entry.path().filename().string();
        if (name.rfind("settings.reg.bad-", 0) == 0) names.push_back(name);
    }
    return names;
}

}  // namespace

TEST(CRegSettings, EmptyValueIsNotMissingAndStarIsTheDefaultValue) {
    TempStore s;
    EXPECT_EQ(s->GetSetting(LM, Section, "Missing", "dflt"), "dflt");
    EXPECT_EQ(s->GetSetting(LM, Section, "Missing", ""), "");
    s->SaveSetting(LM, Section, "Empty", "");
    EXPECT_EQ(s->GetSetting(LM, Section, "Empty", "dflt"), "");

    s->SaveSetting(LM, Section, "*", "star");
    EXPECT_EQ(s->GetSetting(LM, Section, "", "x"), "star");
    s->SaveSetting(LM, Section, "", "empty name");
    EXPECT_EQ(s->GetSetting(LM, Section, "*", "x"), "empty name");
    EXPECT_TRUE(s->DeleteSetting(LM, Section, "*"));
    EXPECT_EQ(s->GetSetting(LM, Section, "", "gone"), "gone");
    EXPECT_FALSE(s->DeleteSetting(LM, Section, "*"));

    // Names match without regard to case; a trailing "\" names the same key.
    s->SaveSetting(LM, Section, "MixedName", "1");
    EXPECT_EQ(s->GetSetting(LM, Section + "\\", "mixedname", "x"), "1");
    s->SaveSetting(LM, Section, "MIXEDNAME", "2");
    auto pairs = s->GetAllSettings(LM, Section);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[1], (SettingPair{"MixedName", "2"}));
}

TEST(CRegSettings, EnumerationKeepsWritingOrderAndSkipsOtherTypes) {
    TempStore s;
    auto& backend = static_cast<FileSettingsBackend&>(s->Backend());
    const std::string key = Section + "\\FileByTags";
    s->SaveSetting(LM, key, "2", "c");
    s->SaveSetting(LM, key, "0", "a");
    backend.SaveValue(LM, key, {"n", RegDword, std::string("\1\0\0\0", 4)});
    s->SaveSetting(LM, key, "1", "b");
    s->SaveSetting(LM, key, "0", "A");  // rewriting keeps the value's place

    EXPECT_EQ(s->GetAllSettings(LM, key),
              (std::vector<SettingPair>{{"2", "c"}, {"0", "A"}, {"1", "b"}}));
    EXPECT_TRUE(s->GetAllSettings(LM, Section + "\\Nothing").empty());
    EXPECT_TRUE(s->GetAllSubKeys(LM, key).empty());
    EXPECT_TRUE(s->GetAllSubKeys(LM, "NOPE").empty());

    s->SaveSetting(LM, Section + "\\Macros\\F9", "Macro", "x");
    s->SaveSetting(LM, Section + "\\Macros\\F2", "Macro", "y");
    EXPECT_EQ(s->GetAllSubKeys(LM, Section + "\\Macros"), (std::vector<std::string>{"F9", "F2"}));

    // What one instance wrote, another reads, in the same order.
    auto other = s.Reopen();
    EXPECT_EQ(other->GetAllSettings(LM, key), s->GetAllSettings(LM, key));
    EXPECT_EQ(other->GetSetting(LM, key, "n", "dflt"), std::string("\1\0\0", 3));
}

TEST(CRegSettings, WritingCreatesTheParentChain) {
    TempStore s;
    EXPECT_FALSE(std::filesystem::exists(s.path));  // nothing written until asked
    s->SaveSetting(CR, "a\\b\\c\\d", "v", "1");
    EXPECT_EQ(s->GetAllSubKeys(CR, ""), std::vector<std::string>{"a"});
    EXPECT_EQ(s->GetAllSubKeys(CR, "a\\b"), std::vector<std::string>{"c"});
    EXPECT_EQ(s->GetSetting(CR, "a\\b\\c\\d", "v", ""), "1");
    EXPECT_EQ(s->GetSetting(LM, "a\\b\\c\\d", "v", "other root"), "other root");
}

TEST(CRegSettings, DeleteKeyRefusesShallowSectionsAndRemovesSubtrees) {
    TempStore s;
    s->SaveSetting(LM, "SOFTWARE\\A\\B", "v", "1");
    s->SaveSetting(LM, "SOFTWARE\\A\\B\\C\\D", "v", "2");
    s->SaveSetting(LM, "SOFTWARE\\A", "keep", "3");

    EXPECT_EQ(s->DeleteKey(LM, "SOFTWARE", "A"), StoreRefused);
    EXPECT_EQ(s->DeleteKey(LM, "", "SOFTWARE"), StoreRefused);
    EXPECT_EQ(s->GetSetting(LM, "SOFTWARE\\A\\B", "v", ""), "1");

    EXPECT_EQ(s->DeleteKey(LM, "SOFTWARE\\A", "B"), StoreSuccess);
    EXPECT_TRUE(s->GetAllSubKeys(LM, "SOFTWARE\\A").empty());
    EXPECT_EQ(s->GetSetting(LM, "SOFTWARE\\A\\B\\C\\D", "v", "gone"), "gone");
    EXPECT_EQ(s->GetSetting(LM, "SOFTWARE\\A", "keep", ""), "3");
    EXPECT_EQ(s->DeleteKey(LM, "SOFTWARE\\A", "B"), StoreNotFound);
    EXPECT_EQ(s->DeleteKey(LM, "SOFTWARE\\X", "B"), StoreNotFound);

    // DeleteSetting with no key removes a key only when it has no subkeys.
    s->SaveSetting(LM, "SOFTWARE\\A\\E\\F", "v", "1");
    EXPECT_FALSE(s->DeleteSetting(LM, "SOFTWARE\\A\\E", ""));
    EXPECT_TRUE(s->DeleteSetting(LM, "SOFTWARE\\A\\E\\F", ""));
    EXPECT_TRUE(s->DeleteSetting(LM, "SOFTWARE\\A\\E", ""));
    EXPECT_EQ(s->GetAllSubKeys(LM, "SOFTWARE\\A"), std::vector<std::string>{});
}

TEST(CRegSettings, ValuesRoundTripThroughTheFile) {
    TempStore s;
    std::vector<std::string> texts = {"", "q\"uote", "back\\slash", "two\nlines\r\n",
                                      std::string("nul\0byte", 8)};
    std::string high;
    for (int i = 0x80; i <= 0xFF; ++i) AppendUtf8(high, static_cast<char32_t>(i));
    high += " Песня 日本語";
    texts.push_back(high);
    for (size_t i = 0; i < texts.size(); ++i)
        s->SaveSetting(LM, Section, "v" + std::to_string(i), texts[i]);

    auto other = s.Reopen();
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(other->GetSetting(LM, Section, "v" + std::to_string(i), "<default>"), texts[i]);
    // The file itself is valid UTF-8 text a person can read.
    EXPECT_NE(ReadBytes(s.path).find("\"v1\"=\"q\\\"uote\"\n"), std::string::npos);
}

TEST(CRegSettings, NamesTheTextFormCannotCarryAreNotWritten) {
    TempStore s;
    s->SaveSetting(LM, Section, "bad\nname", "x");
    s->SaveSetting(LM, "A\\\\B", "v", "x");
    EXPECT_FALSE(std::filesystem::exists(s.path));
}

TEST(CRegSettings, UnparseableFileIsMovedAsideOnceAndTheHostToldOnce) {
    testsupport::RecordingHost host;
    TempStore s;
    const std::string garbage = "this is not a settings file\n\"x\"=\"y\"\n";
    WriteBytes(s.path, garbage);

    EXPECT_EQ(s->GetSetting(LM, Section, "CopyBuffer", "65536"), "65536");
    EXPECT_EQ(s->GetSetting(LM, Section, "Other", "d"), "d");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("settings.reg.bad-"), std::string::npos);
    EXPECT_EQ(ReadBytes(s.path), garbage);  // reading never touches it
    EXPECT_TRUE(BadCopies(s.dir).empty());

    s->SaveSetting(LM, Section, "Installed", "True");
    auto bad = BadCopies(s.dir);
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(ReadBytes(s.dir.File(bad[0])), garbage);
    EXPECT_EQ(s->GetSetting(LM, Section, "Installed", ""), "True");
    EXPECT_EQ(host.messages.size(), 1u);

    // A second bad file the same second gets its own name.
    WriteBytes(s.path, garbage);
    auto again = s.Reopen();
    again->SaveSetting(LM, Section, "x", "1");
    EXPECT_EQ(BadCopies(s.dir).size(), 2u);
}

TEST(CRegSettings, BatchWritesOnceAndFailedWritesLeaveTheFile) {
    TempStore s;
    s->SaveSetting(LM, Section, "a", "1");
    struct stat before {};
    ASSERT_EQ(::stat(s.path.c_str(), &before), 0);
    EXPECT_TRUE(s->Batch([&] {
        s->SaveSetting(LM, Section, "b", "2");
        s->DeleteSetting(LM, Section, "a");
        EXPECT_EQ(s->GetSetting(LM, Section, "b", ""), "2");  // visible inside the batch
    }));
    struct stat after {};
    ASSERT_EQ(::stat(s.path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);  // one atomic replacement
    EXPECT_EQ(s.Reopen()->GetAllSettings(LM, Section), (std::vector<SettingPair>{{"b", "2"}}));

    // A store whose folder cannot be created reports the failure and keeps
    // nothing of the batch in memory.
    WriteBytes(s.dir.File("file"), "");
    auto blocked = OpenFileSettings(s.dir.File("file") + "/settings.reg");
    EXPECT_FALSE(blocked->Batch([&] { blocked->SaveSetting(LM, Section, "c", "3"); }));
    EXPECT_EQ(blocked->GetSetting(LM, Section, "c", "none"), "none");
}

TEST(CRegSettings, SymbolicLinkToTheStoreSurvivesWrites) {
    TempStore s;
    const std::string target = s.dir.File("real.reg");
    WriteBytes(target, "Windows Registry Editor Version 5.00\n");
    ASSERT_EQ(::symlink(target.c_str(), s.path.c_str()), 0);
    s->SaveSetting(LM, Section, "a", "1");
    EXPECT_TRUE(std::filesystem::is_symlink(s.path));
    EXPECT_NE(ReadBytes(target).find("\"a\"=\"1\""), std::string::npos);
}

TEST(CRegSettings, AStoreThatIsNoRegularFileIsRefusedAtOnceWithTheReason) {
    struct Case {
        const char* kind;
        std::function<std::string(const testsupport::TempDir&)> make;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"fifo",
         [](const testsupport::TempDir& d) {
             const std::string p = d.File("settings.reg");
             EXPECT_EQ(::mkfifo(p.c_str(), 0600), 0);
             return p;
         },
         "Not a regular file"},
        {"folder",
         [](const testsupport::TempDir& d) {
             std::filesystem::create_directory(d.File("settings.reg"));
             return d.File("settings.reg");
         },
         ErrorDescription(EISDIR)},
        {"device", [](const testsupport::TempDir&) { return std::string("/dev/null"); },
         "Not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        testsupport::RecordingHost host;
        testsupport::TempDir dir;
        const std::string path = c.make(dir);
        ::alarm(20);  // a store that waits on its file ends the test here
        auto store = OpenFileSettings(path);
        EXPECT_EQ(store->GetSetting(LM, Section, "CopyBuffer", "65536"), "65536");
        store->SaveSetting(LM, Section, "Installed", "True");
        ::alarm(0);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(host.messages[0].text.find("(" + c.reason + ")"), std::string::npos)
            << host.messages[0].text;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode));  // left as it was
    }
}

TEST(CRegSettings, ADanglingSymbolicLinkIsFollowedAndItsTargetCreated) {
    TempStore s;
    std::filesystem::create_directory(s.dir.File("real"));
    ASSERT_EQ(::symlink("real/settings.reg", s.path.c_str()), 0);  // relative, dangling
    s->SaveSetting(LM, Section, "a", "1");
    EXPECT_TRUE(std::filesystem::is_symlink(s.path));
    EXPECT_NE(ReadBytes(s.dir.File("real/settings.reg")).find("\"a\"=\"1\""), std::string::npos);
    EXPECT_EQ(s.Reopen()->GetSetting(LM, Section, "a", ""), "1");
}
