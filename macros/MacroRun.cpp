#include "macros/MacroRun.h"

#include "engine/Host.h"
#include "macros/MacroKeywords.h"
#include "patterns/NumericValue.h"
#include "patterns/Utils.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

namespace tessaly {

namespace {

using K = MacroKeywordId;

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// The box each field keyword fills, by keyword row; FieldNone for the rest.
FieldNumber FieldOfKeyword(MacroKeywordId keyword) {
    static constexpr FieldNumber fields[] = {
        FieldNone,           FieldNone,      FieldTrack, FieldTitle,   FieldArtist,
        FieldAlbum,          FieldYear,      FieldGenre, FieldComment, FieldComposer,
        FieldOriginalArtist, FieldCopyright, FieldURL,   FieldEncoder,
    };
    auto row = static_cast<size_t>(keyword);
    return row < std::size(fields) ? fields[row] : FieldNone;
}

void SetField(MacroTarget& target, int version, FieldNumber field, const std::string& value) {
    // Fields beyond the comment exist in the ID3v2 pane only.
    bool v1 = (version == 0 || version == 1) && field <= FieldComment;
    bool v2 = version == 0 || version == 2;
    if (v1) {
        if (field == FieldGenre)
            target.SelectV1Genre(value);
        else
            target.SetBoxText(1, field, value);
    }
    if (v2) target.SetBoxText(2, field, value);
}

void SetEnabled(MacroTarget& target, int version, bool enabled) {
    if (version != 2) target.SetTagEnabled(1, enabled);
    if (version != 1) target.SetTagEnabled(2, enabled);
}

// RENAME n picks pattern n (from 1) of the rename list; anything that is not
// the number of a pattern does nothing.
CommandStatus RenameByNumber(MacroTarget& target, std::string_view value) {
    double number = NumericValue(value);
    if (!(number >= 1) || number != std::floor(number) ||
        number > static_cast<double>(target.RenamePatternCount()))
        return CommandStatus::NoEffect;
    target.RenameByPattern(static_cast<int>(number) - 1);
    return CommandStatus::Ran;
}

struct GatedAction {
    MacroGate gate;
    void (MacroTarget::*action)();
};

std::optional<GatedAction> ActionOf(MacroKeywordId keyword) {
    switch (keyword) {
        case K::MixedCase:
            return GatedAction{MacroGate::MixedCase, &MacroTarget::MixedCasePanes};
        case K::Update:
            return GatedAction{MacroGate::Update, &MacroTarget::UpdateFromPanes};
        case K::V1ToV2:
            return GatedAction{MacroGate::V1Enabled, &MacroTarget::CopyV1ToV2};
        case K::V2ToV1:
            return GatedAction{MacroGate::V2Enabled, &MacroTarget::CopyV2ToV1};
        case K::FileByTags:
            return GatedAction{MacroGate::FileByTags, &MacroTarget::RenameCurrentFile};
        case K::TagsByFile:
            return GatedAction{MacroGate::TagsByFile, &MacroTarget::TagsFromFileName};
        case K::Undo:
            return GatedAction{MacroGate::Undo, &MacroTarget::Undo};
        case K::Play:
            return GatedAction{MacroGate::Play, &MacroTarget::PlaySelectedFile};
        default:
            return std::nullopt;
    }
}

}  // namespace

CommandOutcome ExecuteCommand(std::string_view command, MacroTarget& target) {
    CommandOutcome outcome{std::string(command), CommandStatus::Ran, MacroGate::None};
    auto match = MatchMacroKeyword(UpperCase(command));
    if (!match) {
        outcome.Status = CommandStatus::NoKeyword;
        return outcome;
    }
    // The value starts one character (the ":") after the keyword.
    size_t valueStart = std::min(command.size(), match->Length + 1);
    std::string value(TrimSpaces(command.substr(valueStart)));

    MacroKeywordId keyword = match->Keyword;
    if (keyword == K::Enable || keyword == K::Disable) {
        SetEnabled(target, match->Version, keyword == K::Enable);
    } else if (FieldNumber field = FieldOfKeyword(keyword); field != FieldNone) {
        SetField(target, match->Version, field, value);
    } else if (keyword == K::Rename) {
        // Renaming by a numbered pattern is renaming by tags, so it has that gate.
        if (!target.IsGateOpen(MacroGate::FileByTags)) {
            outcome.Status = CommandStatus::Skipped;
            outcome.Gate = MacroGate::FileByTags;
        } else {
            outcome.Status = RenameByNumber(target, value);
        }
    } else if (auto action = ActionOf(keyword)) {
        if (target.IsGateOpen(action->gate)) {
            (target.*(action->action))();
        } else {
            outcome.Status = CommandStatus::Skipped;
            outcome.Gate = action->gate;
        }
    }
    return outcome;
}

bool MacroRunResult::AnySkipped() const {
    for (const auto& command : Commands) {
        if (command.Status == CommandStatus::Skipped) return true;
    }
    return false;
}

MacroRunResult RunMacro(std::string_view text, MacroTarget& target) {
    MacroRunResult result;
    result.Verdict = ValidateMacro(text);
    if (result.Verdict.Invalid) {
        CurrentHost().ShowMessage("Macro Error: " + result.Verdict.Messages, AppTitle,
                                  MessageIcon::None, MessageButtons::OK);
        result.Failed = true;
        return result;
    }
    for (const std::string& command : ScanMacroCommands(text))
        result.Commands.push_back(ExecuteCommand(command, target));
    return result;
}

}  // namespace tessaly
