#pragma once
#include <windows.h>

// Everything the program does before its window is first shown, in order;
// runs inside the window's creation.
void runStartupSequence(HWND window);
