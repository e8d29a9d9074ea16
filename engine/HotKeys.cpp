#include "HotKeys.h"

namespace tessaly {

namespace {

constexpr int16_t VirtualKeyF1 = 112;
constexpr int16_t VirtualKeyEscape = 27;
// The lookups stop before the last row: Esc can carry a macro but has no name
// in the lists the user picks from.
constexpr size_t NamedRows = 49;

std::vector<HotKey> BuildHotKeys() {
    std::vector<HotKey> keys = {{"", 0, 0}};
    const struct {
        const char* prefix;
        int16_t shift;
    } groups[] = {{"", 0}, {"SHIFT-", 1}, {"CTRL-", 2}, {"ALT-", 4}};
    for (const auto& group : groups) {
        for (int16_t n = 1; n <= 12; ++n) {
            keys.push_back({std::string(group.prefix) + "F" + std::to_string(n),
                            static_cast<int16_t>(VirtualKeyF1 + n - 1), group.shift});
        }
    }
    keys.push_back({"ESC", VirtualKeyEscape, 0});
    return keys;
}

}  // namespace

const std::vector<HotKey> HotKeys = BuildHotKeys();

std::string HotKeyName(int keyCode, int shiftCode) {
    for (size_t i = 0; i < NamedRows; ++i) {
        if (HotKeys[i].KeyCode == keyCode && HotKeys[i].ShiftCode == shiftCode)
            return HotKeys[i].Name;
    }
    return "";
}

int16_t HotKeyCode(const std::string& name, int which) {
    for (size_t i = 0; i < NamedRows; ++i) {
        if (HotKeys[i].Name == name) return which >= 1 ? HotKeys[i].ShiftCode : HotKeys[i].KeyCode;
    }
    return 0;
}

}  // namespace tessaly
