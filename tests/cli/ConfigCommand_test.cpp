// tessaly-cli config and shell, end to end: the built program on temporary
// settings files and a temporary desktop data folder.
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

using testsupport::ReadBytes;
using testsupport::ShellQuote;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

using testsupport::CliResult;

// Runs tessaly-cli with `args` (already quoted for the shell), a private
// desktop data folder and the environment assignments in `env`.
CliResult Cli(const TempDir& dir, const std::string& args, const std::string& env = "") {
    return testsupport::RunCli(dir.Path().string(), args,
                               "XDG_DATA_HOME=" + ShellQuote(dir.File("share")) + " " + env);
}

std::string Settings(const TempDir& dir) {
    return "--settings " + ShellQuote(dir.File("s.reg"));
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(ConfigCommand, FirstRunShowsDefaultsAndWritesNothing) {
    TempDir dir;
    CliResult r = Cli(dir, Settings(dir) + " config");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "Installed=False\nCopyBuffer=65536\nExtensions=.mp3|.wma|.wmv\n"));
    EXPECT_TRUE(Has(r.out, "\nFileByTags Current=0\n"));
    EXPECT_TRUE(Has(r.out, "\nLastFolder=Desktop\n"));
    EXPECT_TRUE(Has(r.out, "\nView\\FileList\\Column6 Width=-1\n"));
    EXPECT_TRUE(Has(r.out, "\nFileByTags\\4={TRACK}. {ARTIST} - {ALBUM} - {TITLE}\n"));
    EXPECT_TRUE(Has(r.out, "\nMacros\\F6\\Macro={UPDATE}\n"));
    EXPECT_TRUE(Has(r.out, "\nMacros\\ESC\\KeyCode=27\n"));
    EXPECT_EQ(r.err, "");
    // No settings file, and none of the program's first-run registration.
    EXPECT_FALSE(std::filesystem::exists(dir.File("s.reg")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("share/applications")));
}

TEST(ConfigCommand, SetStoresByNameAndTheJsonShowsIt) {
    TempDir dir;
    CliResult set = Cli(dir, Settings(dir) +
                                 " config --set OriginalDateTime=True 'FileByTags Current=2' "
                                 "'View\\Window X=120' 'Language=fr\xC3\xA9' "
                                 "'Macros\\F2\\Macro={UNDO}' 'Macros\\F2\\KeyCode=113' "
                                 "'FileByTags\\0=caf\xC3\xA9 {TITLE}'");
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.out, "");
    const std::string file = ReadBytes(dir.File("s.reg"));
    EXPECT_TRUE(Has(file, "\"OriginalDateTime\"=\"True\"\n\"FileByTags Current\"=\"2\"\n"));
    EXPECT_TRUE(Has(file, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brackwater\\Tessaly\\Macros\\F2]\n"));

    // --settings may also follow the command's name.
    CliResult show = Cli(dir, "config --json " + Settings(dir));
    ASSERT_EQ(show.status, 0) << show.err;
    auto json = nlohmann::json::parse(show.out);
    EXPECT_EQ(json["OriginalDateTime"], true);
    EXPECT_EQ(json["Installed"], false);
    EXPECT_EQ(json["Language"], "fr\xC3\xA9");  // stored as one byte, shown as UTF-8
    EXPECT_EQ(json["View"]["Window X"], 120);
    EXPECT_EQ(json["View"]["FileList"]["View"], 3);
    EXPECT_EQ(json["LastFolder"], "Desktop");
    // Only the rename list exists now: the parsing list is still seeded.
    EXPECT_EQ(json["FileByTags"], nlohmann::json::array({"caf\xC3\xA9 {TITLE}"}));
    EXPECT_EQ(json["TagsByFile"].size(), 5u);
    EXPECT_EQ(json["FileByTags Current"], 0);  // 2 is past the one pattern
    ASSERT_EQ(json["Macros"].size(), 1u);
    EXPECT_EQ(json["Macros"][0]["HotKey"], "F2");
    EXPECT_EQ(json["Macros"][0]["Macro"], "{UNDO}");

    // The environment names the store when --settings does not.
    CliResult viaEnv = Cli(dir, "config", "TESSALY_SETTINGS=" + ShellQuote(dir.File("s.reg")));
    EXPECT_TRUE(Has(viaEnv.out, "\nOriginalDateTime=True\n"));
}

TEST(ConfigCommand, SetRefusesUnknownNamesAndWritesNothing) {
    TempDir dir;
    for (const std::string& args :
         {std::string("config --set OriginalDateTime=True Bogus=1"),
          std::string("config --set originaldatetime=True"),
          std::string("config --set 'View\\Window Z=1'"), std::string("config --set NoEquals")}) {
        CliResult r = Cli(dir, Settings(dir) + " " + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err, "") << args;
        EXPECT_FALSE(std::filesystem::exists(dir.File("s.reg"))) << args;
    }
    EXPECT_EQ(Cli(dir, Settings(dir) + " config --json --set a=1").status, 2);
}

TEST(ConfigCommand, UnreadableSettingsFileIsReportedAndMovedAsideOnlyOnWrite) {
    TempDir dir;
    WriteBytes(dir.File("s.reg"), "not a settings file\n");
    CliResult show = Cli(dir, Settings(dir) + " config");
    EXPECT_EQ(show.status, 0);
    EXPECT_TRUE(Has(show.out, "CopyBuffer=65536\n"));
    EXPECT_TRUE(Has(show.err, "could not be read")) << show.err;
    EXPECT_EQ(ReadBytes(dir.File("s.reg")), "not a settings file\n");

    CliResult set = Cli(dir, Settings(dir) + " config --set CopyBuffer=4096");
    EXPECT_EQ(set.status, 0) << set.err;
    bool movedAside = false;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        movedAside |= entry.path().filename().string().rfind("s.reg.bad-", 0) == 0;
    EXPECT_TRUE(movedAside);
    EXPECT_TRUE(Has(Cli(dir, Settings(dir) + " config").out, "CopyBuffer=4096\n"));
}

TEST(ShellCommand, EnableStateDisableUnderATemporaryDataHome) {
    if (!std::filesystem::exists("/usr/share/mime/globs2"))
        GTEST_SKIP() << "shared-mime-info is not installed";
    TempDir dir;
    const std::string entry = dir.File("share/applications/tessaly-edit.desktop");

    CliResult state = Cli(dir, Settings(dir) + " shell");
    EXPECT_EQ(state.status, 0);
    EXPECT_EQ(state.out, "0\n");

    EXPECT_EQ(Cli(dir, Settings(dir) + " shell --enable").status, 0);
    EXPECT_EQ(Cli(dir, Settings(dir) + " shell --state").out, "1\n");
    // The entry starts the GUI program beside the command line, by its full path.
    EXPECT_TRUE(Has(ReadBytes(entry), "\nExec=\"" + testsupport::BinaryDir() + "/tessaly\" %f\n"));

    EXPECT_EQ(Cli(dir, Settings(dir) + " shell --disable").status, 0);
    EXPECT_EQ(Cli(dir, Settings(dir) + " shell").out, "0\n");
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_TRUE(std::filesystem::exists(dir.File("share/applications/tessaly-url.desktop")));
    EXPECT_EQ(Cli(dir, Settings(dir) + " shell --enable --disable").status, 2);
}
