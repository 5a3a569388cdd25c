#pragma once
#include <string>

// The first argument of the program's command line (WinMain's, which holds
// no program name): a key code file to open at start. A path with spaces
// comes in double quotes, as Explorer passes it; the quotes are dropped.
// Later arguments do not count. Empty when there is none.
std::string firstArgument(const std::string& commandLine);
