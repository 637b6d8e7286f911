// The load screen ('uLOD', collection "UserLoad"): the players of the "Users" folder
// with their flags; load, delete, and for a player file that no longer loads, reset or
// delete. It owns the player-name list the other profile screens read (UserList).
#pragma once
#include "MWin.h"
#include "UserList.h"

class UserScreens;

class UserLoadCollectionController : public MWinCollectionController
{
public:
    UserLoadCollectionController();
    void SetScreensVar(MWinScreens *screens);
    bool CreateCollection(MWin *mwin) override;
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop);
};

class UserLoadCC : public UserLoadCollectionController
{
public:
    UserLoadCC(MWinScreens *screens, UserScreens *owner);
    ~UserLoadCC() override;
    void StartingCB(void *data) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // The player-name list (UserList.h).
    void SetupUserNameList();
    int GetNumUsers();
    const char *GetUserName(int index);        // NULL for a bad index
    const char *GetUserCountryCode(int index); // "" for a bad index
    void ClearUserNameList();
    // Rebuilds the list; false when no last player is named, else whether the last
    // player's file loads (probed quietly: its always-load byte and country).
    bool IsLastUserLoadedOk(char *alwaysLoad, char *country);
    // Deletes (or with `resetOnly` resets) the player chosen at the press, then starts
    // the screen again.
    void DeleteSelectedUser(bool resetOnly);
    // The player the last Load or Delete press chose ("" none).
    const char *GetChosenName() const { return chosenName; }

    // The two popups' answers (the popups call them on the tick after the press).
    static void DeleteConfirmedCB(MWin *mwin, char value, void *user);
    static void FailedLoadAnsweredCB(MWin *mwin, char value, void *user);

private:
    // Takes the selected row's name; false (and "") when no row is selected.
    bool ChooseSelectedName();
    void LoadChosenUser();

    UserScreens *owner;
    char chosenName[USER_LIST_NAME_SIZE];
};

// The answers of the failed-load popup: its first button resets the player, its third
// deletes it, and its second (the one Escape presses) leaves everything as it was.
enum
{
    USER_LOAD_FAILED_RESET = 1,
    USER_LOAD_FAILED_CANCEL = 0,
    USER_LOAD_FAILED_DELETE = 2,
};

enum _UserLoadWidget
{
    USER_LOAD_PANEL,
    USER_LOAD_LOAD,
    USER_LOAD_BACK,
    USER_LOAD_TITLE_PIC,
    USER_LOAD_PROGRESS,
    USER_LOAD_SETTINGS,
    USER_LOAD_DELETE,
    USER_LOAD_NUM_WIDGETS,
};
MWinButton *UserLoadGetWidget(int widget);
