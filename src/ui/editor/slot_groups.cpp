#include "ui/editor/slot_groups.h"

SlotGroup slotGroupOf(SlotIndex slot)
{
    if (slot <= REGULAR_GROUP.last)
        return REGULAR_GROUP;
    if (slot <= MODIFIED_GROUP.last)
        return MODIFIED_GROUP;
    return AXIS_GROUP;
}

SlotIndex nextSlotInGroup(SlotIndex slot)
{
    const SlotGroup group = slotGroupOf(slot);
    return slot == group.last ? group.first : slot + 1;
}
