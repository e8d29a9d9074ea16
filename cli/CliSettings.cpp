#include "CliSettings.h"

#include "settings/Startup.h"

#include <CLI/CLI.hpp>

namespace tessaly::cli {

namespace {

std::string& SettingsOption() {
    static std::string option;
    return option;
}

}  // namespace

void AddSettingsOption(CLI::App& app) {
    app.add_option("--settings", SettingsOption(),
                   "Settings file (default: $TESSALY_SETTINGS, else "
                   "$XDG_CONFIG_HOME/tessaly/settings.reg)")
        ->type_name("FILE");
}

std::string CliSettingsPath() {
    return SettingsPath(SettingsOption());
}

std::unique_ptr<CRegSettings> OpenCliSettings() {
    return OpenSettings(CliSettingsPath());
}

Configuration LoadCliConfiguration() {
    auto store = OpenCliSettings();
    return LoadConfiguration(*store);
}

UpdateOptions CliUpdateOptions() {
    return UpdateOptionsOf(LoadCliConfiguration());
}

}  // namespace tessaly::cli
