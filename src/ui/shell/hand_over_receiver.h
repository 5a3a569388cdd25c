#pragma once
#include <windows.h>

// Posted by the main window to itself: open the next file a second start
// handed over. The hand-over itself must return at once, so that the second
// start never waits on a question the user has yet to answer.
constexpr UINT WM_APP_OPEN_HANDED_OVER = WM_APP + 1;

// WM_COPYDATA, from whichever process sent it: a hand-over brings the window
// to the front and queues its file, if it names one. TRUE when it was a
// hand-over; anything else is ignored.
LRESULT onCopyData(HWND window, const COPYDATASTRUCT& data);
// WM_APP_OPEN_HANDED_OVER: opens the oldest queued file as a dropped file is
// opened, asking about unsaved changes first.
void onOpenHandedOver(HWND window);
