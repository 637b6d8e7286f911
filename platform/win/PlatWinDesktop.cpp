// The desktop's size from SDL's display bounds; with no video available (no display,
// no driver) a safe default stands in.
#include <SDL.h>

#include "PlatWin.h"

bool PlatWinGetDesktopBounds(bool workArea, int *x, int *y, int *width, int *height)
{
    SDL_Rect bounds = {0, 0, 1280, 1024};
    bool real = false;
    // Video stays as it was found: a query made before the window exists must not leave
    // the subsystem running.
    bool wasRunning = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (wasRunning || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
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
        if (!wasRunning)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
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
