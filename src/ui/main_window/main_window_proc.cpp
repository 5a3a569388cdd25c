#include "ui/main_window/main_window_proc.h"

#include <commctrl.h>

#include "ui/editor/editor_panel.h"
#include "ui/editor/key_capture.h"
#include "ui/main_window/about_box.h"
#include "ui/main_window/command_ids.h"
#include "ui/main_window/file_commands.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/output_control.h"
#include "ui/main_window/startup_sequence.h"
#include "ui/main_window/window_scale.h"
#include "ui/shell/autostart.h"
#include "ui/shell/hand_over_receiver.h"
#include "ui/shell/tray_icon.h"

namespace {

// The creation parameter is the path of a document to open, or none.
LRESULT onCreate(HWND window, const CREATESTRUCTA& creation)
{
    runStartupSequence(window, static_cast<const char*>(creation.lpCreateParams));
    return 0;
}

// The four buttons' IDs come from the control counter, so they are compared
// before the fixed IDs of the menu and the accelerators.
bool onButtonCommand(int id)
{
    if (id == editorPanel.startButton.id)
        return onStartCommand();
    if (id == editorPanel.stopButton.id) {
        onStopCommand();
    } else if (id == editorPanel.continuousSelectBox.id) {
        onContinuousSelectClicked();
    } else if (id == editorPanel.clearAllButton.id) {
        onClearAll();
    } else {
        return false;
    }
    return true;
}

bool onMenuCommand(HWND window, int id)
{
    switch (id) {
    case CMD_NEW:
    case ACC_NEW:
        onNewCommand(window);
        return true;
    case CMD_OPEN:
    case ACC_OPEN:
        onOpenCommand(window);
        return true;
    case CMD_SAVE:
    case ACC_SAVE:
        onSaveCommand(window);
        return true;
    case CMD_SAVE_AS:
        onSaveAsCommand(window);
        return true;
    case CMD_QUIT:
    case ACC_QUIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    case CMD_RUN_ENABLED:
        onRunByDefaultCommand(true);
        return true;
    case CMD_RUN_DISABLED:
        onRunByDefaultCommand(false);
        return true;
    case CMD_START_WITH_WINDOWS:
        onStartWithWindowsCommand(window);
        return true;
    case CMD_ABOUT:
        showAbout(window);
        return true;
    default:
        return false;
    }
}

// Menu items and accelerators arrive alike; only the low word counts. IDOK
// and IDCANCEL from the dialog manager (Enter, Esc) are no command.
LRESULT onCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (onButtonCommand(id) || onMenuCommand(window, id))
        return 0;
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

LRESULT onNotify(const NMHDR& header, WPARAM wParam)
{
    if (static_cast<int>(LOWORD(wParam)) == editorPanel.tabId && header.code == TCN_SELCHANGE) {
        SetFocus(mainWindow);
        showPage(static_cast<int>(SendMessageA(editorPanel.tab, TCM_GETCURSEL, 0, 0)));
    }
    return 0;
}

LRESULT onTimer(WPARAM timerId)
{
    if (timerId == CAPTURE_TIMER_ID)
        captureTick();
    return 0;
}

LRESULT onClose(HWND window)
{
    if (mayDropChanges(window, "Close without saving?"))
        DestroyWindow(window);
    return 0;
}

// Output stops first, so that no key stays down; nothing is saved.
LRESULT onDestroy(HWND window)
{
    endOutputControl();
    removeTrayIcon(window);
    DeleteObject(uiFont);
    uiFont = nullptr;
    PostQuitMessage(0);
    return 0;
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        return onDestroy(window);
    case WM_ACTIVATE:
        onActivate(wParam);
        return 0;
    case WM_CLOSE:
        return onClose(window);
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<const NMHDR*>(lParam), wParam);
    case WM_COMMAND:
        return onCommand(window, wParam, lParam);
    case WM_TIMER:
        return onTimer(wParam);
    case WM_DEVICECHANGE:
        onDeviceChange(window, wParam);
        return 0;
    case WM_APP:
        return onKeyCaptured(wParam, lParam);
    case WM_DROPFILES:
        onFilesDropped(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_COPYDATA:
        return onCopyData(window, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_APP_OPEN_HANDED_OVER:
        onOpenHandedOver(window);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(window, wParam, reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            hideToTray(window);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        onTitleChanged(window);
        return result;
    }
    case WM_APP_TRAY_ICON:
        onTrayIcon(window, lParam);
        return 0;
    case WM_INITMENUPOPUP:
        checkStartWithWindowsItem();
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        if (message == taskbarCreatedMessage()) {
            onTaskbarCreated(window);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
