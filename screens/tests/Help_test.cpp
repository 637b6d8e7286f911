// The help screen headless: the tutorial's step machine on an injected clock, what the
// screen borrows from the game's view and gives back, and the effect it must let go.
#include <cmath>
#include <string>

#include "Effects.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "GameState.h"
#include "Help.h"
#include "ScreensFixture.h"

namespace
{

class HelpTest : public screenstest::ScreensFixture
{
protected:
    void SetUp() override
    {
        ScreensFixture::SetUp();
        GameState.userOptions.gameEffects = 3;
        EngFrameTiming.currentTime = 100.0;
        EngFrameTiming.frameTime = 1.0f / 60.0f;
        GameState.fieldScale = 0.8f;
        GameState.turretY = 0.9f;
        GameState.turretAngle = 0.25f;
    }

    void TearDown() override
    {
        game_effects.ResetGameEffects();
        game_effects.DestroyAllSystems();
        EngScreenSettings.widthCorrection = 1.0f;
        ScreensFixture::TearDown();
    }

    void Open()
    {
        ASSERT_TRUE(registry->GotoScreen(plinx_screen_help, nullptr));
        ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_help);
    }

    // One frame of `seconds` on the program clock.
    void Frame(float seconds)
    {
        EngFrameTiming.frameTime = seconds;
        EngFrameTiming.currentTime += seconds;
        registry->Tick();
    }

    // Frames until the tutorial reaches `step` (false when it does not in `limit` frames).
    bool RunTo(int step, float seconds = 1.0f / 60.0f, int limit = 20000)
    {
        for (int i = 0; i < limit && HelpGetTutorial()->step != step; i++)
            Frame(seconds);
        return HelpGetTutorial()->step == step;
    }

    std::string Caption() { return HelpGetWidget(HELP_TEXT)->GetTextP(); }
};

TEST_F(HelpTest, PlaysTheSixScenesWithTheirCaptionsAndLoops)
{
    Open();
    EXPECT_EQ(Caption(), "MATCH 3 IDENTICAL BALLS");
    EXPECT_EQ(GameState.fieldScale, 0.5f);
    // Each scene's first caption shows once its step is reached, in order; then it loops.
    struct
    {
        int step;
        const char *caption;
    } scenes[] = {{2, "TO REMOVE THEM"},          {6, "MAKE BALLS FALL"},
                  {10, "BOUNCE BALLS OF THE WALL"}, {15, "STONE BALLS CAN ONLY BE REMOVED"},
                  {20, "ALL BALLS THAT IT TOUCHES"}, {27, "OF SIMILAR TYPES"},
                  {1, "MATCH 3 IDENTICAL BALLS"}};
    for (const auto &scene : scenes)
    {
        SCOPED_TRACE(scene.step);
        ASSERT_TRUE(RunTo(scene.step));
        EXPECT_EQ(Caption(), scene.caption);
    }
}

TEST_F(HelpTest, FlyingBallsLandExactlyOnTheirLineEvenAtAVeryLowFrameRate)
{
    Open();
    // Two frames a second: every landing overshoots unless it is clamped.
    struct
    {
        int flying, landed;
        float line;
    } flights[] = {{1, 2, 0.01f}, {6, 7, -0.143f}, {15, 16, 0.01f}, {20, 21, -0.16f}, {27, 28, -0.16f}};
    for (const auto &flight : flights)
    {
        SCOPED_TRACE(flight.flying);
        ASSERT_TRUE(RunTo(flight.flying, 0.5f));
        Frame(0.5f);
        for (int i = 0; i < 40 && HelpGetTutorial()->step == flight.flying; i++)
            Frame(0.5f);
        ASSERT_EQ(HelpGetTutorial()->step, flight.landed);
        EXPECT_NEAR(HelpGetTutorial()->shotY, flight.line, 1e-5f);
    }
}

TEST_F(HelpTest, TheExplodingBallEffectIsReleasedAtTheLandingAndWhenLeavingMidFlight)
{
    Open();
    ASSERT_TRUE(RunTo(19));
    int held = HelpGetTutorial()->explosionBall;
    ASSERT_GE(held, 0);
    EXPECT_TRUE(game_effects.IsExplosionBallTaken(held));
    ASSERT_TRUE(RunTo(21));
    EXPECT_EQ(HelpGetTutorial()->explosionBall, -1);
    EXPECT_FALSE(game_effects.IsExplosionBallTaken(held));

    // Leaving in the middle of the flight lets the effect go as well; coming back many
    // times never runs out of effect slots.
    for (int round = 0; round < Effects::NUM_BALL_EFFECTS + 1; round++)
    {
        SCOPED_TRACE(round);
        registry->GotoScreen(plinx_screen_select, nullptr);
        Open();
        ASSERT_TRUE(RunTo(20));
        held = HelpGetTutorial()->explosionBall;
        ASSERT_GE(held, 0) << LogText();
        HelpGetWidget(HELP_BACK)->Fire();
        registry->Tick();
        EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select);
        EXPECT_FALSE(game_effects.IsExplosionBallTaken(held));
    }
}

TEST_F(HelpTest, BackGivesTheGameItsViewBackEvenAfterASecondStart)
{
    Open();
    // The screen built again while it is up (a mode change) must not take 0.5 as the
    // game's own scale.
    HelpCC *help = static_cast<HelpCC *>(registry->GetEngScreens()->GetController(plinx_screen_help));
    help->StartingCB(nullptr);
    ASSERT_TRUE(RunTo(10));
    EXPECT_EQ(GameState.turretAngle, -0.7f);
    ASSERT_TRUE(Key(ENG_VK_ESCAPE));
    registry->Tick();
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select);
    EXPECT_EQ(GameState.fieldScale, 0.8f);
    EXPECT_EQ(GameState.turretY, 0.9f);
    EXPECT_EQ(GameState.turretAngle, 0.25f);
}

TEST_F(HelpTest, ComingBackStartsAgainAtFullSize)
{
    Open();
    ASSERT_TRUE(RunTo(2));
    Frame(0.5f);
    ASSERT_LT(HelpGetTutorial()->vanishScale, 1.5f);
    HelpGetWidget(HELP_BACK)->Fire();
    registry->Tick();
    Open();
    EXPECT_EQ(HelpGetTutorial()->step, 0);
    EXPECT_EQ(Caption(), "MATCH 3 IDENTICAL BALLS");
    EXPECT_EQ(HelpGetTutorial()->vanishScale, 1.5f);
    EXPECT_EQ(HelpGetTutorial()->shotY, 0.53f);
}

TEST_F(HelpTest, TheFrameWidensOnWideScreensAndKeepsItsPlaceOn4By3)
{
    struct
    {
        float aspect, x, w;
    } rows[] = {{1.0f, 164.0f, 313.0f}, {0.75f, 320.0f - 313.0f / 0.75f / 2.0f, 313.0f / 0.75f}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.aspect);
        EngScreenSettings.widthCorrection = row.aspect;
        Open();
        const _Dimension &area = *HelpGetWidget(HELP_BOX)->GetAreaP();
        EXPECT_NEAR(area.x, row.x, 0.01f);
        EXPECT_NEAR(area.w, row.w, 0.01f);
        EXPECT_EQ(area.y, 95.0f);
        EXPECT_EQ(area.h, 385.0f);
        registry->GotoScreen(plinx_screen_select, nullptr);
    }
}

TEST_F(HelpTest, EachSceneShowsItsBallsAndThePausesShowNone)
{
    Open();
    struct
    {
        int step;
        int balls;
        int movingType;
    } rows[] = {{2, 6, 0}, {4, 0, -1}, {6, 6, 0}, {10, 5, 0}, {15, 6, 0}, {20, 9, BALL_EXPLODING}, {27, 9, BALL_WILDCARD}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.step);
        ASSERT_TRUE(RunTo(row.step));
        _HelpBall balls[9];
        int count = HelpGetSceneBalls(balls, 9);
        ASSERT_EQ(count, row.balls);
        if (count)
        {
            EXPECT_EQ(balls[count - 1].type, row.movingType);
        }
    }
}

} // namespace
