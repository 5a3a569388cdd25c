#include "model/name_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int FIRST_UNNAMED_POSITION = 141;

// The codes that carry no name of their own, as inclusive ranges.
const std::vector<std::pair<int, int>> UNNAMED_RANGES = {
    {3, 3},   {7, 7},     {10, 11},   {14, 15},   {21, 26},   {28, 31},   {41, 43},   {47, 47},   {58, 64},
    {94, 95}, {136, 143}, {146, 159}, {168, 172}, {180, 185}, {193, 218}, {223, 245}, {249, 249}, {252, 254},
};

std::set<int> unnamedCodes()
{
    std::set<int> codes;
    for (const auto& [first, last] : UNNAMED_RANGES)
        for (int code = first; code <= last; ++code)
            codes.insert(code);
    return codes;
}

}  // namespace

TEST(KeyListOrder, IsAPermutationStartingWithTheEmptyEntry)
{
    std::set<int> seen(KeyListOrder, KeyListOrder + 256);
    EXPECT_EQ(seen.size(), 256u);
    EXPECT_EQ(KeyListOrder[0], 0);
}

TEST(KeyListOrder, GroupBoundariesAndSelectedItems)
{
    EXPECT_EQ(KeyListOrder[1], 65);  // letters A..Z
    EXPECT_EQ(KeyListOrder[26], 90);
    EXPECT_EQ(KeyListOrder[27], 48);  // digits 0..9
    EXPECT_EQ(KeyListOrder[36], 57);
    EXPECT_EQ(KeyListOrder[37], 186);  // punctuation
    EXPECT_EQ(KeyListOrder[47], 222);
    EXPECT_EQ(KeyListOrder[48], 32);  // space
    EXPECT_EQ(KeyListOrder[76], 255);
    EXPECT_EQ(KeyListOrder[84], 96);   // keypad
    EXPECT_EQ(KeyListOrder[99], 112);  // F1..F24
    EXPECT_EQ(KeyListOrder[122], 135);
    EXPECT_EQ(KeyListOrder[123], 1);  // mouse buttons
    EXPECT_EQ(KeyListOrder[127], 6);
    EXPECT_EQ(KeyListOrder[140], 167);
    EXPECT_EQ(KeyListOrder[141], 3);
    EXPECT_EQ(KeyListOrder[255], 254);
}

TEST(KeyListOrder, NamedCodesFirstThenUnnamedInAscendingOrder)
{
    const std::set<int> unnamed = unnamedCodes();
    ASSERT_EQ(unnamed.size(), 115u);
    for (int position = 0; position < FIRST_UNNAMED_POSITION; ++position)
        EXPECT_EQ(unnamed.count(KeyListOrder[position]), 0u) << "position " << position;
    std::vector<int> tail(KeyListOrder + FIRST_UNNAMED_POSITION, KeyListOrder + 256);
    EXPECT_EQ(tail, std::vector<int>(unnamed.begin(), unnamed.end()));
}

TEST(KeyListPosition, IsTheInverseOfTheOrderForEveryCode)
{
    computeKeyListPosition();
    EXPECT_EQ(KeyListPosition[0], 0);
    EXPECT_EQ(KeyListPosition[32], 48);
    EXPECT_EQ(KeyListPosition[254], 255);
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(KeyListOrder[KeyListPosition[code]], code) << "code " << code;
}

TEST(KeyNameTable, UnnamedCodesReadKeyHashAndTheDecimalCode)
{
    const std::set<int> unnamed = unnamedCodes();
    int named = 0;
    for (int code = 0; code < 256; ++code) {
        ASSERT_NE(KeyNameTable[code], nullptr) << "code " << code;
        const std::string name = KeyNameTable[code];
        if (unnamed.count(code))
            EXPECT_EQ(name, "Key #" + std::to_string(code));
        else {
            EXPECT_EQ(name.rfind("Key #", 0), std::string::npos) << "code " << code;
            ++named;
        }
    }
    EXPECT_EQ(named, 141);
    EXPECT_EQ(std::string(KeyNameTable[3]), "Key #3");
}

TEST(KeyNameTable, NamesAreDistinct)
{
    std::set<std::string> names(KeyNameTable, KeyNameTable + 256);
    EXPECT_EQ(names.size(), 256u);
}

TEST(KeyNameTable, AwkwardAndBoundaryNames)
{
    EXPECT_STREQ(KeyNameTable[0], "");
    EXPECT_STREQ(KeyNameTable[1], "LMouse");
    EXPECT_STREQ(KeyNameTable[6], "X2Mouse");
    EXPECT_STREQ(KeyNameTable[48], "0");
    EXPECT_STREQ(KeyNameTable[65], "A");
    EXPECT_STREQ(KeyNameTable[96], "Num '0'");
    EXPECT_STREQ(KeyNameTable[108], "Separator");
    EXPECT_STREQ(KeyNameTable[111], "Num '/'");
    EXPECT_STREQ(KeyNameTable[135], "F24");
    EXPECT_STREQ(KeyNameTable[186], ";");
    EXPECT_STREQ(KeyNameTable[192], "\x60");
    EXPECT_STREQ(KeyNameTable[219], "[");
    EXPECT_STREQ(KeyNameTable[220], "\x5C");
    EXPECT_STREQ(KeyNameTable[221], "]");
    EXPECT_STREQ(KeyNameTable[222], "'");
    EXPECT_STREQ(KeyNameTable[255], "Fn");
}

TEST(ButtonNameTable, NumbersAndControlNames)
{
    EXPECT_STREQ(ButtonNameTable[0], "1) Main Trigger First");
    EXPECT_STREQ(ButtonNameTable[13], "14) Center Hat Up");
    EXPECT_STREQ(ButtonNameTable[20], "21) Center Hat Up-Left");
    EXPECT_STREQ(ButtonNameTable[31], "32) Right Hat Push");
    EXPECT_STREQ(ButtonNameTable[32], "33) Main Trigger First");
    EXPECT_STREQ(ButtonNameTable[63], "64) Right Hat Push");
    for (int i = 0; i < 64; ++i) {
        const std::string name = ButtonNameTable[i];
        const std::string number = std::to_string(i + 1) + ") ";
        ASSERT_EQ(name.rfind(number, 0), 0u) << name;
        if (i >= 32) {
            const std::string regular = ButtonNameTable[i - 32];
            EXPECT_EQ(name.substr(number.size()), regular.substr(regular.find(") ") + 2)) << name;
        }
    }
}

TEST(AxisNameTable, PositiveThenNegativeDirectionPerAxis)
{
    const char* const axes[] = {"X", "Y", "Z", "Pitch", "Roll", "Yaw"};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(std::string(AxisNameTable[2 * k]), std::string(axes[k]) + " Axis +");
        EXPECT_EQ(std::string(AxisNameTable[2 * k + 1]), std::string(axes[k]) + " Axis -");
    }
}
