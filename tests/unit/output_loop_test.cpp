#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace {

using Calls = std::vector<std::string>;

struct OutputLoop : testing::Test {
    KeyTable table;
    ScriptedPorts ports;

    void pulsing(int axisIndex, uint16_t key, int32_t steps)
    {
        table.pulseEnabled = 1;
        table.cycleSteps = steps;
        table.axisKeys[axisIndex] = key;
    }

    Calls run(std::vector<ScriptedReport> script)
    {
        ports.script = std::move(script);
        return runScript(ports, table);
    }

    // Whether the key is down after each cycle, from the recorded calls.
    std::vector<bool> downAfterEachRead(uint16_t key, int reads) const
    {
        std::vector<bool> down(reads + 1, false);
        bool isDown = false;
        size_t next = 0;
        for (int read = 1; read <= reads; ++read) {
            for (; next < ports.calls.size() && ports.calls[next].read == read; ++next)
                for (const KeyEvent& event : ports.calls[next].events)
                    if (event.code == key)
                        isDown = !event.up;
            down[read] = isDown;
        }
        return down;
    }
};

TEST_F(OutputLoop, ButtonEdgesPressAndReleaseInTheirCycles)
{
    table.buttonKeys[0] = 65;
    EXPECT_EQ(run({centred(button(1)), centred(button(1)), centred(), centred()}), (Calls{"1: +65", "3: -65"}));
}

TEST_F(OutputLoop, ButtonHeldWhenOutputStartsIsPressedInTheFirstCycle)
{
    table.buttonKeys[0] = 65;
    EXPECT_EQ(run({centred(button(1)), centred(button(1))}), (Calls{"1: +65", "2: -65"}));
}

TEST_F(OutputLoop, ButtonWithoutKeySendsNothing)
{
    table.buttonKeys[0] = 65;
    EXPECT_EQ(run({centred(button(2)), centred(), centred(button(2))}), Calls{});
}

TEST_F(OutputLoop, ButtonEdgesGoOneCallEachInBitOrderAfterTheAxisBatch)
{
    pulsing(0, 87, 6);
    table.buttonKeys[2] = 70;
    table.buttonKeys[39] = 71;
    table.buttonKeys[63] = 72;
    const uint64_t held = button(3) | button(40) | button(64);
    EXPECT_EQ(run({xAt(1023, held), xAt(1023, held)}),
              (Calls{"1: +87", "1: +70", "1: +71", "1: +72", "2: -87", "2: -70", "2: -71", "2: -72"}));
}

TEST_F(OutputLoop, TwoButtonsWithOneCodeReleaseItWhenEitherIsReleased)
{
    table.buttonKeys[0] = 65;
    table.buttonKeys[1] = 65;
    EXPECT_EQ(run({centred(button(1) | button(2)), centred(button(2)), centred(button(2)), centred()}),
              (Calls{"1: +65", "1: +65", "2: -65", "4: -65"}));
}

TEST_F(OutputLoop, ButtonBitsComeFromByteTwelveUnlessTheReportIsSeventeenBytes)
{
    table.buttonKeys[0] = 65;
    table.buttonKeys[24] = 66;
    ScriptedReport twenty = joystickReport({}, button(1), 20);
    twenty.bytes[9] = 0xFF;  // not button bits at this length
    EXPECT_EQ(run({twenty, joystickReport({}, button(25), 17), centred()}),
              (Calls{"1: +65", "2: -65", "2: +66", "3: -66"}));
}

TEST_F(OutputLoop, DefaultPulseHoldsTwoOfSixCyclesAtSevenHundred)
{
    pulsing(0, 87, 6);
    std::vector<ScriptedReport> script;
    repeat(script, xAt(700), 14);
    EXPECT_EQ(run(script), (Calls{"1: +87", "3: -87", "7: +87", "9: -87", "13: +87", "14: -87"}));
}

TEST_F(OutputLoop, NegativeDirectionsPulseTheirOwnKeys)
{
    pulsing(1, 88, 6);        // X-
    table.axisKeys[11] = 89;  // Yaw-
    std::vector<ScriptedReport> script;
    repeat(script, joystickReport({255, 511, 511, 511, 511, 0}, 0), 7);
    // X- at 255: (511 - 255) / 74 = 3 cycles down; Yaw- at 0: 6 of 6.
    EXPECT_EQ(run(script), (Calls{"1: +88 +89", "4: -88", "7: -89"}));
}

struct PulseRow {
    int32_t steps;
    int32_t divisor;
    int32_t largestPositive;
    int32_t largestNegative;
    int firstPositive;
    int firstNegative;
};

class PulseTable : public OutputLoop, public testing::WithParamInterface<PulseRow> {};

TEST_P(PulseTable, DivisorDeadZoneAndPeriodMatchTheTable)
{
    const PulseRow row = GetParam();
    EXPECT_EQ(pulseDivisor(row.steps), row.divisor);
    EXPECT_EQ((1023 - AXIS_CENTRE) / row.divisor, row.largestPositive);
    EXPECT_EQ(AXIS_CENTRE / row.divisor, row.largestNegative);

    pulsing(0, 87, row.steps);
    table.axisKeys[1] = 88;
    const auto firstCycle = [this](int x) {
        ScriptedPorts fresh;
        fresh.script = {xAt(x), xAt(x)};
        return runScript(fresh, table);
    };
    EXPECT_EQ(firstCycle(row.firstPositive), (Calls{"1: +87", "2: -87"}));
    EXPECT_EQ(firstCycle(row.firstPositive - 1), Calls{});
    EXPECT_EQ(firstCycle(row.firstNegative), (Calls{"1: +88", "2: -88"}));
    EXPECT_EQ(firstCycle(row.firstNegative + 1), Calls{});

    // Full deflection: down for the first `largest` cycles of every period.
    const int reads = 2 * row.steps;
    std::vector<ScriptedReport> script;
    repeat(script, xAt(1023), reads + 1);
    run(script);
    const std::vector<bool> down = downAfterEachRead(87, reads);
    for (int read = 1; read <= reads; ++read)
        EXPECT_EQ(down[read], row.largestPositive > (read - 1) % row.steps) << "read " << read;
}

INSTANTIATE_TEST_SUITE_P(Steps, PulseTable,
                         testing::Values(PulseRow{1, 256, 2, 1, 767, 255}, PulseRow{6, 74, 6, 6, 585, 437},
                                         PulseRow{10, 47, 10, 10, 558, 464}, PulseRow{120, 5, 102, 102, 516, 506}));

TEST_F(OutputLoop, FullDeflectionHoldsTheKeyForTheWholePeriod)
{
    pulsing(0, 87, 6);
    std::vector<ScriptedReport> script;
    repeat(script, xAt(1023), 20);
    EXPECT_EQ(run(script), (Calls{"1: +87", "20: -87"}));
}

TEST_F(OutputLoop, DeflectionInsideTheDeadZoneSendsNothing)
{
    pulsing(0, 87, 6);
    std::vector<ScriptedReport> script;
    repeat(script, xAt(584), 13);
    EXPECT_EQ(run(script), Calls{});
}

TEST_F(OutputLoop, PulsesOffSendNoAxisEventsButButtonsStillWork)
{
    table.axisKeys[0] = 87;
    table.buttonKeys[0] = 65;
    std::vector<ScriptedReport> script;
    repeat(script, xAt(1023, button(1)), 8);
    EXPECT_EQ(run(script), (Calls{"1: +65", "8: -65"}));
}

TEST_F(OutputLoop, ReportsWithoutIdOneOrBytesAreSkippedWithoutMovingThePhase)
{
    pulsing(0, 87, 6);
    table.buttonKeys[0] = 65;
    ScriptedReport other = xAt(1023, button(1));
    other.bytes[0] = 2;
    const ScriptedReport nothing{0, {}};
    // Reads 2, 3 and 4 are not cycles: the pulse period runs over reads 1, 5, 6, ...
    std::vector<ScriptedReport> script = {xAt(700), other, nothing, other};
    repeat(script, xAt(700), 7);
    EXPECT_EQ(run(script), (Calls{"1: +87", "6: -87", "10: +87", "11: -87"}));
}

TEST_F(OutputLoop, IterationsLastOneCycleOrOneRetryPeriod)
{
    ScriptedReport other = centred();
    other.bytes[0] = 2;
    run({centred(), other, ScriptedReport{0, {}}, centred(), centred()});
    const int64_t ticksPerUs = ScriptedPorts::FREQUENCY / 1000000;
    const std::vector<int64_t> expectedUs = {CYCLE_PERIOD_US, RETRY_PERIOD_US, RETRY_PERIOD_US, CYCLE_PERIOD_US};
    ASSERT_EQ(ports.readTimes.size(), expectedUs.size() + 1);
    for (size_t i = 0; i < expectedUs.size(); ++i) {
        const int64_t length = ports.readTimes[i + 1] - ports.readTimes[i];
        EXPECT_GE(length, expectedUs[i] * ticksPerUs) << "iteration " << i;
        EXPECT_LE(length, expectedUs[i] * ticksPerUs + 3 * ScriptedPorts::TICKS_PER_READING) << "iteration " << i;
    }
}

// The lengths above hold although every sleep ended short of its bound: the
// spin on the counter finished each wait.
TEST_F(OutputLoop, EachWaitFirstSleepsThroughWhatIsLeftOfIt)
{
    ScriptedReport other = centred();
    other.bytes[0] = 2;
    run({centred(), other, centred()});
    const std::vector<int64_t> boundsUs = {CYCLE_PERIOD_US, RETRY_PERIOD_US, CYCLE_PERIOD_US};
    ASSERT_EQ(ports.sleeps.size(), boundsUs.size());
    for (size_t i = 0; i < boundsUs.size(); ++i) {
        // The read and the cycle's work took a reading or two of the clock.
        EXPECT_LT(ports.sleeps[i], boundsUs[i]) << "wait " << i;
        EXPECT_GE(ports.sleeps[i], boundsUs[i] - 3) << "wait " << i;
    }
}

TEST_F(OutputLoop, NoReportsAtAllSendNothingAndStillStop)
{
    pulsing(0, 87, 6);
    table.axisKeys[1] = 88;
    table.buttonKeys[0] = 65;
    // The final cycle decodes the untouched buffer: every axis reads 0, which
    // must not release keys that were never pressed.
    EXPECT_EQ(run(std::vector<ScriptedReport>(5, ScriptedReport{0, {}})), Calls{});
    EXPECT_EQ(ports.readTimes.size(), 5u);
}

// The handle gone without a notice shows as failed opens. Once they have
// lasted 250 ms in a row every held key is released, and a button still held
// when reports come back is pressed again. Silence alone releases nothing.
TEST_F(OutputLoop, OpensFailingFor250MsInARowReleaseEveryKey)
{
    pulsing(0, 87, 6);
    table.buttonKeys[0] = 65;
    const ScriptedReport held = xAt(1023, button(1)), timedOut{0, {}}, openFailed{READ_OPEN_FAILED, {}};
    std::vector<ScriptedReport> script = {held};
    repeat(script, timedOut, 300);
    repeat(script, openFailed, 200);
    script.push_back(timedOut);
    const size_t firstFailure = script.size();
    repeat(script, openFailed, 260);
    repeat(script, held, 2);

    const Calls calls = run(script);
    ASSERT_EQ(calls.size(), 8u) << testing::PrintToString(calls);
    const int release = ports.calls[2].read;
    const auto at = [](size_t read, const char* events) { return std::to_string(read) + ": " + events; };
    EXPECT_EQ(calls, (Calls{"1: +87", "1: +65", at(release, "-87"), at(release, "-65"), at(script.size() - 1, "+87"),
                            at(script.size() - 1, "+65"), at(script.size(), "-87"), at(script.size(), "-65")}));
    const auto failedFor = [&](int read) { return ports.readTimes[read - 1] - ports.readTimes[firstFailure]; };
    EXPECT_GE(failedFor(release), OPEN_FAILURE_RELEASE_US * (ScriptedPorts::FREQUENCY / 1000000));
    EXPECT_LT(failedFor(release - 1), OPEN_FAILURE_RELEASE_US * (ScriptedPorts::FREQUENCY / 1000000));
}

TEST_F(OutputLoop, StopReleasesHeldAxisKeysThenHeldButtonsInOrder)
{
    pulsing(0, 87, 6);
    table.axisKeys[3] = 89;  // Y-
    table.buttonKeys[2] = 70;
    table.buttonKeys[39] = 71;
    const ScriptedReport held = joystickReport({1023, 0}, button(3) | button(40));
    EXPECT_EQ(run({held, held, held}), (Calls{"1: +87 +89", "1: +70", "1: +71", "3: -87 -89", "3: -70", "3: -71"}));
}

TEST_F(OutputLoop, StepsBelowOneAreTreatedAsOne)
{
    for (int32_t steps : {0, -1, -2147483647 - 1}) {
        ScriptedPorts fresh;
        pulsing(0, 87, steps);
        fresh.script.assign(4, xAt(1023));
        EXPECT_EQ(runScript(fresh, table), (Calls{"1: +87", "4: -87"})) << steps;
    }
    EXPECT_EQ(pulseDivisor(0), pulseDivisor(1));
    EXPECT_EQ(pulseDivisor(2147483647), 1);
}

}  // namespace
