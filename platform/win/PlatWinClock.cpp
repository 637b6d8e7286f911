// The clock and sleeps over the POSIX monotonic clock.
#include <time.h>

#include "PlatWin.h"

uint64_t PlatWinGetCounter()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint64_t)now.tv_sec * 1000000000ull + (uint64_t)now.tv_nsec;
}

uint64_t PlatWinGetCounterFrequency()
{
    return 1000000000ull;
}

uint32_t PlatWinGetMilliseconds()
{
    return (uint32_t)(PlatWinGetCounter() / 1000000ull);
}

void PlatWinSleep(uint32_t milliseconds)
{
    timespec wait = {(time_t)(milliseconds / 1000), (long)(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0)
    {
    }
}
