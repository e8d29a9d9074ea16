#include "patterns/NumericValue.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace tessaly {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitValue(char c, int radix) {
    int value = -1;
    if (IsDigit(c))
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < radix ? value : -1;
}

double RadixValue(std::string_view digits, int radix) {
    // Accumulate exactly while the value fits in 64 bits; beyond that only the
    // magnitude matters.
    uint64_t exact = 0;
    double approximate = 0;
    bool overflow = false;
    for (char c : digits) {
        int d = DigitValue(c, radix);
        if (d < 0) break;
        if (!overflow && exact > (std::numeric_limits<uint64_t>::max() - d) / radix) {
            overflow = true;
            approximate = static_cast<double>(exact);
        }
        if (overflow)
            approximate = approximate * radix + d;
        else
            exact = exact * radix + d;
    }
    if (overflow) return approximate;
    if (exact <= 0xFFFF) return static_cast<int16_t>(static_cast<uint16_t>(exact));
    if (exact <= 0xFFFFFFFF) return static_cast<int32_t>(static_cast<uint32_t>(exact));
    return static_cast<double>(exact);
}

}  // namespace

double NumericValue(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!IsBlank(c)) s += c;

    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return RadixValue(std::string_view(s).substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return RadixValue(std::string_view(s).substr(2), 8);
        return 0;
    }

    // Copy the part that forms a number into the plain form from_chars reads
    // (locale-independent, unlike strtod).
    size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') number += '-';
        ++i;
    }
    size_t mantissaDigits = 0;
    long integerDigits = 0;  // significant digits before the point, for overflow
    bool leadingZeros = true;
    while (i < s.size() && IsDigit(s[i])) {
        if (s[i] != '0') leadingZeros = false;
        if (!leadingZeros) ++integerDigits;
        number += s[i++];
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == '.') {
        number += '.';
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            number += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return 0;

    long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        size_t j = i + 1;
        bool negative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) negative = s[j++] == '-';
        if (j < s.size() && IsDigit(s[j])) {
            std::string digits;
            while (j < s.size() && IsDigit(s[j])) {
                // Cap absurd exponents; anything this large is out of range anyway.
                if (digits.size() < 6) digits += s[j];
                ++j;
            }
            exponent = std::stol(digits) * (negative ? -1 : 1);
            number += 'e';
            number += std::to_string(exponent);
        }
    }

    double value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        bool huge = integerDigits + exponent > 0;
        double magnitude = huge ? std::numeric_limits<double>::infinity() : 0.0;
        return number[0] == '-' ? -magnitude : magnitude;
    }
    if (error != std::errc()) return 0;
    return value;
}

}  // namespace tessaly
