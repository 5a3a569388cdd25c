#pragma once
#include <atomic>
#include <cstdint>

#include "device/joystick_state.h"
#include "engine/output_ports.h"
#include "model/key_table.h"

constexpr int64_t CYCLE_PERIOD_US = 8333;  // 120 cycles a second
constexpr int64_t RETRY_PERIOD_US = 1000;  // shortest iteration without a report
constexpr int32_t AXIS_CENTRE = 511;
// How long opening the device may fail in a row before the loop lets go of
// every key it holds: a handle that died without a removal notice would
// otherwise leave them down for good.
constexpr int64_t OPEN_FAILURE_RELEASE_US = 250000;
constexpr int AXIS_DIRECTION_COUNT = 2 * AXIS_COUNT;

// What one run of the output loop carries from cycle to cycle. The loop
// remembers the code it actually pressed for every button and axis direction,
// so that a release always undoes its own press even when the table was
// changed (by the editor, Open, New or Clear All) while the key was down.
struct OutputState {
    uint64_t previousButtons = 0;
    uint16_t pressedButtonKeys[BUTTON_SLOT_COUNT] = {};  // 0: no key down for it
    uint16_t heldAxisKeys[AXIS_DIRECTION_COUNT] = {};    // 0: the direction's key is up
    int32_t phase = 0;                                   // position in the pulse period
    bool openFailing = false;                            // the latest reads could not open the device
    int64_t openFailingSince = 0;                        // counter at the first of those reads
};

// The pulse period in cycles as the loop uses it: a table value below 1 (a key
// code file may carry one) counts as 1, so no division ever sees it.
int32_t usableCycleSteps(int32_t cycleSteps);
int32_t pulseDivisor(int32_t cycleSteps);

// The axis pass, the button pass and the phase step of one full cycle, with
// their SendInput calls. A final cycle releases every key that is down.
void runFullCycle(OutputState& state, const JoystickState& joystick, const KeyTable& table, bool final,
                  OutputPorts& ports);

// Repeats the output cycle until stopRequested is seen after a read; the
// cycle that sees it is the final one.
void runOutputLoop(OutputPorts& ports, const KeyTable& table, const std::atomic<bool>& stopRequested);
