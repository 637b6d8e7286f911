// The start-up settings' question box on the desktop's message boxes.
#include "EngMisc.h"
#include "Resolution.h"

bool ResolutionAskYesNo_PC(const char *title, const char *text)
{
    return EngMiscMessageBox(title, text, ENG_MB_YES_NO, ENG_MB_ICON_ERROR) == ENG_MB_RESULT_YES;
}
