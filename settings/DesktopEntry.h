// The few keys of a freedesktop desktop entry that the shell integration
// writes and reads back: its name, its command and its MIME types.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct DesktopEntry {
    std::string Name;
    std::string Exec;  // the command as the launcher reads it (string escapes undone)
    std::vector<std::string> MimeTypes;
    bool NoDisplay = false;  // kept out of application menus

    bool operator==(const DesktopEntry&) const = default;
};

// One argument of an Exec line, in double quotes with the characters the
// launcher treats specially escaped: \" \` \$ \\ inside the quotes, and %%
// for a literal percent sign.
std::string QuotedExecArgument(std::string_view argument);

// The [Desktop Entry] group of the file at `path`; nullopt when the file
// cannot be read or has no such group.
std::optional<DesktopEntry> ReadDesktopEntry(const std::string& path);

// Writes the entry to `path` atomically (temporary file, flush, rename),
// creating the folder when needed. False when it could not be written.
bool WriteDesktopEntry(const std::string& path, const DesktopEntry& entry);

}  // namespace tessaly
