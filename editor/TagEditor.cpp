// The editor's core: listeners, the boxes, the state, showing and loading.
#include "editor/TagEditor.h"

#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"

#include <algorithm>

namespace tessaly {

TagEditor::TagEditor(Configuration& config, CRegSettings& store) : config_(config), store_(store) {
    files_.SetSort(config_.View.SortKey,
                   config_.View.SortOrder == 1 ? SortOrder::Descending : SortOrder::Ascending);
    // The state of a window with nothing loaded yet.
    controls_ = tessaly::SetEditorState(EditorMode::Normal, CurrentFile, boxes_);
}

int TagEditor::AddListener(Listener listener) {
    listeners_.emplace_back(nextListenerId_, std::move(listener));
    return nextListenerId_++;
}

void TagEditor::RemoveListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void TagEditor::Publish(EditorEventKind kind, BoxId box, int row) {
    const EditorEvent event{kind, box, row};
    // By id, not by position: a listener may add or remove listeners.
    std::vector<int> ids;
    ids.reserve(listeners_.size());
    for (const auto& entry : listeners_) ids.push_back(entry.first);
    for (int id : ids) {
        auto it = std::find_if(listeners_.begin(), listeners_.end(),
                               [id](const auto& entry) { return entry.first == id; });
        if (it == listeners_.end()) continue;
        const Listener listener = it->second;  // the entry may go while it runs
        listener(event);
    }
}

void TagEditor::EditBoxes(const std::function<void()>& change) {
    // Operations nest (mixed case shows the tags); only the outermost one
    // announces, so each box is reported once and the previews built once.
    if (editDepth_++ == 0) boxesBefore_ = boxes_;
    change();
    if (--editDepth_ > 0) return;
    // A copy: a listener may edit again while the changes are announced.
    const PaneBoxes before = boxesBefore_;
    PublishBoxChanges(before);
}

void TagEditor::PublishBoxChanges(const PaneBoxes& before) {
    bool textChanged = false;
    for (BoxId box : AllBoxes()) {
        bool changed;
        if (box.Field == FieldNone) {
            const bool now = box.Version == 1 ? boxes_.V1.Checked : boxes_.V2.Checked;
            changed = now != (box.Version == 1 ? before.V1.Checked : before.V2.Checked);
        } else if (box.Version == 1 && box.Field == FieldGenre) {
            changed = boxes_.V1GenrePosition != before.V1GenrePosition;
        } else {
            const Pane& now = box.Version == 1 ? boxes_.V1 : boxes_.V2;
            const Pane& old = box.Version == 1 ? before.V1 : before.V2;
            changed = now.Boxes[box.Field].Text != old.Boxes[box.Field].Text;
        }
        if (!changed) continue;
        textChanged = textChanged || box.Field != FieldNone;
        Publish(EditorEventKind::BoxChanged, box);
    }
    if (boxes_.Label15 != before.Label15 || boxes_.V2FrameCaption != before.V2FrameCaption)
        Publish(EditorEventKind::CaptionsChanged);
    // The rename previews are built from the boxes: they follow every edit.
    if (textChanged) FillPatternLists();
}

bool TagEditor::IsTagEnabled(int version) const {
    return version == 1 ? boxes_.V1.Checked : boxes_.V2.Checked;
}

void TagEditor::SetBoxText(int version, FieldNumber field, const std::string& text) {
    if (field <= FieldNone || field > FieldEncoder) return;
    if (version == 1 && field == FieldGenre) return SelectV1Genre(text);
    if (version == 1 && field > FieldComment) return;  // the ID3v1 pane has no such box
    Pane& pane = version == 1 ? boxes_.V1 : boxes_.V2;
    EditBoxes([&] { pane.Boxes[field].Text = text; });
}

void TagEditor::SelectV1GenrePosition(int position) {
    if (position < -1 || position >= static_cast<int>(V1GenreEntries().size())) return;
    EditBoxes([&] { boxes_.V1GenrePosition = position; });
}

void TagEditor::SelectV1Genre(const std::string& name) {
    SelectV1GenrePosition(V1GenrePositionOf(name));
}

void TagEditor::SetTagEnabled(int version, bool enabled) {
    Pane& pane = version == 1 ? boxes_.V1 : boxes_.V2;
    EditBoxes([&] { pane.Checked = enabled; });
    // As a click does: every gate follows at once.
    SetEditorState(EditorMode::Normal);
}

bool TagEditor::IsGateOpen(MacroGate gate) const {
    switch (gate) {
        case MacroGate::None:
            return true;
        case MacroGate::MixedCase:
            return controls_.MixedCase;
        case MacroGate::Update:
            return controls_.Update;
        case MacroGate::V1Enabled:
            return boxes_.V1.Checked;
        case MacroGate::V2Enabled:
            return boxes_.V2.Checked;
        case MacroGate::FileByTags:
            return controls_.FileByTags;
        case MacroGate::TagsByFile:
            return controls_.TagsByFile;
        case MacroGate::Undo:
            return controls_.Undo;
        case MacroGate::Play:
            return controls_.Play;
    }
    return false;
}

void TagEditor::SetEditorState(EditorMode mode) {
    controls_ = tessaly::SetEditorState(mode, CurrentFile, boxes_);
    Publish(EditorEventKind::StateChanged);
}

void TagEditor::ShowTags() {
    EditBoxes([&] { ShowRecord(CurrentFile, boxes_); });
    const std::string key = SelectedFileKey();
    if (!key.empty()) {
        windowCaption_ = NameOf(key) + " - " + AppTitle;
        Publish(EditorEventKind::CaptionsChanged);
    }
    stream_ = StreamInfoOf(CurrentFile.MPEG);
    Publish(EditorEventKind::StreamInfoChanged);
    SetEditorState(EditorMode::Normal);
}

void TagEditor::CollectPanes() { tessaly::CollectPanes(boxes_, CurrentFile); }

void TagEditor::LoadSelectedFile() {
    Changing changing(*this);
    if (files_.Empty()) {
        FillPatternLists();
        return;
    }
    const std::string key = SelectedFileKey();
    if (key.empty()) return;
    if (!PathExists(key)) {
        CurrentHost().ShowMessage(
            "Unable to read file.  File may have been moved, renamed, or deleted.",
            "File Access Error", MessageIcon::Critical, MessageButtons::OK);
        Fail();
        return;
    }
    FileTimes times;
    GetFileTimes(key, times);
    if (key != lastFileClick_ || times.Modified != lastFileDate_) {
        Host& host = CurrentHost();
        host.ShowProgress("Loading..");
        host.SetProgress(75);
        CurrentFile = ReadAudioFile(key);
        if (CurrentFile.FileName.empty()) Fail();  // the reader has said why
        ShowTags();
        lastFileClick_ = key;
        lastFileDate_ = times.Modified;
        host.HideProgress();
    }
    FillPatternLists();
    if (pendingRename_) {
        pendingRename_ = false;
        Publish(EditorEventKind::StartLabelEdit);
    }
}

void TagEditor::FillPatternLists() {
    // A file renamed from its tags keeps its own extension; so does the preview.
    patterns_ = BuildPatternLists(config_, BoxTexts(boxes_), FileExtensionOf(SelectedFileKey()));
    Publish(EditorEventKind::PatternListsChanged);
}

void TagEditor::ChoosePattern(PatternListKind list, int patternIndex) {
    const auto& patterns = list == PatternListKind::FileByTags ? config_.FileByTagsPatterns
                                                               : config_.TagsByFilePatterns;
    if (patternIndex < 0 || patternIndex >= static_cast<int>(patterns.size())) return;
    int16_t& current =
        list == PatternListKind::FileByTags ? config_.FileByTagsIndex : config_.TagsByFileIndex;
    current = static_cast<int16_t>(patternIndex);
    FillPatternLists();
    SavePatternIndexes(store_, config_);
}

void TagEditor::ReplacePattern(PatternListKind list, int patternIndex, const std::string& text) {
    auto& patterns = list == PatternListKind::FileByTags ? config_.FileByTagsPatterns
                                                         : config_.TagsByFilePatterns;
    if (patternIndex < 0 || patternIndex >= static_cast<int>(patterns.size())) return;
    patterns[static_cast<size_t>(patternIndex)] = text;
    FillPatternLists();
    SavePatternsAndMacros(store_, config_);
}

}  // namespace tessaly
