#include "engine/windows_output_ports.h"

#include <algorithm>
#include <iterator>

#include "engine/key_record_plan.h"
#include "engine/output_loop.h"

static_assert(MAX_KEY_BATCH == AXIS_DIRECTION_COUNT, "one record per axis direction at most");

namespace {

INPUT keyboardTemplate(DWORD flags)
{
    // {} zeroes the union's first member, the mouse record; the keyboard
    // fields are set one by one so that none is left to the overlap.
    INPUT record{};
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = 0;
    record.ki.wScan = 0;
    record.ki.dwFlags = flags;
    record.ki.time = 0;
    record.ki.dwExtraInfo = 0;
    return record;
}

struct MouseButtonFlags {
    DWORD down;
    DWORD up;
    DWORD data;
};

// Indexed by MouseButton.
const MouseButtonFlags MOUSE_BUTTON_FLAGS[] = {
    {0, 0, 0},
    {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
    {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0},
    {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0},
    {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1},
    {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2},
};
static_assert(std::size(MOUSE_BUTTON_FLAGS) == static_cast<size_t>(MouseButton::X2) + 1, "one entry per button");

// A click where the cursor is: without MOUSEEVENTF_MOVE nothing moves.
INPUT mouseRecord(MouseButton button, bool up)
{
    const MouseButtonFlags& flags = MOUSE_BUTTON_FLAGS[static_cast<int>(button)];
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.dx = 0;
    record.mi.dy = 0;
    record.mi.mouseData = flags.data;
    record.mi.dwFlags = up ? flags.up : flags.down;
    record.mi.time = 0;
    record.mi.dwExtraInfo = 0;
    return record;
}

// Without KEYEVENTF_SCANCODE: programs that read virtual keys get wVk as
// they always did, and those that read scan codes get wScan.
INPUT keyboardRecord(const KeyRecordPlan& plan)
{
    INPUT record = plan.up ? KeyUpRecord : KeyDownRecord;
    record.ki.wVk = plan.virtualKey;
    record.ki.wScan = plan.scanCode;
    if (plan.extended)
        record.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return record;
}

// The keys land in the foreground window, so its thread's layout says which
// key types a character there. Without a foreground window, thread 0 gives
// this thread's layout.
uint16_t foregroundLayoutScanCode(uint16_t virtualKey)
{
    const DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    return static_cast<uint16_t>(MapVirtualKeyExA(virtualKey, MAPVK_VK_TO_VSC, GetKeyboardLayout(thread)));
}

}  // namespace

const INPUT KeyDownRecord = keyboardTemplate(0);
const INPUT KeyUpRecord = keyboardTemplate(KEYEVENTF_KEYUP);

int buildKeyRecords(const KeyEvent* events, int count, INPUT* records)
{
    const int built = std::min(count, MAX_KEY_BATCH);
    for (int i = 0; i < built; ++i) {
        const KeyRecordPlan plan = planKeyRecord(events[i], foregroundLayoutScanCode);
        records[i] =
            plan.mouseButton == MouseButton::None ? keyboardRecord(plan) : mouseRecord(plan.mouseButton, plan.up);
    }
    return built;
}

WindowsOutputPorts::WindowsOutputPorts(DeviceLink& link, SendInputCall sendInput) : link(link), sendInput(sendInput) {}

bool WindowsOutputPorts::deviceConnected()
{
    return link.connected;
}

int WindowsOutputPorts::readReport()
{
    return ::readReport(link);
}

const ReportBuffer& WindowsOutputPorts::reportBuffer()
{
    return link.reportBuffer;
}

void WindowsOutputPorts::sendKeys(const KeyEvent* events, int count)
{
    INPUT records[MAX_KEY_BATCH];
    const int built = buildKeyRecords(events, count, records);
    sendInput(static_cast<UINT>(built), records, sizeof(INPUT));
}

int64_t WindowsOutputPorts::counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t WindowsOutputPorts::counterFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

void WindowsOutputPorts::beginSleeps()
{
    beginCycleSleeps(sleeper);
}

void WindowsOutputPorts::sleepBefore(int64_t microseconds)
{
    ::sleepBefore(sleeper, microseconds);
}

void WindowsOutputPorts::endSleeps()
{
    endCycleSleeps(sleeper);
}

void WindowsOutputPorts::endReads()
{
    stopReading(link);
}
