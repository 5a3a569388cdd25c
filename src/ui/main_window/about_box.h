#pragma once
#include <windows.h>

// The modal About box with the program's icon; returns when it is closed.
void showAbout(HWND window);
