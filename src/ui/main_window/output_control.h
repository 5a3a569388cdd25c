#pragma once
#include <windows.h>

#include "engine/emulation_worker.h"

// The process's worker, bound to the device link and SendInput.
EmulationWorker& emulationWorker();

// Start is enabled while the handle is connected and output is stopped,
// Stop while it is connected and running.
void refreshOutputButtons();
// The "Start" button's command: SendMessageA of WM_COMMAND with the
// startButton's ID, so it runs before the sender goes on.
void sendStartCommand(HWND window);
// Handlers; a false result from onStartCommand means "not handled" (output
// already running), which the window procedure passes to DefWindowProcA.
bool onStartCommand();
void onStopCommand();
void onRunByDefaultCommand(bool enabled);
// The last step of the window's creation: discovery, title, buttons, and
// output when "Run By Default" is on and the handle is there.
void connectAtStartup(HWND window);
// WM_DEVICECHANGE: arrival and removal rediscover the handle.
void onDeviceChange(HWND window, WPARAM event);
