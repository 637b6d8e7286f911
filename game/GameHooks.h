// The program's game hooks as the game rules call them: switching between the game and
// the menus, whether the GUI is on, and the mouse cursor. The bodies are placeholders
// (GameHooksPlaceholder.cpp) until the program class lands; the names are its own.
#pragma once
#include "EngTypes.h"

typedef void (*GameSwitchCallback)();

// Leaves the game for the menu screen `screen` (a four-letter id), at once or at the end
// of a fade; `callback` (may be NULL) runs after the switch.
void GameGoFromGameToMenus(ScreenId screen, GameSwitchCallback callback, char now);
void GameGoFromMenusToGame(GameSwitchCallback callback, char now);
// Whether the GUI is on (menus showing); a landing that ended the level into a menu
// stops the game tick, and a shot is refused.
bool GameIsGuiOn();
// The screen the last switch to the menus asked for, -1 none.
ScreenId GameGetTargetScreen();
class UserClass;
// The program's one player object (NULL before start-up and after shut-down).
UserClass *GameGetUser();
void GameSetUser(UserClass *user);
// After a player was created or loaded: options into the working copy, on to the menus.
void GameAfterUserCreatedOrLoaded();
// Shows the mouse cursor for the game-over menu box; first moved to the window's
// centre in windowed mode.
void GameShowMouseCursor();
