// Runs discovery from a folder that also holds bogus hid.dll and
// setupapi.dll. With "--default-search" it loads both the ordinary way
// instead, which shows that the plant lies where the loader looks.
// Exit code: bit 0 set when hid.dll is not loaded from the system directory,
// bit 1 the same for setupapi.dll.
#include <windows.h>

#include <cstring>
#include <string>

#include "device/device_link.h"

namespace {

bool loadedFromSystemDirectory(const char* name)
{
    const HMODULE module = GetModuleHandleA(name);
    char modulePath[MAX_PATH];
    char systemDirectory[MAX_PATH];
    if (module == nullptr || GetModuleFileNameA(module, modulePath, MAX_PATH) == 0 ||
        GetSystemDirectoryA(systemDirectory, MAX_PATH) == 0)
        return false;
    return lstrcmpiA(modulePath, (std::string(systemDirectory) + "\\" + name).c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--default-search") == 0) {
        LoadLibraryA("hid.dll");
        LoadLibraryA("setupapi.dll");
    } else {
        connect(deviceLink());
    }
    return (loadedFromSystemDirectory("hid.dll") ? 0 : 1) | (loadedFromSystemDirectory("setupapi.dll") ? 0 : 2);
}
