#include <gtest/gtest.h>

#include <climits>

#include "ui/main_window/dpi_scale.h"

namespace {

TEST(DpiScale, ScalesByTheDpiOver96RoundingHalvesAwayFromZero)
{
    EXPECT_EQ(scaleToDpi(655, 96), 655);
    EXPECT_EQ(scaleToDpi(639, 144), 959);
    EXPECT_EQ(scaleToDpi(-1, 144), -2);
    EXPECT_EQ(scaleToDpi(7, 120), 9);
    EXPECT_EQ(scaleToDpi(17, 72), 13);
    EXPECT_EQ(scaleToDpi(-16, 96, 120), -13);
    const Placement label = scaleToDpi(Placement{-8, 17, 150, 16}, 144);
    EXPECT_EQ(label.x, -12);
    EXPECT_EQ(label.y, 26);
    EXPECT_EQ(label.width, 225);
    EXPECT_EQ(label.height, 24);
    // Unknown or wild DPIs and values stay defined.
    EXPECT_EQ(scaleToDpi(655, 0), 655);
    EXPECT_EQ(scaleToDpi(10, -5), 10);
    EXPECT_EQ(scaleToDpi(1, 100000), 10);
    EXPECT_EQ(scaleToDpi(INT_MIN, 960, 1), INT_MIN);
}

TEST(DpiScale, FontHeightLimitGrowsWithTheDpi)
{
    const int cases[][3] = {{15, 96, 12},  {-20, 96, -12},  {-11, 96, -11},  {-20, 144, -18},
                            {25, 144, 18}, {-17, 144, -17}, {-20, 120, -15}, {INT_MIN, 96, -12}};
    for (const auto& c : cases)
        EXPECT_EQ(limitFontHeight(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
}

}  // namespace
