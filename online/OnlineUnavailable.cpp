// The online services this build does not offer yet: each call reports that the service
// is not available and does nothing else.
#include <cstring>

#include "EngDebug.h"
#include "EngMemory.h"
#include "Updater.h"

static const char s_notAvailable[] = "The online service is not available.";

bool UpdaterCheckForNewVersionWeekly(_EngMiscDate *date, int programName, float version, int programType)
{
    if (!date)
        return false;
    DebugError(ENG_FUNC, "%s", s_notAvailable);
    return false;
}

bool UpdaterCheckForNewVersion(int programName, float version, int programType)
{
    DebugError(ENG_FUNC, "%s", s_notAvailable);
    return false;
}

bool UpdaterTestInternetConnection(char *text, int size)
{
    DebugError(ENG_FUNC, "%s", s_notAvailable);
    if (text && size > 1)
        EngSafeStrcpy(text, s_notAvailable, (size_t)size);
    return false;
}
