// Platform services on this desktop: the program clock, the message box, the desktop
// size, the per-user folders and the login name, over platform/win and platform/shell.
#include "EngMisc.h"

#include "EngDebug.h"
#include "EngMemory.h"
#include "PlatShell.h"
#include "PlatWin.h"

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
    s_clock.frequency = PlatWinGetCounterFrequency();
    s_clock.highResolution = s_clock.frequency != 0;
    s_clock.startCount = PlatWinGetCounter();
    s_clock.started = true;
}

double EngMiscGetClock_PC()
{
    if (!s_clock.started)
        EngMiscStartClock_PC();
    if (s_clock.highResolution)
        return (double)(PlatWinGetCounter() - s_clock.startCount) / (double)s_clock.frequency;
    return PlatWinGetMilliseconds() / 1000.0;
}

void EngMiscDiscardMessages_PC(double seconds)
{
}

int EngMiscMessageBox_PC(int type, const char *title, const char *text)
{
    int icon = type == ENG_POPUP_ERROR ? PLAT_MB_ICON_ERROR
               : type == ENG_POPUP_WARNING ? PLAT_MB_ICON_WARNING
                                          : PLAT_MB_ICON_NONE;
    return PlatWinMessageBox(title, text, PLAT_MB_OK, icon);
}

bool EngMiscGetDesktopDimensions_PC(int *x, int *y, int *width, int *height, bool workArea, bool currentScreen)
{
    if (!currentScreen)
        DebugNote(DEBUG_NOTE_STANDARD, "Warning: Not using the current screen is not supported on PCs.");
    PlatWinGetDesktopBounds(workArea, x, y, width, height);
    return true;
}

bool EngMiscGetDesktopDirectory_PC(char *buffer, int size)
{
    if (!buffer || size < MISC_FOLDER_BUFFER_MIN)
        return false;
    buffer[0] = 0;
    char home[MISC_FOLDER_BUFFER_MIN];
    if (!PlatShellGetHomeFolder(home, sizeof(home)))
    {
        DebugError(ENG_FUNC, "Could not get desktop directory");
        return false;
    }
    if (!PlatShellGetDesktopFolder(buffer, (size_t)size))
    {
        DebugError(ENG_FUNC, "Could not get desktop path");
        buffer[0] = 0;
        return false;
    }
    return true;
}

bool EngMiscGetUserApplicationDataDirectory_PC(char *buffer, int size)
{
    if (!buffer || size < MISC_FOLDER_BUFFER_MIN)
        return false;
    buffer[0] = 0;
    char home[MISC_FOLDER_BUFFER_MIN];
    if (!PlatShellGetHomeFolder(home, sizeof(home)))
    {
        DebugError(ENG_FUNC, "Could not get app data directory");
        return false;
    }
    if (!PlatShellGetDataFolder(buffer, (size_t)size))
    {
        DebugError(ENG_FUNC, "Could not get app data path");
        buffer[0] = 0;
        return false;
    }
    return true;
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
