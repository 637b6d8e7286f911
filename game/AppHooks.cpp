// The rules' side of the program's and the menus' hooks (AppHooks.h): the table the
// program registers, and one function per member that calls it or answers its default.
#include "AppHooks.h"

static struct
{
    _AppHooks hooks;
} s_app = {};

void AppSetHooks(const _AppHooks *hooks)
{
    s_app.hooks = hooks ? *hooks : _AppHooks{};
}

void AppGoFromGameToMenus(ScreenId screen, GameSwitchCallback callback, char now)
{
    if (s_app.hooks.goFromGameToMenus)
        s_app.hooks.goFromGameToMenus(screen, callback, now);
}

void AppGoFromMenusToGame(GameSwitchCallback callback, char now)
{
    if (s_app.hooks.goFromMenusToGame)
        s_app.hooks.goFromMenusToGame(callback, now);
}

bool AppIsGuiOn()
{
    return s_app.hooks.isGuiOn ? s_app.hooks.isGuiOn() : false;
}

ScreenId AppGetTargetScreen()
{
    return s_app.hooks.getTargetScreen ? s_app.hooks.getTargetScreen() : -1;
}

void AppAfterUserCreatedOrLoaded()
{
    if (s_app.hooks.afterUserCreatedOrLoaded)
        s_app.hooks.afterUserCreatedOrLoaded();
}

void AppShowMouseCursor()
{
    if (s_app.hooks.showMouseCursor)
        s_app.hooks.showMouseCursor();
}

void AppPauseShowStartNewGame()
{
    if (s_app.hooks.pauseShowStartNewGame)
        s_app.hooks.pauseShowStartNewGame();
}

void AppGotoMenuScreen(ScreenId screen)
{
    if (s_app.hooks.gotoMenuScreen)
        s_app.hooks.gotoMenuScreen(screen);
}

ScreenId AppGetMenuScreen()
{
    return s_app.hooks.getMenuScreen ? s_app.hooks.getMenuScreen() : 0;
}

void AppUpdateGameSetupButtons()
{
    if (s_app.hooks.updateGameSetupButtons)
        s_app.hooks.updateGameSetupButtons();
}

void AppRequestAutoSubmitScore()
{
    if (s_app.hooks.requestAutoSubmitScore)
        s_app.hooks.requestAutoSubmitScore();
}

void AppAskAutoSubmitScores()
{
    if (s_app.hooks.askAutoSubmitScores)
        s_app.hooks.askAutoSubmitScores();
}

const char *AppGetLastPlayerName()
{
    const char *name = s_app.hooks.getLastPlayerName ? s_app.hooks.getLastPlayerName() : nullptr;
    return name ? name : "";
}

void AppSetLastPlayerName(const char *name)
{
    if (s_app.hooks.setLastPlayerName)
        s_app.hooks.setLastPlayerName(name);
}

void AppRegisterPictureHook(ModulesTextureOverwriteFn hook)
{
    if (s_app.hooks.registerPictureHook)
        s_app.hooks.registerPictureHook(hook);
}

void AppClearUserNameList()
{
    if (s_app.hooks.clearUserNameList)
        s_app.hooks.clearUserNameList();
}
