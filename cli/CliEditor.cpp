#include "CliEditor.h"

#include "CliHost.h"
#include "CliSettings.h"

#include "engine/DebugLog.h"
#include "engine/Utf8Text.h"
#include "engine/FileIO.h"
#include "macros/MacroValidation.h"
#include "patterns/Utils.h"
#include "settings/Startup.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>

namespace tessaly::cli {

void AddYesOption(CLI::App& app) {
    app.add_flag("--yes,-y", TheCliHost().answerYes,
                 "Answer Yes to the questions the editor asks (delete, a changed extension)");
}

EditorSession::EditorSession()
    : store_(OpenCliSettings()), config_(LoadConfiguration(*store_)), editor_(config_, *store_) {
    SetDebugLogPath(DebugLogPathFor(config_));
}

bool EditorSession::Open(const std::string& argument) {
    if (!PathExists(argument)) {
        PrintError(argument + ": no such file");
        return false;
    }
    const std::string path = AbsolutePath(argument);
    if (editor_.OpenSingleFile(path)) return true;
    if (editor_.SelectedFileKey() != path)
        PrintError(argument + ": not in the file list (only regular files ending in " +
                   JoinList(config_.Extensions, ", ") + " are listed)");
    // Otherwise the file is listed but could not be read, which the reader said.
    return false;
}

bool EditorSession::Allows(MacroGate gate, const std::string& path) {
    if (editor_.IsGateOpen(gate)) return true;
    if (CurrentFile.ID3v2.IsASF)
        PrintError("'" + path + "' is a Windows Media file; its tags are read-only.");
    else
        PrintError(path + ": " + MacroGateReason(gate));
    return false;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    return absolute.lexically_normal().string();
}

std::string PathText(const std::string& path) { return FileNameToTagText(path); }

std::string TerminalText(const std::string& bytes) {
    std::string escaped;
    for (unsigned char c : HeldText(bytes)) {
        if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            escaped += hex;
        } else {
            escaped += static_cast<char>(c);
        }
    }
    return FileNameToTagText(escaped);
}

std::string ArgumentText(const std::string& argument) { return FileNameToTagText(argument); }

nlohmann::ordered_json BoxesToJson(TagEditor& editor) {
    nlohmann::ordered_json json;
    json["File"] = PathText(editor.SelectedFileKey());
    for (BoxId box : AllBoxes()) {
        if (box.Field == FieldNone)
            json[BoxName(box)] = editor.IsTagEnabled(box.Version);
        else
            json[BoxName(box)] = editor.BoxText(box);
    }
    return json;
}

bool ReportMacroVerdict(const std::string& macro) {
    const MacroVerdict verdict = ValidateMacro(macro);
    for (const std::string& line : verdict.Lines) PrintError(line);
    for (const std::string& hint : verdict.Hints) PrintError(hint);
    return !verdict.Invalid;
}

void PrintError(const std::string& text) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace tessaly::cli
