#include "engine/windows_cycle_sleeper.h"

// Not yet in every mingw-w64 header.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

using TimePeriodCall = UINT(WINAPI*)(UINT period);

TimePeriodCall timePeriodCall(HMODULE library, const char* name)
{
    return reinterpret_cast<TimePeriodCall>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// winmm is not one of the system's known DLLs: like hid and setupapi it is
// loaded from the system directory only, so a winmm.dll planted beside the
// program is never run.
bool raiseTimerResolution(CycleSleeper& sleeper)
{
    sleeper.timeLibrary = LoadLibraryExA("winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (sleeper.timeLibrary == nullptr)
        return false;
    const TimePeriodCall begin = timePeriodCall(sleeper.timeLibrary, "timeBeginPeriod");
    if (begin == nullptr || begin(1) != 0) {
        FreeLibrary(sleeper.timeLibrary);
        sleeper.timeLibrary = nullptr;
        return false;
    }
    return true;
}

}  // namespace

void beginCycleSleeps(CycleSleeper& sleeper)
{
    sleeper.timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    sleeper.spinUs = HIGH_RESOLUTION_SPIN_US;
    // A plain timer fires on the system clock tick; at its default of about
    // 15.6 ms most sleeps would end after the cycle, so unless the tick can be
    // raised to 1 ms there is no timer and the loop spins through its waits.
    if (sleeper.timer != nullptr || !raiseTimerResolution(sleeper))
        return;
    sleeper.timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    sleeper.spinUs = TICK_TIMER_SPIN_US;
}

void sleepBefore(CycleSleeper& sleeper, int64_t microseconds)
{
    const int64_t sleepUs = microseconds - sleeper.spinUs;
    if (sleeper.timer == nullptr || sleepUs <= 0)
        return;
    LARGE_INTEGER due;
    due.QuadPart = -10 * sleepUs;  // negative: relative, in 100 ns units
    // The time-out only guards against a timer that never fires (stop waits
    // for this thread, and the user-interface thread with it); it lies far
    // beyond the timer because it runs on the coarse system clock tick.
    if (SetWaitableTimer(sleeper.timer, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(sleeper.timer, static_cast<DWORD>(sleepUs / 1000 + 100));
}

void endCycleSleeps(CycleSleeper& sleeper)
{
    if (sleeper.timer != nullptr)
        CloseHandle(sleeper.timer);
    if (sleeper.timeLibrary != nullptr) {
        const TimePeriodCall end = timePeriodCall(sleeper.timeLibrary, "timeEndPeriod");
        if (end != nullptr)
            end(1);
        FreeLibrary(sleeper.timeLibrary);
    }
    sleeper = CycleSleeper{};
}
