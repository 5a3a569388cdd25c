#include "engine/windows_output_ports.h"

#include <algorithm>

#include "engine/output_loop.h"

static_assert(MAX_KEY_BATCH == AXIS_DIRECTION_COUNT, "one record per axis direction at most");

namespace {

INPUT keyboardRecord(DWORD flags)
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

}  // namespace

const INPUT KeyDownRecord = keyboardRecord(0);
const INPUT KeyUpRecord = keyboardRecord(KEYEVENTF_KEYUP);

int buildKeyRecords(const KeyEvent* events, int count, INPUT* records)
{
    const int built = std::min(count, MAX_KEY_BATCH);
    for (int i = 0; i < built; ++i) {
        records[i] = events[i].up ? KeyUpRecord : KeyDownRecord;
        records[i].ki.wVk = events[i].code;
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
