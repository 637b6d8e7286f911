// The main menu ('SLCT', collection "Select"): the current player, the four game types,
// and the ways to the credits, other-games, help and options screens, back to the player
// screens and out of the program.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class SelectCollectionController : public ScreensCollectionController
{
public:
    SelectCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
    // The window "MainWin" and its widgets for a screen layout (any value outside the
    // five layouts builds Normal).
    MWinWindow *AddMainWinWindowToCollection(MWinCollection *collection, int layout);
    bool AddMainWinWindowButtonsToWindow(MWinWindow *window, int layout);
};

class SelectCC : public SelectCollectionController
{
public:
    explicit SelectCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    void TickCB() override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
    void OtherGamesCB();
};

// The widgets of the main menu while it is built (NULL otherwise), for the tests.
enum _SelectWidget
{
    SELECT_TEXT,
    SELECT_PLAYER,
    SELECT_ARCADE,
    SELECT_STRATEGIC,
    SELECT_PUZZLE,
    SELECT_MY_PUZZLES,
    SELECT_CREDITS,
    SELECT_OTHER_GAMES,
    SELECT_HELP,
    SELECT_OPTIONS,
    SELECT_EXIT,
    SELECT_DEBUG,
    SELECT_REVIEW,
    SELECT_NUM_WIDGETS,
};
MWinButton *SelectGetWidget(int widget);

// Makes `gameType` the player's game type and goes to the game set-up screen, where its
// game starts (or its saved game resumes). False for a bad type or a failed change.
bool SelectStartGameType(MWinScreens *screens, int gameType);
