// The main menu: its layout (one window of push buttons over the menu background) and
// its behaviour (the player line, the game types and the ways to the other screens).
#include "Select.h"

#include <cstdio>

#include "EngDebug.h"
#include "EngMisc.h"
#include "GameAds.h"
#include "GameAdsCC.h"
#include "AppHooks.h"
#include "GameState.h"
#include "PlinxScreens.h"
#include "Resolution.h"
#include "ScreensBuild.h"
#include "ScreensHost.h"
#include "User.h"
#include "UserScreens.h"

namespace
{

// One widget of the layout, in the order it is added.
struct SelectWidgetRow
{
    const char *id;
    const char *texBut;
    const char *text;
    float x, y, w, h;
    float alpha;          // of the white text
    float scaleX, scaleY;
    float multiplierAlpha; // of a white colour multiplier; 0 none
};

// The player's button sits between the title the menu background draws across the top
// (down to y = 118) and the heading.
const SelectWidgetRow kNormal[SELECT_NUM_WIDGETS] = {
    {"SelectText", MWIN_TEXBUT_NONE, "SELECT GAME TYPE", 169.0f, 160.0f, 303.0f, 28.0f, 0.7f, 1.0f, 1.0f, 0.743f},
    {"Player", "Main", "PLAYER: UNSET", 209.52f, 122.0f, 220.95f, 31.0f, 0.7f, 1.0f, 1.0f, 0.0f},
    {"Arcade", "Main", "ARCADE", 209.52f, 195.0f, 220.95f, 51.0f, 0.8f, 1.6f, 1.74f, 0.0f},
    {"Strategic", "Main", "STRATEGIC", 209.52f, 250.0f, 220.95f, 51.0f, 0.8f, 1.6f, 1.74f, 0.0f},
    {"Puzzle", "Main", "PUZZLE", 209.52f, 305.0f, 220.95f, 51.0f, 0.8f, 1.6f, 1.74f, 0.0f},
    {"MyPuzzles", "Main", "MY PUZZLES", 209.52f, 360.0f, 220.95f, 51.0f, 0.8f, 1.6f, 1.74f, 0.0f},
    {"Credits", "Main", "EXTRA", 5.0f, 330.0f, 110.0f, 45.0f, 0.75f, 1.3f, 1.42f, 0.0f},
    {"OtherGames", "Main", "GAMES", 5.0f, 380.0f, 110.0f, 45.0f, 0.75f, 1.3f, 1.42f, 0.0f},
    {"Help", "Main", "HELP", 525.0f, 380.0f, 110.0f, 45.0f, 0.75f, 1.3f, 1.42f, 0.0f},
    {"Options", "Main", "OPTIONS", 525.0f, 430.0f, 110.0f, 45.0f, 0.75f, 1.3f, 1.42f, 0.0f},
    {"Exit", "Main", "EXIT", 5.0f, 430.0f, 110.0f, 45.0f, 0.75f, 1.3f, 1.42f, 0.0f},
    {"Debug", "Main", "Debug", 0.0f, 0.0f, 50.0f, 30.0f, 0.7f, 0.9f, 0.95f, 0.374f},
    {"Review", "Main", "Review", 0.0f, 35.0f, 72.5f, 40.0f, 0.7f, 1.0f, 1.0f, 0.0f},
};

// The screen's collection, window and widgets: one screen instance, so file-level.
struct SelectScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[SELECT_NUM_WIDGETS];
};
SelectScreen s_select = {};

MWinButton *W(int widget)
{
    return s_select.widgets[widget];
}

void Goto(MWinScreens *screens, ScreenId id)
{
    if (screens)
        screens->GotoScreen(id, nullptr);
}

} // namespace

MWinButton *SelectGetWidget(int widget)
{
    return widget >= 0 && widget < SELECT_NUM_WIDGETS ? s_select.widgets[widget] : nullptr;
}

// ---- Layout ---------------------------------------------------------------------------------------

SelectCollectionController::SelectCollectionController()
{
    ClearButtonPointers();
}

void SelectCollectionController::ClearButtonPointers()
{
    s_select = {};
}

MWinCollection *SelectCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_select.collection = nullptr;
    MWinCollection *collection = ScreensAddCollection(mwin, desktop, "Select");
    if (!collection)
        return nullptr;
    AddMainWinWindowToCollection(collection, collection->GetScreenLayout());
    s_select.collection = collection;
    return collection;
}

MWinWindow *SelectCollectionController::AddMainWinWindowToCollection(MWinCollection *collection, int layout)
{
    s_select.window = nullptr;
    if (layout < SCREEN_LAYOUT_NORMAL || layout > SCREEN_LAYOUT_IPAD_LANDSCAPE)
        layout = SCREEN_LAYOUT_NORMAL;
    _MWinWindowCreateInfo info = {};
    info.kind = MWIN_WINDOW_ORDINARY;
    info.x = 0.0f;
    info.y = 0.0f;
    info.w = 640.0f;
    info.h = 480.0f;
    MWinCopyID(info.titleTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.bodyTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.font, MWIN_FONT_DEFAULT);
    collection->SetScreenLayout(layout);
    MWinWindow *window = collection->AddWindow("MainWin", &info);
    if (!window)
    {
        DebugError(ENG_FUNC, "Could not add window");
        return nullptr;
    }
    window->SetTitleTextColour(1.0f, 1.0f, 1.0f, 1.0f);
    window->SetTitleTextScale(1.0f, 1.0f);
    window->SetTextAlign(MWIN_ALIGN_LEFT);
    window->SetScrollSize(0.0f, 0.0f);
    if (!AddMainWinWindowButtonsToWindow(window, layout))
        DebugError(ENG_FUNC, "Could not add buttons to window");
    window->SetController(this);
    s_select.window = window;
    return window;
}

bool SelectCollectionController::AddMainWinWindowButtonsToWindow(MWinWindow *window, int layout)
{
    for (MWinButton *&widget : s_select.widgets)
        widget = nullptr;
    if (!window)
    {
        DebugError(ENG_FUNC, "No window");
        return false;
    }
    // The desktop build has one geometry; the other layouts reuse it.
    bool ok = true;
    for (int i = 0; i < SELECT_NUM_WIDGETS; i++)
    {
        const SelectWidgetRow &row = kNormal[i];
        MWinButton *button = window->AddButton(row.id, MWIN_BUTTON_PUSH, row.texBut, row.text, row.x, row.y, row.w,
                                               row.h);
        if (!button)
        {
            ok = false;
            continue;
        }
        button->SetFont("Main");
        button->SetTextColourRGBA(1.0f, 1.0f, 1.0f, row.alpha);
        button->SetTextScale(row.scaleX, row.scaleY);
        button->SetTextAlign(MWIN_ALIGN_CENTRE);
        if (row.multiplierAlpha > 0.0f)
            button->SetColourMultiplier(1.0f, 1.0f, 1.0f, row.multiplierAlpha);
        s_select.widgets[i] = button;
        if (i == SELECT_MY_PUZZLES &&
            (layout == SCREEN_LAYOUT_IPHONE_PORTRAIT || layout == SCREEN_LAYOUT_IPHONE_LANDSCAPE))
            button->Hide();
    }
    if (!ok)
        DebugError(ENG_FUNC, "Could not add button(s) to window");
    return ok;
}

// ---- Behaviour --------------------------------------------------------------------------------------

SelectCC::SelectCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void SelectCC::StartingCB(void *data)
{
    UserClass *user = GameGetUser();
    _UserInfo *info = user ? user->GetInfo(0) : nullptr;
    DebugFatalIfFalseInFunction(info != nullptr, ENG_FUNC, "No user info");
    if (W(SELECT_PLAYER) && info)
    {
        char text[64];
        snprintf(text, sizeof(text), "Player: %s", info->name);
        W(SELECT_PLAYER)->SetText(text);
        DebugInfo("Main menu for player %s", info->name);
    }
    if (W(SELECT_DEBUG))
        W(SELECT_DEBUG)->Hide();
    if (W(SELECT_REVIEW))
        W(SELECT_REVIEW)->Hide();
    // Buttons whose screens are not part of the program yet stay visible and disabled.
    MWinScreens *screens = GetScreens();
    ScreensEnableWhenRegistered(screens, W(SELECT_CREDITS), plinx_screen_credits);
    ScreensEnableWhenRegistered(screens, W(SELECT_HELP), plinx_screen_help);
    ScreensEnableWhenRegistered(screens, W(SELECT_OPTIONS), plinx_screen_options);
    ScreensEnableWhenRegistered(screens, W(SELECT_OTHER_GAMES), EngFourCC("GADS"));
}

void SelectCC::TickCB()
{
    if (MWin *mwin = GetScreens() ? GetScreens()->GetMWin() : nullptr)
        mwin->IsPopupOn();
}

bool SelectCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    MWinScreens *screens = GetScreens();
    static const int kTypes[4] = {SELECT_ARCADE, SELECT_STRATEGIC, SELECT_PUZZLE, SELECT_MY_PUZZLES};
    for (int type = 0; type < 4; type++)
    {
        if (button == W(kTypes[type]) && button)
        {
            SelectStartGameType(screens, type);
            return true;
        }
    }
    if (button == W(SELECT_CREDITS) && button)
    {
        Goto(screens, plinx_screen_credits);
        return true;
    }
    if (button == W(SELECT_HELP) && button)
    {
        Goto(screens, plinx_screen_help);
        return true;
    }
    if (button == W(SELECT_OPTIONS) && button)
    {
        Goto(screens, plinx_screen_options);
        return true;
    }
    if (button == W(SELECT_PLAYER) && button)
    {
        // This player is not loaded by itself at the next start, and the player screens
        // open with no last player named.
        UserClass *user = GameGetUser();
        if (user)
        {
            if (_UserOptions *options = user->GetOptions(0))
                options->alwaysLoad = 0;
            GameState.userOptions.alwaysLoad = 0;
        }
        ScreensHostSaveUser(1);
        if (user)
            user->UnloadUser();
        ResolutionSettings *settings = ResolutionGetSettings();
        if (settings)
        {
            settings->lastPlayerName[0] = 0;
            ResolutionSaveSettings();
        }
        PlinxScreens *registry = static_cast<PlinxScreens *>(screens);
        DebugFatalIfFalseInFunction(registry && registry->GetUserScreens(), ENG_FUNC, "No user screens");
        Goto(screens, UserScreensGetFirstScreenId());
        return true;
    }
    if (button == W(SELECT_EXIT) && button)
    {
        EngMiscQuitMainLoop();
        return true;
    }
    if (button == W(SELECT_OTHER_GAMES) && button)
    {
        OtherGamesCB();
        return true;
    }
    return false;
}

void SelectCC::OtherGamesCB()
{
    // The row shown last while the program runs; none yet at the start.
    static int16_t s_lastProduct = -1;
    GameAdsSetupAdsToBeIncluded();
    PlinxScreens *registry = static_cast<PlinxScreens *>(GetScreens());
    DebugFatalIfFalseInFunction(registry && registry->GetGameAdsCC(), ENG_FUNC, "No game ads CC.");
    registry->GetGameAdsCC()->SetEnteredFromMenu();
    UserClass *user = GameGetUser();
    _UserInfo *info = user ? user->GetInfo(0) : nullptr;
    DebugFatalIfFalseInFunction(info != nullptr, ENG_FUNC, "No user info");
    GameAdsSetInternetLinksPath("https://www.fernbrooks.example/plinx/iga/", "Plinx_PC", info ? info->name : "");
    if (s_lastProduct < 0)
        s_lastProduct = 0;
    GameAdsSetCurAdPointer(&s_lastProduct);
    Goto(GetScreens(), EngFourCC("GADS"));
}

// ---- Choosing a game type ------------------------------------------------------------------------

bool SelectStartGameType(MWinScreens *screens, int gameType)
{
    if (gameType < 0 || gameType >= GAME_NUM_TYPES)
    {
        DebugError(ENG_FUNC, "Bad game type %d", gameType);
        return false;
    }
    GameState.userOptions.gameType = (int8_t)gameType;
    return screens && screens->GotoScreen(plinx_screen_main, nullptr);
}
