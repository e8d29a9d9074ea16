#include "ui/Twips.h"

#include <cmath>

namespace tessaly {

namespace {
double EffectiveDpi(double dpi) { return dpi > 0 ? dpi : 96.0; }
}  // namespace

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * EffectiveDpi(dpi) / TwipsPerInch));
}

int PixelsToTwips(int pixels, double dpi) {
    return static_cast<int>(std::lround(pixels * TwipsPerInch / EffectiveDpi(dpi)));
}

}  // namespace tessaly
