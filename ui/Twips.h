// Window coordinates are kept in twips (1/1440 inch), as the layout rules are
// written; they become device-independent pixels only at the widget boundary,
// at the screen's logical dots per inch.
#pragma once

namespace tessaly {

inline constexpr int TwipsPerInch = 1440;

struct TwipRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    bool operator==(const TwipRect&) const = default;
};

// Rounds to the nearest pixel (halves away from zero); dpi <= 0 counts as 96.
int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

}  // namespace tessaly
