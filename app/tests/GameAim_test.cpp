// How a pointer move aims the turret: absolute in full screen, relative in a window,
// with the pointer put back in the middle near the window's edges.
#include <gtest/gtest.h>

#include <cmath>

#include "Game.h"

namespace
{

const float kPi = 3.14159265f;

TEST(GameAimTest, FullScreenFollowsTheHorizontalPosition)
{
    struct
    {
        float x;
        float angle;
    } rows[] = {{400.0f, 0.0f}, {0.0f, -kPi}, {600.0f, kPi / 2.0f}, {800.0f, kPi}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.x);
        float lastX = -1000.0f;
        _GameAim aim = GameComputeAim(row.x, 300.0f, 800, 600, false, &lastX);
        EXPECT_TRUE(aim.turn);
        EXPECT_FALSE(aim.relative);
        EXPECT_NEAR(aim.angle, row.angle, 1e-5);
        EXPECT_FALSE(aim.warp);
    }
}

TEST(GameAimTest, WindowedTurnsByTheMovementFromTheLastPosition)
{
    float lastX = -1000.0f;
    _GameAim first = GameComputeAim(300.0f, 200.0f, 800, 600, true, &lastX);
    EXPECT_FALSE(first.turn);
    EXPECT_EQ(lastX, 300.0f);
    _GameAim second = GameComputeAim(340.0f, 200.0f, 800, 600, true, &lastX);
    EXPECT_TRUE(second.turn);
    EXPECT_TRUE(second.relative);
    EXPECT_NEAR(second.angle, 40.0f * 2.0f * kPi / 800.0f, 1e-5);
    EXPECT_EQ(lastX, 340.0f);
    EXPECT_FALSE(second.warp);
}

TEST(GameAimTest, WindowedPointerNearAnEdgeIsPutBack)
{
    struct
    {
        float x, y;
        bool warp;
        int warpX, warpY;
        float lastXAfter;
    } rows[] = {
        {5.0f, 300.0f, true, 400, 300, 400.0f},   // left edge: middle of the window
        {6.0f, 300.0f, false, 0, 0, 6.0f},
        {795.0f, 300.0f, true, 400, 300, 400.0f}, // right edge
        {794.0f, 300.0f, false, 0, 0, 794.0f},
        {200.0f, 5.0f, true, 200, 300, 200.0f},   // top edge: mid-height, same x
        {200.0f, 595.0f, true, 200, 300, 200.0f}, // bottom edge
        {200.0f, 6.0f, false, 0, 0, 200.0f},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.x << ", " << row.y);
        float lastX = 100.0f;
        _GameAim aim = GameComputeAim(row.x, row.y, 800, 600, true, &lastX);
        EXPECT_EQ(aim.warp != 0, row.warp);
        if (row.warp)
        {
            EXPECT_EQ(aim.warpX, row.warpX);
            EXPECT_EQ(aim.warpY, row.warpY);
        }
        EXPECT_EQ(lastX, row.lastXAfter);
    }
}

} // namespace
