#include "TagFields.h"

namespace tessaly {

namespace {

using V1 = ID3v1Data;
using V2 = ID3v2Data;

// clang-format off
const std::array<TagField, 12> Table = {{
    {FieldTrack,          &V2::Track,          &V1::Track,   2,  "TRK", "TRCK", 10, "track",      "Track",           "Track",          "track"},
    {FieldTitle,          &V2::Title,          &V1::Title,   30, "TT2", "TIT2", 9,  "title",      "Title",           "Title",          "title"},
    {FieldArtist,         &V2::Artist,         &V1::Artist,  30, "TP1", "TPE1", 2,  "artist",     "Artist",          "Artist",         "artist"},
    {FieldAlbum,          &V2::Album,          &V1::Album,   30, "TAL", "TALB", 1,  "album",      "Album",           "Album",          "album"},
    {FieldYear,           &V2::Year,           &V1::Year,    4,  "TYE", "TYER", 12, "year",       "Year",            "Year",           "year"},
    {FieldGenre,          &V2::Genre,          &V1::Genre,   0,  "TCO", "TCON", 7,  "genre",      "Genre",           "Genre",          "genre"},
    {FieldComment,        &V2::Comment,        &V1::Comment, 30, "COM", "COMM", 3,  "comment",    "Comment",         "Comment",        "comment"},
    {FieldComposer,       &V2::Composer,       nullptr,      0,  "TCM", "TCOM", 4,  "composer",   "Composer",        "Composer",       "composer"},
    {FieldOriginalArtist, &V2::OriginalArtist, nullptr,      0,  "TOA", "TOPE", 8,  "origartist", "Original artist", "OriginalArtist", "origartist"},
    {FieldCopyright,      &V2::Copyright,      nullptr,      0,  "TCR", "TCOP", 5,  "copyright",  "Copyright",       "Copyright",      "copyright"},
    {FieldURL,            &V2::URL,            nullptr,      0,  "WXX", "WXXX", 11, "url",        "URL",             "URL",            "url"},
    {FieldEncoder,        &V2::EncodedBy,      nullptr,      0,  "TEN", "TENC", 6,  "encoder",    "Encoded by",      "EncodedBy",      "encoder"},
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
