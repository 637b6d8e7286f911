// Miscellaneous engine services: popups, the clock and the platform wrappers.
#pragma once
#include <cstddef>
#include <cstdint>

enum _EngMiscPopupType
{
    ENG_POPUP_NONE = 0,
    ENG_POPUP_PLAIN = 1,
    ENG_POPUP_WARNING = 2,
    ENG_POPUP_ERROR = 3,
};

// ---- Records of the animation variables and dates ------------------------------------
struct _EngMiscDate
{
    uint32_t year;
    uint8_t month; // 1-12
    uint8_t day;   // 1-31
};

struct _EngMiscTime
{
    uint32_t hour;
    uint8_t minute;
    uint8_t second;
};

struct _EngMiscDateAndTime
{
    _EngMiscDate date;
    _EngMiscTime time;
};

// A value that rests, then moves at a random speed to a random target.
struct _EngMiscChangeVarFloat2
{
    uint8_t setup;
    double minRest, maxRest;   // seconds
    float minValue, maxValue;
    uint8_t randomSign;
    float angleMode;           // 0 off
    float maxAngleChange;
    float minSpeed, maxSpeed;  // units per second
    float value;
    uint8_t moving;
    double nextChangeTime;     // 0 when not scheduled
    float speed;
    float target;
};

// A value that waits, rises, holds, falls and holds, over and over.
struct _EngMiscBlendVar
{
    float timeScale;           // 0 or below counts as 1
    float startValue, lowValue, highValue;
    float riseSpeed, fallSpeed; // units per second
    double delay, highHold, lowHold; // seconds
    uint8_t stage;             // 0-6
    double stageEnd;
    float value;
};

enum _EngMiscTraverseType
{
    ENG_TRAVERSE_CONSTANT = 1,
    ENG_TRAVERSE_LINEAR_ONCE = 2,
    ENG_TRAVERSE_EASED_ONCE = 3,
    ENG_TRAVERSE_LINEAR_REPEAT = 4,
    ENG_TRAVERSE_EASED_REPEAT = 5,
    ENG_TRAVERSE_LINEAR_BACK_AND_FORTH = 6,
    ENG_TRAVERSE_EASED_BACK_AND_FORTH = 7,
};

// A value in [0, 1] driven by its type.
struct _EngMiscTraverseVar
{
    int32_t type;  // _EngMiscTraverseType
    float speed;   // cycles or units per second
    float angle;
    int8_t direction; // +1 or -1
    float value;
};

// ---- Random numbers (the C library's rand(), seeded at program start) ----------------
// A value in [0, |max|) quantised to the size of the range; negated half of the time
// with randomSign.
float EngMiscRandFloat(float max, bool randomSign);
float EngMiscRandFloatFromDouble(double max, bool randomSign);
// False for n < 1, else true with odds n : 1.
bool EngMiscRandChance(int n);
float EngMiscRandFloatRange(float min, float max, bool randomSign);
double EngMiscRandDoubleRange(double min, double max, bool randomSign);

// ---- Floats and vectors ------------------------------------------------------------------
// Equal, or within a relative difference of 0.001.
bool EngMiscAreFloatsAlmostEqual(float a, float b);
void EngMiscClampFloat(float *value, float min, float max);
// Moves position toward target by step along the largest component difference; true
// when the target is reached. fraction (optional) gets the part of the way moved.
bool EngMiscMoveVector3TowardsTarget(float *position, const float *target, float step, float *fraction);
bool EngMiscMoveVector4TowardsTarget(float *position, const float *target, float step, float *fraction);

// ---- Ticks: angle kept by the caller, value (1 - cos angle) / 2 ----------------------
float EngMiscThrobTick(float *angle, float speed, bool *cycleDone);
float EngMiscCycleTick(float *angle, float speed, bool *wrapped);
float EngMiscHalfCycleTick(float *angle, float speed, bool *wrapped);

// ---- Animation variables -------------------------------------------------------------------
float EngMiscSetupChangeVarFloat(double minRest, double maxRest, float minValue, float maxValue, bool randomSign,
                                 bool angleMode, float maxAngleChange, float minSpeed, float maxSpeed,
                                 bool randomStart, _EngMiscChangeVarFloat2 *var);
float EngMiscChangeVarFloatTick(_EngMiscChangeVarFloat2 *var);
bool EngMiscRestartBlendVar(_EngMiscBlendVar *var);
// True once per completed cycle.
bool EngMiscUpdateBlendVar(_EngMiscBlendVar *var);
float EngMiscSetupTraverseVar(_EngMiscTraverseVar *var, int type, float speed);
float EngMiscTraverseVarTick(_EngMiscTraverseVar *var, bool *done);

// ---- Strings ---------------------------------------------------------------------------------
bool EngMiscRemoveTrailingNewlines(char *text);
bool EngMiscIsStringOfAllowedCharacters(const char *text, bool space, bool fullStop, bool comma, bool dash);
// The text after the last '.', unless that '.' is the first or last character.
const char *EngMiscGetExtensionFromFilename(const char *fileName);

// ---- Dates and times (local time) --------------------------------------------------------------
void EngMiscGetCurrentDate(_EngMiscDate *date);
void EngMiscGetCurrentTime(_EngMiscTime *time);
void EngMiscGetCurrentDateAndTime(_EngMiscDateAndTime *dateAndTime);
int EngMiscGetNumberOfDaysInMonth(int8_t month, uint32_t year);
int EngMiscGetDayOfYearForDate(const _EngMiscDate *date);
void EngMiscGetPreviousDay(_EngMiscDate *date);
bool EngMiscIsDateAfterDate(_EngMiscDate a, _EngMiscDate b);
// Orders dates and times; not an exact count of minutes.
uint32_t EngMiscGetMinutesFromDateAndTime(const _EngMiscDateAndTime *dateAndTime);
bool EngMiscIsDateValid(const _EngMiscDate *date, bool report);
// "JAN".."DEC", "?" outside 1-12.
const char *EngMiscGetMonthAbbreviation(uint8_t month);

// ---- Waiting ------------------------------------------------------------------------------------
// Sleeps in 10 ms steps, keeping the engine clock current, until `seconds` have passed.
void EngMiscWaitSeconds(double seconds);
void EngMiscSleepSeconds(double seconds);

// ---- Program control (defined by the program library, eng_program) -------------------------------
void EngMiscQuitMainLoop();
// Draws one frame outside the main loop (loading and start-up screens).
void EngMiscRenderFrameNow(bool render, bool refreshTiming, bool noPresent);
// Closes window and device and shuts the program down. Not soft: ends the process
// with 0 after at most 4 s of message handling. Soft: false while a full-screen device
// object still exists, else true.
bool EngMiscExitProgramNow(bool soft);
// The program layer's part of a popup: a live device is closed first (the program shut
// down); false when that is not possible now.
bool EngMiscPrepareForPopup();

// ---- Platform wrappers (the _PC services below) ----------------------------------------
bool EngMiscGetDefaultUsersName(char *buffer, int size);
// (eng_render) The desktop rectangle, see EngMiscGetDesktopDimensions_PC.
bool EngMiscGetDesktopDimensions(int *x, int *y, int *width, int *height, bool workArea, bool currentScreen);
bool EngMiscGetDesktopDirectory(char *buffer, int size);
bool EngMiscGetUserApplicationDataDirectory(char *buffer, int size);

// ---- Screen layout ---------------------------------------------------------------------------------
enum ScreenLayout
{
    SCREEN_LAYOUT_NORMAL = 0,
    SCREEN_LAYOUT_IPHONE_PORTRAIT = 1,
    SCREEN_LAYOUT_IPHONE_LANDSCAPE = 2,
    SCREEN_LAYOUT_IPAD_PORTRAIT = 3,
    SCREEN_LAYOUT_IPAD_LANDSCAPE = 4,
};
int EngMiscGetScreenLayout(int requested);
bool EngMiscIsHandheldScreenLayout(int requested);

// ---- Message boxes and popups ----------------------------------------------------------------------
enum _EngMiscMessageBox
{
    ENG_MB_OK = 0, // buttons
    ENG_MB_YES_NO = 1,
    ENG_MB_ICON_NONE = 0, // icons
    ENG_MB_ICON_WARNING = 1,
    ENG_MB_ICON_ERROR = 2,
    ENG_MB_RESULT_OK = 1, // answers
    ENG_MB_RESULT_YES = 6,
    ENG_MB_RESULT_NO = 7,
};
typedef int (*EngMiscMessageBoxFn)(const char *title, const char *text, int buttons, int icon);
// The one door to the desktop's message boxes (texts in Windows-1252): the test hook
// when set, else the program layer's box (EngMainSetProgramHost), else the text goes to
// stderr and the default answer (OK, or No for a Yes/No box) comes back.
int EngMiscMessageBox(const char *title, const char *text, int buttons, int icon);
// The seam tests use to see every message box and answer it; NULL removes it.
void EngMiscSetMessageBoxHook(EngMiscMessageBoxFn hook);

// Stores the popup when any argument is given, then shows the stored popup. While a
// graphics device exists the program is closed first (a box cannot show over a
// full-screen device); when that is not possible now the popup stays stored and is
// shown after the main loop.
int EngMiscShowPopupMessage(int type, const char *title, const char *text);
void EngMiscSetPopupTexts(int type, const char *title, const char *text);
bool EngMiscIsPopupSet();
// The stored popup's texts.
const char *EngMiscGetPopupTitle();
const char *EngMiscGetPopupText();

// ---- Platform services (back ends: EngMisc_PC.cpp in eng; the window-system ones in
// eng_program's EngMiscProgram_PC.cpp and eng_render's EngMiscDesktop_PC.cpp) ------
void EngMiscStartClock_PC();
// Seconds since the clock start (the clock starts itself on first use).
double EngMiscGetClock_PC();
// The multimedia clock: milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t EngMiscGetMilliseconds_PC();
// Sleeps the calling thread.
void EngMiscSleepMilliseconds_PC(uint32_t milliseconds);
// (eng_program) Sleeps until a window message is queued or `milliseconds` have passed.
void EngMiscWaitForMessage_PC(uint32_t milliseconds);
// (eng_program) Removes queued window messages without dispatching them for up to
// `seconds`.
void EngMiscDiscardMessages_PC(double seconds);
// (eng_program) Takes one queued window message and dispatches it; false when it was the
// quit message.
bool EngMiscProcessOneMessage_PC();
// (eng_program) The desktop's message box behind EngMiscMessageBox: over a live window,
// queued messages are dropped first and the system cursor is shown.
int EngMiscMessageBox_PC(const char *title, const char *text, int buttons, int icon);
// (eng_render) The desktop rectangle (with `workArea`, the part panels leave free); every output is
// optional. Without video the size is 1280x1024. Always true.
bool EngMiscGetDesktopDimensions_PC(int *x, int *y, int *width, int *height, bool workArea, bool currentScreen);
// The desktop and per-user application-data folders (no trailing separator); the
// buffer must hold at least 256 characters.
bool EngMiscGetDesktopDirectory_PC(char *buffer, int size);
bool EngMiscGetUserApplicationDataDirectory_PC(char *buffer, int size);
// The login name; empty on failure.
bool EngMiscGetDefaultUsersName_PC(char *buffer, int size);
// Fills `size` bytes from the system's random source; on failure false, with the reason in
// `error` (may be NULL) and nothing logged.
bool EngMiscGetSystemRandomBytes_PC(void *buffer, size_t size, const char **error);
// The two upper-case letters of the user's country from the locale ("GB"); false and an
// empty buffer when the locale names none. Quiet: callers decide what a missing answer means.
bool EngMiscGetUserCountryCode_PC(char *buffer, int size);
bool EngMiscIsDesktopPlatform();
bool EngMiscIsLargeScreenDevice();
const char *EngMiscGetPlatformName();
// Whether an internet connection may be used (always, on this platform).
bool EngMiscIsConnectedToInternet();
