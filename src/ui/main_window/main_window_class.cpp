#include "ui/main_window/main_window_class.h"

#include "ui/main_window/resource_ids.h"
#include "ui/main_window/title_text.h"

namespace {

// COLOR_MENU + 1: the client area has the menu's colour.
constexpr UINT_PTR MENU_COLOUR_BRUSH = COLOR_MENU + 1;

}  // namespace

bool registerMainWindowClass(HINSTANCE instance, WNDPROC procedure, const char* className)
{
    HMODULE module = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(ICON_MAIN));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(ICON_MAIN), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(MENU_COLOUR_BRUSH);
    windowClass.lpszClassName = className;
    return RegisterClassExA(&windowClass) != 0;
}

HWND createMainWindow(HINSTANCE instance, const char* className, const char* documentPath)
{
    return CreateWindowExA(0, className, BASE_TITLE, MAIN_WINDOW_STYLE, CW_USEDEFAULT, CW_USEDEFAULT, MAIN_WINDOW_WIDTH,
                           MAIN_WINDOW_HEIGHT, nullptr, nullptr, instance, const_cast<char*>(documentPath));
}
