// Game state, grid and balls: setting the game state up, starting a game, building a
// level's grid and layout, the level's colours, random and next balls, scoring, the
// turret and the shot. Works on GameState (GameState.h).
#pragma once
#include <cstdint>

#include "EngTypes.h"

// The module's state is GameState. Setup puts it at its start values (constants of the
// field, no ball, no game); Shutdown clears it all, so a test can set up again.
char PlinxSetup();
void PlinxShutdown();

// 4, 6, 3 and 0 difficulties for ARCADE, STRATEGIC, PUZZLE and MY PUZZLES; 0 and a
// report for any other value.
int8_t PlinxGetNumDifficultiesForGameType(int gameType);
// "ARCADE", "STRATEGIC", "PUZZLE", "MY PUZZLES"; "???" for any other value.
const char *PlinxGetGameTypeName(int gameType);
// The current game type's difficulty from the player's options; an out-of-range value
// is reported and taken as 0.
int PlinxGetDifficulty();

// A fixed seed for the games started from now on (0: seed from the system, the normal
// case). A fixed seed makes a game repeat exactly, draw for draw.
void PlinxSetFixedSeed(uint32_t seed);

// Starts (or, with gridGiven, resumes) a game of GameState.gameType.
void PlinxStartGame();
// Builds the grid of the level being started.
void PlinxResetGrid();
// Seeds the game's generator for the level and draws the level's colours.
void PlinxChooseColourSet();
// One random colour of the level's set (the colour index itself in the editor's test run).
int8_t PlinxGetRandomBallType();
// Picks the next ball; with `recheck` keeps it while its colour is still in play.
void PlinxChooseNextBall(char recheck);
// Adds points in whole tens (at least 10), never past the largest score.
void PlinxAddScore(int points);
// Turns the turret: `scaled` values are mouse or key movements, `relative` ones add to
// the angle. A value of -1000 only recomputes the loaded ball's position.
void PlinxSetTurretAngle(float value, char relative, char scaled);
void PlinxUpdateTurretBall();
// A shot's aim: the turret angle (radians) and the loaded ball's position it leaves from.
struct _ShotAim
{
    float angle;
    float x, y, z;
};
// Whether a shot can go now: set up, the menus off, not paused, the game on and in play,
// room in the flight list, the ball loaded and not inside a grid ball.
bool PlinxCanShoot();
// Fires the loaded ball; with `aim` (a recorded shot) the turret first takes that angle
// and ball position. True when the ball left, `fired` (may be NULL) then holding the aim
// it left with; false, with nothing changed, when PlinxCanShoot says no. What remembers
// shots (the test run's undo history and recording) reacts to this result.
char PlinxShoot(const _ShotAim *aim = nullptr, _ShotAim *fired = nullptr);
// Starts the effect and loop sound of a special ball on the turret.
void PlinxStartTurretBallEffects();

// The colour that tints each ball type's effects.
extern const _ColourRGB plinx_ball_colours[13];
