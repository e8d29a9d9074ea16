// Re-encoding the text of a 2.4 frame for a 2.3 tag. Each frame kind that has
// an encoding byte is described as a sequence of fields; text fields are
// decoded from UTF-8 or UTF-16BE and written back as UTF-16 with a byte-order
// mark, everything else is copied byte for byte.
#include "FrameCarryOver.h"

#include "engine/id3tag/UnicodeText.h"

#include <initializer_list>
#include <vector>

namespace tessaly {

namespace {

enum class Field {
    Fixed1,      // one byte (picture type, content type …)
    Fixed3,      // language code
    Fixed8,      // a date
    Latin1Term,  // Latin-1 text with its zero byte (MIME type, price, URL)
    TextTerm,    // encoded text with its terminator (a description)
    TextRest,    // encoded text to the end; several values separated by terminators
    Synced,      // SYLT: (text, terminator, 4-byte time stamp) pairs to the end
    BinaryRest,  // anything to the end
};

std::vector<Field> LayoutOf(std::string_view id) {
    using F = Field;
    if (id == "TXXX") return {F::TextTerm, F::TextRest};
    if (!id.empty() && id[0] == 'T') return {F::TextRest};
    if (id == "COMM" || id == "USLT") return {F::Fixed3, F::TextTerm, F::TextRest};
    if (id == "SYLT") return {F::Fixed3, F::Fixed1, F::Fixed1, F::Synced};
    if (id == "APIC") return {F::Latin1Term, F::Fixed1, F::TextTerm, F::BinaryRest};
    if (id == "GEOB") return {F::Latin1Term, F::TextTerm, F::TextTerm, F::BinaryRest};
    if (id == "USER") return {F::Fixed3, F::TextRest};
    if (id == "WXXX") return {F::TextTerm, F::BinaryRest};
    if (id == "OWNE") return {F::Latin1Term, F::Fixed8, F::TextRest};
    if (id == "COMR")
        return {F::Latin1Term, F::Fixed8, F::Latin1Term, F::Fixed1, F::TextTerm, F::TextTerm,
                F::BinaryRest};
    return {};
}

class Reencoder {
public:
    Reencoder(std::string_view body, int encoding) : in_(body), encoding_(encoding) {}

    void Copy(size_t count) {
        count = std::min(count, in_.size());
        out_.append(in_.substr(0, count));
        in_.remove_prefix(count);
    }
    void CopyLatin1Term() {
        size_t at = in_.find('\0');
        Copy(at == std::string_view::npos ? in_.size() : at + 1);
    }
    // One text up to its terminator; the terminator is written whenever the
    // source had one.
    void TextTerm() {
        size_t terminator = 0;
        size_t length = TextFieldLength(in_, encoding_, &terminator);
        out_ += EncodeUTF16WithBOM(DecodeCodePoints(in_.substr(0, length), encoding_));
        if (terminator) out_.append(2, '\0');
        in_.remove_prefix(length + terminator);
    }
    void TextRest() {
        while (!in_.empty()) TextTerm();
    }
    void Synced() {
        while (!in_.empty()) {
            TextTerm();
            Copy(4);
        }
    }
    std::string Result() {
        out_.append(in_);  // whatever the layout did not account for
        return out_;
    }

private:
    std::string_view in_;
    int encoding_;
    std::string out_;
};

}  // namespace

std::string ReencodeFor23(std::string_view id, std::string_view body) {
    const std::vector<Field> layout = LayoutOf(id);
    if (layout.empty() || body.empty()) return std::string(body);
    const int encoding = static_cast<unsigned char>(body[0]);
    if (encoding != 2 && encoding != 3) return std::string(body);

    Reencoder re(body.substr(1), encoding);
    for (Field field : layout) {
        switch (field) {
            case Field::Fixed1: re.Copy(1); break;
            case Field::Fixed3: re.Copy(3); break;
            case Field::Fixed8: re.Copy(8); break;
            case Field::Latin1Term: re.CopyLatin1Term(); break;
            case Field::TextTerm: re.TextTerm(); break;
            case Field::TextRest: re.TextRest(); break;
            case Field::Synced: re.Synced(); break;
            case Field::BinaryRest: break;
        }
    }
    return std::string(1, '\x01') + re.Result();
}

}  // namespace tessaly
