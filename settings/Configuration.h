// The persistent configuration: every setting with its default, its stored
// text form and its load checks, and the operations that load and save it.
//
// Everything lives below HKEY_LOCAL_MACHINE\SOFTWARE\Brackwater\Tessaly:
// the values of the base key, "FileByTags" and "TagsByFile" (one value per
// pattern), "Macros" (one subkey per macro, named by its hot key), "View"
// (window geometry) and "View\FileList" (the file list's view state).
// Booleans are stored as "True"/"False", numbers as decimal text.
//
// In memory the configuration is one value, loaded once at start-up and
// passed to whoever needs it; only these functions touch the store.
#pragma once

#include "engine/UpdateOptions.h"
#include "settings/CRegSettings.h"
#include "settings/MacroTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

inline constexpr const char* BaseKey = "SOFTWARE\\Brackwater\\Tessaly";

// The five patterns a first run offers for renaming and for parsing names.
extern const std::vector<std::string> DefaultPatterns;

// The main window's geometry and the file list's state, in twips where they
// are lengths; -1 means "not stored, keep the designed value".
struct ViewSettings {
    int32_t WindowX = -1;
    int32_t WindowY = -1;
    int32_t WindowH = -1;
    int32_t WindowW = -1;
    int32_t WindowState = 0;  // 0 normal, 1 minimised, 2 maximised
    int32_t ListView = 3;     // 0 large icons, 1 small icons, 2 list, 3 details
    int32_t SortKey = 0;      // zero-based column index
    int32_t SortOrder = 0;    // 0 ascending, 1 descending
    std::array<int32_t, 6> ColumnPosition{1, 2, 3, 4, 5, 6};  // 1-based display positions
    std::array<int32_t, 6> ColumnWidth{-1, -1, -1, -1, -1, -1};

    bool operator==(const ViewSettings&) const = default;
};

struct Configuration {
    bool Installed = false;  // false until the configuration has once been saved
    int32_t CopyBuffer = 65536;
    std::vector<std::string> Extensions{".mp3", ".wma", ".wmv"};
    bool RefreshFiles = false;  // kept and written back; nothing depends on it
    bool QuickLoad = false;
    bool OriginalDateTime = false;
    bool ExtendedInfo = true;
    bool ConfirmExit = true;
    bool DebugLog = true;  // trace updates to the debug log in the user's state folder
    std::vector<std::string> FileByTagsPatterns;
    std::vector<std::string> TagsByFilePatterns;
    bool RenameSpace = false;
    std::string RenameSpaceChar = "_";
    bool RenameTwoDigitTracks = true;
    bool ReplaceWithSpaces = true;
    std::string ReplaceWithSpacesChars = "_";
    bool Toolbar = true;
    int16_t FileByTagsIndex = 0;
    int16_t TagsByFileIndex = 0;
    std::vector<MacroRow> MacroTable;
    std::string Language = "eng";
    ViewSettings View;

    bool operator==(const Configuration&) const = default;
};

// The number rule of stored values: NumericValue rounded to the nearest
// integer of the width, halves to even. nullopt when the number does not fit
// the width; the caller then uses the value's default.
std::optional<int16_t> StoredInt16(std::string_view text);
std::optional<int32_t> StoredInt32(std::string_view text);

// Reads every value with its default and checks; on a first run ("Installed"
// not yet saved) an empty pattern list gets the five defaults and an empty
// macro table the default macros.
Configuration LoadConfiguration(CRegSettings& store);

// Writes the whole configuration ("Installed" becomes "True"), with the
// patterns and macros. `toolbarShown` is the state of the toolbar as the
// window shows it, which is what gets stored.
bool SaveConfiguration(CRegSettings& store, const Configuration& config, bool toolbarShown);

// Rewrites "FileByTags", "TagsByFile" and "Macros" from memory: the old keys
// go first, so removed patterns and macros disappear. Macros whose hot key
// has no name are not stored; two rows with the same hot key share one
// subkey and the later one wins.
bool SavePatternsAndMacros(CRegSettings& store, const Configuration& config);

void SavePatternIndexes(CRegSettings& store, const Configuration& config);
void SaveConfirmExit(CRegSettings& store, const Configuration& config);
void SaveToolbarSetting(CRegSettings& store, bool toolbarShown);

// "LastFolder", default "Desktop" (the desktop folder).
std::string LoadLastFolder(CRegSettings& store);
void SaveLastFolder(CRegSettings& store, const std::string& folder);

// Writes "Installed" = "True" and the geometry and file-list values, as the
// window and list are at exit.
bool SaveViewSettings(CRegSettings& store, const ViewSettings& view);

// The settings a file update takes from the configuration.
UpdateOptions UpdateOptionsOf(const Configuration& config);

}  // namespace tessaly
