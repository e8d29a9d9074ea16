// The settings as the command line sees them: the store named by the global
// --settings option, else by TESSALY_SETTINGS, else the default path. The
// command line loads the configuration but runs none of the program's
// first-run actions, and writes only when a command asks it to.
#pragma once

#include "engine/UpdateOptions.h"
#include "settings/CRegSettings.h"
#include "settings/Configuration.h"

#include <memory>
#include <string>

namespace CLI {
class App;
}

namespace tessaly::cli {

// Registers the global --settings FILE option on `app`.
void AddSettingsOption(CLI::App& app);

// The store file the command line uses.
std::string CliSettingsPath();

std::unique_ptr<CRegSettings> OpenCliSettings();

// The configuration as stored (a missing file is a first run: defaults).
Configuration LoadCliConfiguration();

// The update's settings from the stored configuration; a command's own flags
// override them.
UpdateOptions CliUpdateOptions();

}  // namespace tessaly::cli
