#include "engine/key_record_plan.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(KeyRecordPlan, KeysCarryTheirScanCodesAndMouseCodesClick)
{
    // A French layout has its A where a US one has Q; 0x7F shows that it was asked about another key.
    const LayoutScanCode french = [](uint16_t code) -> uint16_t { return code == 'A' ? 0x10 : 0x7F; };
    using B = MouseButton;
    // Code: mouse button, scan code, extended. A, keypad 8, Up, right Ctrl, keypad "/", Enter, left and right
    // Shift, "Key #7", a code from a file, then the mouse buttons.
    const std::tuple<uint16_t, B, int, bool> cases[] = {
        {'A', B::None, 0x10, false}, {104, B::None, 0x48, false}, {38, B::None, 0x48, true},
        {163, B::None, 0x1D, true},  {111, B::None, 0x35, true},  {13, B::None, 0x1C, false},
        {160, B::None, 0x2A, false}, {161, B::None, 0x36, false}, {7, B::None, 0, false},
        {300, B::None, 0, false},    {1, B::Left, 0, false},      {2, B::Right, 0, false},
        {4, B::Middle, 0, false},    {5, B::X1, 0, false},        {6, B::X2, 0, false}};
    for (const auto& [code, button, scan, extended] : cases) {
        const KeyRecordPlan plan = planKeyRecord({code, true}, french);
        EXPECT_EQ(std::tuple(plan.virtualKey, plan.mouseButton, plan.scanCode, plan.extended, plan.up),
                  std::tuple(code, button, scan, extended, true));
    }
}
