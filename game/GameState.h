// The running game's state: one block of globals holding the hexagonal grid, the balls in
// flight, the removal and fall animations, the turret, the current and next ball, level,
// lives, score and the level tuning. Game code and the menu screens read and write it
// directly; the game rules (Plinx*, Tick*, Levels*) keep it consistent.
//
// Play-field coordinates: x from -1 (left) to +1 (right), y from -1 (top) to +1 (bottom);
// every length below is in that space. Times are seconds of game time.
#pragma once
#include <cstddef>
#include <cstdint>

#include "EngRandom.h"
#include "EngTypes.h"
#include "Puzzles.h"
#include "UserOptions.h"

enum _GameType
{
    GAME_TYPE_ARCADE = 0,
    GAME_TYPE_STRATEGIC = 1,
    GAME_TYPE_PUZZLE = 2,
    GAME_TYPE_MY_PUZZLES = 3,
    GAME_NUM_TYPES = 4,
};

// Ball types as stored in an int8_t: 0-9 the ten colours, then the special balls.
enum _BallType
{
    BALL_EMPTY = -1,
    BALL_NUM_COLOURS = 10,
    BALL_WILDCARD = 10,
    BALL_EXPLODING = 11,
    BALL_STONE = 12,
    BALL_NUM_TYPES = 13,
};

enum _LevelState
{
    LEVEL_STATE_PLAY = 0,
    LEVEL_STATE_START = 1,     // waiting for the field to settle, then the level is built
    LEVEL_STATE_INTRO = 2,     // the caption grows
    LEVEL_STATE_COUNTDOWN = 3, // one second
    LEVEL_STATE_DONE = 4,
    LEVEL_STATE_LIFE_LOST = 5, // three seconds
    LEVEL_STATE_GAME_OVER = 6,
};

enum _MoveMode
{
    MOVE_MODE_CONTINUOUS = 0, // the grid moves down all the time (ARCADE)
    MOVE_MODE_PER_SHOT = 1,   // the grid moves a set amount per shot
};

enum
{
    GRID_MAX_COLUMNS = 22, // including the two border columns
    GRID_MIN_COLUMNS = 4,
    GRID_ROWS = 14,
    GRID_CELLS = GRID_MAX_COLUMNS * GRID_ROWS,
    MAX_MOVING_BALLS = 50,
    MAX_ANIMATED_BALLS = GRID_CELLS, // removal and fall records: one per cell at most
};

// One grid cell. Its centre is fixed for the level; the grid's downward movement is the
// separate `scroll`, added when drawing and testing.
struct _GridCell
{
    float x, y;
    int8_t type;        // _BallType
    uint8_t pad0[3];
    float rollPhase;    // roll frame, 0 to 70
    float spin;         // extra rotation while the life-lost animation runs
    uint8_t rowParity;  // 0 even row, 1 odd row: selects the neighbour table
    uint8_t initial;    // 1 for balls placed when the level was built, 0 for landed shots
    uint8_t pad1[2];
};
static_assert(sizeof(_GridCell) == 24);

// A ball in flight. x, y, z come first: the special-ball effects follow them as a
// _Vector3d.
struct _MovingBall
{
    float x, y, z;
    float vx, vy;          // units per second
    int8_t type;           // _BallType
    uint8_t pad0[3];
    float rollPhase;       // 0 to 70
    float angle;           // draw rotation in radians; negated at each wall bounce
    int32_t explodingEffect; // particle system following the ball, -1 none
    int32_t wildcardEffect;  // likewise
    int32_t bounces;       // wall bounces so far
    uint8_t lastBounceRight; // 1 when the last bounce was on the right half
    uint8_t pad1[3];
    int32_t spare;         // keeps the stored record at its width
};
static_assert(sizeof(_MovingBall) == 52);
static_assert(offsetof(_MovingBall, x) == 0 && offsetof(_MovingBall, z) == 8);

// A matched ball shrinking away.
struct _RemovingBall
{
    float x, y;
    int32_t column, row;
    int8_t type;
    uint8_t pad0[3];
    float rollPhase, spin;
    float timer;      // 1.0 down to 0
    int32_t sound;    // removal sound instance, -1 none
    float lastLevel;  // the sound level last sent
    uint8_t done;
    uint8_t pad1[3];
};
static_assert(sizeof(_RemovingBall) == 44);

// A cut-off ball falling out of the field.
struct _FallingBall
{
    float x, y;
    int32_t column, row;
    int8_t type;
    uint8_t pad0[3];
    float rollPhase, spin;
    int32_t sound;    // fall sound instance, -1 none
    float lastLevel;
    uint8_t done;
    uint8_t pad1[3];
};
static_assert(sizeof(_FallingBall) == 40);

struct _GameState
{
    uint8_t isSetup;

    // ---- Grid
    int32_t gridColumns; // columns in use including the two border columns, 4-22
    int32_t gridRows;    // always 14
    float ballRadius;    // 0.065
    float gridOffset;    // 0.0325
    _GridCell grid[GRID_MAX_COLUMNS][GRID_ROWS]; // column-major
    uint8_t matchMap[GRID_MAX_COLUMNS][GRID_ROWS];     // cells of the last match search
    uint8_t fallingMap[GRID_MAX_COLUMNS][GRID_ROWS];   // cells whose ball is still falling
    uint8_t connectedMap[GRID_MAX_COLUMNS][GRID_ROWS]; // scratch of the connection search
    float scroll;        // how far the whole grid has moved down; never below 0
    float rollAngle;     // 0 to 70: roll frame shared by the grid balls as the grid moves
    int32_t lowestColumn, lowestRow; // lowest occupied cell, -1 when the grid is empty

    // ---- Grid movement
    float gridSpeed;      // continuous mode: speed v
    float targetSpeed;    // continuous mode: target T
    float pushBack;       // continuous mode: push-back still to run
    float shotVelocity;   // per-shot mode: velocity u
    float shotRemainder;  // per-shot mode: distance R still to move
    float arcadeRollLevel; // level last given to the descent's loop sound
    uint8_t arcadeRollOn, strategicRollOn, rollingSoundOn;

    // ---- Turret
    float turretX, turretY; // pivot (0, 0.9)
    float barrelLength;     // 0.33
    float turretAngle;      // radians, 0 straight up, -1.4 to +1.4
    float turretBallX, turretBallY, turretBallZ; // the loaded ball; followed as a _Vector3d
    float turretLoad;       // 0 to 1: how far the next ball has slid out of the barrel
    float turretBallPhase;  // roll phase of the loaded ball
    float gridBallScale;    // 0 to 1: the grid balls grow in after a level is built
    int32_t turretExplodingEffect, turretWildcardEffect; // -1 none

    // ---- Balls
    int8_t currentBall, nextBall;          // _BallType, -1 none
    int8_t colourSet[BALL_NUM_COLOURS];    // this level's colours in the order drawn
    int32_t numColours;
    float shotSpeed;                       // 2.5
    _MovingBall movingList[MAX_MOVING_BALLS];
    int32_t movingCount;
    _RemovingBall removingList[MAX_ANIMATED_BALLS];
    int32_t removingCount;
    _FallingBall fallingList[MAX_ANIMATED_BALLS];
    int32_t fallingCount;

    // ---- Progress
    int32_t score;
    int32_t lives;      // spare lives
    int32_t level;      // 0-based
    int32_t nextLevel;
    uint8_t levelState; // _LevelState
    uint8_t gameOver;
    uint8_t checkGameOverScore; // the game set-up screen enters the finished game's score
    int32_t gameType;   // _GameType
    int32_t moveMode;   // _MoveMode

    // ---- Level tuning
    int32_t playColumns, rowsFilled;
    float baseSpeed, pushBackSpeed, speedUpRate, slowDownRate;   // continuous mode
    float landPushBack, removePushBack, fallPushBack;            // continuous mode
    float shotVelocityLimit, shotRateUp, shotRateDown;           // per-shot mode
    float shotMoveDown, fallMoveUp, removeMoveUp;                // per-shot mode
    int32_t wildcardFrequency, explodingFrequency; // chance 1/(n+1) per next ball, 0 never
    int32_t removePoints, fallPoints;
    int32_t arcadeLevelBonus, strategicLevelBonus, puzzleLevelBonus;
    _ColourRGB levelTint;

    // ---- Level state and captions
    float captionSize, captionAngle, captionWave, captionAlpha;
    float stateTimer;

    // ---- Time
    float timeStep;    // seconds of game time in this tick
    double gameClock;  // seconds of the engine clock
    float throbAngle;  // 20 rad/s, wraps at 2 pi
    float slowAngle;   // 0.1 rad/s, wraps at 2 pi

    // ---- Random
    EngRandomGenerator rng; // every draw that decides play
    uint32_t rngSeed;       // 0 = seeded from the system
    uint32_t rngDraws;      // draws since the level's seeding
    EngRandomGenerator looksRng; // roll phases and other looks; never decides play

    // ---- Modes
    uint8_t paused;
    uint8_t gridGiven;     // the grid was restored or copied in and must not be rebuilt
    uint8_t testMode;      // the editor's test run; 2 returns to the next-ball edit
    uint8_t nextListInUse; // the puzzle's next-ball list decides the balls
    _Puzzle puzzle;
    int8_t nextBallList[PUZZLE_MAX_NEXT_BALLS]; // the working next-ball list
    int32_t nextBallCount;                      // balls left in it
    _UserOptions userOptions;                   // the player's options, working copy

    // ---- Layout
    float fieldScale;
    float leftWall, rightWall, topY;
    float stepLimitX, stepLimitY; // the longest step of a moving ball per tick
};
static_assert(offsetof(_GameState, turretBallZ) - offsetof(_GameState, turretBallX) == 8);

extern _GameState GameState;

// The special-ball effects follow a ball's position as a _Vector3d.
inline _Vector3d *GameBallPosition(_MovingBall *ball)
{
    return reinterpret_cast<_Vector3d *>(&ball->x);
}
inline _Vector3d *GameTurretBallPosition()
{
    return reinterpret_cast<_Vector3d *>(&GameState.turretBallX);
}
