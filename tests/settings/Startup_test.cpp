#include "settings/Startup.h"

#include "SettingsTestSupport.h"
#include "settings/CommandLine.h"
#include "settings/ShellIntegration.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaly;
using namespace settingstest;
using testsupport::WriteBytes;

TEST(CommandLinePath, TheFormsTheDesktopPasses) {
    testsupport::TempDir dir;
    const std::string spaced = dir.File("a b.mp3");
    const std::string plain = dir.File("a.mp3");
    const std::string escaped = dir.File("x%20y.mp3");
    WriteBytes(spaced, "");
    WriteBytes(plain, "");

    EXPECT_EQ(CommandLinePath(""), std::nullopt);
    EXPECT_EQ(CommandLinePath("\"" + spaced + "\""), spaced);  // quoted path with a space
    EXPECT_EQ(CommandLinePath(spaced), spaced);
    EXPECT_EQ(CommandLinePath("tessal://" + plain), plain);  // tessal:///tmp/...
    EXPECT_EQ(CommandLinePath("\"tessal://" + plain + "\""), plain);
    EXPECT_EQ(CommandLinePath("TESSAL://" + plain), std::nullopt);  // the prefix is exact
    EXPECT_EQ(CommandLinePath("\"" + plain), std::nullopt);         // a lone leading quote stays
    EXPECT_EQ(CommandLinePath("\""), std::nullopt);
    EXPECT_EQ(CommandLinePath(dir.File("x y.mp3")), std::nullopt);
    // Percent escapes are not decoded.
    WriteBytes(dir.File("x y.mp3"), "");
    EXPECT_EQ(CommandLinePath("tessal://" + escaped), std::nullopt);
    // A folder without a final separator is returned as it is.
    EXPECT_EQ(CommandLinePath(dir.Path().string()), dir.Path().string());
}

TEST(CommandLinePath, BackslashesBecomeSeparatorsOnlyWhenThePathNeedsIt) {
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir.File("sub"));
    WriteBytes(dir.File("sub/a.mp3"), "");
    std::string windowsStyle = dir.Path().string() + "\\sub\\a.mp3";
    EXPECT_EQ(CommandLinePath("tessal://" + windowsStyle), dir.File("sub/a.mp3"));

    // Here "\" is an ordinary character of names: such a file opens as named.
    const std::string literal = dir.File("back\\slash.mp3");
    WriteBytes(literal, "");
    EXPECT_EQ(CommandLinePath("\"" + literal + "\""), literal);
}

TEST(Startup, SettingsPathOrder) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv settings("TESSALY_SETTINGS", std::nullopt);
        ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(DefaultSettingsPath(), "/home/someone/.config/tessaly/settings.reg");
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");  // ignored: not absolute
        EXPECT_EQ(DefaultSettingsPath(), "/home/someone/.config/tessaly/settings.reg");
    }
    {
        ScopedEnv settings("TESSALY_SETTINGS", std::nullopt);
        ScopedEnv config("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(DefaultSettingsPath(), "/xdg/tessaly/settings.reg");
        EXPECT_EQ(SettingsPath(""), "/xdg/tessaly/settings.reg");
        ScopedEnv explicitPath("TESSALY_SETTINGS", "/etc/t.reg");
        EXPECT_EQ(SettingsPath(""), "/etc/t.reg");
        EXPECT_EQ(SettingsPath("/given.reg"), "/given.reg");
    }
}

TEST(Startup, FirstRunRegistersTheDesktopEntriesLaterRunsDoNot) {
    testsupport::TempDir dir;
    ScopedEnv dataHome("XDG_DATA_HOME", dir.File("share"));
    const std::string store = dir.File("cfg/settings.reg");
    const std::string entry = dir.File("share/applications/") + ShellVerbEntryFile;
    const std::string handler = dir.File("share/applications/") + UrlHandlerEntryFile;

    Configuration c = StartProgram(store);
    ASSERT_TRUE(Settings);
    EXPECT_FALSE(c.Installed);
    EXPECT_EQ(c.MacroTable, DefaultMacros);
    EXPECT_TRUE(std::filesystem::exists(handler));
    EXPECT_FALSE(std::filesystem::exists(store));  // start-up alone writes no settings

    ASSERT_TRUE(SaveConfiguration(*Settings, c, true));
    std::filesystem::remove(entry);
    std::filesystem::remove(handler);
    c = StartProgram(store);
    EXPECT_TRUE(c.Installed);
    EXPECT_FALSE(std::filesystem::exists(handler));
    Settings.reset();
}
