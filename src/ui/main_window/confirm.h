#pragma once
#include <windows.h>

// Asks question with OK and Cancel under the caption "Continue?"; true only
// when the user chose OK.
bool confirm(HWND window, const char* question);
