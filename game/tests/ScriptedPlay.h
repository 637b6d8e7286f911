// A whole game played by a script, shared by the game tests and the benchmarks: the
// game state set up afresh with a fixed seed, then shots fired as soon as a ball is
// loaded, at a fixed frame time, until the game is over.
#pragma once
#include <cmath>
#include <cstdint>

#include "AppDouble.h"
#include "EngGlobals.h"
#include "GameState.h"
#include "Grid.h"
#include "Play.h"
#include "Plinx.h"
#include "Tick.h"

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
                if (!GridIsFreeLandingCell(column, row))
                    continue;
                for (int i = 0; i < 6; i++)
                {
                    int column2, row2;
                    if (!GridGetNeighbour(column, row, i, &column2, &row2))
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

// Plays a game of `gameType` at `difficulty` with `seed` until game over or `limit`
// ticks, calling `afterTick` after every tick (false stops the game); the ticks played.
template <typename AfterTick>
int ScriptedPlayGame(int gameType, int difficulty, uint32_t seed, int limit, AfterTick afterTick)
{
    PlayShutdown();
    PlaySetup();
    AppDoubleInstall();
    AppGoFromMenusToGame(nullptr, 1);
    EngFrameTiming.frameTime = 1.0f / 60.0f;
    _GameState &gs = GameState;
    gs.gameType = gameType;
    gs.userOptions.difficulty[gameType] = (int8_t)difficulty;
    gs.userOptions.mouseSensitivity = 4;
    PlinxSetFixedSeed(seed);
    PlinxStartGame();
    ScriptedAim aim = {seed};
    int ticks = 0;
    while (!gs.gameOver && ticks < limit)
    {
        if (gs.levelState == LEVEL_STATE_PLAY && gs.turretLoad >= 1.0f)
        {
            PlinxSetTurretAngle(aim.NextAngle(), 0, 0);
            PlinxShoot();
        }
        TickGame();
        ticks++;
        if (!afterTick())
            break;
    }
    return ticks;
}
