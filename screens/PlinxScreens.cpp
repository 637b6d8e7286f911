// The game's screen registry (see PlinxScreens.h). Screens switch without the toolkit's
// fade: the only fades are the program's own between the menus and play.
#include "PlinxScreens.h"

#include "Controls.h"
#include "EngDebug.h"
#include "CpProps.h"
#include "Credits.h"
#include "EngDevice.h"
#include "GameAdsCC.h"
#include "Help.h"
#include "LevelDone.h"
#include "Log.h"
#include "Main.h"
#include "Options.h"
#include "Pause.h"
#include "Select.h"
#include "SendPuzzle.h"
#include "UserScreens.h"

ScreenId plinx_screen_main = EngFourCC("MAIN");
ScreenId plinx_screen_about = EngFourCC("ABOT");
ScreenId plinx_screen_options = EngFourCC("OPTN");
ScreenId plinx_screen_select = EngFourCC("SLCT");
ScreenId plinx_screen_controls = EngFourCC("CTRL");
ScreenId plinx_screen_level_done = EngFourCC("LVDN");
ScreenId plinx_screen_pause = EngFourCC("PAUS");
ScreenId plinx_screen_help = EngFourCC("HELP");
ScreenId plinx_screen_cp_props = EngFourCC("CPPR");
ScreenId plinx_screen_send_puzzle = EngFourCC("SPUZ");
ScreenId plinx_screen_credits = EngFourCC("CRED");
ScreenId plinx_screen_logs = EngFourCC("LOGS");

static PlinxScreens *s_registry = nullptr;

namespace
{

// One log line per screen shown, so that a run can be followed in the log.
void LogScreen(ScreenId id)
{
    char name[5] = {(char)(id >> 24), (char)(id >> 16), (char)(id >> 8), (char)id, 0};
    DebugInfo("Screen %s", name);
}

} // namespace

PlinxScreens::PlinxScreens(MWin *mwin)
    : MWinScreens(mwin, false), mainCC(nullptr), optionsCC(nullptr), selectCC(nullptr), controlsCC(nullptr),
      pauseCC(nullptr), levelDoneCC(nullptr), creditsCC(nullptr), helpCC(nullptr), cpPropsCC(nullptr),
      gameAdsCC(nullptr), logCC(nullptr), sendPuzzleCC(nullptr), userScreens(nullptr)
{
    mainCC = new MainCC(this);
    optionsCC = new OptionsCC(this);
    selectCC = new SelectCC(this);
    controlsCC = new ControlsCC(this);
    levelDoneCC = new LevelDoneCC(this);
    cpPropsCC = new CpPropsCC(this);
    creditsCC = new CreditsCC(this);
    helpCC = new HelpCC(this);
    pauseCC = new PauseCC(this);
    logCC = new LogCC(this);
    userScreens = new UserScreens(this);
    gameAdsCC = new GameAdsCC(this);
    sendPuzzleCC = new SendPuzzleCC(this);
}

PlinxScreens::~PlinxScreens()
{
    // The stack forgets the controllers before they go, so nothing calls a deleted one.
    RemoveAllScreens();
    delete sendPuzzleCC;
    sendPuzzleCC = nullptr;
    delete gameAdsCC;
    gameAdsCC = nullptr;
    delete userScreens;
    userScreens = nullptr;
    delete mainCC;
    mainCC = nullptr;
    delete levelDoneCC;
    levelDoneCC = nullptr;
    delete optionsCC;
    optionsCC = nullptr;
    delete controlsCC;
    controlsCC = nullptr;
    delete selectCC;
    selectCC = nullptr;
    delete cpPropsCC;
    cpPropsCC = nullptr;
    delete helpCC;
    helpCC = nullptr;
    delete creditsCC;
    creditsCC = nullptr;
    delete pauseCC;
    pauseCC = nullptr;
    if (logCC)
        logCC->RemoveAllLogEntries();
    delete logCC;
    logCC = nullptr;
}

bool PlinxScreens::SetupScreens()
{
    bool ok = true;
    if (!AddScreen(plinx_screen_main, mainCC))
        ok = false;
    if (!AddScreen(plinx_screen_options, optionsCC))
        ok = false;
    if (!AddScreen(plinx_screen_select, selectCC))
        ok = false;
    if (!AddScreen(plinx_screen_controls, controlsCC))
        ok = false;
    if (!AddScreen(plinx_screen_level_done, levelDoneCC))
        ok = false;
    if (!AddScreen(plinx_screen_cp_props, cpPropsCC))
        ok = false;
    if (!AddScreen(plinx_screen_credits, creditsCC))
        ok = false;
    if (!AddScreen(plinx_screen_send_puzzle, sendPuzzleCC))
        ok = false;
    if (!AddScreen(plinx_screen_help, helpCC))
        ok = false;
    if (!AddScreen(plinx_screen_pause, pauseCC))
        ok = false;
    if (!AddScreen(plinx_screen_logs, logCC))
        ok = false;
    if (!AddScreen(EngFourCC("GADS"), gameAdsCC))
        ok = false;
    if (!userScreens || !userScreens->AddScreens(true))
        ok = false;
    if (userScreens)
        userScreens->SetCurrentToFirstScreen();
    return ok;
}

void PlinxScreens::BeforeStart()
{
    ClearAllButtonPointers();
    MWin *mwin = GetMWin();
    if (mwin && mwin->IsPopupOn())
        mwin->PopupClose();
    if (EngMainDevice)
        EngMainDevice->SetClearColour(0.0f, 0.0f, 0.0f);
}


void PlinxScreens::AfterStart(ScreenId current)
{
}

void PlinxScreens::PreChanging()
{
    ClearAllButtonPointers();
    if (MWin *mwin = GetMWin())
        if (MWinDesktop *desktop = mwin->GetDesktop())
            desktop->RemoveAllCollections();
}

void PlinxScreens::PostChanging(ScreenId current)
{
    LogScreen(current);
    if (MWin *mwin = GetMWin())
        mwin->ButtonsChanged();
}

void PlinxScreens::OnEnd()
{
    ClearAllButtonPointers();
}

void PlinxScreens::ClearAllButtonPointers()
{
    if (mainCC)
        mainCC->ClearButtonPointers();
    if (optionsCC)
        optionsCC->ClearButtonPointers();
    if (selectCC)
        selectCC->ClearButtonPointers();
    if (controlsCC)
        controlsCC->ClearButtonPointers();
    if (levelDoneCC)
        levelDoneCC->ClearButtonPointers();
    if (cpPropsCC)
        cpPropsCC->ClearButtonPointers();
    if (creditsCC)
        creditsCC->ClearButtonPointers();
    if (helpCC)
        helpCC->ClearButtonPointers();
    if (pauseCC)
        pauseCC->ClearButtonPointers();
    if (logCC)
        logCC->ClearButtonPointers();
    if (gameAdsCC)
        gameAdsCC->ClearButtonPointers();
}

bool PlinxScreens::CreateGameAdsGraphics()
{
    if (gameAdsCC && GetCurrentScreen() == EngFourCC("GADS"))
        gameAdsCC->CreatePictures();
    return true;
}

void PlinxScreens::ReleaseGameAdsGraphics()
{
    if (gameAdsCC)
        gameAdsCC->ReleasePictures();
}

bool PlinxScreens::HasScreen(ScreenId id)
{
    EngScreens *stack = GetEngScreens();
    return stack && stack->GetController(id) != nullptr;
}

PlinxScreens &PlinxScreensGetObject()
{
    if (!s_registry)
        s_registry = new PlinxScreens(&mwin_object);
    return *s_registry;
}

void PlinxScreensShutdown()
{
    delete s_registry;
    s_registry = nullptr;
}
