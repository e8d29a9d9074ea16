#include "editor/FileList.h"

#include "editor/PaneBoxes.h"
#include "engine/FileIO.h"
#include "engine/TagFields.h"
#include "engine/Utf8Text.h"
#include "engine/ReadAudioFile.h"
#include "patterns/Utils.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace tessaly {

namespace {

constexpr int64_t FileTimeTicksPerMinute = 10'000'000LL * 60;

std::string ShownTag(const std::string& v2, const std::string& v1) {
    return std::string(HeldText(v2.empty() ? v1 : v2));
}

std::string ExtensionOfName(std::string_view name) {
    size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

// What the list compares: the column's text without regard to case. File
// names are decoded first, so "É" sorts with "é".
std::string SortText(const FileRow& row, int column) {
    const std::string& text = row.Column(column);
    return UpperCase(column == 0 ? FileNameToTagText(text) : text);
}

}  // namespace

const std::vector<std::string>& FileListColumns() {
    static const std::vector<std::string> columns{"Filename", "Artist", "Title",
                                                  "Album",    "Genre",  "Date"};
    return columns;
}

const std::string& FileRow::Column(int column) const {
    if (column >= 1 && column <= 5) return SubItems[static_cast<size_t>(column - 1)];
    return Text;
}

FileRow MakeFileRow(const std::string& key, const std::string& name, const AudioFileData& record) {
    FileRow row{key, name, {}};
    // The tag columns, in the order of FileListColumns, then the date.
    size_t column = 0;
    for (FieldNumber number : {FieldArtist, FieldTitle, FieldAlbum, FieldGenre}) {
        const TagField& field = *TagFieldOf(number);
        row.SubItems[column++] = ShownTag(record.ID3v2.*field.V2, record.ID3v1.*field.V1);
    }
    row.SubItems[column] = FormatFileDate(record.Modified);
    return row;
}

std::string FormatFileDate(int64_t fileTime) {
    if (fileTime < 0) return "0000/00/00 00:00";
    using namespace std::chrono;
    const int64_t minutes = fileTime / FileTimeTicksPerMinute;
    const year_month_day date{sys_days{year{1601} / January / 1} +
                              days{static_cast<int>(minutes / 1440)}};
    const int minuteOfDay = static_cast<int>(minutes % 1440);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02u/%02u %02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  minuteOfDay / 60, minuteOfDay % 60);
    return text;
}

FolderListing ListFolder(const std::string& folderPath, const std::vector<std::string>& extensions,
                         const std::atomic<bool>* cancelled) {
    namespace fs = std::filesystem;
    std::string folder = folderPath;
    if (folder.empty() || folder.back() != '/') folder += '/';

    // Names first, then the reads, so the enumeration is closed before any
    // file is opened.
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        std::error_code typeError;
        // Only regular files: a FIFO or a device would block or make no sense.
        if (!HasListedExtension(name, extensions) || !it->is_regular_file(typeError)) continue;
        names.push_back(std::move(name));
    }

    FolderListing listing;
    for (const std::string& name : names) {
        if (cancelled && cancelled->load(std::memory_order_relaxed)) {
            listing.Cancelled = true;
            break;
        }
        const std::string key = folder + name;
        AudioFileData record = ReadAudioFile(key);
        if (record.FileName.empty()) ++listing.Unreadable;
        listing.Rows.push_back(MakeFileRow(key, name, record));
    }
    return listing;
}

bool IsListedFile(const std::string& path, const std::vector<std::string>& extensions) {
    std::error_code error;
    return HasListedExtension(NameOf(path), extensions) &&
           std::filesystem::is_regular_file(path, error);
}

bool HasForbiddenNameCharacter(std::string_view name) {
    return name.find_first_of(std::string_view("\\/:*?\"<>|\0", 10)) != std::string_view::npos;
}

std::string ForbiddenNameMessage() {
    return "A filename cannot contain any of the following characters:\n\n"
           "          \\ / : * ? \" < > |";
}

bool ChangesExtension(const std::string& oldPath, const std::string& newName) {
    std::string oldName = oldPath.substr(oldPath.rfind('/') + 1);
    return !EqualsIgnoringCase(ExtensionOfName(oldName), ExtensionOfName(newName));
}

std::string FileList::SelectedKey() const {
    return selected_ >= 0 ? rows_[static_cast<size_t>(selected_)].Key : std::string();
}

void FileList::SetRows(std::vector<FileRow> rows) {
    rows_ = std::move(rows);
    selected_ = -1;
    Sort();
    selected_ = rows_.empty() ? -1 : 0;
}

void FileList::Select(int index) {
    selected_ = index >= 0 && index < static_cast<int>(rows_.size()) ? index : -1;
}

int FileList::FindKey(std::string_view key) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].Key == key) return static_cast<int>(i);
    return -1;
}

int FileList::FindText(std::string_view text) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].Text == text) return static_cast<int>(i);
    return -1;
}

void FileList::SetRowKey(int index, const std::string& key, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    rows_[static_cast<size_t>(index)].Key = key;
    rows_[static_cast<size_t>(index)].Text = text;
}

void FileList::RemoveRow(int index) {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    rows_.erase(rows_.begin() + index);
    // The selection went with the row; rows after it move up one place.
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
}

void FileList::SetSort(int column, SortOrder order) {
    sortColumn_ = std::clamp(column, 0, 5);
    order_ = order;
    Sort();
}

void FileList::ClickColumnHeader(int column) {
    if (column == sortColumn_)
        SetSort(column, order_ == SortOrder::Ascending ? SortOrder::Descending
                                                       : SortOrder::Ascending);
    else
        SetSort(column, SortOrder::Ascending);
}

std::string FileList::HeaderImage(int column) const {
    if (column != sortColumn_) return "blank";
    return order_ == SortOrder::Ascending ? "downarrow" : "uparrow";
}

void FileList::Sort() {
    const std::string selectedKey = SelectedKey();
    std::vector<std::pair<std::string, FileRow>> keyed;
    keyed.reserve(rows_.size());
    for (FileRow& row : rows_) keyed.emplace_back(SortText(row, sortColumn_), std::move(row));
    const bool descending = order_ == SortOrder::Descending;
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
        return descending ? b.first < a.first : a.first < b.first;
    });
    rows_.clear();
    for (auto& entry : keyed) rows_.push_back(std::move(entry.second));
    if (selected_ >= 0) selected_ = FindKey(selectedKey);
}

}  // namespace tessaly
