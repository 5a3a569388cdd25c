#include "model/key_table.h"

KeyTable keyTable;

void KeyTable::resetToDefaults()
{
    clearButtonKeys();
    for (KeyCell& cell : axisKeys)
        cell.store(0, std::memory_order_relaxed);
    pulseEnabled.store(0, std::memory_order_relaxed);
    cycleSteps.store(DEFAULT_CYCLE_STEPS, std::memory_order_relaxed);
}

void KeyTable::clearButtonKeys()
{
    for (KeyCell& cell : buttonKeys)
        cell.store(0, std::memory_order_relaxed);
}

void KeyTable::setSlotKey(SlotIndex slot, uint16_t code)
{
    keyCell(slot).store(code, std::memory_order_relaxed);
}

uint16_t KeyTable::slotKey(SlotIndex slot) const
{
    return keyCell(slot).load(std::memory_order_relaxed);
}

KeyCell& KeyTable::keyCell(SlotIndex slot)
{
    return slot < FIRST_AXIS_SLOT ? buttonKeys[slot] : axisKeys[slot - FIRST_AXIS_SLOT];
}

const KeyCell& KeyTable::keyCell(SlotIndex slot) const
{
    return slot < FIRST_AXIS_SLOT ? buttonKeys[slot] : axisKeys[slot - FIRST_AXIS_SLOT];
}
