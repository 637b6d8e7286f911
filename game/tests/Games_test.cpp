// Whole games played by a script from start to game over at a fixed frame time, with the
// rules' invariants checked after every tick.
#include <cmath>
#include <cstring>
#include <memory>

#include "GameTestkit.h"

using gametest::GameTest;

namespace
{

// Shoots as soon as a ball is loaded: every other shot straight at the lowest free cell
// next to a ball of the loaded colour, the others anywhere, drawn from the script's own
// generator.
struct ScriptedAim
{
    uint32_t state;

    uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }

    float NextAngle()
    {
        const _GameState &gs = GameState;
        if (Next() % 2 == 0)
            return (float)(Next() % 2801u) * 0.001f - 1.4f;
        int bestColumn = -1, bestRow = -1;
        for (int row = GRID_ROWS - 1; row >= 0 && bestRow < 0; row--)
        {
            for (int column = 1; column < gs.gridColumns - 1; column++)
            {
                if (!TickIsFreeLandingCell(column, row))
                    continue;
                for (int i = 0; i < 6; i++)
                {
                    int column2, row2;
                    if (!PlinxGetNeighbour(column, row, i, &column2, &row2))
                        continue;
                    int type = gs.grid[column2][row2].type;
                    if (type == gs.currentBall || (type >= 0 && gs.currentBall >= BALL_NUM_COLOURS))
                    {
                        bestColumn = column;
                        bestRow = row;
                    }
                }
            }
        }
        if (bestRow < 0)
            return (float)(Next() % 2801u) * 0.001f - 1.4f;
        const _GridCell &cell = gs.grid[bestColumn][bestRow];
        return atan2f(cell.x - gs.turretX, gs.turretY - (cell.y + gs.scroll));
    }
};

// The invariants of every tick; an empty text when they hold.
std::string CheckInvariants()
{
    const _GameState &gs = GameState;
    if (gs.gridColumns < GRID_MIN_COLUMNS || gs.gridColumns > GRID_MAX_COLUMNS || gs.gridRows != GRID_ROWS)
        return "grid size";
    for (int row = 0; row < GRID_ROWS; row++)
    {
        if (gs.grid[0][row].type != BALL_EMPTY)
            return "ball in the left border column";
        for (int column = gs.gridColumns - 1; column < GRID_MAX_COLUMNS; column++)
            if (gs.grid[column][row].type != BALL_EMPTY)
                return "ball in or beyond the right border column";
        for (int column = 1; column < gs.gridColumns - 1; column++)
            if (gs.grid[column][row].type < BALL_EMPTY || gs.grid[column][row].type > BALL_STONE)
                return "bad ball type";
    }
    if (gs.score < 0 || gs.score % 10 != 0)
        return "score " + std::to_string(gs.score);
    if (!(gs.scroll >= 0.0f))
        return "scroll " + std::to_string(gs.scroll);
    if (gs.movingCount < 0 || gs.movingCount > MAX_MOVING_BALLS)
        return "moving count";
    if (gs.removingCount < 0 || gs.removingCount > MAX_ANIMATED_BALLS)
        return "removing count";
    if (gs.fallingCount < 0 || gs.fallingCount > MAX_ANIMATED_BALLS)
        return "falling count";
    if (gs.levelState > LEVEL_STATE_GAME_OVER)
        return "level state";
    if (gs.turretAngle < -1.4f || gs.turretAngle > 1.4f)
        return "turret angle";
    for (int i = 0; i < gs.movingCount; i++)
    {
        const _MovingBall &ball = gs.movingList[i];
        if (ball.x < gs.grid[1][0].x - 1e-4f || ball.x > gs.grid[gs.gridColumns - 2][1].x + 1e-4f)
            return "ball in flight outside the walls";
    }
    return "";
}

struct GameResult
{
    int ticks;
    int level;
    int score;
    std::string failure;
};

} // namespace

class GamesTest : public GameTest
{
protected:
    GameResult Play(int gameType, int difficulty, uint32_t seed)
    {
        PlinxShutdown();
        PlinxSetup();
        _GameState &gs = GameState;
        gs.gameType = gameType;
        gs.userOptions.difficulty[gameType] = (int8_t)difficulty;
        gs.userOptions.mouseSensitivity = 4;
        PlinxSetFixedSeed(seed);
        PlinxStartGame();
        ScriptedAim aim = {seed};
        GameResult result = {0, 0, 0, ""};
        const int limit = 200000;
        while (!gs.gameOver && result.ticks < limit)
        {
            if (gs.levelState == LEVEL_STATE_PLAY && gs.turretLoad >= 1.0f)
            {
                PlinxSetTurretAngle(aim.NextAngle(), 0, 0);
                PlinxShoot(0);
            }
            TickGame();
            result.ticks++;
            result.failure = CheckInvariants();
            if (!result.failure.empty())
                break;
        }
        if (result.failure.empty() && !gs.gameOver)
            result.failure = "no game over";
        result.level = gs.level;
        result.score = gs.score;
        return result;
    }
};

TEST_F(GamesTest, ThousandScriptedGamesKeepTheRules)
{
    long long ticks = 0;
    int levelsCleared = 0;
    for (uint32_t game = 0; game < 1000; game++)
    {
        int gameType = game % 2 ? GAME_TYPE_STRATEGIC : GAME_TYPE_ARCADE;
        int difficulty = (int)(game / 2) % (gameType == GAME_TYPE_ARCADE ? 4 : 6);
        uint32_t seed = 1000u + game;
        GameResult result = Play(gameType, difficulty, seed);
        ASSERT_EQ(result.failure, "") << "game " << game << " type " << gameType << " difficulty " << difficulty
                                      << " after " << result.ticks << " ticks";
        ticks += result.ticks;
        levelsCleared += result.level;
    }
    RecordProperty("ticks", std::to_string(ticks));
    // No ball ever went astray: nothing was reported.
    EXPECT_EQ(LogText(), "");
    RecordProperty("levelsCleared", std::to_string(levelsCleared));
    EXPECT_GT(ticks, 1000 * 300);
}

TEST_F(GamesTest, SameSeedPlaysTheSameGame)
{
    for (uint32_t seed : {7u, 4242u, 90001u})
    {
        for (int gameType : {GAME_TYPE_ARCADE, GAME_TYPE_STRATEGIC})
        {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " type " << gameType);
            GameResult first = Play(gameType, 1, seed);
            ASSERT_EQ(first.failure, "");
            auto firstState = std::make_unique<unsigned char[]>(sizeof(_GameState));
            memcpy(firstState.get(), &GameState, sizeof(_GameState));
            GameResult second = Play(gameType, 1, seed);
            EXPECT_EQ(second.ticks, first.ticks);
            EXPECT_EQ(second.score, first.score);
            EXPECT_EQ(memcmp(firstState.get(), &GameState, sizeof(_GameState)), 0);
        }
    }
}
