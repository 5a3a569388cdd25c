// The work of one full output cycle (decode, axis pass, button pass) with a
// sink that records nothing. The cycle's budget is 8,333,000 ns.
#include <benchmark/benchmark.h>

#include "engine/output_loop.h"

namespace {

class NullPorts : public OutputPorts {
public:
    bool deviceConnected() override { return true; }
    int readReport() override { return 17; }
    const ReportBuffer& reportBuffer() override { return buffer; }
    void sendKeys(const KeyEvent* events, int count) override { benchmark::DoNotOptimize(events[count - 1]); }
    int64_t counter() override { return 0; }
    int64_t counterFrequency() override { return 1; }

    ReportBuffer buffer{};
};

ReportBuffer report(int x, uint64_t buttons)
{
    ReportBuffer bytes{};
    bytes[0] = 1;
    const uint64_t axes = static_cast<uint64_t>(x) | uint64_t{1023} << 10 | uint64_t{0} << 20 | uint64_t{700} << 30 |
                          uint64_t{300} << 40 | uint64_t{511} << 50;
    for (int i = 0; i < 8; ++i) {
        bytes[1 + i] = static_cast<uint8_t>(axes >> (8 * i));
        bytes[9 + i] = static_cast<uint8_t>(buttons >> (8 * i));
    }
    return bytes;
}

void fullCycle(benchmark::State& state)
{
    KeyTable table;
    table.pulseEnabled = 1;
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
        table.setSlotKey(slot, static_cast<uint16_t>(65 + slot % 26));
    // Two reports that differ in a few buttons and in X, so every cycle has edges.
    const ReportBuffer reports[2] = {report(900, 0x0000'00F0'0000'0F0Full), report(100, 0x0F00'0000'00F0'0000ull)};
    NullPorts ports;
    OutputState output;
    int next = 0;
    for (auto _ : state) {
        const JoystickState joystick = decodeReport(reports[next], 17);
        runFullCycle(output, joystick, table, false, ports);
        next ^= 1;
    }
}
BENCHMARK(fullCycle);

}  // namespace

BENCHMARK_MAIN();
