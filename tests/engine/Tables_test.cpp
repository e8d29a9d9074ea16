#include "engine/AudioFileData.h"
#include "engine/FieldNames.h"
#include "engine/HotKeys.h"
#include "engine/LanguageTable.h"

#include <gtest/gtest.h>

#include <set>

using namespace tessaly;

TEST(HotKeys, RowsGroupTheFunctionKeysByShiftState) {
    ASSERT_EQ(HotKeys.size(), 50u);
    EXPECT_EQ(HotKeys[0].Name, "");
    EXPECT_EQ(HotKeys[0].KeyCode, 0);
    const struct {
        int row;
        const char* name;
        int key;
        int shift;
    } rows[] = {{1, "F1", 112, 0},         {12, "F12", 123, 0},     {13, "SHIFT-F1", 112, 1},
                {24, "SHIFT-F12", 123, 1}, {25, "CTRL-F1", 112, 2}, {30, "CTRL-F6", 117, 2},
                {37, "ALT-F1", 112, 4},    {48, "ALT-F12", 123, 4}, {49, "ESC", 27, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        EXPECT_EQ(HotKeys[r.row].Name, r.name);
        EXPECT_EQ(HotKeys[r.row].KeyCode, r.key);
        EXPECT_EQ(HotKeys[r.row].ShiftCode, r.shift);
    }
}

TEST(HotKeys, LookupsCoverEveryRowButEsc) {
    EXPECT_EQ(HotKeyName(113, 4), "ALT-F2");
    EXPECT_EQ(HotKeyName(123, 1), "SHIFT-F12");
    EXPECT_EQ(HotKeyCode("CTRL-F5", 0), 116);
    EXPECT_EQ(HotKeyCode("CTRL-F5", 1), 2);
    EXPECT_EQ(HotKeyCode("CTRL-F5", 7), 2);
    EXPECT_EQ(HotKeyCode("CTRL-F5", -1), 116);
    // Esc is never named or found.
    EXPECT_EQ(HotKeyName(27, 0), "");
    EXPECT_EQ(HotKeyCode("ESC", 0), 0);
    // Unknown codes and names, and a name in other case.
    EXPECT_EQ(HotKeyName(124, 0), "");
    EXPECT_EQ(HotKeyName(112, 3), "");
    EXPECT_EQ(HotKeyCode("ctrl-f5", 0), 0);
    EXPECT_EQ(HotKeyCode("F13", 0), 0);
}

TEST(FieldNames, IndexedByFieldNumber) {
    ASSERT_EQ(FieldNames.size(), 13u);
    EXPECT_EQ(FieldNames[FieldNone], "");
    EXPECT_EQ(FieldNames[FieldArtist], "Artist");
    EXPECT_EQ(FieldNames[FieldComment], "Comments");
    EXPECT_EQ(FieldNames[FieldOriginalArtist], "Original Artist");
    EXPECT_EQ(FieldNames[FieldEncoder], "Encoder");
}

TEST(LanguageTable, RowsAndFirstMatchLookup) {
    ASSERT_EQ(LanguageTable.size(), 427u);
    EXPECT_EQ(LanguageTable.front().Code, "abk");
    EXPECT_EQ(LanguageTable.back().Code, "zun");
    EXPECT_EQ(LanguageTable.back().Name, "Zuni");

    // Codes listed twice with different names: the lookup finds the first.
    const struct {
        const char* code;
        const char* first;
        const char* second;
    } doubles[] = {{"ine", "Indo-European (Other)", "Interlingue"},
                   {"mak", "Macedonian", "Makasar"},
                   {"ssw", "Siswant", "Swazi"}};
    for (const auto& d : doubles) {
        SCOPED_TRACE(d.code);
        const int first = LanguageIndex(d.code);
        EXPECT_EQ(LanguageTable[first].Name, d.first);
        int second = -1;
        for (size_t i = first + 1; i < LanguageTable.size(); ++i)
            if (LanguageTable[i].Code == d.code) second = static_cast<int>(i);
        ASSERT_GT(second, first);
        EXPECT_EQ(LanguageTable[second].Name, d.second);
    }

    EXPECT_EQ(LanguageIndex("xxx"), 0);
    EXPECT_EQ(LanguageIndex(""), 0);
    EXPECT_EQ(LanguageIndex("ENG"), 0);  // exact match only
    EXPECT_EQ(LanguageTable[LanguageIndex("eng")].Name, "English");
    EXPECT_EQ(LanguageTable[LanguageIndex("vol")].Name, "Volap\xFCk");
    for (const char* code : {"fra", "fre"})
        EXPECT_EQ(LanguageTable[LanguageIndex(code)].Name, "French");
    for (const char* code : {"gai", "iri"})
        EXPECT_EQ(LanguageTable[LanguageIndex(code)].Name, "Irish");
    EXPECT_EQ(LanguageTable[LanguageIndex("mkh")].Name, "Mon-Kmer (Other)");
}

TEST(LanguageTable, CodesAreThreeLowerCaseLettersAndNamesFollowTheirOrder) {
    std::set<std::string> codes;
    for (const Language& l : LanguageTable) {
        EXPECT_EQ(l.Code.size(), 3u) << l.Code;
        for (char c : l.Code) EXPECT_TRUE(c >= 'a' && c <= 'z') << l.Code;
        EXPECT_FALSE(l.Name.empty()) << l.Code;
        codes.insert(l.Code);
    }
    EXPECT_EQ(codes.size(), 424u);  // three codes occur twice
    // The rows are in the order of their names (the list's one exception is
    // "Mon-Kmer" after "Mongolian").
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    for (size_t i = 1; i < LanguageTable.size(); ++i) {
        if (LanguageTable[i].Code == "mkh") continue;
        EXPECT_LE(lower(LanguageTable[i - 1].Name), lower(LanguageTable[i].Name))
            << LanguageTable[i - 1].Code << " / " << LanguageTable[i].Code;
    }
}
