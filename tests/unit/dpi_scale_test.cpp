#include <gtest/gtest.h>

#include <climits>

#include "ui/main_window/dpi_scale.h"

namespace {

TEST(DpiScale, ScalesByTheDpiOver96RoundingHalvesAwayFromZero)
{
    // {value, DPI, expected}; a DPI below 1 is unknown and counts as 96, one above 960 as 960.
    const int cases[][3] = {{655, 96, 655}, {639, 144, 959}, {-1, 144, -2}, {7, 120, 9},
                            {17, 72, 13},   {655, 0, 655},   {10, -5, 10},  {1, 100000, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(scaleToDpi(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
    EXPECT_EQ(scaleToDpi(-16, 96, 120), -13);
    EXPECT_EQ(scaleToDpi(INT_MIN, 960, 1), INT_MIN);
}

TEST(DpiScale, FontHeightLimitGrowsWithTheDpi)
{
    // {height, DPI, limited height}
    const int cases[][3] = {{15, 96, 12},  {-20, 96, -12},  {-11, 96, -11},  {-20, 144, -18},
                            {25, 144, 18}, {-17, 144, -17}, {-20, 120, -15}, {INT_MIN, 96, -12}};
    for (const auto& c : cases)
        EXPECT_EQ(limitFontHeight(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
}

}  // namespace
