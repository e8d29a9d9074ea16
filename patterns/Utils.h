// Small text and system helpers shared by the patterns, the macros, the
// settings and the windows. None of them keeps state; settings they depend on
// are passed in as plain values.
//
// Text is UTF-8; case mapping (UpperCase, LowerCase, EqualsIgnoringCase) is
// UnicodeCase's, the same on every machine whatever the locale.
#pragma once

#include "engine/AudioFileData.h"
#include "patterns/UnicodeCase.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Upper-cases the first character and every character after a space, "{",
// "(" or "["; lower-cases all others. No other word boundaries:
// "o'neil's band" -> "O'neil's Band", "AC/DC" -> "Ac/dc". Characters, not
// bytes: "пЕСНЯ о ДРУГЕ" -> "Песня О Друге".
std::string MixedCase(std::string_view text);

// A copy of `record` with MixedCase applied to the text fields a user writes
// in words: ID3v1 artist, title, album and comment; ID3v2 artist, title,
// album, comment, genre, composer, original artist, copyright and encoder.
// Track, year, the ID3v1 genre and the URL are left alone.
AudioFileData MixedCaseAll(const AudioFileData& record);

// Replaces each character that no file name may hold (the nine " | > * \ / :
// ? < of the most restrictive file systems, and NUL, which no system accepts)
// by `renameSpaceChar` when `renameSpace` is on, else by one space. The
// replacement is inserted whole and may be longer than one character or
// empty. Spaces themselves are left for the rename rules.
std::string LegalFileName(std::string_view name, bool renameSpace,
                          std::string_view renameSpaceChar);

// True when some non-empty entry of `extensions` equals the end of `path`,
// ignoring case (".MP3" matches ".mp3").
bool HasListedExtension(std::string_view path, const std::vector<std::string>& extensions);

// The non-empty pieces of `text` between occurrences of `separator`, in order.
// An empty separator gives the whole text as one piece.
std::vector<std::string> SplitList(std::string_view text, std::string_view separator);

// The items joined by `separator`, every run of separators collapsed into one
// and one trailing separator removed. A leading separator (an empty first
// item) stays: the stored list form has always kept it.
std::string JoinList(const std::vector<std::string>& items, std::string_view separator);

// Folder ids accepted by SpecialFolderPath (the shell's numbering).
inline constexpr int DesktopFolderId = 0;
inline constexpr int DesktopDirectoryFolderId = 16;

// The path of a special folder, without a trailing separator; "" for an
// unknown id or when the home folder cannot be determined. Off Windows the
// desktop is the DESKTOP entry of the user's user-dirs.dirs, else
// $HOME/Desktop.
std::string SpecialFolderPath(int folderId = DesktopDirectoryFolderId);

struct WindowsVersion {
    int16_t Major = 0;
    int16_t Minor = 0;
    int16_t Build = 0;
    int16_t Platform = 0;
};

// The id of a Windows release by platform, major and minor version: 1 for
// 95, 2 for 98, 3 for Me, 4 for NT 3.51, 5 for NT 4, 6 for 2000, 7 for XP;
// 0 for anything else.
int16_t WindowsVersionIdOf(int16_t platform, int16_t major, int16_t minor);

// The running Windows release's id, with its numbers in `version`. Off
// Windows: 0, and all numbers 0.
int16_t WindowsVersionId(WindowsVersion* version = nullptr);

// Waits `tenths` tenths of a second, letting the Host process pending window
// messages every 50 ms so the window stays responsive. Returns at once for
// tenths < 1.
void Pause(int tenths);

}  // namespace tessaly
