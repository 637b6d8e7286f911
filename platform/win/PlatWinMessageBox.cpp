// Message boxes: a test hook, else stderr with the default answer. (A window-system
// box replaces the stderr path once a display is available.)
#include <cstdio>

#include "PlatWin.h"

static PlatWinMessageBoxFn s_messageBoxHook = nullptr;

void PlatWinSetMessageBoxHook(PlatWinMessageBoxFn hook)
{
    s_messageBoxHook = hook;
}

int PlatWinMessageBox(const char *title, const char *text, int buttons, int icon)
{
    if (s_messageBoxHook)
        return s_messageBoxHook(title, text, buttons, icon);
    fprintf(stderr, "[%s] %s\n", title ? title : "", text ? text : "");
    return buttons == PLAT_MB_YES_NO ? PLAT_MB_RESULT_NO : PLAT_MB_RESULT_OK;
}
