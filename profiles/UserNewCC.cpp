// The new-player screen: its layout, the name popup and its check, the country button
// and the creation of the player.
#include "UserNewCC.h"

#include <cstring>

#include "Country.h"
#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "User.h"
#include "UserScreens.h"

namespace
{

const float W = 1.0f;
const _UserScreensWidget kWidgets[USER_NEW_NUM_WIDGETS] = {
    {"Name", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "", nullptr, 210, 200, 220, 35, W, W, W, 0.7f, 1, 1,
     MWIN_ALIGN_CENTRE, 0},
    {"Back", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Back", "Common_ButtonGoBack", 535, 430, 90, 35, W, W, W, 0.7f, 1,
     1, MWIN_ALIGN_CENTRE, 0},
    {"NameText", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "User Name", "UserNew_NameText", 90, 200, 113, 35, W, W, W,
     0.7f, 1, 1, MWIN_ALIGN_RIGHT, 0},
    {"Country", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "", nullptr, 210, 275, 220, 35, W, W, W, 0.7f, 1, 1,
     MWIN_ALIGN_CENTRE, 0},
    {"CountryText", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "Country", "UserNew_CountryText", 90, 275, 113, 35, W, W, W,
     0.7f, 1, 1, MWIN_ALIGN_RIGHT, 0},
    {"Continue", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Continue", "UserNew_Continue", 245, 430, 150, 35, W, W, W,
     0.7f, 1, 1, MWIN_ALIGN_CENTRE, 0},
    {"SolTextPic", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "", nullptr, 170, 10, 300, 90, 0, 0, 0, 0.7f, 0.7f, 1,
     MWIN_ALIGN_CENTRE, 0},
};

struct UserNewScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[USER_NEW_NUM_WIDGETS];
};
UserNewScreen s_new = {};
// The login name is offered once per run, on the screen's first start.
bool s_proposeLoginName = true;

MWinButton *Widget(int widget)
{
    return s_new.widgets[widget];
}

MWin *ScreensMWin(MWinCollectionController *controller)
{
    return controller->GetScreens() ? controller->GetScreens()->GetMWin() : nullptr;
}

// The chosen country's flag at the right end of "Country".
void UserNewCountyButtonExtraRenderCB(MWinButton *button, const _Dimension *area, int state, int value, void *user)
{
    const UserNewCC *screen = (const UserNewCC *)user;
    if (screen && screen->GetCountryIndex() >= 0)
        CountryDrawFlagOnRightSideOfButton(screen->GetCountryIndex(), area);
}

// The message of a refused name.
const char *RefusedNameText(bool tooLong, const char *fallback)
{
    return tooLong ? EngLanguagesGetStringOrDefault("UserNew_NameTooLong", fallback)
                   : EngLanguagesGetStringOrDefault("UserNew_InvalidPlayerName", fallback);
}

} // namespace

MWinButton *UserNewGetWidget(int widget)
{
    return widget >= 0 && widget < USER_NEW_NUM_WIDGETS ? s_new.widgets[widget] : nullptr;
}

// ---- Layout -------------------------------------------------------------------------------------

UserNewCollectionController::UserNewCollectionController()
{
    ClearButtonPointers();
}

void UserNewCollectionController::SetScreensVar(MWinScreens *screens)
{
    DebugFatalIfFalseInFunction(screens && screens->GetMWin(), ENG_FUNC, "No screens");
    SetScreens(screens);
}

void UserNewCollectionController::ClearButtonPointers()
{
    s_new = {};
}

bool UserNewCollectionController::CreateCollection(MWin *mwin)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    return AddCollectionToDesktop(mwin, mwin->GetDesktop()) != nullptr;
}

MWinCollection *UserNewCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_new.collection = UserScreensBuildScreen(this, mwin, desktop, "UserNew", kWidgets, USER_NEW_NUM_WIDGETS,
                                              s_new.widgets, &s_new.window);
    return s_new.collection;
}

// ---- Behaviour -------------------------------------------------------------------------------------

UserNewCC::UserNewCC(MWinScreens *screens, UserScreens *ownerObject)
    : owner(ownerObject), name{}, savedName{}, started(false), countryIndex(-1), validationCountdown(0)
{
    DebugFatalIfFalseInFunction(owner != nullptr, ENG_FUNC, "No user screens");
    ClearButtonPointers();
    SetScreensVar(screens);
}

void UserNewCC::ResetProposeLoginName()
{
    s_proposeLoginName = true;
}

bool UserNewCC::CanHoldName(const char *candidate)
{
    return candidate && strlen(candidate) < USER_NAME_MAX_LENGTH_RULE;
}

void UserNewCC::ShowName()
{
    if (Widget(USER_NEW_NAME))
        Widget(USER_NEW_NAME)->SetText(name);
}

void UserNewCC::StartingCB(void *data)
{
    if (Widget(USER_NEW_BACK))
        Widget(USER_NEW_BACK)->SetEscapeButtonForParentWindow();
    ShowName();

    char *code = CountryGetNewPlayerCountryCode();
    if (!code[0])
        EngSafeStrcpy(code, CountryGetLocalCountryCode(), COUNTRY_PLAYER_CODE_SIZE);
    countryIndex = CountryGetCountryNumFromCode(code, true);
    if (MWinButton *country = Widget(USER_NEW_COUNTRY))
    {
        country->SetText(CountryGetCountryNameFromCode(code));
        country->SetExtraRenderCallback(UserNewCountyButtonExtraRenderCB, 0, this);
    }

    UserScreensCreateGraphics();
    UserScreensSetupTitlePicture(Widget(USER_NEW_TITLE_PIC));
    if (!ModulesGetSetupInfo()->countryFeatureOff)
        CountryCreateGraphics();
    else
    {
        for (int widget : {USER_NEW_COUNTRY, USER_NEW_COUNTRY_TEXT})
            if (Widget(widget))
                Widget(widget)->Hide();
    }

    if (started)
        return;
    if (s_proposeLoginName)
    {
        EngMiscGetDefaultUsersName_PC(name, sizeof(name));
        UserClass probe(nullptr, nullptr, 0);
        if (name[0] && probe.DoesUserFileExist(name))
            name[0] = 0;
        if (name[0])
            ShowName();
        s_proposeLoginName = false;
    }
    started = true;
    if (!name[0])
        OpenNamePopup();
}

void UserNewCC::OpenNamePopup()
{
    MWin *mwin = ScreensMWin(this);
    if (!mwin)
        return;
    EngSafeStrcpy(savedName, name, sizeof(savedName));
    name[0] = 0;
    mwin->PopupGetTextSetOptions(0, false, true);
    mwin->PopupGetText(nullptr, EngLanguagesGetStringOrDefault("UserNew_EnterAPlayerName", "Enter name:"), name,
                       sizeof(name), AfterNamePopupCB, this);
}

void UserNewCC::AfterNamePopupCB(MWin *mwin, char value, void *user)
{
    UserNewCC *self = (UserNewCC *)user;
    if (!self)
        return;
    if (value == 1)
    {
        self->validationCountdown = 5;
        return;
    }
    EngSafeStrcpy(self->name, self->savedName, sizeof(self->name));
    self->ShowName();
}

void UserNewCC::ValidateName()
{
    MWin *mwin = ScreensMWin(this);
    bool tooLong = false;
    const char *refusal = nullptr;
    if (!UserNameIsAcceptable(name, &tooLong))
        refusal = RefusedNameText(tooLong, "Invalid user name");
    else
    {
        UserClass probe(nullptr, nullptr, 0);
        if (probe.DoesUserFileExist(name))
            refusal = EngLanguagesGetStringOrDefault("UserNew_ThatPlayerAlreadyExists", "That user already exists");
    }
    if (!refusal)
    {
        ShowName();
        return;
    }
    name[0] = 0;
    ShowName();
    if (mwin)
        mwin->PopupNoticeForTime("", refusal, 2.0, true);
}

void UserNewCC::TickCB()
{
    if (validationCountdown > 1)
        validationCountdown--;
    else if (validationCountdown == 1)
    {
        validationCountdown = 0;
        ValidateName();
    }
}

bool UserNewCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    if (button == Widget(USER_NEW_NAME))
    {
        OpenNamePopup();
        return true;
    }
    if (button == Widget(USER_NEW_COUNTRY))
    {
        CountrySetContinueCallback(nullptr, nullptr);
        GetScreens()->GotoScreen(country_screen, nullptr);
        return true;
    }
    if (button == Widget(USER_NEW_CONTINUE))
    {
        CreateAction(false);
        return true;
    }
    if (button == Widget(USER_NEW_BACK))
    {
        GetScreens()->GoBack();
        return true;
    }
    return false;
}

bool UserNewCC::CreateAction(bool reset)
{
    MWin *mwin = ScreensMWin(this);
    bool tooLong = false;
    if (!UserNameIsAcceptable(name, &tooLong))
    {
        if (mwin)
            mwin->PopupMessageText(RefusedNameText(tooLong, "Invalid Player Name"));
        return false;
    }
    UserClass *user = GameGetUser();
    if (!user)
        return false;
    // The name was checked when it was typed, but a player of that name may have been
    // made since: a new player never takes an existing player's file.
    if (!reset && user->DoesUserFileExist(name))
    {
        if (mwin)
            mwin->PopupMessageText(
                EngLanguagesGetStringOrDefault("UserNew_ThatPlayerAlreadyExists", "That user already exists"));
        return false;
    }
    // A player's country is a row of the table; "??" (no country known) is not one.
    const char *code = CountryGetNewPlayerCountryCode();
    if (CountryGetCountry(CountryGetCountryNumFromCode(code, true)) == nullptr)
    {
        if (mwin)
            mwin->PopupMessageText(
                EngLanguagesGetStringOrDefault("Country_PleaseSelectACountryFirst", "Please select a country first"));
        return false;
    }
    if (!user->CreateNewUser(name, code, reset ? 1 : 0))
        return false;
    UserScreensAfterLoadOrCreate(user, 1);
    return true;
}

bool UserNewCC::ResetAndLoadUser(const char *newName)
{
    if (!newName)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (!CanHoldName(newName))
    {
        DebugError(ENG_FUNC, "Name too long <%s>", newName);
        return false;
    }
    EngSafeStrcpy(name, newName, sizeof(name));
    ShowName();
    if (MWin *mwin = ScreensMWin(this))
        mwin->PopupCloseIfOn();
    CreateAction(true);
    return true;
}
