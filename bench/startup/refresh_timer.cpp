// The main window built in this process as the program builds it, then the
// cost of refreshFromModel, the refresh that follows every Open and New.
// Usage: refresh_timer [refreshes, default 200]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "model/key_table.h"
#include "ui/editor/editor_panel.h"
#include "ui/main_window/main_window_class.h"
#include "ui/main_window/main_window_proc.h"

namespace {

double millisecondsBetween(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void printSpread(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s, %zu times: min %.3f ms, median %.3f ms, max %.3f ms\n", what, times.size(), times.front(),
                times[times.size() / 2], times.back());
}

// Every slot gets another key on each call, so every list really changes.
void assignKeys(int round)
{
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
        keyTable.setSlotKey(slot, static_cast<uint16_t>((slot + round) % KEY_CODE_COUNT));
    keyTable.pulseEnabled = round % 2;
    keyTable.cycleSteps = 1 + round % 120;
}

}  // namespace

int main(int argc, char** argv)
{
    const int refreshes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    InitCommonControls();
    registerMainWindowClass(instance, mainWindowProc, MAIN_WINDOW_CLASS_NAME);

    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const HWND window = createMainWindow(instance, MAIN_WINDOW_CLASS_NAME);
    ShowWindow(window, SW_SHOW);
    QueryPerformanceCounter(&end);
    if (window == nullptr) {
        std::fprintf(stderr, "the main window could not be created\n");
        return 1;
    }
    std::printf("main window created and shown: %.1f ms\n", millisecondsBetween(start, end));

    std::vector<double> times;
    for (int round = 0; round < refreshes; ++round) {
        assignKeys(round);
        QueryPerformanceCounter(&start);
        refreshFromModel();
        QueryPerformanceCounter(&end);
        times.push_back(millisecondsBetween(start, end));
    }
    printSpread("refreshFromModel", times);
    DestroyWindow(window);
    return 0;
}
