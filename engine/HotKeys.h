// The keys a macro can be bound to: F1-F12 alone and with Shift, Ctrl or Alt,
// plus Esc. Key codes are Windows virtual-key codes; the shift code is a mask
// (1 = Shift, 2 = Ctrl, 4 = Alt).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

struct HotKey {
    std::string Name;
    int16_t KeyCode;
    int16_t ShiftCode;
};

// 50 rows: 0 is "" (no hot key), 1-48 the function keys, 49 "ESC" (27, 0).
extern const std::vector<HotKey> HotKeys;

// The name of the first row among 0-48 with both codes equal; "" when none.
// Row 49 ("ESC") is never found, so a macro bound to Esc shows no name.
std::string HotKeyName(int keyCode, int shiftCode);

// For the first row among 0-48 named `name`: its shift code when which >= 1,
// its key code when which < 1; 0 when no row matches.
int16_t HotKeyCode(const std::string& name, int which);

}  // namespace tessaly
