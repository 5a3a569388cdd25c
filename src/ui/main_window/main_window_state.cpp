#include "ui/main_window/main_window_state.h"

HWND mainWindow = nullptr;
HMENU mainMenu = nullptr;
HFONT uiFont = nullptr;
int connectResult = 0;
