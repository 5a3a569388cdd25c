#pragma once
#include <windows.h>

// The procedure of the main window: start-up on creation, the commands of
// the menu and the accelerators, the close request and the teardown.
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
