#include "editor/PaneBoxes.h"

#include "engine/TagFields.h"
#include "engine/Utf8Text.h"
#include "engine/id3tag/Genres.h"
#include "patterns/NumericValue.h"

namespace tessaly {

namespace {

std::string TrimBoth(std::string_view text) {
    text = HeldText(text);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

std::string TrimEnd(std::string_view text) {
    text = HeldText(text);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

std::string& Text(Pane& pane, FieldNumber field) { return pane.Boxes[field].Text; }
const std::string& Text(const Pane& pane, FieldNumber field) { return pane.Boxes[field].Text; }

// What a Windows Media content description fills: title, author, copyright,
// description and rating.
bool ShownForASF(FieldNumber field) {
    return field == FieldTitle || field == FieldArtist || field == FieldCopyright ||
           field == FieldComment || field == FieldOriginalArtist;
}

// Track, year and the ID3v2 genre are trimmed at both ends when collected or
// copied; every other text only at its end.
bool TrimmedAtBothEnds(FieldNumber field) {
    return field == FieldTrack || field == FieldYear || field == FieldGenre;
}

std::string Collected(FieldNumber field, std::string_view text) {
    return TrimmedAtBothEnds(field) ? TrimBoth(text) : TrimEnd(text);
}

// A box still showing what the record put there gives the record's text back
// untouched (spaces, everything after a zero character, the values of a
// frame with several), so the update keeps that field's frame as it was.
void CollectBox(const Pane& pane, FieldNumber field, std::string& value) {
    const std::string& text = pane.Boxes[field].Text;
    if (text != value) value = Collected(field, text);
}

constexpr FieldNumber V1TextFields[] = {FieldTrack, FieldTitle, FieldArtist,
                                        FieldAlbum, FieldYear,  FieldComment};

}  // namespace

std::string BoxName(BoxId box) {
    static const char* const names[] = {"enabled", "artist",   "album",      "title",
                                        "track",   "year",     "genre",      "comment",
                                        "composer", "origartist", "copyright", "url",
                                        "encoder"};
    std::string prefix = box.Version == 1 ? "v1" : "v2";
    if (box.Field < FieldNone || box.Field > FieldEncoder) return prefix;
    return prefix + names[box.Field];
}

const std::vector<BoxId>& AllBoxes() {
    static const std::vector<BoxId> boxes = [] {
        std::vector<BoxId> all;
        for (int version : {1, 2}) {
            all.push_back({version, FieldNone});
            for (const TagField& f : TagFields()) {
                if (version == 1 && f.V1 == nullptr) continue;
                all.push_back({version, f.Number});
            }
        }
        return all;
    }();
    return boxes;
}

int BoxTypingLimit(BoxId box) {
    const TagField* field = TagFieldOf(box.Field);
    return box.Version == 1 && field != nullptr ? field->V1Limit : 0;
}

std::string TypedText(BoxId box, std::string_view text) {
    const int limit = BoxTypingLimit(box);
    return std::string(limit > 0 ? FirstCharacters(text, static_cast<size_t>(limit)) : text);
}

std::string_view HeldText(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

const std::vector<std::string>& V1GenreEntries() {
    static const std::vector<std::string> entries = [] {
        std::vector<std::string> list{""};
        list.insert(list.end(), SortedGenreNames.begin(), SortedGenreNames.end());
        return list;
    }();
    return entries;
}

int V1GenrePositionOf(const std::string& name) {
    return GenreIndex(name, true) + 1;  // -1 (no such genre) selects the empty entry
}

std::string V1GenreText(const PaneBoxes& boxes) {
    int position = boxes.V1GenrePosition;
    if (position < 1 || position > static_cast<int>(SortedGenreNames.size())) return "";
    return SortedGenreNames[static_cast<size_t>(position - 1)];
}

std::string BoxText(const PaneBoxes& boxes, BoxId box) {
    if (box.Field <= FieldNone || box.Field > FieldEncoder) return "";
    if (box.Version == 1 && box.Field == FieldGenre) return V1GenreText(boxes);
    const Pane& pane = box.Version == 1 ? boxes.V1 : boxes.V2;
    return std::string(HeldText(Text(pane, box.Field)));
}

void ShowRecord(const AudioFileData& record, PaneBoxes& boxes) {
    const ID3v1Data& v1 = record.ID3v1;
    boxes.V1.Checked = v1.Present;
    Text(boxes.V1, FieldTrack) = v1.Track;
    Text(boxes.V1, FieldTitle) = v1.Title;
    Text(boxes.V1, FieldArtist) = v1.Artist;
    Text(boxes.V1, FieldAlbum) = v1.Album;
    Text(boxes.V1, FieldYear) = v1.Year;
    Text(boxes.V1, FieldComment) = v1.Comment;
    boxes.V1GenrePosition = V1GenrePositionOf(v1.Genre);

    // Whether the check boxes can be clicked is the editor state's business;
    // it is set right after the tags are shown.
    const ID3v2Data& v2 = record.ID3v2;
    const bool asf = v2.IsASF;
    boxes.V2.Checked = v2.Present && !asf;
    for (const TagField& f : TagFields()) {
        // A Windows Media file leaves nothing of the previous file behind.
        Text(boxes.V2, f.Number) = !asf || ShownForASF(f.Number) ? v2.*f.V2 : std::string();
    }
    boxes.Label15 = asf ? "Rating" : "Orig. Artist";
    boxes.V2FrameCaption = asf ? "Windows Media Information (read-only)" : "ID3v2 Information";
}

void CollectPanes(const PaneBoxes& boxes, AudioFileData& record) {
    ID3v1Data& v1 = record.ID3v1;
    v1.Present = boxes.V1.Checked;
    for (const TagField& field : TagFields()) {
        if (field.V1 != nullptr && field.Number != FieldGenre)
            CollectBox(boxes.V1, field.Number, v1.*field.V1);
        CollectBox(boxes.V2, field.Number, record.ID3v2.*field.V2);
    }
    // A genre the list does not name (a byte the table has no name for) shows
    // as the empty entry; left there, it stays what the file holds.
    if (boxes.V1GenrePosition != V1GenrePositionOf(v1.Genre)) v1.Genre = V1GenreText(boxes);
    record.ID3v2.Present = boxes.V2.Checked;
}

void ClearBoxes(PaneBoxes& boxes) {
    for (Pane* pane : {&boxes.V1, &boxes.V2}) {
        pane->Checked = false;
        for (TextBox& box : pane->Boxes) box.Text.clear();
    }
    boxes.V1GenrePosition = 0;  // the list always has its entries
}

void CopyV1ToV2(PaneBoxes& boxes) {
    for (FieldNumber field : V1TextFields)
        Text(boxes.V2, field) = Collected(field, Text(boxes.V1, field));
    Text(boxes.V2, FieldGenre) = TrimEnd(V1GenreText(boxes));
    boxes.V2.Checked = true;
}

void CopyV2ToV1(PaneBoxes& boxes) {
    for (FieldNumber field : V1TextFields)
        Text(boxes.V1, field) = Collected(field, Text(boxes.V2, field));
    // The ID3v1 track is a number: "07/12" becomes "7", and no number at all
    // (or zero) leaves the box empty.
    std::string track = PlainDecimal(NumericValue(Text(boxes.V1, FieldTrack)));
    Text(boxes.V1, FieldTrack) = track == "0" ? "" : track;
    boxes.V1GenrePosition = V1GenrePositionOf(std::string(HeldText(Text(boxes.V2, FieldGenre))));
    boxes.V1.Checked = true;
}

void ApplyAssignments(const std::vector<FieldAssignment>& assignments, PaneBoxes& boxes) {
    for (const FieldAssignment& a : assignments) {
        if (a.Field <= FieldNone || a.Field > FieldEncoder) continue;
        bool v1 = a.Version != 2 && a.Field <= FieldComment;
        bool v2 = a.Version != 1;
        if (v1 && a.Field == FieldGenre)
            boxes.V1GenrePosition = V1GenrePositionOf(a.Value);
        else if (v1)
            Text(boxes.V1, a.Field) = a.Value;
        if (v2) Text(boxes.V2, a.Field) = a.Value;
    }
}

TagBoxTexts BoxTexts(const PaneBoxes& boxes) {
    TagBoxTexts texts;
    for (BoxId box : AllBoxes()) {
        if (box.Field == FieldNone) continue;
        (box.Version == 1 ? texts.V1 : texts.V2)[box.Field] = BoxText(boxes, box);
    }
    return texts;
}

}  // namespace tessaly
