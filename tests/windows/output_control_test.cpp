#include <windows.h>

#include <gtest/gtest.h>

#include <dbt.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "documents/key_file.h"
#include "main_window_fixture.h"
#include "ui/editor/editor_panel.h"
#include "ui/main_window/command_ids.h"

namespace {

constexpr WORD START_BUTTON_ID = 10000;
constexpr WORD STOP_BUTTON_ID = 10001;

// WM_ENABLE reaches a button each time EnableWindow changes its state; the
// log shows which button changed, to what, and in which order.
std::vector<std::pair<HWND, bool>> enableLog;
WNDPROC buttonProc = nullptr;

LRESULT CALLBACK loggingButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENABLE)
        enableLog.emplace_back(window, wParam != 0);
    return CallWindowProcA(buttonProc, window, message, wParam, lParam);
}

class OutputControlTest : public MainWindowTest {
protected:
    HWND startButton() const { return editorPanel.startButton.window; }
    HWND stopButton() const { return editorPanel.stopButton.window; }

    void expectButtons(bool startEnabled, bool stopEnabled) const
    {
        EXPECT_EQ(IsWindowEnabled(startButton()) != 0, startEnabled);
        EXPECT_EQ(IsWindowEnabled(stopButton()) != 0, stopEnabled);
    }

    void sendDeviceChange(WPARAM event) { EXPECT_EQ(SendMessageA(window, WM_DEVICECHANGE, event, 0), 0); }

    size_t deviceOpens() { return deviceApi.closeCounts("device").size(); }

    // True once the loop issued two more reads, one a cycle after the first
    // cycle's two: the cycle under way has ended.
    bool outputLoopReads()
    {
        const size_t before = deviceApi.readCount();
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (deviceApi.readCount() < before + 2) {
            if (std::chrono::steady_clock::now() > giveUp)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    void startWithTheHandle()
    {
        plugHandleIn();
        recreateWindow();
        sendCommand(START_BUTTON_ID);
        ASSERT_TRUE(worker.running());
    }
};

}  // namespace

// Both buttons start from the opposite of what the rule wants, so each of
// the two EnableWindow calls shows, Start's first.
TEST_F(OutputControlTest, ButtonRuleInEveryCombination)
{
    const struct {
        bool handle;
        bool running;
        bool start;
        bool stop;
    } rows[] = {
        {true, false, true, false},
        {true, true, false, true},
        {false, false, false, false},
        {false, true, false, false},
    };
    buttonProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(startButton(), GWLP_WNDPROC));
    for (HWND button : {startButton(), stopButton()})
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(loggingButtonProc));

    // Output runs without the handle only between its loss and the discovery
    // that stops output.
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "handle " << row.handle << ", running " << row.running);
        plugHandleIn();
        connect(link);
        if (row.running)
            worker.start();
        if (!row.handle) {
            unplugHandle();
            connect(link);
        }

        for (bool fromOpposite : {true, false}) {
            EnableWindow(startButton(), fromOpposite ? !row.start : row.start);
            EnableWindow(stopButton(), fromOpposite ? !row.stop : row.stop);
            enableLog.clear();
            refreshOutputButtons();
            expectButtons(row.start, row.stop);
            if (fromOpposite) {
                const std::vector<std::pair<HWND, bool>> expected{{startButton(), row.start}, {stopButton(), row.stop}};
                EXPECT_EQ(enableLog, expected);
            } else {
                EXPECT_TRUE(enableLog.empty());
            }
        }
        worker.stop();
    }
    for (HWND button : {startButton(), stopButton()})
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc));
}

TEST_F(OutputControlTest, StartAndStopFollowTheButtons)
{
    plugHandleIn();
    recreateWindow();
    expectButtons(true, false);

    sendCommand(START_BUTTON_ID);
    EXPECT_TRUE(worker.running());
    expectButtons(false, true);
    EXPECT_TRUE(outputLoopReads());

    sendCommand(STOP_BUTTON_ID);
    EXPECT_FALSE(worker.running());
    expectButtons(true, false);
    EXPECT_EQ(deviceApi.openHandles("device"), 0);
}

// A second start of a running worker would abandon its thread; the command
// is left to the default procedure instead.
TEST_F(OutputControlTest, StartWhileRunningFallsThrough)
{
    startWithTheHandle();
    EXPECT_FALSE(onStartCommand());
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(START_BUTTON_ID, BN_CLICKED), 0), 0);
    EXPECT_TRUE(worker.running());
    expectButtons(false, true);
}

TEST_F(OutputControlTest, StartWithoutTheHandleStartsNothing)
{
    sendCommand(START_BUTTON_ID);
    EXPECT_FALSE(worker.running());
    expectButtons(false, false);
    EXPECT_EQ(deviceOpens(), 0u);
}

TEST_F(OutputControlTest, DisabledWhileRunningKeepsOutputRunning)
{
    startWithTheHandle();
    sendCommand(CMD_RUN_DISABLED);
    EXPECT_TRUE(worker.running());
    expectButtons(false, true);
    EXPECT_FALSE(menuChecked(CMD_RUN_ENABLED));
    EXPECT_TRUE(menuChecked(CMD_RUN_DISABLED));
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(false, false, ""));
}

TEST_F(OutputControlTest, EnabledWhileConnectedAndStoppedStartsAtOnce)
{
    plugHandleIn();
    recreateWindow();
    sendCommand(CMD_RUN_ENABLED);
    EXPECT_TRUE(worker.running());
    expectButtons(false, true);
    EXPECT_TRUE(menuChecked(CMD_RUN_ENABLED));
    EXPECT_FALSE(menuChecked(CMD_RUN_DISABLED));
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(false, true, ""));
    EXPECT_TRUE(outputLoopReads());
}

TEST_F(OutputControlTest, EnabledWhileRunningChangesOnlyTheMarksAndTheConfiguration)
{
    startWithTheHandle();
    sendCommand(CMD_RUN_ENABLED);
    EXPECT_TRUE(worker.running());
    expectButtons(false, true);
    EXPECT_TRUE(menuChecked(CMD_RUN_ENABLED));
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(false, true, ""));
}

TEST_F(OutputControlTest, EnabledWithoutTheHandleDoesNotStart)
{
    sendCommand(CMD_RUN_ENABLED);
    EXPECT_FALSE(worker.running());
    expectButtons(false, false);
    EXPECT_TRUE(menuChecked(CMD_RUN_ENABLED));
    EXPECT_FALSE(menuChecked(CMD_RUN_DISABLED));
}

// The choice is written with whatever else the configuration holds.
TEST_F(OutputControlTest, RunByDefaultIsWrittenWithTheOtherSettings)
{
    KeyTable table;
    ASSERT_TRUE(writeKeyFile(path("last.qvxkeys"), table));
    writeBytes(settingsFilePath(), settingsBytes(true, false, path("last.qvxkeys")));
    recreateWindow();

    sendCommand(CMD_RUN_ENABLED);
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(true, true, path("last.qvxkeys")));
    sendCommand(CMD_RUN_DISABLED);
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(true, false, path("last.qvxkeys")));
    EXPECT_TRUE(menuChecked(CMD_RUN_DISABLED));
    EXPECT_FALSE(menuChecked(CMD_RUN_ENABLED));
}

// Windows announces every removal, a memory stick's too: while the handle is
// still there, output runs on untouched, no key released or pressed again.
// Only the handle's own removal stops it, releasing the keys.
TEST_F(OutputControlTest, OnlyTheHandlesRemovalStopsOutput)
{
    deviceApi.report = {JOYSTICK_REPORT_ID, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0};  // button 1 held
    plugHandleIn();
    recreateWindow();
    keyTable.setSlotKey(0, 'A');
    sendCommand(CMD_RUN_ENABLED);
    // The first cycle, which pressed the key, is over.
    ASSERT_TRUE(outputLoopReads() && outputLoopReads());

    sendDeviceChange(DBT_DEVICEREMOVECOMPLETE);
    EXPECT_TRUE(worker.running());
    expectButtons(false, true);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Connected");
    EXPECT_EQ(sentKeys(), std::vector<std::string>{"+65"});

    unplugHandle();
    sendDeviceChange(DBT_DEVICEREMOVECOMPLETE);
    EXPECT_FALSE(worker.running());
    expectButtons(false, false);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Not Connected");
    EXPECT_EQ(sentKeys(), (std::vector<std::string>{"+65", "-65"}));
    EXPECT_EQ(deviceApi.openHandles("device"), 0);
}

// With "Run By Default" on, only the handle's own arrival starts output. An
// arrival while it stays connected (another device's) changes nothing, so
// output runs on, or stays stopped after Stop; one that does not find it
// starts nothing, and one that loses it stops output.
TEST_F(OutputControlTest, ArrivalStartsOutputOnlyWhenTheHandleAppears)
{
    sendCommand(CMD_RUN_ENABLED);
    unplugHandle();
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_FALSE(worker.running());
    expectButtons(false, false);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Not Connected");

    plugHandleIn();
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_TRUE(worker.running());
    expectButtons(false, true);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Connected");
    EXPECT_TRUE(outputLoopReads());
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_TRUE(worker.running());
    EXPECT_TRUE(outputLoopReads());

    unplugHandle();
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_FALSE(worker.running());
    expectButtons(false, false);

    plugHandleIn();
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_TRUE(worker.running());
    sendCommand(STOP_BUTTON_ID);
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_FALSE(worker.running());
    expectButtons(true, false);
}

TEST_F(OutputControlTest, ArrivalWithoutRunByDefaultOnlyRediscovers)
{
    plugHandleIn();
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_FALSE(worker.running());
    expectButtons(true, false);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Connected");
}

// The title says " - Connected" exactly when discovery finds the handle: a
// foreign device that fails does not spoil it, nor does an event that could
// not be made, which only the reader needs.
TEST_F(OutputControlTest, TitleSaysConnectedExactlyWhenTheHandleCanBeRead)
{
    FakeInterface broken = foreignDevice("\\\\?\\hid#broken");
    broken.attributesFail = true;
    deviceApi.setInterfaces({broken, joystickHandle("\\\\?\\hid#handle")});
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Connected");
    expectButtons(true, false);

    deviceApi.eventCreationFails = true;
    sendDeviceChange(DBT_DEVICEARRIVAL);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Connected");
}

// Windows announces a HID interface's arrival and removal only to a window
// that registered for the HID class; the registration lives as long as the
// window.
TEST_F(OutputControlTest, RegistersForTheHidClassBeforeTheFirstDiscovery)
{
    ASSERT_EQ(deviceApi.registrations.size(), 1u);
    const FakeRegistration& registration = deviceApi.registrations[0];
    EXPECT_EQ(registration.recipient, window);
    EXPECT_EQ(registration.flags, static_cast<DWORD>(DEVICE_NOTIFY_WINDOW_HANDLE));
    EXPECT_EQ(registration.filter.dbcc_size, sizeof(DEV_BROADCAST_DEVICEINTERFACE_A));
    EXPECT_EQ(registration.filter.dbcc_devicetype, static_cast<DWORD>(DBT_DEVTYP_DEVICEINTERFACE));
    EXPECT_EQ(registration.filter.dbcc_classguid, FakeDeviceApi::HID_GUID);
    EXPECT_EQ(deviceApi.calls[1], "RegisterDeviceNotificationA");  // after the class GUID, before discovery

    DestroyWindow(window);
    EXPECT_EQ(deviceApi.closeCounts("notification"), std::vector<int>{1});
}

TEST_F(OutputControlTest, AFailedRegistrationChangesNothingElse)
{
    deviceApi.registrationFails = true;
    plugHandleIn();
    recreateWindow();
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Connected");
    expectButtons(true, false);
    DestroyWindow(window);
    EXPECT_TRUE(deviceApi.misuses.empty()) << joined(deviceApi.misuses);
}

TEST_F(OutputControlTest, OtherDeviceEventsChangeNothing)
{
    sendCommand(CMD_RUN_ENABLED);
    plugHandleIn();
    const size_t callsBefore = deviceApi.calls.size();
    for (WPARAM event : {WPARAM{DBT_DEVNODES_CHANGED}, WPARAM{DBT_DEVICEQUERYREMOVE}, WPARAM{DBT_DEVICEREMOVEPENDING},
                         WPARAM{DBT_CONFIGCHANGED}})
        sendDeviceChange(event);
    EXPECT_EQ(deviceApi.calls.size(), callsBefore);
    EXPECT_FALSE(worker.running());
    expectButtons(false, false);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Not Connected");
}

TEST_F(OutputControlTest, DestroyingTheWindowStopsOutput)
{
    startWithTheHandle();
    DestroyWindow(window);
    EXPECT_FALSE(worker.running());
    EXPECT_EQ(deviceApi.openHandles("device"), 0);
}
