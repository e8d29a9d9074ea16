#include "settings/Startup.h"

#include "engine/DebugLog.h"

#include "settings/ShellIntegration.h"

#include <cstdlib>

namespace tessaly {

std::string DefaultSettingsPath() {
    if (const char* path = std::getenv("TESSALY_SETTINGS"); path && *path) return path;
#ifdef _WIN32
    return {};  // the system registry
#endif
    std::string configHome;
    if (const char* value = std::getenv("XDG_CONFIG_HOME"); value && value[0] == '/')
        configHome = value;
    else if (const char* home = std::getenv("HOME"); home && *home)
        configHome = std::string(home) + "/.config";
    else
        configHome = ".config";
    return configHome + "/tessaly/settings.reg";
}

std::string SettingsPath(const std::string& option) {
    return option.empty() ? DefaultSettingsPath() : option;
}

std::unique_ptr<CRegSettings> OpenSettings(const std::string& path) {
#ifdef _WIN32
    if (path.empty()) return OpenRegistrySettings();
#endif
    return OpenFileSettings(path);
}

std::string DebugLogPathFor(const Configuration& config) {
    if (!config.DebugLog) return "";
    if (const char* value = std::getenv("XDG_STATE_HOME"); value && value[0] == '/')
        return std::string(value) + "/tessaly/" + DebugLogName;
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.local/state/tessaly/" + DebugLogName;
    return "";  // no home to keep it in: better no log than one in a music folder
}

Configuration StartProgram(const std::string& settingsOption) {
    Settings = OpenSettings(SettingsPath(settingsOption));
    Configuration config = LoadConfiguration(*Settings);
    SetDebugLogPath(DebugLogPathFor(config));
    if (!config.Installed) RegisterShellVerb(true, config.Extensions);
    return config;
}

}  // namespace tessaly
