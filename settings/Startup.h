// Start-up: where the settings live, and the order in which the program
// comes up before its main window opens.
#pragma once

#include "settings/Configuration.h"

#include <memory>
#include <string>

namespace tessaly {

// The settings file: $TESSALY_SETTINGS when set, else
// $XDG_CONFIG_HOME/tessaly/settings.reg (XDG_CONFIG_HOME defaulting to
// ~/.config).
std::string DefaultSettingsPath();

// `option` (a --settings FILE given by the user) when not empty, else the
// default path.
std::string SettingsPath(const std::string& option);

// The store for `path`. A file that does not exist yet is an empty store: a
// first run, with nothing written until something is saved. (On Windows an
// empty path means the system registry.)
std::unique_ptr<CRegSettings> OpenSettings(const std::string& path);

// Where the debug log goes: $XDG_STATE_HOME/tessaly/DEBUG.LOG (XDG_STATE_HOME
// defaulting to ~/.local/state); "" (no log) when the configuration's
// DebugLog is off or there is no home folder.
std::string DebugLogPathFor(const Configuration& config);

// The GUI's start-up before its main window: creates the global Settings on
// SettingsPath(settingsOption), loads the configuration, places the debug
// log and, while
// "Installed" is false, registers the shell integration. The fixed tables
// (genres, hot keys, field names, defaults) are constants built before main.
Configuration StartProgram(const std::string& settingsOption);

}  // namespace tessaly
