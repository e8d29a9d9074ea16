#include "macros/Macros.h"

namespace tessaly {

const MacroRow* FindMacroForKey(const std::vector<MacroRow>& table, int keyCode, int shiftCode) {
    for (const MacroRow& row : table) {
        if (row.KeyCode == keyCode && row.ShiftCode == shiftCode) return &row;
    }
    return nullptr;
}

std::optional<MacroRunResult> DispatchHotKey(const std::vector<MacroRow>& table, int keyCode,
                                             int shiftCode, MacroTarget& target) {
    const MacroRow* row = FindMacroForKey(table, keyCode, shiftCode);
    if (row == nullptr) return std::nullopt;
    // A copy: the macro may change the table's owner (a rename refreshes
    // lists), and the text must outlive the run.
    std::string text = row->Macro;
    return RunMacro(text, target);
}

}  // namespace tessaly
