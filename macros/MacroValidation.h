// What the macro editor and a macro run accept. Validation never fails: it
// gives a verdict and the messages that explain it. Only an unknown keyword and
// a value without its ":" make a macro invalid; everything else is a warning.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct CommandVerdict {
    bool Invalid = false;
    std::string Message;  // "" when the command is fine
};

// `command` is the text between the braces, already upper-cased and without
// spaces. At most one message: a failed value check replaces "Incorrect Length".
CommandVerdict ValidateCommand(std::string_view command);

struct MacroVerdict {
    bool Invalid = false;
    // Each message as "<message>: '<command>'" (or the stray-text line), in the
    // order found.
    std::vector<std::string> Lines;
    // The same lines, each followed by CR LF, as the message box shows them.
    std::string Messages;
    // For an invalid command that is near a valid one, the likely intended
    // form: "did you mean {TITLE:x}?".
    std::vector<std::string> Hints;
};

// The likely intended form of an invalid command (the text between its
// braces as typed, spaces removed), "" when none is near: a value after "="
// or another stray mark instead of ":", a keyword misspelt by a letter or two.
std::string NearMissHint(std::string_view command);

MacroVerdict ValidateMacro(std::string_view text);

}  // namespace tessaly
