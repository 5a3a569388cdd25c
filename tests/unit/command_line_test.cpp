#include <gtest/gtest.h>

#include "ui/shell/command_line.h"

TEST(ParseCommandLine, QuotedPathsKeepTheirSpacesAndOnlyTheFirstCounts)
{
    const struct {
        const char* commandLine;
        const char* argument;
        bool minimized;
    } cases[] = {
        {"", "", false},
        {"   \t ", "", false},
        {"C:\\keys\\racing.qvxkeys", "C:\\keys\\racing.qvxkeys", false},
        {"  \"C:\\My Keys\\racing 2.qvxkeys\"  D:\\other.qvxkeys", "C:\\My Keys\\racing 2.qvxkeys", false},
        {"first second", "first", false},
        {"\"unclosed quote to the end", "unclosed quote to the end", false},
        {"\"\"", "", false},
        {"--minimized", "", true},
        {"--minimized \"C:\\My Keys\\racing 2.qvxkeys\" x", "C:\\My Keys\\racing 2.qvxkeys", true},
        {"C:\\keys.qvxkeys --minimized", "C:\\keys.qvxkeys", false},
    };
    for (const auto& c : cases) {
        const StartOptions options = parseCommandLine(c.commandLine);
        EXPECT_EQ(options.documentPath, c.argument) << c.commandLine;
        EXPECT_EQ(options.minimized, c.minimized) << c.commandLine;
    }
}
