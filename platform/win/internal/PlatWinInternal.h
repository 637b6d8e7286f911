// State shared by the files of the window stand-in: the live windows, the last error
// text and the message queue. Only platform/win includes this.
#pragma once
#include <SDL.h>

#include "PlatWin.h"

struct PlatWindow
{
    SDL_Window *sdl;
    uint32_t id;
    PlatWindowProc proc;
    void *user;
    bool closed;     // a close destroyed it; the handle lives until PlatWinDestroyWindow
    bool trackLeave; // one PLAT_WM_MOUSELEAVE is wanted
    int32_t iconWidth, iconHeight; // the icon it was given; 0 without one
};

struct PlatGLContext
{
    SDL_GLContext context;
};

// Records the reason of a failure for PlatWinGetErrorText.
void PlatWinSetError(const char *format, ...) __attribute__((format(printf, 1, 2)));
// The live window with this SDL id, or NULL.
PlatWindow *PlatWinFindWindow(uint32_t id);
// The first live window (the main window), or NULL.
PlatWindow *PlatWinFirstWindow();
// Drops every queued message of a window that is going away.
void PlatWinDropMessagesOf(PlatWindow *window);
// Decodes one UTF-8 sequence; answers its length (at least 1) and the code point, or
// 0xFFFD for a malformed sequence.
int32_t PlatWinDecodeUtf8(const unsigned char *text, uint32_t *codePoint);
// Translates one SDL event as the pump does and queues the result: the door of posted
// input, and of the translation tests of this stand-in.
void PlatWinFeedSdlEvent(const SDL_Event *event);
