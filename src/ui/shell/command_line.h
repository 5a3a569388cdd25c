#pragma once
#include <string>

// What the program's command line (WinMain's, which holds no program name)
// asks for: "--minimized" first starts the program with its window hidden
// and its icon in the notification area; the next argument, or the first
// when there is no "--minimized", is a key code file to open at start. A
// path with spaces comes in double quotes, as Explorer passes it; the quotes
// are dropped. Later arguments do not count.
struct StartOptions {
    bool minimized = false;
    std::string documentPath;  // empty when there is none
};

// The switch that the entry in the user's Run key carries.
constexpr const char* MINIMIZED_SWITCH = "--minimized";

StartOptions parseCommandLine(const std::string& commandLine);
