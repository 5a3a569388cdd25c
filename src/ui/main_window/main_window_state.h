#pragma once
#include <windows.h>

// Process-wide handles of the one main window; set while it is created and
// used only on the user-interface thread.
extern HWND mainWindow;
extern HMENU mainMenu;
extern HFONT uiFont;
// The DPI the window is shown at, which its size, uiFont and every control's
// place follow.
extern int uiDpi;

// Result of the last discovery of the handle (1 found, 0 not); the title
// shows it.
extern int connectResult;
