// Renaming a file from its tags: the name a rename pattern yields from the
// editor's boxes, and the rename itself.
#pragma once

#include "engine/AudioFileData.h"

#include <array>
#include <string>
#include <string_view>

namespace tessaly {

// The texts of the editor's tag boxes as they are now, unsaved edits included,
// indexed by field number. V1[FieldGenre] is the text of the selected ID3v1
// genre entry; the ID3v1 pane has no boxes for fields 8-12.
struct TagBoxTexts {
    std::array<std::string, 13> V1;
    std::array<std::string, 13> V2;
};

// The settings the name rules read, passed in as plain values.
struct PatternOptions {
    bool RenameSpace = false;  // spaces of a built name become RenameSpaceChar
    std::string RenameSpaceChar = "_";
    bool RenameTwoDigitTracks = true;  // a one-character track gets a leading "0"
    bool ReplaceWithSpaces = true;     // these characters of a parsed name become spaces
    std::string ReplaceWithSpacesChars = "_";
};

// The shortest plain decimal text of `value`, without exponent or padding:
// 7 -> "7", 2.5 -> "2.5", -0 -> "0".
std::string PlainDecimal(double value);

// The file name (without extension) that `pattern` yields from the boxes:
// literals as written; a field's ID3v2 box when it holds any text, else its
// ID3v1 box, trimmed of spaces (fields 8-12: the ID3v2 box only); the track as
// its numeric value. With `literalsOnly` fields contribute nothing, which lets
// a preview tell whether any field had text. Forbidden file-name characters
// are left for the rename.
std::string BuildNameFromTags(std::string_view pattern, const TagBoxTexts& boxes,
                              const PatternOptions& options, bool literalsOnly);

// The extension of the file at `path` from the last "." of its name, "" when
// the name has none. A file renamed from its tags keeps it, so previews of the
// new name show it too.
std::string FileExtensionOf(const std::string& path);

enum class RenameStatus {
    Renamed,
    Unchanged,  // the new name is the file's own: nothing to do
    Refused,    // no usable name; nothing was tried
    Failed,     // the file system refused (the target exists, ...)
};

struct RenameResult {
    RenameStatus Status = RenameStatus::Failed;
    std::string NewPath;  // where the file is now (Renamed, Unchanged)
    std::string Message;  // what to show the user (Refused, Failed)
    std::string Caption;

    bool Succeeded() const {
        return Status == RenameStatus::Renamed || Status == RenameStatus::Unchanged;
    }
};

// Renames `oldPath` to `newPath` without ever replacing an existing file; a
// rename to the file's own path does nothing. On failure the message is the
// system's description of the error, with the caption "Error".
RenameResult RenameFileNoReplace(const std::string& oldPath, const std::string& newPath);

// Renames `oldPath` into `folder` under `tagName` (tag text, as
// BuildNameFromTags gives it) made a legal file name, written as UTF-8, with
// the file's own extension kept. A name that is empty or only spaces and dots
// is refused. Shows nothing: the caller shows a failure with ShowRenameFailure.
RenameResult RenameFromTags(const std::string& oldPath, const std::string& folder,
                            std::string_view tagName, const PatternOptions& options);

// The message box of a failed or refused rename (critical icon, OK).
void ShowRenameFailure(const RenameResult& result);

}  // namespace tessaly
