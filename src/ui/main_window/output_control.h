#pragma once
#include <windows.h>

#include "device/device_link.h"
#include "engine/emulation_worker.h"

// The link discovery fills and the worker output runs on: the process's
// device link and a worker over WindowsOutputPorts on it.
DeviceLink& outputDeviceLink();
EmulationWorker& emulationWorker();
// Lets in-process tests run output control over their own link and worker;
// nullptrs restore the process's. The caller keeps both alive while in use
// and switches only while no worker runs.
void useOutputDevice(DeviceLink* link, EmulationWorker* worker);

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
// The check marks of "&Enabled" and "&Disabled": exactly one of them.
void checkRunByDefaultItems(bool enabled);
// The last step of the window's creation: registration for the HID
// interfaces' arrivals and removals, discovery, title, buttons, and output
// when "Run By Default" is on and the handle is there.
void connectAtStartup(HWND window);
// WM_DESTROY: output stops and the registration is undone.
void endOutputControl();
// WM_DEVICECHANGE: arrival and removal rediscover the handle.
void onDeviceChange(HWND window, WPARAM event);
