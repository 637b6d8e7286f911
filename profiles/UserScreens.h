// The player profile screens: the players screen (continue with the last player, new,
// load, exit), the new-player screen, the load screen, the select screen of large-screen
// devices and the country screen. UserScreens owns their five controllers and registers
// them with the program's screen stack; the helpers below are shared by all five.
//
// How the program uses it:
//   - CountrySetup(0, 0, NULL, NULL, 0, 0) and ModulesSetup at start-up;
//   - UserScreensSetHost with its splash operations (optional);
//   - `new UserScreens(registry)` in its screen registry, and in SetupScreens
//     AddScreens(true) then SetCurrentToFirstScreen() (the players screen 'uUSR');
//   - UserScreensReleaseGraphics in its release-graphics step;
//   - UserListClear as the rules' clearUserNameList hook.
// A player loaded or created here ends in UserClass::AfterUserCreatedOrLoaded, whose
// after-load hook takes the program on to the main menu.
#pragma once
#include "EngTypes.h"
#include "MWin.h"

class UserSelectCC;
class UsersCC;
class UserLoadCC;
class UserNewCC;
class CountryCC;
class UserClass;

// The profile screens' ids, writable globals as the game's own screen ids are.
extern ScreenId user_screen_select; // 'uSEL'
extern ScreenId user_screen_users;  // 'uUSR' players
extern ScreenId user_screen_load;   // 'uLOD'
extern ScreenId user_screen_new;    // 'uNEW'
extern ScreenId country_screen;     // 'mCTY'

class UserScreens
{
public:
    // Null screens are fatal ("No screens").
    explicit UserScreens(MWinScreens *screens);
    ~UserScreens();
    UserScreens(const UserScreens &) = delete;
    UserScreens &operator=(const UserScreens &) = delete;

    // Registers 'uSEL', 'uUSR', 'uLOD', 'uNEW' and, with `addCountryScreen`, 'mCTY'; true
    // only when every registration succeeded (all are attempted).
    bool AddScreens(bool addCountryScreen);
    // Makes the first screen current without a change of screen.
    void SetCurrentToFirstScreen();
    // Clears every profile screen's widget pointers.
    void ClearAllButtonPointers();

    MWinScreens *GetScreens() const { return screens; }
    // A missing object is fatal.
    UserSelectCC *GetUserSelectCC();
    UsersCC *GetUsersCC();
    UserLoadCC *GetUserLoadCC();
    UserNewCC *GetUserNewCC();
    CountryCC *GetCountryCC();

private:
    MWinScreens *screens;
    UserSelectCC *userSelectCC;
    UsersCC *usersCC;
    UserLoadCC *userLoadCC;
    UserNewCC *userNewCC;
    CountryCC *countryCC;
};

// 'uSEL' on a large-screen device, else 'uUSR' (always 'uUSR' on the desktop).
ScreenId UserScreensGetFirstScreenId();

// ---- What the profile screens need of the program above them ----------------------------
// Every entry is optional; a missing one does nothing (and answers false).
struct _UserScreensHost
{
    void (*stopSplash)();   // the start-up splash ends (SplashStop)
    bool (*splashTick)();   // one splash frame's tick while one runs behind the screens
    bool (*splashRender)(); // its drawing
    // Shows the program's picture behind the players screen in the rectangle (design
    // units) at full opacity, held until the screen is left, unless a splash runs; NULL:
    // the players screen draws only its widgets.
    bool (*startSplashBehind)(float x, float y, float w, float h);
    // The picture shown as the profile screens' title ("Data/PlinxText.png"); NULL: none.
    const char *titlePicture;
};
void UserScreensSetHost(const _UserScreensHost *host);

// ---- Shared by the profile screens ---------------------------------------------------------
// Stops the splash before a profile screen hands over.
void UserScreensLeaveSplash();
// The host's splash tick and drawing (false without them).
// The host's picture behind the players screen, centred between the bottom of `above`
// (0 when NULL) and the top of `below` (480 when NULL); false without it.
bool UserScreensStartSplashBehind(MWinButton *above, MWinButton *below);
bool UserScreensHostSplashTick();
bool UserScreensHostSplashRender();
// The title picture the host names (loaded once); true.
bool UserScreensCreateGraphics();
// Releases the title picture and the flag atlas (the program's release-graphics step).
void UserScreensReleaseGraphics();
// Draws a country's flag just right of a button, outside the button's own clipping.
void UserScreensDrawFlagRightOfButton(int countryIndex, MWinButton *button);
// The title picture button: no background, its area by the screen layout.
void UserScreensSetupTitlePicture(MWinButton *button);
// The language button: shown with its language's flag when the module settings show the
// language flag and two or more languages exist; else hidden.
void UserScreensSetupLanguageFlagButton(MWin *mwin, MWinButton *button);
// Opens the language popup.
void UsersControlLangCB(MWin *mwin);
// The last player's name kept with the start-up settings ("" none).
const char *UserScreensGetLastPlayerName();
// The screen stack the profile screens are registered with (NULL when none).
MWinScreens *UserScreensGetStack();
// After a player was loaded or created: leave the splash, run the after-load step (on to
// the main menu) and drop pending input.
void UserScreensAfterLoadOrCreate(UserClass *user, char saveFirst);

// ---- Building a screen: one window "MainWin" over 640 x 480 with its widgets ---------------
struct _UserScreensWidget
{
    const char *id;
    _MWinButtonType kind;
    const char *texBut;
    const char *text;  // shown when the token is missing
    const char *token; // NULL: the plain text
    float x, y, w, h;
    float r, g, b, a;  // text colour
    float scaleX, scaleY;
    _MWinTextAlign align;
    float multiplierAlpha; // a white colour multiplier of this alpha; 0 none
};
// Adds the collection `collectionId` with its window and the `count` widgets (their
// pointers into `widgets`, NULL where one failed), the controller taking the window's
// presses. NULL (logged) when the collection cannot be made.
MWinCollection *UserScreensBuildScreen(MWinCollectionController *controller, MWin *mwin, MWinDesktop *desktop,
                                       const char *collectionId, const _UserScreensWidget *rows, int count,
                                       MWinButton **widgets, MWinWindow **window);
