#include "ui/shell/autostart.h"

#include "ui/main_window/command_ids.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/prompts.h"
#include "ui/shell/command_line.h"

namespace {

constexpr char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

std::string autostartCommand()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string("\"") + path + "\" " + MINIMIZED_SWITCH;
}

// RegGetValueA terminates what it reads and refuses a value that is no text.
bool startsWithWindows()
{
    char data[2 * MAX_PATH] = {};
    DWORD size = sizeof data;
    return RegGetValueA(HKEY_CURRENT_USER, RUN_KEY, AUTOSTART_VALUE_NAME, RRF_RT_REG_SZ, nullptr, data, &size) ==
               ERROR_SUCCESS &&
           autostartCommand() == data;
}

bool setStartWithWindows(bool start)
{
    HKEY run = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &run, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LSTATUS result;
    if (start) {
        const std::string command = autostartCommand();
        result = RegSetValueExA(run, AUTOSTART_VALUE_NAME, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>(command.size() + 1));
    } else {
        result = RegDeleteValueA(run, AUTOSTART_VALUE_NAME);
        if (result == ERROR_FILE_NOT_FOUND)
            result = ERROR_SUCCESS;
    }
    RegCloseKey(run);
    return result == ERROR_SUCCESS;
}

void checkStartWithWindowsItem()
{
    CheckMenuItem(mainMenu, CMD_START_WITH_WINDOWS, startsWithWindows() ? MF_CHECKED : MF_UNCHECKED);
}

void onStartWithWindowsCommand(HWND window)
{
    if (!setStartWithWindows(!startsWithWindows()))
        activePrompts().messageBox(window, "Could not change whether Corvanta Key Press Emulator starts with Windows.",
                                   "Start with Windows", MB_OK);
    checkStartWithWindowsItem();
}
