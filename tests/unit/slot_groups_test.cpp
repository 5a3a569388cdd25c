#include <gtest/gtest.h>

#include "ui/editor/slot_groups.h"

namespace {

TEST(SlotGroups, EverySlotBelongsToItsPage)
{
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot) {
        const SlotGroup group = slotGroupOf(slot);
        EXPECT_LE(group.first, slot);
        EXPECT_GE(group.last, slot);
        const SlotGroup expected = slot < 32 ? REGULAR_GROUP : slot < 64 ? MODIFIED_GROUP : AXIS_GROUP;
        EXPECT_EQ(group.first, expected.first) << slot;
        EXPECT_EQ(group.last, expected.last) << slot;
    }
}

TEST(SlotGroups, NextSlotWrapsAtTheEndOfEachGroupOnly)
{
    EXPECT_EQ(nextSlotInGroup(31), 0);
    EXPECT_EQ(nextSlotInGroup(63), 32);
    EXPECT_EQ(nextSlotInGroup(75), 64);
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot) {
        if (slot == 31 || slot == 63 || slot == 75)
            continue;
        EXPECT_EQ(nextSlotInGroup(slot), slot + 1) << slot;
    }
}

}  // namespace
