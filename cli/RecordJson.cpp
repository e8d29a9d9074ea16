#include "RecordJson.h"

#include "engine/TagFields.h"
#include "engine/Utf8Text.h"

#include <charconv>
#include <string_view>

namespace tessaly::cli {

namespace {

// One JSON object being written: keys in order, values escaped as the
// compact form of a JSON library writes them.
class ObjectWriter {
public:
    explicit ObjectWriter(std::string& out) : out_(out) { out_ += '{'; }
    ~ObjectWriter() { out_ += '}'; }

    void Text(std::string_view key, std::string_view value) {
        Key(key);
        String(value);
    }
    void Number(std::string_view key, int64_t value) {
        Key(key);
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        out_.append(digits, end);
    }
    void Bool(std::string_view key, bool value) {
        Key(key);
        out_ += value ? "true" : "false";
    }
    // Starts a nested object under `key`; it ends when the returned writer goes.
    ObjectWriter Object(std::string_view key) {
        Key(key);
        return ObjectWriter(out_);
    }

private:
    void Key(std::string_view key) {
        if (!first_) out_ += ',';
        first_ = false;
        String(key);
        out_ += ':';
    }
    void String(std::string_view text) {
        out_ += '"';
        for (char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            switch (c) {
                case '"': out_ += "\\\""; break;
                case '\\': out_ += "\\\\"; break;
                case '\b': out_ += "\\b"; break;
                case '\f': out_ += "\\f"; break;
                case '\n': out_ += "\\n"; break;
                case '\r': out_ += "\\r"; break;
                case '\t': out_ += "\\t"; break;
                default:
                    if (byte < 0x20) {
                        static constexpr char hex[] = "0123456789abcdef";
                        out_ += "\\u00";
                        out_ += hex[byte >> 4];
                        out_ += hex[byte & 0xF];
                    } else {
                        out_ += c;
                    }
            }
        }
        out_ += '"';
    }

    std::string& out_;
    bool first_ = true;
};

}  // namespace

void AppendRecordJson(std::string& out, const AudioFileData& data) {
    ObjectWriter j(out);
    // Paths are the system's own bytes (UTF-8 here); keep them when valid and
    // fall back to their ISO-8859-1 reading otherwise, so output is always
    // valid UTF-8. Tag text is valid UTF-8 as read.
    j.Text("FileName", FileNameToTagText(data.FileName));
    j.Number("Created", data.Created);
    j.Number("Accessed", data.Accessed);
    j.Number("Modified", data.Modified);
    {
        ObjectWriter v1 = j.Object("ID3v1");
        v1.Bool("Present", data.ID3v1.Present);
        for (const TagField& field : TagFields())
            if (field.V1 != nullptr) v1.Text(field.JsonKey, data.ID3v1.*field.V1);
    }
    {
        const ID3v2Data& tag = data.ID3v2;
        ObjectWriter v2 = j.Object("ID3v2");
        v2.Number("TagSize", tag.TagSize);
        v2.Bool("Present", tag.Present);
        for (const TagField& field : TagFields()) v2.Text(field.JsonKey, tag.*field.V2);
        v2.Number("MajorVersion", tag.MajorVersion);
        v2.Number("Revision", tag.Revision);
        v2.Number("Flags", tag.Flags);
        v2.Bool("IsASF", tag.IsASF);
    }
    const MPEGData& mpeg = data.MPEG;
    ObjectWriter m = j.Object("MPEG");
    m.Number("FileSize", mpeg.FileSize);
    m.Bool("VBR", mpeg.VBR);
    m.Number("HeaderPosition", mpeg.HeaderPosition);
    m.Bool("HeaderFound", mpeg.HeaderFound);
    m.Number("Duration", mpeg.Duration);
    m.Text("Version", mpeg.Version);
    m.Text("Layer", mpeg.Layer);
    m.Number("Bitrate", mpeg.Bitrate);
    m.Number("SampleRate", mpeg.SampleRate);
    m.Text("Mode", mpeg.Mode);
    m.Bool("CRC", mpeg.CRC);
    m.Bool("Copyrighted", mpeg.Copyrighted);
    m.Bool("Original", mpeg.Original);
    m.Bool("Private", mpeg.Private);
    m.Text("Emphasis", mpeg.Emphasis);
}

}  // namespace tessaly::cli
