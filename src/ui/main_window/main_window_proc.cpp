#include "ui/main_window/main_window_proc.h"

#include "documents/document_state.h"
#include "ui/main_window/about_box.h"
#include "ui/main_window/command_ids.h"
#include "ui/main_window/confirm.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/startup_sequence.h"

namespace {

LRESULT onCreate(HWND window) {
    runStartupSequence(window);
    return 0;
}

// Menu items and accelerators arrive alike; only the low word counts.
LRESULT onCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case CMD_QUIT:
    case ACC_QUIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case CMD_ABOUT:
        showAbout(window);
        return 0;
    default:
        return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    }
}

// An unnamed document closes without a question, however much it changed.
LRESULT onClose(HWND window) {
    const bool unsaved = !documentState.filePath.empty() && documentState.modified;
    if (unsaved && !confirm(window, "Close without saving?")) return 0;
    DestroyWindow(window);
    return 0;
}

LRESULT onDestroy() {
    DeleteObject(uiFont);
    uiFont = nullptr;
    PostQuitMessage(0);
    return 0;
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_COMMAND:
        return onCommand(window, wParam, lParam);
    case WM_CLOSE:
        return onClose(window);
    case WM_DESTROY:
        return onDestroy();
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
