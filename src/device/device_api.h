#pragma once
#include <windows.h>
#include <setupapi.h>

// mingw's hidsdi.h declares its functions without C linkage.
extern "C" {
#include <hidsdi.h>
}

// The operating-system calls that discovery and the reader make, one member
// per call with the call's own name and arguments. Windows binds them to the
// system's hid, setupapi, kernel32 and user32; tests bind them to a fake
// device list.
class DeviceApi {
public:
    virtual void HidD_GetHidGuid(GUID* hidGuid) = 0;
    virtual BOOLEAN HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes) = 0;
    virtual HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, const char* enumerator, HWND parent, DWORD flags) = 0;
    virtual BOOL SetupDiEnumDeviceInterfaces(HDEVINFO list, SP_DEVINFO_DATA* deviceInfo, const GUID* classGuid,
                                             DWORD index, SP_DEVICE_INTERFACE_DATA* interfaceData) = 0;
    virtual BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO list, SP_DEVICE_INTERFACE_DATA* interfaceData,
                                                  SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                                                  DWORD* requiredSize, SP_DEVINFO_DATA* deviceInfo) = 0;
    virtual BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) = 0;
    virtual HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) = 0;
    virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* bytesRead, OVERLAPPED* overlapped) = 0;
    virtual BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait) = 0;
    virtual BOOL CancelIoEx(HANDLE file, OVERLAPPED* overlapped) = 0;
    virtual DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) = 0;
    virtual HANDLE CreateEventA(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState,
                                const char* name) = 0;
    virtual BOOL CloseHandle(HANDLE object) = 0;
    virtual DWORD GetLastError() = 0;
    virtual HDEVNOTIFY RegisterDeviceNotificationA(HANDLE recipient, void* filter, DWORD flags) = 0;
    virtual BOOL UnregisterDeviceNotification(HDEVNOTIFY notification) = 0;

protected:
    ~DeviceApi() = default;
};
