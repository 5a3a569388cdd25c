#pragma once
#include <cstdint>
#include <vector>

#include "device/joystick_state.h"

// One input report as the handle sends it.
struct SimulatedReport {
    int32_t axisValue[AXIS_COUNT] = {511, 511, 511, 511, 511, 511};
    uint64_t buttonBits = 0;  // bit i: button i+1
    uint8_t reportId = JOYSTICK_REPORT_ID;
    int length = 17;  // bytes the read delivers, 1..REPORT_BUFFER_SIZE
};

// The report's bytes in the handle's layout: report ID, the six 10-bit axes
// packed into bytes 1..8, the button bits from byte 9 in a 17-byte report and
// from byte 12 in any other; cut to the report's length.
std::vector<uint8_t> encodeReport(const SimulatedReport& report);
