// The credits screen ('CRED', collection "Credits"): who made the game, its version, and
// the ways to the maker's forum and home page, the log viewer and back.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class CreditsCollectionController : public ScreensCollectionController
{
public:
    CreditsCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class CreditsCC : public CreditsCollectionController
{
public:
    explicit CreditsCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

enum _CreditsWidget
{
    CREDITS_EFFECTS_BOX,
    CREDITS_CREATED_BY,
    CREDITS_CREATOR,
    CREDITS_BACK,
    CREDITS_GAME_OVER_MUSIC_BY,
    CREDITS_GAME_OVER_MUSIC_CREATOR,
    CREDITS_CREATED_BY_2,
    CREDITS_CREATED_BY_3,
    CREDITS_CREATED_BY_4,
    CREDITS_CREATOR_2,
    CREDITS_VERSION,
    CREDITS_LOGS,
    CREDITS_FORUMS,
    CREDITS_HOME_PAGE,
    CREDITS_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise).
MWinButton *CreditsGetWidget(int widget);
