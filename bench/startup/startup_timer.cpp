// How long the program takes from its process start to its main window shown,
// over several runs, with one run before them to warm Wine and the caches.
// Usage: startup_timer <program.exe> [runs, default 10]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char MAIN_WINDOW_CLASS[] = "CorvantaKeyPressEmulatorClass";

double millisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Starts the program in its own folder, where its settings file lies, and
// returns the time until its window is visible; negative when it never was.
double timeOneStart(const std::string& program, const std::string& folder)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return -1;
    double elapsed = -1;
    for (;;) {
        const HWND window = FindWindowA(MAIN_WINDOW_CLASS, nullptr);
        if (window != nullptr && IsWindowVisible(window)) {
            elapsed = millisecondsSince(start);
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 || millisecondsSince(start) > 30000)
            break;
        Sleep(1);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: startup_timer <program.exe> [runs]\n");
        return 2;
    }
    if (FindWindowA(MAIN_WINDOW_CLASS, nullptr) != nullptr) {
        std::fprintf(stderr, "close the running emulator first: its window would be found instead\n");
        return 2;
    }
    char fullPath[MAX_PATH] = {};
    GetFullPathNameA(argv[1], sizeof fullPath, fullPath, nullptr);
    const std::string program = fullPath;
    const std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
    const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 10;

    timeOneStart(program, folder);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double elapsed = timeOneStart(program, folder);
        if (elapsed < 0) {
            std::fprintf(stderr, "run %d: the window never showed\n", run + 1);
            return 1;
        }
        std::printf("run %2d: %7.1f ms\n", run + 1, elapsed);
        times.push_back(elapsed);
    }
    std::sort(times.begin(), times.end());
    std::printf("process start to window shown, %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n", runs,
                times.front(), times[times.size() / 2], times.back());
    return 0;
}
