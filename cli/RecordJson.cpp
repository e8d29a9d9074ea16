#include "RecordJson.h"

#include "engine/Utf8Text.h"

namespace tessaly::cli {

namespace {
// Tag text is valid UTF-8 as read; a path is the system's bytes.
const std::string& Text(const std::string& text) { return text; }

// The fields both tag versions have, in the records' order.
template <typename Tag>
void AddCommonFields(nlohmann::ordered_json& j, const Tag& tag) {
    j["Present"] = tag.Present;
    j["Track"] = Text(tag.Track);
    j["Artist"] = Text(tag.Artist);
    j["Title"] = Text(tag.Title);
    j["Album"] = Text(tag.Album);
    j["Year"] = Text(tag.Year);
    j["Genre"] = Text(tag.Genre);
    j["Comment"] = Text(tag.Comment);
}

}  // namespace

nlohmann::ordered_json ID3v1ToJson(const ID3v1Data& tag) {
    nlohmann::ordered_json j;
    AddCommonFields(j, tag);
    return j;
}

nlohmann::ordered_json ID3v2ToJson(const ID3v2Data& tag) {
    nlohmann::ordered_json j;
    j["TagSize"] = tag.TagSize;
    AddCommonFields(j, tag);
    j["Composer"] = Text(tag.Composer);
    j["OriginalArtist"] = Text(tag.OriginalArtist);
    j["Copyright"] = Text(tag.Copyright);
    j["URL"] = Text(tag.URL);
    j["EncodedBy"] = Text(tag.EncodedBy);
    j["MajorVersion"] = tag.MajorVersion;
    j["Revision"] = tag.Revision;
    j["Flags"] = tag.Flags;
    j["IsASF"] = tag.IsASF;
    return j;
}

nlohmann::ordered_json MPEGToJson(const MPEGData& mpeg) {
    nlohmann::ordered_json j;
    j["FileSize"] = mpeg.FileSize;
    j["VBR"] = mpeg.VBR;
    j["HeaderPosition"] = mpeg.HeaderPosition;
    j["HeaderFound"] = mpeg.HeaderFound;
    j["Duration"] = mpeg.Duration;
    j["Version"] = mpeg.Version;
    j["Layer"] = mpeg.Layer;
    j["Bitrate"] = mpeg.Bitrate;
    j["SampleRate"] = mpeg.SampleRate;
    j["Mode"] = mpeg.Mode;
    j["CRC"] = mpeg.CRC;
    j["Copyrighted"] = mpeg.Copyrighted;
    j["Original"] = mpeg.Original;
    j["Private"] = mpeg.Private;
    j["Emphasis"] = mpeg.Emphasis;
    return j;
}

nlohmann::ordered_json RecordToJson(const AudioFileData& data) {
    nlohmann::ordered_json j;
    // Paths are the system's own bytes (UTF-8 here); keep them when valid and
    // fall back to their ISO-8859-1 reading otherwise, so output is always
    // valid UTF-8.
    j["FileName"] = FileNameToTagText(data.FileName);
    j["Created"] = data.Created;
    j["Accessed"] = data.Accessed;
    j["Modified"] = data.Modified;
    j["ID3v1"] = ID3v1ToJson(data.ID3v1);
    j["ID3v2"] = ID3v2ToJson(data.ID3v2);
    j["MPEG"] = MPEGToJson(data.MPEG);
    return j;
}

}  // namespace tessaly::cli
