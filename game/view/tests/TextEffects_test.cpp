// Animated text: the queue's timing (an effect waiting for its predecessor starts on the
// tick that one ends), fades that reach their end and stay, and the line's layout.
#include "ViewTestkit.h"

#include <cmath>

namespace
{
class TextEffectsTest : public viewtest::ViewTest
{
protected:
    void TickFrames(int frames)
    {
        for (int i = 0; i < frames; i++)
        {
            EngFrameTiming.currentTime += viewtest::FRAME;
            text.Tick();
        }
    }
    TextEffects text;
};

TEST_F(TextEffectsTest, AQueuedEffectStartsOnTheTickItsPredecessorEnds)
{
    ASSERT_TRUE(text.SetText("GAME  OVER"));
    TextEffectsEffect *fadeIn = text.AddFadeIn(1.0f, 0);
    TextEffectsEffect *fadeOut = text.AddFadeOut(1.0f, 0);
    fadeOut->SetWaitForPrevious(true);
    TickFrames(59);
    EXPECT_FALSE(fadeIn->IsFinished());
    EXPECT_FALSE(fadeOut->HasStarted());
    TickFrames(1);
    EXPECT_TRUE(fadeIn->IsFinished());
    EXPECT_TRUE(fadeOut->HasStarted());
}

TEST_F(TextEffectsTest, AOneSecondFadeOutReachesZeroAfterSixtyTicksAndStays)
{
    ASSERT_TRUE(text.SetText("GAME  OVER"));
    text.AddFadeOut(1.0f, 0);
    TickFrames(30);
    EXPECT_NEAR(0.5f, text.GetLetter(0)->alpha, 0.02f);
    TickFrames(30);
    EXPECT_FLOAT_EQ(0.0f, text.GetLetter(0)->alpha);
    TickFrames(120);
    // Faded out stays faded out: 0 is an alpha, not "none".
    EXPECT_FLOAT_EQ(0.0f, text.GetLetter(0)->alpha);
}

TEST_F(TextEffectsTest, FadeInRisesFromZeroToOne)
{
    ASSERT_TRUE(text.SetText("LEVEL"));
    text.AddFadeIn(0.5f, 1);
    TickFrames(1);
    EXPECT_LT(text.GetLetter(2)->alpha, 0.05f);
    TickFrames(29);
    EXPECT_FLOAT_EQ(1.0f, text.GetLetter(2)->alpha);
}

TEST_F(TextEffectsTest, ANewTextReplacesTheOldAndKeepsTheQueuedEffects)
{
    text.AddFadeIn(1.0f, 0);
    ASSERT_TRUE(text.SetText("ONE"));
    ASSERT_TRUE(text.SetText("NOSPACES"));
    EXPECT_EQ(1, text.GetNumLines());
    EXPECT_EQ(8, text.GetNumLetters());
    EXPECT_EQ(1, text.GetNumEffects());
    // Letters at equal steps, centred; a line without spaces gets no share of extra width.
    EXPECT_FLOAT_EQ(-text.GetLetter(7)->offsetX, text.GetLetter(0)->offsetX);
    EXPECT_TRUE(std::isfinite(text.GetLetter(0)->offsetX));
    text.Clear();
    EXPECT_EQ(0, text.GetNumLines());
    EXPECT_FALSE(text.Tick());
}

TEST_F(TextEffectsTest, RenderingNeedsAFontAndAText)
{
    EXPECT_FALSE(text.RenderFrame());
    rendertest::LogMark();
    EXPECT_FALSE(text.SetFont(nullptr));
    EXPECT_TRUE(LogHas("SetFont"));
}
} // namespace
