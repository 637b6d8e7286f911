// The help screen ('HELP', collection "Help"): a looping animated tutorial of six short
// scenes acted out with the game's own ball and turret drawing and particle effects,
// each with a caption, inside a framed box; left with "BACK" or Escape.
#pragma once
#include <cstdint>

#include "MWin.h"
#include "ScreensBuild.h"

class HelpCollectionController : public ScreensCollectionController
{
public:
    HelpCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class HelpCC : public HelpCollectionController
{
public:
    explicit HelpCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    void TickCB() override;
    void RenderCB(int pass) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

enum _HelpWidget
{
    HELP_BOX,
    HELP_TEXT,
    HELP_BACK,
    HELP_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise).
MWinButton *HelpGetWidget(int widget);

// The tutorial's moving parts. Positions are in tutorial units: x to the right, y down,
// drawn about the screen's centre at the help screen's play-field scale of 0.5.
struct _HelpTutorial
{
    uint8_t step;         // 0-30
    double stepStart;     // seconds of the frame clock when the current wait began
    float shotX, shotY;   // the moving ball
    float vanishScale;    // of the group being removed and of the moving ball; 1.5 full size
    float fallingY;       // of the balls that fall
    float explodingSpin;  // degrees, 0-360
    float wildcardSpin;   // degrees, 0-360
    int explosionBall;    // the exploding-ball effect the tutorial holds; -1 none
};
const _HelpTutorial *HelpGetTutorial();
// The caption of a step ("" for the pauses between scenes; NULL past the last step).
const char *HelpGetStepCaption(int step);
// Every ball of the scene at the current step, as the render draws them: at most 9.
struct _HelpBall
{
    float x, y;   // tutorial units
    int type;     // _BallType
    float scale;  // 1.5 full size
    float spin;   // degrees
};
int HelpGetSceneBalls(_HelpBall *balls, int maxBalls);

// The tutorial's layout values (writable, as the game keeps them).
extern float help_ball_spacing;  // horizontal distance of two neighbours' centres / 2
extern float help_row_height;
extern float help_top_row_y;
extern float help_full_scale;
extern float help_shot_start_y;
extern float help_ball_speed;    // units per second
