#include "ui/shell/command_line.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The argument that starts at or after `at`, which moves past it. Quotes
// cannot be part of a Windows file name, so a quote only ever opens or
// closes a quoted stretch; a missing closing quote ends at the line's end.
std::string nextArgument(const std::string& commandLine, size_t& at)
{
    std::string argument;
    bool quoted = false;
    while (at < commandLine.size() && isBlank(commandLine[at]))
        ++at;
    for (; at < commandLine.size(); ++at) {
        const char c = commandLine[at];
        if (c == '"')
            quoted = !quoted;
        else if (isBlank(c) && !quoted)
            break;
        else
            argument += c;
    }
    return argument;
}

}  // namespace

StartOptions parseCommandLine(const std::string& commandLine)
{
    StartOptions options;
    size_t at = 0;
    options.documentPath = nextArgument(commandLine, at);
    if (options.documentPath == MINIMIZED_SWITCH) {
        options.minimized = true;
        options.documentPath = nextArgument(commandLine, at);
    }
    return options;
}
