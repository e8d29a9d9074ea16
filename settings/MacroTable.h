// The rows of the macro table: what a hot key runs. Kept with the
// configuration, which loads and saves them; the macro machinery reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

struct MacroRow {
    std::string Macro;      // the macro text, e.g. "{MIXEDCASE}{UPDATE}"
    int16_t KeyCode = 0;    // virtual-key code of the hot key
    int16_t ShiftCode = 0;  // 1 = Shift, 2 = Ctrl, 4 = Alt

    bool operator==(const MacroRow&) const = default;
};

// The six macros of a first run: F4 rename by tags, F6 update, F9 mixed case,
// F11 and F12 copy between the tag versions, Esc undo.
extern const std::vector<MacroRow> DefaultMacros;

// The name under which a row is stored: its HotKeyName, or for a key the
// lookups leave out on purpose (Esc) the name of its hot-key row, so that
// saving never drops a macro that loading would accept. "" when the codes
// name no hot key at all.
std::string MacroKeyName(const MacroRow& row);

}  // namespace tessaly
