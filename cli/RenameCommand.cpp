// tessaly-cli rename [--pattern P | --name NEW] PATH...: renames files from
// their tags as "Rename file based on tags" does, or gives one file a new
// name as the file list's in-place rename does. Prints each file's path
// afterwards.
#include "CliEditor.h"
#include "FileWalk.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::cli {

namespace {

struct RenameOptions {
    std::optional<std::string> pattern;
    std::optional<std::string> name;
    bool recursive = false;
    std::vector<std::string> paths;
};

bool RenameOne(EditorSession& session, const RenameOptions& o, const std::string& path) {
    if (!session.Open(path)) return false;
    TagEditor& editor = session.Editor();
    if (o.name) {
        // The label edit starts at once: the file is loaded.
        return editor.BeginRename() && editor.FinishRename(*o.name);
    }
    if (!session.Allows(MacroGate::FileByTags, path)) return false;
    return session.RunsCleanly([&] {
        if (o.pattern)
            editor.RenameWithPattern(ArgumentText(*o.pattern));
        else
            editor.RenameCurrentFile();
    });
}

}  // namespace

void AddRenameCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<RenameOptions>();
    CLI::App* command = app.add_subcommand(
        "rename", "Rename files from their tags by a rename pattern, or one file to a new name");
    command->fallthrough();
    auto* pattern = command->add_option(
        "--pattern", o->pattern,
        "The rename pattern's text, e.g. '{TRACK}. {ARTIST} - {TITLE}' (default: the current "
        "rename pattern)");
    command->add_option("--name", o->name,
                        "Give the one PATH this new file name, as the file list's Rename does")
        ->excludes(pattern);
    AddRecursiveFlag(*command, o->recursive);
    command->add_option("PATH", o->paths, "Files to rename (folders with -r)")->required();
    command->footer(
        "A file keeps its own extension and never replaces an existing file. A new name that "
        "changes the extension is a question: asked on a terminal, answered Yes by --yes, No "
        "without a terminal. Prints the path of "
        "each file after its rename. Exit status: 0 when every file was renamed (or already had "
        "the name), 1 otherwise, 2 on a usage error.");
    command->callback([o, &exitCode] {
        if (o->name && (o->paths.size() != 1 || o->recursive)) {
            PrintError("--name renames one PATH only");
            exitCode = ExitUsage;
            return;
        }
        EditorSession session;
        exitCode = RunOnPaths(o->paths, o->recursive, session.Config().Extensions,
                              [&](const std::string& path) {
                                  if (!RenameOne(session, *o, path)) return FileOutcome::Failed;
                                  std::printf("%s\n", session.Editor().SelectedFileKey().c_str());
                                  return FileOutcome::Updated;
                              });
    });
}

}  // namespace tessaly::cli
