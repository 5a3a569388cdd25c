#pragma once
#include <atomic>
#include <thread>

#include "engine/output_ports.h"
#include "model/key_table.h"

// The one background thread: runs the output loop between start and stop.
// start, stop and running belong to the UI thread; stopRequested is the only
// signal to the worker.
class EmulationWorker {
public:
    EmulationWorker(OutputPorts& ports, const KeyTable& table);
    ~EmulationWorker();
    EmulationWorker(const EmulationWorker&) = delete;
    EmulationWorker& operator=(const EmulationWorker&) = delete;

    // Only while not running. Starts nothing while the device is not
    // connected, so a running worker always reads. The check is made here on
    // the UI thread, which runs discovery too, not as the thread begins: a
    // discovery under way just then would end the thread before it read.
    void start();
    // Asks for the final cycle, which releases every key that is down, and
    // waits for the thread to end. Nothing happens while not running.
    void stop();
    bool running() const { return isRunning; }

    std::atomic<bool> stopRequested{false};

private:
    void threadBody();

    OutputPorts& ports;
    const KeyTable& table;
    std::thread thread;
    bool isRunning = false;
};
