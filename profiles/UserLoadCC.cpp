// The load screen: its layout, the player-name list it owns, loading, deleting, and the
// popup that offers to reset or delete a player whose file no longer loads.
#include "UserLoadCC.h"

#include <cstring>

#include "Country.h"
#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngProgram.h"
#include "User.h"
#include "UserNewCC.h"
#include "UserScreens.h"

namespace
{

const float W = 1.0f;
const _UserScreensWidget kWidgets[USER_LOAD_NUM_WIDGETS] = {
    {"Panel", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, "", nullptr, 200, 145, 240, 230, W, W, W, 0.7f, 1, 1.1f,
     MWIN_ALIGN_CENTRE, 0},
    {"Load", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Load User", "UserLoad_Load", 455, 145, 100, 35, W, W, W, 0.7f, 1,
     1.1f, MWIN_ALIGN_CENTRE, 0},
    {"Back", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Back", "Common_ButtonGoBack", 535, 430, 90, 35, W, W, W, 0.7f, 1,
     1.1f, MWIN_ALIGN_CENTRE, 0},
    {"SolTextPic", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", nullptr, 170, 10, 300, 90, W, W, W, 0.7f, 1, 1.1f,
     MWIN_ALIGN_CENTRE, 0},
    {"LoadProgress", MWIN_BUTTON_PUSH, "Back1", "Loading: 0%", nullptr, 200, 430, 240, 35, W, W, W, 0.7f, 1, 1.1f,
     MWIN_ALIGN_CENTRE, 0},
    {"Settings", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Settings", nullptr, 30, 340, 100, 35, W, W, W, 0.7f, 0.9f,
     0.95f, MWIN_ALIGN_CENTRE, 0},
    {"Delete", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Delete User", "UserLoad_Delete", 100, 145, 85, 30, W, W, W,
     0.7f, 0.9f, 0.95f, MWIN_ALIGN_CENTRE, 0},
};

struct UserLoadScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[USER_LOAD_NUM_WIDGETS];
};
UserLoadScreen s_load = {};

MWinButton *Widget(int widget)
{
    return s_load.widgets[widget];
}

const char *UserLoadPanelRowCB(int row, MWinButton *button, void *user)
{
    const char *name = UserListGetUserName(row);
    return name ? name : "";
}

// The row's player's flag at the right end of the row.
void UserSelectPanelExtraRenderCB(MWinButton *button, const _Dimension *area, int state, int row, void *user)
{
    const char *country = UserListGetUserCountryCode(row);
    if (country[0])
        CountryDrawFlagOnRightSideOfButton(CountryGetCountryNumFromCode(country, true), area);
}

MWin *ScreensMWin(MWinCollectionController *controller)
{
    return controller->GetScreens() ? controller->GetScreens()->GetMWin() : nullptr;
}

} // namespace

MWinButton *UserLoadGetWidget(int widget)
{
    return widget >= 0 && widget < USER_LOAD_NUM_WIDGETS ? s_load.widgets[widget] : nullptr;
}

// ---- Layout -------------------------------------------------------------------------------------

UserLoadCollectionController::UserLoadCollectionController()
{
    ClearButtonPointers();
}

void UserLoadCollectionController::SetScreensVar(MWinScreens *screens)
{
    DebugFatalIfFalseInFunction(screens && screens->GetMWin(), ENG_FUNC, "No screens");
    SetScreens(screens);
}

void UserLoadCollectionController::ClearButtonPointers()
{
    s_load = {};
}

bool UserLoadCollectionController::CreateCollection(MWin *mwin)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    return AddCollectionToDesktop(mwin, mwin->GetDesktop()) != nullptr;
}

MWinCollection *UserLoadCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_load.collection = UserScreensBuildScreen(this, mwin, desktop, "UserLoad", kWidgets, USER_LOAD_NUM_WIDGETS,
                                               s_load.widgets, &s_load.window);
    return s_load.collection;
}

// ---- The player-name list ----------------------------------------------------------------------------

void UserLoadCC::SetupUserNameList()
{
    UserListBuild();
}

int UserLoadCC::GetNumUsers()
{
    return UserListGetNumUsers();
}

const char *UserLoadCC::GetUserName(int index)
{
    return UserListGetUserName(index);
}

const char *UserLoadCC::GetUserCountryCode(int index)
{
    return UserListGetUserCountryCode(index);
}

void UserLoadCC::ClearUserNameList()
{
    UserListClear();
}

bool UserLoadCC::IsLastUserLoadedOk(char *alwaysLoad, char *country)
{
    SetupUserNameList();
    char name[USER_NAME_SIZE];
    EngSafeStrcpy(name, UserScreensGetLastPlayerName(), sizeof(name));
    if (!name[0])
        return false;
    UserClass *probe = new UserClass(nullptr, nullptr, 0);
    const bool loads = probe->LoadUser(name, 1, alwaysLoad, country) != 0;
    delete probe;
    return loads;
}

// ---- Behaviour -------------------------------------------------------------------------------------

UserLoadCC::UserLoadCC(MWinScreens *screens, UserScreens *ownerObject) : owner(ownerObject), chosenName{}
{
    DebugFatalIfFalseInFunction(owner != nullptr, ENG_FUNC, "No user screens");
    ClearButtonPointers();
    SetScreensVar(screens);
}

UserLoadCC::~UserLoadCC()
{
    UserListClear();
}

void UserLoadCC::StartingCB(void *data)
{
    if (Widget(USER_LOAD_BACK))
        Widget(USER_LOAD_BACK)->SetEscapeButtonForParentWindow();
    SetupUserNameList();
    const int players = GetNumUsers();
    if (MWinButton *panel = Widget(USER_LOAD_PANEL))
    {
        panel->PanelSetStringsCallback(players, 0, UserLoadPanelRowCB, nullptr);
        panel->PanelSetExtraRenderCallback(UserSelectPanelExtraRenderCB, nullptr);
    }
    for (int widget : {USER_LOAD_PANEL, USER_LOAD_LOAD, USER_LOAD_SETTINGS, USER_LOAD_DELETE})
        if (Widget(widget))
            Widget(widget)->SetEnabled(players > 0);
    if (Widget(USER_LOAD_SETTINGS))
        Widget(USER_LOAD_SETTINGS)->Hide();
    UserScreensCreateGraphics();
    UserScreensSetupTitlePicture(Widget(USER_LOAD_TITLE_PIC));
    if (!ModulesGetSetupInfo()->countryFeatureOff)
        CountryCreateGraphics();
    if (Widget(USER_LOAD_PROGRESS))
        Widget(USER_LOAD_PROGRESS)->Hide();
}

bool UserLoadCC::ChooseSelectedName()
{
    chosenName[0] = 0;
    MWinButton *panel = Widget(USER_LOAD_PANEL);
    const char *name = panel ? GetUserName(panel->PanelGetPos()) : nullptr;
    if (!name)
        return false;
    EngSafeStrcpy(chosenName, name, sizeof(chosenName));
    return true;
}

bool UserLoadCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    MWin *mwin = ScreensMWin(this);
    if (button == Widget(USER_LOAD_PANEL) || button == Widget(USER_LOAD_SETTINGS))
        return true;
    if (button == Widget(USER_LOAD_DELETE))
    {
        if (ChooseSelectedName() && mwin)
            mwin->PopupYesNo(EngLanguagesGetStringOrDefault("UserLoad_Delete", "Delete User?"),
                             EngLanguagesGetStringOrDefault("UserLoad_Confirm",
                                                            "Are you sure you want to delete this user?"),
                             DeleteConfirmedCB, this);
        return true;
    }
    if (button == Widget(USER_LOAD_LOAD))
    {
        if (ChooseSelectedName())
            LoadChosenUser();
        return true;
    }
    if (button == Widget(USER_LOAD_BACK))
    {
        GetScreens()->GoBack();
        return true;
    }
    return false;
}

void UserLoadCC::LoadChosenUser()
{
    UserClass *user = GameGetUser();
    if (user && user->LoadUser(chosenName, 0, nullptr, nullptr))
    {
        UserScreensAfterLoadOrCreate(user, 0);
        return;
    }
    MWin *mwin = ScreensMWin(this);
    if (!mwin)
        return;
    // Escape presses the second button: it must be the harmless one, so Delete goes to
    // the third place, which no key reaches.
    mwin->PopupSetButtonTexts("Reset", "Delete", "Cancel");
    mwin->PopupYesNoCancel("Unable to load player.",
                           "It is possible that this player file is not compatible with the version of the "
                           "program.\n\nDo you want to reset this player (all settings will be reset, but "
                           "statistics etc. may be recoverable), or completely delete this player?",
                           FailedLoadAnsweredCB, this);
}

void UserLoadCC::DeleteConfirmedCB(MWin *mwin, char value, void *user)
{
    if (value == 1 && user)
        ((UserLoadCC *)user)->DeleteSelectedUser(false);
}

void UserLoadCC::FailedLoadAnsweredCB(MWin *mwin, char value, void *user)
{
    UserLoadCC *self = (UserLoadCC *)user;
    if (!self)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return;
    }
    if (value == USER_LOAD_FAILED_DELETE)
    {
        self->DeleteSelectedUser(false);
        return;
    }
    if (value != USER_LOAD_FAILED_RESET)
        return;
    char name[sizeof(self->chosenName)];
    EngSafeStrcpy(name, self->chosenName, sizeof(name));
    if (!name[0])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return;
    }
    // The new-player screen makes the fresh player under the very same name; a name it
    // cannot hold is refused before anything is deleted.
    if (!UserNewCC::CanHoldName(name))
    {
        DebugError(ENG_FUNC, "Name too long to reset <%s>", name);
        if (mwin)
            mwin->PopupMessageText("Unable to reset this player.");
        return;
    }
    self->DeleteSelectedUser(true);
    MWinScreens *screens = self->GetScreens();
    screens->GotoScreen(user_screen_new, nullptr);
    self->owner->GetUserNewCC()->ResetAndLoadUser(name);
}

void UserLoadCC::DeleteSelectedUser(bool resetOnly)
{
    if (chosenName[0])
        UserDeleteUser(chosenName, resetOnly ? 1 : 0);
    StartingCB(nullptr);
}
