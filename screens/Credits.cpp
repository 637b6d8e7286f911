// The credits screen: a static panel of names with the version, and four buttons.
#include "Credits.h"

#include "EngDebug.h"
#include "PlinxScreens.h"
#include "Resolution.h"
#include "ScreensBuild.h"
#include "ScreensOnline.h"

namespace
{

const float kRole[4] = {1, 0.8f, 0.4f, 1};   // the roles, in orange
const float kName[4] = {1, 0.9f, 0.9f, 1};   // the names beside them

#define ROLE(id, text, y) \
    {id, MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, text, 180, y, 152, 18, kRole[0], kRole[1], kRole[2], kRole[3], 1, 1, 0}
#define NAME(id, text, y, h, r, g, b) \
    {id, MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, text, 310, y, 152, h, r, g, b, 1, 1, 1, 2}
#define CORNER(id, text, x, y) {id, MWIN_BUTTON_PUSH, "Main", text, x, y, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1}

const _ScreensWidgetRow kNormal[CREDITS_NUM_WIDGETS] = {
    {"EffectsBox", MWIN_BUTTON_STATIC, "Back2", "", 163.58f, 125, 312.84f, 210, 0.9f, 0.7f, 1, 1, 1, 1, 1},
    ROLE("CreatedBy", "PROGRAMMING", 180),
    NAME("Creator", "FERNBROOKS", 225, 18, kName[0], kName[1], kName[2]),
    CORNER("Back", "BACK", 510, 429),
    ROLE("GameOverMusicBy", "GAME OVER MUSIC", 300),
    NAME("GameOverMusicCreator", "ODA QUILLFEATHER", 300, 18, kName[0], kName[1], kName[2]),
    ROLE("CreatedBy2", "GRAPHICS", 200),
    ROLE("CreatedBy3", "SOUND", 220),
    ROLE("CreatedBy4", "MUSIC", 240),
    NAME("Creator2", "FERNBROOKS.EXAMPLE", 240, 16, 0.6f, 0.9f, 1),
    {"Version", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "VERSION", 310, 140, 152, 18, 1, 1, 1, 1, 1, 1, 2, 1, 1, 1,
     0.573f},
    CORNER("Logs", "LOGS", 0, 429),
    CORNER("Forums", "FORUMS", 0, 380),
    CORNER("HomePage", "HOME PAGE", 510, 380),
};

#undef ROLE
#undef NAME
#undef CORNER

struct CreditsScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[CREDITS_NUM_WIDGETS];
};
CreditsScreen s_credits = {};

MWinButton *W(int widget)
{
    return s_credits.widgets[widget];
}

} // namespace

MWinButton *CreditsGetWidget(int widget)
{
    return widget >= 0 && widget < CREDITS_NUM_WIDGETS ? s_credits.widgets[widget] : nullptr;
}

// ---- Layout ---------------------------------------------------------------------------------------

CreditsCollectionController::CreditsCollectionController()
{
    ClearButtonPointers();
}

void CreditsCollectionController::ClearButtonPointers()
{
    s_credits = {};
}

MWinCollection *CreditsCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_credits.collection = ScreensBuildCollection(mwin, desktop, "Credits", kNormal, CREDITS_NUM_WIDGETS,
                                                  s_credits.widgets, &s_credits.window, this);
    return s_credits.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

CreditsCC::CreditsCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void CreditsCC::StartingCB(void *data)
{
    if (W(CREDITS_BACK))
        W(CREDITS_BACK)->SetEscapeButtonForParentWindow();
    const ResolutionSetupValues *values = ResolutionGetSetupValues();
    if (W(CREDITS_VERSION))
        W(CREDITS_VERSION)->SetTextF("Version %.2f", values ? values->programVersion : 0.0f);
}

bool CreditsCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    MWinScreens *screens = GetScreens();
    MWin *mwin = screens ? screens->GetMWin() : nullptr;
    if (button == W(CREDITS_FORUMS) || button == W(CREDITS_HOME_PAGE))
    {
        // Back first: in full screen the program then ends before the page opens.
        int page = button == W(CREDITS_FORUMS) ? 2 : 1;
        if (screens)
            screens->GoBack();
        ScreensOpenMakerPage(mwin, page);
        return true;
    }
    if (button == W(CREDITS_LOGS))
    {
        if (screens)
            screens->GotoScreen(plinx_screen_logs, nullptr);
        return true;
    }
    if (button == W(CREDITS_BACK))
    {
        if (screens)
            screens->GoBack();
        return true;
    }
    return false;
}
