// Speed of the game rules: one tick of a full 22 x 14 field with 50 balls in flight, and
// whole games played by the test script from start to game over.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "Levels.h"
#include "ScriptedPlay.h"

namespace
{

// STRATEGIC at its largest size: 22 columns, every playable cell of rows 0-12 filled
// (row 13 would end the life), and 50 balls rising from below at spread angles.
void SetUpCrowdedField()
{
    ScriptedPlayGame(GAME_TYPE_STRATEGIC, 5, 77, 1, [] { return false; });
    _GameState &gs = GameState;
    gs.nextLevel = 0;
    LevelsStartNextLevel();
    for (int column = 1; column < gs.gridColumns - 1; column++)
        for (int row = 0; row < GRID_ROWS - 1; row++)
            gs.grid[column][row].type = gs.colourSet[(column * 7 + row * 3) % gs.numColours];
    gs.levelState = LEVEL_STATE_PLAY;
    gs.gridBallScale = 1.0f;
    gs.movingCount = 0;
    for (int i = 0; i < MAX_MOVING_BALLS; i++)
    {
        _MovingBall &ball = gs.movingList[gs.movingCount++];
        memset(&ball, 0, sizeof(ball));
        float angle = -1.3f + 2.6f * (float)i / (float)(MAX_MOVING_BALLS - 1);
        ball.x = gs.grid[1][0].x + (gs.grid[gs.gridColumns - 2][0].x - gs.grid[1][0].x) * (float)i / (MAX_MOVING_BALLS - 1);
        // Every fifth ball is just below the grid and lands in this tick, each in a cell
        // of its own; the rest fly on.
        ball.y = i % 5 == 0 ? 0.57f : 0.70f + 0.05f * (float)(i % 5);
        ball.vx = sinf(angle) * gs.shotSpeed;
        ball.vy = -cosf(angle) * gs.shotSpeed;
        ball.type = gs.colourSet[i % gs.numColours];
        ball.explodingEffect = -1;
        ball.wildcardEffect = -1;
    }
}

void BM_TickCrowdedField(benchmark::State &state)
{
    SetUpCrowdedField();
    auto saved = std::make_unique<_GameState>();
    memcpy((void *)saved.get(), &GameState, sizeof(_GameState));
    int64_t landed = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        memcpy((void *)&GameState, saved.get(), sizeof(_GameState));
        state.ResumeTiming();
        TickGame();
        landed += MAX_MOVING_BALLS - GameState.movingCount;
    }
    state.counters["landedPerTick"] = benchmark::Counter((double)landed / (double)state.iterations());
}
BENCHMARK(BM_TickCrowdedField);

void BM_ScriptedGame(benchmark::State &state)
{
    const int gameType = (int)state.range(0);
    uint32_t seed = 1;
    int64_t ticks = 0;
    for (auto _ : state)
        ticks += ScriptedPlayGame(gameType, 1, seed++, 200000, [] { return true; });
    state.SetItemsProcessed(ticks);
    state.counters["ticksPerGame"] = benchmark::Counter((double)ticks / (double)state.iterations());
}
BENCHMARK(BM_ScriptedGame)->Arg(GAME_TYPE_ARCADE)->Arg(GAME_TYPE_STRATEGIC)->Unit(benchmark::kMillisecond);

} // namespace
