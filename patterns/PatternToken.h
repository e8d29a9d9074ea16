// The pattern language shared by renaming from tags and reading tags from a
// file name: literal text with field keywords in braces, such as
// "{TRACK}. {ARTIST} - {TITLE}". This file is the syntax only; what a field
// token means is decided by the code that builds or parses names.
#pragma once

#include "engine/AudioFileData.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// One element of a tokenized pattern: literal text (never empty) or a field.
struct PatternToken {
    bool IsField = false;
    std::string Literal;            // when !IsField
    FieldNumber Field = FieldNone;  // when IsField; FieldNone for an unknown keyword

    static PatternToken MakeLiteral(std::string text) {
        return {false, std::move(text), FieldNone};
    }
    static PatternToken MakeField(FieldNumber field) { return {true, {}, field}; }
    bool operator==(const PatternToken&) const = default;
};

// The field a keyword names: ARTIST, ALBUM, TITLE, TRACK, YEAR, GENRE,
// COMMENT or COMMENTS, COMPOSER, ORIGARTIST, COPYRIGHT, URL, ENCODER, compared
// after upper-casing and trimming spaces; FieldNone for anything else.
FieldNumber PatternFieldFromKeyword(std::string_view keyword);

// Every keyword PatternFieldFromKeyword knows, in its table's order.
std::vector<std::string_view> PatternKeywords();

// Splits a pattern into tokens. Braces do not nest: a "{" always opens a
// keyword, a "}" outside braces is literal text, "{" inside braces belongs to
// the keyword, and a keyword never closed is dropped.
std::vector<PatternToken> TokenizePattern(std::string_view pattern);

}  // namespace tessaly
