#include "ui/Twips.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(Twips, ConvertAtTheScreensLogicalDpi) {
    struct Row { int Twips; double Dpi; int Pixels; };
    for (const Row& row : {Row{1440, 96, 96}, Row{15, 96, 1}, Row{9795, 96, 653},
                           Row{1440, 192, 192}, Row{1440, 0, 96}, Row{-15, 96, -1}}) {
        EXPECT_EQ(TwipsToPixels(row.Twips, row.Dpi), row.Pixels) << row.Twips << " at " << row.Dpi;
    }
    EXPECT_EQ(PixelsToTwips(96, 96), 1440);
    EXPECT_EQ(PixelsToTwips(653, 96), 9795);
    EXPECT_EQ(PixelsToTwips(192, 192), 1440);
}

}  // namespace
}  // namespace tessaly
