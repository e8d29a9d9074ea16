// The one table of the twelve tag fields. Everything that lists the fields
// (the readers and the writer, the editor's boxes, the command line's options
// and output) walks this table, so a field or an identifier changes in one row.
#pragma once

#include "engine/AudioFileData.h"

#include <array>
#include <string_view>

namespace tessaly {

struct TagField {
    FieldNumber Number;
    std::string ID3v2Data::*V2;  // the record's ID3v2 member
    std::string ID3v1Data::*V1;  // the ID3v1 member; nullptr when ID3v1 has no such field
    // The typing limit of the ID3v1 box, in characters; 0 for the genre (a
    // list) and for fields without an ID3v1 box. ID3v2 boxes have none.
    int V1Limit;
    std::string_view V22;  // frame identifier in a 2.2 tag
    std::string_view V23;  // frame identifier in 2.3 and 2.4 tags (and the one written)
    int WriteRank;         // the order in which a new tag's frames are written
    int PaneRank;          // the order of the boxes in the panes
    std::string_view Box;       // control name after "v1"/"v2": "title", "origartist", ...
    std::string_view Label;     // as the command line prints it (NUL-terminated)
    std::string_view JsonKey;   // the record member's name
    std::string_view Option;    // the command line's option, without "--"
    std::string_view Caption;   // the label of the field's boxes in the window's panes
};

// In the record's order: track, artist, title, album, year, genre, comment,
// composer, original artist, copyright, URL, encoder.
const std::array<TagField, 12>& TagFields();

// The row of `number`; nullptr for FieldNone or a number outside the table.
const TagField* TagFieldOf(FieldNumber number);

// The row whose 2.3/2.4 identifier (or, for `majorVersion` 2, 2.2
// identifier) is `id`; nullptr for any other frame. TDRC, where 2.4 keeps the
// year, is not in the table: the readers and the writer treat it apart.
const TagField* TagFieldOfFrame(std::string_view id, int majorVersion);

}  // namespace tessaly
