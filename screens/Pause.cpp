// The pause screen: its layout and its four ways out.
#include "Pause.h"

#include <cstring>

#include "AppHooks.h"
#include "EngDebug.h"
#include "GameState.h"
#include "LevelDone.h"
#include "Plinx.h"
#include "PlinxScreens.h"
#include "SaveGame.h"
#include "ScreensBuild.h"
#include "ViewHooks.h"

namespace
{

const _ScreensWidgetRow kNormal[PAUSE_NUM_WIDGETS] = {
    {"Resume", MWIN_BUTTON_PUSH, "Start", "RESUME", 262.5f, 187.5f, 115, 105, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"Quit", MWIN_BUTTON_PUSH, "Main", "QUIT GAME", 246.61f, 370, 146.79f, 46, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"Save", MWIN_BUTTON_PUSH, "Main", "CONTINUE GAME LATER", 204, 305, 232.01f, 48, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"Options", MWIN_BUTTON_PUSH, "Main", "OPTIONS", 505, 430, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"Debug", MWIN_BUTTON_PUSH, "Main", "Debug", 5, 5, 60, 25, 1, 1, 1, 0.7f, 0.9f, 0.95f, 1, 1, 1, 1, 0.374f},
};

struct PauseScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[PAUSE_NUM_WIDGETS];
};
PauseScreen s_pause = {};
bool s_showStartNewGame = false;

MWinButton *W(int widget)
{
    return s_pause.widgets[widget];
}

void Goto(MWinScreens *screens, ScreenId id)
{
    if (screens)
        screens->GotoScreen(id, nullptr);
}

} // namespace

MWinButton *PauseGetWidget(int widget)
{
    return widget >= 0 && widget < PAUSE_NUM_WIDGETS ? s_pause.widgets[widget] : nullptr;
}

void PauseShowStartNewGame()
{
    s_showStartNewGame = true;
}

void PauseResumeGame()
{
    AppGoFromMenusToGame(nullptr, 0);
    ViewSoundUpdateGameSoundsVolume();
}

void ScreensGotoGameSetUp(MWinScreens *screens)
{
    if (screens)
        screens->GotoScreen(plinx_screen_main, nullptr);
}

void ScreensStartNewGame()
{
    _GameState &gs = GameState;
    LevelDoneNewGameStarted();
    gs.gridGiven = 0;
    gs.testMode = 0;
    PlinxStartGame();
}

// ---- Layout ---------------------------------------------------------------------------------------

PauseCollectionController::PauseCollectionController()
{
    ClearButtonPointers();
}

void PauseCollectionController::ClearButtonPointers()
{
    s_pause = {};
}

MWinCollection *PauseCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_pause.collection = ScreensBuildCollection(mwin, desktop, "Pause", kNormal, PAUSE_NUM_WIDGETS, s_pause.widgets,
                                                &s_pause.window, this);
    return s_pause.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

PauseCC::PauseCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void PauseCC::StartingCB(void *data)
{
    if (W(PAUSE_DEBUG))
        W(PAUSE_DEBUG)->Hide();
    if (s_showStartNewGame && W(PAUSE_QUIT))
        W(PAUSE_QUIT)->SetText("START NEW GAME");
    s_showStartNewGame = false;
    ScreensEnableWhenRegistered(GetScreens(), W(PAUSE_OPTIONS), plinx_screen_options);
    // Saved games exist for ARCADE, STRATEGIC and PUZZLE only: an own puzzle cannot be
    // kept for later.
    if (W(PAUSE_SAVE))
        W(PAUSE_SAVE)->SetEnabled(GameState.gameType >= GAME_TYPE_ARCADE && GameState.gameType < GAME_TYPE_MY_PUZZLES);
}

bool PauseCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    MWinScreens *screens = GetScreens();
    if (button == W(PAUSE_RESUME))
    {
        PauseResumeGame();
        return true;
    }
    if (button == W(PAUSE_QUIT))
    {
        // Given up for good: its saved game must not come back later.
        SaveGameRemoveAnyCurrentSavedGame();
        ScreensGotoGameSetUp(screens);
        return true;
    }
    if (button == W(PAUSE_SAVE))
    {
        // On failure the screen stays, so the player can resume or quit.
        if (SaveGameToBeResumed(0))
            Goto(screens, plinx_screen_select);
        else if (MWin *mwin = screens ? screens->GetMWin() : nullptr)
            mwin->PopupMessage("ERROR", "PROBLEM SAVING GAME");
        return true;
    }
    if (button == W(PAUSE_OPTIONS))
    {
        // Back from the options, the quit button keeps the words it has now.
        if (W(PAUSE_QUIT) && !strcmp(W(PAUSE_QUIT)->GetTextP(), "START NEW GAME"))
            PauseShowStartNewGame();
        Goto(screens, plinx_screen_options);
        return true;
    }
    return false;
}
