// Keys as the macro table stores them: Windows virtual-key codes and a shift
// mask (1 = Shift, 2 = Ctrl, 4 = Alt), whatever the platform.
#pragma once

#include <Qt>

namespace tessaly {

// F1-F24, Esc, letters and digits; 0 for a key a hot key cannot be.
int VirtualKeyOf(int qtKey);
int ShiftCodeOf(Qt::KeyboardModifiers modifiers);

}  // namespace tessaly
