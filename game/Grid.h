// The hexagonal grid's geometry and cell queries over GameState (GameState.h): cell
// centres, neighbours, playable cells, the cell under a point, landing cells, the lowest
// ball and the balls connected to row 0. The floor under the rules (Plinx*, Tick*,
// Levels*): pure reads of the grid, plus the few maps and fields it keeps up to date.
#pragma once

// ---- Geometry -------------------------------------------------------------------------
// The x and y of a cell's centre for a grid of `gridColumns` columns: odd rows sit 0.95
// radius to the right, rows are 1.8 radii apart.
float GridGetCellX(int column, int row, int gridColumns);
float GridGetCellY(int row);
// Neighbour `index` (0-5) of a cell by its row's parity; false when it lies outside the
// grid's columns or rows (the out values are set all the same).
bool GridGetNeighbour(int column, int row, int index, int *neighbourColumn, int *neighbourRow);
// Walls, field scale and the step limits of a moving ball, from the grid's cells.
void GridComputeLayout();
// Every cell of the grid (all 22 columns) empty.
void GridClear();

// ---- Cell queries ---------------------------------------------------------------------
// Columns 1 to gridColumns - 2 of rows 0 to 13: the border columns hold no ball.
bool GridIsPlayable(int column, int row);
// The cell whose band holds (x, y) with the grid's scroll; false (and -1, -1) when none.
bool GridGetPosition(float x, float y, int *column, int *row);
// Whether a playable cell under (x, y) holds a ball.
bool GridIsBallAt(float x, float y);
// A playable, empty cell in row 0 or touching a ball.
bool GridIsFreeLandingCell(int column, int row);
bool GridHasNeighbour(int column, int row);
// The landing cell for a ball at (x, y), searched outwards; false (and -1, -1) when none
// fits.
bool GridFindLandingCell(float x, float y, int *column, int *row);
// Records the lowest occupied cell in GameState (-1, -1 for an empty grid): the rightmost
// ball of the lowest row that holds one.
void GridFindLowestBall();

// ---- Connection -----------------------------------------------------------------------
// GameState.connectedMap: 1 for every ball reachable from row 0 through neighbouring
// balls, 0 elsewhere.
void GridMarkConnected();
