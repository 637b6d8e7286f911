// The fade between the menus and the game (see GameFade.h). State in one record.
#include "GameFade.h"

#include "EngDebug.h"
#include "EngDevice.h"

static struct
{
    uint8_t fading;
    uint8_t fadingOut;
    float startLevel;
    // 1 fully visible. The program starts black: the splash ends black, and the first
    // fade brings the menus in from there.
    float value;
    double startTime;  // 0: taken at the next tick
    GameFadeFn endAction;
    GameFadeFn endCallback;
} s_fade = {0, 0, 0.0f, 0.0f, 0.0, nullptr, nullptr};

bool GameFadeStart(GameFadeFn endAction, GameFadeFn endCallback, double now)
{
    if (s_fade.fading && s_fade.fadingOut)
    {
        DebugError(ENG_FUNC, "A switch is already waiting for the fade; this one is refused");
        return false;
    }
    s_fade.startLevel = s_fade.value;
    s_fade.fading = 1;
    s_fade.fadingOut = 1;
    s_fade.startTime = now;
    s_fade.endAction = endAction;
    s_fade.endCallback = endCallback;
    return true;
}

void GameFadeTick(double now)
{
    if (!s_fade.fading)
        return;
    if (s_fade.startTime == 0.0)
    {
        s_fade.startTime = now;
        return;
    }
    double elapsed = now - s_fade.startTime;
    if (s_fade.fadingOut)
    {
        s_fade.value = (float)((1.0 - elapsed / GAME_FADE_OUT_SECONDS) * s_fade.startLevel);
        if (s_fade.value > 0.0f)
            return;
        // The action and callback may start another fade: the state says fading in first.
        GameFadeFn action = s_fade.endAction, callback = s_fade.endCallback;
        s_fade.endAction = nullptr;
        s_fade.endCallback = nullptr;
        s_fade.fadingOut = 0;
        s_fade.startLevel = s_fade.value;
        s_fade.startTime = now;
        if (action)
            action();
        if (callback)
            callback();
        return;
    }
    s_fade.value = (float)(elapsed * (1.0 - s_fade.startLevel));
    if (s_fade.value >= 1.0f)
    {
        s_fade.value = 1.0f;
        s_fade.fading = 0;
    }
}

bool GameFadeIsFading()
{
    return s_fade.fading != 0;
}

bool GameFadeIsFadingOut()
{
    return s_fade.fading && s_fade.fadingOut;
}

float GameFadeGetValue()
{
    return s_fade.value;
}

void GameFadeRender()
{
    if (s_fade.value < 1.0f)
        EngDimScreen(1.0f - (s_fade.value < 0.0f ? 0.0f : s_fade.value));
}

void GameFadeReset()
{
    s_fade = {0, 0, 0.0f, 0.0f, 0.0, nullptr, nullptr};
}
