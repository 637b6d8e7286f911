// The desktop's size over platform/win, for the display modes and the start-up
// settings.
#include "EngMisc.h"

#include "EngDebug.h"
#include "PlatWin.h"

bool EngMiscGetDesktopDimensions(int *x, int *y, int *width, int *height, bool workArea, bool currentScreen)
{
    return EngMiscGetDesktopDimensions_PC(x, y, width, height, workArea, currentScreen);
}

bool EngMiscGetDesktopDimensions_PC(int *x, int *y, int *width, int *height, bool workArea, bool currentScreen)
{
    if (!currentScreen)
        DebugNote(DEBUG_NOTE_STANDARD, "Warning: Not using the current screen is not supported on PCs.");
    PlatWinGetDesktopBounds(workArea, x, y, width, height);
    return true;
}
