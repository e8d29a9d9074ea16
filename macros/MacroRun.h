// Running a macro: each command in order, against the editor, on the state the
// previous one left. Commands that stand for a user action run only while that
// action's control is enabled, as if the user clicked it.
#pragma once

#include "macros/MacroTarget.h"
#include "macros/MacroValidation.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

enum class CommandStatus {
    Ran,
    Skipped,    // its gate was closed; nothing happened
    NoEffect,   // a RENAME number with no pattern behind it
    NoKeyword,  // matched no keyword; nothing happened
};

struct CommandOutcome {
    std::string Command;  // as written between the braces
    CommandStatus Status = CommandStatus::Ran;
    MacroGate Gate = MacroGate::None;  // the closed gate when Skipped
};

// Performs one command (the text between its braces, spaces and case as
// written). A command that begins with a space matches nothing.
CommandOutcome ExecuteCommand(std::string_view command, MacroTarget& target);

struct MacroRunResult {
    bool Failed = false;  // invalid: the "Macro Error: " box was shown, nothing ran
    MacroVerdict Verdict;
    std::vector<CommandOutcome> Commands;

    bool AnySkipped() const;
};

// Validates `text`; an invalid macro shows "Macro Error: " and the messages
// through the Host and runs nothing. Warnings do not stop it.
MacroRunResult RunMacro(std::string_view text, MacroTarget& target);

}  // namespace tessaly
