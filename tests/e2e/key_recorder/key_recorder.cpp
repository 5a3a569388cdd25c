// A window that records every key message it receives, one line each:
// "<down|up> <virtual-key code> <message time in ms>", flushed at once.
// Usage: key_recorder <log file>
// stdin commands: "focus" brings the window to the foreground and answers
// "focused 1" (or 0 when it did not get there); "quit" or the end of stdin
// closes it. It prints "ready" once the window is shown and has the focus.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

namespace {

constexpr UINT WM_APP_FOCUS = WM_APP + 1;
constexpr char RECORDER_CLASS[] = "CorvantaKeyRecorder";

FILE* keyLog = nullptr;

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
        // Handled here, so F10 and Alt never open a system menu.
        return 0;
    }
    case WM_APP_FOCUS:
        takeForeground(window);
        std::cout << "focused " << hasForeground(window) << std::endl;
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
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
    takeForeground(window);
    std::cout << "ready" << std::endl;

    std::thread commands([window] {
        std::string line;
        while (std::getline(std::cin, line) && line.rfind("quit", 0) != 0)
            if (line.rfind("focus", 0) == 0)
                PostMessageA(window, WM_APP_FOCUS, 0, 0);
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
