#include "ui/shell/command_line.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

// Quotes cannot be part of a Windows file name, so a quote only ever opens
// or closes a quoted stretch; a missing closing quote ends at the line's end.
std::string firstArgument(const std::string& commandLine)
{
    std::string argument;
    bool quoted = false;
    size_t at = 0;
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
