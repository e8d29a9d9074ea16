// The one reader of "the numeric value" of a text, used wherever the program
// takes a number from stored or typed text: the configuration, track numbers.
#pragma once

#include <string_view>

namespace tessaly {

// Reads the leading number of `text`:
// - blanks (space, tab, line feed) are skipped wherever they stand, so
//   "1 024" reads 1024;
// - then an optional sign, digits, an optional "." with digits (".5" is 0.5)
//   and an optional exponent: E or D, optional sign, digits;
// - or "&H" with hexadecimal digits, "&O" with octal digits. A value that fits
//   in 16 bits is taken as a 16-bit signed number ("&HFFFF" is -1), one that
//   fits in 32 bits as a 32-bit signed number ("&HFFFFFFFF" is -1), a larger
//   one as it is;
// - letters are matched without regard to case; reading stops at the first
//   character that does not fit, and a text without a number gives 0.
// A magnitude beyond the range of double gives +/-infinity.
double NumericValue(std::string_view text);

}  // namespace tessaly
