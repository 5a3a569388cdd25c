#pragma once
#include "model/key_table.h"

// The slots of one tab page: "Regular" 0..31, "Modified" 32..63,
// "Axis Pulse" 64..75. Continuous capture moves within a group, and each
// page's procedure serves only its own group's rows.
struct SlotGroup {
    SlotIndex first;
    SlotIndex last;
};

constexpr SlotGroup REGULAR_GROUP = {0, 31};
constexpr SlotGroup MODIFIED_GROUP = {32, 63};
constexpr SlotGroup AXIS_GROUP = {FIRST_AXIS_SLOT, SLOT_COUNT - 1};

SlotGroup slotGroupOf(SlotIndex slot);
// The slot after this one in its group; the group's last slot wraps to its first.
SlotIndex nextSlotInGroup(SlotIndex slot);
