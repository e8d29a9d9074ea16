// tessaly-cli list [--json] FOLDER: the file list of a folder as the window
// shows it: its audio files, read whole, with their tag columns and dates,
// sorted by the stored sort column.
#include "CliEditor.h"
#include "Commands.h"

#include "engine/Utf8Text.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

namespace tessaly::cli {

namespace {

struct ListOptions {
    bool json = false;
    std::string folder;
};

void PrintTable(const FileList& files) {
    std::string out;
    const auto& columns = FileListColumns();
    for (size_t c = 0; c < columns.size(); ++c) out += (c ? "\t" : "") + columns[c];
    out += '\n';
    for (const FileRow& row : files.Rows()) {
        out += PathText(row.Text);
        for (const std::string& cell : row.SubItems) out += "\t" + TerminalText(cell);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

void PrintJson(const FileList& files) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    const auto& columns = FileListColumns();
    for (const FileRow& row : files.Rows()) {
        nlohmann::ordered_json j;
        j["Key"] = PathText(row.Key);
        j[columns[0]] = PathText(row.Text);
        for (size_t c = 1; c < columns.size(); ++c) j[columns[c]] = row.SubItems[c - 1];
        rows.push_back(std::move(j));
    }
    std::cout << rows.dump() << '\n';
}

}  // namespace

void AddListCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<ListOptions>();
    CLI::App* command = app.add_subcommand(
        "list", "List the audio files of a folder with their tag columns, as the file list does");
    command->fallthrough();
    command->add_flag("--json", o->json,
                      "One JSON array of rows: Key (the full path), Filename, Artist, Title, "
                      "Album, Genre, Date; tag text as it is (UTF-8)");
    command->add_option("FOLDER", o->folder, "The folder to list")->required();
    command->footer(
        "Rows are sorted as the file list is (the stored sort column and order). Exit status: 0 "
        "when every file was read, 1 when the folder is none or a file could not be opened (its "
        "row is listed with empty columns), 2 on a usage error.");
    command->callback([o, &exitCode] {
        std::error_code error;
        if (!std::filesystem::is_directory(o->folder, error)) {
            PrintError(o->folder + ": not a folder");
            exitCode = ExitFailed;
            return;
        }
        EditorSession session;
        TagEditor& editor = session.Editor();
        editor.SetSelectedFolder(AbsolutePath(o->folder));
        if (o->json)
            PrintJson(editor.Files());
        else
            PrintTable(editor.Files());
        if (editor.UnreadableFiles() > 0) exitCode = ExitFailed;
    });
}

}  // namespace tessaly::cli
