// tessaly-cli shell: adds or removes the desktop's "Edit with Tessaly" entry
// for the listed file types, or shows whether it is there.
#include "CliSettings.h"
#include "Commands.h"

#include "settings/ShellIntegration.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace tessaly::cli {

namespace {

int Run(bool enable, bool disable) {
    const Configuration config = LoadCliConfiguration();
    if (enable || disable) {
        if (!RegisterShellVerb(enable, config.Extensions)) {
            std::cerr << "shell: could not write the desktop entries in \""
                      << CurrentShellEnvironment().ApplicationsFolder << "\"\n";
            return ExitFailed;
        }
        return ExitOk;
    }
    std::cout << ShellVerbState(config.Extensions) << "\n";
    return ExitOk;
}

}  // namespace

void AddShellCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand(
        "shell",
        "Add or remove the desktop entry \"Edit with Tessaly\" for the listed file types, "
        "or print its state (0 none, 1 all, 2 some)");
    command->fallthrough();
    auto enable = std::make_shared<bool>(false);
    auto disable = std::make_shared<bool>(false);
    auto state = std::make_shared<bool>(false);
    auto* enableFlag = command->add_flag("--enable", *enable, "Add the entry");
    auto* disableFlag = command->add_flag("--disable", *disable, "Remove the entry");
    auto* stateFlag = command->add_flag("--state", *state, "Print the state (the default)");
    enableFlag->excludes(disableFlag)->excludes(stateFlag);
    disableFlag->excludes(stateFlag);
    command->callback([enable, disable, &exitCode] { exitCode = Run(*enable, *disable); });
}

}  // namespace tessaly::cli
