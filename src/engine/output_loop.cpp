#include "engine/output_loop.h"

#include <algorithm>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Sleeps through most of the wait and spins the rest on the counter, which
// alone decides the end: a sleep that ends late makes a cycle longer, never
// one that ends early a cycle shorter. The spin keeps the period to a few us.
void waitUntilElapsed(OutputPorts& ports, int64_t frequency, int64_t cycleStart, int64_t boundUs)
{
    if (frequency <= 0)
        return;
    const auto elapsedUs = [&] { return (ports.counter() - cycleStart) * 1000000 / frequency; };
    ports.sleepBefore(boundUs - elapsedUs());
    while (elapsedUs() < boundUs) {
    }
}

int32_t magnitudeOf(int32_t deflection, int32_t divisor)
{
    return deflection / divisor;
}

// Builds the cycle's axis batch; returns the number of records.
int axisPass(OutputState& state, const JoystickState& joystick, const KeyTable& table, KeyEvent* batch)
{
    const int32_t divisor = pulseDivisor(table.cycleSteps.load(relaxed));
    int count = 0;
    for (int i = 0; i < AXIS_DIRECTION_COUNT; ++i) {
        const int32_t value = joystick.axisValue[i / 2];
        const bool positive = i % 2 == 0;
        int32_t magnitude = 0;
        if (value >= AXIS_CENTRE && positive)
            magnitude = magnitudeOf(value - AXIS_CENTRE, divisor);
        else if (value < AXIS_CENTRE && !positive)
            magnitude = magnitudeOf(AXIS_CENTRE - value, divisor);

        const uint16_t key = table.axisKeys[i].load(relaxed);
        uint16_t& held = state.heldAxisKeys[i];
        const bool wanted = key != 0 && magnitude > state.phase;
        if (held != 0 && (!wanted || held != key)) {
            batch[count++] = KeyEvent{held, true};
            held = 0;
        }
        if (wanted && held == 0) {
            batch[count++] = KeyEvent{key, false};
            held = key;
        }
    }
    return count;
}

int releaseHeldAxisKeys(OutputState& state, KeyEvent* batch)
{
    int count = 0;
    for (uint16_t& held : state.heldAxisKeys) {
        if (held != 0)
            batch[count++] = KeyEvent{held, true};
        held = 0;
    }
    return count;
}

void buttonPass(OutputState& state, uint64_t currentButtons, const KeyTable& table, OutputPorts& ports)
{
    const uint64_t changed = state.previousButtons ^ currentButtons;
    for (int i = 0; i < BUTTON_SLOT_COUNT; ++i) {
        const uint64_t bit = uint64_t{1} << i;
        if (!(changed & bit))
            continue;
        uint16_t& pressed = state.pressedButtonKeys[i];
        KeyEvent event{};
        if (currentButtons & bit) {
            pressed = table.buttonKeys[i].load(relaxed);
            event = KeyEvent{pressed, false};
        } else {
            event = KeyEvent{pressed, true};
            pressed = 0;
        }
        if (event.code != 0)
            ports.sendKeys(&event, 1);
    }
    state.previousButtons = currentButtons;
}

void releaseAllKeys(OutputState& state, const KeyTable& table, OutputPorts& ports)
{
    KeyEvent batch[AXIS_DIRECTION_COUNT];
    const int count = releaseHeldAxisKeys(state, batch);
    if (count > 0)
        ports.sendKeys(batch, count);
    buttonPass(state, 0, table, ports);
}

// Once the opens have failed for OPEN_FAILURE_RELEASE_US in a row, every held
// key is released and the last report's buttons are forgotten, so a button
// still down when reports come back is pressed again. Time-outs do not
// count: the handle may be silent while a button is held.
void followOpenFailures(OutputState& state, bool openFailed, int64_t cycleStart, int64_t frequency,
                        const KeyTable& table, OutputPorts& ports)
{
    if (!openFailed) {
        state.openFailing = false;
        return;
    }
    if (!state.openFailing) {
        state.openFailing = true;
        state.openFailingSince = cycleStart;
    }
    if (frequency > 0 && (cycleStart - state.openFailingSince) * 1000000 / frequency >= OPEN_FAILURE_RELEASE_US)
        releaseAllKeys(state, table, ports);
}

}  // namespace

int32_t usableCycleSteps(int32_t cycleSteps)
{
    return std::max<int32_t>(cycleSteps, 1);
}

int32_t pulseDivisor(int32_t cycleSteps)
{
    // 64-bit so that the largest int32 cannot overflow the "+ 1".
    return static_cast<int32_t>(AXIS_CENTRE / (int64_t{usableCycleSteps(cycleSteps)} + 1) + 1);
}

void runFullCycle(OutputState& state, const JoystickState& joystick, const KeyTable& table, bool final,
                  OutputPorts& ports)
{
    KeyEvent batch[AXIS_DIRECTION_COUNT];
    // With pulses off nothing may stay down: whatever a pulse holds is released
    // at once, and nothing is pressed while they stay off.
    const bool pulsing = !final && table.pulseEnabled.load(relaxed) != 0;
    const int count = pulsing ? axisPass(state, joystick, table, batch) : releaseHeldAxisKeys(state, batch);
    if (count > 0)
        ports.sendKeys(batch, count);

    buttonPass(state, final ? 0 : joystick.buttonBits, table, ports);

    state.phase = (state.phase + 1) % usableCycleSteps(table.cycleSteps.load(relaxed));
}

void runOutputLoop(OutputPorts& ports, const KeyTable& table, const std::atomic<bool>& stopRequested)
{
    const int64_t frequency = ports.counterFrequency();
    OutputState state;
    for (;;) {
        const int64_t cycleStart = ports.counter();
        const int result = ports.readReport();
        const bool final = stopRequested.load();
        followOpenFailures(state, result == READ_OPEN_FAILED, cycleStart, frequency, table, ports);
        const int length = std::max(result, 0);
        if (!final && (length == 0 || ports.reportBuffer()[0] != JOYSTICK_REPORT_ID)) {
            waitUntilElapsed(ports, frequency, cycleStart, RETRY_PERIOD_US);
            continue;
        }
        runFullCycle(state, decodeReport(ports.reportBuffer(), length), table, final, ports);
        waitUntilElapsed(ports, frequency, cycleStart, CYCLE_PERIOD_US);
        if (final)
            return;
    }
}
