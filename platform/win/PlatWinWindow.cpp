// Video set-up, windows, the cursor and the display modes over SDL2 video.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PlatWinInternal.h"

enum
{
    MAX_WINDOWS = 8,
};

static struct
{
    bool tried;
    bool up;
    int32_t holders; // references on SDL video: the program's window connection, the
                     // desktop queries' and the graphics stand-in's
    char error[256];
    PlatWindow *windows[MAX_WINDOWS];
    int32_t cursorCount; // Windows display count: visible while >= 0
    SDL_Surface *icon;   // given to every new window; NULL for none
} s_video = {false, false, 0, "", {}, 0, nullptr};

void PlatWinSetError(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(s_video.error, sizeof(s_video.error), format, args);
    va_end(args);
}

const char *PlatWinGetErrorText()
{
    return s_video.error;
}

int PlatWinAcquireVideo()
{
    if (s_video.holders > 0)
    {
        s_video.holders++;
        return 1;
    }
    // The engine installs its own signal handlers, minimises a full-screen window itself
    // when it loses the focus, and decides itself when closing a window ends the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        PlatWinSetError("No display: %s", SDL_GetError());
        return 0;
    }
    // Without a display SDL falls back to drivers that draw nowhere; a player would see
    // nothing, so those count only when asked for by name (as the tests do).
    const char *driver = SDL_GetCurrentVideoDriver();
    const char *requested = SDL_getenv("SDL_VIDEODRIVER");
    bool headless = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (headless && !(requested && requested[0]))
    {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        PlatWinSetError("No display");
        return 0;
    }
    s_video.holders = 1;
    return 1;
}

void PlatWinReleaseVideo()
{
    if (s_video.holders <= 0)
        return;
    // The last holder gives the desktop its own display mode back after a full-screen
    // mode change.
    if (--s_video.holders == 0)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

static void PlatWinQuitVideo()
{
    if (s_video.up)
        PlatWinReleaseVideo();
    s_video.up = false;
    SDL_FreeSurface(s_video.icon);
    s_video.icon = nullptr;
}

int PlatWinInitVideo()
{
    if (s_video.tried)
        return s_video.up ? 1 : 0;
    s_video.tried = true;
    if (!PlatWinAcquireVideo())
        return 0;
    s_video.up = true;
    atexit(PlatWinQuitVideo);
    SDL_StartTextInput();
    SDL_ShowCursor(s_video.cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return 1;
}

bool PlatWinIsVideoUp()
{
    return s_video.up;
}

// ---- Windows ------------------------------------------------------------------------

PlatWindow *PlatWinFindWindow(uint32_t id)
{
    for (PlatWindow *window : s_video.windows)
        if (window && window->id == id && !window->closed)
            return window;
    return nullptr;
}

PlatWindow *PlatWinFirstWindow()
{
    for (PlatWindow *window : s_video.windows)
        if (window && !window->closed)
            return window;
    return nullptr;
}

// Up to this many pixels a window counts as small for the software rasteriser.
static const int64_t kSmallWindowPixels = 800 * 600;

static SDL_Window *PlatWinCreateSdlWindow(const char *title, int x, int y, int width, int height, Uint32 flags)
{
    SDL_Window *sdl = SDL_CreateWindow(title, x, y, width, height, flags | SDL_WINDOW_OPENGL);
    // A window system without GL (the dummy driver of the tests) still gets its window.
    if (!sdl)
        sdl = SDL_CreateWindow(title, x, y, width, height, flags);
    return sdl;
}

static void PlatWinApplyIcon(PlatWindow *window)
{
    if (!window || !s_video.icon)
        return;
    SDL_SetWindowIcon(window->sdl, s_video.icon);
    window->iconWidth = s_video.icon->w;
    window->iconHeight = s_video.icon->h;
}

PlatWindow *PlatWinCreateWindow(const PlatWindowParms *parms)
{
    if (!parms || parms->width < 1 || parms->height < 1)
    {
        PlatWinSetError("Bad window parameters");
        return nullptr;
    }
    if (!PlatWinInitVideo())
        return nullptr;
    int slot = -1;
    for (int i = 0; i < MAX_WINDOWS && slot < 0; i++)
        if (!s_video.windows[i])
            slot = i;
    if (slot < 0)
    {
        PlatWinSetError("Too many windows");
        return nullptr;
    }

    // The device draws straight into the window's surface when it can: colour without
    // alpha (destination alpha then reads as 1), depth and stencil, double buffering.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    Uint32 flags = SDL_WINDOW_SHOWN;
    int x = parms->x < 0 ? (int)SDL_WINDOWPOS_UNDEFINED : parms->x;
    int y = parms->y < 0 ? (int)SDL_WINDOWPOS_UNDEFINED : parms->y;
    if (parms->fullScreen)
    {
        // The desktop's own size needs no mode change; any other size switches the
        // display to the closest mode SDL knows.
        SDL_DisplayMode desktop;
        bool desktopSize = SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w == parms->width &&
                           desktop.h == parms->height;
        flags |= desktopSize ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_FULLSCREEN;
        x = y = (int)SDL_WINDOWPOS_UNDEFINED_DISPLAY(0);
    }
    else if (parms->resizable)
        flags |= SDL_WINDOW_RESIZABLE;

    // A software rasteriser (Mesa's llvmpipe) shares each frame out among threads; for a
    // small window handing the work over costs more than it saves (measured: a 640 x 480
    // menu took about half the processor time drawn on the calling thread). The driver
    // reads the choice once, when the first GL window is made; larger windows keep its
    // own, and so does a player who set it.
    if ((int64_t)parms->width * parms->height <= kSmallWindowPixels)
        setenv("LP_NUM_THREADS", "0", 0);

    char title[1024];
    PlatWinUtf8FromCp1252(parms->title ? parms->title : "", title, sizeof(title));
    SDL_Window *sdl = PlatWinCreateSdlWindow(title, x, y, parms->width, parms->height, flags);
    if (!sdl)
    {
        PlatWinSetError("Could not create the window: %s", SDL_GetError());
        return nullptr;
    }
    PlatWindow *window = (PlatWindow *)calloc(1, sizeof(PlatWindow));
    if (!window)
    {
        SDL_DestroyWindow(sdl);
        PlatWinSetError("Out of memory");
        return nullptr;
    }
    window->sdl = sdl;
    window->id = SDL_GetWindowID(sdl);
    window->proc = parms->proc;
    window->user = parms->user;
    s_video.windows[slot] = window;
    PlatWinApplyIcon(window);
    return window;
}

void PlatWinDestroyWindow(PlatWindow *window)
{
    if (!window)
        return;
    for (PlatWindow *&slot : s_video.windows)
        if (slot == window)
            slot = nullptr;
    PlatWinDropMessagesOf(window);
    SDL_DestroyWindow(window->sdl);
    // Events SDL still holds for the old window are dropped by the pump, which finds no
    // window with that id any more.
    free(window);
}

void *PlatWinGetNativeWindow(PlatWindow *window)
{
    return window ? window->sdl : nullptr;
}

uint32_t PlatWinGetWindowId(PlatWindow *window)
{
    return window ? window->id : 0;
}

void PlatWinGetClientSize(PlatWindow *window, int32_t *width, int32_t *height)
{
    int w = 0, h = 0;
    if (window)
        SDL_GetWindowSize(window->sdl, &w, &h);
    if (width)
        *width = w;
    if (height)
        *height = h;
}

void PlatWinGetClientRect(PlatWindow *window, int32_t *x, int32_t *y, int32_t *width, int32_t *height)
{
    int left = 0, top = 0;
    if (window)
        SDL_GetWindowPosition(window->sdl, &left, &top);
    if (x)
        *x = left;
    if (y)
        *y = top;
    PlatWinGetClientSize(window, width, height);
}

void PlatWinClientToScreen(PlatWindow *window, int32_t *x, int32_t *y)
{
    int left = 0, top = 0;
    if (window)
        SDL_GetWindowPosition(window->sdl, &left, &top);
    if (x)
        *x += left;
    if (y)
        *y += top;
}

bool PlatWinIsFullScreen(PlatWindow *window)
{
    return window && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool PlatWinIsMinimised(PlatWindow *window)
{
    return window && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED) != 0;
}

void PlatWinMinimiseWindow(PlatWindow *window)
{
    if (window)
        SDL_MinimizeWindow(window->sdl);
}

void PlatWinSetTitle(PlatWindow *window, const char *title)
{
    if (!window)
        return;
    char utf8[1024];
    PlatWinUtf8FromCp1252(title ? title : "", utf8, sizeof(utf8));
    SDL_SetWindowTitle(window->sdl, utf8);
}

bool PlatWinSetWindowIcon(PlatWindow *window, const uint8_t *rgba, int32_t width, int32_t height)
{
    if (!rgba)
    {
        SDL_FreeSurface(s_video.icon);
        s_video.icon = nullptr;
        return true;
    }
    if (width < 1 || height < 1 || width > 1024 || height > 1024)
    {
        PlatWinSetError("Bad icon size %dx%d", (int)width, (int)height);
        return false;
    }
    SDL_Surface *icon = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (!icon)
    {
        PlatWinSetError("Could not make the icon: %s", SDL_GetError());
        return false;
    }
    for (int32_t y = 0; y < height; y++)
        memcpy((uint8_t *)icon->pixels + (size_t)y * icon->pitch, rgba + (size_t)y * width * 4, (size_t)width * 4);
    SDL_FreeSurface(s_video.icon);
    s_video.icon = icon;
    PlatWinApplyIcon(window);
    return true;
}

bool PlatWinGetWindowIcon(PlatWindow *window, int32_t *width, int32_t *height)
{
    bool has = window && window->iconWidth > 0;
    if (width)
        *width = has ? window->iconWidth : 0;
    if (height)
        *height = has ? window->iconHeight : 0;
    return has;
}

// ---- Mouse and cursor ----------------------------------------------------------------

int32_t PlatWinShowCursor(bool show)
{
    s_video.cursorCount += show ? 1 : -1;
    if (s_video.up)
        SDL_ShowCursor(s_video.cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return s_video.cursorCount;
}

void PlatWinGetCursorPos(int32_t *x, int32_t *y)
{
    int globalX = 0, globalY = 0;
    if (s_video.up)
        SDL_GetGlobalMouseState(&globalX, &globalY);
    if (x)
        *x = globalX;
    if (y)
        *y = globalY;
}

void PlatWinSetCursorPos(int32_t x, int32_t y)
{
    if (s_video.up)
        SDL_WarpMouseGlobal(x, y);
}

bool PlatWinIsMouseButtonDown(int32_t virtualKey)
{
    if (!s_video.up)
        return false;
    Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
    switch (virtualKey)
    {
    case PLAT_VK_LBUTTON:
        return (buttons & SDL_BUTTON_LMASK) != 0;
    case PLAT_VK_RBUTTON:
        return (buttons & SDL_BUTTON_RMASK) != 0;
    case PLAT_VK_MBUTTON:
        return (buttons & SDL_BUTTON_MMASK) != 0;
    default:
        return false;
    }
}

void PlatWinTrackMouseLeave(PlatWindow *window)
{
    if (window)
        window->trackLeave = true;
}

int32_t PlatWinGetWheelScrollLines()
{
    return 3;
}

// ---- Display modes -------------------------------------------------------------------

static bool PlatWinModeFromSdl(const SDL_DisplayMode &sdl, PlatDisplayMode *mode)
{
    mode->width = sdl.w;
    mode->height = sdl.h;
    mode->refresh = sdl.refresh_rate;
    // 24-bit colour in a 32-bit pixel counts as 32, as the engine's modes do.
    int bits = SDL_BITSPERPIXEL(sdl.format);
    bool green6 = sdl.format == SDL_PIXELFORMAT_RGB565 || sdl.format == SDL_PIXELFORMAT_BGR565;
    mode->depth = bits >= 24 ? 32 : bits;
    mode->layout = bits >= 24                             ? PLAT_PIXELS_X8R8G8B8
                   : bits == 16 && green6                 ? PLAT_PIXELS_R5G6B5
                   : bits == 15 || bits == 16             ? PLAT_PIXELS_X1R5G5B5
                                                          : PLAT_PIXELS_OTHER;
    if (bits == 15)
        mode->depth = 16;
    return true;
}

// Each query holds video for its span; it costs nothing while the program or the
// graphics stand-in holds it.
int32_t PlatWinGetDisplayCount()
{
    if (!PlatWinAcquireVideo())
        return 0;
    int count = SDL_GetNumVideoDisplays();
    PlatWinReleaseVideo();
    return count > 0 ? count : 0;
}

bool PlatWinGetDisplayName(int32_t display, char *out, int32_t size)
{
    if (!out || size < 1 || !PlatWinAcquireVideo())
        return false;
    const char *name = SDL_GetDisplayName(display);
    if (name)
        snprintf(out, (size_t)size, "%s", name);
    PlatWinReleaseVideo();
    return name != nullptr;
}

int32_t PlatWinGetDisplayModeCount(int32_t display)
{
    if (!PlatWinAcquireVideo())
        return 0;
    int count = SDL_GetNumDisplayModes(display);
    PlatWinReleaseVideo();
    return count > 0 ? count : 0;
}

bool PlatWinGetDisplayMode(int32_t display, int32_t index, PlatDisplayMode *mode)
{
    if (!mode || !PlatWinAcquireVideo())
        return false;
    SDL_DisplayMode sdl;
    bool ok = SDL_GetDisplayMode(display, index, &sdl) == 0 && PlatWinModeFromSdl(sdl, mode);
    PlatWinReleaseVideo();
    return ok;
}

bool PlatWinGetDesktopDisplayMode(int32_t display, PlatDisplayMode *mode)
{
    if (!mode || !PlatWinAcquireVideo())
        return false;
    SDL_DisplayMode sdl;
    bool ok = SDL_GetDesktopDisplayMode(display, &sdl) == 0 && PlatWinModeFromSdl(sdl, mode);
    PlatWinReleaseVideo();
    return ok;
}

// ---- GL context ----------------------------------------------------------------------

PlatGLContext *PlatWinGLCreateContext(PlatWindow *window)
{
    if (!window)
    {
        PlatWinSetError("No window");
        return nullptr;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window->sdl);
    if (!context)
    {
        PlatWinSetError("Could not create the GL context: %s", SDL_GetError());
        return nullptr;
    }
    PlatGLContext *result = (PlatGLContext *)calloc(1, sizeof(PlatGLContext));
    if (!result)
    {
        SDL_GL_DeleteContext(context);
        PlatWinSetError("Out of memory");
        return nullptr;
    }
    result->context = context;
    return result;
}

void PlatWinGLDeleteContext(PlatGLContext *context)
{
    if (!context)
        return;
    SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(context->context);
    free(context);
}

bool PlatWinGLMakeCurrent(PlatWindow *window, PlatGLContext *context)
{
    if (!window || !context)
        return false;
    if (SDL_GL_MakeCurrent(window->sdl, context->context) != 0)
    {
        PlatWinSetError("Could not make the GL context current: %s", SDL_GetError());
        return false;
    }
    return true;
}

bool PlatWinGLSetSwapInterval(int32_t interval)
{
    return SDL_GL_SetSwapInterval(interval) == 0;
}

void PlatWinGLSwapWindow(PlatWindow *window)
{
    if (window)
        SDL_GL_SwapWindow(window->sdl);
}

void *PlatWinGLGetProcAddress(const char *name)
{
    return s_video.up ? SDL_GL_GetProcAddress(name) : nullptr;
}
