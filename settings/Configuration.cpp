#include "settings/Configuration.h"

#include "patterns/NumericValue.h"
#include "patterns/Utils.h"

#include <cmath>
#include <limits>

namespace tessaly {

const std::vector<std::string> DefaultPatterns = {
    "{ARTIST} - {TITLE}",          "{ARTIST} - {ALBUM} - {TITLE}",          "{TRACK}. {TITLE}",
    "{TRACK}. {ARTIST} - {TITLE}", "{TRACK}. {ARTIST} - {ALBUM} - {TITLE}",
};

namespace {

constexpr RegistryRoot Root = RegistryRoot::LocalMachine;

const std::string Base = BaseKey;
const std::string FileByTagsKey = Base + "\\FileByTags";
const std::string TagsByFileKey = Base + "\\TagsByFile";
const std::string MacrosKey = Base + "\\Macros";
const std::string ViewKey = Base + "\\View";
const std::string FileListKey = Base + "\\View\\FileList";

template <typename Int>
std::optional<Int> RoundToWidth(std::string_view text) {
    double value = NumericValue(text);
    if (!std::isfinite(value)) return std::nullopt;
    double rounded = std::floor(value);
    double fraction = value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0)) rounded += 1;
    if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(rounded);
}

std::string Text(bool value) {
    return value ? "True" : "False";
}

class Reader {
public:
    explicit Reader(CRegSettings& store) : store_(store) {}

    std::string Get(const std::string& section, const std::string& name, const std::string& def) {
        return store_.GetSetting(Root, section, name, def);
    }
    // Only the exact text "True" is true.
    bool Bool(const std::string& section, const std::string& name, bool def) {
        return Get(section, name, Text(def)) == "True";
    }
    int16_t Int16(const std::string& section, const std::string& name, int16_t def) {
        return StoredInt16(Get(section, name, std::to_string(def))).value_or(def);
    }
    int32_t Int32(const std::string& section, const std::string& name, int32_t def) {
        return StoredInt32(Get(section, name, std::to_string(def))).value_or(def);
    }

private:
    CRegSettings& store_;
};

std::vector<std::string> LoadPatterns(CRegSettings& store, const std::string& key) {
    std::vector<std::string> patterns;
    // Read with a trailing "\" as the list keys always have been.
    for (auto& [name, text] : store.GetAllSettings(Root, key + "\\")) patterns.push_back(text);
    return patterns;
}

std::vector<MacroRow> LoadMacros(CRegSettings& store) {
    Reader read(store);
    std::vector<MacroRow> rows;
    for (const std::string& name : store.GetAllSubKeys(Root, MacrosKey)) {
        const std::string section = MacrosKey + "\\" + name;
        MacroRow row{read.Get(section, "Macro", ""), read.Int16(section, "KeyCode", 0),
                     read.Int16(section, "ShiftCode", 0)};
        if (row.KeyCode != 0 || row.ShiftCode != 0) rows.push_back(std::move(row));
    }
    return rows;
}

int16_t CheckedIndex(int16_t index, size_t count) {
    return index >= 0 && static_cast<size_t>(index) < count ? index : 0;
}

std::string ColumnName(int column, const char* what) {
    return "Column" + std::to_string(column) + " " + what;
}

}  // namespace

std::optional<int16_t> StoredInt16(std::string_view text) {
    return RoundToWidth<int16_t>(text);
}
std::optional<int32_t> StoredInt32(std::string_view text) {
    return RoundToWidth<int32_t>(text);
}

Configuration LoadConfiguration(CRegSettings& store) {
    Reader read(store);
    Configuration c;

    // "Installed" is the one boolean that is true unless it says "False".
    c.Installed = read.Get(Base, "Installed", "False") != "False";
    c.CopyBuffer = read.Int32(Base, "CopyBuffer", 65536);
    if (c.CopyBuffer < 2048 || c.CopyBuffer > 65536) c.CopyBuffer = 65536;
    c.Extensions = SplitList(read.Get(Base, "Extensions", ".mp3|.wma|.wmv"), "|");
    c.RefreshFiles = read.Bool(Base, "RefreshFiles", false);
    c.QuickLoad = read.Bool(Base, "QuickLoad", false);
    c.OriginalDateTime = read.Bool(Base, "OriginalDateTime", false);
    c.ExtendedInfo = read.Bool(Base, "ExtendedInfo", true);
    c.ConfirmExit = read.Bool(Base, "ConfirmExit", true);
    c.DebugLog = read.Bool(Base, "DebugLog", true);

    c.FileByTagsPatterns = LoadPatterns(store, FileByTagsKey);
    c.TagsByFilePatterns = LoadPatterns(store, TagsByFileKey);
    if (!c.Installed && c.FileByTagsPatterns.empty()) c.FileByTagsPatterns = DefaultPatterns;
    if (!c.Installed && c.TagsByFilePatterns.empty()) c.TagsByFilePatterns = DefaultPatterns;

    c.RenameSpace = read.Bool(Base, "RenameSpace", false);
    c.RenameSpaceChar = read.Get(Base, "RenameSpaceChar", "_").substr(0, 1);
    c.RenameTwoDigitTracks = read.Bool(Base, "RenameTwoDigitTracks", true);
    c.ReplaceWithSpaces = read.Bool(Base, "ReplaceWithSpaces", true);
    c.ReplaceWithSpacesChars = read.Get(Base, "ReplaceWithSpacesChars", "_");
    c.Toolbar = read.Bool(Base, "Toolbar", true);
    c.FileByTagsIndex =
        CheckedIndex(read.Int16(Base, "FileByTags Current", 0), c.FileByTagsPatterns.size());
    c.TagsByFileIndex =
        CheckedIndex(read.Int16(Base, "TagsByFile Current", 0), c.TagsByFilePatterns.size());

    c.MacroTable = LoadMacros(store);
    if (!c.Installed && c.MacroTable.empty()) c.MacroTable = DefaultMacros;

    c.Language = read.Get(Base, "Language", "eng");

    ViewSettings& v = c.View;
    v.WindowX = read.Int32(ViewKey, "Window X", -1);
    v.WindowY = read.Int32(ViewKey, "Window Y", -1);
    v.WindowH = read.Int32(ViewKey, "Window H", -1);
    v.WindowW = read.Int32(ViewKey, "Window W", -1);
    v.WindowState = read.Int32(ViewKey, "Window State", 0);
    v.ListView = read.Int32(FileListKey, "View", 3);
    v.SortKey = read.Int32(FileListKey, "SortKey", 0);
    v.SortOrder = read.Int32(FileListKey, "SortOrder", 0);
    for (int i = 0; i < 6; ++i) {
        v.ColumnPosition[i] = read.Int32(FileListKey, ColumnName(i + 1, "Position"), i + 1);
        v.ColumnWidth[i] = read.Int32(FileListKey, ColumnName(i + 1, "Width"), -1);
    }
    return c;
}

bool SavePatternsAndMacros(CRegSettings& store, const Configuration& config) {
    return store.Batch([&] {
        store.DeleteKey(Root, Base, "FileByTags");
        store.DeleteKey(Root, Base, "TagsByFile");
        store.DeleteKey(Root, Base, "Macros");
        for (size_t i = 0; i < config.FileByTagsPatterns.size(); ++i)
            store.SaveSetting(Root, FileByTagsKey, std::to_string(i), config.FileByTagsPatterns[i]);
        for (size_t i = 0; i < config.TagsByFilePatterns.size(); ++i)
            store.SaveSetting(Root, TagsByFileKey, std::to_string(i), config.TagsByFilePatterns[i]);
        for (const MacroRow& row : config.MacroTable) {
            const std::string name = MacroKeyName(row);
            if (name.empty()) continue;
            const std::string section = MacrosKey + "\\" + name;
            store.SaveSetting(Root, section, "Macro", row.Macro);
            store.SaveSetting(Root, section, "KeyCode", std::to_string(row.KeyCode));
            store.SaveSetting(Root, section, "ShiftCode", std::to_string(row.ShiftCode));
        }
    });
}

bool SaveConfiguration(CRegSettings& store, const Configuration& c, bool toolbarShown) {
    return store.Batch([&] {
        store.SaveSetting(Root, Base, "Installed", "True");
        store.SaveSetting(Root, Base, "CopyBuffer", std::to_string(c.CopyBuffer));
        store.SaveSetting(Root, Base, "Extensions", JoinList(c.Extensions, "|"));
        store.SaveSetting(Root, Base, "RefreshFiles", Text(c.RefreshFiles));
        store.SaveSetting(Root, Base, "OriginalDateTime", Text(c.OriginalDateTime));
        store.SaveSetting(Root, Base, "ExtendedInfo", Text(c.ExtendedInfo));
        store.SaveSetting(Root, Base, "QuickLoad", Text(c.QuickLoad));
        store.SaveSetting(Root, Base, "ConfirmExit", Text(c.ConfirmExit));
        store.SaveSetting(Root, Base, "DebugLog", Text(c.DebugLog));
        SavePatternsAndMacros(store, c);
        store.SaveSetting(Root, Base, "RenameSpace", Text(c.RenameSpace));
        store.SaveSetting(Root, Base, "RenameSpaceChar", c.RenameSpaceChar);
        store.SaveSetting(Root, Base, "RenameTwoDigitTracks", Text(c.RenameTwoDigitTracks));
        store.SaveSetting(Root, Base, "ReplaceWithSpaces", Text(c.ReplaceWithSpaces));
        store.SaveSetting(Root, Base, "ReplaceWithSpacesChars", c.ReplaceWithSpacesChars);
        store.SaveSetting(Root, Base, "Toolbar", Text(toolbarShown));
        store.SaveSetting(Root, Base, "Language", c.Language);
    });
}

void SavePatternIndexes(CRegSettings& store, const Configuration& config) {
    store.Batch([&] {
        store.SaveSetting(Root, Base, "FileByTags Current", std::to_string(config.FileByTagsIndex));
        store.SaveSetting(Root, Base, "TagsByFile Current", std::to_string(config.TagsByFileIndex));
    });
}

void SaveConfirmExit(CRegSettings& store, const Configuration& config) {
    store.SaveSetting(Root, Base, "ConfirmExit", Text(config.ConfirmExit));
}

void SaveToolbarSetting(CRegSettings& store, bool toolbarShown) {
    store.SaveSetting(Root, Base, "Toolbar", Text(toolbarShown));
}

std::string LoadLastFolder(CRegSettings& store) {
    return store.GetSetting(Root, Base, "LastFolder", "Desktop");
}

void SaveLastFolder(CRegSettings& store, const std::string& folder) {
    store.SaveSetting(Root, Base, "LastFolder", folder);
}

bool SaveViewSettings(CRegSettings& store, const ViewSettings& v) {
    return store.Batch([&] {
        store.SaveSetting(Root, Base, "Installed", "True");
        store.SaveSetting(Root, ViewKey, "Window X", std::to_string(v.WindowX));
        store.SaveSetting(Root, ViewKey, "Window Y", std::to_string(v.WindowY));
        store.SaveSetting(Root, ViewKey, "Window H", std::to_string(v.WindowH));
        store.SaveSetting(Root, ViewKey, "Window W", std::to_string(v.WindowW));
        store.SaveSetting(Root, ViewKey, "Window State", std::to_string(v.WindowState));
        store.SaveSetting(Root, FileListKey, "View", std::to_string(v.ListView));
        store.SaveSetting(Root, FileListKey, "SortKey", std::to_string(v.SortKey));
        store.SaveSetting(Root, FileListKey, "SortOrder", std::to_string(v.SortOrder));
        for (int i = 0; i < 6; ++i)
            store.SaveSetting(Root, FileListKey, ColumnName(i + 1, "Position"),
                              std::to_string(v.ColumnPosition[i]));
        for (int i = 0; i < 6; ++i)
            store.SaveSetting(Root, FileListKey, ColumnName(i + 1, "Width"),
                              std::to_string(v.ColumnWidth[i]));
    });
}

UpdateOptions UpdateOptionsOf(const Configuration& config) {
    UpdateOptions options;
    options.CopyBuffer = config.CopyBuffer;
    options.OriginalDateTime = config.OriginalDateTime;
    options.Language = config.Language;
    return options;
}

}  // namespace tessaly
