#include "device/windows_device_api.h"

namespace {

template <typename Function>
Function systemFunction(HMODULE library, const char* name)
{
    if (library == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The program links no import library for hid or setupapi: both are looked
// up here, in the system directory only. A missing function makes its call
// fail like the real one would, which discovery already treats as "not found".
class WindowsDeviceApi final : public DeviceApi {
public:
    WindowsDeviceApi()
    {
        const HMODULE hid = LoadLibraryExA("hid.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        const HMODULE setupApi = LoadLibraryExA("setupapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        getHidGuid = systemFunction<decltype(&::HidD_GetHidGuid)>(hid, "HidD_GetHidGuid");
        getAttributes = systemFunction<decltype(&::HidD_GetAttributes)>(hid, "HidD_GetAttributes");
        getClassDevs = systemFunction<decltype(&::SetupDiGetClassDevsA)>(setupApi, "SetupDiGetClassDevsA");
        enumInterfaces =
            systemFunction<decltype(&::SetupDiEnumDeviceInterfaces)>(setupApi, "SetupDiEnumDeviceInterfaces");
        getInterfaceDetail =
            systemFunction<decltype(&::SetupDiGetDeviceInterfaceDetailA)>(setupApi, "SetupDiGetDeviceInterfaceDetailA");
        destroyList =
            systemFunction<decltype(&::SetupDiDestroyDeviceInfoList)>(setupApi, "SetupDiDestroyDeviceInfoList");
    }

    void HidD_GetHidGuid(GUID* hidGuid) override
    {
        if (getHidGuid != nullptr)
            getHidGuid(hidGuid);
        else
            *hidGuid = GUID{};
    }

    BOOLEAN HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes) override
    {
        return getAttributes != nullptr && getAttributes(device, attributes);
    }

    HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, const char* enumerator, HWND parent, DWORD flags) override
    {
        if (getClassDevs == nullptr)
            return INVALID_HANDLE_VALUE;
        return getClassDevs(classGuid, enumerator, parent, flags);
    }

    BOOL SetupDiEnumDeviceInterfaces(HDEVINFO list, SP_DEVINFO_DATA* deviceInfo, const GUID* classGuid, DWORD index,
                                     SP_DEVICE_INTERFACE_DATA* interfaceData) override
    {
        return enumInterfaces != nullptr && enumInterfaces(list, deviceInfo, classGuid, index, interfaceData);
    }

    BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO list, SP_DEVICE_INTERFACE_DATA* interfaceData,
                                          SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                                          DWORD* requiredSize, SP_DEVINFO_DATA* deviceInfo) override
    {
        return getInterfaceDetail != nullptr &&
               getInterfaceDetail(list, interfaceData, detail, detailSize, requiredSize, deviceInfo);
    }

    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) override { return destroyList != nullptr && destroyList(list); }

    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override
    {
        return ::CreateFileA(path, access, shareMode, security, disposition, flags, templateFile);
    }

    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* bytesRead, OVERLAPPED* overlapped) override
    {
        return ::ReadFile(file, buffer, size, bytesRead, overlapped);
    }

    BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait) override
    {
        return ::GetOverlappedResult(file, overlapped, bytesTransferred, wait);
    }

    BOOL CancelIoEx(HANDLE file, OVERLAPPED* overlapped) override { return ::CancelIoEx(file, overlapped); }

    DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override
    {
        return ::WaitForSingleObject(object, milliseconds);
    }

    HANDLE CreateEventA(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState, const char* name) override
    {
        return ::CreateEventA(security, manualReset, initialState, name);
    }

    BOOL CloseHandle(HANDLE object) override { return ::CloseHandle(object); }

    DWORD GetLastError() override { return ::GetLastError(); }

    HDEVNOTIFY RegisterDeviceNotificationA(HANDLE recipient, void* filter, DWORD flags) override
    {
        return ::RegisterDeviceNotificationA(recipient, filter, flags);
    }

    BOOL UnregisterDeviceNotification(HDEVNOTIFY notification) override
    {
        return ::UnregisterDeviceNotification(notification);
    }

private:
    decltype(&::HidD_GetHidGuid) getHidGuid;
    decltype(&::HidD_GetAttributes) getAttributes;
    decltype(&::SetupDiGetClassDevsA) getClassDevs;
    decltype(&::SetupDiEnumDeviceInterfaces) enumInterfaces;
    decltype(&::SetupDiGetDeviceInterfaceDetailA) getInterfaceDetail;
    decltype(&::SetupDiDestroyDeviceInfoList) destroyList;
};

}  // namespace

DeviceApi& windowsDeviceApi()
{
    static WindowsDeviceApi api;
    return api;
}
