#pragma once
#include <atomic>
#include <cstdint>

// An output slot: 0-63 are buttons 1-64, 64-75 the axis directions
// X+, X-, Y+, Y-, Z+, Z-, Pitch+, Pitch-, Roll+, Roll-, Yaw+, Yaw-.
using SlotIndex = int;

constexpr int BUTTON_SLOT_COUNT = 64;
constexpr int AXIS_SLOT_COUNT = 12;
constexpr int SLOT_COUNT = BUTTON_SLOT_COUNT + AXIS_SLOT_COUNT;
constexpr SlotIndex FIRST_AXIS_SLOT = BUTTON_SLOT_COUNT;
constexpr int32_t DEFAULT_CYCLE_STEPS = 6;

using KeyCell = std::atomic<uint16_t>;

// What the emulator produces: one virtual-key code per slot and the axis pulse
// settings. The UI thread writes it while the worker reads it; every field is
// one whole value, so relaxed atomics are enough and nobody ever waits.
struct KeyTable {
    KeyCell buttonKeys[BUTTON_SLOT_COUNT];
    KeyCell axisKeys[AXIS_SLOT_COUNT];
    std::atomic<uint8_t> pulseEnabled;  // any non-zero value counts as on
    std::atomic<int32_t> cycleSteps;

    KeyTable() { resetToDefaults(); }
    KeyTable(const KeyTable&) = delete;
    KeyTable& operator=(const KeyTable&) = delete;

    void resetToDefaults();
    // "New" clears the button slots only; axis keys and pulse settings stay.
    void clearButtonKeys();
    void setSlotKey(SlotIndex slot, uint16_t code);
    uint16_t slotKey(SlotIndex slot) const;
    KeyCell& keyCell(SlotIndex slot);
    const KeyCell& keyCell(SlotIndex slot) const;
};

// The process-wide table.
extern KeyTable keyTable;
