// The real worker over WindowsOutputPorts, against a device that answers
// every read at once, for 2,000 cycles with each wait: spinning on the counter
// through all of it (the worker as it was before it slept) and sleeping
// through most of it. Prints for each the worker thread's CPU time per second
// of output and how far the periods stray from 8333 us.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/emulation_worker.h"
#include "engine/output_loop.h"
#include "engine/windows_output_ports.h"
#include "fake_device_api.h"

namespace {

constexpr int CYCLES = 2000;

UINT WINAPI swallowInput(UINT count, INPUT*, int)
{
    return count;
}

int64_t threadCpuTime100ns()
{
    FILETIME creation, exit, kernel, user;
    GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user);
    const auto value = [](const FILETIME& time) {
        return static_cast<int64_t>(ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart);
    };
    return value(kernel) + value(user);
}

// Passes everything to the Windows ports, except the sleeps when the worker
// is to spin through its waits, and notes each cycle's start (the last
// counter reading before a read) and the worker's CPU time over the cycles.
class MeasuredPorts final : public OutputPorts {
public:
    MeasuredPorts(WindowsOutputPorts& windows, bool sleeping, HANDLE cyclesDone)
        : windows(windows), sleeping(sleeping), cyclesDone(cyclesDone)
    {
        cycleStarts.reserve(CYCLES + 1);
    }

    bool deviceConnected() override { return windows.deviceConnected(); }
    int readReport() override
    {
        if (cycleStarts.size() <= CYCLES) {
            cycleStarts.push_back(lastCounter);
            if (cycleStarts.size() == 1)
                cpuAtFirstCycle = threadCpuTime100ns();
            if (cycleStarts.size() == CYCLES + 1) {
                cpuOverCycles = threadCpuTime100ns() - cpuAtFirstCycle;
                SetEvent(cyclesDone);
            }
        }
        return windows.readReport();
    }
    const ReportBuffer& reportBuffer() override { return windows.reportBuffer(); }
    void sendKeys(const KeyEvent* events, int count) override { windows.sendKeys(events, count); }
    int64_t counter() override { return lastCounter = windows.counter(); }
    int64_t counterFrequency() override { return windows.counterFrequency(); }
    void beginSleeps() override
    {
        if (sleeping)
            windows.beginSleeps();
    }
    void sleepBefore(int64_t microseconds) override
    {
        if (sleeping)
            windows.sleepBefore(microseconds);
    }
    void endSleeps() override
    {
        if (sleeping)
            windows.endSleeps();
    }
    void endReads() override { windows.endReads(); }

    std::vector<int64_t> cycleStarts;
    int64_t cpuOverCycles = 0;

private:
    WindowsOutputPorts& windows;
    const bool sleeping;
    const HANDLE cyclesDone;
    int64_t lastCounter = 0;
    int64_t cpuAtFirstCycle = 0;
};

struct Figures {
    double cpuPercent;
    double meanUs, medianUs, p99Us, maxUs;
    int shorter;
};

bool measure(bool sleeping, Figures& figures)
{
    FakeDeviceApi api;
    api.interfaces = {joystickHandle("bench")};
    api.report.assign(17, 0);
    api.report[0] = JOYSTICK_REPORT_ID;
    DeviceLink link(api);
    connect(link);
    WindowsOutputPorts windows(link, swallowInput);
    const HANDLE cyclesDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    MeasuredPorts ports(windows, sleeping, cyclesDone);
    KeyTable table;
    EmulationWorker worker(ports, table);
    worker.start();
    const bool done = WaitForSingleObject(cyclesDone, 10 * 60 * 1000) == WAIT_OBJECT_0;
    worker.stop();
    CloseHandle(cyclesDone);
    if (!done)
        return false;

    const int64_t frequency = ports.counterFrequency();
    std::vector<double> deviationsUs;
    figures.shorter = 0;
    for (int i = 1; i <= CYCLES; ++i) {
        const int64_t period = ports.cycleStarts[i] - ports.cycleStarts[i - 1];
        figures.shorter += period * 1000000 < CYCLE_PERIOD_US * frequency;
        deviationsUs.push_back(static_cast<double>(period) * 1e6 / static_cast<double>(frequency) - CYCLE_PERIOD_US);
    }
    double sum = 0;
    for (double deviation : deviationsUs)
        sum += deviation;
    std::sort(deviationsUs.begin(), deviationsUs.end());
    figures.meanUs = sum / CYCLES;
    figures.medianUs = deviationsUs[CYCLES / 2];
    figures.p99Us = deviationsUs[CYCLES * 99 / 100];
    figures.maxUs = deviationsUs.back();
    const int64_t outputTime = ports.cycleStarts[CYCLES] - ports.cycleStarts[0];
    figures.cpuPercent = 100.0 * static_cast<double>(ports.cpuOverCycles) * static_cast<double>(frequency) /
                         (1e7 * static_cast<double>(outputTime));
    return true;
}

const char* sleepTimerName()
{
    CycleSleeper sleeper;
    beginCycleSleeps(sleeper);
    const char* name = sleeper.timer == nullptr         ? "no timer"
                       : sleeper.timeLibrary == nullptr ? "high-resolution timer"
                                                        : "timer at 1 ms resolution";
    endCycleSleeps(sleeper);
    return name;
}

}  // namespace

int main()
{
    std::printf("%d cycles of %lld us each; the sleeping wait on: %s\n", CYCLES,
                static_cast<long long>(CYCLE_PERIOD_US), sleepTimerName());
    std::printf("%-22s %9s %10s %10s %10s %10s %8s\n", "wait", "CPU", "mean", "median", "p99", "max", "short");
    for (const bool sleeping : {false, true}) {
        Figures figures{};
        const char* name = sleeping ? "sleep, then spin" : "spin (busy loop)";
        if (!measure(sleeping, figures)) {
            std::printf("%-22s did not finish\n", name);
            return 1;
        }
        std::printf("%-22s %8.1f%% %7.1f us %7.1f us %7.1f us %7.1f us %8d\n", name, figures.cpuPercent, figures.meanUs,
                    figures.medianUs, figures.p99Us, figures.maxUs, figures.shorter);
    }
    std::printf("CPU: the worker thread's time per second of output, as a share of one core.\n"
                "mean, median, p99, max: how far the periods were longer than %lld us; short: how many were shorter.\n",
                static_cast<long long>(CYCLE_PERIOD_US));
    return 0;
}
