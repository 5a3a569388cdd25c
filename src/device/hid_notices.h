#pragma once
#include "device/device_api.h"

// Windows broadcasts device arrivals and removals to every top-level window
// only for ports and volumes; a HID interface, the handle's among them, is
// announced only to a window that registered for the HID interface class.
// Returns the registration, null when it failed (the window then hears only
// the broadcasts).
HDEVNOTIFY registerForHidNotices(DeviceApi& api, HWND window);
