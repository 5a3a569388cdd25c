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

// What discovery prepares for the reader. Discovery writes it on the UI
// thread; the worker thread reads through it.
//
// A discovery can run while the worker is inside a read, and it replaces the
// event and the path that read is using. readReport therefore holds readLock
// from opening the device to closing it, and discovery takes readLock only
// while it swaps in the new devicePath and while it closes and replaces
// readEvent: nothing a read uses is closed or freed under it. Discovery clears
// `connected` before anything else, so reads that begin meanwhile return 0
// without touching the lock; the UI thread waits at most for one read already
// under way (16 ms plus opening and closing the device).
struct DeviceLink {
    explicit DeviceLink(DeviceApi& api) : api(api) {}
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    DeviceApi& api;
    std::atomic<bool> connected{false};
    std::string devicePath;
    HANDLE readEvent = nullptr;  // manual reset; none before the first discovery
    // Both must outlive every read: a read cancelled by closing the device
    // still completes into them.
    OVERLAPPED readOverlapped{};
    ReportBuffer reportBuffer{};
    std::mutex readLock;
};

// Finds the handle among the present HID interfaces and gives every call a
// fresh readEvent. Leaves `connected` true, and returns true, exactly when
// the handle was found and the event exists, so that it can be read.
bool connect(DeviceLink& link);

// One read: opens devicePath, waits up to REPORT_WAIT_MS for a report into
// reportBuffer and closes the device again. Returns the byte count, 0 when
// not connected or nothing came, or READ_OPEN_FAILED. The buffer is not
// cleared between reads.
int readReport(DeviceLink& link);

// The process's link, bound to the real system calls (system_device_link.cpp);
// a test build of the program defines its own.
DeviceLink& deviceLink();
