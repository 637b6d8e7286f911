// Stand-in for the Windows clock services (performance counter, multimedia clock,
// sleeps) over the POSIX monotonic clock. Needs no window system: the engine core
// links it.
#pragma once
#include <cstdint>

// Monotonic counter and its ticks per second.
uint64_t PlatClockGetCounter();
uint64_t PlatClockGetCounterFrequency();
// Milliseconds since an arbitrary start, wrapping at 2^32 (the multimedia clock).
uint32_t PlatClockGetMilliseconds();
// Sleeps the calling thread.
void PlatClockSleep(uint32_t milliseconds);
