#pragma once
#include <cstdint>

// What the handle simulator and the test build of the program agree on.
//
// The simulated handle is a message-mode named pipe. Every connection is one
// read of the program's reader: the simulator writes at most one report into
// it, and the program's side answers a report it took with REPORT_TAKEN, so
// the simulator knows which report each output cycle got and serves a report
// whose read timed out again on the next connection.
constexpr char SIMULATED_HANDLE_PATH[] = "\\\\.\\pipe\\corvanta-simulated-handle";
// Set while the simulated handle is plugged in; discovery lists it only then.
constexpr char SIMULATED_HANDLE_PRESENT_EVENT[] = "corvanta-simulated-handle-present";
constexpr uint8_t REPORT_TAKEN = 'T';
