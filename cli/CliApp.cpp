#include "CliApp.h"

#include "CliEditor.h"
#include "CliHost.h"
#include "Commands.h"

#include "TessalyVersion.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string_view>

namespace tessaly::cli {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// tessaly-cli help [TOPIC]: the help of the program or of one command, or
// the macro language or the pattern fields.
void AddHelpCommand(CLI::App& app, int& exitCode) {
    auto topic = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand(
        "help", "Show the help of the program, of a command, or of the macros or patterns");
    command->add_option("TOPIC", *topic, "A command, 'macros' or 'patterns'");
    command->callback([&app, topic, &exitCode] {
        if (topic->empty()) {
            std::cout << app.help();
        } else if (*topic == "macros") {
            std::cout << MacroHelpText();
        } else if (*topic == "patterns") {
            std::cout << PatternHelpText();
        } else if (const auto names = CommandNames(app);
                   *topic != "help" && std::find(names.begin(), names.end(), *topic) != names.end()) {
            std::cout << app.get_subcommand(*topic)->help();
        } else {
            PrintError("unknown help topic '" + *topic + "'; topics: macros, patterns, " +
                       JoinNames(CommandNames(app)));
            exitCode = ExitUsage;
        }
    });
}

// The first argument that is not a global option names the command; CLI11
// would only say that something was not expected.
std::string UnknownCommand(const CLI::App& app, int argc, char** argv) {
    const std::vector<std::string> commands = CommandNames(app);
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--settings") {
            ++i;
            continue;
        }
        if (arg == "--") return i + 1 < argc ? argv[i + 1] : "";
        if (arg.size() > 1 && arg[0] == '-') continue;
        for (const std::string& name : commands)
            if (arg == name) return "";
        return std::string(arg);
    }
    return "";
}

}  // namespace

void BuildCliApp(CLI::App& app, int& exitCode) {
    app.description(CliDescription);
    app.name("tessaly-cli");
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");
    app.set_version_flag("--version", CliVersionText(), "Show the program's version and exit");
    app.footer(
        "Run 'tessaly-cli help COMMAND' for a command's options, 'tessaly-cli help macros' for "
        "the macro language and 'tessaly-cli help patterns' for the fields of rename and parsing "
        "patterns. '--' ends the options: every argument after it is a path. Updates are traced "
        "to $XDG_STATE_HOME/tessaly/DEBUG.LOG (~/.local/state/tessaly/DEBUG.LOG), turned off by "
        "'tessaly-cli config --set DebugLog=False'.");
    AddSettingsOption(app);
    AddYesOption(app);
    AddInfoCommand(app, exitCode);
    AddSetCommand(app, exitCode);
    AddConfigCommand(app, exitCode);
    AddShellCommand(app, exitCode);
    AddListCommand(app, exitCode);
    AddMacroCommand(app, exitCode);
    AddValidateCommand(app, exitCode);
    AddRenameCommand(app, exitCode);
    AddParseCommand(app, exitCode);
    AddDeleteCommand(app, exitCode);
    AddPlayCommand(app, exitCode);
    AddHelpCommand(app, exitCode);
}

std::vector<std::string> CommandNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App* a) {
             return !a->get_name().empty();
         }))
        names.push_back(sub->get_name());
    return names;
}

std::string CliVersionText() { return std::string("tessaly-cli ") + TessalyVersion; }

int RunCommandLine(int argc, char** argv) {
    SetHost(&TheCliHost());
    CLI::App app;
    int exitCode = ExitOk;
    BuildCliApp(app, exitCode);

    const std::string unknown = UnknownCommand(app, argc, argv);
    if (!unknown.empty()) {
        PrintError("unknown command '" + unknown + "'; commands: " + JoinNames(CommandNames(app)));
        return ExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        if (app.get_subcommands().empty() && dynamic_cast<const CLI::RequiredError*>(&e)) {
            PrintError("a command is required; commands: " + JoinNames(CommandNames(app)) +
                       " (tessaly-cli --help shows them)");
            return ExitUsage;
        }
        app.exit(e);
        return ExitUsage;
    }
    return exitCode;
}

}  // namespace tessaly::cli
