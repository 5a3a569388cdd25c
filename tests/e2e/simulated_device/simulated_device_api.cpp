#include "simulated_device_api.h"

#include <cstddef>
#include <cstring>

#include "device/device_link.h"
#include "simulated_handle.h"

namespace {

// The last error of a call this API answered itself; a call passed through
// leaves the system's.
thread_local bool answeredHere = false;
thread_local DWORD answeredError = 0;

void answer(DWORD error)
{
    answeredHere = true;
    answeredError = error;
}

bool simulatorServes()
{
    const HANDLE present = OpenEventA(SYNCHRONIZE, FALSE, SIMULATED_HANDLE_PRESENT_EVENT);
    if (present == nullptr)
        return false;
    const bool plugged = ::WaitForSingleObject(present, 0) == WAIT_OBJECT_0;
    ::CloseHandle(present);
    return plugged;
}

bool isSimulatedPath(const char* path)
{
    return path != nullptr && std::strcmp(path, SIMULATED_HANDLE_PATH) == 0;
}

// Tells the simulator about a read. The handle was opened for overlapped
// I/O, so the write needs its own record and event.
void tell(HANDLE pipe, uint8_t news)
{
    OVERLAPPED write{};
    write.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD written = 0;
    if (::WriteFile(pipe, &news, 1, nullptr, &write) || ::GetLastError() == ERROR_IO_PENDING)
        ::GetOverlappedResult(pipe, &write, &written, TRUE);
    ::CloseHandle(write.hEvent);
}

}  // namespace

void SimulatedDeviceApi::HidD_GetHidGuid(GUID* hidGuid)
{
    answeredHere = false;
    system.HidD_GetHidGuid(hidGuid);
}

BOOLEAN SimulatedDeviceApi::HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes)
{
    answeredHere = false;
    if (!isQueryHandle(device))
        return system.HidD_GetAttributes(device, attributes);
    attributes->VendorID = HANDLE_VENDOR_ID;
    attributes->ProductID = HANDLE_PRODUCT_ID;
    attributes->VersionNumber = 0x0100;
    answer(ERROR_SUCCESS);
    return TRUE;
}

// Like the system's list, a snapshot: the simulated handle is in it when the
// simulator serves it as the list is made.
HDEVINFO SimulatedDeviceApi::SetupDiGetClassDevsA(const GUID* classGuid, const char* enumerator, HWND parent,
                                                  DWORD flags)
{
    answeredHere = false;
    const HDEVINFO list = system.SetupDiGetClassDevsA(classGuid, enumerator, parent, flags);
    listingList = nullptr;
    if (list == INVALID_HANDLE_VALUE || !simulatorServes())
        return list;
    SP_DEVICE_INTERFACE_DATA scratch{};
    scratch.cbSize = sizeof scratch;
    simulatedIndex = 0;
    while (system.SetupDiEnumDeviceInterfaces(list, nullptr, classGuid, simulatedIndex, &scratch))
        ++simulatedIndex;
    listingList = list;
    return list;
}

BOOL SimulatedDeviceApi::SetupDiEnumDeviceInterfaces(HDEVINFO list, SP_DEVINFO_DATA* deviceInfo, const GUID* classGuid,
                                                     DWORD index, SP_DEVICE_INTERFACE_DATA* interfaceData)
{
    answeredHere = false;
    if (list != listingList || index != simulatedIndex)
        return system.SetupDiEnumDeviceInterfaces(list, deviceInfo, classGuid, index, interfaceData);
    interfaceData->InterfaceClassGuid = *classGuid;
    interfaceData->Flags = SPINT_ACTIVE;
    interfaceData->Reserved = interfaceMark();
    answer(ERROR_SUCCESS);
    return TRUE;
}

BOOL SimulatedDeviceApi::SetupDiGetDeviceInterfaceDetailA(HDEVINFO list, SP_DEVICE_INTERFACE_DATA* interfaceData,
                                                          SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                                                          DWORD* requiredSize, SP_DEVINFO_DATA* deviceInfo)
{
    answeredHere = false;
    if (list != listingList || interfaceData->Reserved != interfaceMark())
        return system.SetupDiGetDeviceInterfaceDetailA(list, interfaceData, detail, detailSize, requiredSize,
                                                       deviceInfo);
    const DWORD needed =
        static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + sizeof SIMULATED_HANDLE_PATH);
    if (requiredSize != nullptr)
        *requiredSize = needed;
    if (detail == nullptr || detailSize < needed) {
        answer(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(detail->DevicePath, SIMULATED_HANDLE_PATH, sizeof SIMULATED_HANDLE_PATH);
    answer(ERROR_SUCCESS);
    return TRUE;
}

BOOL SimulatedDeviceApi::SetupDiDestroyDeviceInfoList(HDEVINFO list)
{
    answeredHere = false;
    if (list == listingList)
        listingList = nullptr;
    return system.SetupDiDestroyDeviceInfoList(list);
}

// A query open reads nothing, so it takes no connection from the simulator:
// it gets a handle of its own that reads nothing either, an unnamed event.
// A read open connects to the pipe, with write access for the answer.
HANDLE SimulatedDeviceApi::CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                                       DWORD disposition, DWORD flags, HANDLE templateFile)
{
    answeredHere = false;
    if (!isSimulatedPath(path))
        return system.CreateFileA(path, access, shareMode, security, disposition, flags, templateFile);
    if (access == 0) {
        if (!simulatorServes()) {
            answer(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        const HANDLE query = system.CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::lock_guard<std::mutex> hold(handlesLock);
        queryHandles.insert(query);
        return query;
    }
    const HANDLE pipe =
        system.CreateFileA(path, access | GENERIC_WRITE, shareMode, security, disposition, flags, templateFile);
    if (pipe == INVALID_HANDLE_VALUE)
        return pipe;
    // One read, one report, even were two ever queued.
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
    std::lock_guard<std::mutex> hold(handlesLock);
    pipeHandles.insert(pipe);
    return pipe;
}

BOOL SimulatedDeviceApi::ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* bytesRead, OVERLAPPED* overlapped)
{
    answeredHere = false;
    if (system.ReadFile(file, buffer, size, bytesRead, overlapped))
        return TRUE;
    const DWORD error = system.GetLastError();
    if (error == ERROR_IO_PENDING && isPipeHandle(file)) {
        {
            std::lock_guard<std::mutex> hold(handlesLock);
            pipeOfEvent[overlapped->hEvent] = file;
        }
        tell(file, READ_WAITING);
    }
    answer(error);
    return FALSE;
}

// A report counts as taken once its read's result reaches the reader.
BOOL SimulatedDeviceApi::GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait)
{
    answeredHere = false;
    const BOOL done = system.GetOverlappedResult(file, overlapped, bytesTransferred, wait);
    if (done && *bytesTransferred > 0 && isPipeHandle(file))
        tell(file, REPORT_TAKEN);
    return done;
}

// A cancelled read is not taken, even when its report came.
BOOL SimulatedDeviceApi::CancelIoEx(HANDLE file, OVERLAPPED* overlapped)
{
    answeredHere = false;
    {
        std::lock_guard<std::mutex> hold(handlesLock);
        pipeHandles.erase(file);
    }
    return system.CancelIoEx(file, overlapped);
}

DWORD SimulatedDeviceApi::WaitForSingleObject(HANDLE object, DWORD milliseconds)
{
    answeredHere = false;
    const DWORD result = system.WaitForSingleObject(object, milliseconds);
    std::unique_lock<std::mutex> hold(handlesLock);
    const auto read = pipeOfEvent.find(object);
    if (result == WAIT_TIMEOUT && milliseconds > 0 && read != pipeOfEvent.end() && pipeHandles.count(read->second)) {
        const HANDLE pipe = read->second;
        hold.unlock();
        tell(pipe, READ_HELD);
    }
    return result;
}

HANDLE SimulatedDeviceApi::CreateEventA(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState,
                                        const char* name)
{
    answeredHere = false;
    return system.CreateEventA(security, manualReset, initialState, name);
}

BOOL SimulatedDeviceApi::CloseHandle(HANDLE object)
{
    answeredHere = false;
    {
        std::lock_guard<std::mutex> hold(handlesLock);
        queryHandles.erase(object);
        pipeHandles.erase(object);
        pipeOfEvent.erase(object);
    }
    return system.CloseHandle(object);
}

DWORD SimulatedDeviceApi::GetLastError()
{
    return answeredHere ? answeredError : system.GetLastError();
}

HDEVNOTIFY SimulatedDeviceApi::RegisterDeviceNotificationA(HANDLE recipient, void* filter, DWORD flags)
{
    answeredHere = false;
    return system.RegisterDeviceNotificationA(recipient, filter, flags);
}

BOOL SimulatedDeviceApi::UnregisterDeviceNotification(HDEVNOTIFY notification)
{
    answeredHere = false;
    return system.UnregisterDeviceNotification(notification);
}

bool SimulatedDeviceApi::isQueryHandle(HANDLE handle)
{
    std::lock_guard<std::mutex> hold(handlesLock);
    return queryHandles.count(handle) != 0;
}

bool SimulatedDeviceApi::isPipeHandle(HANDLE handle)
{
    std::lock_guard<std::mutex> hold(handlesLock);
    return pipeHandles.count(handle) != 0;
}
