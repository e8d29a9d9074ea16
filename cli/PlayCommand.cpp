// tessaly-cli play PATH: opens a file with the desktop's default player, as
// the file list's Play does.
#include "CliEditor.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

namespace tessaly::cli {

void AddPlayCommand(CLI::App& app, int& exitCode) {
    auto path = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("play", "Open a file with the desktop's default application");
    command->fallthrough();
    command->add_option("PATH", *path, "The file to play")->required();
    command->footer("Exit status: 0 when a program was started, 1 otherwise, 2 on a usage error.");
    command->callback([path, &exitCode] {
        EditorSession session;
        if (!session.Open(*path) || !session.Allows(MacroGate::Play, *path)) {
            exitCode = ExitFailed;
            return;
        }
        if (!session.RunsCleanly([&] { session.Editor().PlaySelectedFile(); }))
            exitCode = ExitFailed;
    });
}

}  // namespace tessaly::cli
