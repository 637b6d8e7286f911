// The select screen ('uSEL', collection "UserSelect") of large-screen devices: the
// players screen and the player list in one. Registered on the desktop too, but never
// the first screen there.
#pragma once
#include "MWin.h"
#include "UserList.h"

class UserScreens;

class UserSelectCollectionController : public MWinCollectionController
{
public:
    UserSelectCollectionController();
    void SetScreensVar(MWinScreens *screens);
    bool CreateCollection(MWin *mwin) override;
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop);
};

class UserSelectCC : public UserSelectCollectionController
{
public:
    UserSelectCC(MWinScreens *screens, UserScreens *owner);
    void StartingCB(void *data) override;
    void TickCB() override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
    // 0 idle, 1 waiting, 2 loading the last player by itself.
    int GetAutoLoadState() const { return autoLoadState; }

    static void DeletePanelAnsweredCB(MWin *mwin, char value, void *user);
    static void DeleteConfirmedCB(MWin *mwin, char value, void *user);

private:
    void LoadPressedPlayer();
    void AutoLoadFailed();

    UserScreens *owner;
    int autoLoadState;
    double autoLoadTime;
    int deleteRow;
    char deleteName[USER_LIST_NAME_SIZE];
    char lastCountry[3];
    bool autoLoadFailed;
};

enum _UserSelectWidget
{
    USER_SELECT_NEW,
    USER_SELECT_TITLE_PIC,
    USER_SELECT_SEL_TEXT,
    USER_SELECT_PANEL,
    USER_SELECT_DELETE,
    USER_SELECT_EXIT,
    USER_SELECT_LANG_FLAG,
    USER_SELECT_NUM_WIDGETS,
};
MWinButton *UserSelectGetWidget(int widget);
