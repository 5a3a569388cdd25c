#pragma once
#include <windows.h>
#include <shellapi.h>

// The notification area behind one seam, so that in-process tests can see
// what the icon does. The default is the real call.
class NotifyIconApi {
public:
    virtual ~NotifyIconApi() = default;
    virtual BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data) = 0;
};

NotifyIconApi& activeNotifyIcon();
// nullptr restores the real call. The caller keeps the object alive while it
// is in use.
void useNotifyIcon(NotifyIconApi* api);

// The icon's callback message; lParam is the mouse message on the icon.
constexpr UINT WM_APP_TRAY_ICON = WM_APP + 2;
constexpr UINT TRAY_ICON_ID = 1;

// While minimized the window is hidden, without a taskbar button, and the
// program's icon sits in the notification area instead, its tooltip the
// window's title. Called when the window is minimized, and for a start with
// "--minimized", whose window is never shown first.
void hideToTray(HWND window);
// Shows and restores the window, makes it the foreground window and takes
// its icon out of the notification area.
void bringToFront(HWND window);
// WM_SETTEXT: the tooltip follows the title.
void onTitleChanged(HWND window);
// The registered "TaskbarCreated" message: Explorer started again and knows
// no icon, so a hidden window's icon is added again.
UINT taskbarCreatedMessage();
void onTaskbarCreated(HWND window);
// WM_DESTROY: no icon outlives the program.
void removeTrayIcon(HWND window);
// WM_APP_TRAY_ICON: a click brings the window back, a right click opens the
// icon's menu.
void onTrayIcon(HWND window, LPARAM mouseMessage);
