/* A stand-in for hid.dll and setupapi.dll, built under both names and put
   beside planted_discovery.exe. Being loaded at all is the fault it reports:
   it leaves "<its own path>.loaded" behind. Its functions find nothing. */
#include <windows.h>
#include <string.h>

static void leaveMarker(HINSTANCE self)
{
    char path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    strcpy(path + length, ".loaded");
    HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (marker != INVALID_HANDLE_VALUE)
        CloseHandle(marker);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        leaveMarker(self);
    return TRUE;
}

__declspec(dllexport) void WINAPI HidD_GetHidGuid(GUID* hidGuid)
{
    memset(hidGuid, 0, sizeof *hidGuid);
}

__declspec(dllexport) BOOLEAN WINAPI HidD_GetAttributes(HANDLE device, void* attributes)
{
    (void)device;
    (void)attributes;
    return FALSE;
}

__declspec(dllexport) HANDLE WINAPI SetupDiGetClassDevsA(const GUID* classGuid, const char* enumerator, HWND parent,
                                                         DWORD flags)
{
    (void)classGuid;
    (void)enumerator;
    (void)parent;
    (void)flags;
    return INVALID_HANDLE_VALUE;
}

__declspec(dllexport) BOOL WINAPI SetupDiEnumDeviceInterfaces(HANDLE list, void* deviceInfo, const GUID* classGuid,
                                                              DWORD index, void* interfaceData)
{
    (void)list;
    (void)deviceInfo;
    (void)classGuid;
    (void)index;
    (void)interfaceData;
    return FALSE;
}

__declspec(dllexport) BOOL WINAPI SetupDiGetDeviceInterfaceDetailA(HANDLE list, void* interfaceData, void* detail,
                                                                   DWORD detailSize, DWORD* requiredSize,
                                                                   void* deviceInfo)
{
    (void)list;
    (void)interfaceData;
    (void)detail;
    (void)detailSize;
    (void)requiredSize;
    (void)deviceInfo;
    return FALSE;
}

__declspec(dllexport) BOOL WINAPI SetupDiDestroyDeviceInfoList(HANDLE list)
{
    (void)list;
    return TRUE;
}
