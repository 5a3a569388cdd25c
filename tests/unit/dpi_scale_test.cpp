#include <gtest/gtest.h>

#include <climits>

#include "ui/main_window/dpi_scale.h"

namespace {

TEST(DpiScale, ScalesByTheDpiOver96RoundingHalvesAwayFromZero)
{
    const struct {
        int value;
        int dpi;
        int expected;
    } cases[] = {{655, 96, 655}, {-8, 96, -8},  {655, 144, 983}, {639, 144, 959}, {-8, 144, -12}, {1, 144, 2},
                 {-1, 144, -2},  {45, 120, 56}, {7, 120, 9},     {-7, 120, -9},   {25, 192, 50},  {17, 72, 13}};
    for (const auto& c : cases)
        EXPECT_EQ(scaleToDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;

    const Placement scaled = scaleToDpi(Placement{-8, 17, 150, 16}, 144);
    EXPECT_EQ(scaled.x, -12);
    EXPECT_EQ(scaled.y, 26);
    EXPECT_EQ(scaled.width, 225);
    EXPECT_EQ(scaled.height, 24);
    // From the screen's DPI to a window's, for metrics given at the former.
    EXPECT_EQ(scaleToDpi(-16, 96, 120), -13);
}

TEST(DpiScale, UnusableDpisAndHugeValuesStayDefined)
{
    EXPECT_EQ(usableDpi(0), 96);
    EXPECT_EQ(usableDpi(-144), 96);
    EXPECT_EQ(usableDpi(100000), 960);
    EXPECT_EQ(scaleToDpi(655, 0), 655);
    EXPECT_EQ(scaleToDpi(10, 96, 0), 10);
    EXPECT_EQ(scaleToDpi(INT_MAX, 960, 1), INT_MAX);
    EXPECT_EQ(scaleToDpi(INT_MIN, 960, 1), INT_MIN);
}

TEST(DpiScale, FontHeightLimitGrowsWithTheDpi)
{
    const struct {
        int height;
        int dpi;
        int expected;
    } cases[] = {{15, 96, 12},  {-20, 96, -12},  {-11, 96, -11},  {0, 96, 0},      {-20, 144, -18},
                 {25, 144, 18}, {-17, 144, -17}, {-20, 120, -15}, {-30, 192, -24}, {INT_MIN, 96, -12}};
    for (const auto& c : cases)
        EXPECT_EQ(limitFontHeight(c.height, c.dpi), c.expected) << c.height << " at " << c.dpi;
}

}  // namespace
