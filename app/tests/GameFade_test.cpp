// The fade between the menus and the game on a clock the test sets: fade-out length,
// the order of the end action and the callback, the fade back in, and a second switch
// asked for while one is under way.
#include <gtest/gtest.h>

#include <string>

#include "GameFade.h"
#include "Testkit.h"

namespace
{

std::string s_order;

void Action()
{
    s_order += "action ";
}

void Callback()
{
    s_order += "callback ";
}

void OtherAction()
{
    s_order += "other ";
}

class GameFadeTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        GameFadeReset();
        s_order.clear();
    }

    // From the start state (black) to fully visible: the first fade runs its action at
    // once and fades in over one second.
    void FadeInFromStart(double at)
    {
        ASSERT_TRUE(GameFadeStart(nullptr, nullptr, at));
        GameFadeTick(at);
        GameFadeTick(at + 1.0);
        ASSERT_FALSE(GameFadeIsFading());
        ASSERT_FLOAT_EQ(GameFadeGetValue(), 1.0f);
    }
};

TEST_F(GameFadeTest, StartsBlackAndTheFirstFadeBringsThePictureInOverOneSecond)
{
    EXPECT_FLOAT_EQ(GameFadeGetValue(), 0.0f);
    ASSERT_TRUE(GameFadeStart(Action, Callback, 10.0));
    GameFadeTick(10.0);
    EXPECT_EQ(s_order, "action callback ");
    EXPECT_TRUE(GameFadeIsFading());
    EXPECT_FALSE(GameFadeIsFadingOut());
    GameFadeTick(10.5);
    EXPECT_NEAR(GameFadeGetValue(), 0.5f, 1e-4);
    GameFadeTick(10.999);
    EXPECT_TRUE(GameFadeIsFading());
    GameFadeTick(11.0);
    EXPECT_FALSE(GameFadeIsFading());
    EXPECT_FLOAT_EQ(GameFadeGetValue(), 1.0f);
}

TEST_F(GameFadeTest, FadeOutReachesBlackAfterPointSixSecondsThenActionBeforeCallback)
{
    FadeInFromStart(5.0);
    ASSERT_TRUE(GameFadeStart(Action, Callback, 20.0));
    struct
    {
        double at;
        float value;
        const char *order;
    } steps[] = {
        {20.15, 0.75f, ""},
        {20.3, 0.5f, ""},
        {20.59, 1.0f / 60.0f, ""},
        {20.6, 0.0f, "action callback "},
    };
    for (const auto &step : steps)
    {
        SCOPED_TRACE(step.at);
        GameFadeTick(step.at);
        EXPECT_NEAR(GameFadeGetValue(), step.value, 1e-3);
        EXPECT_EQ(s_order, step.order);
    }
    EXPECT_FALSE(GameFadeIsFadingOut());
    GameFadeTick(21.6);
    EXPECT_FALSE(GameFadeIsFading());
}

TEST_F(GameFadeTest, ASecondSwitchDuringTheFadeOutIsRefusedAndTheFirstStillRuns)
{
    FadeInFromStart(5.0);
    ASSERT_TRUE(GameFadeStart(Action, nullptr, 20.0));
    GameFadeTick(20.3);
    EXPECT_FALSE(GameFadeStart(OtherAction, Callback, 20.3));
    EXPECT_TRUE(LogHas("refused"));
    GameFadeTick(20.7);
    EXPECT_EQ(s_order, "action ");
}

TEST_F(GameFadeTest, ASwitchDuringTheFadeInStartsFromTheValueReached)
{
    ASSERT_TRUE(GameFadeStart(Action, nullptr, 10.0));
    GameFadeTick(10.0);
    GameFadeTick(10.5);
    ASSERT_TRUE(GameFadeStart(OtherAction, nullptr, 10.5));
    GameFadeTick(10.8);
    EXPECT_NEAR(GameFadeGetValue(), 0.25f, 1e-3);
    GameFadeTick(11.2);
    EXPECT_EQ(s_order, "action other ");
}

TEST_F(GameFadeTest, AFadeStartedWithoutATimeTakesItsStartAtTheNextTick)
{
    FadeInFromStart(5.0);
    ASSERT_TRUE(GameFadeStart(Action, nullptr, 0.0));
    GameFadeTick(30.0);
    EXPECT_FLOAT_EQ(GameFadeGetValue(), 1.0f);
    GameFadeTick(30.6);
    EXPECT_EQ(s_order, "action ");
}

} // namespace
