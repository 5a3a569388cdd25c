#include "simulated_report.h"

namespace {

// Writes a 10-bit value into the bit stream of bytes 1..5 or 6..8, starting
// at the given bit: each axis continues where the previous one ended.
void packAxis(std::vector<uint8_t>& bytes, int firstByte, int bitOffset, int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value & 0x3FF) << bitOffset;
    for (int i = 0; i < 3 && firstByte + i < static_cast<int>(bytes.size()); ++i)
        bytes[firstByte + i] |= static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

std::vector<uint8_t> encodeReport(const SimulatedReport& report)
{
    std::vector<uint8_t> bytes(REPORT_BUFFER_SIZE, 0);
    bytes[0] = report.reportId;
    // X, Y, Z and Pitch fill bytes 1..5; Roll and Yaw start afresh at byte 6.
    packAxis(bytes, 1, 0, report.axisValue[0]);
    packAxis(bytes, 2, 2, report.axisValue[1]);
    packAxis(bytes, 3, 4, report.axisValue[2]);
    packAxis(bytes, 4, 6, report.axisValue[3]);
    packAxis(bytes, 6, 0, report.axisValue[4]);
    packAxis(bytes, 7, 2, report.axisValue[5]);
    const int firstButtonByte = report.length == 17 ? 9 : 12;
    for (int i = 0; i < 8; ++i)
        bytes[firstButtonByte + i] = static_cast<uint8_t>(report.buttonBits >> (8 * i));
    bytes.resize(report.length);
    return bytes;
}
