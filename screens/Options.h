// The options screen ('OPTN', collection "Options"): the current player's effect levels,
// the four volumes, whether the start-up settings window shows at program start,
// automatic score submission, the online position display, clearing the local high
// scores, and the way to the controls screen. Every choice is bound straight to a byte of
// the working options, so a change is made the moment it is chosen; the volumes are heard
// at once. BACK (or Escape) returns to the screen the options were reached from.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class OptionsCollectionController : public ScreensCollectionController
{
public:
    OptionsCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class OptionsCC : public OptionsCollectionController
{
public:
    explicit OptionsCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

// The widgets in the order they are added.
enum _OptionsWidget
{
    OPTIONS_EFFECTS_BOX,
    OPTIONS_EFFECTS_TITLE,
    OPTIONS_MENU_EFFECTS_TEXT,
    OPTIONS_MENU_EFFECTS,
    OPTIONS_GAME_EFFECTS_TEXT,
    OPTIONS_GAME_EFFECTS,
    OPTIONS_BACK,
    OPTIONS_SOUND_BOX,
    OPTIONS_VOLUMES_TITLE,
    OPTIONS_MENU_MUSIC_TEXT,
    OPTIONS_MENU_MUSIC,
    OPTIONS_GAME_MUSIC_TEXT,
    OPTIONS_GAME_MUSIC,
    OPTIONS_GAME_OVER_MUSIC_TEXT,
    OPTIONS_GAME_OVER_MUSIC,
    OPTIONS_GAME_SOUNDS_TEXT,
    OPTIONS_GAME_SOUNDS,
    OPTIONS_CONTROLS_BOX,
    OPTIONS_MISC_TITLE,
    OPTIONS_CONTROLS,
    OPTIONS_CLEAR_SCORES,
    OPTIONS_STARTUP,
    OPTIONS_POWER_TEXT,
    OPTIONS_POWER,
    OPTIONS_POWER_INFO,
    OPTIONS_AUTO_SUBMIT,
    OPTIONS_SCORES_PLACE,
    OPTIONS_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise), for the tests.
MWinButton *OptionsGetWidget(int widget);

// The yes/no popup "AUTO SUBMIT SCORES" on the GUI root: Yes turns automatic submission on
// and asks the game set-up screen to submit the last score; No turns it off and says how to
// submit by hand. Also asked after the player's first game over.
void OptionsAskAutoSubmitScores();
