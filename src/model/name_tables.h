#pragma once
#include <cstdint>

// Display name of every virtual-key code; codes without a name of their own
// read "Key #" and the decimal code. Code 0 (no key) has the empty name.
extern const char* const KeyNameTable[256];
// The code shown at each position of every key list: a permutation of 0..255.
extern const uint8_t KeyListOrder[256];
// The list position of each code: the inverse of KeyListOrder, filled by
// computeKeyListPosition() before any key list is shown.
extern uint8_t KeyListPosition[256];
void computeKeyListPosition();

extern const char* const ButtonNameTable[64];
// Axis direction labels, slot 64 + index: X+, X-, Y+, Y-, ... Yaw-.
extern const char* const AxisNameTable[12];
