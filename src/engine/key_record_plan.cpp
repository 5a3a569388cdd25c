#include "engine/key_record_plan.h"

namespace {

// Set-1 scan codes of the keys whose place is the same in every layout, by
// virtual-key code; 0xE0.. marks the extended ones. As Windows reports them,
// Pause is 45 and Num Lock E0 45 (the keyboard sends E1 1D 45 and 45), and
// Ctrl+Break (code 3) is E0 46. Enter is the main one, not the keypad's;
// Clear is keypad 5 with Num Lock off.
constexpr uint16_t FIXED_SCAN_CODES[256] = {
    /*   0 */ 0,      0,      0,      0xE046, 0,      0,      0,      0,
    /*   8 */ 0x0E,   0x0F,   0,      0,      0x4C,   0x1C,   0,      0,
    /*  16 */ 0x2A,   0x1D,   0x38,   0x45,   0x3A,   0,      0,      0,
    /*  24 */ 0,      0,      0,      0x01,   0,      0,      0,      0,
    /*  32 */ 0x39,   0xE049, 0xE051, 0xE04F, 0xE047, 0xE04B, 0xE048, 0xE04D,
    /*  40 */ 0xE050, 0,      0,      0,      0xE037, 0xE052, 0xE053, 0,
    /*  48 */ 0,      0,      0,      0,      0,      0,      0,      0,
    /*  56 */ 0,      0,      0,      0,      0,      0,      0,      0,
    /*  64 */ 0,      0,      0,      0,      0,      0,      0,      0,
    /*  72 */ 0,      0,      0,      0,      0,      0,      0,      0,
    /*  80 */ 0,      0,      0,      0,      0,      0,      0,      0,
    /*  88 */ 0,      0,      0,      0xE05B, 0xE05C, 0xE05D, 0,      0,
    /*  96 */ 0x52,   0x4F,   0x50,   0x51,   0x4B,   0x4C,   0x4D,   0x47,
    /* 104 */ 0x48,   0x49,   0x37,   0x4E,   0,      0x4A,   0x53,   0xE035,
    /* 112 */ 0x3B,   0x3C,   0x3D,   0x3E,   0x3F,   0x40,   0x41,   0x42,
    /* 120 */ 0x43,   0x44,   0x57,   0x58,   0x64,   0x65,   0x66,   0x67,
    /* 128 */ 0x68,   0x69,   0x6A,   0x6B,   0x6C,   0x6D,   0x6E,   0x76,
    /* 136 */ 0,      0,      0,      0,      0,      0,      0,      0,
    /* 144 */ 0xE045, 0x46,   0,      0,      0,      0,      0,      0,
    /* 152 */ 0,      0,      0,      0,      0,      0,      0,      0,
    /* 160 */ 0x2A,   0x36,   0x1D,   0xE01D, 0x38,   0xE038, 0xE06A, 0xE069,
    /* 168 */ 0xE067, 0xE068, 0xE065, 0xE066, 0xE032, 0xE020, 0xE02E, 0xE030,
    /* 176 */ 0xE019, 0xE010, 0xE024, 0xE022, 0xE06C, 0xE06D, 0xE06B, 0xE021,
};

constexpr uint16_t EXTENDED_PREFIX = 0xE000;

// Letters, digits and the OEM punctuation keys (including the ISO key beside
// the left Shift): their scan codes come from the layout.
bool isCharacterKey(uint16_t code)
{
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 0xBA && code <= 0xC0) ||
           (code >= 0xDB && code <= 0xDF) || code == 0xE2;
}

MouseButton mouseButtonOf(uint16_t code)
{
    switch (code) {
    case 1:
        return MouseButton::Left;
    case 2:
        return MouseButton::Right;
    case 4:
        return MouseButton::Middle;
    case 5:
        return MouseButton::X1;
    case 6:
        return MouseButton::X2;
    default:
        return MouseButton::None;
    }
}

}  // namespace

KeyRecordPlan planKeyRecord(KeyEvent event, LayoutScanCode layoutScanCode)
{
    KeyRecordPlan plan{mouseButtonOf(event.code), event.code, 0, false, event.up};
    if (plan.mouseButton != MouseButton::None || event.code > 0xFF)
        return plan;
    if (isCharacterKey(event.code)) {
        // Only the code itself: the extended flag is never the layout's to give.
        plan.scanCode = layoutScanCode(event.code) & 0xFF;
        return plan;
    }
    const uint16_t fixed = FIXED_SCAN_CODES[event.code];
    plan.scanCode = fixed & 0xFF;
    plan.extended = (fixed & 0xFF00) == EXTENDED_PREFIX;
    return plan;
}
