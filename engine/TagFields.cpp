#include "TagFields.h"

namespace tessaly {

namespace {

using V1 = ID3v1Data;
using V2 = ID3v2Data;

// clang-format off
const std::array<TagField, 12> Table = {{
    {FieldTrack,           &V2::Track,            &V1::Track,    2,  "TRK", "TRCK", 10, 1,  "track",      "Track",           "Track",          "track", "Track #"},
    {FieldArtist,          &V2::Artist,           &V1::Artist,   30, "TP1", "TPE1", 2,  3,  "artist",     "Artist",          "Artist",         "artist", "Artist"},
    {FieldTitle,           &V2::Title,            &V1::Title,    30, "TT2", "TIT2", 9,  2,  "title",      "Title",           "Title",          "title", "Title"},
    {FieldAlbum,           &V2::Album,            &V1::Album,    30, "TAL", "TALB", 1,  4,  "album",      "Album",           "Album",          "album", "Album"},
    {FieldYear,            &V2::Year,             &V1::Year,     4,  "TYE", "TYER", 12, 5,  "year",       "Year",            "Year",           "year", "Year"},
    {FieldGenre,           &V2::Genre,            &V1::Genre,    0,  "TCO", "TCON", 7,  6,  "genre",      "Genre",           "Genre",          "genre", "Genre"},
    {FieldComment,         &V2::Comment,          &V1::Comment,  30, "COM", "COMM", 3,  7,  "comment",    "Comment",         "Comment",        "comment", "Comment"},
    {FieldComposer,        &V2::Composer,         nullptr,       0,  "TCM", "TCOM", 4,  8,  "composer",   "Composer",        "Composer",       "composer", "Composer"},
    {FieldOriginalArtist,  &V2::OriginalArtist,   nullptr,       0,  "TOA", "TOPE", 8,  9,  "origartist", "Original artist", "OriginalArtist", "origartist", "Orig. Artist"},
    {FieldCopyright,       &V2::Copyright,        nullptr,       0,  "TCR", "TCOP", 5,  10, "copyright",  "Copyright",       "Copyright",      "copyright", "Copyright"},
    {FieldURL,             &V2::URL,              nullptr,       0,  "WXX", "WXXX", 11, 11, "url",        "URL",             "URL",            "url", "URL"},
    {FieldEncoder,         &V2::EncodedBy,        nullptr,       0,  "TEN", "TENC", 6,  12, "encoder",    "Encoded by",      "EncodedBy",      "encoder", "Encoder"},
}};
// clang-format on

}  // namespace

const std::array<TagField, 12>& TagFields() { return Table; }

const TagField* TagFieldOf(FieldNumber number) {
    for (const TagField& field : Table)
        if (field.Number == number) return &field;
    return nullptr;
}

const TagField* TagFieldOfFrame(std::string_view id, int majorVersion) {
    for (const TagField& field : Table)
        if (id == (majorVersion <= 2 ? field.V22 : field.V23)) return &field;
    return nullptr;
}

}  // namespace tessaly
