#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "engine/windows_output_ports.h"
#include "fake_device_api.h"

namespace {

struct SendInputCallRecord {
    std::vector<INPUT> records;
    int recordSize;
};

std::vector<SendInputCallRecord> sentCalls;

UINT WINAPI recordSendInput(UINT count, INPUT* records, int recordSize)
{
    sentCalls.push_back(SendInputCallRecord{std::vector<INPUT>(records, records + count), recordSize});
    return count;
}

void expectKeyboardRecord(const INPUT& record, WORD code, DWORD flags, WORD scan = 0)
{
    EXPECT_EQ(record.type, static_cast<DWORD>(INPUT_KEYBOARD));
    EXPECT_EQ(record.ki.wVk, code);
    EXPECT_EQ(record.ki.wScan, scan);
    EXPECT_EQ(record.ki.dwFlags, flags);
    EXPECT_EQ(record.ki.time, 0u);
    EXPECT_EQ(record.ki.dwExtraInfo, 0u);
}

void expectMouseRecord(const INPUT& record, DWORD flags, DWORD data = 0)
{
    EXPECT_EQ(record.type, static_cast<DWORD>(INPUT_MOUSE));
    EXPECT_EQ(record.mi.dwFlags, flags);
    EXPECT_EQ(record.mi.mouseData, data);
    EXPECT_EQ(record.mi.dx | record.mi.dy | record.mi.time | record.mi.dwExtraInfo, 0u);
}

class OutputPortsTest : public ::testing::Test {
protected:
    void SetUp() override { sentCalls.clear(); }

    FakeDeviceApi api;
    DeviceLink link{api};
    WindowsOutputPorts ports{link, recordSendInput};
};

TEST_F(OutputPortsTest, TheTemplatesAreBareKeyboardRecords)
{
    expectKeyboardRecord(KeyDownRecord, 0, 0);
    expectKeyboardRecord(KeyUpRecord, 0, KEYEVENTF_KEYUP);
}

TEST_F(OutputPortsTest, ABatchIsOneSendInputCallOfKeyboardAndMouseRecords)
{
    // W (in the test display's US layout), mouse buttons, a code without scan code, Up.
    const KeyEvent batch[] = {{87, false}, {1, true}, {4, false}, {0xFE, true}, {6, false}, {38, true}};

    ports.sendKeys(batch, 6);

    ASSERT_EQ(sentCalls.size(), 1u);
    EXPECT_EQ(sentCalls[0].recordSize, static_cast<int>(sizeof(INPUT)));
    ASSERT_EQ(sentCalls[0].records.size(), 6u);
    expectKeyboardRecord(sentCalls[0].records[0], 87, 0, 0x11);
    expectMouseRecord(sentCalls[0].records[1], MOUSEEVENTF_LEFTUP);
    expectMouseRecord(sentCalls[0].records[2], MOUSEEVENTF_MIDDLEDOWN);
    expectKeyboardRecord(sentCalls[0].records[3], 0xFE, KEYEVENTF_KEYUP);
    expectMouseRecord(sentCalls[0].records[4], MOUSEEVENTF_XDOWN, XBUTTON2);
    expectKeyboardRecord(sentCalls[0].records[5], 38, KEYEVENTF_KEYUP | KEYEVENTF_EXTENDEDKEY, 0x48);
}

TEST_F(OutputPortsTest, EverySendKeysIsItsOwnCall)
{
    KeyEvent axisBatch[MAX_KEY_BATCH];
    for (int i = 0; i < MAX_KEY_BATCH; ++i)
        axisBatch[i] = KeyEvent{static_cast<uint16_t>(0x41 + i), i % 2 == 1};
    const KeyEvent press{70, false};

    ports.sendKeys(axisBatch, MAX_KEY_BATCH);
    ports.sendKeys(&press, 1);
    ports.sendKeys(&press, 1);

    ASSERT_EQ(sentCalls.size(), 3u);
    ASSERT_EQ(sentCalls[0].records.size(), static_cast<size_t>(MAX_KEY_BATCH));
    expectKeyboardRecord(sentCalls[0].records[11], 0x41 + 11, KEYEVENTF_KEYUP, 0x26);
    ASSERT_EQ(sentCalls[2].records.size(), 1u);
    expectKeyboardRecord(sentCalls[2].records[0], 70, 0, 0x21);
}

TEST_F(OutputPortsTest, ReadsGoThroughTheDeviceLink)
{
    EXPECT_FALSE(ports.deviceConnected());
    EXPECT_EQ(ports.readReport(), 0);
    EXPECT_TRUE(api.calls.empty());

    api.interfaces = {joystickHandle("handle")};
    api.report = {1, 2, 3};
    ASSERT_TRUE(connect(link));

    EXPECT_TRUE(ports.deviceConnected());
    EXPECT_EQ(ports.readReport(), 3);
    EXPECT_EQ(&ports.reportBuffer(), &link.reportBuffer);
    EXPECT_EQ(ports.reportBuffer()[2], 3);
}

TEST_F(OutputPortsTest, TheCounterRunsAtItsFrequency)
{
    const int64_t frequency = ports.counterFrequency();
    ASSERT_GT(frequency, 0);
    const ULONGLONG ticksBefore = GetTickCount64();
    const int64_t before = ports.counter();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const int64_t elapsedUs = (ports.counter() - before) * 1000000 / frequency;
    const ULONGLONG ticks = GetTickCount64() - ticksBefore;

    EXPECT_GE(elapsedUs, 15000);
    // Against the tick count, which moves in steps of up to 16 ms: however
    // long a busy machine made the sleep, the counter saw no more than that.
    EXPECT_LE(elapsedUs, static_cast<int64_t>(ticks + 16) * 1000);
}

TEST_F(OutputPortsTest, SleepsUseATimerThatIsHeldOnlyBetweenBeginAndEnd)
{
    CycleSleeper sleeper;
    beginCycleSleeps(sleeper);
    ASSERT_NE(sleeper.timer, nullptr);
    EXPECT_GT(sleeper.spinUs, 0);
    const int64_t before = ports.counter();
    sleepBefore(sleeper, 20000 + sleeper.spinUs);
    // Only a lower bound: a timer may wake late, but this one did sleep.
    EXPECT_GE((ports.counter() - before) * 1000000 / ports.counterFrequency(), 15000);

    endCycleSleeps(sleeper);
    EXPECT_EQ(sleeper.timer, nullptr);
    EXPECT_EQ(sleeper.timeLibrary, nullptr);
}

}  // namespace
