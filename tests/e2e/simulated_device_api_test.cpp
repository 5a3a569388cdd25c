#include <gtest/gtest.h>

#include <algorithm>

#include "device/device_link.h"
#include "fake_device_api.h"
#include "simulated_device/simulated_device_api.h"
#include "simulated_device/simulated_handle.h"

namespace {

// Plays the simulator's part in the presence signal.
class PresenceSignal {
public:
    PresenceSignal() : event(CreateEventA(nullptr, TRUE, FALSE, SIMULATED_HANDLE_PRESENT_EVENT)) {}
    ~PresenceSignal() { CloseHandle(event); }
    void plugIn() { SetEvent(event); }
    void unplug() { ResetEvent(event); }

private:
    HANDLE event;
};

class SimulatedDeviceApiTest : public ::testing::Test {
protected:
    FakeDeviceApi system;
    SimulatedDeviceApi api{system};
    DeviceLink link{api};
    PresenceSignal presence;

    int examined(const std::string& call)
    {
        return static_cast<int>(std::count(system.calls.begin(), system.calls.end(), call));
    }
};

}  // namespace

TEST_F(SimulatedDeviceApiTest, HandleIsFoundBehindTheSystemsDevicesWhilePluggedIn)
{
    system.interfaces = {foreignDevice("\\\\?\\hid#mouse"), foreignDevice("\\\\?\\hid#keyboard")};
    presence.plugIn();

    EXPECT_TRUE(connect(link));
    EXPECT_TRUE(link.connected);
    EXPECT_EQ(link.devicePath, SIMULATED_HANDLE_PATH);
    // Both of the system's devices were examined before the handle.
    EXPECT_EQ(examined("HidD_GetAttributes"), 2);
    EXPECT_EQ(system.misuses, std::vector<std::string>{});
    // The query handle was closed again.
    EXPECT_EQ(system.openHandles("event"), 0);
}

TEST_F(SimulatedDeviceApiTest, HandleIsNotListedWhileUnpluggedOrWithoutSimulator)
{
    system.interfaces = {foreignDevice("\\\\?\\hid#mouse")};
    presence.unplug();
    EXPECT_FALSE(connect(link));
    EXPECT_FALSE(link.connected);

    presence.plugIn();
    EXPECT_TRUE(connect(link));
    presence.unplug();
    EXPECT_FALSE(connect(link));
    EXPECT_FALSE(link.connected);
    EXPECT_EQ(system.misuses, std::vector<std::string>{});
}

// A real handle listed by the system comes first in enumeration order.
TEST_F(SimulatedDeviceApiTest, SystemsOwnHandleIsTakenFirst)
{
    system.interfaces = {joystickHandle("\\\\?\\hid#handle")};
    presence.plugIn();
    EXPECT_TRUE(connect(link));
    EXPECT_EQ(link.devicePath, "\\\\?\\hid#handle");
}

// The system's failures stay the system's: the simulated interface answers
// for itself, so a broken device before it does not hide it.
TEST_F(SimulatedDeviceApiTest, HandleIsFoundBehindABrokenSystemDevice)
{
    FakeInterface broken = foreignDevice("\\\\?\\hid#broken");
    broken.attributesFail = true;
    system.interfaces = {broken};
    presence.plugIn();
    EXPECT_TRUE(connect(link));
    EXPECT_EQ(link.devicePath, SIMULATED_HANDLE_PATH);
    EXPECT_EQ(examined("HidD_GetAttributes"), 1);
}
