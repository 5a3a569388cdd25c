#include "ui/shell/tray_menu.h"

#include "documents/document_state.h"
#include "ui/editor/editor_panel.h"
#include "ui/shell/tray_icon.h"

namespace {

enum TrayCommand { TRAY_SHOW = 1, TRAY_START, TRAY_STOP, TRAY_QUIT };

UINT enabledLike(HWND button)
{
    return IsWindowEnabled(button) ? MF_ENABLED : MF_GRAYED;
}

HMENU buildTrayMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, TRAY_SHOW, "&Show");
    AppendMenuA(menu, MF_STRING | enabledLike(editorPanel.startButton.window), TRAY_START, "&Start");
    AppendMenuA(menu, MF_STRING | enabledLike(editorPanel.stopButton.window), TRAY_STOP, "&Stop");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, TRAY_QUIT, "&Quit");
    return menu;
}

void clickButton(HWND window, int id)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void runTrayCommand(HWND window, int command)
{
    switch (command) {
    case TRAY_SHOW:
        bringToFront(window);
        break;
    case TRAY_START:
        clickButton(window, editorPanel.startButton.id);
        break;
    case TRAY_STOP:
        clickButton(window, editorPanel.stopButton.id);
        break;
    case TRAY_QUIT:
        // The question about unsaved changes must not come up unseen.
        if (documentState.modified)
            bringToFront(window);
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

}  // namespace

// A notification icon's menu closes when the user clicks elsewhere only if
// its window is the foreground window while it is open, and it shows again
// at once only after the menu's window has had a message (WM_NULL).
void showTrayMenu(HWND window)
{
    HMENU menu = buildTrayMenu();
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(window);
    const int command =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    runTrayCommand(window, command);
}
