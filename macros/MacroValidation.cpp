#include "macros/MacroValidation.h"

#include <algorithm>

#include "engine/id3tag/Genres.h"
#include "macros/MacroKeywords.h"
#include "patterns/NumericValue.h"

namespace tessaly {

namespace {

// The one numeric reader of the program, so a value is judged here as it is
// read everywhere else.
double NumberOf(std::string_view text) {
    return NumericValue(text);
}

bool InRange(double value, double low, double high) {
    return value >= low && value <= high;
}

bool TrackPartsValid(std::string_view value) {
    int parts = 0;
    while (true) {
        size_t slash = value.find('/');
        if (++parts > 2) return false;
        if (!InRange(NumberOf(value.substr(0, slash)), 0, 99)) return false;
        if (slash == std::string_view::npos) return true;
        value.remove_prefix(slash + 1);
    }
}

// The check's message, or "" when the value passes it.
std::string CheckMessage(MacroCheck check, int version, std::string_view value) {
    switch (check) {
        case MacroCheck::None:
            return {};
        case MacroCheck::Track:
            if (version == 1) return InRange(NumberOf(value), 0, 99) ? "" : "Invalid Track (v1)";
            return TrackPartsValid(value) ? "" : "Invalid Track (v2)";
        case MacroCheck::Year: {
            double year = NumberOf(value);
            return year == 0 || InRange(year, 1900, 2090) ? "" : "Invalid Year";
        }
        case MacroCheck::Genre:
            // Only the ID3v1 tag is limited to the table; ID3v2 takes any text.
            if (version != 1) return {};
            return GenreIndex(std::string(value), false) >= 0 ? "" : "Invalid Genre (v1)";
        case MacroCheck::RenameNumber:
            return InRange(NumberOf(value), 1, 8) ? "" : "Invalid Rename Number";
    }
    return {};
}

bool LengthOutside(size_t length, int16_t minimum, int16_t maximum) {
    return length < static_cast<size_t>(minimum) ||
           (maximum != NoLengthLimit && length > static_cast<size_t>(maximum));
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string NearMissHint(std::string_view command) {
    const std::string upper = Upper(command);
    if (auto match = MatchMacroKeyword(upper)) {
        const MacroKeyword& row = MacroKeywords()[static_cast<size_t>(match->Keyword)];
        const std::string_view rest = command.substr(match->Length);
        if (!row.TakesValue || (!rest.empty() && rest.front() == ':')) return "";
        const std::string keyword(command.substr(0, match->Length));
        if (rest.empty()) return "did you mean {" + keyword + ":value}?";
        if (std::string_view("=;,.-").find(rest.front()) == std::string_view::npos) return "";
        return "did you mean {" + keyword + ":" + std::string(rest.substr(1)) + "}?";
    }
    // A misspelt keyword: the nearest of the table's, by its own prefix.
    const size_t colon = upper.find_first_of(":=");
    const std::string word = upper.substr(0, colon);
    const std::string rest = colon == std::string::npos ? "" : ":" + std::string(command.substr(colon + 1));
    std::string best;
    size_t bestDistance = word.size() <= 4 ? 2 : 3;
    for (const MacroKeyword& row : MacroKeywords()) {
        for (const std::string prefix : {"", "V1", "V2"}) {
            if (!prefix.empty() && !row.AllowsVersion) continue;
            const std::string candidate = prefix + row.Keyword;
            const size_t distance = EditDistance(word, candidate);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = candidate + (row.TakesValue ? rest : "");
            }
        }
    }
    return best.empty() ? "" : "did you mean {" + best + "}?";
}

CommandVerdict ValidateCommand(std::string_view command) {
    auto match = MatchMacroKeyword(command);
    if (!match) return {true, "Unknown Keyword"};
    const MacroKeyword& row = MacroKeywords()[static_cast<size_t>(match->Keyword)];
    if (!row.TakesValue) return {};

    std::string_view rest = command.substr(match->Length);
    if (rest.empty() || rest.front() != ':') return {true, "Incorrect Syntax"};
    std::string_view value = rest.substr(1);

    CommandVerdict verdict;
    bool v1 = match->Version == 1;
    if (LengthOutside(value.size(), v1 ? row.MinLengthV1 : row.MinLength,
                      v1 ? row.MaxLengthV1 : row.MaxLength))
        verdict.Message = "Incorrect Length";
    std::string checkMessage = CheckMessage(row.Check, match->Version, value);
    if (!checkMessage.empty()) verdict.Message = checkMessage;
    return verdict;
}

MacroVerdict ValidateMacro(std::string_view text) {
    MacroVerdict verdict;
    auto addLine = [&verdict](std::string line) {
        verdict.Messages += line + "\r\n";
        verdict.Lines.push_back(std::move(line));
    };
    ValidationScan scan = ScanMacroForValidation(text);
    for (const std::string& command : scan.Commands) {
        CommandVerdict result = ValidateCommand(command);
        if (result.Invalid) verdict.Invalid = true;
        if (!result.Message.empty()) addLine(result.Message + ": '" + command + "'");
    }
    if (!scan.StrayText.empty())
        addLine("Unrecognized characters between tags: '" + scan.StrayText + "'");
    // Hints quote the commands as typed, so they come from the run-time scan.
    for (std::string command : ScanMacroCommands(text)) {
        std::erase(command, ' ');
        if (!ValidateCommand(Upper(command)).Invalid) continue;
        std::string hint = NearMissHint(command);
        if (!hint.empty()) verdict.Hints.push_back(std::move(hint));
    }
    return verdict;
}

}  // namespace tessaly
