#include "TestkitX11.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace testkit
{

unsigned long X11WindowOfSdlWindow(void *sdlWindow)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!sdlWindow || !SDL_GetWindowWMInfo((SDL_Window *)sdlWindow, &info) || info.subsystem != SDL_SYSWM_X11)
        return 0;
    return info.info.x11.window;
}

bool SendCloseRequest(unsigned long x11Window)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display || !x11Window)
    {
        if (display)
            XCloseDisplay(display);
        return false;
    }
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = x11Window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    bool sent = XSendEvent(display, x11Window, False, NoEventMask, &event) != 0;
    XCloseDisplay(display);
    return sent;
}

} // namespace testkit
