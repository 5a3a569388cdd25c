#pragma once
#include <windows.h>

// Everything the program does before its window is first shown, in order;
// runs inside the window's creation. A documentPath (not empty) is opened
// instead of the last file.
void runStartupSequence(HWND window, const char* documentPath);
