#pragma once
#include <cstdint>

#include "engine/output_ports.h"

// The mouse button a code stands for; None for every other code.
enum class MouseButton : uint8_t { None, Left, Right, Middle, X1, X2 };

// The record one key event becomes: a mouse button record, or a keyboard
// record with the virtual-key code, the key's set-1 scan code (0 when it has
// none) and whether Windows counts it as extended (its make code has the E0
// prefix). Programs that read virtual keys see wVk; games that read the
// keyboard through DirectInput or raw input see the scan code only.
struct KeyRecordPlan {
    MouseButton mouseButton;
    uint16_t virtualKey;
    uint16_t scanCode;
    bool extended;
    bool up;
};

// The scan code of a character key in the keyboard layout the keys are
// typed in, 0 when the layout has none. Only letters, digits and
// punctuation are looked up there: those are the keys that move between
// layouts ("A" is another key on a French keyboard than on a US one).
using LayoutScanCode = uint16_t (*)(uint16_t virtualKey);

KeyRecordPlan planKeyRecord(KeyEvent event, LayoutScanCode layoutScanCode);
