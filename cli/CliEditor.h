// The tag editor as the command line drives it: one editor on the stored
// configuration, each file opened as the only row of its folder's list (by
// the list's rules, without reading the rest of the folder), and the reports
// of what the window would have refused.
#pragma once

#include "editor/TagEditor.h"
#include "settings/CRegSettings.h"
#include "settings/Configuration.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>

namespace CLI {
class App;
}

namespace tessaly::cli {

// Registers the global --yes flag: the answer to the questions the window
// would ask (delete, a changed extension). Without it the answer is No.
void AddYesOption(CLI::App& app);

class EditorSession {
public:
    // The store and configuration of --settings; nothing is written unless a
    // command asks the editor to.
    EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    Configuration& Config() { return config_; }
    TagEditor& Editor() { return editor_; }

    // Loads the file `argument` names into the editor, by its absolute path.
    // On failure says why on stderr (or the reader already has) and returns
    // false.
    bool Open(const std::string& argument);

    // True when `gate` is open for the loaded file; else prints why the
    // window would not offer the command for `path` and returns false.
    bool Allows(MacroGate gate, const std::string& path);

    // Runs an editor command; true when it reported no failure of its own.
    template <typename Command>
    bool RunsCleanly(Command&& command) {
        const int failuresBefore = editor_.Failures();
        command();
        return editor_.Failures() == failuresBefore;
    }

private:
    std::unique_ptr<CRegSettings> store_;
    Configuration config_;
    TagEditor editor_;
};

// The absolute, normalised form of a path given on the command line, the
// form the file list's keys take.
std::string AbsolutePath(const std::string& path);

// A path of the system for JSON output: as it is when it is valid UTF-8, else
// its bytes read as ISO-8859-1.
std::string PathText(const std::string& path);

// Tag text for a terminal: up to the first zero character, as a box holds
// it; other control characters as \xNN.
std::string TerminalText(const std::string& text);

// Tag text of a command-line argument: the argument when it is valid UTF-8,
// else its bytes read as ISO-8859-1.
std::string ArgumentText(const std::string& argument);

// The editor's boxes as JSON: "File", then every control by its name
// ("v1enabled", "v1track", ...), check boxes as booleans, texts as held.
nlohmann::ordered_json BoxesToJson(TagEditor& editor);

// Validates `macro` and prints its messages on stderr, one per
// line. True when it is valid (warnings allowed).
bool ReportMacroVerdict(const std::string& macro);

// Prints `text` (UTF-8) on stderr as one line.
void PrintError(const std::string& text);

}  // namespace tessaly::cli
