// Stand-in for the Windows window, message, cursor, message-box, display and clock
// services the engine uses. No SDL type crosses this header.
#pragma once
#include <cstdint>

// ---- Clock and sleeping -----------------------------------------------------------
// Monotonic counter and its ticks per second.
uint64_t PlatWinGetCounter();
uint64_t PlatWinGetCounterFrequency();
// Milliseconds since an arbitrary start, wrapping at 2^32 (the multimedia clock).
uint32_t PlatWinGetMilliseconds();
void PlatWinSleep(uint32_t milliseconds);

// ---- Message boxes -----------------------------------------------------------------
enum PlatMessageBoxIcon
{
    PLAT_MB_ICON_NONE = 0,
    PLAT_MB_ICON_WARNING = 1,
    PLAT_MB_ICON_ERROR = 2,
};

enum PlatMessageBoxButtons
{
    PLAT_MB_OK = 0,
    PLAT_MB_YES_NO = 1,
};

enum PlatMessageBoxResult
{
    PLAT_MB_RESULT_OK = 1,
    PLAT_MB_RESULT_YES = 6,
    PLAT_MB_RESULT_NO = 7,
};

// Shows a modal message box; with no display the text goes to stderr and the default
// answer (OK, or No for a Yes/No box) comes back.
int PlatWinMessageBox(const char *title, const char *text, int buttons, int icon);

// The seam tests use to see message boxes and answer them; NULL restores the real one.
typedef int (*PlatWinMessageBoxFn)(const char *title, const char *text, int buttons, int icon);
void PlatWinSetMessageBoxHook(PlatWinMessageBoxFn hook);

// ---- Desktop ---------------------------------------------------------------------------
// The primary display's rectangle, or with `workArea` the part of it that panels leave
// free. With no video available the outputs get 0, 0, 1280, 1024 and the answer is 0.
bool PlatWinGetDesktopBounds(bool workArea, int *x, int *y, int *width, int *height);
