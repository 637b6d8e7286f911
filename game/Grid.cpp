// The hexagonal grid's geometry and cell queries over GameState: where a cell's centre
// lies, its six neighbours by row parity, which cells are playable, which cell a point of
// the field falls in, where a flying ball may land, the lowest ball, and which balls hang
// from row 0. The floor under the rules: it calls nothing above it.
//
// Sections: geometry | cell queries | connection
#include "Grid.h"

#include <cmath>
#include <cstring>

#include "EngGlobals.h"
#include "GameState.h"

// ---- Geometry -------------------------------------------------------------------------

// Neighbour offsets (column, row) by row parity: odd rows sit 0.95 radius to the right.
static const int8_t s_neighbours[2][6][2] = {
    {{-1, -1}, {0, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}},
    {{0, -1}, {1, -1}, {-1, 0}, {1, 0}, {0, 1}, {1, 1}},
};

float GridGetCellX(int column, int row, int gridColumns)
{
    const float r = GameState.ballRadius;
    return GameState.gridOffset + (float)(row & 1) * r * 0.95f + 2.0f * r * ((float)column - (float)gridColumns * 0.5f);
}

float GridGetCellY(int row)
{
    const float r = GameState.ballRadius;
    return GameState.gridOffset + (r * 1.8f * (float)row - 1.0f) + r;
}

bool GridGetNeighbour(int column, int row, int index, int *neighbourColumn, int *neighbourRow)
{
    int column2 = column + s_neighbours[row & 1][index][0];
    int row2 = row + s_neighbours[row & 1][index][1];
    *neighbourColumn = column2;
    *neighbourRow = row2;
    return column2 >= 0 && column2 < GameState.gridColumns && row2 >= 0 && row2 < GameState.gridRows;
}

void GridComputeLayout()
{
    _GameState &gs = GameState;
    const float r = gs.ballRadius;
    const int columns = gs.gridColumns;
    gs.leftWall = gs.grid[1][0].x - r;
    gs.rightWall = gs.grid[columns - 2][1].x + r;
    gs.topY = gs.grid[0][0].y - r;
    // The fitting scale keeps the balls round on a screen wider than 4:3.
    float scale = EngScreenSettings.widthCorrection;
    float width = gs.rightWall - gs.leftWall;
    gs.fieldScale = scale;
    if (scale * width > 1.8f)
        gs.fieldScale = 1.8f / width;
    if (gs.fieldScale * gs.leftWall < -0.91f && gs.leftWall != 0.0f)
        gs.fieldScale = -0.9f / gs.leftWall;
    gs.stepLimitX = gs.grid[1][0].x - gs.grid[0][0].x;
    gs.stepLimitY = gs.grid[0][1].y - gs.grid[1][0].y;
}

void GridClear()
{
    _GameState &gs = GameState;
    for (int column = 0; column < GRID_MAX_COLUMNS; column++)
        for (int row = 0; row < GRID_ROWS; row++)
            gs.grid[column][row].type = BALL_EMPTY;
}

// ---- Cell queries ---------------------------------------------------------------------

bool GridIsPlayable(int column, int row)
{
    return column >= 1 && column <= GameState.gridColumns - 2 && row >= 0 && row < GameState.gridRows;
}

bool GridGetPosition(float x, float y, int *column, int *row)
{
    const _GameState &gs = GameState;
    const float r = gs.ballRadius;
    *column = -1;
    *row = -1;
    if (gs.gridRows < 1 || gs.gridColumns < 1 || !(r > 0.0f) || !(y == y) || !(x == x))
        return false;
    // Rows are 1.8 radii apart and their bands 2 radii tall, so at most two bands hold y:
    // estimate the lower one and test the rows around it in order, the first one wins.
    const float rowStep = gs.grid[0][1].y - gs.grid[0][0].y;
    float rowEstimate = (y - gs.scroll - gs.grid[0][0].y + r) / rowStep;
    if (rowEstimate < -1.0f || rowEstimate > (float)gs.gridRows + 1.0f)
        return false;
    int last = (int)floorf(rowEstimate);
    for (int row2 = last - 2 < 0 ? 0 : last - 2; row2 <= last + 1 && row2 < gs.gridRows; row2++)
    {
        float centre = gs.grid[0][row2].y + gs.scroll;
        if (!(centre - r <= y && y < centre + r))
            continue;
        // Columns are exactly one band apart: one candidate and its two neighbours.
        const float columnStep = gs.grid[1][row2].x - gs.grid[0][row2].x;
        float columnEstimate = (x - gs.grid[0][row2].x + r) / columnStep;
        if (columnEstimate < -1.0f || columnEstimate > (float)gs.gridColumns + 1.0f)
            return false;
        int guess = (int)floorf(columnEstimate);
        for (int column2 = guess - 1 < 0 ? 0 : guess - 1; column2 <= guess + 1 && column2 < gs.gridColumns; column2++)
        {
            float x2 = gs.grid[column2][row2].x;
            if (x2 - r <= x && x < x2 + r)
            {
                *column = column2;
                *row = row2;
                return true;
            }
        }
        return false;
    }
    return false;
}

bool GridIsBallAt(float x, float y)
{
    int column, row;
    if (!GridGetPosition(x, y, &column, &row))
        return false;
    return GridIsPlayable(column, row) && GameState.grid[column][row].type != BALL_EMPTY;
}

bool GridHasNeighbour(int column, int row)
{
    for (int i = 0; i < 6; i++)
    {
        int column2, row2;
        if (GridGetNeighbour(column, row, i, &column2, &row2) && GridIsPlayable(column2, row2) &&
            GameState.grid[column2][row2].type != BALL_EMPTY)
            return true;
    }
    return false;
}

bool GridIsFreeLandingCell(int column, int row)
{
    if (!GridIsPlayable(column, row) || GameState.grid[column][row].type != BALL_EMPTY)
        return false;
    return row == 0 || GridHasNeighbour(column, row);
}

bool GridFindLandingCell(float x, float y, int *column, int *row)
{
    for (int k = 1; k <= 7; k++)
    {
        float d = GameState.ballRadius * 0.25f * (float)k;
        const float points[6][2] = {
            {x - d * 0.5f, y - d}, {x + d * 0.5f, y - d}, {x - d, y},
            {x + d, y},            {x - d * 0.5f, y + d}, {x + d * 0.5f, y + d},
        };
        for (const auto &point : points)
        {
            if (GridGetPosition(point[0], point[1], column, row) && GridIsFreeLandingCell(*column, *row))
                return true;
        }
    }
    *column = -1;
    *row = -1;
    return false;
}

void GridFindLowestBall()
{
    // The last ball met scanning rows top to bottom and columns left to right: the
    // rightmost ball of the lowest row that holds one.
    _GameState &gs = GameState;
    gs.lowestColumn = -1;
    gs.lowestRow = -1;
    for (int row = gs.gridRows - 1; row >= 0; row--)
    {
        for (int column = gs.gridColumns - 1; column >= 0; column--)
        {
            if (gs.grid[column][row].type != BALL_EMPTY)
            {
                gs.lowestColumn = column;
                gs.lowestRow = row;
                return;
            }
        }
    }
}

// ---- Connection -----------------------------------------------------------------------

void GridMarkConnected()
{
    _GameState &gs = GameState;
    memset(gs.connectedMap, 0, sizeof(gs.connectedMap));
    // Everything reachable from row 0 through neighbouring balls stays.
    int stack[GRID_CELLS][2];
    int depth = 0;
    for (int column = 0; column < gs.gridColumns; column++)
    {
        if (gs.grid[column][0].type != BALL_EMPTY)
        {
            gs.connectedMap[column][0] = 1;
            stack[depth][0] = column;
            stack[depth][1] = 0;
            depth++;
        }
    }
    while (depth > 0)
    {
        depth--;
        int column = stack[depth][0];
        int row = stack[depth][1];
        for (int i = 0; i < 6; i++)
        {
            int column2, row2;
            if (GridGetNeighbour(column, row, i, &column2, &row2) && !gs.connectedMap[column2][row2] &&
                gs.grid[column2][row2].type != BALL_EMPTY)
            {
                gs.connectedMap[column2][row2] = 1;
                stack[depth][0] = column2;
                stack[depth][1] = row2;
                depth++;
            }
        }
    }
}
