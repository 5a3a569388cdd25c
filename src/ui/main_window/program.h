#pragma once
#include <windows.h>

// Exit code when the main window cannot be created: without a window nothing
// could ever end the message loop.
constexpr int EXIT_NO_MAIN_WINDOW = 1;
// Exit code when GetMessageA reports an error.
constexpr int EXIT_MESSAGE_ERROR = 2;
// Exit code when the window class cannot be registered.
constexpr int EXIT_NO_WINDOW_CLASS = 3;

// The body of WinMain: registers the class, creates and shows the window and
// runs the message loop until the window is destroyed. A documentPath (not
// empty) is opened at start instead of the last file. A minimized start
// shows the window's icon in the notification area instead of the window.
int runProgram(HINSTANCE instance, int showCommand, WNDPROC procedure, const char* className,
               const char* documentPath = nullptr, bool minimized = false);

// One message of the loop: accelerators, then dialog navigation, then the
// window procedure.
void handleMessage(HWND window, HACCEL accelerators, MSG& message);
