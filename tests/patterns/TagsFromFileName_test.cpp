#include "patterns/TagsFromFileName.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

using Assignments = std::vector<FieldAssignment>;

FieldAssignment Both(FieldNumber field, const char* value) {
    return {field, 0, value};
}
FieldAssignment V2(FieldNumber field, const char* value) {
    return {field, 2, value};
}

struct ParseCase {
    const char* pattern;
    const char* path;
    Assignments expected;
};

TEST(TagsFromFileName, CutsTheNameAtThePatternsLiterals) {
    const ParseCase cases[] = {
        {"{ARTIST} - {TITLE}",
         "/m/Abba - Waterloo.mp3",
         {Both(FieldArtist, "Abba"), Both(FieldTitle, "Waterloo")}},
        // A missing literal leaves the field before it empty.
        {"{ARTIST} - {TITLE}",
         "/m/Waterloo.mp3",
         {Both(FieldArtist, ""), Both(FieldTitle, "Waterloo")}},
        {"{ARTIST} - {TITLE}",
         "/m/A - B - C.mp3",
         {Both(FieldArtist, "A"), Both(FieldTitle, "B - C")}},
        // The same separator missing again ends the cutting: no title at all.
        {"{TRACK} - {ARTIST} - {TITLE}",
         "/m/01 - Abba.mp3",
         {Both(FieldTrack, "01"), Both(FieldArtist, "Abba")}},
        {"{TRACK}. {ARTIST} - {TITLE}",
         "/m/01 Abba - Waterloo.mp3",
         {Both(FieldTrack, ""), Both(FieldArtist, "01 Abba"), Both(FieldTitle, "Waterloo")}},
        {"{ARTIST}{TITLE}", "/m/Abba - Waterloo.mp3", {Both(FieldArtist, "Abba - Waterloo")}},
        {"{ARTIST} - {TITLE}",
         "/m/Mr. Big - Wild World.mp3",
         {Both(FieldArtist, "Mr. Big"), Both(FieldTitle, "Wild World")}},
        // Repeats of the literal right after the cut go with it.
        {"{ARTIST}-{TITLE}", "/m/A--B.mp3", {Both(FieldArtist, "A"), Both(FieldTitle, "B")}},
        {"{ARTIST}-{TITLE}", "/m/A-B-C-.mp3", {Both(FieldArtist, "A"), Both(FieldTitle, "B-C-")}},
        // A leading literal has no field before it.
        {"Track {TRACK} - {TITLE}",
         "/m/Track 01 - Song.mp3",
         {Both(FieldTrack, "01"), Both(FieldTitle, "Song")}},
        {"Track {TRACK} - {TITLE}",
         "/m/01 - Song.mp3",
         {Both(FieldTrack, "01"), Both(FieldTitle, "Song")}},
        // An unknown keyword uses up its slot.
        {"{FOO} - {TITLE}", "/m/x - y.mp3", {Both(FieldTitle, "y")}},
        {"{GENRE} - {COMPOSER} - {URL}",
         "/m/rock - Bach - u.mp3",
         {Both(FieldGenre, "rock"), V2(FieldComposer, "Bach"), V2(FieldURL, "u")}},
        {"{ARTIST} - {TITLE}",
         "noextension",
         {Both(FieldArtist, ""), Both(FieldTitle, "noextension")}},
        // Only the file's own name is read, not its folder's.
        {"{TITLE}", "/a.b/c", {Both(FieldTitle, "c")}},
        {"", "/m/x.mp3", {}},
        {"just text", "/m/x.mp3", {}},
    };
    PatternOptions options;
    for (const auto& c : cases)
        EXPECT_EQ(TagsFromFileName(c.path, c.pattern, options), c.expected)
            << c.pattern << " on " << c.path;
}

TEST(TagsFromFileName, ReplacesTheListedCharactersWithSpaces) {
    PatternOptions options;
    Assignments spaced = {Both(FieldArtist, "The Beatles"), Both(FieldTitle, "Let It Be")};
    EXPECT_EQ(TagsFromFileName("The_Beatles - Let_It_Be.mp3", "{ARTIST} - {TITLE}", options),
              spaced);
    options.ReplaceWithSpacesChars = "_+";
    EXPECT_EQ(TagsFromFileName("The+Beatles - Let_It_Be.mp3", "{ARTIST} - {TITLE}", options),
              spaced);
    options.ReplaceWithSpaces = false;
    Assignments kept = {Both(FieldArtist, "The_Beatles"), Both(FieldTitle, "Let_It_Be")};
    EXPECT_EQ(TagsFromFileName("The_Beatles - Let_It_Be.mp3", "{ARTIST} - {TITLE}", options), kept);
}

TEST(TagsFromFileName, DecodesUtf8NamesIntoTagText) {
    PatternOptions options;
    EXPECT_EQ(TagsFromFileName("/m/Caf\xC3\xA9 - 5 \xE2\x82\xAC.mp3", "{TITLE} - {ALBUM}", options),
              (Assignments{Both(FieldTitle, "Café"), Both(FieldAlbum, "5 €")}));
    // Not UTF-8: the bytes read as ISO-8859-1.
    EXPECT_EQ(TagsFromFileName("/m/\xE9t\xE9.mp3", "{TITLE}", options),
              Assignments{Both(FieldTitle, "été")});
}

TEST(CutNameIntoSlots, OneSlotPerLiteralAndOneForTheRest) {
    PatternOptions options;
    auto slots = [&](const char* name, const char* pattern) {
        return CutNameIntoSlots(name, TokenizePattern(pattern), options);
    };
    using Slots = std::vector<std::string>;
    EXPECT_EQ(slots("a - b - c", "{A} - {B} - {C}"), (Slots{"a", "b", "c"}));
    EXPECT_EQ(slots("a - b", "{A} - {B} - {C}"), (Slots{"a", "b"}));
    EXPECT_EQ(slots("a - b", "{A}. {B} - {C}"), (Slots{"", "a", "b"}));
    EXPECT_EQ(slots("  x  ", "{A}"), (Slots{"x"}));
    EXPECT_EQ(slots("", "{A} - {B}"), (Slots{"", ""}));
    EXPECT_EQ(slots("pre x", "pre {A}"), (Slots{"x"}));
}

}  // namespace
