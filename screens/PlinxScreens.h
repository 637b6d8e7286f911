// The game's screen registry: one behaviour object per menu screen and the container of
// the player profile screens, registered with the GUI's screen stack under their
// four-letter ids. Every screen follows one pattern: a layout class
// (XxxCollectionController) that builds the collection "Xxx" with its window "MainWin"
// and widgets for each screen layout, and a behaviour class (XxxCC) derived from it that
// reacts to start, tick, render and button presses.
#pragma once
#include "EngTypes.h"
#include "MWin.h"

class OptionsCC;
class MainCC;
class SelectCC;
class ControlsCC;
class PauseCC;
class LevelDoneCC;
class HelpCC;
class CpPropsCC;
class GameAdsCC;
class CreditsCC;
class LogCC;
class SendPuzzleCC;
class UserScreens;

// The game's screen ids, writable globals that every screen reads.
extern ScreenId plinx_screen_main;    // 'MAIN' game set-up
extern ScreenId plinx_screen_about;   // 'ABOT' defined, never registered
extern ScreenId plinx_screen_options; // 'OPTN'
extern ScreenId plinx_screen_select;  // 'SLCT' main menu
extern ScreenId plinx_screen_controls; // 'CTRL'
extern ScreenId plinx_screen_level_done; // 'LVDN'
extern ScreenId plinx_screen_pause;   // 'PAUS'
extern ScreenId plinx_screen_help;    // 'HELP'
extern ScreenId plinx_screen_cp_props; // 'CPPR'
extern ScreenId plinx_screen_send_puzzle; // 'SPUZ'
extern ScreenId plinx_screen_credits; // 'CRED'
extern ScreenId plinx_screen_logs;    // 'LOGS'

class PlinxScreens : public MWinScreens
{
public:
    explicit PlinxScreens(MWin *mwin);
    ~PlinxScreens() override;

    bool SetupScreens() override;
    void BeforeStart() override;
    void AfterStart(ScreenId current) override;
    void PreChanging() override;
    void PostChanging(ScreenId current) override;
    void OnEnd() override;

    void ClearAllButtonPointers();
    UserScreens *GetUserScreens() const { return userScreens; }
    SelectCC *GetSelectCC() const { return selectCC; }
    LogCC *GetLogCC() const { return logCC; }
    GameAdsCC *GetGameAdsCC() const { return gameAdsCC; }
    // The other products screen's pictures around a new graphics device: made again when
    // that screen shows, and let go before the device goes.
    bool CreateGameAdsGraphics();
    void ReleaseGameAdsGraphics();
    // Whether a screen of that id is registered.
    bool HasScreen(ScreenId id);

private:
    MainCC *mainCC;
    OptionsCC *optionsCC;
    SelectCC *selectCC;
    ControlsCC *controlsCC;
    PauseCC *pauseCC;
    LevelDoneCC *levelDoneCC;
    CreditsCC *creditsCC;
    HelpCC *helpCC;
    CpPropsCC *cpPropsCC;
    GameAdsCC *gameAdsCC;
    LogCC *logCC;
    SendPuzzleCC *sendPuzzleCC;
    UserScreens *userScreens;
};

// The program's one registry (made on first use, on the one GUI root).
PlinxScreens &PlinxScreensGetObject();
// Unregisters every screen and lets the registry go (shut-down).
void PlinxScreensShutdown();
