// The level done screen ('LVDN', collection "LevelDone"): a completed PUZZLE difficulty
// or a solved own puzzle. Names what was completed, shows the score, enters the game in
// the local high scores once, and offers PLAY AGAIN and MAIN MENU.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class LevelDoneCollectionController : public ScreensCollectionController
{
public:
    LevelDoneCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class LevelDoneCC : public LevelDoneCollectionController
{
public:
    explicit LevelDoneCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

enum _LevelDoneWidget
{
    LEVEL_DONE_PLAY,
    LEVEL_DONE_MAIN_MENU,
    LEVEL_DONE_GAME_TEXT,
    LEVEL_DONE_COMPLETED_TEXT,
    LEVEL_DONE_SCORE_TEXT,
    LEVEL_DONE_NUM_WIDGETS,
};
MWinButton *LevelDoneGetWidget(int widget);

// The heading for a game type, its difficulty and the puzzle's name: "PUZZLE - HARD",
// "STRATEGIC - BIG", or PUZZLE "name" for an own puzzle. `out` holds at least 64 bytes.
void LevelDoneMakeHeading(int gameType, int difficulty, const char *puzzleName, char *out, int outSize);
// A new finished game may be entered in the scores when the screen next starts.
void LevelDoneNewGameStarted();
