#pragma once
#include <windows.h>

// A user32 function that older systems lack, looked up at run time so that
// the program still starts there; null where the system has none.
template <typename Function>
Function newerUser32Function(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// The screen's DPI (LOGPIXELSY): the one DPI of systems that know no other,
// and the DPI their system metrics are given in.
int screenDpi();
// The DPI the window is shown at: GetDpiForWindow where the system has it
// (Windows 10 1607 on), else the screen's.
int windowDpi(HWND window);
