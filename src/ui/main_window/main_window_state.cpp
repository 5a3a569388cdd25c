#include "ui/main_window/main_window_state.h"

#include "ui/main_window/dpi_scale.h"

HWND mainWindow = nullptr;
HMENU mainMenu = nullptr;
HFONT uiFont = nullptr;
int uiDpi = BASE_DPI;
int connectResult = 0;
