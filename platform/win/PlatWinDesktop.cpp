// The desktop's size from SDL's display bounds; with no video available (no display,
// no driver) a safe default stands in.
#include <SDL.h>

#include <cstdlib>

#include "PlatWin.h"

static struct
{
    bool holding; // the desktop queries keep video up once started
} s_desktop = {false};

static void PlatWinDesktopRelease()
{
    if (s_desktop.holding)
        PlatWinReleaseVideo();
    s_desktop.holding = false;
}

bool PlatWinGetDesktopBounds(bool workArea, int *x, int *y, int *width, int *height)
{
    SDL_Rect bounds = {0, 0, 1280, 1024};
    bool real = false;
    // The settings ask several times before the window exists: connecting to the window
    // system once and staying connected until exit spares a reconnection each time.
    if (!s_desktop.holding && PlatWinAcquireVideo())
    {
        s_desktop.holding = true;
        atexit(PlatWinDesktopRelease);
    }
    if (s_desktop.holding)
    {
        SDL_Rect found;
        int result = workArea ? SDL_GetDisplayUsableBounds(0, &found) : -1;
        if (result != 0)
            result = SDL_GetDisplayBounds(0, &found);
        if (result == 0 && found.w > 0 && found.h > 0)
        {
            bounds = found;
            real = true;
        }
    }
    if (x)
        *x = bounds.x;
    if (y)
        *y = bounds.y;
    if (width)
        *width = bounds.w;
    if (height)
        *height = bounds.h;
    return real;
}
