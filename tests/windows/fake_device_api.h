#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <dbt.h>

#include "device/device_api.h"
#include "device/device_link.h"

// One HID interface of the fake device list, with the failures it shows.
struct FakeInterface {
    std::string path;
    USHORT vendorId = 0;
    USHORT productId = 0;
    DWORD sizeQueryError = ERROR_INSUFFICIENT_BUFFER;  // last error of the size query
    bool detailFails = false;
    bool openFails = false;
    bool attributesFail = false;
};

inline std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

inline FakeInterface joystickHandle(const std::string& path)
{
    return FakeInterface{path, HANDLE_VENDOR_ID, HANDLE_PRODUCT_ID};
}

inline FakeInterface foreignDevice(const std::string& path)
{
    return FakeInterface{path, 0x845E, 0x0001};
}

struct FakeOpen {
    std::string path;
    DWORD access;
    DWORD shareMode;
    bool security;
    DWORD disposition;
    DWORD flags;
    bool templateFile;
};

struct FakeEventCreation {
    bool security;
    BOOL manualReset;
    BOOL initialState;
    bool named;
    std::string name;
};

struct FakeRegistration {
    HANDLE recipient;
    DEV_BROADCAST_DEVICEINTERFACE_A filter;
    DWORD flags;
};

struct FakeRead {
    void* buffer;
    DWORD size;
    DWORD* bytesRead;
    OVERLAPPED* overlapped;
};

// DeviceApi over a scripted device list. Every handle it gives out is unique
// and tracked, so a call on a handle that was closed (or never opened) is
// caught as a misuse; the calls are logged in order with the kind of handle
// they concern. Safe to use from two threads at once.
class FakeDeviceApi final : public DeviceApi {
public:
    static constexpr GUID HID_GUID = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

    // Discovery's scenario.
    std::vector<FakeInterface> interfaces;
    bool classListFails = false;
    bool eventCreationFails = false;
    bool registrationFails = false;

    // The reader's scenario: a read completes at once with the oldest queued
    // report, else when a wait ends with WAIT_OBJECT_0, bringing `report`.
    bool deviceOpenFails = false;
    DWORD readFileError = ERROR_IO_PENDING;
    DWORD waitResult = WAIT_OBJECT_0;
    bool overlappedResultFails = false;
    std::deque<std::vector<uint8_t>> queued;
    std::vector<uint8_t> report;
    std::function<void()> duringWait;  // runs inside every wait, unlocked

    // What the code under test did.
    std::vector<std::string> calls;
    std::vector<std::string> misuses;
    std::vector<FakeOpen> opens;
    std::vector<FakeEventCreation> eventCreations;
    std::vector<FakeRegistration> registrations;
    std::vector<FakeRead> reads;
    std::vector<DWORD> waitTimeouts;
    std::vector<BOOL> overlappedWaits;
    std::vector<OVERLAPPED*> overlappedRecords;
    bool classListArgumentsRight = true;
    DWORD classListFlags = 0;
    bool attributeSizesRight = true;
    bool enumerationArgumentsRight = true;

    void HidD_GetHidGuid(GUID* hidGuid) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("HidD_GetHidGuid");
        *hidGuid = HID_GUID;
    }

    HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, const char* enumerator, HWND parent, DWORD flags) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("SetupDiGetClassDevsA");
        classListFlags = flags;
        classListArgumentsRight = classListArgumentsRight && classGuid != nullptr && *classGuid == HID_GUID &&
                                  enumerator == nullptr && parent == nullptr;
        if (classListFails) {
            lastError = ERROR_INVALID_PARAMETER;
            return INVALID_HANDLE_VALUE;
        }
        return issue("list");
    }

    BOOL SetupDiEnumDeviceInterfaces(HDEVINFO list, SP_DEVINFO_DATA* deviceInfo, const GUID* classGuid, DWORD index,
                                     SP_DEVICE_INTERFACE_DATA* interfaceData) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("SetupDiEnumDeviceInterfaces " + std::to_string(index));
        if (!use(list, "list", "SetupDiEnumDeviceInterfaces"))
            return FALSE;
        enumerationArgumentsRight = enumerationArgumentsRight && deviceInfo == nullptr && classGuid != nullptr &&
                                    *classGuid == HID_GUID && interfaceData->cbSize == sizeof(SP_DEVICE_INTERFACE_DATA);
        if (index >= interfaces.size()) {
            lastError = ERROR_NO_MORE_ITEMS;
            return FALSE;
        }
        interfaceData->InterfaceClassGuid = HID_GUID;
        interfaceData->Flags = SPINT_ACTIVE;
        interfaceData->Reserved = index + 1;
        return TRUE;
    }

    BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO list, SP_DEVICE_INTERFACE_DATA* interfaceData,
                                          SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                                          DWORD* requiredSize, SP_DEVINFO_DATA* deviceInfo) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back(detail == nullptr ? "SetupDiGetDeviceInterfaceDetailA size"
                                          : "SetupDiGetDeviceInterfaceDetailA");
        if (!use(list, "list", "SetupDiGetDeviceInterfaceDetailA"))
            return FALSE;
        if (deviceInfo != nullptr)
            misuses.push_back("SetupDiGetDeviceInterfaceDetailA asked for a device record");
        const FakeInterface& entry = interfaces.at(interfaceData->Reserved - 1);
        const DWORD needed =
            static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + entry.path.size() + 1);
        if (requiredSize != nullptr)
            *requiredSize = needed;
        if (detail == nullptr) {
            if (detailSize != 0)
                misuses.push_back("size query with a buffer size");
            lastError = entry.sizeQueryError;
            return FALSE;
        }
        if (entry.detailFails || detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
            lastError = ERROR_INVALID_USER_BUFFER;
            return FALSE;
        }
        if (detailSize < needed) {
            lastError = ERROR_INSUFFICIENT_BUFFER;
            return FALSE;
        }
        memcpy(detail->DevicePath, entry.path.c_str(), entry.path.size() + 1);
        pathsHandedOut.insert(entry.path);
        return TRUE;
    }

    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("SetupDiDestroyDeviceInfoList");
        return close(list, "list", "SetupDiDestroyDeviceInfoList");
    }

    BOOLEAN HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("HidD_GetAttributes");
        if (!use(device, "query", "HidD_GetAttributes"))
            return FALSE;
        attributeSizesRight = attributeSizesRight && attributes->Size == sizeof(HIDD_ATTRIBUTES);
        const FakeInterface& entry = interfaces.at(handles.at(device).interfaceIndex);
        if (entry.attributesFail)
            return FALSE;
        attributes->VendorID = entry.vendorId;
        attributes->ProductID = entry.productId;
        attributes->VersionNumber = 0x0100;
        return TRUE;
    }

    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override
    {
        std::lock_guard<std::mutex> hold(lock);
        const char* kind = access == 0 ? "query" : "device";
        calls.push_back(std::string("CreateFileA ") + kind);
        opens.push_back(
            FakeOpen{path, access, shareMode, security != nullptr, disposition, flags, templateFile != nullptr});
        if (pathsHandedOut.count(path) == 0) {
            misuses.push_back(std::string("CreateFileA of a path discovery never got: ") + path);
            lastError = ERROR_FILE_NOT_FOUND;
            return INVALID_HANDLE_VALUE;
        }
        // A path no longer listed is a device that has gone away.
        const int index = interfaceIndex(path);
        if (index < 0 || (access == 0 ? interfaces[index].openFails : deviceOpenFails)) {
            lastError = ERROR_FILE_NOT_FOUND;
            return INVALID_HANDLE_VALUE;
        }
        return issue(kind, index);
    }

    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* bytesRead, OVERLAPPED* overlapped) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("ReadFile");
        // An empty hEvent is legal: the system then signals the file handle.
        if (!use(file, "device", "ReadFile") ||
            (overlapped->hEvent != nullptr && !useEvent(overlapped->hEvent, "ReadFile's OVERLAPPED")))
            return FALSE;
        if (readOutstanding)
            misuses.push_back("ReadFile while a read is outstanding");
        reads.push_back(FakeRead{buffer, size, bytesRead, overlapped});
        readOutstanding = readFileError == ERROR_IO_PENDING;
        cancelled = false;
        lastError = readFileError;
        return readOutstanding && !queued.empty();
    }

    BOOL CancelIoEx(HANDLE file, OVERLAPPED*) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("CancelIoEx");
        cancelled = use(file, "device", "CancelIoEx") && readOutstanding;
        return cancelled;
    }

    DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override
    {
        std::function<void()> hook;
        {
            std::lock_guard<std::mutex> hold(lock);
            calls.push_back(eventName(object, "WaitForSingleObject ") + " " + std::to_string(milliseconds));
            waitTimeouts.push_back(milliseconds);
            if (!useEvent(object, "WaitForSingleObject"))
                return WAIT_FAILED;
            hook = duringWait;
        }
        if (hook)
            hook();
        std::lock_guard<std::mutex> hold(lock);
        if (milliseconds == 0)
            return queued.empty() ? WAIT_TIMEOUT : WAIT_OBJECT_0;
        return useEvent(object, "WaitForSingleObject, after the wait") ? waitResult : WAIT_FAILED;
    }

    BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("GetOverlappedResult");
        overlappedWaits.push_back(wait);
        overlappedRecords.push_back(overlapped);
        if (!readOutstanding)
            misuses.push_back("GetOverlappedResult without a read");
        readOutstanding = false;
        if (!use(file, "device", "GetOverlappedResult") || overlappedResultFails || cancelled)
            return FALSE;
        const std::vector<uint8_t> bytes = queued.empty() ? report : queued.front();
        if (!queued.empty())
            queued.pop_front();
        memcpy(reads.back().buffer, bytes.data(), bytes.size());
        *bytesTransferred = static_cast<DWORD>(bytes.size());
        return TRUE;
    }

    HANDLE CreateEventA(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState, const char* name) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("CreateEventA");
        eventCreations.push_back(
            FakeEventCreation{security != nullptr, manualReset, initialState, name != nullptr, name ? name : ""});
        return eventCreationFails ? nullptr : issue("event");
    }

    BOOL CloseHandle(HANDLE object) override
    {
        std::lock_guard<std::mutex> hold(lock);
        const auto found = handles.find(object);
        const std::string kind = found == handles.end() ? "unknown" : found->second.kind;
        calls.push_back("CloseHandle " + kind);
        // The system would still write the read's completion into its buffer.
        if (kind == "device" && readOutstanding)
            misuses.push_back("CloseHandle device with a read outstanding");
        return close(object, kind, "CloseHandle");
    }

    DWORD GetLastError() override { return lastError; }

    HDEVNOTIFY RegisterDeviceNotificationA(HANDLE recipient, void* filter, DWORD flags) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("RegisterDeviceNotificationA");
        registrations.push_back({recipient, *static_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(filter), flags});
        return registrationFails ? nullptr : issue("notification");
    }

    BOOL UnregisterDeviceNotification(HDEVNOTIFY notification) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back("UnregisterDeviceNotification");
        return close(notification, "notification", "UnregisterDeviceNotification");
    }

    // Handles of this kind that are open now.
    int openHandles(const std::string& kind)
    {
        std::lock_guard<std::mutex> hold(lock);
        int count = 0;
        for (const auto& entry : handles)
            count += entry.second.kind == kind && entry.second.open;
        return count;
    }

    // How often each handle of this kind that was ever given out got closed.
    std::vector<int> closeCounts(const std::string& kind)
    {
        std::lock_guard<std::mutex> hold(lock);
        std::vector<int> counts;
        for (const auto& entry : handles)
            if (entry.second.kind == kind)
                counts.push_back(entry.second.closes);
        return counts;
    }

    size_t readCount()
    {
        std::lock_guard<std::mutex> hold(lock);
        return reads.size();
    }

    // Changes the device list while another thread may be reading.
    void setInterfaces(std::vector<FakeInterface> list)
    {
        std::lock_guard<std::mutex> hold(lock);
        interfaces = std::move(list);
    }

private:
    struct Tracked {
        std::string kind;
        int interfaceIndex;
        bool open;
        int closes;
    };

    HANDLE issue(const std::string& kind, int index = -1)
    {
        nextHandle += 4;
        const HANDLE handle = reinterpret_cast<HANDLE>(nextHandle);
        handles[handle] = Tracked{kind, index, true, 0};
        return handle;
    }

    bool use(HANDLE object, const std::string& kind, const std::string& call)
    {
        const auto found = handles.find(object);
        if (found == handles.end() || found->second.kind != kind || !found->second.open) {
            misuses.push_back(call + ": " + kind + " handle not open");
            lastError = ERROR_INVALID_HANDLE;
            return false;
        }
        return true;
    }

    // An empty event is what a failed CreateEventA leaves: calls on it fail
    // like the real ones, without being a misuse.
    bool useEvent(HANDLE event, const std::string& call)
    {
        if (event == nullptr) {
            lastError = ERROR_INVALID_HANDLE;
            return false;
        }
        return use(event, "event", call);
    }

    bool close(HANDLE object, const std::string& kind, const std::string& call)
    {
        if (!use(object, kind, call))
            return false;
        Tracked& tracked = handles.at(object);
        tracked.open = false;
        ++tracked.closes;
        return true;
    }

    std::string eventName(HANDLE event, const std::string& call) const
    {
        return call + (event == nullptr ? "null" : "event");
    }

    int interfaceIndex(const char* path) const
    {
        for (size_t i = 0; i < interfaces.size(); ++i)
            if (interfaces[i].path == path)
                return static_cast<int>(i);
        return -1;
    }

    std::mutex lock;
    std::map<HANDLE, Tracked> handles;
    std::set<std::string> pathsHandedOut;
    uintptr_t nextHandle = 0x1000;
    bool readOutstanding = false;  // issued, and not yet ended in GetOverlappedResult
    bool cancelled = false;
    static inline thread_local DWORD lastError = 0;
};
