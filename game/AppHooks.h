// What the rules and the player module ask of the program and the menus above them (the
// Program class, the menu and player screens, the start-up settings, the picture
// loader). The rules link the engine core only, so the program hands these functions
// over at start-up with AppSetHooks; the rules call them through the App* functions
// below. A member left NULL does nothing and answers the default given in its contract.
//
// Contract of each member (screens are four-letter ids made with EngFourCC):
//
// The program
//   goFromGameToMenus(screen, callback, now)  leave the game for menu screen `screen`, at
//                               once (`now`) or at the end of a fade; `callback` (may be
//                               NULL) runs after the switch. From then on isGuiOn answers
//                               true and getTargetScreen `screen`.
//   goFromMenusToGame(callback, now)  back to the game; isGuiOn answers false.
//   isGuiOn()                   whether the menus show: a landing that ended the level into
//                               a menu stops the tick, and a shot is refused. Default: false.
//   getTargetScreen()           the screen the last switch to the menus asked for.
//                               Default: -1 (none).
//   afterUserCreatedOrLoaded()  a player was created or loaded: take the options into the
//                               working copy, go on to the menus.
//   showMouseCursor()           show the cursor for the game-over box (first moved to the
//                               window's centre in windowed mode).
//
// The menu screens
//   pauseShowStartNewGame()     the pause screen's quit button reads "START NEW GAME" the
//                               next time the screen starts.
//   gotoMenuScreen(screen)      change the menu screen (inside the GUI's fade).
//   getMenuScreen()             the current menu screen. Default: 0 (none runs).
//   updateGameSetupButtons()    refresh the game set-up screen for the current game type.
//   requestAutoSubmitScore()    the game set-up screen submits the last score online at its
//                               next tick.
//   askAutoSubmitScores()       the yes/no popup "AUTO SUBMIT SCORES"; its answer sets the
//                               player's auto-submit option.
//
// The start-up settings, the picture loader and the player screens
//   getLastPlayerName()         the last player's name kept with the start-up settings.
//                               Default: "" (none).
//   setLastPlayerName(name)     change it and save at once.
//   registerPictureHook(hook)   make `hook` the picture loader's texture-file overwrite.
//   clearUserNameList()         empty the player-load screen's name list.
#pragma once
#include "EngTypes.h"

typedef void (*GameSwitchCallback)();
// The picture loader's texture-file overwrite hook: folder (or NULL), texture file name,
// out name and its size; true when `out` holds the file to load instead.
typedef bool (*ModulesTextureOverwriteFn)(const char *folder, const char *file, char *out, int outSize);

struct _AppHooks
{
    // The program
    void (*goFromGameToMenus)(ScreenId screen, GameSwitchCallback callback, char now);
    void (*goFromMenusToGame)(GameSwitchCallback callback, char now);
    bool (*isGuiOn)();
    ScreenId (*getTargetScreen)();
    void (*afterUserCreatedOrLoaded)();
    void (*showMouseCursor)();

    // The menu screens
    void (*pauseShowStartNewGame)();
    void (*gotoMenuScreen)(ScreenId screen);
    ScreenId (*getMenuScreen)();
    void (*updateGameSetupButtons)();
    void (*requestAutoSubmitScore)();
    void (*askAutoSubmitScores)();

    // The start-up settings, the picture loader and the player screens
    const char *(*getLastPlayerName)();
    void (*setLastPlayerName)(const char *name);
    void (*registerPictureHook)(ModulesTextureOverwriteFn hook);
    void (*clearUserNameList)();
};

// Copies `hooks` (NULL: every member unset). The program calls it once at start-up; a
// test installs a double.
void AppSetHooks(const _AppHooks *hooks);

// ---- The rules' side: each calls its member or answers the member's default ----------

void AppGoFromGameToMenus(ScreenId screen, GameSwitchCallback callback, char now);
void AppGoFromMenusToGame(GameSwitchCallback callback, char now);
bool AppIsGuiOn();
ScreenId AppGetTargetScreen();
void AppAfterUserCreatedOrLoaded();
void AppShowMouseCursor();

void AppPauseShowStartNewGame();
void AppGotoMenuScreen(ScreenId screen);
ScreenId AppGetMenuScreen();
void AppUpdateGameSetupButtons();
void AppRequestAutoSubmitScore();
void AppAskAutoSubmitScores();

// Never NULL.
const char *AppGetLastPlayerName();
void AppSetLastPlayerName(const char *name);
void AppRegisterPictureHook(ModulesTextureOverwriteFn hook);
void AppClearUserNameList();
