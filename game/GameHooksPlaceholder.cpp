// Placeholder for the program's game hooks (see GameHooks.h): switches at once and only
// remembers the GUI state and target screen. The program class replaces this file.
#include "GameHooks.h"

static struct
{
    bool guiOn;
    ScreenId targetScreen;
    UserClass *user;
} s_hooks = {false, -1, nullptr};

UserClass *GameGetUser()
{
    return s_hooks.user;
}

void GameSetUser(UserClass *user)
{
    s_hooks.user = user;
}

void GameAfterUserCreatedOrLoaded() {}

void GameGoFromGameToMenus(ScreenId screen, GameSwitchCallback callback, char now)
{
    s_hooks.targetScreen = screen;
    s_hooks.guiOn = true;
    if (callback)
        callback();
}

void GameGoFromMenusToGame(GameSwitchCallback callback, char now)
{
    s_hooks.guiOn = false;
    s_hooks.targetScreen = -1;
    if (callback)
        callback();
}

bool GameIsGuiOn()
{
    return s_hooks.guiOn;
}

ScreenId GameGetTargetScreen()
{
    return s_hooks.targetScreen;
}

void GameShowMouseCursor() {}
