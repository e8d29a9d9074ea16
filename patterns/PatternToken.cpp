#include "patterns/PatternToken.h"

#include "patterns/Utils.h"

#include <array>
#include <utility>

namespace tessaly {

namespace {

struct KeywordField {
    std::string_view keyword;
    FieldNumber field;
};

constexpr std::array<KeywordField, 13> kKeywordFields{{
    {"ARTIST", FieldArtist},
    {"ALBUM", FieldAlbum},
    {"TITLE", FieldTitle},
    {"TRACK", FieldTrack},
    {"YEAR", FieldYear},
    {"GENRE", FieldGenre},
    {"COMMENTS", FieldComment},
    {"COMMENT", FieldComment},
    {"COMPOSER", FieldComposer},
    {"ORIGARTIST", FieldOriginalArtist},
    {"COPYRIGHT", FieldCopyright},
    {"URL", FieldURL},
    {"ENCODER", FieldEncoder},
}};

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::vector<std::string_view> PatternKeywords() {
    std::vector<std::string_view> keywords;
    for (const KeywordField& row : kKeywordFields) keywords.push_back(row.keyword);
    return keywords;
}

FieldNumber PatternFieldFromKeyword(std::string_view keyword) {
    keyword = TrimSpaces(keyword);
    for (const auto& entry : kKeywordFields) {
        if (EqualsIgnoringCase(keyword, entry.keyword)) return entry.field;
    }
    return FieldNone;
}

std::vector<PatternToken> TokenizePattern(std::string_view pattern) {
    std::vector<PatternToken> tokens;
    std::string literal;
    std::string keyword;
    bool insideBraces = false;
    for (char c : pattern) {
        if (c == '{' && !insideBraces) {
            insideBraces = true;
            // The literal is emptied once it is a token, so an unclosed keyword
            // at the end cannot make the same literal a token twice.
            if (!literal.empty()) tokens.push_back(PatternToken::MakeLiteral(std::move(literal)));
            literal.clear();
            keyword.clear();
        } else if (c == '}' && insideBraces) {
            insideBraces = false;
            tokens.push_back(PatternToken::MakeField(PatternFieldFromKeyword(keyword)));
        } else if (insideBraces) {
            keyword += c;
        } else {
            literal += c;
        }
    }
    if (!literal.empty()) tokens.push_back(PatternToken::MakeLiteral(std::move(literal)));
    return tokens;
}

}  // namespace tessaly
