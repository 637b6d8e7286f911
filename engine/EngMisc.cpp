// The engine's small services: message boxes and popups, waiting, strings, dates and
// the screen-layout choice. Quitting, ending the program and drawing a frame outside
// the main loop are the program library's (EngMiscProgram.cpp).
//
// Sections: message boxes and popups; waiting; strings; dates; platform wrappers;
// screen layout.
#include "EngMisc.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "EngDebug.h"
#include "EngGlobals.h"
#include "EngMain.h"
#include "EngMemory.h"

static struct
{
    int type;
    char title[100];
    char text[400];
} s_popup = {0, "", ""};

static struct
{
    EngMiscMessageBoxFn messageBoxHook;
} s_misc = {nullptr};

// ---- Message boxes and popups --------------------------------------------------------------

static int EngMiscMessageBoxOnStderr(const char *title, const char *text, int buttons)
{
    fprintf(stderr, "[%s] %s\n", title ? title : "", text ? text : "");
    return buttons == ENG_MB_YES_NO ? ENG_MB_RESULT_NO : ENG_MB_RESULT_OK;
}

void EngMiscSetMessageBoxHook(EngMiscMessageBoxFn hook)
{
    s_misc.messageBoxHook = hook;
}

int EngMiscMessageBox(const char *title, const char *text, int buttons, int icon)
{
    if (s_misc.messageBoxHook)
        return s_misc.messageBoxHook(title, text, buttons, icon);
    const _EngMainProgramHost *host = EngMainGetProgramHost();
    if (host && host->messageBox)
        return host->messageBox(title, text, buttons, icon);
    return EngMiscMessageBoxOnStderr(title, text, buttons);
}

void EngMiscSetPopupTexts(int type, const char *title, const char *text)
{
    s_popup.type = type;
    EngSafeStrcpy(s_popup.title, title ? title : "", sizeof(s_popup.title));
    EngSafeStrcpy(s_popup.text, text ? text : "", sizeof(s_popup.text));
}

bool EngMiscIsPopupSet()
{
    return s_popup.type != 0;
}

int EngMiscShowPopupMessage(int type, const char *title, const char *text)
{
    if (type != 0 || text)
        EngMiscSetPopupTexts(type, title, text);
    const _EngMainProgramHost *host = EngMainGetProgramHost();
    if (host && host->prepareForPopup && !host->prepareForPopup())
        return 0;
    int icon = s_popup.type == ENG_POPUP_ERROR     ? ENG_MB_ICON_ERROR
               : s_popup.type == ENG_POPUP_WARNING ? ENG_MB_ICON_WARNING
                                                   : ENG_MB_ICON_NONE;
    int result = EngMiscMessageBox(s_popup.title, s_popup.text, ENG_MB_OK, icon);
    s_popup.type = 0;
    return result;
}

const char *EngMiscGetPopupTitle()
{
    return s_popup.title;
}

const char *EngMiscGetPopupText()
{
    return s_popup.text;
}

// ---- Waiting -----------------------------------------------------------------------------------

void EngMiscWaitSeconds(double seconds)
{
    if (seconds <= 0)
        return;
    double end = EngMainGetTime() + seconds;
    while (EngMainGetTime() <= end)
        EngMiscSleepMilliseconds_PC(10);
}

void EngMiscSleepSeconds(double seconds)
{
    if (seconds > 0)
        EngMiscSleepMilliseconds_PC((uint32_t)(seconds * 1000.0));
}

// ---- Strings -------------------------------------------------------------------------------------

bool EngMiscRemoveTrailingNewlines(char *text)
{
    if (!text || !text[0])
        return false;
    size_t length = strlen(text);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n'))
        text[--length] = 0;
    return true;
}

bool EngMiscIsStringOfAllowedCharacters(const char *text, bool space, bool fullStop, bool comma, bool dash)
{
    if (!text || !text[0])
        return false;
    for (const char *c = text; *c; c++)
    {
        bool allowed = (*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9') ||
                       (space && *c == ' ') || (fullStop && *c == '.') || (comma && *c == ',') ||
                       (dash && *c == '-');
        if (!allowed)
            return false;
    }
    return true;
}

const char *EngMiscGetExtensionFromFilename(const char *fileName)
{
    if (!fileName || !fileName[0])
    {
        DebugError(ENG_FUNC, "No filename.");
        return nullptr;
    }
    const char *dot = strrchr(fileName, '.');
    if (!dot || dot == fileName || dot[1] == 0)
    {
        DebugError(ENG_FUNC, "No extension in [%s].", fileName);
        return nullptr;
    }
    return dot + 1;
}

// ---- Dates ------------------------------------------------------------------------------------------

static bool EngMiscIsLeapYear(uint32_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

static void EngMiscLocalTime(struct tm *out)
{
    time_t now = time(nullptr);
    localtime_r(&now, out);
}

void EngMiscGetCurrentDate(_EngMiscDate *date)
{
    if (!date)
        return;
    struct tm local;
    EngMiscLocalTime(&local);
    date->year = (uint32_t)(local.tm_year + 1900);
    date->month = (uint8_t)(local.tm_mon + 1);
    date->day = (uint8_t)local.tm_mday;
}

void EngMiscGetCurrentTime(_EngMiscTime *timeOfDay)
{
    if (!timeOfDay)
        return;
    struct tm local;
    EngMiscLocalTime(&local);
    timeOfDay->hour = (uint32_t)local.tm_hour;
    timeOfDay->minute = (uint8_t)local.tm_min;
    timeOfDay->second = (uint8_t)local.tm_sec;
}

void EngMiscGetCurrentDateAndTime(_EngMiscDateAndTime *dateAndTime)
{
    if (!dateAndTime)
        return;
    EngMiscGetCurrentDate(&dateAndTime->date);
    EngMiscGetCurrentTime(&dateAndTime->time);
}

int EngMiscGetNumberOfDaysInMonth(int8_t month, uint32_t year)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
    {
        DebugError(ENG_FUNC, "Invalid month %d", month);
        return 0;
    }
    if (month == 2 && EngMiscIsLeapYear(year))
        return 29;
    return days[month - 1];
}

int EngMiscGetDayOfYearForDate(const _EngMiscDate *date)
{
    if (!date)
    {
        DebugError(ENG_FUNC, "No date.");
        return 0;
    }
    if (date->month < 1 || date->month > 12)
    {
        DebugError(ENG_FUNC, "Invalid month %d.", date->month);
        return 0;
    }
    int day = date->day;
    for (int month = 1; month < date->month; month++)
        day += EngMiscGetNumberOfDaysInMonth((int8_t)month, date->year);
    return day;
}

void EngMiscGetPreviousDay(_EngMiscDate *date)
{
    if (!date)
        return;
    if (date->month < 1 || date->month > 12 || date->day < 1 || date->day > 31)
    {
        DebugError(ENG_FUNC, "Invalid date %04d:%02d:%02d", (int)date->year, date->month, date->day);
        return;
    }
    if (date->day > 1)
    {
        date->day--;
        return;
    }
    if (date->month == 1)
    {
        date->year--;
        date->month = 12;
        date->day = 31;
        return;
    }
    date->month--;
    // The same leap-year rule as the month lengths: 1 March 1900 follows 28 February.
    date->day = (uint8_t)EngMiscGetNumberOfDaysInMonth((int8_t)date->month, date->year);
}

bool EngMiscIsDateAfterDate(_EngMiscDate a, _EngMiscDate b)
{
    if (a.year != b.year)
        return a.year > b.year;
    if (a.month != b.month)
        return a.month > b.month;
    return a.day > b.day;
}

uint32_t EngMiscGetMinutesFromDateAndTime(const _EngMiscDateAndTime *dateAndTime)
{
    if (!dateAndTime)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    uint32_t dayOfYear = (uint32_t)EngMiscGetDayOfYearForDate(&dateAndTime->date);
    return ((dateAndTime->date.year * 366u + dayOfYear) * 24u + dateAndTime->time.hour) * 60u +
           dateAndTime->time.minute;
}

bool EngMiscIsDateValid(const _EngMiscDate *date, bool report)
{
    if (!date)
    {
        if (report)
            DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (date->year < 1900)
    {
        if (report)
            DebugError(ENG_FUNC, "Invalid year %d.", (int)date->year);
        return false;
    }
    if (date->month < 1 || date->month > 12)
    {
        if (report)
            DebugError(ENG_FUNC, "Invalid month %d.", date->month);
        return false;
    }
    int length = EngMiscGetNumberOfDaysInMonth((int8_t)date->month, date->year);
    if (date->day < 1 || date->day > length)
    {
        if (report)
            DebugError(ENG_FUNC, "Invalid day %d (%d).", date->day, length);
        return false;
    }
    return true;
}

const char *EngMiscGetMonthAbbreviation(uint8_t month)
{
    static const char *const names[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (month < 1 || month > 12)
        return "?";
    return names[month - 1];
}

// ---- Platform wrappers -----------------------------------------------------------------------------

bool EngMiscGetDefaultUsersName(char *buffer, int size)
{
    return EngMiscGetDefaultUsersName_PC(buffer, size);
}

bool EngMiscGetDesktopDirectory(char *buffer, int size)
{
    return EngMiscGetDesktopDirectory_PC(buffer, size);
}

bool EngMiscGetUserApplicationDataDirectory(char *buffer, int size)
{
    return EngMiscGetUserApplicationDataDirectory_PC(buffer, size);
}

// ---- Screen layout ----------------------------------------------------------------------------------

int EngMiscGetScreenLayout(int requested)
{
    if (requested >= 0)
        return requested;
    if (EngMiscIsDesktopPlatform())
        return SCREEN_LAYOUT_NORMAL;
    bool large = EngMiscIsLargeScreenDevice();
    switch (EngMainGetOrientation())
    {
    case ENG_ORIENTATION_PORTRAIT:
    case ENG_ORIENTATION_PORTRAIT_UPSIDE_DOWN:
        return large ? SCREEN_LAYOUT_IPAD_PORTRAIT : SCREEN_LAYOUT_IPHONE_PORTRAIT;
    case ENG_ORIENTATION_LANDSCAPE:
    case ENG_ORIENTATION_LANDSCAPE_RIGHT:
        return large ? SCREEN_LAYOUT_IPAD_LANDSCAPE : SCREEN_LAYOUT_IPHONE_LANDSCAPE;
    default:
        return SCREEN_LAYOUT_NORMAL;
    }
}

bool EngMiscIsHandheldScreenLayout(int requested)
{
    return EngMiscGetScreenLayout(requested) > 0;
}
