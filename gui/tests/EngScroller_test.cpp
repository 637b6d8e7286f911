// Drag scrolling: the threshold, limits and elastic overscroll with its spring, momentum
// with friction, taps counted and reported once, and a refused area.
#include <gtest/gtest.h>

#include "EngGlobals.h"
#include "EngScroller.h"
#include "RenderTestkit.h"

namespace
{
class EngScrollerTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        EngFrameTiming.currentTime = 50.0;
        EngFrameTiming.frameTime = 1.0f / 60.0f;
        const _Dimension area = {0, 0, 400, 300};
        ASSERT_TRUE(scroller.TurnOn(&area, false, false, 0, 0, 0, 0, 0, false, true, 0, 0, 1000, 1000, 5, false, 3.0f));
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; i++)
        {
            EngFrameTiming.currentTime += 1.0 / 60.0;
            scroller.Tick();
        }
    }
    EngScroller scroller;
};

TEST_F(EngScrollerTest, ADragStartsOnlyPastTheThreshold)
{
    struct Row
    {
        float moveTo;
        int state;
        float position;
    };
    // Pressed at y 150; a drag of 30 of the 300-high area moves 1000 x 30 / 300 = 100 back.
    const Row rows[] = {{150, 3, 0}, {155, 3, 0}, {156, 4, 0}, {120, 4, 100}, {0, 4, 500}, {-300, 4, 1000}};
    scroller.HandlePress(false, true, 100, 150, false, true);
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.moveTo);
        scroller.HandleMouseMove(100, row.moveTo, false);
        EXPECT_EQ(row.state, scroller.GetState(1));
        EXPECT_FLOAT_EQ(row.position, scroller.GetPositionY());
    }
    // Never past the limit without the elastic flag; the release ends the drag.
    EXPECT_TRUE(scroller.HandlePress(false, false, 100, -300, false, true));
    EXPECT_EQ(0, scroller.GetState(1));
}

TEST_F(EngScrollerTest, ElasticOverscrollSpringsBackWhileUntouched)
{
    const _Dimension area = {0, 0, 400, 300};
    scroller.TurnOn(&area, false, false, 0, 0, 0, 0, 0, false, true, 0, 0, 1000, 1000, 5, true, 3.0f);
    scroller.HandlePress(false, true, 100, 150, false, true);
    scroller.HandleMouseMove(100, 150, false);
    scroller.HandleMouseMove(100, 200, false);
    scroller.HandleMouseMove(100, 210, false);
    EXPECT_LT(scroller.GetPositionY(), 0.0f);
    EngFrameTiming.currentTime += 0.5;
    scroller.HandlePress(false, false, 100, 210, false, true);
    Frames(120);
    EXPECT_FLOAT_EQ(0.0f, scroller.GetPositionY());
}

TEST_F(EngScrollerTest, MomentumCarriesAtMostTheOverscrollAndStops)
{
    scroller.SetFlingOnRelease(true);
    scroller.HandlePress(false, true, 100, 250, false, true);
    scroller.HandleMouseMove(100, 250, false);
    for (int i = 1; i <= 10; i++)
    {
        EngFrameTiming.currentTime += 0.01;
        scroller.HandleMouseMove(100, 250.0f - 10.0f * i, false);
    }
    scroller.HandlePress(false, false, 100, 150, false, true);
    EXPECT_NE(0.0f, scroller.GetVelocity(1));
    float before = scroller.GetPositionY();
    for (int i = 0; i < 600 && scroller.GetVelocity(1) != 0.0f; i++)
    {
        Frames(1);
        EXPECT_LE(scroller.GetPositionY(), 1000.0f + 100.0f);
    }
    EXPECT_EQ(0.0f, scroller.GetVelocity(1));
    EXPECT_GT(scroller.GetPositionY(), before);
}

TEST_F(EngScrollerTest, TapsAreCountedAndReportedOnce)
{
    static std::vector<int> taps;
    taps.clear();
    scroller.SetTapCallback([](int zero, int count, float, float, int) { taps.push_back(count); }, 0);
    scroller.HandlePress(false, true, 100, 100, false, true);
    EngFrameTiming.currentTime += 0.1;
    EXPECT_TRUE(scroller.HandlePress(false, false, 100, 100, false, true));
    Frames(6);
    scroller.HandlePress(false, true, 100, 100, false, true);
    EngFrameTiming.currentTime += 0.1;
    scroller.HandlePress(false, false, 100, 100, false, true);
    Frames(10);
    EXPECT_TRUE(taps.empty());
    Frames(20);
    EXPECT_EQ(std::vector<int>{2}, taps);
    // A slow release is no tap.
    scroller.HandlePress(false, true, 100, 100, false, true);
    EngFrameTiming.currentTime += 0.5;
    scroller.HandlePress(false, false, 100, 100, false, true);
    Frames(40);
    EXPECT_EQ(std::vector<int>{2}, taps);
}

TEST_F(EngScrollerTest, AZeroWidthAreaIsRefused)
{
    const _Dimension flat = {0, 0, 0, 300};
    rendertest::LogMark();
    EXPECT_FALSE(scroller.TurnOn(&flat, false, true, 0, 0, 10, 10, 0, false, true, 0, 0, 10, 10, 0, false, 3.0f));
    EXPECT_EQ(1, rendertest::CountLog("Invalid Dimension"));
    EXPECT_FALSE(scroller.IsOn());
}
} // namespace
