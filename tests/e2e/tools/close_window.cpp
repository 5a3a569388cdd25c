// Posts WM_CLOSE to the top-level window of a class, as the caption's close
// button does, and waits for the window to go. Exit code 0 when it went,
// 1 when there was no such window, 2 when it still stands after the timeout.
// Usage: close_window <class name> [timeout ms, default 10000]
#include <windows.h>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: close_window <class name> [timeout ms]" << std::endl;
        return 3;
    }
    const DWORD timeout = argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 10000;
    const HWND window = FindWindowA(argv[1], nullptr);
    if (window == nullptr)
        return 1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    const ULONGLONG start = GetTickCount64();
    while (IsWindow(window)) {
        if (GetTickCount64() - start > timeout)
            return 2;
        Sleep(10);
    }
    return 0;
}
