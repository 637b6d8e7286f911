// Shared fixture of the game-rule tests: the game state set up afresh, the GUI off, a
// fixed frame time, and grids written as small text maps.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "AppDouble.h"
#include "EngGlobals.h"
#include "EngPrefFolder.h"
#include "GameState.h"
#include "Grid.h"
#include "Levels.h"
#include "Play.h"
#include "Plinx.h"
#include "Testkit.h"
#include "Tick.h"

namespace gametest
{

const float FRAME = 1.0f / 60.0f;

// A grid as text: one string per row from row 0, one character per playable column
// (column 1 first): '.' empty, '0'-'9' a colour placed with the level, 'a'-'j' colours
// 0-9 that landed from shots, 'W' wildcard, 'X' exploding ball, 'S' stone.
inline void ApplyMap(const std::vector<std::string> &rows)
{
    _GameState &gs = GameState;
    for (int column = 0; column < GRID_MAX_COLUMNS; column++)
        for (int row = 0; row < GRID_ROWS; row++)
            gs.grid[column][row].type = BALL_EMPTY;
    for (size_t row = 0; row < rows.size(); row++)
    {
        for (size_t i = 0; i < rows[row].size(); i++)
        {
            char ch = rows[row][i];
            _GridCell &cell = gs.grid[i + 1][row];
            cell.initial = 1;
            if (ch >= '0' && ch <= '9')
                cell.type = (int8_t)(ch - '0');
            else if (ch >= 'a' && ch <= 'j')
                cell.type = (int8_t)(ch - 'a'), cell.initial = 0;
            else if (ch == 'W')
                cell.type = BALL_WILDCARD;
            else if (ch == 'X')
                cell.type = BALL_EXPLODING;
            else if (ch == 'S')
                cell.type = BALL_STONE;
        }
    }
    GridFindLowestBall();
}

// The grid as text, in the map's own form, for failure messages and comparisons.
inline std::vector<std::string> ReadMap(int rowCount)
{
    std::vector<std::string> rows;
    const _GameState &gs = GameState;
    for (int row = 0; row < rowCount; row++)
    {
        std::string text;
        for (int column = 1; column <= gs.gridColumns - 2; column++)
        {
            const _GridCell &cell = gs.grid[column][row];
            int type = cell.type;
            char ch = '.';
            if (type >= 0 && type <= 9)
                ch = cell.initial ? (char)('0' + type) : (char)('a' + type);
            else if (type == BALL_WILDCARD)
                ch = 'W';
            else if (type == BALL_EXPLODING)
                ch = 'X';
            else if (type == BALL_STONE)
                ch = 'S';
            text += ch;
        }
        rows.push_back(text);
    }
    return rows;
}

class GameTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        // The game's files (saved games, puzzles) live in the test's own per-user folder.
        PrefFolderSetup("Plinx", false, nullptr, false);
        PlayShutdown();
        PlaySetup();
        PlinxSetFixedSeed(12345);
        AppDoubleReset();
        AppGoFromMenusToGame(nullptr, 1);
        EngFrameTiming.frameTime = FRAME;
        memset(EngKeyStates, 0, sizeof(EngKeyStates));
    }
    void TearDown() override
    {
        PlayShutdown();
        PlinxSetFixedSeed(0);
        AppSetHooks(nullptr);
        PrefFolderShutdown();
        TempHomeTest::TearDown();
    }

    // A level of `gameType` at level 0, difficulty 0, `gridColumns` wide, with the grid
    // of `rows`, in play, nothing loaded in the turret.
    void StartGrid(int gameType, int gridColumns, const std::vector<std::string> &rows)
    {
        _GameState &gs = GameState;
        gs.gameType = gameType;
        gs.puzzle.type = gameType;
        gs.level = 0;
        gs.moveMode = gameType == GAME_TYPE_ARCADE ? MOVE_MODE_CONTINUOUS : MOVE_MODE_PER_SHOT;
        gs.numColours = BALL_NUM_COLOURS;
        for (int i = 0; i < BALL_NUM_COLOURS; i++)
            gs.colourSet[i] = (int8_t)i;
        LevelsSetLevelAmounts();
        gs.wildcardFrequency = 0;
        gs.explodingFrequency = 0;
        gs.gridColumns = gridColumns;
        gs.rowsFilled = 0;
        PlinxResetGrid();
        ApplyMap(rows);
        gs.levelState = LEVEL_STATE_PLAY;
        gs.gridBallScale = 1.0f;
        gs.currentBall = BALL_EMPTY;
        gs.nextBall = BALL_EMPTY;
    }

    // A ball of `type` in flight from the centre of cell (column, row) with velocity
    // (vx, vy); its index in the moving list.
    int Fly(int type, int column, int row, float vx, float vy)
    {
        _GameState &gs = GameState;
        _MovingBall &ball = gs.movingList[gs.movingCount];
        memset(&ball, 0, sizeof(ball));
        ball.x = gs.grid[column][row].x;
        ball.y = gs.grid[column][row].y + gs.scroll;
        ball.vx = vx;
        ball.vy = vy;
        ball.type = (int8_t)type;
        ball.explodingEffect = -1;
        ball.wildcardEffect = -1;
        return gs.movingCount++;
    }

    // Ticks the game until no ball flies (at most `limit` ticks); the ticks run.
    int TickUntilLanded(int limit = 600)
    {
        int ticks = 0;
        while (GameState.movingCount > 0 && ticks < limit)
        {
            TickGame();
            ticks++;
        }
        return ticks;
    }
};

} // namespace gametest
