#include "ui/main_window/window_scale.h"

#include "ui/editor/editor_panel.h"
#include "ui/main_window/dpi_scale.h"
#include "ui/main_window/main_window_class.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/ui_font.h"
#include "ui/main_window/window_dpi.h"

namespace {

constexpr UINT RESIZE_ONLY = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

// 655 x 639 at 96 DPI, caption, menu bar and borders included: they grow
// with the DPI as the client area does.
void fitWindowSize(HWND window)
{
    SetWindowPos(window, nullptr, 0, 0, scaleToDpi(MAIN_WINDOW_WIDTH, uiDpi), scaleToDpi(MAIN_WINDOW_HEIGHT, uiDpi),
                 RESIZE_ONLY);
}

HFONT fontForDpi()
{
    return createUiFont(systemMessageFont(uiDpi), uiDpi);
}

}  // namespace

// The font comes first: a WM_DPICHANGED during the resize replaces it, and
// deletes this one, rather than making a font that is then overwritten.
void scaleNewWindow(HWND window)
{
    uiDpi = windowDpi(window);
    uiFont = fontForDpi();
    fitWindowSize(window);
}

void onDpiChanged(HWND window, WPARAM wParam, const RECT* suggested)
{
    uiDpi = usableDpi(HIWORD(wParam));
    if (suggested != nullptr) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        fitWindowSize(window);
    }
    // The controls let go of the old font before it is deleted.
    const HFONT previous = uiFont;
    uiFont = fontForDpi();
    rescalePanel();
    DeleteObject(previous);
}
