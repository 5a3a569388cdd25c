#pragma once
#include <windows.h>

#include <cstdint>

// How long before the time asked a sleep ends, leaving the rest to the spin.
// A high-resolution timer wakes within tens of microseconds of its due time;
// a plain timer, even at 1 ms system timer resolution, fires on the next clock
// tick after it, up to a millisecond late.
constexpr int64_t HIGH_RESOLUTION_SPIN_US = 500;
constexpr int64_t TICK_TIMER_SPIN_US = 1000;

// The sleeps of the output loop's waits. beginCycleSleeps takes a
// high-resolution waitable timer (Windows 10 1803 and later); where there is
// none, a plain waitable timer with the system timer resolution raised to
// 1 ms; where that cannot be raised, no timer. endCycleSleeps gives back
// whatever begin took.
struct CycleSleeper {
    HANDLE timer = nullptr;
    int64_t spinUs = 0;
    HMODULE timeLibrary = nullptr;  // winmm, held while the resolution is raised
};

void beginCycleSleeps(CycleSleeper& sleeper);
// Sleeps until spinUs before the given microseconds are over; returns at once
// when they are not more than that, or when no timer is held.
void sleepBefore(CycleSleeper& sleeper, int64_t microseconds);
void endCycleSleeps(CycleSleeper& sleeper);
