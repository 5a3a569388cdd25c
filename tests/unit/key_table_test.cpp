#include "model/key_table.h"

#include <gtest/gtest.h>

namespace {

// A code per slot that no other slot holds, so a wrong mapping shows.
uint16_t distinctCode(SlotIndex slot)
{
    return static_cast<uint16_t>(1000 + slot);
}

void expectDefaults(const KeyTable& table)
{
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
        EXPECT_EQ(table.slotKey(slot), 0) << "slot " << slot;
    EXPECT_EQ(table.pulseEnabled.load(), 0);
    EXPECT_EQ(table.cycleSteps.load(), 6);
}

void fillEverything(KeyTable& table)
{
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
        table.setSlotKey(slot, distinctCode(slot));
    table.pulseEnabled = 1;
    table.cycleSteps = 42;
}

}  // namespace

TEST(KeyTable, StartsAtDefaultsAndResetRestoresThem)
{
    KeyTable table;
    expectDefaults(table);
    fillEverything(table);
    table.resetToDefaults();
    expectDefaults(table);
}

TEST(KeyTable, SlotsMapOntoButtonsThenAxisDirections)
{
    KeyTable table;
    fillEverything(table);
    for (int i = 0; i < BUTTON_SLOT_COUNT; ++i)
        EXPECT_EQ(table.buttonKeys[i].load(), distinctCode(i)) << "button " << i;
    for (int i = 0; i < AXIS_SLOT_COUNT; ++i)
        EXPECT_EQ(table.axisKeys[i].load(), distinctCode(FIRST_AXIS_SLOT + i)) << "axis " << i;

    table.resetToDefaults();
    table.setSlotKey(63, 7);
    table.setSlotKey(64, 8);
    table.setSlotKey(75, 9);
    EXPECT_EQ(table.buttonKeys[63].load(), 7);
    EXPECT_EQ(table.axisKeys[0].load(), 8);
    EXPECT_EQ(table.axisKeys[11].load(), 9);
    EXPECT_EQ(table.buttonKeys[62].load(), 0);
    EXPECT_EQ(table.axisKeys[1].load(), 0);
    EXPECT_EQ(table.axisKeys[10].load(), 0);
}

TEST(KeyTable, KeyCellIsTheStoredCell)
{
    KeyTable table;
    const KeyTable& readOnly = table;
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot) {
        const KeyCell* expected =
            slot < FIRST_AXIS_SLOT ? &table.buttonKeys[slot] : &table.axisKeys[slot - FIRST_AXIS_SLOT];
        EXPECT_EQ(&table.keyCell(slot), expected) << "slot " << slot;
        EXPECT_EQ(&readOnly.keyCell(slot), expected) << "slot " << slot;
    }
    table.keyCell(70).store(65);
    EXPECT_EQ(table.slotKey(70), 65);
}

TEST(KeyTable, ClearButtonKeysKeepsAxisKeysAndPulseSettings)
{
    KeyTable table;
    fillEverything(table);
    table.clearButtonKeys();
    for (SlotIndex slot = 0; slot < FIRST_AXIS_SLOT; ++slot)
        EXPECT_EQ(table.slotKey(slot), 0) << "slot " << slot;
    for (SlotIndex slot = FIRST_AXIS_SLOT; slot < SLOT_COUNT; ++slot)
        EXPECT_EQ(table.slotKey(slot), distinctCode(slot)) << "slot " << slot;
    EXPECT_EQ(table.pulseEnabled.load(), 1);
    EXPECT_EQ(table.cycleSteps.load(), 42);
}

TEST(KeyTable, AnySixteenBitCodeStaysUnchangedAndMayRepeat)
{
    KeyTable table;
    table.setSlotKey(0, 300);
    table.setSlotKey(40, 0xFFFF);
    table.setSlotKey(75, 256);
    table.setSlotKey(5, 65);
    table.setSlotKey(69, 65);
    EXPECT_EQ(table.slotKey(0), 300);
    EXPECT_EQ(table.slotKey(40), 0xFFFF);
    EXPECT_EQ(table.slotKey(75), 256);
    EXPECT_EQ(table.slotKey(5), 65);
    EXPECT_EQ(table.slotKey(69), 65);
}
