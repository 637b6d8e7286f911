// The game tick: advances time, handles the escape and undo keys, runs the level states,
// moves the grid, flies the shot balls and bounces them off the walls, lands them in the
// grid, removes groups of three or more, drops balls cut off from the top, scores, and
// ends a life when the grid comes too low or a puzzle runs out of balls.
#pragma once

// Once per frame while a game runs (the GUI is off).
void TickGame();
// Leaves the game for the pause screen (escape from the menus' side).
void TickGoFromGameToPauseScreen();

// Lands moving ball `index` in cell (column, row): matching, removal, falling, scoring.
// False when the ball could not land (reported; the ball is gone).
char TickLandMovingBall(int index, int column, int row);
// Whether moving ball `index`, stepping to (newX, newY), hits the grid; on a hit it is
// landed (or, when nowhere fits, deleted) and true comes back. `lookAhead` (x, y) may be
// NULL.
char TickCheckMovingBallHittingGrid(int index, float newX, float newY, const float *lookAhead);
// The match search from (column, row) for `colour`, flagging matchMap; `first` starts a
// new search.
void TickCheckBallSequence(int column, int row, char first, int colour);
// Deletes record `index` of the moving-ball list; the later ones move down.
void TickRemoveMovingBall(int index);

// The cell whose band holds (x, y) with the grid's scroll; false (and -1, -1) when none.
bool TickGetGridPosition(float x, float y, int *column, int *row);
// Whether a playable cell under (x, y) holds a ball.
bool TickIsBallAt(float x, float y);
// A playable, empty cell in row 0 or touching a ball.
bool TickIsFreeLandingCell(int column, int row);
bool TickHasNeighbour(int column, int row);
// The landing cell for a ball at (x, y), searched outwards; false when none fits.
bool TickFindLandingCell(float x, float y, int *column, int *row);
// Records the lowest occupied cell (-1, -1 for an empty grid).
void TickFindLowestBall();
// Drops every ball without a connection to row 0, scoring each with multiplier `m`;
// true when that ended play (the level is done).
char TickDropUnconnectedBalls(float multiplier);
void TickMoveGrid();
void TickMoveBalls();
void TickRemovingAndFallingBalls();
void TickGrowGridBalls();
void TickPlay();
// The loss test of a tick in play.
void TickCheckLoss();
