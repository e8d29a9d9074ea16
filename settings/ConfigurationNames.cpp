#include "settings/ConfigurationNames.h"

#include "engine/HotKeys.h"
#include "settings/Configuration.h"

#include <algorithm>

namespace tessaly {

namespace {

bool IsIndex(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsHotKeyName(std::string_view text) {
    return !text.empty() && std::any_of(HotKeys.begin(), HotKeys.end(),
                                        [&](const HotKey& key) { return key.Name == text; });
}

const std::vector<std::string>& ViewNames() {
    static const std::vector<std::string> names = {"Window X", "Window Y", "Window H", "Window W",
                                                   "Window State"};
    return names;
}

const std::vector<std::string>& FileListNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list = {"View", "SortKey", "SortOrder"};
        for (int i = 1; i <= 6; ++i) list.push_back("Column" + std::to_string(i) + " Position");
        for (int i = 1; i <= 6; ++i) list.push_back("Column" + std::to_string(i) + " Width");
        return list;
    }();
    return names;
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

const std::vector<std::string>& BaseValueNames() {
    static const std::vector<std::string> names = {
        "Installed",
        "CopyBuffer",
        "Extensions",
        "RefreshFiles",
        "QuickLoad",
        "OriginalDateTime",
        "ExtendedInfo",
        "ConfirmExit",
        "RenameSpace",
        "RenameSpaceChar",
        "RenameTwoDigitTracks",
        "ReplaceWithSpaces",
        "ReplaceWithSpacesChars",
        "Toolbar",
        "FileByTags Current",
        "TagsByFile Current",
        "Language",
        "DebugLog",
        "LastFolder",
    };
    return names;
}

std::optional<ValueLocation> ConfigurationValueLocation(std::string_view name) {
    const std::string base = BaseKey;
    size_t slash = name.rfind('\\');
    if (slash == std::string_view::npos) {
        if (!Contains(BaseValueNames(), name)) return std::nullopt;
        return ValueLocation{base, std::string(name)};
    }
    std::string_view path = name.substr(0, slash);
    std::string_view value = name.substr(slash + 1);
    const std::string section = base + "\\" + std::string(path);

    if (path == "View" && Contains(ViewNames(), value))
        return ValueLocation{section, std::string(value)};
    if (path == "View\\FileList" && Contains(FileListNames(), value))
        return ValueLocation{section, std::string(value)};
    if ((path == "FileByTags" || path == "TagsByFile") && IsIndex(value))
        return ValueLocation{section, std::string(value)};
    if (path.substr(0, 7) == "Macros\\" && IsHotKeyName(path.substr(7)) &&
        (value == "Macro" || value == "KeyCode" || value == "ShiftCode"))
        return ValueLocation{section, std::string(value)};
    return std::nullopt;
}

}  // namespace tessaly
