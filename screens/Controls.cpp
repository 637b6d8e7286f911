// The controls screen: a framed list of the game's controls and the mouse sensitivity.
#include "Controls.h"

#include "EngDebug.h"
#include "GameState.h"
#include "PlinxScreens.h"
#include "ScreensBuild.h"

namespace
{

// Labels on the left (right-aligned), what to press on the right (left-aligned).
#define CTRL_LABEL(id, text, y) {id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, text, 95, y, 220, 20, 0.9f, 1, 1, 0.8f, 1, 1, 2}
#define CTRL_INPUT(id, text, y) {id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, text, 330, y, 205, 20, 1, 0.9f, 0.3f, 0.8f, 1, 1, 0}

const _ScreensWidgetRow kNormal[CONTROLS_NUM_WIDGETS] = {
    {"EffectsBox", MWIN_BUTTON_PUSH, "Back2", "", 86.41f, 135, 467.17f, 250, 0.9f, 0.7f, 1, 1, 1, 1, 1},
    CTRL_LABEL("SensitivityText", "MOUSE SENSITIVITY", 155),
    {"Sensitivity", MWIN_BUTTON_CHOICE, MWIN_TEXBUT_NONE, "3", 330, 155, 80, 20, 1, 0.9f, 0.3f, 0.8f, 1, 1, 1},
    CTRL_INPUT("AimMouse", "MOVE MOUSE", 200),
    CTRL_LABEL("AimText", "AIM TURRET", 200),
    CTRL_LABEL("ShootBallText", "SHOOT BALL", 245),
    CTRL_INPUT("ShootButton", "MOUSE BUTTON", 245),
    CTRL_INPUT("ShootKey", "SPACE BAR", 265),
    CTRL_LABEL("FullScreenText", "FULL SCREEN", 305),
    CTRL_INPUT("FullScreenKey", "COMMAND + F", 305),
    CTRL_LABEL("PauseGameText", "PAUSE GAME", 345),
    CTRL_INPUT("PauseKey", "ESCAPE KEY", 345),
    {"Back", MWIN_BUTTON_PUSH, "Main", "BACK", 510, 430, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
};

#undef CTRL_LABEL
#undef CTRL_INPUT

// The sensitivity items when the language texts lack them.
const char *kSensitivityWords[10] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

struct ControlsScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[CONTROLS_NUM_WIDGETS];
};
ControlsScreen s_controls = {};

MWinButton *W(int widget)
{
    return s_controls.widgets[widget];
}

} // namespace

MWinButton *ControlsGetWidget(int widget)
{
    return widget >= 0 && widget < CONTROLS_NUM_WIDGETS ? s_controls.widgets[widget] : nullptr;
}

// ---- Layout ---------------------------------------------------------------------------------------

ControlsCollectionController::ControlsCollectionController()
{
    ClearButtonPointers();
}

void ControlsCollectionController::ClearButtonPointers()
{
    s_controls = {};
}

MWinCollection *ControlsCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_controls.collection = ScreensBuildCollection(mwin, desktop, "Controls", kNormal, CONTROLS_NUM_WIDGETS,
                                                   s_controls.widgets, &s_controls.window, this);
    return s_controls.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

ControlsCC::ControlsCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void ControlsCC::StartingCB(void *data)
{
    ScreensBindOptionChoice(W(CONTROLS_SENSITIVITY), &GameState.userOptions.mouseSensitivity, 10,
                            "Misc_NumbersFrom1To40List", kSensitivityWords, "mouse sensitivity");
    if (W(CONTROLS_BACK))
        W(CONTROLS_BACK)->SetEscapeButtonForParentWindow();
    if (W(CONTROLS_FULL_SCREEN_KEY))
        W(CONTROLS_FULL_SCREEN_KEY)->SetText("ALT + ENTER");
}

bool ControlsCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (button && button == W(CONTROLS_BACK))
    {
        // Entered without a way back (started there): the options.
        if (GetScreens() && !GetScreens()->GoBack())
            GetScreens()->GotoScreen(plinx_screen_options, nullptr);
        return true;
    }
    return false;
}
