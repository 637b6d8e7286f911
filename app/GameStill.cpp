// The still-picture rule of the menus (see GameStill.h).
#include "GameStill.h"

#include "AppView.h"
#include "EngMain.h"
#include "Game.h"
#include "GameFade.h"
#include "MWin.h"
#include "PlinxScreens.h"
#include "Splash.h"
#include "UserScreens.h"

static struct
{
    double lastActivity;
    ScreenId lastScreen; // of the last query
} s_still = {0.0, 0};

bool GameStillIsScreenStillKind(ScreenId screen)
{
    // The player screens, the main menu and the log viewer draw widgets only; the other
    // menus have their own animations (tutorial, credits roll, score tables that fill in).
    const ScreenId still[] = {user_screen_users, user_screen_new,     user_screen_load, user_screen_select,
                              country_screen,    plinx_screen_select, plinx_screen_logs};
    for (ScreenId id : still)
        if (id == screen)
            return true;
    return false;
}

bool GameStillIsPictureStill(const _GameStillInputs *inputs)
{
    if (!inputs || !inputs->guiOn || inputs->splashOn || inputs->fading || inputs->menuEffectRunning ||
        inputs->popupOn)
        return false;
    if (!GameStillIsScreenStillKind(inputs->screen))
        return false;
    return inputs->now - inputs->lastActivity >= GAME_STILL_HOLD_SECONDS;
}

void GameStillNoteActivity()
{
    s_still.lastActivity = EngMainGetTime();
}

bool GameStillQueryCB()
{
    _GameStillInputs inputs = {};
    inputs.guiOn = GameIsGuiOn();
    inputs.splashOn = SplashIsOn() != 0;
    inputs.fading = GameFadeIsFading();
    inputs.menuEffectRunning = AppViewIsMenuEffectRunning();
    inputs.popupOn = mwin_object.IsPopupOn();
    inputs.screen = mwin_object.GetCurrentScreen();
    inputs.now = EngMainGetTime();
    // A new screen is a change of picture, whoever asked for it.
    if (inputs.screen != s_still.lastScreen)
    {
        s_still.lastScreen = inputs.screen;
        s_still.lastActivity = inputs.now;
    }
    inputs.lastActivity = s_still.lastActivity;
    return GameStillIsPictureStill(&inputs);
}

void GameStillReset()
{
    s_still.lastActivity = 0.0;
    s_still.lastScreen = 0;
}
