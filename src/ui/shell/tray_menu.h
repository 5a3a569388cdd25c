#pragma once
#include <windows.h>

// The notification icon's menu: "&Show", "&Start" and "&Stop" (enabled as
// the two buttons are), a separator and "&Quit"; the chosen command runs
// before this returns.
void showTrayMenu(HWND window);
