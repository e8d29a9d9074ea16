#include "macros/MacroValidation.h"

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

}  // namespace

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
    return verdict;
}

}  // namespace tessaly
