// The profile screens' container and the pieces every profile screen shares: the
// screen builder, leaving the splash, the title picture, the language button and its
// popup, and the step after a player was loaded or created.
//
// Sections: ids and host | UserScreens | shared steps | language | building
#include "UserScreens.h"

#include <cstdio>
#include <cstring>

#include "AppHooks.h"
#include "Country.h"
#include "CountryCC.h"
#include "EngDebug.h"
#include "EngDevice.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "Resolution.h"
#include "User.h"
#include "UserLoadCC.h"
#include "UserNewCC.h"
#include "UserSelectCC.h"
#include "UsersCC.h"

// ---- Ids and host ------------------------------------------------------------------------------

ScreenId user_screen_select = EngFourCC("uSEL");
ScreenId user_screen_users = EngFourCC("uUSR");
ScreenId user_screen_load = EngFourCC("uLOD");
ScreenId user_screen_new = EngFourCC("uNEW");
ScreenId country_screen = EngFourCC("mCTY");

static struct
{
    _UserScreensHost host;
    int languageSelection;
    MWinScreens *stack; // of the latest UserScreens
    EngTexture *title;
} s_screens;

void UserScreensSetHost(const _UserScreensHost *host)
{
    if (host)
        s_screens.host = *host;
    else
        memset(&s_screens.host, 0, sizeof(s_screens.host));
    // A new title is loaded on the next start of a screen.
    delete s_screens.title;
    s_screens.title = nullptr;
}

// ---- UserScreens -------------------------------------------------------------------------------

UserScreens::UserScreens(MWinScreens *screensObject)
    : screens(screensObject), userSelectCC(nullptr), usersCC(nullptr), userLoadCC(nullptr), userNewCC(nullptr),
      countryCC(nullptr)
{
    DebugFatalIfFalseInFunction(screens != nullptr, ENG_FUNC, "No screens");
    s_screens.stack = screens;
    userSelectCC = new UserSelectCC(screens, this);
    usersCC = new UsersCC(screens, this);
    userLoadCC = new UserLoadCC(screens, this);
    userNewCC = new UserNewCC(screens, this);
    countryCC = new CountryCC(screens, this);
}

UserScreens::~UserScreens()
{
    delete userSelectCC;
    delete usersCC;
    delete userLoadCC;
    delete userNewCC;
    delete countryCC;
    if (s_screens.stack == screens)
        s_screens.stack = nullptr;
}

bool UserScreens::AddScreens(bool addCountryScreen)
{
    bool ok = screens->AddScreen(user_screen_select, userSelectCC);
    ok = screens->AddScreen(user_screen_users, usersCC) && ok;
    ok = screens->AddScreen(user_screen_load, userLoadCC) && ok;
    ok = screens->AddScreen(user_screen_new, userNewCC) && ok;
    if (addCountryScreen)
        ok = screens->AddScreen(country_screen, countryCC) && ok;
    return ok;
}

void UserScreens::SetCurrentToFirstScreen()
{
    screens->SetCurrentScreen(UserScreensGetFirstScreenId());
}

void UserScreens::ClearAllButtonPointers()
{
    userSelectCC->ClearButtonPointers();
    usersCC->ClearButtonPointers();
    userLoadCC->ClearButtonPointers();
    userNewCC->ClearButtonPointers();
    countryCC->ClearButtonPointers();
}

UserSelectCC *UserScreens::GetUserSelectCC()
{
    DebugFatalIfFalseInFunction(userSelectCC != nullptr, ENG_FUNC, "No user select cc");
    return userSelectCC;
}

UsersCC *UserScreens::GetUsersCC()
{
    DebugFatalIfFalseInFunction(usersCC != nullptr, ENG_FUNC, "No users cc");
    return usersCC;
}

UserLoadCC *UserScreens::GetUserLoadCC()
{
    DebugFatalIfFalseInFunction(userLoadCC != nullptr, ENG_FUNC, "No user load cc");
    return userLoadCC;
}

UserNewCC *UserScreens::GetUserNewCC()
{
    DebugFatalIfFalseInFunction(userNewCC != nullptr, ENG_FUNC, "No user new cc");
    return userNewCC;
}

CountryCC *UserScreens::GetCountryCC()
{
    DebugFatalIfFalseInFunction(countryCC != nullptr, ENG_FUNC, "No country cc");
    return countryCC;
}

ScreenId UserScreensGetFirstScreenId()
{
    return EngMiscIsLargeScreenDevice() ? user_screen_select : user_screen_users;
}

// ---- Shared steps ------------------------------------------------------------------------------

void UserScreensLeaveSplash()
{
    if (s_screens.host.stopSplash)
        s_screens.host.stopSplash();
}

bool UserScreensHostSplashTick()
{
    return s_screens.host.splashTick && s_screens.host.splashTick();
}

bool UserScreensHostSplashRender()
{
    return s_screens.host.splashRender && s_screens.host.splashRender();
}

bool UserScreensStartSplashBehind(MWinButton *above, MWinButton *below)
{
    if (!s_screens.host.startSplashBehind)
        return false;
    const float top = above ? above->GetAreaP()->y + above->GetAreaP()->h : 0.0f;
    const float bottom = below ? below->GetAreaP()->y : 480.0f;
    const float size = 240.0f;
    return s_screens.host.startSplashBehind(320.0f - size * 0.5f, (top + bottom) * 0.5f - size * 0.5f, size, size);
}

bool UserScreensCreateGraphics()
{
    const char *file = s_screens.host.titlePicture;
    if (!file || !file[0] || !EngMainDevice || (s_screens.title && s_screens.title->IsLoaded()))
        return true;
    if (!s_screens.title)
        s_screens.title = new EngTexture("UserScreensTitle");
    if (!s_screens.title->LoadFromFile(file, 1, 2, 0))
        DebugError(ENG_FUNC, "Could not load title picture <%s>", file);
    return true;
}

void UserScreensReleaseGraphics()
{
    if (s_screens.title)
        s_screens.title->Release();
    CountryReleaseGraphics();
}

void UserScreensDrawFlagRightOfButton(int countryIndex, MWinButton *button)
{
    if (!button || !button->IsVisible() || countryIndex < 0 || !EngMainDevice)
        return;
    const bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
    EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
    CountryDrawFlagRightOfButton(countryIndex, button->GetScreenAreaP());
    EngMainDevice->DisableBlending();
    if (prepared)
        EngMainDevice->RestoreAfter2D();
}

void UserScreensSetupTitlePicture(MWinButton *button)
{
    if (!button)
        return;
    button->SetBackTexButToNone();
    if (s_screens.title && s_screens.title->IsLoaded())
        button->SetCustomTexBut(MWIN_TEXSTATE_NORMAL, s_screens.title, 0, 0, 0, 1, 1, 1, 1, 1, 1);
    static const float sizes[5][2] = {{400, 90}, {620, 65}, {400, 90}, {460, 60}, {360, 75}};
    int layout = button->GetMWin() ? button->GetMWin()->GetScreenLayout() : SCREEN_LAYOUT_NORMAL;
    if (layout < SCREEN_LAYOUT_NORMAL || layout > SCREEN_LAYOUT_IPAD_LANDSCAPE)
        layout = SCREEN_LAYOUT_NORMAL;
    const float width = sizes[layout][0], height = sizes[layout][1];
    button->SetArea(320.0f - width / 2.0f, button->GetAreaP()->y, width, height);
}

const char *UserScreensGetLastPlayerName()
{
    return AppGetLastPlayerName();
}

MWinScreens *UserScreensGetStack()
{
    return s_screens.stack;
}

void UserScreensAfterLoadOrCreate(UserClass *user, char saveFirst)
{
    UserScreensLeaveSplash();
    user->AfterUserCreatedOrLoaded(saveFirst, nullptr);
    if (eng_main_program)
        EngProgramDiscardPendingInput();
}

// ---- Language ----------------------------------------------------------------------------------

// The language's flag inset in the button: the flag gap plus 2 units at the sides, 2 at
// top and bottom, in percent of the button.
static void UserScreensLanguageFlagRenderCB(MWinButton *button, const _Dimension *area, int state, int value,
                                            void *user)
{
    if (!area)
        return;
    _Dimension rect = {area->x + area->w * 0.07f, area->y + area->h * 0.02f, area->w * 0.86f, area->h * 0.96f};
    CountryDrawFlag(value, &rect);
}

void UserScreensSetupLanguageFlagButton(MWin *mwin, MWinButton *button)
{
    if (!button)
        return;
    const ModulesSetupInfo *modules = ModulesGetSetupInfo();
    if (!modules->languageFlag || EngLanguagesGetNumLanguages() < 2)
    {
        button->Hide();
        return;
    }
    button->Show();
    // "UK" stays the United Kingdom's own flag here.
    const char *code = EngLanguagesGetCurrentFlagCountryCode();
    int index = code && code[0] ? CountryGetCountryNumFromCode(code, false) : -1;
    button->SetExtraRenderCallback(index >= 0 ? UserScreensLanguageFlagRenderCB : nullptr, index, nullptr);
}

static const char *UsersLanguageRowCB(int row, MWinButton *button, void *user)
{
    const char *name = EngLanguagesGetLanguageNameNative(row);
    return name ? name : "";
}

static void UsersLanguageRowFlagCB(MWinButton *button, const _Dimension *area, int state, int row, void *user)
{
    const char *code = EngLanguagesGetLanguageFlagCountryCode(row);
    if (code && code[0])
        CountryDrawFlagOnRightSideOfButton(CountryGetCountryNumFromCode(code, true), area);
}

static void UsersControlLangResultCB(MWin *mwin, char value, void *user)
{
    if (value != 1)
        return;
    const int chosen = s_screens.languageSelection;
    if (chosen < 0 || chosen >= EngLanguagesGetNumLanguages())
        return;
    mwin->PopupCloseIfOn();
    EngLanguagesSetCurrentLanguage(chosen);
    mwin->RefreshLanguageTexts();
    if (ResolutionSettings *settings = ResolutionGetSettings())
    {
        EngSafeStrcpy(settings->languageName, EngLanguagesGetCurrentLanguageName(), sizeof(settings->languageName));
        settings->languageFlag = 1;
    }
    MWinScreens *screens = UserScreensGetStack();
    if (screens && screens->IsRunning())
        screens->ReloadCurrentScreen();
}

void UsersControlLangCB(MWin *mwin)
{
    if (!mwin)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    if (!mwin->IsOn())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return;
    }
    s_screens.languageSelection = EngLanguagesGetCurrentLanguageNumber();
    const int languages = EngLanguagesGetNumLanguages();
    float height = 100.0f;
    if (const _MWinLayoutSettings *layout = mwin->GetCurrentLayoutSettings())
        height = (float)languages * layout->defaultButtonHeight;
    int *selection = &s_screens.languageSelection;
    if (!mwin->PopupPanel(EngLanguagesGetStringOrDefault("Users_SelectALanguage", "Select a language"), "",
                          languages, 0, 200.0f, height, UsersLanguageRowCB, 1, &selection, nullptr,
                          UsersControlLangResultCB, nullptr))
        return;
    if (MWinButton *panel = mwin->PopupGetButton("PANEL"))
    {
        panel->SetTextAlign(MWIN_ALIGN_LEFT);
        panel->PanelSetExtraRenderCallback(UsersLanguageRowFlagCB, nullptr);
    }
}

// ---- Building ----------------------------------------------------------------------------------

MWinCollection *UserScreensBuildScreen(MWinCollectionController *controller, MWin *mwin, MWinDesktop *desktop,
                                       const char *collectionId, const _UserScreensWidget *rows, int count,
                                       MWinButton **widgets, MWinWindow **windowOut)
{
    for (int i = 0; i < count; i++)
        widgets[i] = nullptr;
    *windowOut = nullptr;
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return nullptr;
    }
    if (!desktop)
        desktop = mwin->GetDesktop();
    if (!desktop)
    {
        DebugError(ENG_FUNC, "Could not get default desktop");
        return nullptr;
    }
    MWinCollection *collection = desktop->AddCollection(collectionId);
    if (!collection)
    {
        DebugError(ENG_FUNC, "Could not create collection <%s>", collectionId);
        return nullptr;
    }
    // The desktop has the Normal layout only; every layout value builds it.
    collection->SetScreenLayout(mwin->GetScreenLayout());
    _MWinWindowCreateInfo info = {};
    info.kind = MWIN_WINDOW_ORDINARY;
    info.w = 640.0f;
    info.h = 480.0f;
    MWinCopyID(info.titleTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.bodyTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.font, MWIN_FONT_DEFAULT);
    MWinWindow *window = collection->AddWindow("MainWin", &info);
    if (!window)
    {
        DebugError(ENG_FUNC, "Could not add window");
        return collection;
    }
    window->SetTitleTextColour(1.0f, 1.0f, 1.0f, 1.0f);
    window->SetTitleTextScale(1.0f, 1.0f);
    window->SetTextAlign(MWIN_ALIGN_LEFT);
    window->SetScrollSize(0.0f, 0.0f);
    bool ok = true;
    for (int i = 0; i < count; i++)
    {
        const _UserScreensWidget &row = rows[i];
        MWinButton *button = window->AddButton(row.id, row.kind, row.texBut, row.text, row.x, row.y, row.w, row.h);
        if (!button)
        {
            ok = false;
            continue;
        }
        button->SetFont("Main");
        button->SetTextColourRGBA(row.r, row.g, row.b, row.a);
        button->SetTextScale(row.scaleX, row.scaleY);
        button->SetTextAlign(row.align);
        if (row.multiplierAlpha > 0.0f)
            button->SetColourMultiplier(1.0f, 1.0f, 1.0f, row.multiplierAlpha);
        // A text from a token follows the chosen language.
        if (row.token && EngLanguagesDoesTokenExist(row.token))
            button->SetTextLanguageToken(row.token);
        widgets[i] = button;
    }
    if (!ok)
        DebugError(ENG_FUNC, "Could not add button(s) to window <%s>", collectionId);
    window->SetController(controller);
    *windowOut = window;
    return collection;
}
