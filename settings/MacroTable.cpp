#include "settings/MacroTable.h"

#include "engine/HotKeys.h"

namespace tessaly {

const std::vector<MacroRow> DefaultMacros = {
    {"{FILEBYTAGS}", 115, 0}, {"{UPDATE}", 117, 0}, {"{MIXEDCASE}", 120, 0},
    {"{V1TOV2}", 122, 0},     {"{V2TOV1}", 123, 0}, {"{UNDO}", 27, 0},
};

std::string MacroKeyName(const MacroRow& row) {
    std::string name = HotKeyName(row.KeyCode, row.ShiftCode);
    if (!name.empty()) return name;
    for (const HotKey& key : HotKeys)
        if (!key.Name.empty() && key.KeyCode == row.KeyCode && key.ShiftCode == row.ShiftCode)
            return key.Name;
    return {};
}

}  // namespace tessaly
