// Bit, byte and word helpers for callers without unsigned or shift operators.
// All arithmetic is done unsigned, so every result is defined for every input.
#include "tessaly.h"

#include <cstdio>

namespace {

int32_t Signed(uint32_t value) {
    return static_cast<int32_t>(value);
}
uint32_t Unsigned(int32_t value) {
    return static_cast<uint32_t>(value);
}

}  // namespace

extern "C" {

int32_t TESSALY_CALL bitshift(int32_t value, int32_t count) {
    if (count < 0) return Signed(Unsigned(value) >> ((0u - Unsigned(count)) & 31u));
    if (count > 0) return Signed(Unsigned(value) << (Unsigned(count) & 31u));
    return value;
}

int32_t TESSALY_CALL ul2str(uint32_t value, char* buffer) {
    if (!buffer) return 0;
    // Digits, then the letter l, exactly as the classic "%ul" format writes them.
    return std::snprintf(buffer, 12, "%lul", static_cast<unsigned long>(value));
}

int32_t TESSALY_CALL LoWord(int32_t value) {
    return Signed(Unsigned(value) & 0xFFFFu);
}

int32_t TESSALY_CALL HiWord(int32_t value) {
    return Signed(Unsigned(value) >> 16);
}

int32_t TESSALY_CALL LoByte(int32_t value) {
    return Signed(Unsigned(value) & 0xFFu);
}

int32_t TESSALY_CALL HiByte(int32_t value) {
    return Signed((Unsigned(value) >> 8) & 0xFFu);
}

int32_t TESSALY_CALL MakeWORD(int32_t high, int32_t low) {
    return Signed(((Unsigned(high) & 0xFFu) << 8) + (Unsigned(low) & 0xFFu));
}

int32_t TESSALY_CALL MakeDWORD(int32_t high, int32_t low) {
    // `low` is added whole: callers have always relied on that, so a low value
    // of 65536 or more carries into the high word.
    return Signed(((Unsigned(high) & 0xFFFFu) << 16) + Unsigned(low));
}

}  // extern "C"
