#include "device/device_link.h"

#include <algorithm>
#include <vector>

namespace {

// Steps through one enumerated interface: fetches its path, opens it for
// queries only and reads its IDs. Returns true when it is the handle, with
// its path in handlePath. An interface that fails a step is not the handle;
// it says nothing about the handle found elsewhere in the list.
bool examineInterface(DeviceApi& api, HDEVINFO list, SP_DEVICE_INTERFACE_DATA& interfaceData, std::string& handlePath)
{
    DWORD requiredSize = 0;
    if (!api.SetupDiGetDeviceInterfaceDetailA(list, &interfaceData, nullptr, 0, &requiredSize, nullptr) &&
        api.GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    // cbSize is the size of the record type, not of the allocation; never
    // allocate less than that one field and its first character.
    std::vector<char> storage(std::max<size_t>(requiredSize, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!api.SetupDiGetDeviceInterfaceDetailA(list, &interfaceData, detail, static_cast<DWORD>(storage.size()), nullptr,
                                              nullptr))
        return false;

    const HANDLE query =
        api.CreateFileA(detail->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (query == INVALID_HANDLE_VALUE)
        return false;
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    const bool identified = api.HidD_GetAttributes(query, &attributes);
    api.CloseHandle(query);
    if (!identified || attributes.VendorID != HANDLE_VENDOR_ID || attributes.ProductID != HANDLE_PRODUCT_ID)
        return false;
    handlePath = detail->DevicePath;
    return true;
}

}  // namespace

DeviceLink::~DeviceLink()
{
    stopReading(*this);
}

bool connect(DeviceLink& link)
{
    DeviceApi& api = link.api;
    link.connected = false;
    bool found = false;

    GUID hidClass;
    api.HidD_GetHidGuid(&hidClass);
    const HDEVINFO list = api.SetupDiGetClassDevsA(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    // Without a list there is nothing to enumerate, and nothing to destroy.
    if (list != INVALID_HANDLE_VALUE) {
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        std::string handlePath;
        for (DWORD index = 0;
             !found && api.SetupDiEnumDeviceInterfaces(list, nullptr, &hidClass, index, &interfaceData); ++index)
            found = examineInterface(api, list, interfaceData, handlePath);
        if (found) {
            // The old path, swapped into handlePath, is freed after the lock
            // is released; a reader that opened it opens the new one next.
            std::lock_guard<std::mutex> hold(link.pathLock);
            if (link.devicePath != handlePath)
                ++link.pathGeneration;
            link.devicePath.swap(handlePath);
            link.connected = true;
        }
        api.SetupDiDestroyDeviceInfoList(list);
    }
    return link.connected;
}
