// tessaly-cli: the tag editor's core, driven from the command line.
#include "CliHost.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    using namespace tessaly::cli;
    tessaly::SetHost(&TheCliHost());

    CLI::App app{"Tessaly command line: read and edit the tags of MP3, WMA and WMV files."};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");

    int exitCode = ExitOk;
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

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return ExitUsage;
    }
    return exitCode;
}
