#include "ui/shell/single_instance.h"

#include <windows.h>

#include "ui/main_window/full_path.h"
#include "ui/main_window/main_window_class.h"
#include "ui/main_window/title_text.h"
#include "ui/shell/hand_over.h"

namespace {

// One name per session for the product and its test build alike.
constexpr char INSTANCE_MUTEX_NAME[] = "Local\\CorvantaKeyPressEmulator.Instance";
constexpr ULONGLONG HAND_OVER_TIMEOUT_MS = 5000;
constexpr DWORD FIND_RETRY_MS = 50;

// Windows lets only the foreground process give the foreground away: this
// start, which the user just made, lets the running instance take it.
bool sendHandOver(HWND running, const std::string& documentPath, DWORD timeoutMs)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    AllowSetForegroundWindow(processId);
    COPYDATASTRUCT data{};
    data.dwData = HAND_OVER_TAG;
    data.cbData = static_cast<DWORD>(documentPath.size() + 1);
    data.lpData = const_cast<char*>(documentPath.c_str());
    DWORD_PTR accepted = FALSE;
    return SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeoutMs,
                               &accepted) != 0 &&
           accepted == TRUE;
}

}  // namespace

// A name that exists but cannot be opened (another user's, say) is taken too.
bool claimSingleInstance()
{
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, INSTANCE_MUTEX_NAME);
    if (mutex == nullptr)
        return GetLastError() != ERROR_ACCESS_DENIED;
    return GetLastError() != ERROR_ALREADY_EXISTS;
}

// The running instance has its own current folder: a relative path is made
// full here, where it was meant. One that cannot be made full only brings
// the window forward.
int handOverToRunningInstance(const std::string& documentPath)
{
    const std::string fullPath = documentPath.empty() ? "" : fullPathOf(documentPath);
    if (fullPath.empty() && !documentPath.empty())
        MessageBoxA(nullptr, documentPath.c_str(), "File not found!", MB_OK);
    const ULONGLONG deadline = GetTickCount64() + HAND_OVER_TIMEOUT_MS;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        const HWND running = FindWindowA(MAIN_WINDOW_CLASS_NAME, nullptr);
        if (running != nullptr && sendHandOver(running, fullPath, static_cast<DWORD>(deadline - now)))
            return 0;
        Sleep(FIND_RETRY_MS);
    }
    MessageBoxA(nullptr, "Corvanta Key Press Emulator is already running.", BASE_TITLE, MB_OK | MB_ICONINFORMATION);
    return EXIT_ALREADY_RUNNING;
}
