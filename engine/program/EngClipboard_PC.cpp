// The clipboard's back end: the window stand-in's clipboard (SDL's, in UTF-8; the
// stand-in converts to and from Windows-1252).
#include "EngClipboard.h"
#include "PlatWin.h"

static bool EngClipboardSetText_PC(const char *text)
{
    return PlatWinSetClipboardText(text);
}

static bool EngClipboardGetText_PC(char *out, int32_t size)
{
    return PlatWinGetClipboardText(out, size);
}

const _EngClipboardFunctions eng_clipboard_window_functions = {EngClipboardSetText_PC, EngClipboardGetText_PC};
