#pragma once
#include <windows.h>

#include <string>

// "Start with Windows" is the value AUTOSTART_VALUE_NAME in the current
// user's Run key; Windows runs its data as a command at every log-on. The
// registry alone holds the choice: nothing of it goes to the settings file.
constexpr const char* AUTOSTART_VALUE_NAME = "Corvanta Key Press Emulator";

// This executable's full path in quotes, then " --minimized".
std::string autostartCommand();
// True when the value holds exactly autostartCommand(); a value naming
// another path (the program was moved) does not count.
bool startsWithWindows();
// Writes the value, or deletes it; false when the registry refused.
bool setStartWithWindows(bool start);

// The check mark of "Start with &Windows" shows what the registry holds,
// which may change outside the program: it is renewed whenever a menu opens.
void checkStartWithWindowsItem();
// The item's command: turns it over, or says why it could not.
void onStartWithWindowsCommand(HWND window);
