// Platform services on this desktop: the program clock, the message box, the desktop
// size, the per-user folders, the login name and the locale's country, over
// platform/win and platform/shell.
#include "EngMisc.h"

#include "EngDebug.h"
#include "EngMemory.h"
#include "EngProgram.h"
#include "EngWindow.h"
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

uint32_t EngMiscGetMilliseconds_PC()
{
    return PlatWinGetMilliseconds();
}

void EngMiscSleepMilliseconds_PC(uint32_t milliseconds)
{
    PlatWinSleep(milliseconds);
}

void EngMiscDiscardMessages_PC(double seconds)
{
    double end = EngMiscGetClock_PC() + seconds;
    PlatMessage message;
    while (EngMiscGetClock_PC() < end && PlatWinPeekMessage(&message, true))
    {
    }
}

bool EngMiscProcessOneMessage_PC()
{
    PlatMessage message;
    if (!PlatWinPeekMessage(&message, true))
        return true;
    if (message.message == PLAT_WM_QUIT)
        return false;
    PlatWinDispatchMessage(&message);
    return true;
}

int EngMiscMessageBox_PC(int type, const char *title, const char *text)
{
    // Over a live window: nothing queued may act after the box, and the box needs the
    // system cursor.
    EngWindow *window = eng_main_program ? eng_main_program->GetMainWindow() : nullptr;
    if (window && window->IsCreated())
    {
        EngMiscDiscardMessages_PC(2.0);
        for (int i = 0; i < 4; i++)
            PlatWinShowCursor(true);
    }
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
