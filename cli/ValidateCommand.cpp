// tessaly-cli validate MACRO: checks a macro as the macro editor and a hot
// key do, and prints what validation says about it.
#include "CliEditor.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

namespace tessaly::cli {

void AddValidateCommand(CLI::App& app, int& exitCode) {
    auto macro = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand("validate", "Check a macro and print what is wrong with it");
    command->fallthrough();
    command->add_option("MACRO", *macro, "The macro text, e.g. '{MIXEDCASE}{UPDATE}'")->required();
    command->footer(
        "Messages go to stderr, one per line, warnings of a valid macro too. Exit status: 0 "
        "when the macro is valid, 1 when it is invalid, 2 on a usage error.");
    command->callback([macro, &exitCode] {
        if (!ReportMacroVerdict(ArgumentText(*macro))) exitCode = ExitFailed;
    });
}

}  // namespace tessaly::cli
