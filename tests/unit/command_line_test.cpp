#include <gtest/gtest.h>

#include "ui/shell/command_line.h"

TEST(FirstArgument, QuotedPathsKeepTheirSpacesAndOnlyTheFirstCounts)
{
    const struct {
        const char* commandLine;
        const char* argument;
    } cases[] = {
        {"", ""},
        {"   \t ", ""},
        {"C:\\keys\\racing.qvxkeys", "C:\\keys\\racing.qvxkeys"},
        {"  \"C:\\My Keys\\racing 2.qvxkeys\"  D:\\other.qvxkeys", "C:\\My Keys\\racing 2.qvxkeys"},
        {"first second", "first"},
        {"\"unclosed quote to the end", "unclosed quote to the end"},
        {"\"\"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstArgument(c.commandLine), c.argument) << c.commandLine;
}
