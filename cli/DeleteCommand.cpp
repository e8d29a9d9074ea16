// tessaly-cli delete [--yes] PATH...: deletes files for good, as the file
// list's Delete does after its question.
#include "CliEditor.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

namespace tessaly::cli {

void AddDeleteCommand(CLI::App& app, int& exitCode) {
    auto paths = std::make_shared<std::vector<std::string>>();
    CLI::App* command =
        app.add_subcommand("delete", "Delete files permanently, as the file list's Delete does");
    command->fallthrough();
    command->add_option("PATH", *paths, "Files to delete")->required();
    command->footer(
        "Each file is a question (\"Are You Sure?\"): asked on a terminal (y/N), answered Yes by "
        "--yes without asking, and No when there is no terminal. Exit status: 0 when every file was deleted, 1 otherwise, 2 on a usage error.");
    command->callback([paths, &exitCode] {
        EditorSession session;
        for (const std::string& path : *paths)
            if (!session.Open(path) || !session.Editor().DeleteSelectedFile())
                exitCode = ExitFailed;
    });
}

}  // namespace tessaly::cli
