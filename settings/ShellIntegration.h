// The desktop's side of the program: the "Edit with Tessaly" entry offered for
// the listed file types, and the handler of "tessal://" URLs. Here both are
// freedesktop desktop entries in $XDG_DATA_HOME/applications; the types come
// from the shared-mime-info glob tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

inline constexpr const char* ShellVerbName = "Edit with Tessaly";
inline constexpr const char* UrlHandlerName = "URL: Tessaly";
inline constexpr const char* UrlSchemeType = "x-scheme-handler/tessal";
inline constexpr const char* ShellVerbEntryFile = "tessaly-edit.desktop";
inline constexpr const char* UrlHandlerEntryFile = "tessaly-url.desktop";

struct ShellEnvironment {
    std::string ApplicationsFolder;          // where the desktop entries live
    std::vector<std::string> MimeGlobFiles;  // globs2 tables, the first that knows a type wins
    std::string Program;                     // absolute path of the program the entries start
};

// The user's applications folder ($XDG_DATA_HOME, else ~/.local/share), the
// glob tables of $XDG_DATA_HOME and $XDG_DATA_DIRS, and the GUI program.
ShellEnvironment CurrentShellEnvironment();

// The GUI program "tessaly" beside the running executable, as an absolute
// path. The command line registers the GUI too: it is what a desktop user
// means to start.
std::string GuiProgramPath();

// The command the desktop runs: the program's path in double quotes, a space
// and the field code ("%f" for a file, "%u" for a URL).
std::string ShellCommand(const std::string& program, const std::string& fieldCode);

// The MIME type the glob tables give "*" + extension (ignoring case unless
// the table says otherwise); "" when none does.
std::string MimeTypeOfExtension(const std::string& extension,
                                const std::vector<std::string>& globFiles);

// Adds (enable) or removes the "Edit with Tessaly" entry for the MIME types
// of `extensions`, then registers the URL handler in either case. An
// extension without a type is left out. Types of the entry that are not
// listed are kept, as long as the entry still starts this same program.
// Refreshes the desktop's MIME cache when its tool is installed. False when
// an entry could not be written or removed.
bool RegisterShellVerb(bool enable, const std::vector<std::string>& extensions,
                       const ShellEnvironment& environment = CurrentShellEnvironment());

// 0 when no listed extension carries the entry, 1 when all that have a MIME
// type do, 2 when some do. A type counts only when the entry lists it with
// exactly this program's command, so a copy of the program elsewhere counts
// as absent.
int16_t ShellVerbState(const std::vector<std::string>& extensions,
                       const ShellEnvironment& environment = CurrentShellEnvironment());

}  // namespace tessaly
