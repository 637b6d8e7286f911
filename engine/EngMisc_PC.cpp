// Platform services on this desktop: the program clock and the message box.
#include "EngMisc.h"

#include "PlatWin.h"

static struct
{
    bool started;
    bool highResolution;
    uint64_t frequency;
    uint64_t startCount;
} s_clock = {false, false, 0, 0};

void EngMiscStartClock_PC()
{
    s_clock.frequency = PlatWinGetCounterFrequency();
    s_clock.highResolution = s_clock.frequency != 0;
    s_clock.startCount = PlatWinGetCounter();
    s_clock.started = true;
}

double EngMiscGetClock_PC()
{
    if (!s_clock.started)
        EngMiscStartClock_PC();
    if (s_clock.highResolution)
        return (double)(PlatWinGetCounter() - s_clock.startCount) / (double)s_clock.frequency;
    return PlatWinGetMilliseconds() / 1000.0;
}

void EngMiscDiscardMessages_PC(double seconds)
{
}

int EngMiscMessageBox_PC(int type, const char *title, const char *text)
{
    int icon = type == ENG_POPUP_ERROR ? PLAT_MB_ICON_ERROR
               : type == ENG_POPUP_WARNING ? PLAT_MB_ICON_WARNING
                                          : PLAT_MB_ICON_NONE;
    return PlatWinMessageBox(title, text, PLAT_MB_OK, icon);
}
