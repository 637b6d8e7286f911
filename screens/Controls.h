// The controls screen ('CTRL', collection "Controls"), reached from the options: the game's
// controls listed, and the mouse sensitivity bound to the player's options. BACK (or
// Escape) returns to the screen it was reached from. One geometry for every layout.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class ControlsCollectionController : public ScreensCollectionController
{
public:
    ControlsCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class ControlsCC : public ControlsCollectionController
{
public:
    explicit ControlsCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

// The widgets in the order they are added.
enum _ControlsWidget
{
    CONTROLS_BOX,
    CONTROLS_SENSITIVITY_TEXT,
    CONTROLS_SENSITIVITY,
    CONTROLS_AIM_MOUSE,
    CONTROLS_AIM_TEXT,
    CONTROLS_SHOOT_TEXT,
    CONTROLS_SHOOT_BUTTON,
    CONTROLS_SHOOT_KEY,
    CONTROLS_FULL_SCREEN_TEXT,
    CONTROLS_FULL_SCREEN_KEY,
    CONTROLS_PAUSE_TEXT,
    CONTROLS_PAUSE_KEY,
    CONTROLS_BACK,
    CONTROLS_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise), for the tests.
MWinButton *ControlsGetWidget(int widget);
