#include <algorithm>
#include <cmath>
#include <limits>

#include "GameTestkit.h"

using gametest::GameTest;

class PlinxTest : public GameTest
{
};

TEST_F(PlinxTest, BallsStayOutOfTheBorderColumns)
{
    _GameState &gs = GameState;
    gs.gameType = GAME_TYPE_PUZZLE;
    gs.puzzle.type = GAME_TYPE_PUZZLE;
    gs.puzzle.numBallTypes = 3;
    gs.puzzle.numNextBalls = 1;
    for (int column = 0; column < GRID_MAX_COLUMNS; column++)
        for (int row = 0; row < GRID_ROWS; row++)
            gs.puzzle.grid[column][row] = 1;
    struct Case
    {
        int puzzleWidth, gridColumns;
    } cases[] = {{4, 4}, {3, 4}, {9, 9}, {22, 22}, {30, 22}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.puzzleWidth);
        gs.puzzle.width = c.puzzleWidth;
        gs.nextLevel = 0;
        LevelsStartNextLevel();
        EXPECT_EQ(gs.gridColumns, c.gridColumns);
        for (int row = 0; row < GRID_ROWS; row++)
        {
            EXPECT_EQ(gs.grid[0][row].type, BALL_EMPTY);
            for (int column = gs.gridColumns - 1; column < GRID_MAX_COLUMNS; column++)
                EXPECT_EQ(gs.grid[column][row].type, BALL_EMPTY);
            for (int column = 1; column < gs.gridColumns - 1 && column < c.puzzleWidth - 1; column++)
                EXPECT_NE(gs.grid[column][row].type, BALL_EMPTY);
        }
    }
}

TEST_F(PlinxTest, ScoreInWholeTensUpToTheCap)
{
    struct Case
    {
        int score, points, expected;
    } cases[] = {
        {0, 0, 10},
        {0, 14, 10},
        {0, 15, 20},
        {0, 44, 40},
        {0, 45, 50},
        {0, -30, 10},
        {100, 1234, 1330},
        {2147483640, 100, 2147483640},
        {2147483636, 0, 2147483646},
        {2147483637, 0, 2147483637},
        {0, 2147483647, 0},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.score << " + " << c.points);
        GameState.score = c.score;
        PlinxAddScore(c.points);
        EXPECT_EQ(GameState.score, c.expected);
    }
}

TEST_F(PlinxTest, TurretNeverPassesItsLimits)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        float start, value;
        int relative, scaled, sensitivity;
        float expected;
    } cases[] = {
        {0.0f, 0.5f, 0, 0, 4, 0.5f},   {0.0f, 2.0f, 0, 0, 4, 1.4f},   {0.0f, -3.0f, 0, 0, 4, -1.4f},
        {1.3f, 0.5f, 1, 0, 4, 1.4f},   {0.2f, 0.1f, 1, 0, 4, 0.3f},   {-1.3f, -9.0f, 1, 0, 4, -1.4f},
        {0.0f, 2.1f, 0, 1, 4, 1.0f},   {0.0f, 2.1f, 0, 1, 0, 0.3f},   {0.0f, 2.1f, 0, 1, 9, 1.4f},
        {0.0f, 2.1f, 0, 1, 42, 1.0f},  {0.5f, 0.21f, 1, 1, 6, 0.64f}, {0.5f, nan, 0, 0, 4, 0.5f},
        {0.3f, -1000.0f, 0, 0, 4, 0.3f},
    };
    _GameState &gs = GameState;
    gs.turretLoad = 1.0f;
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.value << " r" << c.relative << " s" << c.scaled);
        gs.turretAngle = c.start;
        gs.userOptions.mouseSensitivity = (int8_t)c.sensitivity;
        PlinxSetTurretAngle(c.value, (char)c.relative, (char)c.scaled);
        EXPECT_NEAR(gs.turretAngle, c.expected, 1e-6f);
        EXPECT_FLOAT_EQ(gs.turretBallX, sinf(gs.turretAngle) * 0.33f);
        EXPECT_FLOAT_EQ(gs.turretBallY, 0.9f - cosf(gs.turretAngle) * 0.33f);
    }
}

TEST_F(PlinxTest, DifficultiesPerGameType)
{
    struct Case
    {
        int gameType, count;
        const char *name;
    } cases[] = {
        {GAME_TYPE_ARCADE, 4, "ARCADE"}, {GAME_TYPE_STRATEGIC, 6, "STRATEGIC"}, {GAME_TYPE_PUZZLE, 3, "PUZZLE"},
        {GAME_TYPE_MY_PUZZLES, 0, "MY PUZZLES"}, {4, 0, "???"}, {-1, 0, "???"},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.gameType);
        EXPECT_EQ(PlinxGetNumDifficultiesForGameType(c.gameType), c.count);
        EXPECT_STREQ(PlinxGetGameTypeName(c.gameType), c.name);
    }
    EXPECT_TRUE(LogHas("Unexpected gt 4"));
}

TEST_F(PlinxTest, ColourSetIsDistinctAndRepeatsForItsSeed)
{
    _GameState &gs = GameState;
    for (int count : {1, 5, 6, 10})
    {
        SCOPED_TRACE(count);
        gs.rngSeed = 99;
        gs.level = 4;
        gs.numColours = count;
        PlinxChooseColourSet();
        int8_t first[BALL_NUM_COLOURS];
        memcpy(first, gs.colourSet, sizeof(first));
        bool seen[BALL_NUM_COLOURS] = {};
        for (int i = 0; i < count; i++)
        {
            ASSERT_GE(first[i], 0);
            ASSERT_LT(first[i], BALL_NUM_COLOURS);
            EXPECT_FALSE(seen[first[i]]);
            seen[first[i]] = true;
        }
        EXPECT_GE(gs.rngDraws, (uint32_t)count);
        PlinxChooseColourSet();
        EXPECT_EQ(memcmp(first, gs.colourSet, count), 0);
    }
}

// The draw count lets a saved game bring the generator back to the same point.
TEST_F(PlinxTest, DrawCountReplaysTheGenerator)
{
    _GameState &gs = GameState;
    gs.gameType = GAME_TYPE_STRATEGIC;
    gs.userOptions.difficulty[GAME_TYPE_STRATEGIC] = 2;
    PlinxStartGame();
    for (int i = 0; i < 600; i++)
    {
        if (gs.turretLoad >= 1.0f)
        {
            PlinxSetTurretAngle(0.05f * (float)(i % 40) - 1.0f, 0, 0);
            PlinxShoot();
        }
        TickGame();
    }
    ASSERT_GT(gs.rngDraws, 100u);
    EngRandomGenerator replay;
    replay.Seed((uint32_t)gs.level + gs.rngSeed + 1u);
    for (uint32_t i = 0; i < gs.rngDraws; i++)
        replay.GetRandom();
    EXPECT_EQ(replay.GetRandom(), gs.rng.GetRandom());
}

TEST_F(PlinxTest, NextBallComesFromTheColoursInPlay)
{
    StartGrid(GAME_TYPE_STRATEGIC, 10, {"3......3"});
    _GameState &gs = GameState;
    struct Case
    {
        const char *name;
        int currentBall, nextBall;
        float turretLoad;
        int recheck;
        std::vector<int> allowed;
    } cases[] = {
        {"colour gone", 7, 5, 0.0f, 1, {3}},
        {"loaded colour counts", 7, 5, 0.5f, 1, {3, 7}},
        {"present colour kept", 7, 3, 0.0f, 1, {3}},
        {"special kept", 7, BALL_EXPLODING, 0.0f, 1, {BALL_EXPLODING}},
        {"no recheck draws anew", 7, 3, 0.0f, 0, {3}},
        {"nothing loaded", BALL_EMPTY, 3, 0.0f, 1, {BALL_EMPTY}},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        for (int round = 0; round < 20; round++)
        {
            gs.currentBall = (int8_t)c.currentBall;
            gs.nextBall = (int8_t)c.nextBall;
            gs.turretLoad = c.turretLoad;
            PlinxChooseNextBall((char)c.recheck);
            EXPECT_NE(std::find(c.allowed.begin(), c.allowed.end(), gs.nextBall), c.allowed.end()) << (int)gs.nextBall;
        }
    }
}

TEST_F(PlinxTest, NotSetUpIsReported)
{
    PlinxShutdown();
    TickGame();
    PlinxStartGame();
    EXPECT_TRUE(LogHas("Not setup."));
    EXPECT_EQ(GameState.levelState, 0);
    PlinxSetup();
    EXPECT_EQ(PlinxSetup(), 1);
}
