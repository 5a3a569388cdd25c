// A key that the worker pressed is always released under the code it was
// pressed with, whatever happens to the table meanwhile.
#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace {

using Calls = std::vector<std::string>;

struct HeldKeys : testing::Test {
    KeyTable table;
    ScriptedPorts ports;

    // Changes the table just before the given 1-based read.
    void beforeRead(int read, std::function<void()> change)
    {
        auto previous = ports.beforeRead;
        ports.beforeRead = [=](int index) {
            if (previous)
                previous(index);
            if (index + 1 == read)
                change();
        };
    }

    Calls run(std::vector<ScriptedReport> script)
    {
        ports.script = std::move(script);
        return runScript(ports, table);
    }
};

TEST_F(HeldKeys, ButtonReleaseUndoesItsOwnPressAfterTheCodeChanged)
{
    table.buttonKeys[0] = 65;
    beforeRead(2, [&] { table.buttonKeys[0] = 66; });
    EXPECT_EQ(run({centred(button(1)), centred(button(1)), centred(), centred(button(1)), centred()}),
              (Calls{"1: +65", "3: -65", "4: +66", "5: -66"}));
}

TEST_F(HeldKeys, ButtonReleaseAfterTheCodeWasClearedOrTheTableReplaced)
{
    const std::vector<std::function<void(KeyTable&)>> changes = {
        [](KeyTable& t) { t.buttonKeys[0] = 0; },
        [](KeyTable& t) { t.clearButtonKeys(); },  // New
        [](KeyTable& t) { t.resetToDefaults(); },  // Clear All
        [](KeyTable& t) {                          // Open of another file
            for (KeyCell& cell : t.buttonKeys)
                cell = 90;
        },
    };
    for (const auto& change : changes) {
        ScriptedPorts fresh;
        table.resetToDefaults();
        table.buttonKeys[0] = 65;
        fresh.beforeRead = [&](int index) {
            if (index == 1)
                change(table);
        };
        fresh.script = {centred(button(1)), centred(button(1)), centred()};
        EXPECT_EQ(runScript(fresh, table), (Calls{"1: +65", "3: -65"}));
    }
}

TEST_F(HeldKeys, ButtonPressedWithoutKeyReleasesNothingAfterAKeyIsAssigned)
{
    beforeRead(2, [&] { table.buttonKeys[0] = 65; });
    EXPECT_EQ(run({centred(button(1)), centred(button(1)), centred(), centred()}), Calls{});
}

TEST_F(HeldKeys, AxisCodeChangedWithinThePulseSwapsKeysInOneBatch)
{
    table.pulseEnabled = 1;
    table.axisKeys[0] = 87;
    beforeRead(3, [&] { table.axisKeys[0] = 88; });
    EXPECT_EQ(run({xAt(1023), xAt(1023), xAt(1023), xAt(1023)}), (Calls{"1: +87", "3: -87 +88", "4: -88"}));
}

TEST_F(HeldKeys, AxisCodeChangedWhenThePulseEndsReleasesTheOldCode)
{
    table.pulseEnabled = 1;
    table.axisKeys[0] = 87;
    beforeRead(3, [&] { table.axisKeys[0] = 88; });
    std::vector<ScriptedReport> script;
    repeat(script, xAt(700), 8);
    EXPECT_EQ(run(script), (Calls{"1: +87", "3: -87", "7: +88", "8: -88"}));
}

TEST_F(HeldKeys, AxisCodeClearedWhileDownIsReleasedAtOnce)
{
    table.pulseEnabled = 1;
    table.axisKeys[0] = 87;
    beforeRead(2, [&] { table.axisKeys[0] = 0; });
    EXPECT_EQ(run({xAt(1023), xAt(1023), xAt(1023), xAt(1023)}), (Calls{"1: +87", "2: -87"}));
}

TEST_F(HeldKeys, PulsesSwitchedOffReleaseAtOnceAndSendNothingWhileOff)
{
    table.pulseEnabled = 1;
    table.axisKeys[0] = 87;
    table.axisKeys[2] = 89;
    beforeRead(2, [&] { table.pulseEnabled = 0; });
    std::vector<ScriptedReport> script;
    repeat(script, joystickReport({1023, 1023}, 0), 8);
    EXPECT_EQ(run(script), (Calls{"1: +87 +89", "2: -87 -89"}));
}

TEST_F(HeldKeys, PulsesSwitchedBackOnPressWithinTheCurrentPeriod)
{
    table.pulseEnabled = 1;
    table.axisKeys[0] = 87;
    beforeRead(2, [&] { table.pulseEnabled = 0; });
    beforeRead(4, [&] { table.pulseEnabled = 1; });
    std::vector<ScriptedReport> script;
    repeat(script, xAt(1023), 6);
    EXPECT_EQ(run(script), (Calls{"1: +87", "2: -87", "4: +87", "6: -87"}));
}

TEST_F(HeldKeys, FinalCycleAtCentreStillReleasesThePulse)
{
    table.pulseEnabled = 1;
    table.axisKeys[0] = 87;
    EXPECT_EQ(run({xAt(1023), centred()}), (Calls{"1: +87", "2: -87"}));
}

TEST_F(HeldKeys, FinalCycleReleasesOnlyWhatIsDown)
{
    table.pulseEnabled = 1;
    table.cycleSteps = 6;
    table.axisKeys[0] = 87;
    // At 700 the key is up from the third cycle of each period on.
    EXPECT_EQ(run({xAt(700), xAt(700), xAt(700), xAt(700)}), (Calls{"1: +87", "3: -87"}));
}

TEST_F(HeldKeys, FinalCycleWithPulsesJustSwitchedOffReleasesTheHeldKey)
{
    table.pulseEnabled = 1;
    table.axisKeys[0] = 87;
    beforeRead(2, [&] { table.pulseEnabled = 0; });
    EXPECT_EQ(run({xAt(1023), xAt(1023)}), (Calls{"1: +87", "2: -87"}));
}

}  // namespace
