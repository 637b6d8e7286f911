// The puzzle properties screen ('CPPR', collection "CpProps"): the settings of the own
// puzzle being made (name, width, ball types, the move amounts, the suggested difficulty
// and level) and the ways to the editor, a test run, the upload, the help page and back
// to the game set-up screen. It edits GameState.puzzle in place; the name alone is applied
// when the screen is left.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class CpPropsCollectionController : public ScreensCollectionController
{
public:
    CpPropsCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class CpPropsCC : public CpPropsCollectionController
{
public:
    explicit CpPropsCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    void TickCB() override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

enum _CpPropsWidget
{
    CPPROPS_NAME_TEXT,
    CPPROPS_NAME,
    CPPROPS_WIDTH_TEXT,
    CPPROPS_WIDTH,
    CPPROPS_BALL_TYPES_TEXT,
    CPPROPS_BALL_TYPES,
    CPPROPS_MOVE_DOWN_TEXT,
    CPPROPS_MOVE_DOWN,
    CPPROPS_FALL_UP_TEXT,
    CPPROPS_FALL_UP,
    CPPROPS_REMOVE_UP_TEXT,
    CPPROPS_REMOVE_UP,
    CPPROPS_LAND_UP_TEXT,
    CPPROPS_LAND_UP,
    CPPROPS_DIFF_TEXT,
    CPPROPS_DIFF,
    CPPROPS_LEVEL_TEXT,
    CPPROPS_LEVEL,
    CPPROPS_EDIT,
    CPPROPS_TEST,
    CPPROPS_QUIT,
    CPPROPS_SEND,
    CPPROPS_HELP,
    CPPROPS_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise).
MWinButton *CpPropsGetWidget(int widget);

// The set-up screen's way in: `name` (an own puzzle) is loaded, NULL makes a new puzzle
// under the first free name "UNTITLED", "UNTITLED 2", ...; the editor is prepared and the
// screen shown. False (logged) when the puzzle could not be loaded or prepared.
bool PuzzlePropertiesShow(MWinScreens *screens, const char *name);

// A typed name as an own puzzle may carry it: characters a puzzle file name cannot hold
// dropped, spaces and dots trimmed from both ends, upper case, at most 15 characters.
// Empty when nothing is left.
void CpPropsCleanName(const char *typed, char *out, int size);
// True when another own puzzle has `name` (letter case aside); the list is read again first.
bool CpPropsIsNameTaken(const char *name);
// A cleaned name that cannot become an own puzzle's: empty, not a file name, or another
// own puzzle's. True (logged, a popup saying why) when refused; `typed` is what was typed.
bool CpPropsRefuseName(MWin *mwin, const char *name, const char *typed);
// Gives the current puzzle the name `typed` (cleaned first): saved under the new name,
// then the old files removed and the lists read again. Refused (false, a popup saying
// why, the puzzle and its files as they were) for an empty name, one another own puzzle
// has, or a save that fails. The same name changes nothing (true).
bool CpPropsApplyName(MWin *mwin, const char *typed);
