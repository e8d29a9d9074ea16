#include "patterns/NumericValue.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

using tessaly::NumericValue;

TEST(NumericValue, DecimalFormsBlanksAndExponents) {
    struct Case {
        std::string text;
        double value;
    };
    for (const Case& c : std::vector<Case>{
             {"", 0},           {"abc", 0},     {"2048", 2048},  {"  -12", -12}, {"+7", 7},
             {"1 0 2 4", 1024},                 // blanks anywhere are skipped
             {"\t1\n2", 12},    {"12abc", 12},  // stops at the first misfit
             {"1,000", 1},      {".5", 0.5},    {"-.25", -0.25}, {"3.", 3},      {".", 0},
             {"-", 0},          {"1e3", 1000},  {"1E3", 1000},   {"2D2", 200},   {"2d-1", 0.2},
             {"1.5E+2", 150},   {"1E", 1},  // an exponent without digits is not read
             {"1E+", 1},        {"7 . 5", 7.5}, {"0x10", 0},     {"12e-400", 0},
         })
        EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(NumericValue("1e999"), HUGE_VAL);
    EXPECT_EQ(NumericValue("-1e999"), -HUGE_VAL);
}

TEST(NumericValue, HexAndOctalTakeTheirWidth) {
    EXPECT_EQ(NumericValue("&H10"), 16);
    EXPECT_EQ(NumericValue("&hff"), 255);
    EXPECT_EQ(NumericValue("&H7FFF"), 32767);
    EXPECT_EQ(NumericValue("&H8000"), -32768);  // four digits: 16-bit signed
    EXPECT_EQ(NumericValue("&HFFFF"), -1);
    EXPECT_EQ(NumericValue("&H10000"), 65536);
    EXPECT_EQ(NumericValue("&HFFFFFFFF"), -1);  // 32-bit signed
    EXPECT_EQ(NumericValue("&H100000000"), 4294967296.0);
    EXPECT_EQ(NumericValue("&O17"), 15);
    EXPECT_EQ(NumericValue("&o177777"), -1);
    EXPECT_EQ(NumericValue("& H 1 F"), 31);
    EXPECT_EQ(NumericValue("&H1G"), 1);
    EXPECT_EQ(NumericValue("&O8"), 0);
    EXPECT_EQ(NumericValue("&H"), 0);
    EXPECT_EQ(NumericValue("&X1"), 0);
    EXPECT_EQ(NumericValue("-&H10"), 0);  // a sign does not precede the prefixes
}

TEST(NumericValue, DecimalPointIgnoresTheLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    // A locale whose decimal separator is "," if the system has one.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_DOUBLE_EQ(NumericValue("2.5"), 2.5);
        EXPECT_DOUBLE_EQ(NumericValue("2,5"), 2);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}
