#pragma once
#include <windows.h>

constexpr const char* MAIN_WINDOW_CLASS_NAME = "CorvantaKeyPressEmulatorClass";
// A caption with the system menu and a minimize box; no maximize box and no
// sizing border, so the size never changes.
constexpr DWORD MAIN_WINDOW_STYLE = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int MAIN_WINDOW_WIDTH = 655;
constexpr int MAIN_WINDOW_HEIGHT = 639;

// The program registers mainWindowProc under MAIN_WINDOW_CLASS_NAME; tests
// may register other procedures under other names.
bool registerMainWindowClass(HINSTANCE instance, WNDPROC procedure, const char* className);
// Runs the whole creation step of the window procedure before it returns;
// null when creation failed. A documentPath (not empty) is opened instead of
// the last file; it reaches the creation step as the creation parameter.
HWND createMainWindow(HINSTANCE instance, const char* className, const char* documentPath = nullptr);
