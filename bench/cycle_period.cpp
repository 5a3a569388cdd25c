// Runs the real output loop for 2,000 cycles with the monotonic clock standing
// in for the performance counter and a report always at hand, and prints how
// far each cycle's period strays from 8333 us.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "engine/output_loop.h"

namespace {

constexpr int CYCLES = 2000;

class ClockPorts : public OutputPorts {
public:
    std::vector<int64_t> readTimes;
    std::atomic<bool>* stopRequested = nullptr;

    ClockPorts() { buffer[0] = JOYSTICK_REPORT_ID; }
    bool deviceConnected() override { return true; }
    int readReport() override
    {
        readTimes.push_back(counter());
        if (static_cast<int>(readTimes.size()) > CYCLES)
            stopRequested->store(true);
        return 17;
    }
    const ReportBuffer& reportBuffer() override { return buffer; }
    void sendKeys(const KeyEvent*, int) override {}
    int64_t counter() override
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    int64_t counterFrequency() override { return 1000000000; }

private:
    ReportBuffer buffer{};
};

}  // namespace

int main()
{
    KeyTable table;
    ClockPorts ports;
    std::atomic<bool> stopRequested{false};
    ports.stopRequested = &stopRequested;
    ports.readTimes.reserve(CYCLES + 2);
    runOutputLoop(ports, table, stopRequested);

    std::vector<double> deviationUs;
    for (size_t i = 1; i < ports.readTimes.size(); ++i)
        deviationUs.push_back((ports.readTimes[i] - ports.readTimes[i - 1]) / 1000.0 - CYCLE_PERIOD_US);
    std::vector<double> sorted = deviationUs;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    double largest = 0;
    for (double d : deviationUs) {
        sum += d;
        largest = std::max(largest, std::abs(d));
    }
    const auto at = [&](double q) { return sorted[static_cast<size_t>(q * (sorted.size() - 1))]; };
    std::vector<double> absolute;
    for (double d : deviationUs)
        absolute.push_back(std::abs(d));
    std::sort(absolute.begin(), absolute.end());
    std::printf("cycles: %zu, period %lld us\n", deviationUs.size(), static_cast<long long>(CYCLE_PERIOD_US));
    std::printf("deviation from the period (us): mean %.3f, median %.3f, p99 |dev| %.3f, max |dev| %.3f\n",
                sum / deviationUs.size(), at(0.5), absolute[static_cast<size_t>(0.99 * (absolute.size() - 1))],
                largest);
    return 0;
}
