// The ID3v1 genre table: genre numbers 0-147 and the order in which the
// editor's genre lists show the same names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

// Index = ID3v1 genre number.
extern const std::vector<std::string> GenreNames;
// The same names in display order: case-insensitive by the bytes of the
// upper-case names, except that "Dance Hall", "Instrumental Pop",
// "Instrumental Rock", "JPop", "Psychedelic Rock" and "Punk Rock" stand before
// the shorter names they are listed with.
extern const std::vector<std::string> SortedGenreNames;

// GenreNames[n] for 0 <= n <= 147, else "".
std::string GenreName(int n);

// Position of `name` in SortedGenreNames (when `sorted`) or GenreNames,
// comparing whole names case-insensitively; -1 when absent.
int16_t GenreIndex(const std::string& name, bool sorted);

}  // namespace tessaly
