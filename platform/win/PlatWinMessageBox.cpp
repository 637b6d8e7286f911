// Message boxes: a test hook; else an SDL message box while the window system is in use;
// else stderr with the default answer (no display, or before any window exists).
#include <cstdio>

#include "PlatWinInternal.h"

static PlatWinMessageBoxFn s_messageBoxHook = nullptr;

void PlatWinSetMessageBoxHook(PlatWinMessageBoxFn hook)
{
    s_messageBoxHook = hook;
}

static int PlatWinMessageBoxOnStderr(const char *title, const char *text, int buttons)
{
    fprintf(stderr, "[%s] %s\n", title ? title : "", text ? text : "");
    return buttons == PLAT_MB_YES_NO ? PLAT_MB_RESULT_NO : PLAT_MB_RESULT_OK;
}

int PlatWinMessageBox(const char *title, const char *text, int buttons, int icon)
{
    if (s_messageBoxHook)
        return s_messageBoxHook(title, text, buttons, icon);
    if (!PlatWinIsVideoUp())
        return PlatWinMessageBoxOnStderr(title, text, buttons);

    char utf8Title[512], utf8Text[2048];
    PlatWinUtf8FromCp1252(title, utf8Title, sizeof(utf8Title));
    PlatWinUtf8FromCp1252(text, utf8Text, sizeof(utf8Text));
    Uint32 flags = icon == PLAT_MB_ICON_ERROR     ? SDL_MESSAGEBOX_ERROR
                   : icon == PLAT_MB_ICON_WARNING ? SDL_MESSAGEBOX_WARNING
                                                  : SDL_MESSAGEBOX_INFORMATION;
    SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, PLAT_MB_RESULT_OK, "OK"},
    };
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, PLAT_MB_RESULT_YES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, PLAT_MB_RESULT_NO, "No"},
    };
    SDL_MessageBoxData box = {};
    box.flags = flags;
    box.title = utf8Title;
    box.message = utf8Text;
    box.numbuttons = buttons == PLAT_MB_YES_NO ? 2 : 1;
    box.buttons = buttons == PLAT_MB_YES_NO ? yesNoButtons : okButton;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0)
        return PlatWinMessageBoxOnStderr(title, text, buttons);
    // Closing the box without a button is its default answer.
    if (pressed < 0)
        return buttons == PLAT_MB_YES_NO ? PLAT_MB_RESULT_NO : PLAT_MB_RESULT_OK;
    return pressed;
}
