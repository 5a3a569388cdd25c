#pragma once
#include <windows.h>

// The window is laid out at 96 DPI and scaled to the DPI it is shown at.

// Part of the creation, before the panel is built: takes the window's DPI,
// makes uiFont for it and sizes the window for it.
void scaleNewWindow(HWND window);
// WM_DPICHANGED: the window moved to a display with another scaling. It
// takes the suggested rectangle (or, without one, its size at the new DPI),
// a new uiFont, and every control its place at the new DPI; nothing else of
// the window changes.
void onDpiChanged(HWND window, WPARAM wParam, const RECT* suggested);
