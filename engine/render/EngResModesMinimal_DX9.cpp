// A minimal stand-in for the graphics back end's display-mode listing: the modes of
// the first display as the window system reports them (24-bit colour counts as depth
// 32), each offering anti-aliasing off only.
#include <cstdlib>

#include "EngDebug.h"
#include "EngMisc.h"
#include "EngResModes.h"
#include "PlatWin.h"

bool EngResModes::GetModesAvailable_DX9()
{
    int32_t count = PlatWinGetDisplayModeCount();
    if (count < 1)
    {
        DebugError(ENG_FUNC, "No display modes: %s", PlatWinGetErrorText());
        return false;
    }
    if (!AllocModesList(count))
        return false;
    int32_t listed = 0;
    for (int32_t i = 0; i < count; i++)
    {
        PlatDisplayMode mode;
        if (!PlatWinGetDisplayMode(i, &mode))
            continue;
        // Refresh rates are not kept: one entry per size and depth.
        bool known = false;
        for (int32_t j = 0; j < listed && !known; j++)
            known = modes[j].width == mode.width && modes[j].height == mode.height && modes[j].depth == mode.depth;
        if (known)
            continue;
        _EngResMode &entry = modes[listed++];
        entry.width = mode.width;
        entry.height = mode.height;
        entry.depth = mode.depth;
        entry.numAntiAliasing = 1;
    }
    numModes = listed;
    PlatDisplayMode desktop;
    if (PlatWinGetDesktopDisplayMode(&desktop))
    {
        windowedMode->width = desktop.width;
        windowedMode->height = desktop.height;
        windowedMode->depth = desktop.depth;
        windowedMode->numAntiAliasing = 1;
    }
    return true;
}

bool EngResModes::GetClosestFullScreenModeToMode_DX9(int32_t *width, int32_t *height, int32_t *depth)
{
    if (!width || !height || !depth)
    {
        DebugError(ENG_FUNC, "Invalid Parameters");
        return false;
    }
    if (!modes)
    {
        DebugError(ENG_FUNC, "Modes not setup");
        return false;
    }
    if (numModes < 1)
    {
        DebugError(ENG_FUNC, "Could not get closest mode");
        return false;
    }
    int32_t best = 0;
    int64_t bestScore = INT64_MAX;
    for (int32_t i = 0; i < numModes; i++)
    {
        int64_t score = (int64_t)abs(modes[i].depth - *depth) * 10000 + abs(modes[i].width - *width) +
                        abs(modes[i].height - *height);
        if (score < bestScore)
        {
            bestScore = score;
            best = i;
        }
    }
    *width = modes[best].width;
    *height = modes[best].height;
    *depth = modes[best].depth;
    return true;
}

bool EngResModes::GetWindowedModeDetails_DX9(int32_t *width, int32_t *height, int32_t *depth)
{
    if (!windowedMode)
    {
        DebugError(ENG_FUNC, "Modes not setup");
        return false;
    }
    if (depth)
        *depth = windowedMode->depth;
    if (width)
        *width = windowedMode->width;
    if (height)
        *height = windowedMode->height;
    return true;
}

void EngResModes::ReleaseD3D_DX9()
{
}
