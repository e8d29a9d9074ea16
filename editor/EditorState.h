// Which controls and commands of the main window are enabled: the one rule
// that every pane operation and both check boxes re-apply.
#pragma once

#include "editor/PaneBoxes.h"
#include "engine/AudioFileData.h"

namespace tessaly {

enum class EditorMode {
    Normal,  // the controls follow the check boxes and the loaded file
    Busy,    // an update is running: nothing may start meanwhile
};

// The enabled state of every command SetEditorState drives, named after the
// controls. Several controls always share a state; they share a member here.
struct EditorControls {
    bool CopyToID3v1 = false;    // cmdCopytoID3v1, mnuToolsv2Tov1, toolbar "v2tov1"
    bool CopyFromID3v1 = false;  // cmdCopyfromID3v1, mnuToolsv1Tov2, toolbar "v1tov2"
    bool Update = false;         // cmdUpdate
    bool Undo = false;           // cmdUndo
    bool Close = false;          // cmdClose
    bool MixedCase = false;      // mnuToolsCvtMixed, toolbar "cvtmixed"
    bool FileByTags = false;     // mnuToolsFileByTags, toolbar "filebytags", mnuPopFileByTags
    bool TagsByFile = false;     // mnuToolsTagsByFile, toolbar "tagsbyfile", mnuPopTagsByFile
    bool PrintFileInfo = false;  // mnuFilePrintFileInfo
    bool Play = false;           // toolbar "play"
    bool FolderList = false;
    bool FileList = false;

    bool operator==(const EditorControls&) const = default;
};

// Applies the state to the panes (their fields and check boxes) and returns
// the state of the commands. In the normal mode the ID3v1 fields follow
// v1enabled and the ID3v2 fields v2enabled; a Windows Media file is
// read-only; Update, Undo and the name tools need a loaded file.
EditorControls SetEditorState(EditorMode mode, const AudioFileData& current, PaneBoxes& boxes);

}  // namespace tessaly
