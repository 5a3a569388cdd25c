// A window that records every key message it receives, one line each:
// "<down|up> <virtual-key code> <message time in ms>", flushed at once, and
// "focus 0 <time>" / "unfocus 0 <time>" when it gains or loses the focus,
// "focused <1|0> <time>" when it answers the focus command and "closing 0
// <time>" as it closes. What games see, in hex: "<scan|raw|dik><down|up> <code>
// <time>" (E0xx: extended) and "mouse <message | XBUTTON << 16> <time>".
// Usage: key_recorder <log file>
// stdin commands:
//   "foreground"  answers "foreground <class name of the foreground window>"
//   "focus"       brings the window to the foreground and answers "focused 1"
//                 once it has kept it for FOCUS_HOLD_MS, "focused 0" when it
//                 could not within FOCUS_TIMEOUT_MS
//   "quit"        closes it, as does the end of stdin.
// It prints "ready" once the window is shown.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

namespace {

constexpr UINT WM_APP_FOCUS = WM_APP + 1;
constexpr UINT WM_APP_FOREGROUND = WM_APP + 2;
constexpr char RECORDER_CLASS[] = "CorvantaKeyRecorder";
constexpr UINT_PTR FOCUS_TIMER_ID = 1;
constexpr UINT FOCUS_CHECK_MS = 50;
// Under Wine without a window manager, a window that was activated a moment
// ago can take the foreground back when its process catches up with the X
// server's focus events; the foreground only counts once it has held.
constexpr ULONGLONG FOCUS_HOLD_MS = 300;
constexpr ULONGLONG FOCUS_TIMEOUT_MS = 5000;

FILE* keyLog = nullptr;
ULONGLONG focusAskedAt = 0;
ULONGLONG focusHeldSince = 0;
IDirectInputDevice8A* directInputKeyboard = nullptr;

void logCode(const char* kind, unsigned code)
{
    std::fprintf(keyLog, "%s %x %ld\n", kind, code, GetMessageTime());
    std::fflush(keyLog);
}

void CALLBACK readDirectInputKeyboard(HWND, UINT, UINT_PTR, DWORD)
{
    DIDEVICEOBJECTDATA data;
    DWORD count = 1;
    while (SUCCEEDED(directInputKeyboard->GetDeviceData(sizeof data, &data, &count, 0)) && count == 1)
        logCode(data.dwData & 0x80 ? "dikdown" : "dikup", data.dwOfs);
}

// Raw input, and a DirectInput keyboard as games open it: in the background,
// shared with others, buffered, read every 10 ms.
bool openGameInputs(HWND window)
{
    const RAWINPUTDEVICE rawKeyboard{1, 6, RIDEV_INPUTSINK, window};
    IDirectInput8A* input = nullptr;
    DIPROPDWORD bufferSize{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 256};
    return RegisterRawInputDevices(&rawKeyboard, 1, sizeof rawKeyboard) &&
           SUCCEEDED(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                        reinterpret_cast<void**>(&input), nullptr)) &&
           SUCCEEDED(input->CreateDevice(GUID_SysKeyboard, &directInputKeyboard, nullptr)) &&
           SUCCEEDED(directInputKeyboard->SetDataFormat(&c_dfDIKeyboard)) &&
           SUCCEEDED(directInputKeyboard->SetCooperativeLevel(window, DISCL_BACKGROUND | DISCL_NONEXCLUSIVE)) &&
           SUCCEEDED(directInputKeyboard->SetProperty(DIPROP_BUFFERSIZE, &bufferSize.diph)) &&
           SUCCEEDED(directInputKeyboard->Acquire()) && SetTimer(window, 2, 10, readDirectInputKeyboard);
}

void takeForeground(HWND window)
{
    SetForegroundWindow(window);
    SetFocus(window);
}

bool hasForeground(HWND window)
{
    return GetForegroundWindow() == window && GetFocus() == window;
}

LRESULT CALLBACK recorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        std::fprintf(keyLog, "%s %u %ld\n", down ? "down" : "up", static_cast<unsigned>(wParam), GetMessageTime());
        std::fflush(keyLog);
        logCode(down ? "scandown" : "scanup", (lParam >> 16 & 0xFF) | (lParam & 1 << 24 ? 0xE000 : 0));
        // Handled here, so F10 and Alt never open a system menu.
        return 0;
    }
    // Keys sent while another window has the focus never arrive here; the
    // log says when that was.
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        std::fprintf(keyLog, "%s 0 %ld\n", message == WM_SETFOCUS ? "focus" : "unfocus", GetMessageTime());
        std::fflush(keyLog);
        return 0;
    case WM_INPUT: {
        RAWINPUT input{};  // a failed read leaves it a mouse's
        UINT size = sizeof input;
        GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size, sizeof input.header);
        const RAWKEYBOARD& key = input.data.keyboard;
        if (input.header.dwType == RIM_TYPEKEYBOARD)
            logCode(key.Flags & RI_KEY_BREAK ? "rawup" : "rawdown",
                    key.MakeCode | (key.Flags & RI_KEY_E0 ? 0xE000 : 0));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_APP_FOCUS:
        focusAskedAt = focusHeldSince = GetTickCount64();
        takeForeground(window);
        SetTimer(window, FOCUS_TIMER_ID, FOCUS_CHECK_MS, nullptr);
        return 0;
    case WM_TIMER: {
        const ULONGLONG now = GetTickCount64();
        if (!hasForeground(window)) {
            takeForeground(window);
            focusHeldSince = now;
        }
        const bool held = hasForeground(window) && now - focusHeldSince >= FOCUS_HOLD_MS;
        if (held || now - focusAskedAt >= FOCUS_TIMEOUT_MS) {
            KillTimer(window, FOCUS_TIMER_ID);
            std::fprintf(keyLog, "focused %d %llu\n", held ? 1 : 0, now);
            std::fflush(keyLog);
            std::cout << "focused " << held << std::endl;
        }
        return 0;
    }
    case WM_APP_FOREGROUND: {
        char name[256] = {};
        GetClassNameA(GetForegroundWindow(), name, sizeof name);
        std::cout << "foreground " << name << std::endl;
        return 0;
    }
    case WM_CLOSE: {
        // A posted message overtakes queued input: the keys that reached the
        // queue before the close are logged first.
        MSG key;
        while (PeekMessageA(&key, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
            DispatchMessageA(&key);
        // The focus leaves with the window; that loss is no test's concern.
        std::fprintf(keyLog, "closing 0 %ld\n", GetMessageTime());
        std::fflush(keyLog);
        DestroyWindow(window);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        if (message < WM_LBUTTONDOWN || message > WM_XBUTTONUP || message == WM_MOUSEWHEEL)
            return DefWindowProcA(window, message, wParam, lParam);
        logCode("mouse", message | HIWORD(wParam) << 16);
        return TRUE;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: key_recorder <log file>" << std::endl;
        return 2;
    }
    keyLog = std::fopen(argv[1], "w");
    if (keyLog == nullptr) {
        std::cerr << "cannot write " << argv[1] << std::endl;
        return 2;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recorderProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = RECORDER_CLASS;
    RegisterClassA(&windowClass);
    // Beside the emulator's window, so screenshots of either stay clean.
    const HWND window = CreateWindowExA(0, RECORDER_CLASS, "Key Recorder", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 20,
                                        300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetCursorPos(850, 120);  // mouse button records click where the cursor is
    takeForeground(window);
    std::cout << (openGameInputs(window) ? "ready" : "no raw input or DirectInput keyboard") << std::endl;

    std::thread commands([window] {
        std::string line;
        while (std::getline(std::cin, line) && line != "quit")
            if (line == "focus")
                PostMessageA(window, WM_APP_FOCUS, 0, 0);
            else if (line == "foreground")
                PostMessageA(window, WM_APP_FOREGROUND, 0, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    commands.join();
    std::fclose(keyLog);
    return 0;
}
