#pragma once
#include <cstdint>

#include "device/joystick_state.h"

// One synthetic key event: the key or mouse button with this virtual-key
// code, pressed or released. Which record it becomes is decided where the
// records are built (planKeyRecord).
struct KeyEvent {
    uint16_t code;
    bool up;
};

// What the output loop needs from the operating system. Windows binds it to
// the device link's reader, SendInput, the performance counter and a timer;
// tests bind it to scripted reports, a recorder and a virtual clock.
class OutputPorts {
public:
    // The device link's connected flag, looked at when the worker is started.
    virtual bool deviceConnected() = 0;
    // One cycle's read: the byte count of the newest report, now in
    // reportBuffer(), 0 when nothing came, or READ_OPEN_FAILED when the
    // device could not be opened.
    virtual int readReport() = 0;
    // The buffer the reads fill; it is not cleared between reads.
    virtual const ReportBuffer& reportBuffer() = 0;
    // One SendInput call with these records.
    virtual void sendKeys(const KeyEvent* events, int count) = 0;
    virtual int64_t counter() = 0;
    virtual int64_t counterFrequency() = 0;

    // Sleeping through most of a wait. The worker calls beginSleeps as output
    // starts and endSleeps once it has stopped, so whatever precise sleeps
    // need (a timer, a raised system timer resolution) is held only while
    // output runs. sleepBefore gives the processor away for most of the next
    // microseconds and returns shortly before they are over, or at once when
    // they are too few; the loop spins the rest on counter(). Ports that do
    // not override these never sleep, and the loop spins through every wait.
    virtual void beginSleeps() {}
    virtual void sleepBefore(int64_t microseconds) { (void)microseconds; }
    virtual void endSleeps() {}
    // The worker calls it once output has stopped: whatever the reads hold
    // open between cycles (the device, a read under way) is let go.
    virtual void endReads() {}

protected:
    ~OutputPorts() = default;
};
