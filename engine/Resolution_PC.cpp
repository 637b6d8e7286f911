// The start-up settings' question box on the platform's message boxes.
#include "PlatWin.h"
#include "Resolution.h"

bool ResolutionAskYesNo_PC(const char *title, const char *text)
{
    return PlatWinMessageBox(title, text, PLAT_MB_YES_NO, PLAT_MB_ICON_ERROR) == PLAT_MB_RESULT_YES;
}
