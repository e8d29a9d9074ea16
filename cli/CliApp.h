// The command line's commands and options, built in one place: main runs
// them, and the manual pages and the shell completion are generated from the
// same definitions, so --help and the documents never disagree.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tessaly::cli {

inline constexpr const char* CliDescription =
    "Tessaly command line: read and edit the tags of MP3, WMA and WMV files.";

// Registers the global options and every command on `app`; a command's
// callback stores its exit status in `exitCode`.
void BuildCliApp(CLI::App& app, int& exitCode);

// The names of the commands, in the order --help lists them.
std::vector<std::string> CommandNames(const CLI::App& app);

// "tessaly-cli 0.1.0".
std::string CliVersionText();

// Parses `argv` and runs the command; the process's exit status.
int RunCommandLine(int argc, char** argv);

// `help` topics beyond the commands: "macros" and "patterns".
std::string MacroHelpText();
std::string PatternHelpText();

// The manual pages tessaly-cli(1) and tessaly(1) and the bash completion of
// tessaly-cli, from the commands and options registered on `app`.
std::string CliManPage(const CLI::App& app);
std::string GuiManPage();
std::string BashCompletion(const CLI::App& app);

}  // namespace tessaly::cli
