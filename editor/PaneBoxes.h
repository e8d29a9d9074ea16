// The boxes of the two tag panes, without widgets: what each holds, whether it
// is enabled, and the rules that move text between the boxes and a record.
//
// A box holds tag text (UTF-8) exactly as it was put in. A
// native text box holds text only up to its first zero character, so every
// rule that reads a box the way the window would (collecting, copying,
// previews) reads its held text, which stops there.
#pragma once

#include "engine/AudioFileData.h"
#include "patterns/Rename.h"
#include "patterns/TagsFromFileName.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Names one control of a pane: version 1 or 2, and a field number; FieldNone
// names the pane's check box (v1enabled, v2enabled). The ID3v1 pane has boxes
// for fields 1-7 only, and its genre is a list selection.
struct BoxId {
    int Version = 1;
    FieldNumber Field = FieldNone;

    bool operator==(const BoxId&) const = default;
};

// The control's name: "v1enabled", "v1title", "v2origartist", ...
std::string BoxName(BoxId box);

// Every control of both panes, check boxes first, in the order of the panes.
const std::vector<BoxId>& AllBoxes();

// The most characters a user can type into the box; 0 for no limit. Text the
// program puts there (a loaded tag, a copy) is never cut to it.
int BoxTypingLimit(BoxId box);
// `text` cut to the box's typing limit, as typing it would leave it.
std::string TypedText(BoxId box, std::string_view text);

// Text up to the first zero character: what a native text box holds.
std::string_view HeldText(std::string_view text);

struct TextBox {
    std::string Text;
    bool Enabled = true;

    bool operator==(const TextBox&) const = default;
};

struct Pane {
    bool Checked = false;      // the tag-enabled check box
    bool CheckEnabled = true;  // whether the check box can be clicked
    std::array<TextBox, 13> Boxes;  // by field number; unused entries stay empty

    bool operator==(const Pane&) const = default;
};

struct PaneBoxes {
    Pane V1;
    Pane V2;
    // v1genre: -1 nothing selected, 0 the empty first entry, p >= 1
    // SortedGenreNames[p - 1]. Its enabled state is V1.Boxes[FieldGenre].
    int V1GenrePosition = -1;
    // The label of v2origartist and the ID3v2 pane's caption change with the
    // kind of file shown.
    std::string Label15 = "Orig. Artist";
    std::string V2FrameCaption = "ID3v2 Tag Information";

    bool operator==(const PaneBoxes&) const = default;
};

// The entries of the ID3v1 genre list: "" first, then SortedGenreNames.
const std::vector<std::string>& V1GenreEntries();
// The list position that shows `name` (case-insensitively), 0 when no genre
// has that name.
int V1GenrePositionOf(const std::string& name);
// The text of the selected ID3v1 genre entry, "" for none or the empty entry.
std::string V1GenreText(const PaneBoxes& boxes);

// The held text of a text box; for the ID3v1 genre, the selected entry.
std::string BoxText(const PaneBoxes& boxes, BoxId box);

// Fills the boxes from `record` as the tags are shown: both check boxes, every
// field of both panes, the captions. A Windows Media file shows only its
// title, author, copyright, description and rating, with both check boxes
// cleared and disabled.
void ShowRecord(const AudioFileData& record, PaneBoxes& boxes);

// Copies the boxes into the tag parts of `record`, trimmed as the panes
// collect: track and year (and the ID3v2 genre) lose spaces at both ends,
// every other text its trailing spaces. A box that still holds the record's
// own text leaves that field of `record` as it is.
void CollectPanes(const PaneBoxes& boxes, AudioFileData& record);

// Unchecks both panes, empties every text box and selects the empty genre.
void ClearBoxes(PaneBoxes& boxes);

// "Copy from ID3v1": the ID3v1 texts into the ID3v2 boxes and v2enabled ticked.
void CopyV1ToV2(PaneBoxes& boxes);
// "Copy to ID3v1": the ID3v2 texts into the ID3v1 boxes, the track as its
// plain decimal value ("" for 0), the genre selected by name; v1enabled ticked.
void CopyV2ToV1(PaneBoxes& boxes);

// Writes the values read from a file name into their boxes.
void ApplyAssignments(const std::vector<FieldAssignment>& assignments, PaneBoxes& boxes);

// The boxes' held texts as the name patterns read them.
TagBoxTexts BoxTexts(const PaneBoxes& boxes);

}  // namespace tessaly
