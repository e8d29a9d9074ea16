// The macro language's vocabulary and syntax: the keyword table, how a command
// is matched against it, and how macro text is cut into commands. What a
// command does is decided elsewhere (MacroRun); what is accepted, in
// MacroValidation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Row numbers of MacroKeywords; the table's order is its search order.
enum class MacroKeywordId : int16_t {
    Enable,
    Disable,
    Track,
    Title,
    Artist,
    Album,
    Year,
    Genre,
    Comment,
    Composer,
    OrigArtist,
    Copyright,
    URL,
    Encoder,
    Rename,
    MixedCase,
    Update,
    V1ToV2,
    V2ToV1,
    FileByTags,
    TagsByFile,
    Undo,
    Play,
};

enum class MacroCheck : int16_t { None = 0, Track = 1, Year = 2, Genre = 3, RenameNumber = 4 };

inline constexpr int16_t NoLengthLimit = -1;

struct MacroKeyword {
    std::string Keyword;
    bool AllowsVersion = false;  // may be written as V1KEYWORD / V2KEYWORD
    bool TakesValue = false;     // written KEYWORD:value
    int16_t MinLengthV1 = 0;     // value length limits with the V1 prefix
    int16_t MaxLengthV1 = NoLengthLimit;
    int16_t MinLength = 0;  // and without it (or with V2)
    int16_t MaxLength = NoLengthLimit;
    MacroCheck Check = MacroCheck::None;
};

// The 23 keywords, built once on first use.
const std::vector<MacroKeyword>& MacroKeywords();

// Which tag a command addresses: 0 both, 1 ID3v1 ("V1" prefix), 2 ID3v2 ("V2").
struct KeywordMatch {
    MacroKeywordId Keyword;
    int Version = 0;
    size_t Length = 0;  // characters taken by the prefix and the keyword
};

// Matches the start of an upper-case command against the table in order; for
// each row the bare keyword is tried first, then "V1" and "V2" + keyword when
// the row allows a prefix. Text after the keyword is not looked at, so
// "UPDATEX" is UPDATE. Nothing when no row matches.
std::optional<KeywordMatch> MatchMacroKeyword(std::string_view upperCommand);

// The commands of a macro as they are run: "{" starts a command (dropping one
// still open), "}" ends it, text outside braces is ignored. Commands keep their
// spaces and case.
std::vector<std::string> ScanMacroCommands(std::string_view text);

// The macro as validation reads it: spaces removed, a "{" inside a command is
// part of it, and text outside braces is collected as stray text.
struct ValidationScan {
    std::vector<std::string> Commands;  // upper-cased
    std::string StrayText;
};
ValidationScan ScanMacroForValidation(std::string_view text);

}  // namespace tessaly
