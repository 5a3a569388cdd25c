#include <gtest/gtest.h>

#include "ui/editor/bounded_int_text.h"

namespace {

struct Typed {
    const char* text;
    int32_t committed;  // after clamping into 1..120
    const char* shown;
};

TEST(StepsText, TypedTextCommitsClampedWithItsCanonicalForm)
{
    const Typed cases[] = {
        {"", 1, "1"},           {"abc", 1, "1"},     {"   ", 1, "1"},       {"0", 1, "1"},
        {"-5", 1, "1"},         {"121", 120, "120"}, {"99999", 120, "120"}, {"12abc", 12, "12"},
        {"+7", 7, "7"},         {"2.9", 2, "2"},     {" 007", 7, "7"},      {"1234567890", 120, "120"},
        {"-", 1, "1"},          {"+", 1, "1"},       {"\t 42 ", 42, "42"},  {"6", 6, "6"},
        {"-999999999", 1, "1"},
    };
    for (const Typed& typed : cases) {
        const int32_t value = clampToRange(parseIntText(typed.text), 1, 120);
        EXPECT_EQ(value, typed.committed) << '"' << typed.text << '"';
        EXPECT_EQ(decimalText(value), typed.shown) << '"' << typed.text << '"';
    }
}

TEST(StepsText, OnlyTheFirstNineCharactersAreRead)
{
    EXPECT_EQ(parseIntText("1234567890"), 123456789);
    EXPECT_EQ(parseIntText("         12"), 0);  // the digits lie beyond the ninth character
    EXPECT_EQ(parseIntText("        12"), 1);
    EXPECT_EQ(parseIntText("-12345678901"), -12345678);
}

TEST(StepsText, DecimalTextOfTheWholeRange)
{
    EXPECT_EQ(decimalText(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(decimalText(2147483647), "2147483647");
    EXPECT_EQ(clampToRange(500, 1, 120), 120);
    EXPECT_EQ(clampToRange(0, 1, 120), 1);
}

}  // namespace
