#pragma once
#include <map>
#include <mutex>
#include <set>

#include "device/device_api.h"

// The system's HID devices plus the simulated handle: while the simulator
// serves it, the list of HID interfaces ends with one more interface, with
// the handle's vendor and product IDs, whose path is the simulator's pipe.
// Everything else passes through to the wrapped DeviceApi, so discovery and
// the reader run unchanged against real handles.
class SimulatedDeviceApi final : public DeviceApi {
public:
    explicit SimulatedDeviceApi(DeviceApi& system) : system(system) {}

    void HidD_GetHidGuid(GUID* hidGuid) override;
    BOOLEAN HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes) override;
    HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, const char* enumerator, HWND parent, DWORD flags) override;
    BOOL SetupDiEnumDeviceInterfaces(HDEVINFO list, SP_DEVINFO_DATA* deviceInfo, const GUID* classGuid, DWORD index,
                                     SP_DEVICE_INTERFACE_DATA* interfaceData) override;
    BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO list, SP_DEVICE_INTERFACE_DATA* interfaceData,
                                          SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                                          DWORD* requiredSize, SP_DEVINFO_DATA* deviceInfo) override;
    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) override;
    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override;
    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* bytesRead, OVERLAPPED* overlapped) override;
    BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait) override;
    BOOL CancelIoEx(HANDLE file, OVERLAPPED* overlapped) override;
    DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override;
    HANDLE CreateEventA(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState, const char* name) override;
    BOOL CloseHandle(HANDLE object) override;
    DWORD GetLastError() override;
    HDEVNOTIFY RegisterDeviceNotificationA(HANDLE recipient, void* filter, DWORD flags) override;
    BOOL UnregisterDeviceNotification(HDEVNOTIFY notification) override;

private:
    // Marks the simulated interface's record; the system's records carry
    // their own pointers there.
    ULONG_PTR interfaceMark() const { return reinterpret_cast<ULONG_PTR>(this); }
    bool isQueryHandle(HANDLE handle);
    bool isPipeHandle(HANDLE handle);

    DeviceApi& system;
    // The class list that lists the simulated handle, and its index there:
    // right after the system's own interfaces.
    HDEVINFO listingList = nullptr;
    DWORD simulatedIndex = 0;
    // Discovery's query opens run on the UI thread, reads on the worker.
    std::mutex handlesLock;
    std::set<HANDLE> queryHandles;
    std::set<HANDLE> pipeHandles;          // a pipe leaves once its read is cancelled
    std::map<HANDLE, HANDLE> pipeOfEvent;  // the events of reads pending on pipes
};
