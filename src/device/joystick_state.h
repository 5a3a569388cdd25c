#pragma once
#include <array>
#include <cstdint>

// The handle's input reports are at most 32 bytes, report ID in byte 0.
constexpr int REPORT_BUFFER_SIZE = 32;
using ReportBuffer = std::array<uint8_t, REPORT_BUFFER_SIZE>;

constexpr uint8_t JOYSTICK_REPORT_ID = 1;
// A read's result when the device could not be opened, unlike 0 for a read
// that brought nothing: a handle that has gone shows this way.
constexpr int READ_OPEN_FAILED = -1;
constexpr int AXIS_COUNT = 6;  // X, Y, Z, Pitch, Roll, Yaw

struct JoystickState {
    int32_t axisValue[AXIS_COUNT];  // 0..1023, centre 511
    uint64_t buttonBits;            // bit i set while button i+1 is pressed
};

// Decodes the report in the buffer; the length that the read delivered picks
// the button bytes (17: bytes 9..16, any other length: bytes 12..19). Bytes
// the read did not deliver count as 0, whatever an earlier report left there.
JoystickState decodeReport(const ReportBuffer& reportBuffer, int length);
