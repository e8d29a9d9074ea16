// What a macro drives: the tag editor, seen through the boxes and commands a
// user reaches. The editor implements this; macros never see widgets or files.
#pragma once

#include "engine/AudioFileData.h"

#include <string>

namespace tessaly {

// The control whose state decides whether a command that stands for a user
// action runs.
enum class MacroGate {
    None,
    MixedCase,   // menu item mnuToolsCvtMixed enabled
    Update,      // button cmdUpdate enabled
    V1Enabled,   // check box v1enabled ticked
    V2Enabled,   // check box v2enabled ticked
    FileByTags,  // menu item mnuToolsFileByTags enabled
    TagsByFile,  // menu item mnuToolsTagsByFile enabled
    Undo,        // button cmdUndo enabled
    Play,        // toolbar button "play" enabled
};

// The control's name, e.g. "cmdUpdate".
std::string MacroGateControl(MacroGate gate);
// Why a command behind this gate did not run, for front ends that report it.
std::string MacroGateReason(MacroGate gate);

class MacroTarget {
public:
    virtual ~MacroTarget() = default;

    // Puts text into the box of `field` in pane `version` (1 or 2) as typing
    // would, so the box's change handling runs. Never called for the ID3v1
    // genre, nor for fields 8-12 with version 1.
    virtual void SetBoxText(int version, FieldNumber field, const std::string& text) = 0;
    // Selects the ID3v1 genre entry named `name` (case-insensitively), or the
    // empty first entry when no genre has that name.
    virtual void SelectV1Genre(const std::string& name) = 0;
    // Ticks or clears v1enabled / v2enabled as a click does, so the editor's
    // state (and with it every gate) follows before the next command.
    virtual void SetTagEnabled(int version, bool enabled) = 0;

    virtual bool IsGateOpen(MacroGate gate) const = 0;

    virtual void MixedCasePanes() = 0;
    virtual void UpdateFromPanes() = 0;
    virtual void CopyV1ToV2() = 0;
    virtual void CopyV2ToV1() = 0;
    // Renames the selected file by the current rename pattern.
    virtual void RenameCurrentFile() = 0;
    // The number of rename patterns, and renaming by the one at `index` (from 0).
    virtual int RenamePatternCount() const = 0;
    virtual void RenameByPattern(int index) = 0;
    virtual void TagsFromFileName() = 0;
    // The Undo button's action: show the tags as loaded again.
    virtual void Undo() = 0;
    virtual void PlaySelectedFile() = 0;
};

}  // namespace tessaly
