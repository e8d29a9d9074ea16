#include "editor/EditorState.h"

namespace tessaly {

EditorControls SetEditorState(EditorMode mode, const AudioFileData& current, PaneBoxes& boxes) {
    const bool active = mode == EditorMode::Normal;
    const bool v1on = active && boxes.V1.Checked;
    const bool v2on = active && boxes.V2.Checked;
    for (TextBox& box : boxes.V1.Boxes) box.Enabled = v1on;
    for (TextBox& box : boxes.V2.Boxes) box.Enabled = v2on;

    EditorControls c;
    c.CopyToID3v1 = v2on;
    c.CopyFromID3v1 = v1on;
    const bool loaded = current.MPEG.FileSize >= 1;
    bool checks = false;
    if (active && !current.ID3v2.IsASF) {
        checks = loaded;
        c.Update = loaded;
        c.Undo = loaded;
        c.TagsByFile = loaded;
        // Mixed case and renaming work on tag text, so one version must be on.
        c.MixedCase = loaded && (boxes.V1.Checked || boxes.V2.Checked);
        c.FileByTags = c.MixedCase;
        c.PrintFileInfo = true;
    }
    // A Windows Media file is read-only: neither tag version can be switched,
    // and nothing that writes or renames from tags is offered.
    boxes.V1.CheckEnabled = checks;
    boxes.V2.CheckEnabled = checks;
    c.FolderList = active;
    c.FileList = active;
    c.Close = active;
    c.Play = loaded;
    return c;
}

}  // namespace tessaly
