#pragma once
#include <atomic>
#include <mutex>
#include <string>

#include "device/device_api.h"
#include "device/joystick_state.h"

// The handle is the HID interface with this vendor ID and the build's
// HANDLE_PRODUCT_ID (a compile definition).
constexpr USHORT HANDLE_VENDOR_ID = 0x04D8;
// The longest a read waits for a report.
constexpr DWORD REPORT_WAIT_MS = 16;
// The most reads one cycle takes. A handle queues 32 reports for each open
// handle by default; twice that bounds the cycle should reads never stop
// completing at once.
constexpr int MAX_READS_PER_CYCLE = 64;

// The reader's own state, used by the worker thread alone. The device stays
// open from the first read after discovery found the handle until output
// stops, the handle's path changes, or a read fails; one overlapped read is
// outstanding on it all the while. The reader creates the read's event with
// the device and closes both together, after cancelling the outstanding read
// and waiting for its end: the system writes a read's completion into
// readBuffer and readOverlapped, so neither is touched or freed before then.
struct ReportReader {
    HANDLE device = INVALID_HANDLE_VALUE;
    HANDLE readEvent = nullptr;  // manual reset
    OVERLAPPED readOverlapped{};
    ReportBuffer readBuffer{};
    bool readOutstanding = false;
    unsigned pathGeneration = 0;  // of the devicePath the device was opened at
};

// What discovery finds, and the reader. Discovery writes `connected`,
// devicePath and pathGeneration on the UI thread; the worker thread reads
// through them.
//
// A discovery can run while the worker reads. It takes pathLock only while it
// swaps in a new devicePath, which the reader opens under the same lock, and
// it bumps pathGeneration when the path changes, so that the reader closes the
// device and opens the new path at its next read. Nothing a read uses belongs
// to discovery. Discovery clears `connected` before anything else, so reads
// meanwhile return 0 and leave the open device and its read as they are.
struct DeviceLink {
    explicit DeviceLink(DeviceApi& api) : api(api) {}
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    DeviceApi& api;
    std::atomic<bool> connected{false};
    std::string devicePath;
    std::atomic<unsigned> pathGeneration{0};
    std::mutex pathLock;
    // The newest report a read took, which the output loop decodes.
    ReportBuffer reportBuffer{};
    ReportReader reader;
};

// Finds the handle among the present HID interfaces. Leaves `connected` true,
// and returns true, exactly when the handle was found.
bool connect(DeviceLink& link);

// One cycle's read: opens the device if it is not open, takes every report
// that has come since the last call and copies the newest into reportBuffer;
// when none had come, waits up to REPORT_WAIT_MS for one. Returns its byte
// count, 0 when not connected, nothing came or a read failed (which closes
// the device), or READ_OPEN_FAILED. The buffer is not cleared between reads.
int readReport(DeviceLink& link);

// Cancels the outstanding read, waits for its end and closes the device; the
// next readReport opens it again. Output calls it once it has stopped.
void stopReading(DeviceLink& link);

// The process's link, bound to the real system calls (system_device_link.cpp);
// a test build of the program defines its own.
DeviceLink& deviceLink();
