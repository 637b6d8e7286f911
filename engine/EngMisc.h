// Miscellaneous engine services: popups, the clock and the platform wrappers.
#pragma once
#include <cstdint>

enum _EngMiscPopupType
{
    ENG_POPUP_NONE = 0,
    ENG_POPUP_PLAIN = 1,
    ENG_POPUP_WARNING = 2,
    ENG_POPUP_ERROR = 3,
};

// Stores the popup when any argument is given, then shows the stored popup.
int EngMiscShowPopupMessage(int type, const char *title, const char *text);
void EngMiscSetPopupTexts(int type, const char *title, const char *text);
bool EngMiscIsPopupSet();

// ---- Platform services (back end in EngMisc_PC.cpp) ------------------------------
void EngMiscStartClock_PC();
// Seconds since the clock start (the clock starts itself on first use).
double EngMiscGetClock_PC();
// Removes queued window messages without dispatching them for up to `seconds`.
void EngMiscDiscardMessages_PC(double seconds);
// The platform message box: type 3 error icon, 2 exclamation, other none; one OK button.
int EngMiscMessageBox_PC(int type, const char *title, const char *text);
// The desktop rectangle (with `workArea`, the part panels leave free); every output is
// optional. Without video the size is 1280x1024. Always true.
bool EngMiscGetDesktopDimensions_PC(int *x, int *y, int *width, int *height, bool workArea, bool currentScreen);
// The desktop and per-user application-data folders (no trailing separator); the
// buffer must hold at least 256 characters.
bool EngMiscGetDesktopDirectory_PC(char *buffer, int size);
bool EngMiscGetUserApplicationDataDirectory_PC(char *buffer, int size);
// The login name; empty on failure.
bool EngMiscGetDefaultUsersName_PC(char *buffer, int size);
bool EngMiscIsDesktopPlatform();
bool EngMiscIsLargeScreenDevice();
const char *EngMiscGetPlatformName();
// Whether an internet connection may be used (always, on this platform).
bool EngMiscIsConnectedToInternet();
