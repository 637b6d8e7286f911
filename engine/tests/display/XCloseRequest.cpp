// Sends a window the window manager's close request (what a click on the close button
// does), straight through X11. Kept apart: Xlib's macros clash with GoogleTest's names.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

bool SendCloseRequest(void *sdlWindow)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo((SDL_Window *)sdlWindow, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = info.info.x11.window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, info.info.x11.window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return true;
}
