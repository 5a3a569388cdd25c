#include "ui/shell/tray_icon.h"

#include <cstring>

#include "ui/shell/tray_menu.h"

namespace {

class SystemNotifyIcon final : public NotifyIconApi {
public:
    BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data) override { return ::Shell_NotifyIconA(message, data); }
};

NotifyIconApi* iconInUse = nullptr;
bool iconShown = false;

// The class's small icon is the one loaded from icon group 300 at 16 x 16.
NOTIFYICONDATAA iconData(HWND window, UINT flags)
{
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = flags;
    data.uCallbackMessage = WM_APP_TRAY_ICON;
    data.hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    GetWindowTextA(window, data.szTip, sizeof data.szTip);
    return data;
}

void addIcon(HWND window)
{
    NOTIFYICONDATAA data = iconData(window, NIF_ICON | NIF_MESSAGE | NIF_TIP);
    activeNotifyIcon().Shell_NotifyIconA(NIM_ADD, &data);
    iconShown = true;
}

}  // namespace

NotifyIconApi& activeNotifyIcon()
{
    static SystemNotifyIcon system;
    return iconInUse ? *iconInUse : system;
}

void useNotifyIcon(NotifyIconApi* api)
{
    iconInUse = api;
}

void hideToTray(HWND window)
{
    ShowWindow(window, SW_HIDE);
    if (!iconShown)
        addIcon(window);
}

// SW_RESTORE shows a hidden window too, and is never taken for the
// process's first ShowWindow, which Windows may replace by the show
// command its starter asked for.
void bringToFront(HWND window)
{
    if (IsIconic(window) || !IsWindowVisible(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    removeTrayIcon(window);
}

void onTitleChanged(HWND window)
{
    if (!iconShown)
        return;
    NOTIFYICONDATAA data = iconData(window, NIF_TIP);
    activeNotifyIcon().Shell_NotifyIconA(NIM_MODIFY, &data);
}

UINT taskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void onTaskbarCreated(HWND window)
{
    if (iconShown)
        addIcon(window);
}

void removeTrayIcon(HWND window)
{
    if (!iconShown)
        return;
    NOTIFYICONDATAA data = iconData(window, 0);
    activeNotifyIcon().Shell_NotifyIconA(NIM_DELETE, &data);
    iconShown = false;
}

void onTrayIcon(HWND window, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONUP)
        bringToFront(window);
    else if (mouseMessage == WM_RBUTTONUP)
        showTrayMenu(window);
}
