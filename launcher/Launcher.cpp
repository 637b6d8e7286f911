// The launcher's flow: the runtime check, then the game or the dialog.
#include "Launcher.h"

#include <cstdlib>
#include <cstring>

const char *const LAUNCHER_GL_LIBRARY = "libGL.so.1";
const char *const LAUNCHER_SDL_LIBRARY = "libSDL2-2.0.so.0";
const char *const LAUNCHER_GAME_FILE = "Plinx_DX9";
const char *const LAUNCHER_INSTALL_PAGE = "Data/Help/GraphicsRuntime.html";

static struct
{
    _LauncherMissing missing; // of the last check
} s_launcher = {LAUNCHER_MISSING_NOTHING};

// The failure a test asks for through PLINX_LAUNCHER_TEST_MISSING, or NOTHING.
static _LauncherMissing ForcedMissing()
{
    const char *forced = getenv("PLINX_LAUNCHER_TEST_MISSING");
    if (!forced)
        return LAUNCHER_MISSING_NOTHING;
    if (strcmp(forced, "gl") == 0)
        return LAUNCHER_MISSING_GL;
    if (strcmp(forced, "sdl") == 0)
        return LAUNCHER_MISSING_SDL;
    if (strcmp(forced, "gl33") == 0)
        return LAUNCHER_MISSING_GL33;
    return LAUNCHER_MISSING_NOTHING;
}

bool LauncherIsDirectX9Installed()
{
    s_launcher.missing = ForcedMissing();
    if (s_launcher.missing != LAUNCHER_MISSING_NOTHING)
        return false;
    s_launcher.missing = LauncherLoadD3D9Library();
    if (s_launcher.missing == LAUNCHER_MISSING_NOTHING && !LauncherCanCreateContext())
        s_launcher.missing = LAUNCHER_MISSING_GL33;
    LauncherFreeD3D9Library();
    return s_launcher.missing == LAUNCHER_MISSING_NOTHING;
}

_LauncherMissing LauncherGetMissing()
{
    return s_launcher.missing;
}

const char *LauncherGetMissingText(_LauncherMissing missing)
{
    switch (missing)
    {
    case LAUNCHER_MISSING_GL:
        return "The OpenGL library (libGL.so.1) does not seem to be installed on your system.";
    case LAUNCHER_MISSING_SDL:
        return "The SDL 2 library (libSDL2-2.0.so.0) does not seem to be installed on your system.";
    case LAUNCHER_MISSING_GL33:
        return "OpenGL version 3.3 or later does not seem to be available on your system.";
    default:
        return "";
    }
}

int LauncherWinMain(const char *commandLine)
{
    // The command line is not used.
    (void)commandLine;
    if (LauncherIsDirectX9Installed())
        return LauncherStartGame() ? 1 : 0;
    // "Ignore ..." starts the game once the dialog is gone.
    if (LauncherRunDialog(s_launcher.missing) == LAUNCHER_ID_IGNORE)
        return LauncherStartGame() ? 1 : 0;
    return 0;
}
