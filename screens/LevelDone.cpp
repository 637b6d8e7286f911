// The level done screen: its layout, the heading, the one-time entry of the score.
#include "LevelDone.h"

#include <cstdio>

#include "AppHooks.h"
#include "EngDebug.h"
#include "GameState.h"
#include "Pause.h"
#include "Plinx.h"
#include "PlinxScreens.h"
#include "SaveGame.h"
#include "Scores.h"
#include "ScreensBuild.h"

namespace
{

const _ScreensWidgetRow kNormal[LEVEL_DONE_NUM_WIDGETS] = {
    {"Play", MWIN_BUTTON_PUSH, "Start", "PLAY AGAIN", 244.62f, 310, 150.76f, 115, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"MainMenu", MWIN_BUTTON_PUSH, "Main", "MAIN MENU", 505, 430, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"GameText", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "STRATEGIC - VERY EASY", 111, 113, 422, 45, 1, 1, 1, 0.8f, 1.6f,
     1.74f, 1, 0.924f, 0.612f, 1, 1},
    {"CompletedText", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "GAME COMPLETED !", 111, 164, 422, 65, 1, 1, 1, 0.8f, 1.6f,
     1.74f, 1, 0.475f, 1, 0.6f, 1},
    {"ScoreText", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "SCORE: XXXXX", 111, 235, 422, 47, 1, 1, 1, 0.8f, 1.6f, 1.74f,
     1, 0.685f, 0.685f, 0.685f, 1},
};

const char *const kTypeWords[GAME_NUM_TYPES] = {"ARCADE", "STRATEGIC", "PUZZLE", "MY PUZZLES"};
const char *const kDifficultyWords[GAME_NUM_TYPES][7] = {
    {"EASY", "MEDIUM", "HARD", "VERY HARD", "", "", ""},
    {"SMALL", "MEDIUM", "BIG", "LARGE", "HUGE", "MASSIVE", ""},
    {"EASY", "MEDIUM", "HARD", "", "", "", ""},
    {"EASY", "MEDIUM", "HARD", "", "", "", ""},
};

struct LevelDoneScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[LEVEL_DONE_NUM_WIDGETS];
};
LevelDoneScreen s_levelDone = {};
// The finished game was entered in the scores: a second start of the screen for the same
// game (a rebuild, a return from another screen) must not enter it again.
bool s_scoreEntered = false;

MWinButton *W(int widget)
{
    return s_levelDone.widgets[widget];
}

} // namespace

MWinButton *LevelDoneGetWidget(int widget)
{
    return widget >= 0 && widget < LEVEL_DONE_NUM_WIDGETS ? s_levelDone.widgets[widget] : nullptr;
}

void LevelDoneMakeHeading(int gameType, int difficulty, const char *puzzleName, char *out, int outSize)
{
    if (gameType < 0 || gameType >= GAME_NUM_TYPES)
        gameType = GAME_TYPE_MY_PUZZLES;
    // The player's file may hold any byte: a difficulty outside the table names none.
    const char *word = difficulty >= 0 && difficulty < 7 ? kDifficultyWords[gameType][difficulty] : "";
    if (gameType == GAME_TYPE_MY_PUZZLES || gameType == GAME_TYPE_ARCADE)
        snprintf(out, outSize, "PUZZLE \"%s\"", puzzleName ? puzzleName : "");
    else
        snprintf(out, outSize, "%s - %s", kTypeWords[gameType], word);
}

void LevelDoneNewGameStarted()
{
    s_scoreEntered = false;
}

// ---- Layout ---------------------------------------------------------------------------------------

LevelDoneCollectionController::LevelDoneCollectionController()
{
    ClearButtonPointers();
}

void LevelDoneCollectionController::ClearButtonPointers()
{
    s_levelDone = {};
}

MWinCollection *LevelDoneCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_levelDone.collection = ScreensBuildCollection(mwin, desktop, "LevelDone", kNormal, LEVEL_DONE_NUM_WIDGETS,
                                                    s_levelDone.widgets, &s_levelDone.window, this);
    return s_levelDone.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

LevelDoneCC::LevelDoneCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void LevelDoneCC::StartingCB(void *data)
{
    _GameState &gs = GameState;
    const int gameType = gs.gameType;
    const int difficulty = gameType >= 0 && gameType < 3 ? gs.userOptions.difficulty[gameType] : 0;
    char heading[64];
    LevelDoneMakeHeading(gameType, difficulty, gs.puzzle.name, heading, sizeof(heading));
    if (W(LEVEL_DONE_GAME_TEXT))
        W(LEVEL_DONE_GAME_TEXT)->SetText(heading);
    if (gameType == GAME_TYPE_PUZZLE && W(LEVEL_DONE_PLAY))
        W(LEVEL_DONE_PLAY)->Hide();
    char score[32];
    snprintf(score, sizeof(score), "SCORE: %d", gs.score);
    if (W(LEVEL_DONE_SCORE_TEXT))
        W(LEVEL_DONE_SCORE_TEXT)->SetText(score);
    if (!s_scoreEntered)
    {
        s_scoreEntered = true;
        ScoresCheckGameOverScore();
        // The run is over: no older saved game of the type may be resumed later.
        if (gameType >= 0 && gameType < GAME_TYPE_MY_PUZZLES)
            SaveGameRemoveAnyCurrentSavedGame();
    }
    if (W(LEVEL_DONE_MAIN_MENU))
        W(LEVEL_DONE_MAIN_MENU)->SetEscapeButtonForParentWindow();
}

bool LevelDoneCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    if (button == W(LEVEL_DONE_PLAY))
    {
        LevelDoneNewGameStarted();
        if (GameState.gameType >= 0 && GameState.gameType < GAME_TYPE_MY_PUZZLES)
            SaveGameRemoveAnyCurrentSavedGame();
        AppGoFromMenusToGame(ScreensStartNewGame, 0);
        return true;
    }
    if (button == W(LEVEL_DONE_MAIN_MENU))
    {
        LevelDoneNewGameStarted();
        ScreensGotoGameSetUp(GetScreens());
        return true;
    }
    return false;
}
