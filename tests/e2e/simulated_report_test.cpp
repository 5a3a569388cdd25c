#include <gtest/gtest.h>

#include <algorithm>

#include "simulated_device/simulated_report.h"

namespace {

JoystickState decoded(const SimulatedReport& report)
{
    const std::vector<uint8_t> bytes = encodeReport(report);
    ReportBuffer buffer{};
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return decodeReport(buffer, static_cast<int>(bytes.size()));
}

}  // namespace

// The program's own decoder must read back what the simulator encodes, for
// every axis independently of its neighbours in the packed bytes.
TEST(SimulatedReport, EveryAxisAndButtonSurvivesTheProgramsDecoder)
{
    const int32_t values[][AXIS_COUNT] = {{700, 300, 511, 511, 511, 511}, {0, 1023, 0, 1023, 0, 1023},
                                          {1023, 0, 1023, 0, 1023, 0},    {1, 2, 4, 8, 16, 32},
                                          {512, 513, 514, 515, 516, 517}, {341, 682, 85, 170, 938, 853}};
    for (const int length : {17, 20, 32}) {
        for (const auto& axes : values) {
            SimulatedReport report;
            std::copy(std::begin(axes), std::end(axes), report.axisValue);
            report.buttonBits = 0x8000000400000005ULL;  // buttons 1, 3, 35 and 64
            report.length = length;
            const JoystickState state = decoded(report);
            for (int axis = 0; axis < AXIS_COUNT; ++axis)
                EXPECT_EQ(state.axisValue[axis], axes[axis]) << "axis " << axis << ", length " << length;
            EXPECT_EQ(state.buttonBits, report.buttonBits) << "length " << length;
        }
    }
}

TEST(SimulatedReport, LengthPlacesTheButtonsAndCutsTheReport)
{
    SimulatedReport report;
    report.buttonBits = 1;
    report.reportId = 2;

    report.length = 17;
    std::vector<uint8_t> bytes = encodeReport(report);
    ASSERT_EQ(bytes.size(), 17u);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[9], 1);

    report.length = 20;
    bytes = encodeReport(report);
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(bytes[9], 0);
    EXPECT_EQ(bytes[12], 1);

    report.length = 5;
    EXPECT_EQ(encodeReport(report).size(), 5u);
}

TEST(SimulatedReport, CentredAxesEncodeAsTheHandleSendsThem)
{
    SimulatedReport report;
    report.length = 9;
    const std::vector<uint8_t> bytes = encodeReport(report);
    // 511 = 0x1FF in every 10-bit field.
    const std::vector<uint8_t> expected = {0x01, 0xFF, 0xFD, 0xF7, 0xDF, 0x7F, 0xFF, 0xFD, 0x07};
    EXPECT_EQ(bytes, expected);
}
