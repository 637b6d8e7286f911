// The clipboard front end: argument checks and bounds here, the exchange itself in the
// table of functions (the window's clipboard unless a test set its own).
#include "EngClipboard.h"

#include "EngDebug.h"

static struct
{
    const _EngClipboardFunctions *functions; // NULL: the window's clipboard
} s_clipboard = {nullptr};

static const _EngClipboardFunctions *EngClipboardGetFunctions()
{
    return s_clipboard.functions ? s_clipboard.functions : &eng_clipboard_window_functions;
}

void EngClipboardSetFunctions(const _EngClipboardFunctions *functions)
{
    s_clipboard.functions = functions;
}

bool EngClipboardCopyFromString(const char *text)
{
    if (!text)
    {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    if (!*text)
        return false;
    return EngClipboardGetFunctions()->setText(text);
}

bool EngClipboardPasteToString(char *buffer, int32_t size)
{
    if (!buffer || size < 2)
    {
        DebugError(ENG_FUNC, "Invalid parameters");
        if (buffer && size == 1)
            buffer[0] = 0;
        return false;
    }
    buffer[0] = 0;
    if (!EngClipboardGetFunctions()->getText(buffer, size))
    {
        buffer[0] = 0;
        return false;
    }
    // The table is trusted to terminate, but a short read must never run off the end.
    buffer[size - 1] = 0;
    return true;
}
