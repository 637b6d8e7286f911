// The program object's operations in the engine's order: start-up (init hook, window,
// device, graphics), the frame (tick, render, input) split between the menus and the
// game, and shut-down.
//
// Sections: start-up, graphics, frame, input, shut-down.
#include "Program.h"

#include <cstring>

#include "AppView.h"
#include "Country.h"
#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngWindow.h"
#include "Game.h"
#include "GameFade.h"
#include "GameStill.h"
#include "GameState.h"
#include "MWin.h"
#include "Play.h"
#include "Plinx.h"
#include "PlinxMWinSetup.h"
#include "PlinxScreens.h"
#include "Puzzles.h"
#include "Resolution.h"
#include "Scores.h"
#include "ScreensHost.h"
#include "Splash.h"
#include "Tick.h"
#include "User.h"
#include "UserScreens.h"

namespace
{

const char kFontFile[] = "Data/VeraBd.ttf";

void DeleteExtraUserFilesCB(const char *name, char resetOnly, void *context)
{
}

const char *GetModulesItemFilenameCB(int item)
{
    // The pictures the player screens may replace (items 10 to 14) load from their own
    // files: the program replaces none of them.
    if (item >= 10 && item <= 14)
        return nullptr;
    DebugError(ENG_FUNC, "Unexpected item %d", item);
    return nullptr;
}

bool SplashTickCB()
{
    return SplashTick() != 0;
}

bool SplashRenderCB()
{
    return SplashRender(0);
}

// The picture behind the players screen holds until the screen is left.
bool HoldSplashBehindCB(double elapsed, void *context)
{
    return false;
}

bool StartSplashBehindCB(float x, float y, float w, float h)
{
    if (SplashIsOn())
        return true;
    if (!SplashSetupPicture("Data", "Splash", nullptr, nullptr, 0.0f, 0.0f, nullptr, HoldSplashBehindCB, nullptr))
        return false;
    SplashSetPictureRect(x, y, w, h, 1);
    if (!SplashStart())
        return false;
    SplashSetFullyShown();
    return true;
}

void LogLine75()
{
    DebugInfo("---------------------------------------------------------------------------");
}

} // namespace

Program::Program()
{
}

Program::~Program()
{
}

// ---- Start-up ----------------------------------------------------------------------------------------------

void GameLogRes(int step)
{
    const _EngScreenSettings &s = EngScreenSettings;
    const ResolutionSettings *settings = ResolutionGetSettings();
    DebugInfo("Res%d: [Windowed: %d  W:%d  H:%d  B:%d  FSMS:[%d,%d]  WMS:[%d,%d]  SM: %d  CT: %d]", step, s.windowed,
              s.width, s.height, s.depth, settings ? settings->fullScreenMultisampleType : 0,
              settings ? settings->fullScreenMultisampleQuality : 0,
              settings ? settings->windowedMultisampleType : 0, settings ? settings->windowedMultisampleQuality : 0,
              settings ? settings->mouseSync : 0, settings ? settings->cursorType : 0);
}

signed char Program::InitCB(const char *commandLine)
{
    // The game state at its start values before anything reads or fills it.
    PlaySetup();
    GameRegisterGuiHost();
    GameSetUser(new UserClass(nullptr, "Plinx", 1));
    const ResolutionSettings *stored = ResolutionGetSettings();
    if (!EngLanguagesInitCommonTexts(stored ? stored->languageName : nullptr, false))
        return 0;
    EngLanguagesInitFinished();
    ModulesSetupInfo modules = {};
    modules.isSetup = 1;
    modules.userFileEncryption = USER_FILE_ENCRYPTED;
    modules.titleMode = 0;
    modules.backgroundMode = 0;
    modules.countryFeatureOff = 0;
    modules.languageFlag = 1;
    modules.userDeleted = DeleteExtraUserFilesCB;
    modules.userDeletedContext = nullptr;
    if (!ModulesSetup(&modules, GetModulesItemFilenameCB))
        return 0;
    CountrySetup(0, 0, nullptr, nullptr, 0.0f, 0.0f);
    UserLoadLastPlayersOptions();
    SetMainDeviceType(ENG_DEVICE_DX9);
    game_program.configurationForced = strcmp(commandLine ? commandLine : "", "CONFIGURATION") == 0;
    LogLine75();
    DebugInfo("Game Version %0.2f", GAME_VERSION);
    DebugInfo("File Version %0.2f", GAME_FILE_VERSION);
    LogLine75();
    DebugInfo("Architecture: PC");
    LogLine75();
    ResolutionSettings *settings = ResolutionGetSettings();
    if (ResolutionDoWeeklyVersionCheck())
    {
        settings->showStartupWindow = 1;
        return -1;
    }
    // The stored version is a float written by a program: compared as a float.
    bool skipDialog = !game_program.configurationForced && ResolutionLoadSettings() &&
                      settings->showStartupWindow == 0 && settings->programVersion == GAME_VERSION;
    if (!skipDialog)
    {
        settings->showStartupWindow = 1;
        signed char result = ResolutionDoDialog();
        if (result < 1)
            return result;
        // PLAY answered the dialog: a normal end of this run does not bring it back (a run
        // that never reaches its save still does, through the flag saved below).
        settings->showStartupWindow = 0;
    }
    // An abnormal end brings the dialog back at the next start: the file says "show"
    // until the save at shut-down writes the real value.
    ResolutionUpdateSettingsFromCurrent();
    uint8_t show = settings->showStartupWindow;
    settings->showStartupWindow = 1;
    ResolutionSaveSettings();
    settings->showStartupWindow = show;
    GameLogRes(1);
    SetMainLoopMode(ENG_LOOP_CONSTANT_RATE);
    // Menus that stand still are not drawn again until something changes.
    SetStillFrameQuery(GameStillQueryCB);
    return 1;
}

signed char Program::PreCreateWindowCB(_EngCreateWindowParms *parms)
{
    GameLogRes(2);
    return 1;
}

void GameGuiSettings()
{
    MWin &mwin = mwin_object;
    PlinxMWinSetupLayoutParameters(&mwin);
    _MWinSettings settings;
    mwin.GetDefaultSettings(&settings);
    settings.disabledAlphaFactor = 0.3f;
    mwin.SetDefaultSettings(&settings);
    // The popups' look; their texts use the GUI font "Main" (no standard font exists).
    mwin.PopupSetSettings("Back1", "Back1", "Main", "Main", "Main", 1, 1, 1, 0.7f, 1.2f, 1.2f, 1, 1, 1, 0.7f, 1.4f,
                          1.4f, 1);
}

signed char Program::PreDeviceInitCB()
{
    MWin &mwin = mwin_object;
    GameGuiSettings();
    PlinxMWinSetupTexturesAndTexButs(&mwin);
    if (MWinFonts *fonts = mwin.GetFonts())
    {
        fonts->AddUserFontPointer("Main", PlinxGetMainFont());
        PlinxMWinAddFirstUserFontsStylesToFont(&mwin, 0);
    }
    const ResolutionSettings *settings = ResolutionGetSettings();
    if (settings && settings->cursorType == 0 && GetMainWindow())
        GetMainWindow()->SetupTextureCursor_PC("Data/Cursor.tga", 2, 2, 14, 20, true, nullptr, 0);
    AppViewSetupEffects();
    AppViewSetGuiSoundCallback();
    AppViewPreDeviceSetup();
    _ScreensHost host = {};
    host.saveUser = GameSaveUser;
    host.setMusicVolume = AppViewSetMusicVolume;
    host.restartMenuEffect = AppViewRestartMenuEffect;
    ScreensSetHost(&host);
    _UserScreensHost userHost = {};
    userHost.stopSplash = SplashStop;
    userHost.splashTick = SplashTickCB;
    userHost.splashRender = SplashRenderCB;
    userHost.startSplashBehind = StartSplashBehindCB;
    // The menu background already carries the game's title.
    userHost.titlePicture = nullptr;
    UserScreensSetHost(&userHost);
    game_program.startPending = 1;
    return 1;
}

signed char Program::PostDeviceInitCB()
{
    GameLogRes(3);
    PuzzlesLoadAllLists();
    PlinxScreensGetObject().SetupAllScreens();
    GameAfterCreateStep();
    SplashSetup("Data/Splash1.jpg", "Data/Splash2.jpg", "Data/Splash3.jpg", "Data/Splash4.jpg",
                "Data/NormalEffect.tga", nullptr, "Data/LogoMono.wav", PlinxGetMainFont(), 0.0f, 0.0f, nullptr,
                nullptr, GameAfterSplashCB, nullptr, 1);
    if (SplashStart())
        DebugInfo("Splash started");
    else
    {
        // No splash to hide the rest of the start behind: it runs now, and its failure
        // fails the start.
        if (!GameFinishStart())
            return 0;
        GameAfterSplashCB(nullptr);
    }
    return 1;
}

// The GUI font, the play screen's textures and the sounds: the splash's black first frame
// needs none of them, so they load behind it, in its first tick (the splash stays black
// for its first 0.8 s). True once done; false when the font or the play screen's
// textures cannot be made (reported).
bool GameFinishStart()
{
    if (!game_program.startPending)
        return true;
    game_program.startPending = 0;
    if (!GameCreateFreeTypeFont() || !AppViewCreateBallGraphics())
        return false;
    if (!AppViewSoundInit())
        DebugInfo("Problem loading sounds");
    return true;
}

// A start that fails behind the splash ends as a failed start does: the message that
// offers the log.
void GameEndFailedStart()
{
    DebugError(ENG_FUNC, "The start could not be finished");
    if (game_program.program)
        game_program.program->ForceExitNow(nullptr, nullptr, false);
}

// ---- Graphics ---------------------------------------------------------------------------------------------

bool GameCreateFreeTypeFont()
{
    EngFont *font = PlinxGetMainFont();
    if (font->IsCreated())
        return true;
    EngFontSetLogMissingChars(false);
    if (!PlinxMWinCreateFontApart(0, kFontFile, font))
    {
        DebugError(ENG_FUNC, "PlinxMWinCreateFontApart() failed");
        return false;
    }
    return true;
}

bool GameMenuCreateGraphics()
{
    bool ok = AppViewCreateMenuGraphics();
    if (!CountryCreateGraphics())
        ok = false;
    return ok;
}

void GameMenuReleaseGraphics()
{
    AppViewReleaseMenuGraphics();
    mwin_object.DestroyGraphicsObjects();
}

bool Program::CreateGraphicsObjectsCB()
{
    SplashCreateGraphics();
    // At the start the GUI font waits behind the splash with the balls (GameFinishStart):
    // nothing draws text before the splash's first tick.
    if (!game_program.startPending && !GameCreateFreeTypeFont())
        return false;
    AppViewCreateEffectGraphics();
    // At the start the balls wait behind the splash (GameFinishStart), unless their
    // frames must be made first (the first start): that runs before the splash, as ever.
    bool ballsWait = game_program.startPending && AppViewBallFramesStored();
    if (!ballsWait && !AppViewCreateBallGraphics())
        return false;
    bool guiOn = GameIsGuiOn();
    if (EngWindow *window = GetMainWindow())
        guiOn ? window->ShowMouseCursor() : window->HideMouseCursor();
    if (guiOn && !GameMenuCreateGraphics())
        return false;
    mwin_object.CreateGraphicsObjects();
    PlinxScreensGetObject().CreateGameAdsGraphics();
    return true;
}

void Program::ReleaseGraphicsObjectsCB()
{
    PlinxScreensGetObject().ReleaseGameAdsGraphics();
    AppViewReleaseEffectGraphics();
    AppViewReleaseBallGraphics();
    PlinxGetMainFont()->Destroy();
    AppViewReleasePlayGraphics();
    GameMenuReleaseGraphics();
    UserScreensReleaseGraphics();
    SplashReleaseGraphics();
}

void GameAfterCreateStep()
{
    if (GameIsGuiOn())
        GameMenuCreateGraphics();
    if (EngMainDevice)
    {
        EngMainDevice->EnableZBuffer(false);
        EngMainDevice->EnsurePreparedFor2D(true);
    }
    AppViewAfterCreateLayout();
    MWinScreens *screens = mwin_object.HasScreens() ? mwin_object.GetScreens() : nullptr;
    if (screens && screens->IsRunning())
    {
        mwin_object.PopupClose();
        screens->ReloadCurrentScreen();
    }
    ResolutionUpdateSettingsFromCurrent();
    ResolutionApplyDeviceSettingsToWindow();
}

void Program::AfterGraphicsObjectsCreatedCB()
{
    GameAfterCreateStep();
}

// ---- Frame --------------------------------------------------------------------------------------------------

void GameMenuTick()
{
    if (GameFadeIsFading())
        GameFadeTick(EngFrameTiming.currentTime);
    AppViewTickMenuEffect();
    AppViewTickMusic();
}

void GameTick()
{
    if (SplashTick())
    {
        // The first tick starts the splash's clock; the rest of the start then loads
        // within its black first second, before anything is drawn with it.
        if (game_program.startPending && !GameFinishStart())
            GameEndFailedStart();
        return;
    }
    bool fadingOut = GameFadeIsFadingOut();
    if (GameFadeIsFading())
        GameFadeTick(EngFrameTiming.currentTime);
    else if (EngKeyStates[ENG_VK_SPACE] > 1)
    {
        EngKeyStates[ENG_VK_SPACE] = 0;
        GameMouseButton(-1, true);
    }
    // The rules stand still while the picture fades out: the game was saved (or is being
    // left), and a life lost now would change what the player comes back to.
    if (!fadingOut && !GameIsGuiOn() && game_program.gameRunning)
    {
        // The editor runs its own keys, and the rules itself during a test run.
        if (PuzzlesIsEditing())
            PuzzlesEditorTick();
        else
            TickGame();
    }
    AppViewTickGameEffects();
    AppViewTickMusic();
}

bool Program::TickCB()
{
    if (!GetMainWindow())
        return false;
    if (!EngMainDevice)
        return true;
    if (GameIsGuiOn())
    {
        if (mwin_object.HasScreens())
            mwin_object.GetScreens()->Tick();
        GameMenuTick();
    }
    else
        GameTick();
    return true;
}

void GameMenuRender()
{
    // The country list fills the screen from the top: the background's title would show
    // through its rows.
    AppViewRenderMenuBackground(mwin_object.GetCurrentScreen() != country_screen);
    ScreenId current = mwin_object.GetCurrentScreen();
    if (current == EngFourCC("CPPR") || current == EngFourCC("SPUZ") || current == EngFourCC("GADS"))
        EngMainDevice->ClearScreen();
    else
        AppViewRenderMenuEffect();
}

void GameRender()
{
    if (SplashRender(1))
        return;
    EngMainDevice->ClearScreen();
    AppViewRenderPlayScreen();
    AppViewRenderGameEffects();
    AppViewRenderLevelTexts();
    GameFadeRender();
}

void Program::RenderCB()
{
    EngDevice *device = EngMainDevice;
    if (!device || !device->BeginRendering())
        return;
    if (GameIsGuiOn())
    {
        MWinScreens *screens = mwin_object.HasScreens() ? mwin_object.GetScreens() : nullptr;
        GameMenuRender();
        if (screens)
            screens->Render(0);
        mwin_object.RenderMain();
        if (screens)
            screens->Render(1);
        GameFadeRender();
        mwin_object.RenderPopups();
        if (screens)
            screens->Render(2);
    }
    else
        GameRender();
    device->EndRendering();
}

// ---- Input --------------------------------------------------------------------------------------------------

bool Program::InputCB(int32_t event, int32_t a, int32_t b)
{
    if (!GetMainWindow())
        return false;
    GameStillNoteActivity();
    if (mwin_object.HandleInput(event, a, b))
        return true;
    if (GameIsGuiOn() || !game_program.gameRunning)
        return false;
    if (event == ENG_INPUT_MOUSE_MOVE)
    {
        float x, y;
        memcpy(&x, &a, sizeof(x));
        memcpy(&y, &b, sizeof(y));
        return GameMouseMove(x, y);
    }
    if (event == ENG_INPUT_BUTTON)
        return GameMouseButton(a, b != 0);
    return false;
}

void Program::ModeChangedCB(int orientation)
{
}

bool Program::ActivationChangedCB(bool active)
{
    return active;
}

// ---- Shut-down ----------------------------------------------------------------------------------------------

void GameShutdownStep()
{
    UserClass *user = GameGetUser();
    // The music remembers its place in the player's options before they are saved.
    AppViewStopMusic();
    if (user && user->IsLoaded())
    {
        GameSaveUser(1);
        user->UnloadUser();
    }
    else
    {
        // Leaving from the player screens is a normal end too: the start-up settings
        // keep their real values (the show-the-dialog flag among them).
        ResolutionUpdateSettingsFromCurrent();
        ResolutionSaveSettings();
    }
    PuzzlesReleaseEditor();
    ScoresFreeOnlineScores();
    AppViewReleasePlaceFinder();
    PlinxScreensGetObject().RemoveAllScreens();
    // The GUI starts with the first menu: a program closed during the splash has none to
    // shut down (its graphics go with the program's other graphics objects).
    if (mwin_object.IsOn())
        mwin_object.Shutdown();
    AppViewReleaseSound();
}

void Program::PreDestroyDeviceCB()
{
    GameShutdownStep();
}

void Program::ShutdownCB()
{
    delete GameGetUser();
    GameSetUser(nullptr);
    EngLanguagesFreeAll();
    PlinxScreensShutdown();
    GameUnregisterGuiHost();
    PlayShutdown();
}
