#include "engine/id3tag/Genres.h"

#include <array>
#include <cctype>

namespace tessaly {

namespace {

// Plain arrays of literals are constant-initialised, so GenreName and
// GenreIndex work even when called from another file's static initialiser.
// clang-format off
constexpr std::array<const char*, 148> Unsorted = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "Alt. Rock", "Bass", "Soul", "Punk",
    "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave",
    "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy",
    "Cult", "Gangsta Rap", "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American",
    "Cabaret", "New Wave", "Psychedelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal",
    "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk",
    "Folk/Rock", "National Folk", "Swing", "Fast-Fusion", "Bebob", "Latin", "Revival", "Celtic",
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock",
    "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour",
    "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad",
    "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A Cappella",
    "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie",
    "BritPop", "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heavy Metal",
    "Black Metal", "Crossover", "Contemporary Christian", "Christian Rock", "Merengue", "Salsa",
    "Thrash Metal", "Anime", "JPop", "Synthpop",
};

constexpr std::array<const char*, 148> Sorted = {
    "A Cappella", "Acid", "Acid Jazz", "Acid Punk", "Acoustic", "Alt. Rock", "Alternative",
    "Ambient", "Anime", "Avantgarde", "Ballad", "Bass", "Beat", "Bebob", "Big Band", "Black Metal",
    "Bluegrass", "Blues", "Booty Bass", "BritPop", "Cabaret", "Celtic", "Chamber Music", "Chanson",
    "Chorus", "Christian Gangsta Rap", "Christian Rap", "Christian Rock", "Classic Rock",
    "Classical", "Club", "Club-House", "Comedy", "Contemporary Christian", "Country", "Crossover",
    "Cult", "Dance Hall", "Dance", "Darkwave", "Death Metal", "Disco", "Dream", "Drum & Bass",
    "Drum Solo", "Duet", "Easy Listening", "Electronic", "Ethnic", "Euro-House", "Euro-Techno",
    "Eurodance", "Fast-Fusion", "Folk", "Folk/Rock", "Folklore", "Freestyle", "Funk", "Fusion",
    "Game", "Gangsta Rap", "Goa", "Gospel", "Gothic", "Gothic Rock", "Grunge", "Hard Rock",
    "Hardcore", "Heavy Metal", "Hip-Hop", "House", "Humour", "Indie", "Industrial",
    "Instrumental Pop", "Instrumental Rock", "Instrumental", "JPop", "Jazz", "Jazz+Funk", "Jungle",
    "Latin", "Lo-Fi", "Meditative", "Merengue", "Metal", "Musical", "National Folk",
    "Native American", "Negerpunk", "New Age", "New Wave", "Noise", "Oldies", "Opera", "Other",
    "Polka", "Polsk Punk", "Pop", "Pop-Folk", "Pop/Funk", "Porn Groove", "Power Ballad", "Pranks",
    "Primus", "Progressive Rock", "Psychedelic Rock", "Psychedelic", "Punk Rock", "Punk", "R&B",
    "Rap", "Rave", "Reggae", "Retro", "Revival", "Rhythmic Soul", "Rock", "Rock & Roll", "Salsa",
    "Samba", "Satire", "Showtunes", "Ska", "Slow Jam", "Slow Rock", "Sonata", "Soul", "Sound Clip",
    "Soundtrack", "Southern Rock", "Space", "Speech", "Swing", "Symphonic Rock", "Symphony",
    "Synthpop", "Tango", "Techno", "Techno-Industrial", "Terror", "Thrash Metal", "Top 40",
    "Trailer", "Trance", "Tribal", "Trip-Hop", "Vocal",
};
// clang-format on

bool SameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0') return false;
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return b[i] == '\0';
}

}  // namespace

const std::vector<std::string> GenreNames(Unsorted.begin(), Unsorted.end());
const std::vector<std::string> SortedGenreNames(Sorted.begin(), Sorted.end());

std::string GenreName(int n) {
    if (n < 0 || n >= static_cast<int>(Unsorted.size())) return {};
    return Unsorted[static_cast<size_t>(n)];
}

int16_t GenreIndex(const std::string& name, bool sorted) {
    const auto& table = sorted ? Sorted : Unsorted;
    for (size_t i = 0; i < table.size(); ++i) {
        if (SameIgnoringCase(name, table[i])) return static_cast<int16_t>(i);
    }
    return -1;
}

}  // namespace tessaly
