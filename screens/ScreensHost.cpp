// The program's table for the menu screens (see ScreensHost.h).
#include "ScreensHost.h"

static _ScreensHost s_host = {};

void ScreensSetHost(const _ScreensHost *host)
{
    s_host = host ? *host : _ScreensHost{};
}

void ScreensHostSaveUser(char warn)
{
    if (s_host.saveUser)
        s_host.saveUser(warn);
}

void ScreensHostSetMusicVolume(int volume)
{
    if (s_host.setMusicVolume)
        s_host.setMusicVolume(volume);
}

void ScreensHostRestartMenuEffect()
{
    if (s_host.restartMenuEffect)
        s_host.restartMenuEffect();
}
