// Plinx_Launcher: the small program a person starts in place of the game. It checks that
// what the game draws with is installed (the system's OpenGL library, SDL2, and an OpenGL
// 3.3 context that they can make); then it starts Plinx_DX9 from beside itself and ends
// at once. Otherwise it explains in its dialog what is missing, offers a page on how to
// install it, and lets the person start the game anyway. Nothing passes between the
// launcher and the game: no argument, no shared file, no wait.
//
// For tests, the environment variable PLINX_LAUNCHER_TEST_MISSING set to "gl", "sdl" or
// "gl33" makes the check fail as if that part were missing (read by the launcher only).
#pragma once

// What the check found missing.
enum _LauncherMissing
{
    LAUNCHER_MISSING_NOTHING = 0,
    LAUNCHER_MISSING_GL = 1,   // no system OpenGL library (libGL.so.1)
    LAUNCHER_MISSING_SDL = 2,  // no system SDL2 library (libSDL2-2.0.so.0)
    LAUNCHER_MISSING_GL33 = 3, // the libraries are there but make no OpenGL 3.3 context
};

// The dialog's commands (its control ids).
enum
{
    LAUNCHER_ID_OK = 1,
    LAUNCHER_ID_CANCEL = 2, // also Escape and the window's close button
    LAUNCHER_ID_INSTALL_PAGE = 1204,
    LAUNCHER_ID_IGNORE = 1205,
};

// The system libraries the game links, by soname.
extern const char *const LAUNCHER_GL_LIBRARY;  // "libGL.so.1"
extern const char *const LAUNCHER_SDL_LIBRARY; // "libSDL2-2.0.so.0"
// The game executable's file name, beside the launcher.
extern const char *const LAUNCHER_GAME_FILE; // "Plinx_DX9"
// The page on installing the graphics runtime, in the game's folder.
extern const char *const LAUNCHER_INSTALL_PAGE; // "Data/Help/GraphicsRuntime.html"

// The program: the check, then the game or the dialog. 1 when the game was started,
// 0 when not (the dialog closed without "Ignore ...", or the game could not start).
int LauncherWinMain(const char *commandLine);
// True when the game's graphics runtime is there; what is missing is kept for the
// dialog (LauncherGetMissing). The libraries are freed again before it returns.
bool LauncherIsDirectX9Installed();
_LauncherMissing LauncherGetMissing();
// The dialog's first line for what is missing.
const char *LauncherGetMissingText(_LauncherMissing missing);

// ---- What the back end provides (Launcher_PC.cpp) ------------------------------------------
// Loads the system's OpenGL and SDL2 libraries (a copy found only in the launcher's own
// folder does not count); LAUNCHER_MISSING_NOTHING when both are held. Held libraries
// stay held until LauncherFreeD3D9Library.
_LauncherMissing LauncherLoadD3D9Library();
void LauncherFreeD3D9Library();
// With the libraries held: whether they make an OpenGL 3.3 context.
bool LauncherCanCreateContext();
// Starts the game beside the launcher, from the game's folder; reports a failure in a
// message box and answers 0.
bool LauncherStartGame();
// Shows the dialog modally for what is missing and returns the command that closed it
// (the install-page command opens the page before the dialog closes; a page that cannot
// be opened is reported in a message box).
int LauncherRunDialog(_LauncherMissing missing);
