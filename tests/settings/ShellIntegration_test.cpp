#include "settings/ShellIntegration.h"

#include "SettingsTestSupport.h"
#include "settings/DesktopEntry.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaly;
using namespace settingstest;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

const std::vector<std::string> DefaultExtensions{".mp3", ".wma", ".wmv"};

struct ShellFixture {
    testsupport::TempDir dir;
    ShellEnvironment env;

    ShellFixture() {
        env.ApplicationsFolder = dir.File("data/applications");
        env.MimeGlobFiles = {dir.File("missing/globs2"), dir.File("globs2")};
        env.Program = "/opt/tag tools/tessaly";
        WriteBytes(dir.File("globs2"),
                   "# glob table\n"
                   "50:audio/mpeg:*.mp3\n"
                   "50:audio/mpeg:*.mpga\n"
                   "50:audio/x-ms-wma:*.wma\n"
                   "50:video/x-ms-wmv:*.wmv\n"
                   "50:text/x-exact:*.Cs:cs\n");
    }
    std::string EntryPath() const { return env.ApplicationsFolder + "/" + ShellVerbEntryFile; }
    std::string HandlerPath() const { return env.ApplicationsFolder + "/" + UrlHandlerEntryFile; }
};

}  // namespace

TEST(ShellIntegration, MimeTypesComeFromTheGlobTables) {
    ShellFixture f;
    EXPECT_EQ(MimeTypeOfExtension(".mp3", f.env.MimeGlobFiles), "audio/mpeg");
    EXPECT_EQ(MimeTypeOfExtension(".MP3", f.env.MimeGlobFiles), "audio/mpeg");
    EXPECT_EQ(MimeTypeOfExtension(".Cs", f.env.MimeGlobFiles), "text/x-exact");
    EXPECT_EQ(MimeTypeOfExtension(".cs", f.env.MimeGlobFiles), "");
    EXPECT_EQ(MimeTypeOfExtension(".xyz", f.env.MimeGlobFiles), "");
    EXPECT_EQ(MimeTypeOfExtension("", f.env.MimeGlobFiles), "");
    EXPECT_EQ(MimeTypeOfExtension("mp3", f.env.MimeGlobFiles), "");
}

TEST(ShellIntegration, RegisterThenUnregisterWithTheDesktopEntries) {
    ShellFixture f;
    EXPECT_EQ(ShellVerbState(DefaultExtensions, f.env), 0);
    ASSERT_TRUE(RegisterShellVerb(true, DefaultExtensions, f.env));
    EXPECT_EQ(ShellVerbState(DefaultExtensions, f.env), 1);

    auto entry = ReadDesktopEntry(f.EntryPath());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Name, "Edit with Tessaly");
    EXPECT_EQ(entry->Exec, "\"/opt/tag tools/tessaly\" %f");
    EXPECT_EQ(entry->MimeTypes,
              (std::vector<std::string>{"audio/mpeg", "audio/x-ms-wma", "video/x-ms-wmv"}));
    auto handler = ReadDesktopEntry(f.HandlerPath());
    ASSERT_TRUE(handler);
    EXPECT_EQ(handler->Name, "URL: Tessaly");
    EXPECT_EQ(handler->Exec, "\"/opt/tag tools/tessaly\" %u");
    EXPECT_EQ(handler->MimeTypes, std::vector<std::string>{"x-scheme-handler/tessal"});

    ASSERT_TRUE(RegisterShellVerb(false, DefaultExtensions, f.env));
    EXPECT_EQ(ShellVerbState(DefaultExtensions, f.env), 0);
    EXPECT_FALSE(std::filesystem::exists(f.EntryPath()));
    EXPECT_TRUE(std::filesystem::exists(f.HandlerPath()));            // the URL handler stays
    EXPECT_TRUE(RegisterShellVerb(false, DefaultExtensions, f.env));  // nothing to remove
}

TEST(ShellIntegration, StateCountsTypedExtensionsWithExactlyThisCommand) {
    ShellFixture f;
    // Only .mp3 registered: some of the list carries the entry.
    ASSERT_TRUE(RegisterShellVerb(true, {".mp3"}, f.env));
    EXPECT_EQ(ShellVerbState(DefaultExtensions, f.env), 2);
    // Two extensions sharing one type: one type in the entry, both count.
    EXPECT_EQ(ShellVerbState({".mp3", ".mpga"}, f.env), 1);
    // An extension without a type can never carry it and does not count.
    EXPECT_EQ(ShellVerbState({".mp3", ".xyz"}, f.env), 1);
    EXPECT_EQ(ShellVerbState({".xyz"}, f.env), 0);

    // Enabling more types keeps those already there.
    ASSERT_TRUE(RegisterShellVerb(true, {".wma"}, f.env));
    EXPECT_EQ(ReadDesktopEntry(f.EntryPath())->MimeTypes,
              (std::vector<std::string>{"audio/mpeg", "audio/x-ms-wma"}));
    // Disabling removes only the listed types.
    ASSERT_TRUE(RegisterShellVerb(false, {".mp3"}, f.env));
    EXPECT_EQ(ReadDesktopEntry(f.EntryPath())->MimeTypes,
              std::vector<std::string>{"audio/x-ms-wma"});

    // A copy of the program elsewhere does not count the entry as its own,
    // and registering it replaces the old command.
    ShellEnvironment moved = f.env;
    moved.Program = "/elsewhere/tessaly";
    EXPECT_EQ(ShellVerbState({".wma"}, moved), 0);
    ASSERT_TRUE(RegisterShellVerb(true, {".mp3"}, moved));
    EXPECT_EQ(ShellVerbState({".mp3"}, moved), 1);
    EXPECT_EQ(ShellVerbState({".wma"}, moved), 0);
    EXPECT_EQ(ShellVerbState({".mp3"}, f.env), 0);
}

TEST(ShellIntegration, CommandQuotingSurvivesAwkwardProgramPaths) {
    ShellFixture f;
    f.env.Program = "/tmp/we$ird \"dir\" 100%\\`x`/tessaly";
    EXPECT_EQ(ShellCommand(f.env.Program, "%f"),
              "\"/tmp/we\\$ird \\\"dir\\\" 100%%\\\\\\`x\\`/tessaly\" %f");
    ASSERT_TRUE(RegisterShellVerb(true, DefaultExtensions, f.env));
    EXPECT_EQ(ShellVerbState(DefaultExtensions, f.env), 1);
    // In the file, the backslashes of the command are escaped once more.
    EXPECT_NE(ReadBytes(f.EntryPath()).find("Exec=\"/tmp/we\\\\$ird"), std::string::npos);
}

TEST(ShellIntegration, SystemTablesUnderATemporaryDataHome) {
    if (!std::filesystem::exists("/usr/share/mime/globs2"))
        GTEST_SKIP() << "shared-mime-info is not installed";
    testsupport::TempDir dir;
    ScopedEnv dataHome("XDG_DATA_HOME", dir.File("share"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", std::nullopt);

    ShellEnvironment env = CurrentShellEnvironment();
    EXPECT_EQ(env.ApplicationsFolder, dir.File("share") + "/applications");
    EXPECT_EQ(env.Program, testsupport::BinaryDir() + "/tessaly");
    EXPECT_EQ(MimeTypeOfExtension(".mp3", env.MimeGlobFiles), "audio/mpeg");

    ASSERT_TRUE(RegisterShellVerb(true, DefaultExtensions));
    EXPECT_EQ(ShellVerbState(DefaultExtensions), 1);
    ASSERT_TRUE(RegisterShellVerb(false, DefaultExtensions));
    EXPECT_EQ(ShellVerbState(DefaultExtensions), 0);
}
