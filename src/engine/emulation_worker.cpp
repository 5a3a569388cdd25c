#include "engine/emulation_worker.h"

#include "engine/output_loop.h"

EmulationWorker::EmulationWorker(OutputPorts& ports, const KeyTable& table) : ports(ports), table(table) {}

EmulationWorker::~EmulationWorker()
{
    stop();
}

void EmulationWorker::start()
{
    if (!ports.deviceConnected())
        return;
    stopRequested.store(false);
    thread = std::thread(&EmulationWorker::threadBody, this);
    isRunning = true;
}

void EmulationWorker::stop()
{
    if (!isRunning)
        return;
    stopRequested.store(true);
    thread.join();
    isRunning = false;
}

void EmulationWorker::threadBody()
{
    ports.beginSleeps();
    runOutputLoop(ports, table, stopRequested);
    ports.endReads();
    ports.endSleeps();
}
