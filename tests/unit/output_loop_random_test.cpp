// Random reports interleaved with random table changes, loads and pulse
// toggles: no key-up is ever sent for a key that is not down, and when the
// loop ends every key is up again.
#include <gtest/gtest.h>

#include <random>

#include "engine_test_support.h"
#include "key_balance.h"

namespace {

// Few distinct codes, so that slots often share one.
uint16_t randomCode(std::mt19937& rng)
{
    return static_cast<uint16_t>(std::uniform_int_distribution<int>(0, 5)(rng) == 0 ? 0 : 64 + rng() % 6);
}

ScriptedReport randomReport(std::mt19937& rng, uint64_t& buttons)
{
    std::vector<int> axes(AXIS_COUNT);
    for (int& value : axes) {
        const int pick = static_cast<int>(rng() % 4);
        value = pick == 0 ? AXIS_CENTRE : pick == 1 ? 0 : pick == 2 ? 1023 : static_cast<int>(rng() % 1024);
    }
    for (int flips = static_cast<int>(rng() % 3); flips > 0; --flips)
        buttons ^= uint64_t{1} << (rng() % 64);
    const int lengths[] = {17, 20, 32, 0, 9};
    ScriptedReport report = joystickReport(axes, buttons, lengths[rng() % 5], rng() % 10 == 0 ? 2 : 1);
    return report;
}

void randomChange(std::mt19937& rng, KeyTable& table)
{
    switch (rng() % 40) {
    case 0:
    case 1:
    case 2:
    case 3:
        table.setSlotKey(static_cast<SlotIndex>(rng() % SLOT_COUNT), randomCode(rng));
        break;
    case 4:
        table.pulseEnabled = table.pulseEnabled ? 0 : 1;
        break;
    case 5:
        table.clearButtonKeys();
        break;
    case 6:
        table.resetToDefaults();
        break;
    case 7:  // a key code file replacing everything, odd values included
        for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
            table.setSlotKey(slot, randomCode(rng));
        table.pulseEnabled = static_cast<uint8_t>(rng() % 3);
        table.cycleSteps = std::uniform_int_distribution<int32_t>(-3, 130)(rng);
        break;
    case 8:
        table.cycleSteps = std::uniform_int_distribution<int32_t>(1, 12)(rng);
        break;
    default:
        break;
    }
}

TEST(OutputLoopRandom, EveryKeyUpUndoesAKeyDownAndNothingStaysDown)
{
    for (unsigned seed = 1; seed <= 8; ++seed) {
        std::mt19937 rng(seed);
        KeyTable table;
        table.pulseEnabled = 1;
        for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
            table.setSlotKey(slot, randomCode(rng));
        ScriptedPorts ports;
        uint64_t buttons = 0;
        for (int i = 0; i < 4000; ++i)
            ports.script.push_back(randomReport(rng, buttons));
        ports.beforeRead = [&](int) { randomChange(rng, table); };

        runScript(ports, table);

        KeyBalance balance;
        balance.follow(ports.calls);
        EXPECT_EQ(balance.firstFault, "") << "seed " << seed;
        EXPECT_EQ(balance.stillDown(), "") << "seed " << seed;
        EXPECT_GT(ports.calls.size(), 500u) << "seed " << seed;
    }
}

}  // namespace
