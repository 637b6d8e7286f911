// What the menu screens need of the program above them, handed down at start-up as a
// table (ScreensSetHost). Every entry is optional; a missing one does nothing.
#pragma once

struct _ScreensHost
{
    // Saves the current player (and a running game) with the start-up settings; `warn`
    // notes a missing player.
    void (*saveUser)(char warn);
    // The music from now on at volume 0-10 (0 fades it out), ramped by the sound module.
    void (*setMusicVolume)(int volume);
    // The menus' particle effect starts again at the player's menu effects level.
    void (*restartMenuEffect)();
};

void ScreensSetHost(const _ScreensHost *host);
void ScreensHostSaveUser(char warn);
void ScreensHostSetMusicVolume(int volume);
void ScreensHostRestartMenuEffect();
