#include "device/joystick_state.h"

JoystickState decodeReport(const ReportBuffer& reportBuffer, int length)
{
    const auto delivered = [&](int index) -> uint64_t { return index < length ? reportBuffer[index] : 0; };
    // Bytes 1..8 as one little-endian number hold six 10-bit axes.
    uint64_t axisBits = 0;
    for (int i = 8; i >= 1; --i)
        axisBits = (axisBits << 8) | delivered(i);

    JoystickState state{};
    for (int k = 0; k < AXIS_COUNT; ++k)
        state.axisValue[k] = static_cast<int32_t>((axisBits >> (10 * k)) & 0x3FF);

    const int firstButtonByte = length == 17 ? 9 : 12;
    for (int i = 7; i >= 0; --i)
        state.buttonBits = (state.buttonBits << 8) | delivered(firstButtonByte + i);
    return state;
}
