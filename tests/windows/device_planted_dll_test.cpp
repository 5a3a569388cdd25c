#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// planted_discovery.exe lies in a folder with bogus hid.dll and setupapi.dll
// that leave "<dll>.loaded" behind when loaded (see device/planted_dll.c).
std::string plantedFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\')) + "\\device\\planted";
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs the helper with the plant as its current directory too; returns its
// exit code.
DWORD runPlantedDiscovery(const std::string& arguments)
{
    const std::string folder = plantedFolder();
    DeleteFileA((folder + "\\hid.dll.loaded").c_str());
    DeleteFileA((folder + "\\setupapi.dll.loaded").c_str());
    std::string commandLine = "\"" + folder + "\\planted_discovery.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        ADD_FAILURE() << "planted_discovery.exe did not start, error " << GetLastError();
        return ~0u;
    }
    WaitForSingleObject(process.hProcess, 30000);
    DWORD exitCode = ~0u;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

// Wine prefers its own builtin setupapi.dll to one in the program's folder;
// this per-program setting makes it take whatever DLL the search reaches
// first, as Windows does. Windows never reads the key.
void preferPlantedDllsUnderWine()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\planted_discovery.exe\\DllOverrides", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    static const char nativeFirst[] = "native,builtin";
    for (const char* name : {"hid", "setupapi"})
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(nativeFirst), sizeof nativeFirst);
    RegCloseKey(key);
}

class PlantedDllTest : public ::testing::Test {
protected:
    void SetUp() override { preferPlantedDllsUnderWine(); }
};

TEST_F(PlantedDllTest, DiscoveryLoadsOnlyTheSystemsHidAndSetupapi)
{
    EXPECT_EQ(runPlantedDiscovery(""), 0u);

    EXPECT_FALSE(fileExists(plantedFolder() + "\\hid.dll.loaded"));
    EXPECT_FALSE(fileExists(plantedFolder() + "\\setupapi.dll.loaded"));
}

// Without this the test above could pass with a plant the loader never sees.
TEST_F(PlantedDllTest, TheOrdinarySearchOrderWouldTakeThePlant)
{
    EXPECT_EQ(runPlantedDiscovery("--default-search"), 3u);

    EXPECT_TRUE(fileExists(plantedFolder() + "\\hid.dll.loaded"));
    EXPECT_TRUE(fileExists(plantedFolder() + "\\setupapi.dll.loaded"));
}

}  // namespace
