// The program and menus as the rule tests, the benchmarks and the puzzle tool stand in for
// them: switching remembers the GUI state and the screen asked for, the menus remember
// the screen they were sent to, the last player's name is kept in memory; nothing is
// shown. AppDoubleInstall registers it with the rules (AppHooks.h); AppDoubleReset also
// puts it back in its start state.
#pragma once
#include "AppHooks.h"
#include "EngMemory.h"
#include "User.h"

namespace appdouble
{

struct State
{
    bool guiOn;
    ScreenId targetScreen; // -1 none
    ScreenId menuScreen;   // 0 none
    char lastPlayerName[USER_NAME_SIZE];
};

inline State state = {false, -1, 0, ""};

inline void GoFromGameToMenus(ScreenId screen, GameSwitchCallback callback, char now)
{
    state.targetScreen = screen;
    state.guiOn = true;
    if (callback)
        callback();
}

inline void GoFromMenusToGame(GameSwitchCallback callback, char now)
{
    state.guiOn = false;
    state.targetScreen = -1;
    if (callback)
        callback();
}

inline void SetLastPlayerName(const char *name)
{
    EngSafeStrcpy(state.lastPlayerName, name ? name : "", sizeof(state.lastPlayerName));
}

} // namespace appdouble

inline void AppDoubleInstall()
{
    using namespace appdouble;
    _AppHooks hooks = {};
    hooks.goFromGameToMenus = GoFromGameToMenus;
    hooks.goFromMenusToGame = GoFromMenusToGame;
    hooks.isGuiOn = [] { return state.guiOn; };
    hooks.getTargetScreen = [] { return state.targetScreen; };
    hooks.gotoMenuScreen = [](ScreenId screen) { state.menuScreen = screen; };
    hooks.getMenuScreen = [] { return state.menuScreen; };
    hooks.getLastPlayerName = [] { return (const char *)state.lastPlayerName; };
    hooks.setLastPlayerName = SetLastPlayerName;
    AppSetHooks(&hooks);
}

inline void AppDoubleReset()
{
    appdouble::state = {false, -1, 0, ""};
    AppDoubleInstall();
}
