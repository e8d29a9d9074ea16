#include "macros/MacroKeywords.h"

#include "patterns/Utils.h"

namespace tessaly {

namespace {

std::vector<MacroKeyword> BuildMacroKeywords() {
    constexpr int16_t none = NoLengthLimit;
    using C = MacroCheck;
    // keyword, version prefix, value, min/max with V1, min/max otherwise, check
    return {
        {"ENABLE", true, false, 0, none, 0, none, C::None},
        {"DISABLE", true, false, 0, none, 0, none, C::None},
        {"TRACK", true, true, 0, 2, 0, 5, C::Track},
        {"TITLE", true, true, 0, 30, 0, none, C::None},
        {"ARTIST", true, true, 0, 30, 0, none, C::None},
        {"ALBUM", true, true, 0, 30, 0, none, C::None},
        {"YEAR", true, true, 0, 4, 0, 4, C::Year},
        {"GENRE", true, true, 0, none, 0, none, C::Genre},
        {"COMMENT", true, true, 0, 30, 0, none, C::None},
        {"COMPOSER", false, true, 0, none, 0, none, C::None},
        {"ORIGARTIST", false, true, 0, none, 0, none, C::None},
        {"COPYRIGHT", false, true, 0, none, 0, none, C::None},
        {"URL", false, true, 0, none, 0, none, C::None},
        {"ENCODER", false, true, 0, none, 0, none, C::None},
        {"RENAME", false, true, 0, none, 1, 1, C::RenameNumber},
        {"MIXEDCASE", false, false, 0, none, 0, none, C::None},
        {"UPDATE", false, false, 0, none, 0, none, C::None},
        {"V1TOV2", false, false, 0, none, 0, none, C::None},
        {"V2TOV1", false, false, 0, none, 0, none, C::None},
        {"FILEBYTAGS", false, false, 0, none, 0, none, C::None},
        {"TAGSBYFILE", false, false, 0, none, 0, none, C::None},
        {"UNDO", false, false, 0, none, 0, none, C::None},
        {"PLAY", false, false, 0, none, 0, none, C::None},
    };
}

bool StartsWith(std::string_view text, std::string_view prefix, std::string_view rest) {
    return text.size() >= prefix.size() + rest.size() && text.substr(0, prefix.size()) == prefix &&
           text.substr(prefix.size(), rest.size()) == rest;
}

}  // namespace

const std::vector<MacroKeyword>& MacroKeywords() {
    static const std::vector<MacroKeyword> table = BuildMacroKeywords();
    return table;
}

std::optional<KeywordMatch> MatchMacroKeyword(std::string_view upperCommand) {
    const auto& table = MacroKeywords();
    for (size_t row = 0; row < table.size(); ++row) {
        const std::string& keyword = table[row].Keyword;
        auto id = static_cast<MacroKeywordId>(row);
        if (StartsWith(upperCommand, "", keyword)) return KeywordMatch{id, 0, keyword.size()};
        if (!table[row].AllowsVersion) continue;
        if (StartsWith(upperCommand, "V1", keyword)) return KeywordMatch{id, 1, keyword.size() + 2};
        if (StartsWith(upperCommand, "V2", keyword)) return KeywordMatch{id, 2, keyword.size() + 2};
    }
    return std::nullopt;
}

std::vector<std::string> ScanMacroCommands(std::string_view text) {
    std::vector<std::string> commands;
    std::string command;
    bool inside = false;
    for (char c : text) {
        if (c == '{') {
            inside = true;
            command.clear();
        } else if (c == '}' && inside) {
            inside = false;
            commands.push_back(command);
        } else if (inside) {
            command += c;
        }
    }
    return commands;
}

ValidationScan ScanMacroForValidation(std::string_view text) {
    ValidationScan scan;
    std::string command;
    std::string outside;
    bool inside = false;
    for (char c : text) {
        if (c == ' ') continue;  // spaces never count, not even inside values
        if (c == '{' && !inside) {
            inside = true;
            command.clear();
            scan.StrayText += outside;
            outside.clear();
        } else if (c == '}' && inside) {
            inside = false;
            // Spaces are already gone, so upper-casing is all that is left.
            scan.Commands.push_back(UpperCase(command));
        } else if (inside) {
            command += c;
        } else {
            outside += c;
        }
    }
    // A command never closed is neither validated nor stray text.
    scan.StrayText += outside;
    return scan;
}

}  // namespace tessaly
