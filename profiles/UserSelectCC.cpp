// The select screen of large-screen devices: its layout and behaviour (see
// UserSelectCC.h). A press on a row loads that player.
#include "UserSelectCC.h"

#include <cstring>

#include "Country.h"
#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "User.h"
#include "UserLoadCC.h"
#include "UserScreens.h"

namespace
{

const float W = 1.0f;
const _UserScreensWidget kWidgets[USER_SELECT_NUM_WIDGETS] = {
    {"New", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Setup Player", nullptr, 489.34f, 324.74f, 140.66f, 45.54f, W, W, W,
     0.7f, 1, 1, MWIN_ALIGN_CENTRE, 0},
    {"TitlePic", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "", nullptr, 120, 5, 400, 90, 0, 0, 0, 0.8f, 1, 1.3f,
     MWIN_ALIGN_CENTRE, 0},
    {"SelText", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "Select Player", nullptr, 10.29f, 302.06f, 139.25f, 18.08f, W, W,
     W, 0.7f, 1, 1, MWIN_ALIGN_CENTRE, 0},
    {"Panel", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, "", nullptr, 10.29f, 324.74f, 139.25f, 139.47f, W, W, W, 0.7f, 1,
     1, MWIN_ALIGN_CENTRE, 0},
    {"Delete", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Delete Player", "UserLoad_Delete", 489.34f, 375.04f, 140.66f,
     25.48f, W, W, W, 0.7f, 1, 1, MWIN_ALIGN_CENTRE, 0},
    {"Exit", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Exit", nullptr, 489.34f, 438.73f, 140.66f, 25.48f, W, W, W, 0.7f, 1,
     1, MWIN_ALIGN_CENTRE, 0},
    {"LangFlag", MWIN_BUTTON_PUSH, "Main", "", nullptr, 590, 5, 45, 35, W, W, W, 0.7f, 1, 1, MWIN_ALIGN_RIGHT, 0},
};

struct UserSelectScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[USER_SELECT_NUM_WIDGETS];
};
UserSelectScreen s_select = {};
int s_deleteSelection = 0;

MWinButton *Widget(int widget)
{
    return s_select.widgets[widget];
}

const char *UserSelectRowCB(int row, MWinButton *button, void *user)
{
    const char *name = UserListGetUserName(row);
    return name ? name : "";
}

void UserSelectRowFlagCB(MWinButton *button, const _Dimension *area, int state, int row, void *user)
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

MWinButton *UserSelectGetWidget(int widget)
{
    return widget >= 0 && widget < USER_SELECT_NUM_WIDGETS ? s_select.widgets[widget] : nullptr;
}

// ---- Layout -------------------------------------------------------------------------------------

UserSelectCollectionController::UserSelectCollectionController()
{
    ClearButtonPointers();
}

void UserSelectCollectionController::SetScreensVar(MWinScreens *screens)
{
    DebugFatalIfFalseInFunction(screens && screens->GetMWin(), ENG_FUNC, "No screens");
    SetScreens(screens);
}

void UserSelectCollectionController::ClearButtonPointers()
{
    s_select = {};
}

bool UserSelectCollectionController::CreateCollection(MWin *mwin)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    return AddCollectionToDesktop(mwin, mwin->GetDesktop()) != nullptr;
}

MWinCollection *UserSelectCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_select.collection = UserScreensBuildScreen(this, mwin, desktop, "UserSelect", kWidgets,
                                                 USER_SELECT_NUM_WIDGETS, s_select.widgets, &s_select.window);
    return s_select.collection;
}

// ---- Behaviour -------------------------------------------------------------------------------------

UserSelectCC::UserSelectCC(MWinScreens *screens, UserScreens *ownerObject)
    : owner(ownerObject), autoLoadState(0), autoLoadTime(0), deleteRow(0), deleteName{}, lastCountry{},
      autoLoadFailed(false)
{
    DebugFatalIfFalseInFunction(owner != nullptr, ENG_FUNC, "No user screens");
    ClearButtonPointers();
    SetScreensVar(screens);
}

void UserSelectCC::StartingCB(void *data)
{
    autoLoadState = 0;
    UserLoadCC *loadCC = owner->GetUserLoadCC();
    loadCC->SetupUserNameList();
    const int players = loadCC->GetNumUsers();
    if (MWinButton *panel = Widget(USER_SELECT_PANEL))
    {
        panel->PanelSetStringsCallback(players, 0, UserSelectRowCB, nullptr);
        panel->PanelSetExtraRenderCallback(UserSelectRowFlagCB, nullptr);
        panel->SetEnabled(players > 0);
    }
    if (Widget(USER_SELECT_DELETE))
        Widget(USER_SELECT_DELETE)->SetEnabled(players > 0);
    if (Widget(USER_SELECT_NEW))
        Widget(USER_SELECT_NEW)->Enable();

    UserScreensCreateGraphics();
    UserScreensSetupTitlePicture(Widget(USER_SELECT_TITLE_PIC));
    UserScreensSetupLanguageFlagButton(ScreensMWin(this), Widget(USER_SELECT_LANG_FLAG));
    if (!ModulesGetSetupInfo()->countryFeatureOff)
        CountryCreateGraphics();

    char alwaysLoad = 0;
    const bool lastLoads = loadCC->IsLastUserLoadedOk(&alwaysLoad, lastCountry);
    const char *lastName = UserScreensGetLastPlayerName();
    if (lastLoads && Widget(USER_SELECT_PANEL))
    {
        const int row = UserListFindUser(lastName);
        if (row >= 0)
        {
            Widget(USER_SELECT_PANEL)->PanelSetPos(row, 0, 0);
            Widget(USER_SELECT_PANEL)->PanelCenterOnPos();
        }
    }
    if (lastLoads && alwaysLoad && !autoLoadFailed)
    {
        for (int widget : {USER_SELECT_NEW, USER_SELECT_DELETE, USER_SELECT_PANEL})
            if (Widget(widget))
                Widget(widget)->Disable();
        if (Widget(USER_SELECT_LANG_FLAG))
            Widget(USER_SELECT_LANG_FLAG)->Hide();
        if (MWinButton *text = Widget(USER_SELECT_SEL_TEXT))
        {
            char loading[128];
            if (!EngLanguagesDoesTokenExist("Users_LoadingPlayer") ||
                !EngLanguagesSetStringFromTokenWith1Arg("Users_LoadingPlayer", lastName, loading, sizeof(loading)))
                snprintf(loading, sizeof(loading), "Loading player %s...", lastName);
            text->SetText(loading);
        }
        autoLoadTime = EngFrameTiming.currentTime + 0.1;
        autoLoadState = 1;
    }
    if (Widget(USER_SELECT_NEW))
        Widget(USER_SELECT_NEW)->SetText(EngLanguagesGetStringOrDefault("Users_New", "New Player"));
}

void UserSelectCC::TickCB()
{
    if (autoLoadState == 1 && EngFrameTiming.currentTime >= autoLoadTime)
    {
        autoLoadState = 2;
        autoLoadTime = EngFrameTiming.currentTime + 0.25;
        return;
    }
    if (autoLoadState != 2)
        return;
    UserClass *user = GameGetUser();
    char name[USER_NAME_SIZE];
    EngSafeStrcpy(name, UserScreensGetLastPlayerName(), sizeof(name));
    if (user && name[0] && user->LoadUser(name, 0, nullptr, nullptr))
    {
        autoLoadState = 0;
        UserScreensAfterLoadOrCreate(user, 0);
        return;
    }
    AutoLoadFailed();
}

void UserSelectCC::AutoLoadFailed()
{
    // Not again each frame: the screen comes back whole, with the reason.
    autoLoadFailed = true;
    GetScreens()->ReloadCurrentScreen();
    if (MWin *mwin = ScreensMWin(this))
        mwin->PopupMessage(EngLanguagesGetStringOrDefault("Common_Error", "Error"), "Unable to load user.");
}

void UserSelectCC::LoadPressedPlayer()
{
    const bool ticked = false; // the desktop layout has no always-load box
    autoLoadState = 0;
    MWinButton *panel = Widget(USER_SELECT_PANEL);
    const char *name = panel ? UserListGetUserName(panel->PanelGetPos()) : nullptr;
    if (!name)
        return;
    char chosen[USER_LIST_NAME_SIZE];
    EngSafeStrcpy(chosen, name, sizeof(chosen));
    MWin *mwin = ScreensMWin(this);
    if (mwin)
        mwin->PopupNoticeDrawNow("", EngLanguagesGetStringOrDefault("Common_Loading", "Loading..."));
    UserClass *user = GameGetUser();
    if (user && user->LoadUser(chosen, 0, nullptr, nullptr))
    {
        UserScreensAfterLoadOrCreate(user, 0);
        if (ticked)
            user->AlwaysLoadThisUser(1);
        return;
    }
    if (mwin)
        mwin->PopupMessage("Error", "Unable to load user.");
}

bool UserSelectCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    MWin *mwin = ScreensMWin(this);
    if (button == Widget(USER_SELECT_PANEL))
    {
        LoadPressedPlayer();
        return true;
    }
    if (button == Widget(USER_SELECT_DELETE))
    {
        autoLoadState = 0;
        s_deleteSelection = 0;
        int *selection = &s_deleteSelection;
        const float width = EngMiscGetScreenLayout(-1) == SCREEN_LAYOUT_IPHONE_PORTRAIT ||
                                    EngMiscGetScreenLayout(-1) == SCREEN_LAYOUT_IPAD_PORTRAIT
                                ? 560.0f
                                : 400.0f;
        if (mwin)
            mwin->PopupPanel(EngLanguagesGetStringOrDefault("Users_DeleteSelect", "Select User to Delete"), "",
                             UserListGetNumUsers(), 0, width, 300.0f, UserSelectRowCB, 1, &selection, nullptr,
                             DeletePanelAnsweredCB, this);
        return true;
    }
    if (button == Widget(USER_SELECT_NEW))
    {
        autoLoadState = 0;
        GetScreens()->GotoScreen(user_screen_new, nullptr);
        return true;
    }
    if (button == Widget(USER_SELECT_EXIT))
    {
        autoLoadState = 0;
        UserScreensLeaveSplash();
        EngMiscQuitMainLoop();
        return true;
    }
    if (button == Widget(USER_SELECT_LANG_FLAG))
    {
        UsersControlLangCB(mwin);
        return true;
    }
    return false;
}

void UserSelectCC::DeletePanelAnsweredCB(MWin *mwin, char value, void *user)
{
    UserSelectCC *self = (UserSelectCC *)user;
    if (!mwin || !self)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return;
    }
    mwin->PopupCloseIfOn();
    const char *name = UserListGetUserName(s_deleteSelection);
    if (value != 1 || !name)
        return;
    self->deleteRow = s_deleteSelection;
    EngSafeStrcpy(self->deleteName, name, sizeof(self->deleteName));
    mwin->PopupYesNo(EngLanguagesGetStringOrDefault("UserLoad_Delete", "Delete User"),
                     EngLanguagesGetStringOrDefault("UserLoad_Confirm", "Are you sure you want to delete this user?"),
                     DeleteConfirmedCB, self);
}

void UserSelectCC::DeleteConfirmedCB(MWin *mwin, char value, void *user)
{
    UserSelectCC *self = (UserSelectCC *)user;
    if (!self)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return;
    }
    if (value != 1 || !self->deleteName[0])
        return;
    UserDeleteUser(self->deleteName, 0);
    self->deleteName[0] = 0;
    self->StartingCB(nullptr);
}
