#include "engine/id3tag/Genres.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace tessaly;

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

size_t SortedPosition(const std::string& name) {
    auto it = std::find(SortedGenreNames.begin(), SortedGenreNames.end(), name);
    return static_cast<size_t>(it - SortedGenreNames.begin());
}

}  // namespace

TEST(Genres, NamesByNumber) {
    ASSERT_EQ(GenreNames.size(), 148u);
    EXPECT_EQ(GenreName(0), "Blues");
    EXPECT_EQ(GenreName(17), "Rock");
    EXPECT_EQ(GenreName(147), "Synthpop");
    for (int outside : {-1, 148, 255, 1000}) EXPECT_EQ(GenreName(outside), "") << outside;
}

TEST(Genres, IndexComparesWholeNamesIgnoringCase) {
    EXPECT_EQ(GenreIndex("hip-hop", false), 7);
    EXPECT_EQ(GenreIndex("hip-hop", true), static_cast<int16_t>(SortedPosition("Hip-Hop")));
    EXPECT_EQ(GenreIndex("ROCK", false), 17);
    EXPECT_EQ(GenreIndex("synthpop", false), 147);
    for (const char* absent : {"", "Rock ", "Roc", "Rock & Rol", "Polka!", "Unknown Genre"}) {
        EXPECT_EQ(GenreIndex(absent, false), -1) << absent;
        EXPECT_EQ(GenreIndex(absent, true), -1) << absent;
    }
    EXPECT_EQ(GenreIndex(std::string("Rock\0", 5), false), -1);
}

// Display order: by the bytes of the upper-case names, then the five places
// where a longer name (or a capital) goes first.
TEST(Genres, SortedNamesFollowTheDisplayOrder) {
    ASSERT_EQ(SortedGenreNames.size(), 148u);
    EXPECT_EQ(std::set<std::string>(SortedGenreNames.begin(), SortedGenreNames.end()),
              std::set<std::string>(GenreNames.begin(), GenreNames.end()));
    EXPECT_EQ(SortedGenreNames.front(), "A Cappella");
    EXPECT_EQ(SortedGenreNames[1], "Acid");
    EXPECT_EQ(SortedGenreNames[2], "Acid Jazz");
    EXPECT_EQ(SortedGenreNames[145], "Tribal");
    EXPECT_EQ(SortedGenreNames[146], "Trip-Hop");
    EXPECT_EQ(SortedGenreNames[147], "Vocal");

    const std::vector<std::vector<std::string>> runs = {
        {"Dance Hall", "Dance"},       {"Instrumental Pop", "Instrumental Rock", "Instrumental"},
        {"JPop", "Jazz", "Jazz+Funk"}, {"Psychedelic Rock", "Psychedelic"},
        {"Punk Rock", "Punk"},         {"Euro-House", "Euro-Techno", "Eurodance"},
    };
    std::set<std::string> moved;
    for (const auto& run : runs) {
        const size_t first = SortedPosition(run[0]);
        for (size_t i = 1; i < run.size(); ++i)
            EXPECT_EQ(SortedPosition(run[i]), first + i) << run[i];
        if (run[0] != "Euro-House") moved.insert(run[0]);
    }
    moved.insert("Instrumental Rock");

    std::vector<std::string> rest;
    for (const auto& name : SortedGenreNames)
        if (!moved.count(name)) rest.push_back(name);
    for (size_t i = 1; i < rest.size(); ++i)
        EXPECT_LT(Upper(rest[i - 1]), Upper(rest[i])) << rest[i - 1] << " / " << rest[i];
}
