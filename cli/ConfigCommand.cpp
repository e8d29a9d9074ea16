// tessaly-cli config: shows the stored configuration as the program loads it,
// or changes values of it by their stored names.
#include "CliSettings.h"
#include "Commands.h"

#include "engine/Utf8Text.h"
#include "patterns/Utils.h"
#include "settings/ConfigurationNames.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace tessaly::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string Bool(bool value) {
    return value ? "True" : "False";
}

// The name a macro row is stored under, or a stand-in for a row whose key
// has none (such a row is not stored).
std::string MacroName(const MacroRow& row) {
    std::string name = MacroKeyName(row);
    return name.empty() ? "(none)" : name;
}

// Every value in load order, by the names `config --set` accepts.
std::vector<std::pair<std::string, std::string>> Lines(const Configuration& c,
                                                       const std::string& lastFolder) {
    std::vector<std::pair<std::string, std::string>> lines = {
        {"Installed", Bool(c.Installed)},
        {"CopyBuffer", std::to_string(c.CopyBuffer)},
        {"Extensions", JoinList(c.Extensions, "|")},
        {"RefreshFiles", Bool(c.RefreshFiles)},
        {"QuickLoad", Bool(c.QuickLoad)},
        {"OriginalDateTime", Bool(c.OriginalDateTime)},
        {"ExtendedInfo", Bool(c.ExtendedInfo)},
        {"ConfirmExit", Bool(c.ConfirmExit)},
        {"RenameSpace", Bool(c.RenameSpace)},
        {"RenameSpaceChar", c.RenameSpaceChar},
        {"RenameTwoDigitTracks", Bool(c.RenameTwoDigitTracks)},
        {"ReplaceWithSpaces", Bool(c.ReplaceWithSpaces)},
        {"ReplaceWithSpacesChars", c.ReplaceWithSpacesChars},
        {"Toolbar", Bool(c.Toolbar)},
        {"FileByTags Current", std::to_string(c.FileByTagsIndex)},
        {"TagsByFile Current", std::to_string(c.TagsByFileIndex)},
        {"Language", c.Language},
        {"DebugLog", Bool(c.DebugLog)},
        {"LastFolder", lastFolder},
    };
    const ViewSettings& v = c.View;
    for (auto [name, value] : {std::pair<const char*, int32_t>{"Window X", v.WindowX},
                               {"Window Y", v.WindowY},
                               {"Window H", v.WindowH},
                               {"Window W", v.WindowW},
                               {"Window State", v.WindowState}})
        lines.emplace_back(std::string("View\\") + name, std::to_string(value));
    lines.emplace_back("View\\FileList\\View", std::to_string(v.ListView));
    lines.emplace_back("View\\FileList\\SortKey", std::to_string(v.SortKey));
    lines.emplace_back("View\\FileList\\SortOrder", std::to_string(v.SortOrder));
    for (int i = 0; i < 6; ++i)
        lines.emplace_back("View\\FileList\\Column" + std::to_string(i + 1) + " Position",
                           std::to_string(v.ColumnPosition[i]));
    for (int i = 0; i < 6; ++i)
        lines.emplace_back("View\\FileList\\Column" + std::to_string(i + 1) + " Width",
                           std::to_string(v.ColumnWidth[i]));
    for (size_t i = 0; i < c.FileByTagsPatterns.size(); ++i)
        lines.emplace_back("FileByTags\\" + std::to_string(i), c.FileByTagsPatterns[i]);
    for (size_t i = 0; i < c.TagsByFilePatterns.size(); ++i)
        lines.emplace_back("TagsByFile\\" + std::to_string(i), c.TagsByFilePatterns[i]);
    for (const MacroRow& row : c.MacroTable) {
        const std::string key = "Macros\\" + MacroName(row) + "\\";
        lines.emplace_back(key + "Macro", row.Macro);
        lines.emplace_back(key + "KeyCode", std::to_string(row.KeyCode));
        lines.emplace_back(key + "ShiftCode", std::to_string(row.ShiftCode));
    }
    return lines;
}

Json ToJson(const Configuration& c, const std::string& lastFolder) {
    auto text = [](const std::string& value) { return FileNameToTagText(value); };
    auto texts = [&](const std::vector<std::string>& list) {
        Json array = Json::array();
        for (const std::string& item : list) array.push_back(text(item));
        return array;
    };
    Json macros = Json::array();
    for (const MacroRow& row : c.MacroTable)
        macros.push_back({{"HotKey", MacroKeyName(row)},
                          {"KeyCode", row.KeyCode},
                          {"ShiftCode", row.ShiftCode},
                          {"Macro", text(row.Macro)}});
    const ViewSettings& v = c.View;
    Json fileList = {{"View", v.ListView}, {"SortKey", v.SortKey}, {"SortOrder", v.SortOrder}};
    for (int i = 0; i < 6; ++i)
        fileList["Column" + std::to_string(i + 1) + " Position"] = v.ColumnPosition[i];
    for (int i = 0; i < 6; ++i)
        fileList["Column" + std::to_string(i + 1) + " Width"] = v.ColumnWidth[i];

    return {
        {"Installed", c.Installed},
        {"CopyBuffer", c.CopyBuffer},
        {"Extensions", texts(c.Extensions)},
        {"RefreshFiles", c.RefreshFiles},
        {"QuickLoad", c.QuickLoad},
        {"OriginalDateTime", c.OriginalDateTime},
        {"ExtendedInfo", c.ExtendedInfo},
        {"ConfirmExit", c.ConfirmExit},
        {"RenameSpace", c.RenameSpace},
        {"RenameSpaceChar", text(c.RenameSpaceChar)},
        {"RenameTwoDigitTracks", c.RenameTwoDigitTracks},
        {"ReplaceWithSpaces", c.ReplaceWithSpaces},
        {"ReplaceWithSpacesChars", text(c.ReplaceWithSpacesChars)},
        {"Toolbar", c.Toolbar},
        {"FileByTags Current", c.FileByTagsIndex},
        {"TagsByFile Current", c.TagsByFileIndex},
        {"Language", text(c.Language)},
        {"DebugLog", c.DebugLog},
        {"LastFolder", text(lastFolder)},
        {"FileByTags", texts(c.FileByTagsPatterns)},
        {"TagsByFile", texts(c.TagsByFilePatterns)},
        {"Macros", macros},
        {"View",
         {{"Window X", v.WindowX},
          {"Window Y", v.WindowY},
          {"Window H", v.WindowH},
          {"Window W", v.WindowW},
          {"Window State", v.WindowState},
          {"FileList", fileList}}},
    };
}

int Show(bool json) {
    auto store = OpenCliSettings();
    const Configuration config = LoadConfiguration(*store);
    const std::string lastFolder = LoadLastFolder(*store);
    if (json) {
        std::cout << ToJson(config, lastFolder).dump(2) << "\n";
    } else {
        for (const auto& [name, value] : Lines(config, lastFolder))
            std::cout << name << "=" << value << "\n";
    }
    return ExitOk;
}

int Set(const std::vector<std::string>& assignments) {
    struct Write {
        ValueLocation at;
        std::string value;
    };
    std::vector<Write> writes;
    // Check every name before writing any: a typo changes nothing.
    for (const std::string& assignment : assignments) {
        size_t equals = assignment.find('=');
        if (equals == std::string::npos) {
            std::cerr << "config --set: expected NAME=VALUE, got \"" << assignment << "\"\n";
            return ExitUsage;
        }
        const std::string name = assignment.substr(0, equals);
        auto at = ConfigurationValueLocation(name);
        if (!at) {
            std::cerr << "config --set: \"" << name << "\" is not a setting of the configuration\n";
            return ExitUsage;
        }
        writes.push_back({*at, FileNameToTagText(assignment.substr(equals + 1))});
    }
    auto store = OpenCliSettings();
    bool stored = store->Batch([&] {
        for (const Write& w : writes)
            store->SaveSetting(RegistryRoot::LocalMachine, w.at.Section, w.at.Name, w.value);
    });
    if (!stored) {
        std::cerr << "config --set: could not write the settings file \"" << CliSettingsPath()
                  << "\"\n";
        return ExitFailed;
    }
    return ExitOk;
}

}  // namespace

void AddConfigCommand(CLI::App& app, int& exitCode) {
    auto* command =
        app.add_subcommand("config", "Show the configuration, or change values of it with --set");
    command->fallthrough();  // the global --settings may follow the command's name
    auto json = std::make_shared<bool>(false);
    auto assignments = std::make_shared<std::vector<std::string>>();
    auto* jsonFlag = command->add_flag("--json", *json, "Print one JSON object");
    command
        ->add_option("--set", *assignments,
                     "Store values by their stored names, e.g. OriginalDateTime=True, "
                     "\"View\\Window X=120\", FileByTags\\0={TITLE}, Macros\\F2\\Macro={UPDATE}")
        ->type_name("NAME=VALUE")
        ->excludes(jsonFlag);
    command->callback([json, assignments, &exitCode] {
        exitCode = assignments->empty() ? Show(*json) : Set(*assignments);
    });
}

}  // namespace tessaly::cli
