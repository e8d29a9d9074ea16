// The program's one command-line argument: a file or folder path, optionally
// in double quotes (as the shell's "Edit with" entry passes it), or a
// "tessal://" URL (as the URL handler passes it).
#pragma once

#include <optional>
#include <string>

namespace tessaly {

// The existing path the command line names, or nullopt when it names nothing
// that exists (the window then shows the last folder). `commandLine` is the
// arguments as one text, without the program's own path.
//
// Steps: empty -> nothing; a first and a last double quote are removed
// together (a lone leading quote stays, and then names nothing); a leading
// "tessal://" (exact case) is removed; separators are turned into this
// system's own (on Windows "/" becomes "\"; here "\" becomes "/", but only
// when the text as given names nothing, since "\" is an ordinary character
// of file names here); the long form of the path is taken; it must exist.
// Percent escapes are not decoded.
std::optional<std::string> CommandLinePath(const std::string& commandLine);

}  // namespace tessaly
