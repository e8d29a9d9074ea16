#include "settings/Configuration.h"

#include "SettingsTestSupport.h"
#include "settings/ConfigurationNames.h"

#include <gtest/gtest.h>

using namespace tessaly;
using namespace settingstest;

namespace {

const std::string Base = BaseKey;

void Set(CRegSettings& store, const std::string& name, const std::string& value,
         const std::string& section = Base) {
    store.SaveSetting(LM, section, name, value);
}

}  // namespace

TEST(StoredNumbers, RoundHalvesToEvenWithinTheWidth) {
    EXPECT_EQ(StoredInt16("2.5"), 2);
    EXPECT_EQ(StoredInt16("3.5"), 4);
    EXPECT_EQ(StoredInt16("-2.5"), -2);
    EXPECT_EQ(StoredInt16("-1.5"), -2);
    EXPECT_EQ(StoredInt16("2.4999"), 2);
    EXPECT_EQ(StoredInt16("32767.4"), 32767);
    EXPECT_EQ(StoredInt16("32767.5"), std::nullopt);  // rounds to 32768: does not fit
    EXPECT_EQ(StoredInt16("-32768.5"), -32768);
    EXPECT_EQ(StoredInt16("&HFFFF"), -1);
    EXPECT_EQ(StoredInt32("2147483647"), 2147483647);
    EXPECT_EQ(StoredInt32("2147483648"), std::nullopt);
    EXPECT_EQ(StoredInt32("1e999"), std::nullopt);
    EXPECT_EQ(StoredInt32("no number"), 0);
    EXPECT_EQ(StoredInt32(" 1 2 0 0 twips"), 1200);
}

TEST(Configuration, FirstRunGivesDefaultsPatternsAndMacros) {
    TempStore s;
    Configuration c = LoadConfiguration(*s);
    Configuration expected;
    expected.FileByTagsPatterns = DefaultPatterns;
    expected.TagsByFilePatterns = DefaultPatterns;
    expected.MacroTable = DefaultMacros;
    EXPECT_EQ(c, expected);
    EXPECT_EQ(c.FileByTagsPatterns.size(), 5u);
    EXPECT_EQ(c.MacroTable.size(), 6u);
    EXPECT_EQ(c.MacroTable.back(), (MacroRow{"{UNDO}", 27, 0}));
    EXPECT_EQ(LoadLastFolder(*s), "Desktop");
    EXPECT_FALSE(std::filesystem::exists(s.path));  // loading writes nothing
}

TEST(Configuration, BooleansAndInstalledFollowTheirOwnRules) {
    TempStore s;
    Set(*s, "ConfirmExit", "true");  // only the exact text "True" is true
    Set(*s, "ExtendedInfo", "TRUE");
    Set(*s, "OriginalDateTime", "True");
    Set(*s, "Toolbar", "");
    Set(*s, "Installed", "yes");  // anything but "False" is installed
    Configuration c = LoadConfiguration(*s);
    EXPECT_FALSE(c.ConfirmExit);
    EXPECT_FALSE(c.ExtendedInfo);
    EXPECT_TRUE(c.OriginalDateTime);
    EXPECT_FALSE(c.Toolbar);
    EXPECT_TRUE(c.Installed);
    // Installed: no seeding, empty lists stay empty.
    EXPECT_TRUE(c.FileByTagsPatterns.empty());
    EXPECT_TRUE(c.MacroTable.empty());

    Set(*s, "Installed", "False");
    EXPECT_FALSE(LoadConfiguration(*s).Installed);
    Set(*s, "Installed", "false");
    EXPECT_TRUE(LoadConfiguration(*s).Installed);
}

TEST(Configuration, NumbersAreCheckedAgainstTheirRanges) {
    TempStore s;
    struct Case {
        std::string stored;
        int32_t loaded;
    };
    for (const Case& c : std::vector<Case>{{"1024", 65536},
                                           {"2048", 2048},
                                           {"65536", 65536},
                                           {"65537", 65536},
                                           {"abc", 65536},
                                           {"4096.5", 4096},
                                           {"&H1000", 4096},
                                           {"99999999999", 65536}}) {
        Set(*s, "CopyBuffer", c.stored);
        EXPECT_EQ(LoadConfiguration(*s).CopyBuffer, c.loaded) << c.stored;
    }

    Set(*s, "RenameSpaceChar", "-+");
    Set(*s, "ReplaceWithSpacesChars", " _. ");
    Set(*s, "Language", "");
    Set(*s, "Extensions", "|.MP3||.ogg|");
    Configuration c = LoadConfiguration(*s);
    EXPECT_EQ(c.RenameSpaceChar, "-");
    EXPECT_EQ(c.ReplaceWithSpacesChars, " _. ");
    EXPECT_EQ(c.Language, "");  // not checked
    EXPECT_EQ(c.Extensions, (std::vector<std::string>{".MP3", ".ogg"}));

    Set(*s, "Window X", "-1", Base + "\\View");
    Set(*s, "Window Y", "1234.5", Base + "\\View");
    Set(*s, "Window W", "99999999999", Base + "\\View");  // out of range: default
    Set(*s, "Column3 Width", "1500", Base + "\\View\\FileList");
    c = LoadConfiguration(*s);
    EXPECT_EQ(c.View.WindowX, -1);
    EXPECT_EQ(c.View.WindowY, 1234);
    EXPECT_EQ(c.View.WindowW, -1);
    EXPECT_EQ(c.View.ColumnWidth[2], 1500);
    EXPECT_EQ(c.View.ColumnPosition, (std::array<int32_t, 6>{1, 2, 3, 4, 5, 6}));
}

TEST(Configuration, PatternIndexesAreCheckedAgainstTheirOwnList) {
    TempStore s;
    for (int i = 0; i < 3; ++i)
        Set(*s, std::to_string(i), "p" + std::to_string(i), Base + "\\FileByTags");
    Set(*s, "FileByTags Current", "7");
    Set(*s, "TagsByFile Current", "4");  // against the five seeded parsing patterns
    Configuration c = LoadConfiguration(*s);
    EXPECT_EQ(c.FileByTagsPatterns, (std::vector<std::string>{"p0", "p1", "p2"}));
    EXPECT_EQ(c.FileByTagsIndex, 0);
    EXPECT_EQ(c.TagsByFileIndex, 4);

    Set(*s, "FileByTags Current", "2");
    Set(*s, "TagsByFile Current", "-1");
    c = LoadConfiguration(*s);
    EXPECT_EQ(c.FileByTagsIndex, 2);
    EXPECT_EQ(c.TagsByFileIndex, 0);
    Set(*s, "FileByTags Current", "40000");  // beyond 16 bits
    EXPECT_EQ(LoadConfiguration(*s).FileByTagsIndex, 0);
}

TEST(Configuration, SaveAndLoadRoundTripEverything) {
    TempStore s;
    Configuration c;
    c.CopyBuffer = 4096;
    c.Extensions = {".mp3", ".MP2"};
    c.RefreshFiles = true;
    c.QuickLoad = true;
    c.OriginalDateTime = true;
    c.ExtendedInfo = false;
    c.ConfirmExit = false;
    c.FileByTagsPatterns = {"{TITLE}", "café Песня \"{ARTIST}\""};
    c.TagsByFilePatterns = {};
    c.RenameSpace = true;
    c.RenameSpaceChar = "+";
    c.RenameTwoDigitTracks = false;
    c.ReplaceWithSpaces = false;
    c.ReplaceWithSpacesChars = "_.";
    c.MacroTable = {{"{UPDATE}", 113, 4}, {"{UNDO}", 27, 0}, {"{V1TOV2}", 123, 1}};
    c.Language = "fra";
    ASSERT_TRUE(SaveConfiguration(*s, c, false));
    c.FileByTagsIndex = 1;
    SavePatternIndexes(*s, c);
    c.View = {10, 20, 3000, 4000, 2, 1, 3, 1, {6, 5, 4, 3, 2, 1}, {100, -1, 300, 400, 500, 600}};
    ASSERT_TRUE(SaveViewSettings(*s, c.View));

    Configuration back = LoadConfiguration(*s.Reopen());
    Configuration expected = c;
    expected.Installed = true;
    expected.Toolbar = false;  // what the window showed, not what memory held
    EXPECT_EQ(back, expected);
    UpdateOptions options = UpdateOptionsOf(back);
    EXPECT_EQ(options.CopyBuffer, 4096);
    EXPECT_TRUE(options.OriginalDateTime);
    EXPECT_EQ(options.Language, "fra");

    SaveConfirmExit(*s, Configuration{});
    SaveToolbarSetting(*s, true);
    SaveLastFolder(*s, "/music/new");
    back = LoadConfiguration(*s);
    EXPECT_TRUE(back.ConfirmExit);
    EXPECT_TRUE(back.Toolbar);
    EXPECT_EQ(LoadLastFolder(*s), "/music/new");
}

TEST(Configuration, PatternsAndMacrosAreRewrittenFromMemory) {
    TempStore s;
    // A dropped row (both codes 0) and a row under a foreign subkey name.
    Set(*s, "Macro", "{UNDO}", Base + "\\Macros\\F2");
    Set(*s, "KeyCode", "0", Base + "\\Macros\\F2");
    Set(*s, "ShiftCode", "0", Base + "\\Macros\\F2");
    Set(*s, "Macro", "{UPDATE}", Base + "\\Macros\\Whatever");
    Set(*s, "KeyCode", "118", Base + "\\Macros\\Whatever");
    Set(*s, "Installed", "True");
    Configuration c = LoadConfiguration(*s);
    EXPECT_EQ(c.MacroTable, (std::vector<MacroRow>{{"{UPDATE}", 118, 0}}));

    // Two rows on one key share a subkey (the later wins); a row on a key
    // with no name at all is not stored.
    c.MacroTable.push_back({"{MIXEDCASE}", 118, 0});
    c.MacroTable.push_back({"{V2TOV1}", 65, 0});
    c.FileByTagsPatterns = {"a", "b"};
    ASSERT_TRUE(SavePatternsAndMacros(*s, c));
    EXPECT_EQ(s->GetAllSubKeys(LM, Base + "\\Macros"), std::vector<std::string>{"F7"});
    EXPECT_EQ(LoadConfiguration(*s).MacroTable, (std::vector<MacroRow>{{"{MIXEDCASE}", 118, 0}}));
    EXPECT_EQ(s->GetAllSettings(LM, Base + "\\FileByTags"),
              (std::vector<SettingPair>{{"0", "a"}, {"1", "b"}}));

    c.FileByTagsPatterns = {"only"};
    c.MacroTable.clear();
    ASSERT_TRUE(SavePatternsAndMacros(*s, c));
    EXPECT_EQ(s->GetAllSettings(LM, Base + "\\FileByTags"),
              (std::vector<SettingPair>{{"0", "only"}}));
    // No key is written for an empty list.
    EXPECT_EQ(s->GetAllSubKeys(LM, Base), std::vector<std::string>{"FileByTags"});
}

TEST(Configuration, TheEscMacroSurvivesSavingAndLoading) {
    TempStore s;
    Configuration c = LoadConfiguration(*s);  // first run: six default macros
    ASSERT_TRUE(SaveConfiguration(*s, c, true));
    Configuration back = LoadConfiguration(*s);
    EXPECT_TRUE(back.Installed);
    EXPECT_EQ(back.MacroTable, DefaultMacros);
    EXPECT_EQ(MacroKeyName({"", 27, 0}), "ESC");
    EXPECT_EQ(MacroKeyName({"", 113, 4}), "ALT-F2");
    EXPECT_EQ(MacroKeyName({"", 65, 0}), "");
}

TEST(Configuration, LaterRunsKeepEmptyListsAndARemovedKey) {
    TempStore s;
    Configuration first = LoadConfiguration(*s);
    ASSERT_TRUE(SaveConfiguration(*s, first, true));
    // The user removes the rename patterns by hand after an orderly exit.
    EXPECT_EQ(s->DeleteKey(LM, Base, "FileByTags"), StoreSuccess);
    Configuration later = LoadConfiguration(*s);
    EXPECT_TRUE(later.FileByTagsPatterns.empty());
    EXPECT_EQ(later.TagsByFilePatterns, DefaultPatterns);
    EXPECT_EQ(later.FileByTagsIndex, 0);

    // Before the first save, each empty list is seeded on its own.
    TempStore fresh;
    Set(*fresh, "0", "mine", Base + "\\TagsByFile");
    Configuration c = LoadConfiguration(*fresh);
    EXPECT_EQ(c.FileByTagsPatterns, DefaultPatterns);
    EXPECT_EQ(c.TagsByFilePatterns, std::vector<std::string>{"mine"});
}

TEST(ConfigurationNames, KnownNamesOnlyExactlyAsStored) {
    auto at = [](const char* name) { return ConfigurationValueLocation(name); };
    ASSERT_TRUE(at("OriginalDateTime"));
    EXPECT_EQ(at("OriginalDateTime")->Section, Base);
    EXPECT_EQ(at("FileByTags Current")->Name, "FileByTags Current");
    EXPECT_EQ(at("View\\Window X")->Section, Base + "\\View");
    EXPECT_EQ(at("View\\FileList\\Column6 Width")->Section, Base + "\\View\\FileList");
    EXPECT_EQ(at("FileByTags\\0")->Section, Base + "\\FileByTags");
    EXPECT_EQ(at("Macros\\SHIFT-F2\\Macro")->Section, Base + "\\Macros\\SHIFT-F2");
    EXPECT_TRUE(at("Macros\\ESC\\KeyCode"));
    EXPECT_TRUE(at("LastFolder"));
    for (const char* bad :
         {"originaldatetime", "Nothing", "", "View\\Window Z", "View\\FileList\\Column7 Width",
          "FileByTags\\x", "FileByTags\\", "Macros\\F13\\Macro", "Macros\\F2\\Other",
          "Macros\\f2\\Macro", "\\Installed", "Other\\Installed"})
        EXPECT_FALSE(at(bad)) << bad;
}
