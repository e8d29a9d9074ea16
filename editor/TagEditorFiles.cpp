// The folder and the file list: listing, selecting, sorting, the in-place
// rename and delete.
#include "editor/TagEditor.h"

#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"
#include "patterns/Rename.h"
#include "patterns/Utils.h"

namespace tessaly {

bool TagEditor::SetSelectedFolder(const std::string& selection) {
    folderSelection_ = selection;
    if (CurrentFolder() == listedFolder_) return false;
    ListCurrentFolder();
    return true;
}

ListingResult RunListing(const ListingRequest& request) {
    CollectingHost host;
    ScopedThreadHost scope(host);
    ListingResult result;
    result.Generation = request.Generation;
    if (!request.Folder.empty())
        result.Listing = ListFolder(request.Folder, request.Extensions, request.Cancelled.get());
    result.Messages = std::move(host.Messages);
    return result;
}

ListingRequest TagEditor::NextListing() {
    // A listing still running elsewhere is superseded by the new one.
    CancelListing();
    listingCancelled_ = std::make_shared<std::atomic<bool>>(false);
    listedFolder_ = CurrentFolder();
    return {listedFolder_, config_.Extensions, ++listingGeneration_, listingCancelled_};
}

void TagEditor::CancelListing() {
    if (listingCancelled_) listingCancelled_->store(true);
    listingPending_ = false;
}

ListingRequest TagEditor::StartListing() {
    Changing changing(*this);
    ListingRequest request = NextListing();
    // Rows of the folder before must not be acted on while this one lists.
    ApplyListing({});
    listingPending_ = true;
    return request;
}

std::optional<ListingRequest> TagEditor::RequestFolder(const std::string& selection) {
    folderSelection_ = selection;
    if (CurrentFolder() == listedFolder_) return std::nullopt;
    return StartListing();
}

ListingRequest TagEditor::RequestRefresh() { return StartListing(); }

bool TagEditor::FinishListing(ListingResult result) {
    if (result.Generation != listingGeneration_ || !listingPending_ || result.Listing.Cancelled)
        return false;
    Changing changing(*this);
    for (const CollectedMessage& message : result.Messages)
        CurrentHost().ShowMessage(message.Text, message.Caption, message.Icon, message.Buttons);
    ApplyListing(std::move(result.Listing));
    return true;
}

std::string TagEditor::CurrentFolder() const {
    if (folderSelection_.empty()) return "";
    std::string folder = folderSelection_ == "Desktop" ? SpecialFolderPath() : folderSelection_;
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

void TagEditor::RefreshFolder() { ListCurrentFolder(); }

void TagEditor::ListCurrentFolder() {
    Changing changing(*this);
    const ListingRequest request = NextListing();
    FolderListing listing;
    if (!request.Folder.empty()) listing = ListFolder(request.Folder, request.Extensions);
    ApplyListing(std::move(listing));
}

void TagEditor::ApplyListing(FolderListing listing) {
    listingPending_ = false;
    unreadableFiles_ = listing.Unreadable;
    files_.SetRows(std::move(listing.Rows));
    Publish(EditorEventKind::FileListChanged);
    Publish(EditorEventKind::SelectionChanged);
    ForgetLoadedFile();
}

void TagEditor::ForgetLoadedFile() {
    ClearCurrentFile();
    // Forgetting which file was loaded makes the next load read it again,
    // instead of keeping the panes that were just emptied.
    lastFileClick_.clear();
    lastFileDate_ = 0;
    // Stream information and caption describe a file no longer shown.
    stream_ = {};
    Publish(EditorEventKind::StreamInfoChanged);
    windowCaption_ = AppTitle;
    Publish(EditorEventKind::CaptionsChanged);
    ClearPanes();
}

void TagEditor::SelectRow(int index) {
    Changing changing(*this);
    const std::string before = SelectedFileKey();
    files_.Select(index);
    Publish(EditorEventKind::SelectionChanged);
    const std::string key = SelectedFileKey();
    if (key != before && !key.empty()) LoadSelectedFile();
}

void TagEditor::ClickColumnHeader(int column) {
    Changing changing(*this);
    files_.ClickColumnHeader(column);
    config_.View.SortKey = files_.SortColumn();
    config_.View.SortOrder = files_.Order() == SortOrder::Descending ? 1 : 0;
    Publish(EditorEventKind::FileListChanged);
}

bool TagEditor::OpenFile(const std::string& path) {
    Changing changing(*this);
    const std::string folder = FolderOf(path);
    SetSelectedFolder(folder.empty() ? "./" : folder);
    const int row = files_.FindText(NameOf(path));
    if (row < 0) return false;
    files_.Select(row);
    Publish(EditorEventKind::SelectionChanged);
    LoadSelectedFile();
    return !CurrentFile.FileName.empty() && CurrentFile.FileName == SelectedFileKey();
}

bool TagEditor::OpenSingleFile(const std::string& path) {
    Changing changing(*this);
    const std::string folder = FolderOf(path);
    folderSelection_ = folder.empty() ? "./" : folder;
    listedFolder_ = CurrentFolder();
    const std::string key = listedFolder_ + NameOf(path);
    std::vector<FileRow> rows;
    AudioFileData record;
    FileTimes times;
    Host& host = CurrentHost();
    if (IsListedFile(key, config_.Extensions)) {
        host.ShowProgress("Loading..");
        host.SetProgress(75);
        GetFileTimes(key, times);
        record = ReadAudioFile(key);
        host.HideProgress();
        rows.push_back(MakeFileRow(key, NameOf(key), record));
    }
    unreadableFiles_ = !rows.empty() && record.FileName.empty() ? 1 : 0;
    files_.SetRows(std::move(rows));
    Publish(EditorEventKind::FileListChanged);
    Publish(EditorEventKind::SelectionChanged);
    ForgetLoadedFile();
    if (files_.Empty()) return false;
    if (unreadableFiles_ != 0) {  // the reader has said why; reading again would say it twice
        Fail();
        return false;
    }
    // The row's read is the load's read: the file was read a moment ago.
    CurrentFile = std::move(record);
    ShowTags();
    lastFileClick_ = key;
    lastFileDate_ = times.Modified;
    FillPatternLists();
    return true;
}

bool TagEditor::BeginRename() {
    const std::string key = SelectedFileKey();
    if (key.empty()) return false;
    if (key == CurrentFile.FileName) return true;
    pendingRename_ = true;
    return false;
}

bool TagEditor::FinishRename(const std::string& newName) {
    Changing changing(*this);
    const int row = files_.Selected();
    const std::string key = SelectedFileKey();
    if (row < 0) return false;
    Host& host = CurrentHost();
    if (HasForbiddenNameCharacter(newName)) {
        host.ShowMessage(ForbiddenNameMessage(), "Rename", MessageIcon::Critical,
                         MessageButtons::OK);
        return false;
    }
    if (ChangesExtension(key, newName) &&
        host.ShowMessage("If you change a filename extension, the file may become unusable.\n\n"
                         "Are you sure you want to change it?",
                         "Rename", MessageIcon::Question,
                         MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    const RenameResult result = RenameFileNoReplace(key, CurrentFolder() + newName);
    if (!result.Succeeded()) {
        ShowRenameFailure(result);
        Fail();
        return false;
    }
    pendingRename_ = false;
    if (result.Status == RenameStatus::Renamed) FollowRename(row, result.NewPath);
    return true;
}

void TagEditor::FollowRename(int row, const std::string& newPath) {
    const std::string oldPath = files_.Rows()[static_cast<size_t>(row)].Key;
    files_.SetRowKey(row, newPath, NameOf(newPath));
    Publish(EditorEventKind::RowChanged, {}, row);
    // The loaded file is still the same file under its new name: the panes
    // keep their edits and the next load does not reread it.
    if (lastFileClick_ == oldPath) lastFileClick_ = newPath;
    if (CurrentFile.FileName == oldPath) {
        CurrentFile.FileName = newPath;
        windowCaption_ = NameOf(newPath) + " - " + AppTitle;
        Publish(EditorEventKind::CaptionsChanged);
    }
}

bool TagEditor::DeleteSelectedFile() {
    Changing changing(*this);
    const int row = files_.Selected();
    const std::string key = SelectedFileKey();
    if (row < 0) return false;
    if (CurrentHost().ShowMessage("Delete " + key + "\n\nAre You Sure?", "Confirm",
                                  MessageIcon::Question,
                                  MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    if (!FileDelete(key)) {
        ShowError(ErrorDescription(LastFileError()), "Error");
        Fail();
        return false;
    }
    files_.RemoveRow(row);
    Publish(EditorEventKind::RowRemoved, {}, row);
    Publish(EditorEventKind::SelectionChanged);
    // The panes showed a file that is gone; with nothing loaded, Update and
    // the name tools are disabled.
    if (key == CurrentFile.FileName) ForgetLoadedFile();
    return true;
}

}  // namespace tessaly
