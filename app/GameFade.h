// The fade between the menus and the game: the frame fades out over 0.6 s, the switch
// (the end action) runs at black, then the caller's callback, and the frame fades back
// in over up to 1 s. Times are seconds of the engine clock, passed in by the caller.
#pragma once

typedef void (*GameFadeFn)();

enum
{
    GAME_FADE_NONE = 0,
    GAME_FADE_OUT = 1,
    GAME_FADE_IN = 2,
};

const double GAME_FADE_OUT_SECONDS = 0.6;

// Starts a fade-out from the current value. Refused (logged, false) while a fade-out
// runs: its end action is still to come and must not be lost.
bool GameFadeStart(GameFadeFn endAction, GameFadeFn endCallback, double now);
// One step; at black runs the end action, then the callback.
void GameFadeTick(double now);
bool GameFadeIsFading();
bool GameFadeIsFadingOut();
// 1 fully visible, 0 black.
float GameFadeGetValue();
// Dims the frame drawn so far by 1 - value.
void GameFadeRender();
// The start state: no fade, black (the first fade brings the picture in).
void GameFadeReset();
