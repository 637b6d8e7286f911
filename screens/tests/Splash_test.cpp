// The splash on a recording device and a clock the test moves: the phase times (black,
// fade in, hold, fade out), the finished callback, the hold callback, and set-up and
// start refusals.
#include <gtest/gtest.h>

#include <string>

#include "DeviceFixture.h"
#include "EngGlobals.h"
#include "Splash.h"
#include "Testkit.h"

namespace
{

int s_finished = 0;

void FinishedCB(void *context)
{
    s_finished++;
}

bool HoldEndsAtOnceCB(double elapsed, void *context)
{
    return true;
}

class SplashTest : public devicetest::DeviceTest
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        // The game's Data folder is beside the executables.
        folder = new testkit::WorkingFolder(std::string(PLINX_DATA_DIR) + "/..");
        ASSERT_TRUE(folder->Entered());
        ASSERT_TRUE(MakeDevice());
        EngFrameTiming.frameTime = 1.0f / 60.0f;
        s_finished = 0;
    }

    void TearDown() override
    {
        SplashShutdown();
        delete folder;
        DeviceTest::TearDown();
    }

    bool SetupPictures(SplashHoldFn hold = nullptr)
    {
        return SplashSetup("Data/Splash1.jpg", "Data/Splash2.jpg", "Data/Splash3.jpg", "Data/Splash4.jpg",
                           "Data/NormalEffect.tga", nullptr, "Data/LogoMono.wav", nullptr, 0.0f, 0.0f, nullptr, hold,
                           FinishedCB, nullptr, 1);
    }

    // Ticks (and draws) at `seconds` after the first tick at 100 s.
    void TickAt(double seconds)
    {
        EngFrameTiming.currentTime = 100.0 + seconds;
        SplashTick();
        SplashRender(1);
    }

    testkit::WorkingFolder *folder = nullptr;
};

TEST_F(SplashTest, BlackThenFadeInHoldAndFadeOutThenTheFinishedCallbackOnce)
{
    ASSERT_TRUE(SetupPictures());
    ASSERT_TRUE(SplashStart());
    struct
    {
        double at;
        int phase;
        float fade;
    } steps[] = {
        {0.0, SPLASH_PHASE_FADE_IN, 0.0f},  {0.5, SPLASH_PHASE_FADE_IN, 0.0f},
        {1.2, SPLASH_PHASE_FADE_IN, 0.25f}, {2.4, SPLASH_PHASE_FADE_IN, 1.0f},
        {2.5, SPLASH_PHASE_HOLD, 1.0f},     {4.49, SPLASH_PHASE_HOLD, 1.0f},
        {4.5, SPLASH_PHASE_FADE_OUT, 1.0f}, {5.25, SPLASH_PHASE_FADE_OUT, 0.5f},
        {6.0, SPLASH_PHASE_FINISHED, 0.0f},
    };
    for (const auto &step : steps)
    {
        SCOPED_TRACE(step.at);
        TickAt(step.at);
        EXPECT_TRUE(SplashIsOn());
        EXPECT_EQ(SplashGetPhase(), step.phase);
        EXPECT_NEAR(SplashGetFade(), step.fade, 1e-3);
    }
    EXPECT_EQ(s_finished, 0);
    // The tick that finds it finished stops it, still answering that it ran.
    EngFrameTiming.currentTime = 106.1;
    EXPECT_TRUE(SplashTick());
    EXPECT_FALSE(SplashIsOn());
    EXPECT_EQ(s_finished, 1);
    EXPECT_FALSE(SplashTick());
    SplashStop();
    EXPECT_EQ(s_finished, 1);
}

TEST_F(SplashTest, AHoldCallbackThatAnswersTrueEndsTheHoldOnItsFirstFrame)
{
    ASSERT_TRUE(SetupPictures(HoldEndsAtOnceCB));
    ASSERT_TRUE(SplashStart());
    TickAt(0.0);
    TickAt(2.5);
    EXPECT_EQ(SplashGetPhase(), SPLASH_PHASE_HOLD);
    TickAt(2.52);
    EXPECT_EQ(SplashGetPhase(), SPLASH_PHASE_FADE_OUT);
}

TEST_F(SplashTest, FullyShownRightAfterTheStartSkipsTheFadeIn)
{
    ASSERT_TRUE(SetupPictures());
    ASSERT_TRUE(SplashStart());
    SplashSetFullyShown();
    TickAt(0.0);
    EXPECT_EQ(SplashGetPhase(), SPLASH_PHASE_HOLD);
    TickAt(1.99);
    EXPECT_EQ(SplashGetPhase(), SPLASH_PHASE_HOLD);
    TickAt(2.0);
    EXPECT_EQ(SplashGetPhase(), SPLASH_PHASE_FADE_OUT);
}

TEST_F(SplashTest, RefusedSetUpsAndStartsLeaveTheSplashAsItWas)
{
    EXPECT_FALSE(SplashStart());
    EXPECT_TRUE(LogHas("Splash not setup"));
    EXPECT_FALSE(SplashSetup("Data/Splash1.jpg", "Data/Missing.jpg", nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, 0.0f, 0.0f, nullptr, nullptr, FinishedCB, nullptr, 1));
    EXPECT_TRUE(LogHas("Tex 2 does not exist (Data/Missing.jpg)"));
    EXPECT_FALSE(SplashSetup(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0.0f, 0.0f,
                             nullptr, nullptr, nullptr, nullptr, 1));
    EXPECT_TRUE(LogHas("Parameter error"));
    EXPECT_FALSE(SplashStart());

    ASSERT_TRUE(SetupPictures());
    ASSERT_TRUE(SplashStart());
    TickAt(0.0);
    TickAt(1.2);
    EXPECT_FALSE(SplashStart());
    EXPECT_TRUE(LogHas("Splash is already on"));
    EXPECT_NEAR(SplashGetFade(), 0.25f, 1e-3);
}

} // namespace
