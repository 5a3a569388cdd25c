#include "ui/main_window/output_control.h"

#include <dbt.h>

#include "device/hid_notices.h"
#include "documents/settings.h"
#include "engine/windows_output_ports.h"
#include "model/key_table.h"
#include "ui/editor/editor_panel.h"
#include "ui/main_window/command_ids.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/window_title.h"

namespace {

DeviceLink* linkInUse = nullptr;
EmulationWorker* workerInUse = nullptr;
HDEVNOTIFY hidNotices = nullptr;

EmulationWorker& processWorker()
{
    static WindowsOutputPorts ports(deviceLink());
    static EmulationWorker worker(ports, keyTable);
    return worker;
}

void rediscover(HWND window)
{
    connectResult = connect(outputDeviceLink()) ? 1 : 0;
    updateTitle(window);
}

}  // namespace

DeviceLink& outputDeviceLink()
{
    return linkInUse ? *linkInUse : deviceLink();
}

EmulationWorker& emulationWorker()
{
    return workerInUse ? *workerInUse : processWorker();
}

void useOutputDevice(DeviceLink* link, EmulationWorker* worker)
{
    linkInUse = link;
    workerInUse = worker;
}

void refreshOutputButtons()
{
    const bool connected = outputDeviceLink().connected;
    const bool running = emulationWorker().running();
    EnableWindow(editorPanel.startButton.window, connected && !running);
    EnableWindow(editorPanel.stopButton.window, connected && running);
}

void sendStartCommand(HWND window)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(editorPanel.startButton.id, 0), 0);
}

// Without the handle the worker does not start.
bool onStartCommand()
{
    if (emulationWorker().running())
        return false;
    emulationWorker().start();
    refreshOutputButtons();
    return true;
}

void onStopCommand()
{
    emulationWorker().stop();
    refreshOutputButtons();
}

void checkRunByDefaultItems(bool enabled)
{
    CheckMenuItem(mainMenu, CMD_RUN_ENABLED, enabled ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(mainMenu, CMD_RUN_DISABLED, enabled ? MF_UNCHECKED : MF_CHECKED);
}

// Turning it off leaves running output alone.
void onRunByDefaultCommand(bool enabled)
{
    programSettings.runByDefault = enabled;
    checkRunByDefaultItems(enabled);
    saveSettings(programSettings);
    if (programSettings.runByDefault && outputDeviceLink().connected)
        sendStartCommand(mainWindow);
}

void connectAtStartup(HWND window)
{
    hidNotices = registerForHidNotices(outputDeviceLink().api, window);
    rediscover(window);
    refreshOutputButtons();
    if (programSettings.runByDefault && outputDeviceLink().connected)
        sendStartCommand(window);
}

void endOutputControl()
{
    emulationWorker().stop();
    if (hidNotices != nullptr)
        outputDeviceLink().api.UnregisterDeviceNotification(hidNotices);
    hidNotices = nullptr;
}

// Whatever device came or went (the handle, another HID device, a port, a
// volume), discovery tells whether the handle is there. Output runs on
// untouched while it is, and stops when it is gone. With "Run By Default"
// on, only the handle's own arrival starts output; another device's arrival
// changes nothing, so output the user stopped stays stopped.
void onDeviceChange(HWND window, WPARAM event)
{
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return;
    const bool wasConnected = outputDeviceLink().connected;
    rediscover(window);
    const bool connected = outputDeviceLink().connected;
    if (!connected)
        emulationWorker().stop();
    refreshOutputButtons();
    if (event == DBT_DEVICEARRIVAL && programSettings.runByDefault && connected && !wasConnected)
        sendStartCommand(window);
}
