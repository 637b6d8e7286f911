// Saved games and undo: the whole play state copied into one fixed-size snapshot, written
// raw to a saved-game file (one per game type ARCADE, STRATEGIC and PUZZLE) or pushed on
// the editor's ten-deep undo history. A restore brings the random generators back to the
// same point of their sequences, so a restored game plays on exactly as it would have.
#pragma once
#include <cstddef>
#include <cstdint>

#include "GameState.h"
#include "Puzzles.h"

enum
{
    SAVE_GAME_SNAPSHOT_SIZE = 38560,
    SAVE_GAME_UNDO_DEPTH = 10,
};

const float SAVE_GAME_VERSION = 2.4f;

// The snapshot, little-endian, the same in the file and in the undo history. Padding is
// always zero.
struct _GameSnapshot
{
    float version;     // 2.4 in files; left as it is by the undo history
    uint32_t rngSeed;  // the game's seed; 0 none
    uint32_t rngDraws; // draws since the level's seeding
    uint32_t gameType;
    uint32_t moveMode;
    _GridCell grid[GRID_MAX_COLUMNS][GRID_ROWS];
    uint32_t gridColumns;
    uint32_t gridRows;
    // Turret and timing.
    float turretX, turretY, barrelLength, turretAngle;
    float turretBallX, turretBallY, turretBallZ, turretLoad, turretBallPhase;
    float gridBallScale, timeStep, throbAngle, slowAngle;
    int8_t currentBall;
    int8_t nextBall;
    uint8_t pad7474[2];
    float shotSpeed;
    _MovingBall movingList[MAX_MOVING_BALLS];
    uint32_t movingCount;
    _RemovingBall removingList[MAX_ANIMATED_BALLS];
    uint32_t removingCount;
    _FallingBall fallingList[MAX_ANIMATED_BALLS];
    uint32_t fallingCount;
    uint8_t matchMap[GRID_MAX_COLUMNS][GRID_ROWS];
    uint8_t fallingMap[GRID_MAX_COLUMNS][GRID_ROWS];
    // Grid movement.
    float scroll, rollAngle, gridSpeed, targetSpeed, pushBack, shotVelocity, shotRemainder;
    int8_t colourSet[BALL_NUM_COLOURS];
    uint8_t pad36618[2];
    int32_t score;
    int32_t lives;
    uint32_t gameOver;
    int32_t level;
    // Level tuning.
    float baseSpeed, pushBackSpeed, speedUpRate, slowDownRate;
    float landPushBack, removePushBack, fallPushBack;
    float shotVelocityLimit, shotRateUp, shotRateDown;
    float shotMoveDown, fallMoveUp, removeMoveUp;
    uint32_t numColours;
    int32_t playColumns, rowsFilled;
    int32_t wildcardFrequency, explodingFrequency;
    int32_t removePoints, fallPoints;
    int32_t arcadeLevelBonus, strategicLevelBonus, puzzleLevelBonus;
    int32_t nextLevel;
    uint32_t levelState;
    float captionSize, captionAlpha, captionWave;
    uint8_t connectedMap[GRID_MAX_COLUMNS][GRID_ROWS];
    uint8_t testMode;
    uint8_t editing; // the puzzle editor is on
    uint8_t pad37058[2];
    _Puzzle puzzle;
    uint32_t nextListInUse;
    uint32_t nextBallCount;
    int8_t nextBallList[PUZZLE_MAX_NEXT_BALLS];
    uint8_t pad37522[2];
    _TestShot testShots[PUZZLE_TEST_SHOTS];
    uint32_t testShotIndex;
    float ballRadius, gridOffset, arcadeRollLevel, captionAngle, stateTimer;
    float levelTintR, levelTintG, levelTintB;
};
static_assert(sizeof(_GameSnapshot) == SAVE_GAME_SNAPSHOT_SIZE);
static_assert(offsetof(_GameSnapshot, rngSeed) == 4);
static_assert(offsetof(_GameSnapshot, rngDraws) == 8);
static_assert(offsetof(_GameSnapshot, gameType) == 12);
static_assert(offsetof(_GameSnapshot, moveMode) == 16);
static_assert(offsetof(_GameSnapshot, grid) == 20);
static_assert(offsetof(_GameSnapshot, gridColumns) == 7412);
static_assert(offsetof(_GameSnapshot, gridRows) == 7416);
static_assert(offsetof(_GameSnapshot, turretX) == 7420);
static_assert(offsetof(_GameSnapshot, slowAngle) == 7468);
static_assert(offsetof(_GameSnapshot, currentBall) == 7472);
static_assert(offsetof(_GameSnapshot, nextBall) == 7473);
static_assert(offsetof(_GameSnapshot, pad7474) == 7474);
static_assert(offsetof(_GameSnapshot, shotSpeed) == 7476);
static_assert(offsetof(_GameSnapshot, movingList) == 7480);
static_assert(offsetof(_GameSnapshot, movingCount) == 10080);
static_assert(offsetof(_GameSnapshot, removingList) == 10084);
static_assert(offsetof(_GameSnapshot, removingCount) == 23636);
static_assert(offsetof(_GameSnapshot, fallingList) == 23640);
static_assert(offsetof(_GameSnapshot, fallingCount) == 35960);
static_assert(offsetof(_GameSnapshot, matchMap) == 35964);
static_assert(offsetof(_GameSnapshot, fallingMap) == 36272);
static_assert(offsetof(_GameSnapshot, scroll) == 36580);
static_assert(offsetof(_GameSnapshot, shotRemainder) == 36604);
static_assert(offsetof(_GameSnapshot, colourSet) == 36608);
static_assert(offsetof(_GameSnapshot, pad36618) == 36618);
static_assert(offsetof(_GameSnapshot, score) == 36620);
static_assert(offsetof(_GameSnapshot, lives) == 36624);
static_assert(offsetof(_GameSnapshot, gameOver) == 36628);
static_assert(offsetof(_GameSnapshot, level) == 36632);
static_assert(offsetof(_GameSnapshot, baseSpeed) == 36636);
static_assert(offsetof(_GameSnapshot, removeMoveUp) == 36684);
static_assert(offsetof(_GameSnapshot, numColours) == 36688);
static_assert(offsetof(_GameSnapshot, playColumns) == 36692);
static_assert(offsetof(_GameSnapshot, puzzleLevelBonus) == 36724);
static_assert(offsetof(_GameSnapshot, nextLevel) == 36728);
static_assert(offsetof(_GameSnapshot, levelState) == 36732);
static_assert(offsetof(_GameSnapshot, captionSize) == 36736);
static_assert(offsetof(_GameSnapshot, captionAlpha) == 36740);
static_assert(offsetof(_GameSnapshot, captionWave) == 36744);
static_assert(offsetof(_GameSnapshot, connectedMap) == 36748);
static_assert(offsetof(_GameSnapshot, testMode) == 37056);
static_assert(offsetof(_GameSnapshot, editing) == 37057);
static_assert(offsetof(_GameSnapshot, pad37058) == 37058);
static_assert(offsetof(_GameSnapshot, puzzle) == 37060);
static_assert(offsetof(_GameSnapshot, nextListInUse) == 37464);
static_assert(offsetof(_GameSnapshot, nextBallCount) == 37468);
static_assert(offsetof(_GameSnapshot, nextBallList) == 37472);
static_assert(offsetof(_GameSnapshot, pad37522) == 37522);
static_assert(offsetof(_GameSnapshot, testShots) == 37524);
static_assert(offsetof(_GameSnapshot, testShotIndex) == 38524);
static_assert(offsetof(_GameSnapshot, ballRadius) == 38528);
static_assert(offsetof(_GameSnapshot, levelTintB) == 38556);

// ---- Snapshots --------------------------------------------------------------------------
// Fills every field from the game state (all but the version; padding zero).
void SaveGameCaptureSnapshot(_GameSnapshot *snapshot);
// Copies every field back, re-derives the layout, brings the random generators to the
// snapshot's point and stops the sound loops, instances and game-over music.
void SaveGameRestoreSnapshot(const _GameSnapshot *snapshot);
// Whether a snapshot read from a file can be restored: every count, index, ball type,
// level, state and value in its range. `why` (may be NULL) gets the first fault.
bool SaveGameIsSnapshotValid(const _GameSnapshot *snapshot, const char **why);

// ---- Saved-game files ------------------------------------------------------------------------
// The saved-game file of the current game type (from the player's options) and `slot`.
const char *SaveGameGetFilename(int slot);
bool SaveGameDoesSavedGameExist(int slot);
// Writes the running game to its file and marks the game type as resumable. ARCADE,
// STRATEGIC and PUZZLE only.
char SaveGameToBeResumed(int slot);
// Forgets the current game type's saved game and empties the undo history.
void SaveGameRemoveAnyCurrentSavedGame();
// Restores the current game type's saved game and goes to the pause screen. A missing,
// short, long, foreign or damaged file is refused; the game state, the file and the
// resumable mark then stay as they were.
char ResumeSavedGame(int slot);

// ---- Undo ----------------------------------------------------------------------------------------
// Pushes the running game's state (the tenth oldest entry falls off).
void SaveGameUndoPush();
// Pushes a state captured earlier: the test run's state before a shot, once it fired.
void SaveGameUndoPushSnapshot(const _GameSnapshot *before);
// Restores the newest entry; the last one stays and restores the same state each time.
void SaveGameUndoPop();
void SaveGameUndoClear();
int SaveGameUndoGetCount();
