#include "ui/main_window/output_control.h"

#include <dbt.h>

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

// The worker does not look at the link itself: started without the handle,
// its thread ends at once while running() stays true until the next stop.
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
    rediscover(window);
    refreshOutputButtons();
    if (programSettings.runByDefault && outputDeviceLink().connected)
        sendStartCommand(window);
}

// Windows sends these for every device, not only the handle. An arrival
// starts output whether or not the handle was found; a removal always stops
// it and never restarts it.
void onDeviceChange(HWND window, WPARAM event)
{
    if (event == DBT_DEVICEARRIVAL) {
        rediscover(window);
        refreshOutputButtons();
        if (programSettings.runByDefault)
            sendStartCommand(window);
    } else if (event == DBT_DEVICEREMOVECOMPLETE) {
        rediscover(window);
        emulationWorker().stop();
        refreshOutputButtons();
    }
}
