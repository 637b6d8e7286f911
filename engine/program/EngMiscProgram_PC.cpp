// The window-system services of EngMisc over platform/win: the message pump outside
// the main loop and the desktop's message box.
#include "EngMisc.h"

#include "EngProgram.h"
#include "EngWindow.h"
#include "PlatWin.h"

// The engine's message-box codes are the stand-in's.
static constexpr bool SameCode(int engine, int stand) { return engine == stand; }
static_assert(SameCode(ENG_MB_OK, PLAT_MB_OK) && SameCode(ENG_MB_YES_NO, PLAT_MB_YES_NO), "message-box buttons");
static_assert(SameCode(ENG_MB_ICON_NONE, PLAT_MB_ICON_NONE) && SameCode(ENG_MB_ICON_WARNING, PLAT_MB_ICON_WARNING) &&
                  SameCode(ENG_MB_ICON_ERROR, PLAT_MB_ICON_ERROR),
              "message-box icons");
static_assert(SameCode(ENG_MB_RESULT_OK, PLAT_MB_RESULT_OK) && SameCode(ENG_MB_RESULT_YES, PLAT_MB_RESULT_YES) &&
                  SameCode(ENG_MB_RESULT_NO, PLAT_MB_RESULT_NO),
              "message-box answers");

void EngMiscWaitForMessage_PC(uint32_t milliseconds)
{
    PlatWinWaitMessage(milliseconds);
}

void EngMiscDiscardMessages_PC(double seconds)
{
    double end = EngMiscGetClock_PC() + seconds;
    PlatMessage message;
    while (EngMiscGetClock_PC() < end && PlatWinPeekMessage(&message, true))
    {
    }
}

bool EngMiscProcessOneMessage_PC()
{
    PlatMessage message;
    if (!PlatWinPeekMessage(&message, true))
        return true;
    if (message.message == PLAT_WM_QUIT)
        return false;
    PlatWinDispatchMessage(&message);
    return true;
}

int EngMiscMessageBox_PC(const char *title, const char *text, int buttons, int icon)
{
    // Over a live window: nothing queued may act after the box, and the box needs the
    // system cursor.
    EngWindow *window = eng_main_program ? eng_main_program->GetMainWindow() : nullptr;
    if (window && window->IsCreated())
    {
        EngMiscDiscardMessages_PC(2.0);
        for (int i = 0; i < 4; i++)
            PlatWinShowCursor(true);
    }
    return PlatWinMessageBox(title, text, buttons, icon);
}
