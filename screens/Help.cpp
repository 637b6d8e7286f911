// The help screen: its layout (a frame, a caption and BACK) and the tutorial's step
// machine, which moves one ball per scene and starts the game's particle effects at the
// moments the rules would. Drawing goes through the play screen's own ball and turret
// drawing with the play-field scale set to 0.5 while the screen is up.
//
// Tutorial units map to the field's as (x, y x scale): the field scales x only, and the
// tutorial keeps its balls round by scaling y the same way.
#include "Help.h"

#include <cmath>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Effects.h"
#include "GameState.h"
#include "PlayScreen.h"
#include "ScreensBuild.h"

float help_ball_spacing = 0.099f;
float help_row_height = 0.17f;
float help_top_row_y = -0.33f;
float help_full_scale = 1.5f;
float help_shot_start_y = 0.53f;
float help_ball_speed = 0.6f;

namespace
{

const float kHelpFieldScale = 0.5f;
const float kTurretPivotY = 0.9f;  // tutorial units, below the moving ball's start
const float kWallX = -0.85f;
const float kSpinDegreesPerSecond = 60.0f;

const _ScreensWidgetRow kNormal[HELP_NUM_WIDGETS] = {
    {"Box", MWIN_BUTTON_PUSH, "Box", "", 164, 95, 313, 385, 1, 1, 0.3f, 1, 1, 1, 1},
    {"Text", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "UNSET", 169.74f, 101, 300.53f, 27, 1, 1, 1, 0.8f, 1.6f, 1.74f, 1},
    {"Back", MWIN_BUTTON_PUSH, "Main", "BACK", 510, 430, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
};

const char *const kCaptions[] = {
    "MATCH 3 IDENTICAL BALLS",         // 0
    "MATCH 3 IDENTICAL BALLS",         // 1
    "TO REMOVE THEM",                  // 2
    "TO REMOVE THEM",                  // 3
    "",                                // 4
    "MAKE BALLS FALL",                 // 5
    "MAKE BALLS FALL",                 // 6
    "TO GET MORE TIME AND POINTS",     // 7
    "",                                // 8
    "BOUNCE BALLS OF THE WALL",        // 9
    "BOUNCE BALLS OF THE WALL",        // 10
    "FOR BONUS SCORES",                // 11
    "FOR BONUS SCORES",                // 12
    "",                                // 13
    "STONE BALLS CAN ONLY BE REMOVED", // 14
    "STONE BALLS CAN ONLY BE REMOVED", // 15
    "BY MAKING THEM FALL",             // 16
    "",                                // 17
    "THE EXPLODING BALL DESTROYS",     // 18
    "THE EXPLODING BALL DESTROYS",     // 19
    "ALL BALLS THAT IT TOUCHES",       // 20
    "EXCEPT FOR STONE BALLS",          // 21
    "EXCEPT FOR STONE BALLS",          // 22
    "",                                // 23
    "THE WILDCARD BALL MATCHES",       // 24
    "THE WILDCARD BALL MATCHES",       // 25
    "WITH ANY TWO OR MORE BALLS",      // 26
    "OF SIMILAR TYPES",                // 27
    "OF SIMILAR TYPES",                // 28
    "",                                // 29
    "",                                // 30
};
const int kNumSteps = (int)(sizeof(kCaptions) / sizeof(kCaptions[0]));

// What the game's view keeps that the tutorial borrows while the screen is up.
struct SavedView
{
    bool saved;
    float fieldScale;
    float turretX, turretY, turretAngle;
};

struct HelpScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[HELP_NUM_WIDGETS];
};

HelpScreen s_help = {};
SavedView s_saved = {};
_HelpTutorial s_tutorial = {0, 0.0, 0.0f, 0.53f, 1.5f, -0.33f, 0.0f, 0.0f, -1};
_Vector3d s_effectPosition = {};

MWinButton *W(int widget)
{
    return s_help.widgets[widget];
}

double Now()
{
    return EngFrameTiming.currentTime;
}

float FrameTime()
{
    float dt = EngFrameTiming.frameTime;
    return std::isfinite(dt) && dt > 0.0f ? dt : 0.0f;
}

// Tutorial units to the field's (see the top of the file).
_Vector3d FieldPosition(float x, float y)
{
    return {x, y * kHelpFieldScale, 0.0f};
}

void SetCaption(int step)
{
    if (W(HELP_TEXT) && step >= 0 && step < kNumSteps)
        W(HELP_TEXT)->SetText(kCaptions[step]);
}

void Advance()
{
    _HelpTutorial &t = s_tutorial;
    t.stepStart = Now();
    t.step++;
    SetCaption(t.step);
}

// The exploding-ball effect is the tutorial's until it lets it go: at the landing, on
// leaving the screen and whenever the animation starts again.
void ReleaseExplosionBall()
{
    if (s_tutorial.explosionBall >= 0)
        game_effects.StopExplosionBall(s_tutorial.explosionBall);
    s_tutorial.explosionBall = -1;
}

void Reset()
{
    _HelpTutorial &t = s_tutorial;
    GameState.turretAngle = 0.0f;
    t.shotX = 0.0f;
    t.shotY = help_shot_start_y;
    t.vanishScale = help_full_scale;
    t.stepStart = Now();
    t.fallingY = help_row_height + help_top_row_y;
}

void StartRemoveEffect(float x, float y, float sizeX, float sizeY)
{
    _Vector3d position = FieldPosition(x, y - 0.085f);
    _Vector3d size = {sizeX, sizeY, 0.0f};
    _ColourRGB tint = {1.0f, 0.0f, 0.0f};
    game_effects.StartRemoveEffect(&position, &size, &tint);
}

// The moving ball flies up once `wait` seconds have passed; true on the frame it lands
// on `line` (it stops exactly there however long the frame was).
bool Fly(float wait, float line)
{
    _HelpTutorial &t = s_tutorial;
    if (Now() < t.stepStart + wait)
        return false;
    t.shotY -= help_ball_speed * FrameTime();
    if (t.shotY > line)
        return false;
    t.shotY = line;
    return true;
}

void Shrink()
{
    _HelpTutorial &t = s_tutorial;
    t.vanishScale -= FrameTime();
    if (t.vanishScale > 0.0f)
        return;
    t.vanishScale = 0.0f;
    Advance();
}

void Pause()
{
    if (Now() >= s_tutorial.stepStart + 1.5)
        Advance();
}

// The falling scenes: the group fades while the cut-off balls drop out of the box.
void Fall()
{
    _HelpTutorial &t = s_tutorial;
    float dt = FrameTime();
    t.vanishScale = std::max(0.0f, t.vanishScale - help_full_scale * dt);
    t.fallingY += 0.5f * dt;
    if (t.fallingY >= 4.0f * help_row_height + help_shot_start_y)
    {
        t.vanishScale = 0.0f;
        Advance();
    }
}

void RunStep()
{
    _HelpTutorial &t = s_tutorial;
    const float r = help_ball_spacing;
    const float dt = FrameTime();
    switch (t.step)
    {
    case 0:
    case 5:
    case 14:
    case 24:
        Reset();
        Advance();
        break;
    case 1:
    case 15:
        if (Fly(1.0f, 2.0f * help_row_height + help_top_row_y))
        {
            StartRemoveEffect(t.shotX, t.shotY, 3.0f, 3.0f);
            Advance();
        }
        break;
    case 2:
    case 12:
    case 21:
    case 28:
        Shrink();
        break;
    case 3:
    case 4:
    case 8:
    case 13:
    case 17:
    case 19:
    case 22:
    case 23:
    case 25:
    case 26:
    case 29:
        Pause();
        break;
    case 6:
        if (Fly(1.5f, 1.1f * help_row_height + help_top_row_y))
        {
            StartRemoveEffect(t.shotX + r, t.shotY, 6.0f, 3.0f);
            Advance();
        }
        break;
    case 7:
    case 16:
        Fall();
        break;
    case 9:
        GameState.turretAngle = -0.7f;
        t.shotX = -0.24f;
        t.shotY = 0.61f;
        t.vanishScale = help_full_scale;
        t.stepStart = Now();
        t.fallingY = help_row_height + help_top_row_y;
        Advance();
        break;
    case 10:
        if (Now() >= t.stepStart + 0.5)
        {
            t.shotX -= 0.5f * dt;
            t.shotY -= 0.5f * dt;
            if (t.shotX < kWallX)
                Advance();
        }
        break;
    case 11:
        t.shotX += 0.5f * dt;
        t.shotY -= 0.5f * dt;
        if (t.shotY < 0.3f * help_row_height + help_top_row_y)
        {
            StartRemoveEffect(t.shotX + 2.0f * r, t.shotY, 6.0f, 1.5f);
            Advance();
        }
        break;
    case 18:
        Reset();
        ReleaseExplosionBall();
        s_effectPosition = FieldPosition(0.0f, help_shot_start_y);
        t.explosionBall = game_effects.StartExplosionBall(&s_effectPosition);
        Advance();
        break;
    case 20:
    {
        bool landed = Fly(1.0f, help_row_height + help_top_row_y);
        s_effectPosition = FieldPosition(t.shotX, t.shotY);
        if (t.explosionBall >= 0)
            game_effects.SetExplosionBallPosition(t.explosionBall, &s_effectPosition);
        if (landed)
        {
            ReleaseExplosionBall();
            _Vector3d position = FieldPosition(t.shotX, t.shotY - 0.085f);
            _Vector3d size = {3.0f, 3.0f, 0.0f};
            game_effects.StartExplosion(&position, &size);
            t.vanishScale = 0.0f;
            Advance();
        }
        break;
    }
    case 27:
        if (Fly(1.0f, help_row_height + help_top_row_y))
        {
            StartRemoveEffect(t.shotX, t.shotY, 3.0f, 3.0f);
            Advance();
        }
        break;
    case 30:
        t.step = 0;
        break;
    default:
        break;
    }
}

float WrapDegrees(float angle)
{
    angle = std::fmod(angle, 360.0f);
    return angle < 0.0f ? angle + 360.0f : angle;
}

void StartTutorial()
{
    ReleaseExplosionBall();
    s_tutorial.step = 0;
    s_tutorial.explodingSpin = 0.0f;
    s_tutorial.wildcardSpin = 0.0f;
    Reset();
    SetCaption(0);
}

void RestoreView()
{
    if (!s_saved.saved)
        return;
    _GameState &gs = GameState;
    gs.fieldScale = s_saved.fieldScale;
    gs.turretX = s_saved.turretX;
    gs.turretY = s_saved.turretY;
    gs.turretAngle = s_saved.turretAngle;
    s_saved = {};
}

} // namespace

MWinButton *HelpGetWidget(int widget)
{
    return widget >= 0 && widget < HELP_NUM_WIDGETS ? s_help.widgets[widget] : nullptr;
}

const _HelpTutorial *HelpGetTutorial()
{
    return &s_tutorial;
}

const char *HelpGetStepCaption(int step)
{
    return step >= 0 && step < kNumSteps ? kCaptions[step] : nullptr;
}

int HelpGetSceneBalls(_HelpBall *balls, int maxBalls)
{
    const _HelpTutorial &t = s_tutorial;
    const float r = help_ball_spacing, T = help_top_row_y, R = T + help_row_height, F = t.fallingY;
    const float V = t.vanishScale, full = help_full_scale;
    int count = 0;
    auto add = [&](float x, float y, int type, float scale, float spin) {
        if (count < maxBalls)
            balls[count] = {x, y, type, scale, spin};
        count++;
    };
    const int step = t.step;
    if (step <= 3)
    {
        add(-2 * r, T, 1, full, 0), add(0, T, 2, full, 0), add(2 * r, T, 3, full, 0);
        add(-r, R, 0, V, 0), add(r, R, 0, V, 0);
        add(t.shotX, t.shotY, 0, V, 0);
    }
    else if (step >= 5 && step <= 7)
    {
        add(0, T, 0, V, 0), add(2 * r, T, 0, V, 0), add(4 * r, T, 0, V, 0);
        add(3 * r, F, 1, full, 0), add(5 * r, F, 2, full, 0);
        add(t.shotX, t.shotY, 0, V, 0);
    }
    else if (step >= 9 && step <= 12)
    {
        add(-4 * r, T, 0, V, 0), add(-2 * r, T, 0, V, 0), add(0, T, 0, V, 0), add(-r, R, 0, V, 0);
        add(t.shotX, t.shotY, 0, V, 0);
    }
    else if (step >= 14 && step <= 17)
    {
        add(-2 * r, T, 0, V, 0), add(0, T, 0, V, 0), add(2 * r, T, 0, V, 0), add(-r, R, 0, V, 0);
        add(r, F, BALL_STONE, full, 0);
        add(t.shotX, t.shotY, 0, V, 0);
    }
    else if (step >= 18 && step <= 22)
    {
        add(-3 * r, T, 0, full, 0), add(-r, T, 0, V, 0), add(r, T, BALL_STONE, full, 0), add(3 * r, T, 3, full, 0);
        add(-4 * r, R, 2, full, 0), add(-2 * r, R, 2, V, 0), add(2 * r, R, 4, V, 0), add(4 * r, R, 4, full, 0);
        add(t.shotX, t.shotY, BALL_EXPLODING, V, t.explodingSpin);
    }
    else if (step >= 24 && step <= 28)
    {
        add(-3 * r, T, 0, V, 0), add(-r, T, 0, V, 0), add(r, T, 1, full, 0), add(3 * r, T, 5, full, 0);
        add(-4 * r, R, 2, V, 0), add(-2 * r, R, 2, V, 0), add(2 * r, R, 4, V, 0), add(4 * r, R, 4, V, 0);
        add(t.shotX, t.shotY, BALL_WILDCARD, V, t.wildcardSpin);
    }
    return count < maxBalls ? count : maxBalls;
}

// ---- Layout ---------------------------------------------------------------------------------------

HelpCollectionController::HelpCollectionController()
{
    ClearButtonPointers();
}

void HelpCollectionController::ClearButtonPointers()
{
    s_help = {};
}

MWinCollection *HelpCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_help.collection = ScreensBuildCollection(mwin, desktop, "Help", kNormal, HELP_NUM_WIDGETS, s_help.widgets,
                                               &s_help.window, this);
    return s_help.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

HelpCC::HelpCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void HelpCC::StartingCB(void *data)
{
    // On a screen wider than 4:3 the frame widens by the aspect factor, centred.
    float aspect = EngScreenSettings.widthCorrection;
    if (W(HELP_BOX) && aspect > 0.0f && aspect != 1.0f)
    {
        const _Dimension &area = *W(HELP_BOX)->GetAreaP();
        float width = kNormal[HELP_BOX].w / aspect;
        W(HELP_BOX)->SetArea(320.0f - width * 0.5f, area.y, width, area.h);
    }
    if (W(HELP_BACK))
        W(HELP_BACK)->SetEscapeButtonForParentWindow();
    // A second start without leaving (the screen built again) keeps the first saving: the
    // game's own values are what BACK gives back.
    _GameState &gs = GameState;
    if (!s_saved.saved)
        s_saved = {true, gs.fieldScale, gs.turretX, gs.turretY, gs.turretAngle};
    gs.fieldScale = kHelpFieldScale;
    gs.turretX = 0.0f;
    gs.turretY = kTurretPivotY * kHelpFieldScale;
    StartTutorial();
}

void HelpCC::TickCB()
{
    game_effects.TickGameEffects();
    RunStep();
}

void HelpCC::RenderCB(int pass)
{
    if (pass != 1 || !EngMainDevice || !PlayScreenGraphicsCreated())
        return;
    _HelpTutorial &t = s_tutorial;
    _HelpBall balls[9];
    int count = HelpGetSceneBalls(balls, 9);
    // The special ball turns only while its scene is on.
    float dt = FrameTime();
    if (t.step >= 18 && t.step <= 22)
        t.explodingSpin = WrapDegrees(t.explodingSpin + kSpinDegreesPerSecond * dt);
    if (t.step >= 24 && t.step <= 28)
        t.wildcardSpin = WrapDegrees(t.wildcardSpin + kSpinDegreesPerSecond * dt);
    bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
    RenderDrawTurret();
    EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
    for (int i = 0; i < count; i++)
    {
        const _HelpBall &ball = balls[i];
        _Vector3d at = FieldPosition(ball.x, ball.y);
        RenderDrawBall(at.x, at.y, ball.scale, ball.type, 0.0f, ball.spin * 3.14159265f / 180.0f, 0);
    }
    EngMainDevice->DisableBlending();
    EngMainDevice->ResetTransformMatrix();
    game_effects.RenderGameEffects();
    if (prepared)
        EngMainDevice->RestoreAfter2D();
}

bool HelpCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button || button != W(HELP_BACK))
        return false;
    ReleaseExplosionBall();
    RestoreView();
    if (MWinScreens *screens = GetScreens())
        screens->GoBack();
    return true;
}
