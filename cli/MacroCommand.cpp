// tessaly-cli macro MACRO PATH...: runs a macro on each file exactly as a hot
// key runs it in the window: the file's folder listed, its row selected and
// loaded, then the commands one after the other on the editor.
#include "CliEditor.h"
#include "FileWalk.h"
#include "Commands.h"

#include "engine/Utf8Text.h"
#include "macros/MacroRun.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

namespace tessaly::cli {

namespace {

struct MacroOptions {
    std::string macro;
    bool recursive = false;
    std::vector<std::string> paths;
};

// Runs the macro on one file; false when a command was skipped by its gate
// or an action failed (its message has been shown).
bool RunOn(EditorSession& session, const std::string& macro, const std::string& path) {
    if (!session.Open(path)) return false;
    TagEditor& editor = session.Editor();
    MacroRunResult result;
    bool ok = session.RunsCleanly([&] { result = RunMacro(macro, editor); }) && !result.Failed;
    for (const CommandOutcome& outcome : result.Commands) {
        if (outcome.Status != CommandStatus::Skipped) continue;
        PrintError(path + ": {" + outcome.Command +
                   "} skipped: " + MacroGateReason(outcome.Gate));
        ok = false;
    }
    return ok;
}

}  // namespace

void AddMacroCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<MacroOptions>();
    CLI::App* command = app.add_subcommand(
        "macro", "Run a macro on each file as its hot key would in the editor");
    command->fallthrough();
    command->add_option("MACRO", o->macro, "The macro text, e.g. '{MIXEDCASE}{UPDATE}'")
        ->required();
    AddRecursiveFlag(*command, o->recursive);
    command->add_option("PATH", o->paths, "Files to run it on (folders with -r)")->required();
    command->footer(
        "Validation messages go to stderr, one per line; an invalid macro changes nothing. A "
        "command whose control would be disabled for a file is skipped with its reason on "
        "stderr. Exit status: 0 when every command ran on every file, 1 otherwise, 2 on a "
        "usage error.");
    command->callback([o, &exitCode] {
        const std::string macro = ArgumentText(o->macro);
        if (!ReportMacroVerdict(macro)) {
            exitCode = ExitFailed;
            return;
        }
        EditorSession session;
        exitCode = RunOnPaths(o->paths, o->recursive, session.Config().Extensions,
                              [&](const std::string& path) {
                                  return RunOn(session, macro, path) ? FileOutcome::Updated
                                                                     : FileOutcome::Failed;
                              });
    });
}

}  // namespace tessaly::cli
