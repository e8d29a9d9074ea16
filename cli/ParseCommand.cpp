// tessaly-cli parse [--pattern P] [--dry-run] PATH...: fills the tags from
// each file's name as "Tags by filename" does, then updates the file.
#include "CliEditor.h"
#include "FileWalk.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::cli {

namespace {

struct ParseOptions {
    std::optional<std::string> pattern;
    bool dryRun = false;
    bool recursive = false;
    std::vector<std::string> paths;
};

bool ParseOne(EditorSession& session, const ParseOptions& o, const std::string& path) {
    if (!session.Open(path)) return false;
    TagEditor& editor = session.Editor();
    if (!session.Allows(MacroGate::TagsByFile, path)) return false;
    const std::vector<std::string>& patterns = session.Config().TagsByFilePatterns;
    const int current = session.Config().TagsByFileIndex;
    std::string pattern;
    if (o.pattern)
        pattern = ArgumentText(*o.pattern);
    else if (current >= 0 && current < static_cast<int>(patterns.size()))
        pattern = patterns[static_cast<size_t>(current)];
    if (editor.TagsFromFileNameWith(pattern) == 0) {
        PrintError(path + ": the name gives no field by the pattern '" + pattern +
                   "'; nothing was written");
        return false;
    }
    if (o.dryRun) {
        std::cout << BoxesToJson(editor).dump() << std::endl;
        return true;
    }
    if (!session.Allows(MacroGate::Update, path)) return false;
    return session.RunsCleanly([&] { editor.UpdateFromPanes(); });
}

}  // namespace

void AddParseCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<ParseOptions>();
    CLI::App* command = app.add_subcommand(
        "parse", "Fill the tags of each file from its name by a parsing pattern and update it");
    command->fallthrough();
    command->add_option("--pattern", o->pattern,
                        "The parsing pattern's text, e.g. '{ARTIST} - {TITLE}' (default: the "
                        "current parsing pattern)");
    command->add_flag("--dry-run", o->dryRun,
                      "Write nothing; print the editor's boxes as one JSON object per file");
    AddRecursiveFlag(*command, o->recursive);
    command->add_option("PATH", o->paths, "Files to fill (folders with -r)")->required();
    command->footer(
        "Both tag versions are switched on, as in the editor. Exit status: 0 when every file was "
        "filled (and updated), 1 otherwise, 2 on a usage error.");
    command->callback([o, &exitCode] {
        EditorSession session;
        exitCode = RunOnPaths(o->paths, o->recursive, session.Config().Extensions,
                              [&](const std::string& path) {
                                  if (!ParseOne(session, *o, path)) return FileOutcome::Failed;
                                  return o->dryRun ? FileOutcome::Read : FileOutcome::Updated;
                              });
    });
}

}  // namespace tessaly::cli
