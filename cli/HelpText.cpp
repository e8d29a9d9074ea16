// The help topics "macros" and "patterns": the macro keyword table and the
// pattern fields, one line each, drawn from the tables the languages use.
#include "CliApp.h"

#include "macros/MacroKeywords.h"
#include "patterns/PatternToken.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string_view>

namespace tessaly::cli {

namespace {

const std::map<std::string_view, std::string_view>& KeywordMeanings() {
    static const std::map<std::string_view, std::string_view> meanings = {
        {"ENABLE", "tick the tag's check box (both tags without V1/V2)"},
        {"DISABLE", "clear the tag's check box"},
        {"TRACK", "set the track number"},
        {"TITLE", "set the title"},
        {"ARTIST", "set the artist"},
        {"ALBUM", "set the album"},
        {"YEAR", "set the year"},
        {"GENRE", "set the genre (a name of the genre list for ID3v1)"},
        {"COMMENT", "set the comment"},
        {"COMPOSER", "set the composer (ID3v2)"},
        {"ORIGARTIST", "set the original artist (ID3v2)"},
        {"COPYRIGHT", "set the copyright (ID3v2)"},
        {"URL", "set the URL (ID3v2)"},
        {"ENCODER", "set 'encoded by' (ID3v2)"},
        {"RENAME", "rename the file by rename pattern n (1-9) of the list"},
        {"MIXEDCASE", "convert the tag text to mixed case"},
        {"UPDATE", "write the tags to the file"},
        {"V1TOV2", "copy the ID3v1 fields to the ID3v2 tag"},
        {"V2TOV1", "copy the ID3v2 fields to the ID3v1 tag"},
        {"FILEBYTAGS", "rename the file by the current rename pattern"},
        {"TAGSBYFILE", "fill the tags from the file name by the current parsing pattern"},
        {"UNDO", "discard the edits since the file was loaded"},
        {"PLAY", "open the file with the desktop's player"},
    };
    return meanings;
}

std::string Limit(int16_t min, int16_t max) {
    if (max == NoLengthLimit) return min > 0 ? "at least " + std::to_string(min) : "";
    if (min == max) return "exactly " + std::to_string(max);
    return "up to " + std::to_string(max);
}

const std::map<std::string_view, std::string_view>& FieldMeanings() {
    static const std::map<std::string_view, std::string_view> meanings = {
        {"ARTIST", "the artist"},
        {"ALBUM", "the album"},
        {"TITLE", "the title"},
        {"TRACK", "the track number (two digits when so configured)"},
        {"YEAR", "the year"},
        {"GENRE", "the genre"},
        {"COMMENTS", "the comment (same as COMMENT)"},
        {"COMMENT", "the comment"},
        {"COMPOSER", "the composer (ID3v2)"},
        {"ORIGARTIST", "the original artist (ID3v2)"},
        {"COPYRIGHT", "the copyright (ID3v2)"},
        {"URL", "the URL (ID3v2)"},
        {"ENCODER", "'encoded by' (ID3v2)"},
    };
    return meanings;
}

}  // namespace

std::string MacroHelpText() {
    std::string text =
        "A macro is a list of commands in braces, run one after the other on a file, e.g.\n"
        "'{TITLE:Live}{V1GENRE:Rock}{UPDATE}'. Keywords are not case-sensitive; V1 or V2\n"
        "before a keyword (where shown) addresses one tag, else both. Text outside braces\n"
        "is not allowed. The keywords:\n\n";
    for (const MacroKeyword& row : MacroKeywords()) {
        std::string form = "{" + std::string(row.AllowsVersion ? "[V1|V2]" : "") + row.Keyword +
                           (row.TakesValue ? ":" + std::string(row.Keyword == "RENAME" ? "n" : "text")
                                           : "") +
                           "}";
        std::string line = "  " + form;
        line.resize(std::max<size_t>(line.size() + 1, 26), ' ');
        const auto meaning = KeywordMeanings().find(row.Keyword);
        line += meaning != KeywordMeanings().end() ? std::string(meaning->second) : "";
        std::string limits;
        if (row.TakesValue && row.AllowsVersion && !Limit(row.MinLengthV1, row.MaxLengthV1).empty())
            limits += "V1: " + Limit(row.MinLengthV1, row.MaxLengthV1) + " characters";
        if (row.TakesValue && !Limit(row.MinLength, row.MaxLength).empty())
            limits += (limits.empty() ? "" : "; ") + std::string(row.AllowsVersion ? "V2: " : "") +
                      Limit(row.MinLength, row.MaxLength) + " characters";
        if (!limits.empty()) line += " (" + limits + ")";
        text += line + "\n";
    }
    text +=
        "\nCheck a macro with 'tessaly-cli validate MACRO'; run it with 'tessaly-cli macro MACRO "
        "PATH...'.\n";
    return text;
}

std::string PatternHelpText() {
    std::string text =
        "A pattern is text with field names in braces, e.g. '{TRACK}. {ARTIST} - {TITLE}'.\n"
        "Renaming fills each field from the tags (the ID3v2 box, else the ID3v1 box) and\n"
        "keeps the file's extension; parsing a file name reads each field from the text\n"
        "between the literal parts. Field names are not case-sensitive. The fields:\n\n";
    for (std::string_view keyword : PatternKeywords()) {
        std::string line = "  {" + std::string(keyword) + "}";
        line.resize(std::max<size_t>(line.size() + 1, 16), ' ');
        const auto meaning = FieldMeanings().find(keyword);
        if (meaning != FieldMeanings().end()) line += meaning->second;
        text += line + "\n";
    }
    text +=
        "\nUse them with 'tessaly-cli rename --pattern P' and 'tessaly-cli parse --pattern P'.\n";
    return text;
}

}  // namespace tessaly::cli
