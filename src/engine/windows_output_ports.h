#pragma once
#include "device/device_link.h"
#include "engine/output_ports.h"
#include "engine/windows_cycle_sleeper.h"

// The two keyboard records every key event is made from: the key's code,
// scan code and extended flag go into them, everything else stays as set here.
extern const INPUT KeyDownRecord;
extern const INPUT KeyUpRecord;

// The most records one sendKeys call carries: the output loop's axis batch.
constexpr int MAX_KEY_BATCH = 12;

// Fills records with one record per event, keyboard or mouse button as
// planKeyRecord decides, character keys in the layout of the foreground
// window's thread; returns how many it wrote, at most MAX_KEY_BATCH.
int buildKeyRecords(const KeyEvent* events, int count, INPUT* records);

using SendInputCall = UINT(WINAPI*)(UINT count, INPUT* records, int recordSize);

// OutputPorts over the device link's reader, SendInput, the performance
// counter and a waitable timer. The SendInput call is a parameter so tests
// can record it.
class WindowsOutputPorts final : public OutputPorts {
public:
    explicit WindowsOutputPorts(DeviceLink& link, SendInputCall sendInput = ::SendInput);

    bool deviceConnected() override;
    int readReport() override;
    const ReportBuffer& reportBuffer() override;
    void sendKeys(const KeyEvent* events, int count) override;
    int64_t counter() override;
    int64_t counterFrequency() override;
    void beginSleeps() override;
    void sleepBefore(int64_t microseconds) override;
    void endSleeps() override;
    void endReads() override;

private:
    DeviceLink& link;
    SendInputCall sendInput;
    CycleSleeper sleeper;
};
