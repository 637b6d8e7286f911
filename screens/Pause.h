// The pause screen ('PAUS', collection "Pause"): shown over a running game on Escape and
// after a saved game was resumed. Back to the game, save it for later, give it up, or
// the options.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class PauseCollectionController : public ScreensCollectionController
{
public:
    PauseCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class PauseCC : public PauseCollectionController
{
public:
    explicit PauseCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

enum _PauseWidget
{
    PAUSE_RESUME,
    PAUSE_QUIT,
    PAUSE_SAVE,
    PAUSE_OPTIONS,
    PAUSE_DEBUG,
    PAUSE_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise), for the tests.
MWinButton *PauseGetWidget(int widget);

// The quit button reads "START NEW GAME" the next time the screen starts (after a
// resumed game). The program hands it to the rules as pauseShowStartNewGame.
void PauseShowStartNewGame();
// Back to the game where it stopped, through the program's fade; the game sounds take
// the volume the options may have changed.
void PauseResumeGame();
// The new-game routine the menus hand to the program's switch: a new game of the
// current game type starts (no saved grid is carried over), whose end the level done
// screen may enter in the scores again.
void ScreensStartNewGame();
// The game set-up screen.
void ScreensGotoGameSetUp(MWinScreens *screens);
