#pragma once
#include <cstdint>

// What the handle simulator and the test build of the program agree on.
//
// The simulated handle is a message-mode named pipe; each connection is one
// opening of the device by the program's reader, one report a message. The
// program's side tells the simulator when a read waits (READ_WAITING), when a
// wait for it gave up (READ_HELD) and when a report was taken (REPORT_TAKEN),
// so that the simulator can serve one report per waiting read, know which
// report each output cycle got, and serve a report not taken again.
constexpr char SIMULATED_HANDLE_PATH[] = "\\\\.\\pipe\\corvanta-simulated-handle";
// Set while the simulated handle is plugged in; discovery lists it only then.
constexpr char SIMULATED_HANDLE_PRESENT_EVENT[] = "corvanta-simulated-handle-present";
constexpr uint8_t REPORT_TAKEN = 'T';
constexpr uint8_t READ_WAITING = 'R';
constexpr uint8_t READ_HELD = 'H';
