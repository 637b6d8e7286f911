// The clock and sleeps over the POSIX monotonic clock.
#include <time.h>

#include "PlatClock.h"

uint64_t PlatClockGetCounter()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint64_t)now.tv_sec * 1000000000ull + (uint64_t)now.tv_nsec;
}

uint64_t PlatClockGetCounterFrequency()
{
    return 1000000000ull;
}

uint32_t PlatClockGetMilliseconds()
{
    return (uint32_t)(PlatClockGetCounter() / 1000000ull);
}

void PlatClockSleep(uint32_t milliseconds)
{
    timespec wait = {(time_t)(milliseconds / 1000), (long)(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0)
    {
    }
}
