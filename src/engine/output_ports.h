#pragma once
#include <cstdint>

#include "device/joystick_state.h"

// One synthetic key event: a keyboard record with this virtual-key code,
// pressed or released. Nothing else is ever injected.
struct KeyEvent {
    uint16_t code;
    bool up;
};

// What the output loop needs from the operating system. Windows binds it to
// the device link's reader, SendInput and the performance counter; tests bind
// it to scripted reports, a recorder and a virtual clock.
class OutputPorts {
public:
    // The device link's connected flag, looked at when the worker thread begins.
    virtual bool deviceConnected() = 0;
    // One read into reportBuffer(): the byte count, or 0 when nothing came.
    virtual int readReport() = 0;
    // The buffer the reads fill; it is not cleared between reads.
    virtual const ReportBuffer& reportBuffer() = 0;
    // One SendInput call with these records.
    virtual void sendKeys(const KeyEvent* events, int count) = 0;
    virtual int64_t counter() = 0;
    virtual int64_t counterFrequency() = 0;

protected:
    ~OutputPorts() = default;
};
