// The players screen ('uUSR', collection "Users"), the first screen after the splash:
// continue with the last player (by itself 0.1 s after the start when that player is
// always loaded), a new player, the load screen, the language and the way out.
#pragma once
#include "MWin.h"

class UserScreens;

class UsersCollectionController : public MWinCollectionController
{
public:
    UsersCollectionController();
    void SetScreensVar(MWinScreens *screens);
    bool CreateCollection(MWin *mwin) override;
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop);
};

class UsersCC : public UsersCollectionController
{
public:
    UsersCC(MWinScreens *screens, UserScreens *owner);
    void StartingCB(void *data) override;
    void TickCB() override;
    void RenderCB(int pass) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
    // Loads the last player and goes on to the main menu; a failure brings back the
    // whole screen with a message.
    void ContinueCB();
    // The time of the automatic continue (engine seconds), 0 when none is armed.
    double GetAutoContinueTime() const { return autoContinueTime; }

private:
    UserScreens *owner;
    double autoContinueTime;
    char alwaysLoad;
    char lastCountry[3];
    // The screen was started to load the last player by itself.
    bool autoMode;
    // Once an automatic continue failed, this run continues only when asked.
    bool autoContinueFailed;
};

// The widgets while the screen is built (NULL otherwise), in the order they are added.
enum _UsersWidget
{
    USERS_CONTINUE,
    USERS_NEW,
    USERS_IMPORT,
    USERS_MANAGE,
    USERS_DEVICE,
    USERS_EXIT,
    USERS_TITLE_PIC,
    USERS_LOAD_PROGRESS,
    USERS_ALWAYS_LOAD,
    USERS_LANG_FLAG,
    USERS_NUM_WIDGETS,
};
MWinButton *UsersGetWidget(int widget);
