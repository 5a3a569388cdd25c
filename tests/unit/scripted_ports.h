#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/output_ports.h"

// Output ports for driving the loop deterministically: reports come from a
// script, every SendInput call is recorded with the cycle it came in, and
// the counter is a virtual clock that moves one microsecond per reading. A
// sleep moves it to SLEEP_SPIN_US before the time asked, as a real one that
// wakes early would.
struct ScriptedReport {
    int length;          // 0: nothing delivered
    ReportBuffer bytes;  // copied into the buffer when length > 0
};

struct RecordedCall {
    int read;                      // number of reads made before this call
    std::vector<KeyEvent> events;  // the records of one SendInput call
};

class ScriptedPorts : public OutputPorts {
public:
    static constexpr int64_t FREQUENCY = 10000000;  // 10 MHz, like Windows
    static constexpr int64_t TICKS_PER_READING = 10;
    static constexpr int64_t SLEEP_SPIN_US = 100;

    std::vector<ScriptedReport> script;
    std::vector<RecordedCall> calls;
    std::vector<int64_t> readTimes;  // counter value at each read
    std::vector<int64_t> sleeps;     // the microseconds of each sleepBefore
    int sleepsBegun = 0;
    int sleepsEnded = 0;
    int readsEnded = 0;
    bool connected = true;
    // Repeat the script endlessly instead of reading nothing after its end.
    bool cycleScript = false;
    // Set when the script's last report has been read, so that this read's
    // iteration is the loop's final cycle.
    std::atomic<bool>* stopAfterScript = nullptr;
    // Runs before each read with the read's index (table changes, toggles).
    std::function<void(int)> beforeRead;

    bool deviceConnected() override { return connected; }

    int readReport() override
    {
        const int index = static_cast<int>(readTimes.size());
        readTimes.push_back(clock);
        if (beforeRead)
            beforeRead(index);
        int length = 0;
        const int size = static_cast<int>(script.size());
        if (size > 0 && (index < size || cycleScript)) {
            const ScriptedReport& report = script[index % size];
            length = report.length;
            if (length > 0)
                buffer = report.bytes;
        }
        if (stopAfterScript && index + 1 >= static_cast<int>(script.size()))
            stopAfterScript->store(true);
        return length;
    }

    const ReportBuffer& reportBuffer() override { return buffer; }

    void sendKeys(const KeyEvent* events, int count) override
    {
        calls.push_back(
            RecordedCall{static_cast<int>(readTimes.size()), std::vector<KeyEvent>(events, events + count)});
    }

    int64_t counter() override { return clock += TICKS_PER_READING; }
    int64_t counterFrequency() override { return FREQUENCY; }

    void beginSleeps() override { ++sleepsBegun; }
    void sleepBefore(int64_t microseconds) override
    {
        sleeps.push_back(microseconds);
        if (microseconds > SLEEP_SPIN_US)
            clock += (microseconds - SLEEP_SPIN_US) * (FREQUENCY / 1000000);
    }
    void endSleeps() override { ++sleepsEnded; }
    void endReads() override { ++readsEnded; }

private:
    ReportBuffer buffer{};
    int64_t clock = 0;
};
