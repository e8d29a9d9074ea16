// The file list of the main window without its widget: the rows of the
// selected folder, their columns, the selection and the sort state.
#pragma once

#include "engine/AudioFileData.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// "Filename", "Artist", "Title", "Album", "Genre", "Date".
const std::vector<std::string>& FileListColumns();

// One row: the key is the file's full path, which every action uses; the text
// is its name. Both are the system's bytes (UTF-8 here). The sub-items are the
// artist, title, album and genre as tag text (one byte per character, up to
// the first zero character, as a list cell holds it) and the date.
struct FileRow {
    std::string Key;
    std::string Text;
    std::array<std::string, 5> SubItems;

    // Column 0 is the text, 1-5 the sub-items.
    const std::string& Column(int column) const;
    bool operator==(const FileRow&) const = default;
};

// The row of a file read into `record`: each tag column shows the ID3v2 value
// when it is not empty, else the ID3v1 value.
FileRow MakeFileRow(const std::string& key, const std::string& name, const AudioFileData& record);

// A file time (100-ns intervals since 1601, UTC) as "yyyy/mm/dd hh:mm" in that
// same time, without conversion to local time; "0000/00/00 00:00" for a time
// that names no date. A zero time is "1601/01/01 00:00".
std::string FormatFileDate(int64_t fileTime);

struct FolderListing {
    std::vector<FileRow> Rows;  // in the order the folder enumerates them
    int Unreadable = 0;         // files that could not be opened (rows with empty columns)
    bool Cancelled = false;     // stopped early: the rows are incomplete
};

// The audio files of `folder`: regular files (symbolic links followed) whose
// names end in one of `extensions`, each read whole. Dot-files are listed like
// any other: a hidden file is listed wherever it carries another attribute,
// which every ordinary file does. An unreadable folder gives no rows; a file
// that cannot be opened gets its row with empty tag columns and the date of a
// zero file time, after the reader's message. When `cancelled` is given and
// becomes true, the listing stops before its next file.
FolderListing ListFolder(const std::string& folder, const std::vector<std::string>& extensions,
                         const std::atomic<bool>* cancelled = nullptr);

// True when `path` would have a row in the listing of its folder: its name
// ends in one of `extensions` and it is a regular file (links followed).
bool IsListedFile(const std::string& path, const std::vector<std::string>& extensions);

// The in-place rename's first check: a name with a character no file name
// may hold (\ / : * ? " < > |, or a zero character). The message to show
// with the caption "Rename".
bool HasForbiddenNameCharacter(std::string_view name);
std::string ForbiddenNameMessage();

// True when the extension (the text after the last "." of the name, "" when
// there is none) of `newName` differs from that of `oldPath`, ignoring case.
bool ChangesExtension(const std::string& oldPath, const std::string& newName);

enum class SortOrder { Ascending = 0, Descending = 1 };

// Rows, selection and sorting. Rows are rebuilt whole; in place only a key
// follows a rename and a row goes with a delete.
class FileList {
public:
    const std::vector<FileRow>& Rows() const { return rows_; }
    bool Empty() const { return rows_.empty(); }
    // -1 when no row is selected.
    int Selected() const { return selected_; }
    // The selected row's key, "" when none.
    std::string SelectedKey() const;

    // Replaces the rows, sorted by the sort column, and selects the first.
    void SetRows(std::vector<FileRow> rows);
    // Selects row `index`; out of range selects none.
    void Select(int index);
    int FindKey(std::string_view key) const;
    int FindText(std::string_view text) const;
    void SetRowKey(int index, const std::string& key, const std::string& text);
    void RemoveRow(int index);

    int SortColumn() const { return sortColumn_; }
    SortOrder Order() const { return order_; }
    void SetSort(int column, SortOrder order);
    // A click on a column header: the sort column flips its order, another
    // column becomes the sort column, ascending. The rows follow.
    void ClickColumnHeader(int column);
    // The header image of `column`: "downarrow" for the ascending sort
    // column, "uparrow" for the descending one, "blank" for the others.
    std::string HeaderImage(int column) const;

private:
    void Sort();

    std::vector<FileRow> rows_;
    int selected_ = -1;
    int sortColumn_ = 0;
    SortOrder order_ = SortOrder::Ascending;
};

}  // namespace tessaly
