// The sub-commands of tessaly-cli. Each Add…Command registers its options on
// `app` and a callback that stores its exit status in `exitCode`.
#pragma once

namespace CLI {
class App;
}

namespace tessaly::cli {

// Exit statuses shared by every sub-command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

void AddInfoCommand(CLI::App& app, int& exitCode);
void AddSetCommand(CLI::App& app, int& exitCode);
void AddConfigCommand(CLI::App& app, int& exitCode);
void AddShellCommand(CLI::App& app, int& exitCode);
void AddListCommand(CLI::App& app, int& exitCode);
void AddMacroCommand(CLI::App& app, int& exitCode);
void AddValidateCommand(CLI::App& app, int& exitCode);
void AddRenameCommand(CLI::App& app, int& exitCode);
void AddParseCommand(CLI::App& app, int& exitCode);
void AddDeleteCommand(CLI::App& app, int& exitCode);
void AddPlayCommand(CLI::App& app, int& exitCode);

// The global --settings FILE option (CliSettings.h).
void AddSettingsOption(CLI::App& app);
// The global --yes flag (CliEditor.h).
void AddYesOption(CLI::App& app);

}  // namespace tessaly::cli
