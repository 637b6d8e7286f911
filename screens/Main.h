// The game set-up screen ('MAIN', collection "Main"): the road into every game. It shows
// the game type chosen on the main menu with its choices (difficulty or size, starting
// level, system puzzle, own puzzle), starts a new game or resumes a saved one, keeps the
// own-puzzle list (create, edit, delete), and shows the local high scores of the type and
// difficulty, or their online list with its time range, with the last score's submission.
//
// The layout and behaviour live in Main.cpp; the score table (cells, rows, highlight and
// the online list) in MainScores.cpp.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class MWinTabPanel;

class MainCollectionController : public ScreensCollectionController
{
public:
    MainCollectionController();
    void SetScreensVar(MWinScreens *screens);
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class MainCC : public MainCollectionController
{
public:
    explicit MainCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    void TickCB() override;
    void RenderCB(int pass) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

// The widgets in the order they are added.
enum _MainWidget
{
    MAIN_GAME_BOX,
    MAIN_GAME_TYPE,
    MAIN_DIFFICULTY_TEXT,
    MAIN_DIFFICULTY,
    MAIN_MY_PUZZLE_TEXT,
    MAIN_MY_PUZZLE,
    MAIN_SPEED_TEXT,
    MAIN_SPEED,
    MAIN_STARTING_LEVEL_TEXT,
    MAIN_STARTING_LEVEL,
    MAIN_START_GAME,
    MAIN_PUZZLE_NEW,
    MAIN_PUZZLE_EDIT,
    MAIN_PUZZLE_DELETE,
    MAIN_SCORES_BOX,
    MAIN_SCORES,
    MAIN_ONLINE_SCORES,
    MAIN_SUBMIT_SCORE,
    MAIN_DELETE_SCORE,
    MAIN_UPDATE_SCORES,
    MAIN_SCORES_RANGE,
    MAIN_OPTIONS,
    MAIN_BACK,
    MAIN_INTERNET_WAIT,
    MAIN_DEBUG,
    MAIN_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise).
MWinButton *MainGetWidget(int widget);
MWinTabPanel *MainGetScoresTable();
// The GUI root of the registry the screen belongs to.
MWin *MainGetMWin();

// Refreshes the whole screen for the current game type; nothing when it is not built.
// The rules call it when a finished game's score went into the table.
void MainUpdateGameSetupButtons();
void MainRefreshGameSetupScreen();
// The next tick without a popup submits the last score online.
void MainRequestAutoSubmitScore();

// ---- The score table (MainScores.cpp) --------------------------------------------------------------
// Online range names by range number: "ALL TIME", "YEARLY", "MONTHLY", "WEEKLY", "DAILY".
const char *MainGetRangeName(int range);
// Whether the table shows the online list, and its range (1-4 once it was shown).
bool MainIsOnlineMode();
int MainGetOnlineRange();
// Rebuilds the table's columns and rows for the current mode, game type and difficulty;
// with `fetch` an online list is asked for (from its cache while that is fresh).
void MainSetupScoresTable(bool fetch);
// The cell texts (row -1: the heading); each text lasts until the next call.
const char *MainGetScoresCellText(int row, int column, MWinTabPanel *panel);
// The highlighted row (the last score) or -1.
int MainGetHighlightedRow();
void MainToggleOnlineScores();
void MainNextScoresRange();
// A new online list: `now` fetches at once, else a fresh cache serves; `dropCache` deletes
// the cached lists of the table first.
void MainRefreshOnlineScores(bool now, bool dropCache);
void MainSubmitScore();
// The table's per-frame work: the end of a fetch and the highlight's pulse.
void MainScoresTick(bool popupOn);
// Back to local scores with no online list (tests start each case from here).
void MainScoresReset();
