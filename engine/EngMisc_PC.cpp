// Platform services on this desktop that need no window system: the program clock,
// sleeps, the per-user folders, the login name, the locale's country and the system's
// random source, over
// platform/clock and platform/shell.
#include "EngMisc.h"

#include "EngDebug.h"
#include "EngMemory.h"
#include "PlatClock.h"
#include "PlatShell.h"

enum
{
    // Folder buffers smaller than this are refused (without a report).
    MISC_FOLDER_BUFFER_MIN = 256,
};

static struct
{
    bool started;
    bool highResolution;
    uint64_t frequency;
    uint64_t startCount;
} s_clock = {false, false, 0, 0};

void EngMiscStartClock_PC()
{
    s_clock.frequency = PlatClockGetCounterFrequency();
    s_clock.highResolution = s_clock.frequency != 0;
    s_clock.startCount = PlatClockGetCounter();
    s_clock.started = true;
}

double EngMiscGetClock_PC()
{
    if (!s_clock.started)
        EngMiscStartClock_PC();
    if (s_clock.highResolution)
        return (double)(PlatClockGetCounter() - s_clock.startCount) / (double)s_clock.frequency;
    return PlatClockGetMilliseconds() / 1000.0;
}

uint32_t EngMiscGetMilliseconds_PC()
{
    return PlatClockGetMilliseconds();
}

void EngMiscSleepMilliseconds_PC(uint32_t milliseconds)
{
    PlatClockSleep(milliseconds);
}

// A folder from platform/shell: `locateFailure` when no home folder is known at all,
// `pathFailure` when the folder's path cannot be had (or does not fit).
static bool GetShellFolder(const char *function, bool (*getFolder)(char *, size_t), char *buffer, int size,
                           const char *locateFailure, const char *pathFailure)
{
    if (!buffer || size < MISC_FOLDER_BUFFER_MIN)
        return false;
    buffer[0] = 0;
    char home[4096];
    if (!PlatShellGetHomeFolder(home, sizeof(home)))
    {
        DebugError(function, "%s", locateFailure);
        return false;
    }
    if (!getFolder(buffer, (size_t)size))
    {
        DebugError(function, "%s", pathFailure);
        buffer[0] = 0;
        return false;
    }
    return true;
}

bool EngMiscGetDesktopDirectory_PC(char *buffer, int size)
{
    return GetShellFolder(ENG_FUNC, PlatShellGetDesktopFolder, buffer, size, "Could not get desktop directory",
                          "Could not get desktop path");
}

bool EngMiscGetUserApplicationDataDirectory_PC(char *buffer, int size)
{
    return GetShellFolder(ENG_FUNC, PlatShellGetDataFolder, buffer, size, "Could not get app data directory",
                          "Could not get app data path");
}

bool EngMiscGetDefaultUsersName_PC(char *buffer, int size)
{
    if (!buffer || size <= 0)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (!PlatShellGetUserName(buffer, (size_t)size))
    {
        buffer[0] = 0;
        DebugError(ENG_FUNC, "Could not get user name.");
        return false;
    }
    return true;
}

bool EngMiscGetUserCountryCode_PC(char *buffer, int size)
{
    if (!buffer || size <= 0)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (!PlatShellGetUserCountry(buffer, (size_t)size))
    {
        buffer[0] = 0;
        return false;
    }
    return true;
}

bool EngMiscIsDesktopPlatform()
{
    return true;
}

bool EngMiscIsLargeScreenDevice()
{
    return false;
}

const char *EngMiscGetPlatformName()
{
    return "Linux";
}

bool EngMiscIsConnectedToInternet()
{
    return true;
}

bool EngMiscGetSystemRandomBytes_PC(void *buffer, size_t size, const char **error)
{
    if (PlatShellGetRandomBytes(buffer, size))
        return true;
    if (error)
        *error = PlatShellGetErrorText();
    return false;
}
