// The commands that act on the panes: update, undo, the copies between the
// tag versions, mixed case, the name patterns, play and the hot keys.
#include "editor/TagEditor.h"

#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"
#include "engine/UpdateAudioFile.h"
#include "macros/Macros.h"
#include "patterns/TagsFromFileName.h"
#include "patterns/Utils.h"

namespace tessaly {

namespace {

// The pattern at `index` of `patterns`; nullptr when there is none.
const std::string* PatternAt(const std::vector<std::string>& patterns, int index) {
    if (index < 0 || index >= static_cast<int>(patterns.size())) return nullptr;
    return &patterns[static_cast<size_t>(index)];
}

}  // namespace

void TagEditor::UpdateFromPanes() {
    Changing changing(*this);
    // Busy: nothing else may start while the file is written.
    SetEditorState(EditorMode::Busy);
    const std::string path = SelectedFileKey();
    if (!path.empty()) {
        const AudioFileData saved = CurrentFile;
        CollectPanes();
        bool updated = UpdateAudioFile(path, CurrentFile, UpdateOptionsOf(config_));
        // The tags may change, the audio stream must not. A failed update has
        // said why and left the file as it was: nothing to check then.
        const AudioFileData written = updated ? ReadAudioFile(path) : AudioFileData{};
        if (updated && !SameMPEGData(saved.MPEG, written.MPEG)) {
            CurrentHost().ShowMessage("Error Occurred.  MP3 is invalid", AppTitle,
                                      MessageIcon::None, MessageButtons::OK);
            updated = false;
        }
        // What was written is what the next update builds on: an update that
        // finds the file changed since it was read writes nothing.
        if (updated) CurrentFile = written;
        if (!updated) Fail();
    }
    SetEditorState(EditorMode::Normal);
}

void TagEditor::CopyV1ToV2() {
    EditBoxes([&] { tessaly::CopyV1ToV2(boxes_); });
    SetEditorState(EditorMode::Normal);
}

void TagEditor::CopyV2ToV1() {
    EditBoxes([&] { tessaly::CopyV2ToV1(boxes_); });
    SetEditorState(EditorMode::Normal);
}

void TagEditor::MixedCasePanes() {
    // The panes show the converted text; the record stays as loaded, so Undo
    // brings the previous text back.
    const AudioFileData saved = CurrentFile;
    CollectPanes();
    CurrentFile = MixedCaseAll(CurrentFile);
    ShowTags();
    CurrentFile = saved;
}

void TagEditor::Undo() { ShowTags(); }

void TagEditor::ClearPanes() {
    EditBoxes([&] { ClearBoxes(boxes_); });
    SetEditorState(EditorMode::Normal);
}

void TagEditor::TagsFromFileName() {
    if (const std::string* pattern = PatternAt(config_.TagsByFilePatterns, config_.TagsByFileIndex))
        TagsFromFileNameWith(*pattern);
}

int TagEditor::TagsFromFileNameWith(std::string_view pattern) {
    Changing changing(*this);
    const std::string key = SelectedFileKey();
    if (key.empty()) return 0;
    const auto assignments = tessaly::TagsFromFileName(key, pattern, PatternOptionsOf(config_));
    // The file gets both tag versions when it is next updated.
    SetTagEnabled(1, true);
    SetTagEnabled(2, true);
    EditBoxes([&] { ApplyAssignments(assignments, boxes_); });
    return static_cast<int>(assignments.size());
}

void TagEditor::RenameCurrentFile() {
    if (const std::string* pattern = PatternAt(config_.FileByTagsPatterns, config_.FileByTagsIndex))
        RenameWithPattern(*pattern);
}

int TagEditor::RenamePatternCount() const {
    return static_cast<int>(config_.FileByTagsPatterns.size());
}

void TagEditor::RenameByPattern(int index) {
    if (const std::string* pattern = PatternAt(config_.FileByTagsPatterns, index))
        RenameWithPattern(*pattern);
}

void TagEditor::RenameWithPattern(std::string_view pattern) {
    Changing changing(*this);
    const std::string key = SelectedFileKey();
    if (key.empty()) return;
    const PatternOptions options = PatternOptionsOf(config_);
    const std::string name = BuildNameFromTags(pattern, BoxTexts(boxes_), options, false);
    const RenameResult result = RenameFromTags(key, CurrentFolder(), name, options);
    if (!result.Succeeded()) {
        ShowRenameFailure(result);
        Fail();
        return;
    }
    if (result.Status == RenameStatus::Renamed) FollowRename(files_.Selected(), result.NewPath);
}

void TagEditor::PlaySelectedFile() {
    Changing changing(*this);
    const std::string key = SelectedFileKey();
    if (key.empty()) return;
    if (!CurrentHost().OpenWithDesktop(key)) {
        // Saying nothing would look as if the file played.
        ShowError("No program could be started to play '" + key + "'.", "Error");
        Fail();
    }
}

std::optional<MacroRunResult> TagEditor::HandleHotKey(int keyCode, int shiftCode) {
    Changing changing(*this);
    return DispatchHotKey(config_.MacroTable, keyCode, shiftCode, *this);
}

}  // namespace tessaly
