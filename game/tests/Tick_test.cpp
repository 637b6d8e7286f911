#include <cmath>

#include "GameTestkit.h"

using gametest::GameTest;
using Map = std::vector<std::string>;

namespace
{

struct LandingCase
{
    const char *name;
    int gameType;
    Map grid;
    int ballType;
    int fromColumn; // the ball flies straight up from (fromColumn, 6)
    Map expected;
    int scoreAdded;
    int falling;
};

} // namespace

class TickLandingTest : public GameTest
{
protected:
    // Balls of `type` in rows [firstRow, endRow).
    static int CountBalls(int type, int firstRow, int endRow)
    {
        int count = 0;
        for (int column = 0; column < GRID_MAX_COLUMNS; column++)
            for (int row = firstRow; row < endRow; row++)
                count += GameState.grid[column][row].type == type;
        return count;
    }
};

// Shots flown straight up into a grid: what stays, what goes, what it scores.
TEST_F(TickLandingTest, ShotsLandMatchAndScore)
{
    const LandingCase cases[] = {
        {"triple removed", GAME_TYPE_STRATEGIC, {"11.....5"}, 1, 3, {".......5"}, 20, 0},
        {"pair stays", GAME_TYPE_STRATEGIC, {"1......5"}, 1, 2, {"1b.....5"}, 0, 0},
        {"row 0 without neighbour", GAME_TYPE_STRATEGIC, {".......5"}, 2, 3, {"..c....5"}, 0, 0},
        {"wildcard joins two colours", GAME_TYPE_STRATEGIC, {"00.11..5"}, BALL_WILDCARD, 3, {".......5"}, 30, 0},
        {"wildcard alone stays", GAME_TYPE_STRATEGIC, {"0..1...5"}, BALL_WILDCARD, 2, {"0W.1...5"}, 0, 0},
        {"stones never match", GAME_TYPE_STRATEGIC, {"SS.....5"}, BALL_STONE, 3, {"SSS....5"}, 0, 0},
        {"stone not in a colour group", GAME_TYPE_STRATEGIC, {"S11....5"}, 1, 4, {"S......5"}, 20, 0},
        {"exploding next to stone", GAME_TYPE_STRATEGIC, {"1S2....5", "3......."}, BALL_EXPLODING, 2,
         {"1S.....5", "........"}, 20, 0},
        {"stone leaves by falling", GAME_TYPE_STRATEGIC, {".11....5", ".S......"}, 1, 4, {".......5", "........"}, 70, 1},
        {"cut-off ball falls, strategic", GAME_TYPE_STRATEGIC, {"11.....5", "2......."}, 1, 3, {".......5", "........"}, 70, 1},
        {"cut-off ball falls, arcade", GAME_TYPE_ARCADE, {"11.....5", "2......."}, 1, 3, {".......5", "........"}, 40, 1},
        {"shot balls score in strategic", GAME_TYPE_STRATEGIC, {"aa.....5"}, 0, 3, {".......5"}, 20, 0},
        {"shot balls score nothing in arcade", GAME_TYPE_ARCADE, {"aa.....5"}, 0, 3, {".......5"}, 0, 0},
        {"one placed ball scores in arcade", GAME_TYPE_ARCADE, {"0a.....5"}, 0, 3, {".......5"}, 10, 0},
    };
    for (const LandingCase &c : cases)
    {
        SCOPED_TRACE(c.name);
        StartGrid(c.gameType, 10, c.grid);
        int start = GameState.score;
        Fly(c.ballType, c.fromColumn, 6, 0.0f, -2.5f);
        TickUntilLanded();
        EXPECT_EQ(GameState.movingCount, 0);
        EXPECT_EQ(gametest::ReadMap((int)c.expected.size()), c.expected);
        EXPECT_EQ(GameState.score - start, c.scoreAdded);
        EXPECT_EQ(GameState.fallingCount, c.falling);
        EXPECT_EQ(GameState.levelState, LEVEL_STATE_PLAY);
    }
}

TEST_F(TickLandingTest, PairStaysFlaggedButIsNotRemoved)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"1......5"});
    Fly(1, 2, 6, 0.0f, -2.5f);
    TickUntilLanded();
    EXPECT_EQ(GameState.matchMap[1][0], 1);
    EXPECT_EQ(GameState.matchMap[2][0], 1);
    EXPECT_EQ(GameState.removingCount, 0);
}

TEST_F(TickLandingTest, ExplodingBallRemovesMixedNeighboursButNoStone)
{
    // Lands in (3, 2) under the 3: its neighbours are (2,1) stone, (3,1) and (4,2) of two
    // other colours, the rest empty.
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"..12...5", ".S3.....", "...4...."});
    _GameState &gs = GameState;
    Fly(BALL_EXPLODING, 3, 6, 0.0f, -2.5f);
    TickUntilLanded();
    EXPECT_EQ(gametest::ReadMap(3), (Map{"..12...5", ".S......", "........"}));
    // A group of three: 5 x 3 points.
    EXPECT_EQ(gs.removingCount, 3);
    EXPECT_EQ(gs.score, 20);
}

// Whatever the points of the state (a huge value, as a damaged file could give), a match
// of three and a fall score defined amounts, and an amount that would pass the int range
// is not added.
TEST_F(TickLandingTest, HugePointsNeverPassTheScoreCap)
{
    const struct
    {
        int32_t points, startScore, endScore;
    } rows[] = {
        {INT32_MAX, 0, 0},
        {INT32_MAX, 2147483000, 2147483000},
        {1000000000, 0, 1000000000},         // the match's 3e9 is refused, the fall added
        {600000000, 0, 1800000000},          // the match added, the fall refused
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.startScore);
        StartGrid(GAME_TYPE_STRATEGIC, 10, {"11.....5", "2......."});
        GameState.removePoints = row.points;
        GameState.fallPoints = row.points;
        GameState.score = row.startScore;
        Fly(1, 3, 6, 0.0f, -2.5f);
        TickUntilLanded();
        EXPECT_EQ(GameState.fallingCount, 1);
        EXPECT_EQ(GameState.score, row.endScore);
    }
}

TEST_F(TickLandingTest, BallLandingWhereAnEarlierBallStillFallsMatches)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"11.....5"});
    GameState.fallingMap[3][0] = 1; // that cell's earlier ball is still falling
    Fly(1, 3, 6, 0.0f, -2.5f);
    TickUntilLanded();
    EXPECT_EQ(gametest::ReadMap(1), (Map{".......5"}));
}

TEST_F(TickLandingTest, CutOffBallsFallOutAndClearTheirCells)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"11.....5", "2......."});
    Fly(1, 3, 6, 0.0f, -2.5f);
    TickUntilLanded();
    ASSERT_EQ(GameState.fallingCount, 1);
    EXPECT_EQ(GameState.fallingMap[1][1], 1);
    for (int i = 0; i < 180; i++)
        TickGame();
    EXPECT_EQ(GameState.fallingCount, 0);
    EXPECT_EQ(GameState.fallingMap[1][1], 0);
    EXPECT_EQ(GameState.removingCount, 0);
}

// A bank shot scores 1 + 0.4 x its distance from the wall it bounced off.
TEST_F(TickLandingTest, BankShotMultiplier)
{
    struct Case
    {
        int bounces, lastBounceRight, scoreAdded;
    } cases[] = {
        {0, 0, 20}, // 5 x 3 = 15
        {1, 0, 80}, // m = 1 + 0.4 x 10 = 5: 75
        {1, 1, 80}, // m = 1 + 0.4 x 11 = 5.4: 81
        {3, 0, 80},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.bounces * 10 + c.lastBounceRight);
        StartGrid(GAME_TYPE_STRATEGIC, 22, {".......11..........5"});
        int start = GameState.score;
        int index = Fly(1, 10, 1, 0.0f, -2.5f);
        GameState.movingList[index].bounces = c.bounces;
        GameState.movingList[index].lastBounceRight = (uint8_t)c.lastBounceRight;
        EXPECT_TRUE(TickLandMovingBall(index, 10, 0));
        EXPECT_EQ(GameState.score - start, c.scoreAdded);
    }
}

TEST_F(TickLandingTest, WallBounceFlipsAndCountsTheBounce)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {".......5"});
    _GameState &gs = GameState;
    int index = Fly(2, 1, 10, -2.0f, -1.5f);
    gs.movingList[index].angle = -0.9f;
    TickGame();
    const _MovingBall &ball = gs.movingList[index];
    EXPECT_FLOAT_EQ(ball.x, gs.grid[1][0].x);
    EXPECT_GT(ball.vx, 0.0f);
    EXPECT_FLOAT_EQ(ball.angle, 0.9f);
    EXPECT_EQ(ball.bounces, 1);
    EXPECT_EQ(ball.lastBounceRight, 0);
    TickUntilLanded();
    EXPECT_EQ(gs.movingCount, 0);
    EXPECT_EQ(CountBalls(2, 0, GRID_ROWS), 1);
}

// Two balls reaching the same top cell in one tick: the second lands beside the first
// instead of vanishing.
TEST_F(TickLandingTest, TwoBallsReachingOneTopCellBothLand)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {".......5"});
    Fly(3, 3, 0, 0.0f, -2.5f);
    Fly(3, 3, 0, 0.3f, -2.5f);
    TickGame();
    EXPECT_EQ(GameState.movingCount, 0);
    EXPECT_EQ(CountBalls(3, 0, GRID_ROWS), 2);
    EXPECT_EQ(GameState.grid[3][0].type, 3);
    EXPECT_FALSE(LogHas("not empty"));
}

TEST_F(TickLandingTest, LargeFrameTimeStepsAtMostOneCell)
{
    StartGrid(GAME_TYPE_STRATEGIC, 12, {"1111111111", "1111111111", "1111111111", "1111111111", "1111111111"});
    _GameState &gs = GameState;
    EngFrameTiming.frameTime = 0.5f;
    struct Case
    {
        float angle;
    } cases[] = {{0.0f}, {0.4f}, {-0.7f}, {0.79f}, {1.3f}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.angle);
        gs.movingCount = 0;
        int index = Fly(3, 5, 13, sinf(c.angle) * 2.5f, -cosf(c.angle) * 2.5f);
        float x = gs.movingList[index].x;
        float y = gs.movingList[index].y;
        TickGame();
        if (gs.movingCount == 1)
        {
            EXPECT_LE(fabsf(gs.movingList[index].x - x), gs.stepLimitX * 1.0001f);
            EXPECT_LE(fabsf(gs.movingList[index].y - y), gs.stepLimitY * 1.0001f);
        }
        TickUntilLanded();
        // Whatever the angle, the ball lands in the first free row, never inside the wall
        // of balls nor below it.
        EXPECT_EQ(CountBalls(3, 5, 6), 1);
        EXPECT_EQ(CountBalls(3, 0, GRID_ROWS), 1);
        for (int column = 1; column <= 10; column++)
            gs.grid[column][5].type = BALL_EMPTY;
    }
}

TEST_F(TickLandingTest, FiftyBallsInFlightRefuseAFurtherShot)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {".......5"});
    _GameState &gs = GameState;
    for (int i = 0; i < MAX_MOVING_BALLS - 1; i++)
        Fly(2, 4, 10, 0.0f, -2.5f);
    gs.turretLoad = 1.0f;
    gs.currentBall = 5;
    gs.nextBall = 5;
    PlinxShoot();
    EXPECT_EQ(gs.movingCount, MAX_MOVING_BALLS);
    EXPECT_EQ(gs.turretLoad, 0.0f);
    gs.turretLoad = 1.0f;
    gs.currentBall = 5;
    PlinxShoot();
    EXPECT_EQ(gs.movingCount, MAX_MOVING_BALLS);
    EXPECT_EQ(gs.currentBall, 5);
    EXPECT_EQ(gs.turretLoad, 1.0f);
}

TEST_F(TickLandingTest, ShotIsRefusedOutsidePlay)
{
    struct Case
    {
        const char *name;
        void (*arrange)();
    } cases[] = {
        {"not loaded", [] { GameState.turretLoad = 0.5f; }},
        {"no ball", [] { GameState.currentBall = BALL_EMPTY; }},
        {"paused", [] { GameState.paused = 1; }},
        {"level state", [] { GameState.levelState = LEVEL_STATE_COUNTDOWN; }},
        {"gui on", [] { AppGoFromGameToMenus(EngFourCC("PAUS"), nullptr, 1); }},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        StartGrid(GAME_TYPE_STRATEGIC, 10, {".......5"});
        AppGoFromMenusToGame(nullptr, 1);
        GameState.turretLoad = 1.0f;
        GameState.currentBall = 5;
        c.arrange();
        PlinxShoot();
        EXPECT_EQ(GameState.movingCount, 0);
    }
    AppGoFromMenusToGame(nullptr, 1);
}

TEST_F(TickLandingTest, ShotFliesFromTheTurretAlongItsAngle)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"1111.115"});
    _GameState &gs = GameState;
    gs.turretLoad = 1.0f;
    gs.currentBall = 3;
    gs.nextBall = 4;
    PlinxSetTurretAngle(0.3f, 0, 0);
    PlinxShoot();
    ASSERT_EQ(gs.movingCount, 1);
    const _MovingBall &ball = gs.movingList[0];
    EXPECT_FLOAT_EQ(ball.vx, sinf(0.3f) * 2.5f);
    EXPECT_FLOAT_EQ(ball.vy, -cosf(0.3f) * 2.5f);
    EXPECT_FLOAT_EQ(ball.x, sinf(0.3f) * 0.33f);
    EXPECT_FLOAT_EQ(ball.y, 0.9f - cosf(0.3f) * 0.33f);
    EXPECT_EQ(ball.type, 3);
    EXPECT_EQ(gs.currentBall, 4);
    EXPECT_EQ(gs.turretLoad, 0.0f);
    EXPECT_EQ(gs.rollingSoundOn, 1);
}

// ---- Mended faults ------------------------------------------------------------------------

TEST_F(TickLandingTest, MovingBallCountOutOfRangeIsReportedAndReset)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {".......5"});
    for (int count : {-1, 51, 1000})
    {
        SCOPED_TRACE(count);
        GameState.movingCount = count;
        TickMoveBalls();
        EXPECT_EQ(GameState.movingCount, 0);
        EXPECT_TRUE(LogHas("Bad moving ball count " + std::to_string(count)));
    }
}

TEST_F(TickLandingTest, EmptyGridHasNoLowestBallAndLosesNothing)
{
    for (int gameType : {GAME_TYPE_ARCADE, GAME_TYPE_STRATEGIC})
    {
        SCOPED_TRACE(gameType);
        StartGrid(gameType, 10, {});
        GameState.scroll = 0.9f;
        TickCheckLoss();
        EXPECT_EQ(GameState.lowestColumn, -1);
        EXPECT_EQ(GameState.lowestRow, -1);
        EXPECT_EQ(GameState.levelState, LEVEL_STATE_PLAY);
        EXPECT_EQ(GameState.gameOver, 0);
    }
}

TEST_F(TickLandingTest, TooLowGridEndsTheLife)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"1", "1", "1", "1", "1", "1"});
    _GameState &gs = GameState;
    gs.lives = 1;
    // Row 5's centre is at -0.3175: the life ends once it passes 0.53264.
    gs.scroll = 0.85f;
    TickCheckLoss();
    EXPECT_EQ(gs.levelState, LEVEL_STATE_PLAY);
    gs.scroll = 0.851f;
    TickCheckLoss();
    EXPECT_EQ(gs.levelState, LEVEL_STATE_LIFE_LOST);
    EXPECT_EQ(gs.lives, 0);
}

TEST_F(TickLandingTest, ArcadePushBackHoldsOffTheLoss)
{
    StartGrid(GAME_TYPE_ARCADE, 10, {"1", "1", "1", "1", "1", "1"});
    GameState.scroll = 0.9f;
    GameState.pushBack = 0.01f;
    TickCheckLoss();
    EXPECT_EQ(GameState.levelState, LEVEL_STATE_PLAY);
    GameState.pushBack = 0.0f;
    TickCheckLoss();
    EXPECT_EQ(GameState.levelState, LEVEL_STATE_GAME_OVER);
}

TEST_F(TickLandingTest, RollingSoundRestartsAfterALostLifeAndANewLevel)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"1......5"});
    _GameState &gs = GameState;
    gs.lives = 1;
    gs.turretLoad = 1.0f;
    gs.currentBall = 3;
    PlinxShoot();
    ASSERT_EQ(gs.rollingSoundOn, 1);
    LevelsLoseLife();
    while (gs.levelState == LEVEL_STATE_LIFE_LOST)
        TickGame();
    EXPECT_EQ(gs.movingCount, 0);
    EXPECT_EQ(gs.rollingSoundOn, 0);

    StartGrid(GAME_TYPE_STRATEGIC, 10, {"1......5"});
    gs.turretLoad = 1.0f;
    gs.currentBall = 3;
    PlinxShoot();
    ASSERT_EQ(gs.rollingSoundOn, 1);
    LevelsSetNextLevel(1);
    EXPECT_EQ(gs.movingCount, 0);
    EXPECT_EQ(gs.rollingSoundOn, 0);
}

TEST_F(TickLandingTest, LandingOutsideTheGridIsRefused)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"1......5"});
    EXPECT_FALSE(TickLandMovingBall(0, 3, 0));
    EXPECT_TRUE(LogHas("Bad moving ball number 0"));
    Fly(2, 3, 6, 0.0f, -2.5f);
    EXPECT_FALSE(TickLandMovingBall(0, 0, 0));
    EXPECT_TRUE(LogHas("Grid [0][0] not on grid"));
    EXPECT_EQ(GameState.movingCount, 0);
    TickRemoveMovingBall(3);
    EXPECT_TRUE(LogHas("Invalid ball num 3"));
}

// ---- Grid movement ---------------------------------------------------------------------------

TEST_F(TickLandingTest, PerShotGridMovesExactlyTheRemainder)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"1......5"});
    _GameState &gs = GameState;
    gs.shotRemainder = 0.05f;
    for (int i = 0; i < 600; i++)
    {
        TickMoveGrid();
        EXPECT_GE(gs.scroll, 0.0f);
    }
    EXPECT_NEAR(gs.scroll, 0.05f, 1e-6f);
    EXPECT_EQ(gs.shotRemainder, 0.0f);
    EXPECT_EQ(gs.shotVelocity, 0.0f);
    EXPECT_EQ(gs.strategicRollOn, 0);
    // Moving up never passes the top.
    gs.shotRemainder = -0.2f;
    for (int i = 0; i < 600; i++)
        TickMoveGrid();
    EXPECT_EQ(gs.scroll, 0.0f);
    EXPECT_EQ(gs.shotRemainder, 0.0f);
    EXPECT_GE(gs.shotVelocity, 0.0f);
}

TEST_F(TickLandingTest, ContinuousGridDescendsAndIsPushedBack)
{
    StartGrid(GAME_TYPE_ARCADE, 10, {"1......5"});
    _GameState &gs = GameState;
    for (int i = 0; i < 600; i++)
        TickMoveGrid();
    EXPECT_NEAR(gs.gridSpeed, gs.baseSpeed, 1e-6f);
    float descended = gs.scroll;
    EXPECT_GT(descended, 0.0f);
    gs.pushBack = 0.02f;
    for (int i = 0; i < 600 && gs.pushBack > 0.0f; i++)
    {
        TickMoveGrid();
        EXPECT_GE(gs.scroll, 0.0f);
    }
    EXPECT_LT(gs.scroll, descended);
    EXPECT_EQ(gs.pushBack, 0.0f);
    EXPECT_EQ(gs.arcadeRollOn, 1);
}
