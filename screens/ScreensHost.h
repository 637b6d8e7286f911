// What the menu screens need of the program above them, handed down at start-up as a
// table (ScreensSetHost). Every entry is optional; a missing one does nothing.
#pragma once

struct _ScreensHost
{
    // Saves the current player (and a running game) with the start-up settings; `warn`
    // notes a missing player.
    void (*saveUser)(char warn);
};

void ScreensSetHost(const _ScreensHost *host);
void ScreensHostSaveUser(char warn);
