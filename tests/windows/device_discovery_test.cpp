#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/device_link.h"
#include "fake_device_api.h"

namespace {

const std::string HANDLE_PATH = "\\\\?\\hid#vid_04d8&pid_0f2d#handle";

class DiscoveryTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(api.misuses.empty()) << joined(api.misuses); }

    // Every query handle was closed exactly once, and only those were opened.
    void expectQueriesClosed(size_t opened)
    {
        const std::vector<int> closes = api.closeCounts("query");
        EXPECT_EQ(closes, std::vector<int>(opened, 1));
    }

    FakeDeviceApi api;
    DeviceLink link{api};
};

// Discovery opens nothing that a read uses: the reader makes its own event.
TEST_F(DiscoveryTest, NoDeviceLeavesTheLinkUnconnectedWithNothingOpen)
{
    const bool connectResult = connect(link);

    EXPECT_FALSE(link.connected);
    EXPECT_FALSE(connectResult);
    EXPECT_TRUE(api.eventCreations.empty());
    EXPECT_EQ(api.openHandles("list"), 0);
}

TEST_F(DiscoveryTest, FindsTheHandleBehindTwoForeignDevices)
{
    api.interfaces = {foreignDevice("mouse"), foreignDevice("keyboard"), joystickHandle(HANDLE_PATH)};

    const bool connectResult = connect(link);

    EXPECT_TRUE(link.connected);
    EXPECT_TRUE(connectResult);
    EXPECT_EQ(link.devicePath, HANDLE_PATH);
    expectQueriesClosed(3);
    EXPECT_EQ(api.openHandles("list"), 0);
}

TEST_F(DiscoveryTest, MakesEachCallInOrderWithItsArguments)
{
    api.interfaces = {foreignDevice("mouse"), joystickHandle(HANDLE_PATH)};

    connect(link);
    connect(link);

    const std::vector<std::string> oneInterface = {"SetupDiGetDeviceInterfaceDetailA size",
                                                   "SetupDiGetDeviceInterfaceDetailA", "CreateFileA query",
                                                   "HidD_GetAttributes", "CloseHandle query"};
    std::vector<std::string> discovery = {"HidD_GetHidGuid", "SetupDiGetClassDevsA", "SetupDiEnumDeviceInterfaces 0"};
    discovery.insert(discovery.end(), oneInterface.begin(), oneInterface.end());
    discovery.push_back("SetupDiEnumDeviceInterfaces 1");
    discovery.insert(discovery.end(), oneInterface.begin(), oneInterface.end());
    discovery.push_back("SetupDiDestroyDeviceInfoList");
    std::vector<std::string> expected = discovery;
    expected.insert(expected.end(), discovery.begin(), discovery.end());
    EXPECT_EQ(api.calls, expected);

    EXPECT_EQ(api.classListFlags, static_cast<DWORD>(0x12));
    EXPECT_TRUE(api.classListArgumentsRight);
    EXPECT_TRUE(api.enumerationArgumentsRight);
    EXPECT_TRUE(api.attributeSizesRight);
    ASSERT_FALSE(api.opens.empty());
    for (const FakeOpen& open : api.opens) {
        EXPECT_EQ(open.access, 0u);
        EXPECT_EQ(open.shareMode, static_cast<DWORD>(FILE_SHARE_READ | FILE_SHARE_WRITE));
        EXPECT_FALSE(open.security);
        EXPECT_EQ(open.disposition, static_cast<DWORD>(OPEN_EXISTING));
        EXPECT_EQ(open.flags, 0u);
        EXPECT_FALSE(open.templateFile);
    }
}

TEST_F(DiscoveryTest, BothIdsMustMatch)
{
    api.interfaces = {FakeInterface{"other product", HANDLE_VENDOR_ID, HANDLE_PRODUCT_ID + 1},
                      FakeInterface{"other vendor", HANDLE_VENDOR_ID + 1, HANDLE_PRODUCT_ID}};

    const bool connectResult = connect(link);

    EXPECT_FALSE(link.connected);
    EXPECT_FALSE(connectResult);
    expectQueriesClosed(2);
}

TEST_F(DiscoveryTest, TheFirstOfTwoHandlesWinsAndEndsTheEnumeration)
{
    api.interfaces = {joystickHandle("first"), joystickHandle("second")};

    EXPECT_TRUE(connect(link));

    EXPECT_EQ(link.devicePath, "first");
    EXPECT_EQ(api.opens.size(), 1u);
    for (const std::string& call : api.calls)
        EXPECT_NE(call, "SetupDiEnumDeviceInterfaces 1");
}

// The same path found again is no new path: a reader keeps its device.
TEST_F(DiscoveryTest, RepeatedDiscoveryKeepsThePathGeneration)
{
    api.interfaces = {joystickHandle(HANDLE_PATH)};

    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(connect(link));
        EXPECT_TRUE(link.connected);
        EXPECT_EQ(link.devicePath, HANDLE_PATH);
    }

    EXPECT_EQ(link.pathGeneration, 1u);
}

TEST_F(DiscoveryTest, ALostHandleClearsConnected)
{
    api.interfaces = {joystickHandle(HANDLE_PATH)};
    ASSERT_TRUE(connect(link));

    api.interfaces = {foreignDevice("mouse")};

    EXPECT_FALSE(connect(link));
    EXPECT_FALSE(link.connected);
}

TEST_F(DiscoveryTest, AFailedEventCreationDoesNotHideTheHandle)
{
    api.interfaces = {joystickHandle(HANDLE_PATH)};
    api.eventCreationFails = true;

    EXPECT_TRUE(connect(link));
}

// An interface that fails a step is skipped; it says nothing about the
// handle found after it, which connects.
class FailingInterfaceTest : public DiscoveryTest {
protected:
    void connectBehind(const FakeInterface& failing)
    {
        api.interfaces = {failing, joystickHandle(HANDLE_PATH)};
        connectResult = connect(link);
    }

    bool connectResult = false;
};

TEST_F(FailingInterfaceTest, AForeignDeviceWhoseAttributesFail)
{
    FakeInterface failing = foreignDevice("mouse");
    failing.attributesFail = true;

    connectBehind(failing);

    EXPECT_TRUE(link.connected);
    EXPECT_TRUE(connectResult);
    EXPECT_EQ(link.devicePath, HANDLE_PATH);
    expectQueriesClosed(2);
}

TEST_F(FailingInterfaceTest, AForeignDeviceThatCannotBeOpenedIsNeverClosed)
{
    FakeInterface failing = foreignDevice("mouse");
    failing.openFails = true;

    connectBehind(failing);

    EXPECT_TRUE(link.connected);
    EXPECT_TRUE(connectResult);
    expectQueriesClosed(1);
}

TEST_F(FailingInterfaceTest, ASizeQueryFailingWithAnotherErrorSkipsTheInterface)
{
    FakeInterface failing = foreignDevice("mouse");
    failing.sizeQueryError = ERROR_INVALID_PARAMETER;

    connectBehind(failing);

    EXPECT_TRUE(link.connected);
    EXPECT_TRUE(connectResult);
    ASSERT_EQ(api.opens.size(), 1u);
    EXPECT_EQ(api.opens[0].path, HANDLE_PATH);
}

TEST_F(FailingInterfaceTest, AFailedDetailFetchSkipsTheInterface)
{
    FakeInterface failing = foreignDevice("mouse");
    failing.detailFails = true;

    connectBehind(failing);

    EXPECT_TRUE(link.connected);
    EXPECT_TRUE(connectResult);
    ASSERT_EQ(api.opens.size(), 1u);
    EXPECT_EQ(api.opens[0].path, HANDLE_PATH);
}

TEST_F(FailingInterfaceTest, AFailedDeviceListFindsNothing)
{
    api.classListFails = true;
    api.interfaces = {joystickHandle(HANDLE_PATH)};

    EXPECT_FALSE(connect(link));

    EXPECT_FALSE(link.connected);
    EXPECT_TRUE(api.opens.empty());
}

// The handle itself failing a step is not found; the next discovery starts
// afresh and finds it once it answers.
TEST_F(FailingInterfaceTest, StartsAfreshOnEveryDiscovery)
{
    FakeInterface failing = joystickHandle(HANDLE_PATH);
    failing.attributesFail = true;
    api.interfaces = {failing};
    EXPECT_FALSE(connect(link));
    EXPECT_FALSE(link.connected);

    api.interfaces = {joystickHandle(HANDLE_PATH)};

    EXPECT_TRUE(connect(link));
}

}  // namespace
