#include "device/joystick_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

namespace {

using AxisValues = std::array<int32_t, AXIS_COUNT>;

AxisValues axesOf(const JoystickState& state)
{
    AxisValues values;
    std::copy(state.axisValue, state.axisValue + AXIS_COUNT, values.begin());
    return values;
}

// The axis values by the handle's byte layout, one formula per axis.
AxisValues axesFromBytes(const ReportBuffer& b)
{
    return {b[1] + 256 * (b[2] & 3), (b[2] >> 2) + 64 * (b[3] & 15), (b[3] >> 4) + 16 * (b[4] & 63),
            (b[4] >> 6) + 4 * b[5],  b[6] + 256 * (b[7] & 3),        (b[7] >> 2) + 64 * (b[8] & 15)};
}

// The inverse: packs axis values into bytes 1..8 the way the handle sends them.
void putAxes(ReportBuffer& b, const AxisValues& v)
{
    b[1] = static_cast<uint8_t>(v[0] & 0xFF);
    b[2] = static_cast<uint8_t>((v[0] >> 8) | ((v[1] & 63) << 2));
    b[3] = static_cast<uint8_t>((v[1] >> 6) | ((v[2] & 15) << 4));
    b[4] = static_cast<uint8_t>((v[2] >> 4) | ((v[3] & 3) << 6));
    b[5] = static_cast<uint8_t>(v[3] >> 2);
    b[6] = static_cast<uint8_t>(v[4] & 0xFF);
    b[7] = static_cast<uint8_t>((v[4] >> 8) | ((v[5] & 63) << 2));
    b[8] = static_cast<uint8_t>(v[5] >> 6);
}

int firstButtonByte(int length)
{
    return length == 17 ? 9 : 12;
}

void expectButtonsFrom(const ReportBuffer& b, int firstByte, uint64_t buttonBits)
{
    for (int bit = 0; bit < 64; ++bit) {
        const bool expected = (b[firstByte + bit / 8] >> (bit % 8)) & 1;
        ASSERT_EQ(((buttonBits >> bit) & 1) != 0, expected) << "bit " << bit;
    }
}

ReportBuffer numberedBytes()
{
    ReportBuffer b{};
    for (int i = 0; i < REPORT_BUFFER_SIZE; ++i)
        b[i] = static_cast<uint8_t>(0x10 + i);
    return b;
}

}  // namespace

// Behind a short report the buffer still holds an earlier, longer one; the
// bytes the read did not deliver count as 0.
TEST(DecodeReport, LengthSeventeenTakesButtonsFromByteNineElseByteTwelve)
{
    const ReportBuffer b = numberedBytes();
    for (int length = 0; length <= REPORT_BUFFER_SIZE; ++length) {
        SCOPED_TRACE(length);
        ReportBuffer delivered = b;
        std::fill(delivered.begin() + length, delivered.end(), 0);
        const JoystickState state = decodeReport(b, length);
        if (length == 17 || length >= 20) {
            EXPECT_EQ(state.buttonBits, length == 17 ? 0x201F1E1D1C1B1A19ull : 0x232221201F1E1D1Cull);
        }
        expectButtonsFrom(delivered, firstButtonByte(length), state.buttonBits);
        EXPECT_EQ(axesOf(state), axesFromBytes(delivered));
    }
}

TEST(DecodeReport, ExtremeAndCentredAxes)
{
    ReportBuffer b{};
    b[0] = JOYSTICK_REPORT_ID;
    EXPECT_EQ(axesOf(decodeReport(b, 20)), (AxisValues{0, 0, 0, 0, 0, 0}));

    std::fill(b.begin() + 1, b.begin() + 9, 0xFF);
    EXPECT_EQ(axesOf(decodeReport(b, 20)), (AxisValues{1023, 1023, 1023, 1023, 1023, 1023}));

    std::fill(b.begin() + 1, b.begin() + 9, 0x00);
    b[1] = 0xFF;
    b[2] = 0x01;
    EXPECT_EQ(axesOf(decodeReport(b, 20)), (AxisValues{511, 0, 0, 0, 0, 0}));
}

TEST(DecodeReport, TopNibbleOfTheAxisBytesIsIgnored)
{
    ReportBuffer b{};
    b[8] = 0xF0;
    EXPECT_EQ(axesOf(decodeReport(b, 20)), (AxisValues{0, 0, 0, 0, 0, 0}));
}

TEST(DecodeReport, FirstButtonAtEitherOffset)
{
    ReportBuffer shortReport{};
    shortReport[0] = JOYSTICK_REPORT_ID;
    shortReport[9] = 0x01;
    EXPECT_EQ(decodeReport(shortReport, 17).buttonBits, 1u);

    ReportBuffer longReport{};
    longReport[0] = JOYSTICK_REPORT_ID;
    longReport[9] = longReport[10] = longReport[11] = 0xFF;
    longReport[12] = 0x01;
    EXPECT_EQ(decodeReport(longReport, 20).buttonBits, 1u);
}

TEST(DecodeReport, LastButtonIsTheTopBitOfByteSixteenInAShortReport)
{
    ReportBuffer b{};
    b[0] = JOYSTICK_REPORT_ID;
    b[16] = 0x80;
    EXPECT_EQ(decodeReport(b, 17).buttonBits, 1ull << 63);
}

TEST(DecodeReport, EveryValueOfEveryAxisSurvivesPacking)
{
    // The other axes hold a mixed pattern so that bits leaking across an
    // axis boundary change a neighbour.
    const AxisValues background{0x2AA, 0x155, 0x3C3, 0x03C, 0x2D2, 0x12D};
    for (int axis = 0; axis < AXIS_COUNT; ++axis) {
        for (int32_t value = 0; value < 1024; ++value) {
            AxisValues expected = background;
            expected[axis] = value;
            ReportBuffer b{};
            putAxes(b, expected);
            ASSERT_EQ(axesOf(decodeReport(b, 20)), expected) << "axis " << axis << " value " << value;
        }
    }
}

TEST(DecodeReport, RandomReportsOfAnyLengthStayInRange)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int length = 0; length <= 300; ++length) {
        for (int round = 0; round < 20; ++round) {
            ReportBuffer b{};
            for (int i = 0; i < std::min(length, REPORT_BUFFER_SIZE); ++i)
                b[i] = static_cast<uint8_t>(byte(random));
            const JoystickState state = decodeReport(b, length);
            for (int32_t value : state.axisValue) {
                ASSERT_GE(value, 0);
                ASSERT_LE(value, 1023);
            }
            ASSERT_EQ(axesOf(state), axesFromBytes(b)) << "length " << length;
            expectButtonsFrom(b, firstButtonByte(length), state.buttonBits);
        }
    }
}
