// The macro language: validation, running a macro against the editor, and the
// hot-key dispatch the main window's key handler calls.
#pragma once

#include "macros/MacroKeywords.h"
#include "macros/MacroRun.h"
#include "macros/MacroTarget.h"
#include "macros/MacroValidation.h"
#include "settings/MacroTable.h"

#include <optional>
#include <vector>

namespace tessaly {

// The first row of `table` whose key code and shift code both equal the
// event's; nullptr when no row is bound to that key.
const MacroRow* FindMacroForKey(const std::vector<MacroRow>& table, int keyCode, int shiftCode);

// Runs the first macro bound to the key. nullopt when none is bound. The key
// is not consumed: the caller passes it on as it came.
std::optional<MacroRunResult> DispatchHotKey(const std::vector<MacroRow>& table, int keyCode,
                                             int shiftCode, MacroTarget& target);

}  // namespace tessaly
