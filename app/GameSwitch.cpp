// Switching between the menus and the game inside the fade, the end of the splash, and
// the player's save and after-load step.
#include <cstring>

#include "EngDebug.h"
#include "EngGlobals.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Game.h"
#include "GameFade.h"
#include "GameState.h"
#include "MWin.h"
#include "Plinx.h"
#include "PlinxScreens.h"
#include "Resolution.h"
#include "SaveGame.h"
#include "User.h"
#include "AppView.h"

_GameProgramState game_program = {0, 0, nullptr, GAME_TARGET_NONE, -1000.0f, 0, 0, 0, 0, 0};

namespace
{

void CentreMouseWhenWindowed()
{
    if (!EngScreenSettings.windowed || !eng_main_program)
        return;
    if (EngWindow *window = eng_main_program->GetMainWindow())
        window->SetMouseCursorPos(EngScreenSettings.width / 2, EngScreenSettings.height / 2);
}

void ShowCursor(bool show)
{
    if (!eng_main_program)
        return;
    if (EngWindow *window = eng_main_program->GetMainWindow())
        show ? window->ShowMouseCursor() : window->HideMouseCursor();
}

} // namespace

// ---- Player -----------------------------------------------------------------------------------------

void GameAfterUserCreatedOrLoaded()
{
    UserClass *user = GameGetUser();
    if (!user)
    {
        DebugError(ENG_FUNC, "No user object");
        return;
    }
    UserInfoAfterUserCreatedOrLoaded(user);
    AppViewAfterUserLoaded();
    if (_UserInfo *info = user->GetInfo(0))
        info->loadCounter++;
    if (mwin_object.HasScreens())
        mwin_object.GetScreens()->GotoScreen(plinx_screen_select, nullptr);
}

void GameSaveUser(char warn)
{
    UserClass *user = GameGetUser();
    if (!user)
    {
        if (warn)
            DebugNote(DEBUG_NOTE_STANDARD, "No user.");
        return;
    }
    if (!user->IsLoaded())
    {
        if (warn)
            DebugNote(DEBUG_NOTE_STANDARD, "User is not loaded.");
        return;
    }
    // Only a started game is saved: with the GUI off during the splash or a fade there
    // is no game, and saving one would overwrite the player's real saved game.
    if (game_program.gameRunning && !GameIsGuiOn() && GameState.gameType < GAME_TYPE_MY_PUZZLES &&
        !GameState.gameOver && !GameState.testMode)
        SaveGameToBeResumed(0);
    UserStoreWorkingOptions(user);
    user->Save(1);
    ResolutionUpdateSettingsFromCurrent();
    ResolutionSaveSettings();
}

// ---- Switching ----------------------------------------------------------------------------------------

bool GameIsGuiOn()
{
    return mwin_object.IsOn();
}

ScreenId GameGetTargetScreen()
{
    return game_program.targetScreen;
}

void GameSwitchToMenus()
{
    if (game_program.gameRunning)
        DebugInfo("Left the game after %d shots, score %d", game_program.shots, GameState.score);
    game_program.gameRunning = 0;
    GameMenuCreateGraphics();
    MWinScreens *screens = mwin_object.HasScreens() ? mwin_object.GetScreens() : nullptr;
    ScreenId target = game_program.targetScreen;
    if (screens && target >= 0)
    {
        // A screen that is not part of the program yet (the pause screen, the game
        // set-up screen) leaves the player on the main menu instead of nowhere.
        PlinxScreens *registry = static_cast<PlinxScreens *>(screens);
        if (!registry->HasScreen(target))
        {
            DebugInfo("Screen %c%c%c%c is not available: the main menu instead", (char)(target >> 24),
                      (char)(target >> 16), (char)(target >> 8), (char)target);
            target = plinx_screen_select;
        }
        screens->StartScreen(target, -1);
    }
    else if (screens && target == GAME_TARGET_FIRST_SCREEN)
        screens->Start(-1, true, true);
    AppViewStopBallEffects();
    AppViewStartMenuEffect();
    AppViewSetMusicVolume(GameState.userOptions.menuMusicVolume);
    CentreMouseWhenWindowed();
    ShowCursor(true);
}

void GameSwitchToGame()
{
    if (mwin_object.HasScreens())
        mwin_object.GetScreens()->End(-1);
    AppViewSetMusicVolume(GameState.userOptions.gameMusicVolume);
    AppViewStopMenuEffect();
    GameMenuReleaseGraphics();
    ShowCursor(false);
    CentreMouseWhenWindowed();
    game_program.lastMouseX = -1000.0f;
    game_program.gameOverButtonHeld = 0;
    game_program.gameRunning = 1;
    game_program.shots = 0;
    DebugInfo("Game started: %s", PlinxGetGameTypeName(GameState.gameType));
}

void GameGoFromGameToMenus(ScreenId screen, GameSwitchFn callback, char now)
{
    if (!now && GameFadeIsFadingOut())
    {
        DebugError(ENG_FUNC, "A switch is already under way; this one is refused");
        return;
    }
    game_program.targetScreen = screen;
    AppViewStopSoundLoops(1);
    if (now)
    {
        GameSwitchToMenus();
        if (callback)
            callback();
        return;
    }
    GameFadeStart(GameSwitchToMenus, callback, EngFrameTiming.currentTime);
}

void GameGoFromMenusToGame(GameSwitchFn callback, char now)
{
    if (now)
    {
        GameSwitchToGame();
        if (callback)
            callback();
        return;
    }
    GameFadeStart(GameSwitchToGame, callback, EngFrameTiming.currentTime);
}

void GameAfterSplashCB(void *context)
{
    // The menus play music and the game draws balls: the start is finished first, also
    // when the splash did not run or ended before its first frames.
    if (!GameFinishStart())
    {
        GameEndFailedStart();
        return;
    }
    AppViewSetMusicVolume(GameState.userOptions.menuMusicVolume);
    game_program.targetScreen = GAME_TARGET_FIRST_SCREEN;
    GameSwitchToMenus();
    GameGoFromGameToMenus(GAME_TARGET_NONE, nullptr, 0);
}
