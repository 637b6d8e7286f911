// The players screen: its layout and its behaviour (see UsersCC.h).
#include "UsersCC.h"

#include <cstdio>
#include <cstring>

#include "Country.h"
#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "User.h"
#include "UserList.h"
#include "UserLoadCC.h"
#include "UserScreens.h"

namespace
{

const float W = 1.0f; // white text
const _UserScreensWidget kWidgets[USERS_NUM_WIDGETS] = {
    {"Continue", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Continue", "Common_ButtonContinue", 215, 430, 210, 35, W, W,
     W, 0.7f, 1, 1, MWIN_ALIGN_CENTRE, 0},
    {"New", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "New Player", "Users_New", 15, 430, 120, 35, W, W, W, 0.7f, 1, 1,
     MWIN_ALIGN_CENTRE, 0},
    {"Import", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Import Player", nullptr, 15, 340, 120, 35, W, W, W, 0.7f, 1,
     1, MWIN_ALIGN_CENTRE, 0},
    {"Manage", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Load Player", "Users_Load", 15, 385, 120, 35, W, W, W, 0.7f,
     1, 1, MWIN_ALIGN_CENTRE, 0},
    {"Device", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Device", "Users_Device", 505, 385, 120, 35, W, W, W, 0.7f, 1,
     1, MWIN_ALIGN_CENTRE, 0},
    {"Exit", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Exit Game", "Users_Exit", 505, 430, 120, 35, W, W, W, 0.7f, 1,
     1, MWIN_ALIGN_CENTRE, 0},
    {"TitlePic", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "", nullptr, 170, 10, 300, 90, 0, 0, 0, 0.7f, 0.7f, 1,
     MWIN_ALIGN_CENTRE, 0},
    {"LoadProgress", MWIN_BUTTON_PUSH, "Black", "Loading...", "Common_Loading", 375, 445, 75, 30, W, W, W, 0.7f, 1,
     1, MWIN_ALIGN_CENTRE, 0},
    {"AlwaysLoad", MWIN_BUTTON_CHECKBOX, MWIN_TEXBUT_NONE, "Always load this player:", "Users_AlwaysLoad", 215, 410,
     210, 15, W, W, W, 0.7f, 0.9f, 0.9f, MWIN_ALIGN_CENTRE, 0.898f},
    {"LangFlag", MWIN_BUTTON_PUSH, "Main", "", nullptr, 595, 5, 40, 35, W, W, W, 0.7f, 1, 1, MWIN_ALIGN_RIGHT, 0},
};

struct UsersScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[USERS_NUM_WIDGETS];
};
UsersScreen s_users = {};

MWinButton *Widget(int widget)
{
    return s_users.widgets[widget];
}

void ShowIf(int widget, bool show)
{
    if (MWinButton *button = Widget(widget))
        show ? button->Show() : button->Hide();
}

} // namespace

MWinButton *UsersGetWidget(int widget)
{
    return widget >= 0 && widget < USERS_NUM_WIDGETS ? s_users.widgets[widget] : nullptr;
}

// ---- Layout -------------------------------------------------------------------------------------

UsersCollectionController::UsersCollectionController()
{
    ClearButtonPointers();
}

void UsersCollectionController::SetScreensVar(MWinScreens *screens)
{
    DebugFatalIfFalseInFunction(screens && screens->GetMWin(), ENG_FUNC, "No screens");
    SetScreens(screens);
}

void UsersCollectionController::ClearButtonPointers()
{
    s_users = {};
}

bool UsersCollectionController::CreateCollection(MWin *mwin)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    return AddCollectionToDesktop(mwin, mwin->GetDesktop()) != nullptr;
}

MWinCollection *UsersCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_users.collection = UserScreensBuildScreen(this, mwin, desktop, "Users", kWidgets, USERS_NUM_WIDGETS,
                                                s_users.widgets, &s_users.window);
    return s_users.collection;
}

// ---- Behaviour -------------------------------------------------------------------------------------

UsersCC::UsersCC(MWinScreens *screens, UserScreens *ownerObject)
    : owner(ownerObject), autoContinueTime(0), alwaysLoad(0), lastCountry{}, autoMode(false), autoContinueFailed(false)
{
    DebugFatalIfFalseInFunction(owner != nullptr, ENG_FUNC, "No user screens");
    ClearButtonPointers();
    SetScreensVar(screens);
}

void UsersCC::StartingCB(void *data)
{
    if (EngMiscIsLargeScreenDevice())
    {
        GetScreens()->GotoScreen(user_screen_select, nullptr);
        return;
    }
    autoContinueTime = 0;
    autoMode = false;
    const ModulesSetupInfo *modules = ModulesGetSetupInfo();
    if (!modules->isSetup)
    {
        DebugError(ENG_FUNC, "Users module is not setup");
        return;
    }
    alwaysLoad = 0;
    if (Widget(USERS_ALWAYS_LOAD))
        Widget(USERS_ALWAYS_LOAD)->CheckboxSet(0, 0);
    ShowIf(USERS_IMPORT, false);

    MWinButton *continueButton = Widget(USERS_CONTINUE);
    MWinButton *progress = Widget(USERS_LOAD_PROGRESS);
    if (!continueButton)
        DebugError(ENG_FUNC, "No continue button.");
    if (!progress)
        DebugError(ENG_FUNC, "No load progress button.");
    else if (continueButton)
    {
        const _Dimension *area = continueButton->GetAreaP();
        progress->SetArea(area->x - 1, area->y - 1, area->w + 2, area->h + 2);
    }

    UserLoadCC *loadCC = owner->GetUserLoadCC();
    loadCC->SetupUserNameList();
    if (MWinButton *manage = Widget(USERS_MANAGE))
        manage->SetEnabled(loadCC->GetNumUsers() > 0);
    else
        DebugError(ENG_FUNC, "No manage button");

    // The last player, probed quietly: the file's always-load byte and country.
    char fileAlwaysLoad = 0;
    memset(lastCountry, 0, sizeof(lastCountry));
    const bool lastLoads = loadCC->IsLastUserLoadedOk(&fileAlwaysLoad, lastCountry);
    if (continueButton)
    {
        if (lastLoads)
        {
            continueButton->SetTextF("%s: %s", EngLanguagesGetStringOrDefault("Users_ContinuePlayer", "Continue Player"),
                                     UserScreensGetLastPlayerName());
            continueButton->Show();
        }
        else
        {
            continueButton->SetText(EngLanguagesGetStringOrDefault("Users_ContinuePlayer", "Continue User"));
            continueButton->Hide();
        }
    }
    if (!Widget(USERS_ALWAYS_LOAD))
        DebugError(ENG_FUNC, "No always load button");
    ShowIf(USERS_ALWAYS_LOAD, lastLoads);
    if (Widget(USERS_NEW))
        Widget(USERS_NEW)->SetText(EngLanguagesGetStringOrDefault("Users_New", "New Player"));

    // The program's picture behind the screen, between the title and the tick box.
    UserScreensStartSplashBehind(Widget(USERS_TITLE_PIC), Widget(USERS_ALWAYS_LOAD));

    if (!modules->countryFeatureOff)
        CountryCreateGraphics();
    UserScreensCreateGraphics();
    UserScreensSetupTitlePicture(Widget(USERS_TITLE_PIC));
    UserScreensSetupLanguageFlagButton(GetScreens()->GetMWin(), Widget(USERS_LANG_FLAG));
    ShowIf(USERS_LOAD_PROGRESS, false);
    ShowIf(USERS_DEVICE, false);

    if (lastLoads && fileAlwaysLoad && !autoContinueFailed)
    {
        // Only the title stays while the player loads by itself.
        for (int widget : {USERS_MANAGE, USERS_EXIT, USERS_DEVICE, USERS_NEW, USERS_CONTINUE})
            ShowIf(widget, false);
        if (Widget(USERS_ALWAYS_LOAD))
            Widget(USERS_ALWAYS_LOAD)->CheckboxSet(1, 0);
        ShowIf(USERS_ALWAYS_LOAD, false);
        ShowIf(USERS_LANG_FLAG, false);
        autoContinueTime = EngFrameTiming.currentTime + 0.1;
        autoMode = true;
    }
    else if (Widget(USERS_ALWAYS_LOAD))
        Widget(USERS_ALWAYS_LOAD)->CheckboxSet(0, 0);
}

void UsersCC::TickCB()
{
    if (!EngMiscIsDesktopPlatform() || GetScreens()->GetCurrentScreen() != user_screen_users)
        return;
    UserScreensHostSplashTick();
    if (autoContinueTime > 0 && autoContinueTime <= EngFrameTiming.currentTime)
    {
        autoContinueTime = 0;
        ContinueCB();
    }
}

void UsersCC::RenderCB(int pass)
{
    if (pass != 1 || !EngMiscIsDesktopPlatform() || GetScreens()->GetCurrentScreen() != user_screen_users)
        return;
    UserScreensHostSplashRender();
    // The last player's flag just right of "Continue" (outside the button's clipping).
    if (lastCountry[0])
        UserScreensDrawFlagRightOfButton(CountryGetCountryNumFromCode(lastCountry, true), Widget(USERS_CONTINUE));
}

bool UsersCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    if (button == Widget(USERS_CONTINUE))
    {
        ContinueCB();
        return true;
    }
    if (button == Widget(USERS_NEW))
    {
        UserScreensLeaveSplash();
        GetScreens()->GotoScreen(user_screen_new, nullptr);
        return true;
    }
    if (button == Widget(USERS_MANAGE))
    {
        UserScreensLeaveSplash();
        GetScreens()->GotoScreen(user_screen_load, nullptr);
        return true;
    }
    if (button == Widget(USERS_LANG_FLAG))
    {
        UsersControlLangCB(GetScreens()->GetMWin());
        return true;
    }
    if (button == Widget(USERS_EXIT))
    {
        UserScreensLeaveSplash();
        EngMiscQuitMainLoop();
        return true;
    }
    return false;
}

void UsersCC::ContinueCB()
{
    const bool ticked = Widget(USERS_ALWAYS_LOAD) && Widget(USERS_ALWAYS_LOAD)->CheckboxGet();
    const bool automatic = autoMode;
    autoMode = false;
    UserClass *user = GameGetUser();
    char name[USER_NAME_SIZE];
    EngSafeStrcpy(name, UserScreensGetLastPlayerName(), sizeof(name));
    if (user && name[0] && user->LoadUser(name, 0, nullptr, nullptr))
    {
        if (!user->IsLoaded())
        {
            DebugError(ENG_FUNC, "User is not loaded.");
            return;
        }
        UserScreensLeaveSplash();
        user->AfterUserCreatedOrLoaded(0, nullptr);
        if (ticked)
            user->AlwaysLoadThisUser(1);
        if (eng_main_program)
            EngProgramDiscardPendingInput();
        return;
    }
    // The whole screen comes back (never the bare title of an automatic load), and the
    // player learns why; a player that loads by itself is not tried again this run.
    if (automatic)
        autoContinueFailed = true;
    GetScreens()->ReloadCurrentScreen();
    if (MWin *mwin = GetScreens()->GetMWin())
        mwin->PopupMessage(EngLanguagesGetStringOrDefault("Common_Error", "Error"),
                           "Unable to load player.\n\nUse \"Load Player\" to reset or delete it.");
}
