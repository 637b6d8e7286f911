// What a window manager does for the player, done straight through X11 for tests on a
// display without one.
#pragma once

namespace testkit
{

// The X11 window behind an SDL window (0 when it is not on X11).
unsigned long X11WindowOfSdlWindow(void *sdlWindow);
// Sends the close request a click on the window's close button sends.
bool SendCloseRequest(unsigned long x11Window);

} // namespace testkit
