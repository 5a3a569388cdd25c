#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "engine/emulation_worker.h"
#include "engine_test_support.h"
#include "key_balance.h"

namespace {

TEST(EmulationWorker, StopWithoutStartDoesNothing)
{
    KeyTable table;
    ScriptedPorts ports;
    EmulationWorker worker(ports, table);
    EXPECT_FALSE(worker.running());
    worker.stop();
    EXPECT_FALSE(worker.running());
    EXPECT_TRUE(ports.readTimes.empty());
}

// A worker that counts as running always reads.
TEST(EmulationWorker, WithoutTheDeviceNothingStarts)
{
    KeyTable table;
    ScriptedPorts ports;
    ports.connected = false;
    EmulationWorker worker(ports, table);
    worker.start();
    EXPECT_FALSE(worker.running());
    worker.stop();
    EXPECT_TRUE(ports.readTimes.empty());
    EXPECT_TRUE(ports.calls.empty());
    EXPECT_EQ(ports.sleepsBegun, 0);
}

TEST(EmulationWorker, StopRunsTheFinalCycleThatReleasesHeldKeys)
{
    KeyTable table;
    table.buttonKeys[0] = 65;
    table.pulseEnabled = 1;
    table.axisKeys[0] = 87;
    ScriptedPorts ports;
    ports.script = {xAt(1023, button(1))};
    ports.cycleScript = true;
    std::atomic<bool> cyclesDone{false};
    // What makes sleeps precise is held only while the loop runs.
    bool sleepsHeldAtEveryRead = true;
    ports.beforeRead = [&](int index) {
        sleepsHeldAtEveryRead = sleepsHeldAtEveryRead && ports.sleepsBegun == ports.sleepsEnded + 1;
        if (index == 5)
            cyclesDone = true;
    };
    EmulationWorker worker(ports, table);
    worker.start();
    while (!cyclesDone)
        std::this_thread::yield();
    worker.stop();
    EXPECT_FALSE(worker.running());
    EXPECT_TRUE(sleepsHeldAtEveryRead);
    EXPECT_EQ(ports.sleepsBegun, 1);
    EXPECT_EQ(ports.sleepsEnded, 1);
    EXPECT_EQ(ports.readsEnded, 1);
    const std::vector<std::string> calls = describe(ports.calls);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], "1: +87");
    EXPECT_EQ(calls[1], "1: +65");
    EXPECT_EQ(calls[2].substr(calls[2].find(':')), ": -87");
    EXPECT_EQ(calls[3].substr(calls[3].find(':')), ": -65");

    // A second run starts from nothing held.
    ports.calls.clear();
    cyclesDone = false;
    ports.beforeRead = [&](int) { cyclesDone = true; };
    worker.start();
    while (!cyclesDone)
        std::this_thread::yield();
    worker.stop();
    KeyBalance balance;
    balance.follow(ports.calls);
    EXPECT_EQ(balance.firstFault, "");
    EXPECT_EQ(balance.stillDown(), "");
}

// The UI thread keeps rewriting the table while the worker reads it; the
// ThreadSanitizer build of this suite proves the sharing is race-free.
TEST(EmulationWorker, RunsAgainstATableWrittenConcurrently)
{
    KeyTable table;
    table.pulseEnabled = 1;
    ScriptedPorts ports;
    std::mt19937 reportRng(7);
    uint64_t buttons = 0;
    for (int i = 0; i < 64; ++i) {
        buttons ^= uint64_t{1} << (reportRng() % 64);
        ports.script.push_back(joystickReport({static_cast<int>(reportRng() % 1024), 1023, 0}, buttons));
    }
    ports.cycleScript = true;
    std::atomic<int> reads{0};
    ports.beforeRead = [&](int index) { reads = index; };

    EmulationWorker worker(ports, table);
    worker.start();
    std::mt19937 rng(11);
    while (reads < 300) {
        table.setSlotKey(static_cast<SlotIndex>(rng() % SLOT_COUNT), static_cast<uint16_t>(rng() % 8));
        table.cycleSteps = static_cast<int32_t>(rng() % 125) - 2;
        if (rng() % 16 == 0)
            table.pulseEnabled = table.pulseEnabled ? 0 : 1;
        if (rng() % 64 == 0)
            table.resetToDefaults();
    }
    worker.stop();

    KeyBalance balance;
    balance.follow(ports.calls);
    EXPECT_EQ(balance.firstFault, "");
    EXPECT_EQ(balance.stillDown(), "");
}

}  // namespace
