// The system clipboard as plain text, over SDL's clipboard: the game's texts are
// Windows-1252, SDL's are UTF-8, and the conversion happens here.
#include <cstdlib>
#include <cstring>

#include "PlatWinInternal.h"

bool PlatWinSetClipboardText(const char *text)
{
    if (!text || !*text)
    {
        PlatWinSetError("No clipboard text");
        return false;
    }
    if (!PlatWinIsVideoUp())
    {
        PlatWinSetError("Clipboard without video");
        return false;
    }
    // One Windows-1252 byte grows to at most three UTF-8 bytes.
    size_t size = strlen(text) * 3 + 1;
    char *utf8 = (char *)malloc(size);
    if (!utf8)
    {
        PlatWinSetError("Out of memory for the clipboard text");
        return false;
    }
    PlatWinUtf8FromCp1252(text, utf8, (int32_t)size);
    bool done = SDL_SetClipboardText(utf8) == 0;
    if (!done)
        PlatWinSetError("SDL_SetClipboardText: %s", SDL_GetError());
    free(utf8);
    return done;
}

bool PlatWinGetClipboardText(char *out, int32_t size)
{
    if (!out || size < 1)
    {
        PlatWinSetError("No clipboard buffer");
        return false;
    }
    out[0] = 0;
    if (!PlatWinIsVideoUp())
    {
        PlatWinSetError("Clipboard without video");
        return false;
    }
    if (!SDL_HasClipboardText())
    {
        PlatWinSetError("No text on the clipboard");
        return false;
    }
    char *utf8 = SDL_GetClipboardText();
    if (!utf8)
    {
        PlatWinSetError("SDL_GetClipboardText: %s", SDL_GetError());
        return false;
    }
    PlatWinCp1252FromUtf8(utf8, out, size);
    SDL_free(utf8);
    return true;
}
