// The tag editor of the main window as a model without widgets: the two tag
// panes, the file list of the selected folder, the pattern lists, the stream
// information and captions, and every operation a user reaches on them. The
// GUI binds its widgets to this; the command line and the macros drive the
// same object, so a command behaves the same from a hot key and from a shell.
//
// The panes always edit the file loaded into the global record CurrentFile,
// which the editor reads, collects into and replaces as the program's one
// editor (there is one main window). The editor keeps no globals of its own:
// it works on the configuration and settings store it is given.
//
// Every change is announced to the listeners: each box whose text, check or
// selection changed, each row renamed or removed, and the other parts as a
// whole (state, captions, stream information, a new set of rows, selection,
// pattern lists). A change of box text refreshes the rename previews, so they
// follow typing.
//
// While an operation runs, the editor may call its Host (a question, the
// progress window), and a window's host lets it repaint then. Nothing may
// enter the editor again until the operation is done: IsChanging() says when
// a window must hold back (its timers, finished listings) and try later.
#pragma once

#include "editor/EditorState.h"
#include "editor/FileList.h"
#include "editor/PaneBoxes.h"
#include "editor/PatternLists.h"
#include "editor/StreamInfo.h"
#include "engine/Host.h"
#include "macros/MacroRun.h"
#include "macros/MacroTarget.h"
#include "settings/CRegSettings.h"
#include "settings/Configuration.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

enum class EditorEventKind {
    BoxChanged,           // Box: its text, check mark or genre selection
    StateChanged,         // Controls(), the boxes' Enabled and CheckEnabled
    CaptionsChanged,      // WindowCaption(), Label15, the ID3v2 pane's caption
    StreamInfoChanged,    // Stream()
    FileListChanged,      // Files(): a new set of rows, or the same rows re-sorted
    RowChanged,           // Row: its key and text (a rename)
    RowRemoved,           // Row: gone; the rows after it moved up one place
    SelectionChanged,     // the selected row
    PatternListsChanged,  // Patterns()
    StartLabelEdit,       // begin the in-place rename of the selected row now
};

struct EditorEvent {
    EditorEventKind Kind = EditorEventKind::BoxChanged;
    BoxId Box;     // for BoxChanged
    int Row = -1;  // for RowChanged and RowRemoved
};

// A folder to list away from the editor's thread (RunListing), handed back
// with FinishListing. A later request cancels it.
struct ListingRequest {
    std::string Folder;
    std::vector<std::string> Extensions;
    uint64_t Generation = 0;
    std::shared_ptr<std::atomic<bool>> Cancelled;
};

struct ListingResult {
    uint64_t Generation = 0;
    FolderListing Listing;
    // What the readers had to say, shown by FinishListing on the editor's
    // thread in the order it was said.
    std::vector<CollectedMessage> Messages;
};

// Lists the request's folder. Safe on any thread: it never reaches the
// process's Host, and stops early once the request is cancelled.
ListingResult RunListing(const ListingRequest& request);

class TagEditor final : public MacroTarget {
public:
    // Both must outlive the editor. Choosing a pattern writes the current
    // indexes to `store`; sorting the list changes `config`'s view settings.
    TagEditor(Configuration& config, CRegSettings& store);

    using Listener = std::function<void(const EditorEvent&)>;
    // Returns an id for RemoveListener. A listener removed while an event is
    // announced gets no later events.
    int AddListener(Listener listener);
    void RemoveListener(int id);
    // True while an operation of the editor runs (see above).
    bool IsChanging() const { return changing_ > 0; }

    // --- The panes ----------------------------------------------------------
    const PaneBoxes& Boxes() const { return boxes_; }
    // The held text of a box (up to its first zero character); for v1genre
    // the selected entry.
    std::string BoxText(BoxId box) const { return tessaly::BoxText(boxes_, box); }
    bool IsTagEnabled(int version) const;
    const EditorControls& Controls() const { return controls_; }
    const StreamInfo& Stream() const { return stream_; }
    // NameOf(selected key) + " - Tessaly" once a file was shown, else "Tessaly".
    const std::string& WindowCaption() const { return windowCaption_; }

    // Typing into a box (v1genre: selecting the entry of that name).
    void SetBoxText(int version, FieldNumber field, const std::string& text) override;
    // Choosing entry `position` of the v1genre list (V1GenreEntries()).
    void SelectV1GenrePosition(int position);
    void SelectV1Genre(const std::string& name) override;
    // A click on v1enabled / v2enabled.
    void SetTagEnabled(int version, bool enabled) override;
    bool IsGateOpen(MacroGate gate) const override;

    void SetEditorState(EditorMode mode);
    // Shows CurrentFile in the panes, the stream information and the caption.
    void ShowTags();
    // Copies the panes into CurrentFile.
    void CollectPanes();
    // Reads the selected file into the panes unless it is the one already
    // loaded and unchanged on disk, whose pane edits are then kept.
    void LoadSelectedFile();
    // Writes the panes to the selected file and checks the stream read back.
    void UpdateFromPanes() override;
    void CopyV1ToV2() override;
    void CopyV2ToV1() override;
    void MixedCasePanes() override;
    void Undo() override;
    void ClearPanes();
    void TagsFromFileName() override;
    // Tags from the selected file's name by `pattern` (a pattern's text).
    // Returns how many fields the name gave.
    int TagsFromFileNameWith(std::string_view pattern);
    void RenameCurrentFile() override;
    int RenamePatternCount() const override;
    void RenameByPattern(int index) override;
    // Renames the selected file by `pattern` (a pattern's text).
    void RenameWithPattern(std::string_view pattern);
    void PlaySelectedFile() override;
    // The main window's key handler: runs the first macro bound to the key;
    // nullopt when none is. The key is not consumed.
    std::optional<MacroRunResult> HandleHotKey(int keyCode, int shiftCode);

    // --- The folder and the file list ---------------------------------------
    // The folder tree reports its selection: a path, or "Desktop" for the
    // desktop folder. When the folder changed, its files are listed (the
    // panes are cleared) and true is returned; the caller then loads the
    // selected file.
    bool SetSelectedFolder(const std::string& selection);
    // The selected folder, ending in "/"; "" before one was selected.
    std::string CurrentFolder() const;
    // The folder menu's Rename and Delete: disabled on the desktop item.
    bool FolderMenuEnabled() const { return folderSelection_ != "Desktop"; }
    // Lists the current folder again (F5).
    void RefreshFolder();

    // The same two for a window that lists away from its thread: the folder
    // becomes the current one at once, with no rows, and the listing to run
    // is returned (nullopt when the folder did not change). A listing that
    // comes back to FinishListing after a later request is dropped (false);
    // otherwise its rows replace the list, the first selected, and the
    // caller then loads the selected file.
    std::optional<ListingRequest> RequestFolder(const std::string& selection);
    ListingRequest RequestRefresh();
    bool FinishListing(ListingResult result);
    // Stops the listing running elsewhere; its result will be dropped.
    void CancelListing();
    // True from a request until its listing was finished.
    bool ListingPending() const { return listingPending_; }
    const FileList& Files() const { return files_; }
    std::string SelectedFileKey() const { return files_.SelectedKey(); }
    // A click on a row; a newly selected file is loaded.
    void SelectRow(int index);
    void ClickColumnHeader(int column);
    // Shows `path` as a path given on the command line does: its folder is
    // selected (and listed unless it is the current one), its row selected
    // and the file loaded. False when it has no row or could not be loaded.
    bool OpenFile(const std::string& path);
    // Shows `path` as the only row of the list of its folder, without
    // listing the folder: the file is listed by the same rule (a listed
    // extension, a regular file after following links), read once and
    // loaded. The cost is that of the one file, whatever its folder holds,
    // and no other file is opened. False when it has no row or could not be
    // read (the reader has said why).
    bool OpenSingleFile(const std::string& path);

    // The list menu's Rename: true when the label edit may start now; else
    // it starts (StartLabelEdit) once the selected file is loaded.
    bool BeginRename();
    bool PendingRename() const { return pendingRename_; }
    // The end of the label edit with the new name (a file name in the
    // system's encoding). False cancels the edit: the row keeps its name.
    bool FinishRename(const std::string& newName);
    // The list menu's Delete: asks, then deletes the selected file for good.
    bool DeleteSelectedFile();

    // --- The pattern lists --------------------------------------------------
    const PatternLists& Patterns() const { return patterns_; }
    void FillPatternLists();
    // Clicking or checking an item: its pattern becomes the current one and
    // both current indexes are saved.
    void ChoosePattern(PatternListKind list, int patternIndex);
    // The pattern editor opened from a list item closed with OK: the entry is
    // replaced and the patterns and macros are saved.
    void ReplacePattern(PatternListKind list, int patternIndex, const std::string& text);

    // How many operations have failed (a message was shown) since the editor
    // was made; front ends compare it around a command.
    int Failures() const { return failures_; }
    // Files of the last listing that could not be opened.
    int UnreadableFiles() const { return unreadableFiles_; }

private:
    void Publish(EditorEventKind kind, BoxId box = {}, int row = -1);
    // Runs `change` on the boxes and announces what it changed.
    void EditBoxes(const std::function<void()>& change);
    void PublishBoxChanges(const PaneBoxes& before);
    void ListCurrentFolder();
    ListingRequest StartListing();
    // The request for the current folder, superseding any before it.
    ListingRequest NextListing();
    void ApplyListing(FolderListing listing);
    // Marks an operation of the editor for IsChanging.
    struct Changing {
        explicit Changing(TagEditor& editor) : editor_(editor) { ++editor_.changing_; }
        ~Changing() { --editor_.changing_; }
        Changing(const Changing&) = delete;
        Changing& operator=(const Changing&) = delete;
        TagEditor& editor_;
    };
    void ForgetLoadedFile();
    void FollowRename(int row, const std::string& newPath);
    void Fail() { ++failures_; }

    Configuration& config_;
    CRegSettings& store_;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListenerId_ = 1;
    int changing_ = 0;

    PaneBoxes boxes_;
    PaneBoxes boxesBefore_;
    int editDepth_ = 0;
    EditorControls controls_;
    StreamInfo stream_;
    std::string windowCaption_ = AppTitle;

    FileList files_;
    std::string folderSelection_;
    std::string listedFolder_;
    uint64_t listingGeneration_ = 0;
    std::shared_ptr<std::atomic<bool>> listingCancelled_;
    bool listingPending_ = false;
    std::string lastFileClick_;
    int64_t lastFileDate_ = 0;
    bool pendingRename_ = false;
    PatternLists patterns_;

    int failures_ = 0;
    int unreadableFiles_ = 0;
};

}  // namespace tessaly
