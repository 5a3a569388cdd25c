#include "ui/main_window/window_dpi.h"

#include "ui/main_window/dpi_scale.h"

int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return usableDpi(dpi);
}

int windowDpi(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = newerUser32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const int dpi = getDpiForWindow != nullptr ? static_cast<int>(getDpiForWindow(window)) : 0;
    return dpi > 0 ? usableDpi(dpi) : screenDpi();
}
