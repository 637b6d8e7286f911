// The options screen: its layout (three framed groups over the menu background) and its
// behaviour (choices bound to the working options, the popups of the misc group).
// Sections: layout table, popups, layout, behaviour.
#include "Options.h"

#include <initializer_list>

#include "AppHooks.h"
#include "EngDebug.h"
#include "GameState.h"
#include "Plinx.h"
#include "PlinxScreens.h"
#include "Resolution.h"
#include "ScreensBuild.h"
#include "ScreensHost.h"
#include "ViewHooks.h"

namespace
{

// ---- Layout table -----------------------------------------------------------------------------------

#define OPT_BOX(id, x, y, w, h) {id, MWIN_BUTTON_PUSH, "Back2", "", x, y, w, h, 0.9f, 0.7f, 1, 1, 1, 1, 1}
#define OPT_TITLE(id, text, x, y, w) {id, MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, text, x, y, w, 18, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1}
#define OPT_LABEL(id, text, x, y, w) {id, MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, text, x, y, w, 13, 1, 1, 1, 0.7f, 1, 1, 2}
#define OPT_CHOICE(id, x, y, w) {id, MWIN_BUTTON_CHOICE, MWIN_TEXBUT_NONE, "Gen", x, y, w, 13, 1, 0.9f, 0.3f, 0.8f, 1, 1, 1}
#define OPT_BUTTON(id, text, x, y) {id, MWIN_BUTTON_PUSH, "Main", text, x, y, 160, 24, 1, 1, 1, 0.7f, 1, 1, 1}

const _ScreensWidgetRow kNormal[OPTIONS_NUM_WIDGETS] = {
    OPT_BOX("EffectsBox", 170, 91.47f, 300, 81.53f),
    OPT_TITLE("EffectsTitle", "EFFECTS", 169, 100, 302),
    OPT_LABEL("EMenuText", "MENU EFFECTS", 193.75f, 128.47f, 100),
    OPT_CHOICE("EMenu", 314.92f, 128.47f, 131.33f),
    OPT_LABEL("EGameText", "GAME EFFECTS", 193.75f, 145.47f, 100),
    OPT_CHOICE("EGame", 314.92f, 145.47f, 131.33f),
    {"Back", MWIN_BUTTON_PUSH, "Main", "BACK", 505, 430, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    OPT_BOX("SoundBox", 177.5f, 175, 285, 121),
    OPT_TITLE("VolumesTitle", "VOLUMES", 136, 185, 368),
    OPT_LABEL("MenuMusicVolText", "MENU MUSIC", 204.11f, 216, 115),
    OPT_CHOICE("MenuMusicVol", 339.3f, 216, 96.59f),
    OPT_LABEL("GameMusicVolText", "GAME MUSIC", 204.11f, 233, 115),
    OPT_CHOICE("GameMusicVol", 339.3f, 233, 96.59f),
    OPT_LABEL("GameOverMusicVolText", "GAME OVER MUSIC", 204.11f, 250, 115),
    OPT_CHOICE("GameOverMusicVol", 339.3f, 250, 96.59f),
    OPT_LABEL("GameSoundsVolText", "GAME SOUNDS", 204.11f, 267, 115),
    OPT_CHOICE("GameSoundsVol", 339.3f, 267, 96.59f),
    OPT_BOX("ControlsBox", 121, 297, 399, 132),
    OPT_TITLE("MiscTitle", "MISC", 190, 305, 261),
    OPT_BUTTON("Controls", "CONTROLS", 335, 330),
    OPT_BUTTON("ClearScores", "CLEAR SCORES", 145, 390),
    OPT_BUTTON("Startup", "STARTUP", 335, 360),
    OPT_LABEL("PowerText", "PROCESSING POWER", 141.78f, 430, 194.8f),
    OPT_CHOICE("Power", 338.71f, 430, 136.11f),
    {"PowerInfo", MWIN_BUTTON_PUSH, "Main", "?", 478, 425, 35, 18, 1, 1, 1, 0.7f, 1, 1, 1},
    OPT_BUTTON("AutoSubmit", "AUTO-SUBMIT", 145, 360),
    OPT_BUTTON("ScoresPlace", "SHOW POSITION", 335, 390),
};

#undef OPT_BOX
#undef OPT_TITLE
#undef OPT_LABEL
#undef OPT_CHOICE
#undef OPT_BUTTON

const char *kEffectWords[4] = {"OFF", "LOW", "MEDIUM", "FULL"};
const char *kPowerWords[4] = {"FULL", "MEDIUM", "LOW", "LOWEST"};
// The volume items when the language texts lack them.
const char *kVolumeWords[11] = {"OFF", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

// One choice and the option byte it edits.
struct BoundChoice
{
    int widget;
    int8_t _UserOptions::*option;
    int count;
    const char *token;
    const char **words;
    const char *name;
};

const BoundChoice kChoices[] = {
    {OPTIONS_MENU_EFFECTS, &_UserOptions::menuEffects, 4, nullptr, kEffectWords, "menu effects"},
    {OPTIONS_GAME_EFFECTS, &_UserOptions::gameEffects, 4, nullptr, kEffectWords, "game effects"},
    {OPTIONS_MENU_MUSIC, &_UserOptions::menuMusicVolume, 11, "Misc_NumbersFromOffTo10List", kVolumeWords,
     "menu music volume"},
    {OPTIONS_GAME_MUSIC, &_UserOptions::gameMusicVolume, 11, "Misc_NumbersFromOffTo10List", kVolumeWords,
     "game music volume"},
    {OPTIONS_GAME_OVER_MUSIC, &_UserOptions::gameOverMusicVolume, 11, "Misc_NumbersFromOffTo10List", kVolumeWords,
     "game over music volume"},
    {OPTIONS_GAME_SOUNDS, &_UserOptions::gameSoundsVolume, 11, "Misc_NumbersFromOffTo10List", kVolumeWords,
     "game sounds volume"},
    {OPTIONS_POWER, &_UserOptions::processingPower, 4, nullptr, kPowerWords, "processing power"},
};

struct OptionsScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[OPTIONS_NUM_WIDGETS];
};
OptionsScreen s_options = {};

MWinButton *W(int widget)
{
    return s_options.widgets[widget];
}

// ---- Popups -----------------------------------------------------------------------------------------

void ClearScoresAnswerCB(MWin *mwin, char value, void *user)
{
    if (value != 1)
        return;
    // The tables are emptied by their row counts: what the rows held is never shown again
    // and is written over by the next scores.
    _UserOptions &options = GameState.userOptions;
    for (int gameType = 0; gameType < GAME_NUM_TYPES; gameType++)
        for (int difficulty = 0; difficulty < PlinxGetNumDifficultiesForGameType(gameType); difficulty++)
        {
            _GameScores &table = options.gameScores[gameType][difficulty];
            table.numRows = 0;
            table.lastScoreExists = 0;
            table.sendState = 0;
            table.lastScore = _HighScore{};
        }
    DebugInfo("Local high scores cleared");
    mwin->PopupMessageText("All high scores have been cleared.");
}

void StartupAnswerCB(MWin *mwin, char value, void *user)
{
    ResolutionSettings *settings = ResolutionGetSettings();
    if (!settings)
        return;
    settings->showStartupWindow = value == 1 ? 1 : 0;
    ResolutionSaveSettings();
}

void AutoSubmitAnswerCB(MWin *mwin, char value, void *user)
{
    if (value == 1)
    {
        GameState.userOptions.autoSubmitOn = 1;
        AppRequestAutoSubmitScore();
        return;
    }
    GameState.userOptions.autoSubmitOn = 0;
    mwin->PopupMessageText("You can submit your last score at any time by pressing the SUBMIT button");
}

// "Yes" shows the position while playing, "Pos. Only" the position alone; "No", Escape and
// anything else turn the display off.
void ScoresPlaceAnswerCB(MWin *mwin, char value, void *user)
{
    int8_t mode = 2;
    if (value == 1)
        mode = 0;
    else if (value == 2)
        mode = 1;
    GameState.userOptions.onlinePositionMode = mode;
    DebugInfo("Online position mode %d", mode);
}

void AskAutoSubmitScores(MWin *mwin)
{
    if (mwin)
        mwin->PopupYesNo("AUTO SUBMIT SCORES", "Automatically submit new high scores?", AutoSubmitAnswerCB, nullptr);
}

void AskScoresPlace(MWin *mwin)
{
    // The captions are those of the next popup only: set them when that popup can open.
    if (mwin->IsPopupOn())
        return;
    // The third caption sits on the popup's Cancel button, the one that Escape presses.
    mwin->PopupSetButtonTexts("Yes", "Pos. Only", "No");
    mwin->PopupYesNoCancel("ONLINE POSITION", "Show your online position progress while playing?",
                           ScoresPlaceAnswerCB, nullptr);
}

} // namespace

MWinButton *OptionsGetWidget(int widget)
{
    return widget >= 0 && widget < OPTIONS_NUM_WIDGETS ? s_options.widgets[widget] : nullptr;
}

void OptionsAskAutoSubmitScores()
{
    AskAutoSubmitScores(&mwin_object);
}

// ---- Layout ---------------------------------------------------------------------------------------

OptionsCollectionController::OptionsCollectionController()
{
    ClearButtonPointers();
}

void OptionsCollectionController::ClearButtonPointers()
{
    s_options = {};
}

MWinCollection *OptionsCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_options.collection = ScreensBuildCollection(mwin, desktop, "Options", kNormal, OPTIONS_NUM_WIDGETS,
                                                  s_options.widgets, &s_options.window, this);
    return s_options.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

OptionsCC::OptionsCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void OptionsCC::StartingCB(void *data)
{
    _UserOptions &options = GameState.userOptions;
    for (const BoundChoice &choice : kChoices)
        ScreensBindOptionChoice(W(choice.widget), &(options.*choice.option), choice.count, choice.token, choice.words,
                                choice.name);
    // Processing power is kept in the options but has no effect on this platform.
    for (int widget : {OPTIONS_POWER_TEXT, OPTIONS_POWER, OPTIONS_POWER_INFO})
        if (W(widget))
            W(widget)->Hide();
    // Switched off in the start-up settings: the values show but cannot change.
    const ResolutionSettings *settings = ResolutionGetSettings();
    bool musicOn = !settings || settings->musicOn, soundOn = !settings || settings->soundOn;
    for (int widget : {OPTIONS_MENU_MUSIC, OPTIONS_GAME_MUSIC, OPTIONS_GAME_OVER_MUSIC})
        if (W(widget))
            W(widget)->SetEnabled(musicOn);
    if (W(OPTIONS_GAME_SOUNDS))
        W(OPTIONS_GAME_SOUNDS)->SetEnabled(soundOn);
    if (W(OPTIONS_BACK))
        W(OPTIONS_BACK)->SetEscapeButtonForParentWindow();
    DebugInfo("Options: effects %d/%d, menu music %d, game music %d, game over music %d, game sounds %d",
              options.menuEffects, options.gameEffects, options.menuMusicVolume, options.gameMusicVolume,
              options.gameOverMusicVolume, options.gameSoundsVolume);
}

bool OptionsCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    MWinScreens *screens = GetScreens();
    MWin *mwin = screens ? screens->GetMWin() : nullptr;
    _UserOptions &options = GameState.userOptions;
    if (button == W(OPTIONS_MENU_EFFECTS))
    {
        ScreensHostRestartMenuEffect();
        return true;
    }
    if (button == W(OPTIONS_BACK))
    {
        ViewSoundUpdateGameSoundsVolume();
        // Entered without a way back (started there): the main menu.
        if (screens && !screens->GoBack())
            screens->GotoScreen(plinx_screen_select, nullptr);
        return true;
    }
    if (button == W(OPTIONS_MENU_MUSIC))
    {
        ScreensHostSetMusicVolume(options.menuMusicVolume);
        return true;
    }
    if (button == W(OPTIONS_CONTROLS))
    {
        if (screens)
            screens->GotoScreen(plinx_screen_controls, nullptr);
        return true;
    }
    if (button == W(OPTIONS_CLEAR_SCORES))
    {
        if (mwin)
            mwin->PopupYesNo("CLEAR LOCAL HIGH SCORES",
                             "All local high scores will be\nremoved for all game types.\n\nAre you sure you want to "
                             "do this?",
                             ClearScoresAnswerCB, nullptr);
        return true;
    }
    if (button == W(OPTIONS_POWER) || button == W(OPTIONS_POWER_INFO))
        return true;
    if (button == W(OPTIONS_STARTUP))
    {
        if (mwin)
            mwin->PopupYesNo("STARTUP WINDOW", "Show the main startup window when you start the game?",
                             StartupAnswerCB, nullptr);
        return true;
    }
    if (button == W(OPTIONS_AUTO_SUBMIT))
    {
        AskAutoSubmitScores(mwin);
        return true;
    }
    if (button == W(OPTIONS_SCORES_PLACE))
    {
        if (mwin)
            AskScoresPlace(mwin);
        return true;
    }
    if (button == W(OPTIONS_GAME_SOUNDS))
    {
        ViewSoundUpdateGameSoundsVolume();
        return true;
    }
    // The other choices are read when the game or its music next starts.
    if (button == W(OPTIONS_GAME_EFFECTS) || button == W(OPTIONS_GAME_MUSIC) || button == W(OPTIONS_GAME_OVER_MUSIC))
        return true;
    return false;
}
