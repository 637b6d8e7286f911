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

// Drops every ball without a connection to row 0, scoring each with multiplier `m`;
// true when that ended play (the level is done).
char TickDropUnconnectedBalls(float multiplier);
void TickMoveGrid();
void TickMoveBalls();
void TickRemovingAndFallingBalls();
void TickPlay();
// The loss test of a tick in play.
void TickCheckLoss();
