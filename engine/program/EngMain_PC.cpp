// The message shown when the program could not start or had to stop: the desktop's
// message box, and the log file opened with the desktop's default program.
#include "EngDebug.h"
#include "EngFile.h"
#include "EngMain.h"
#include "EngMisc.h"
#include "PlatShell.h"
#include "PlatWin.h"

int EngMainShowPrematureTerminationMessage()
{
    if (!EngMiscExitProgramNow(true))
        return 0;
    const char *logName = DebugGetLogFilename();
    bool haveLog = EngFileExists(logName, false);
    // Nothing queued for the closed window may act on the box; and the box needs the
    // system cursor.
    EngMiscDiscardMessages_PC(1.0);
    for (int i = 0; i < 4; i++)
        PlatWinShowCursor(true);
    if (!haveLog)
        return EngMiscMessageBox("Error Running Program",
                                 "The program had to terminate prematurely. No error logs were generated.",
                                 ENG_MB_OK, ENG_MB_ICON_ERROR);
    int answer = EngMiscMessageBox("Error Running Program",
                                   "The program had to terminate prematurely.\n\nDo you wish to see the log file ?",
                                   ENG_MB_YES_NO, ENG_MB_ICON_ERROR);
    if (answer != ENG_MB_RESULT_YES)
        return answer;
    if (!PlatShellOpen(logName))
        DebugError(ENG_FUNC, "Could not open the log file: %s", PlatShellGetErrorText());
    return answer;
}
