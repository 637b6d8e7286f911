// The program's answers to what the rules and the player module ask of the layers above
// them (AppHooks.h), handed over once at start-up.
#include "AppHooks.h"
#include "EngDebug.h"
#include "EngGlobals.h"
#include "EngProgram.h"
#include "EngMemory.h"
#include "EngPicture.h"
#include "EngWindow.h"
#include "Game.h"
#include "GameState.h"
#include "Main.h"
#include "MWin.h"
#include "Options.h"
#include "Pause.h"
#include "Resolution.h"
#include "UserList.h"

namespace
{

// The rules ask for the cursor when a game is over and its box shows.
void ShowMouseCursorCB()
{
    DebugInfo("Game over, score %d", GameState.score);
    if (!eng_main_program || !eng_main_program->GetMainWindow())
        return;
    EngWindow *window = eng_main_program->GetMainWindow();
    if (EngScreenSettings.windowed)
        window->SetMouseCursorPos(EngScreenSettings.width / 2, EngScreenSettings.height / 2);
    window->ShowMouseCursor();
}

void GotoMenuScreenCB(ScreenId screen)
{
    if (mwin_object.HasScreens())
        mwin_object.GetScreens()->GotoScreen(screen, nullptr);
}

ScreenId GetMenuScreenCB()
{
    return mwin_object.HasScreens() ? mwin_object.GetScreens()->GetCurrentScreen() : 0;
}

const char *GetLastPlayerNameCB()
{
    const ResolutionSettings *settings = ResolutionGetSettings();
    return settings ? settings->lastPlayerName : "";
}

void SetLastPlayerNameCB(const char *name)
{
    ResolutionSettings *settings = ResolutionGetSettings();
    if (!settings)
        return;
    EngSafeStrcpy(settings->lastPlayerName, name ? name : "", sizeof(settings->lastPlayerName));
    ResolutionSaveSettings();
}

void RegisterPictureHookCB(ModulesTextureOverwriteFn hook)
{
    EngPictureSetTextureFileOverwriteCB(hook);
}

} // namespace

void GameRegisterHooks()
{
    _AppHooks hooks = {};
    hooks.goFromGameToMenus = GameGoFromGameToMenus;
    hooks.goFromMenusToGame = GameGoFromMenusToGame;
    hooks.isGuiOn = GameIsGuiOn;
    hooks.getTargetScreen = GameGetTargetScreen;
    hooks.afterUserCreatedOrLoaded = GameAfterUserCreatedOrLoaded;
    hooks.showMouseCursor = ShowMouseCursorCB;
    hooks.pauseShowStartNewGame = PauseShowStartNewGame;
    hooks.gotoMenuScreen = GotoMenuScreenCB;
    hooks.getMenuScreen = GetMenuScreenCB;
    hooks.askAutoSubmitScores = OptionsAskAutoSubmitScores;
    hooks.updateGameSetupButtons = MainUpdateGameSetupButtons;
    hooks.requestAutoSubmitScore = MainRequestAutoSubmitScore;
    hooks.getLastPlayerName = GetLastPlayerNameCB;
    hooks.setLastPlayerName = SetLastPlayerNameCB;
    hooks.registerPictureHook = RegisterPictureHookCB;
    hooks.clearUserNameList = UserListClear;
    AppSetHooks(&hooks);
}
