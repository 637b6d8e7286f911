// Saved games and undo over GameState: capture and restore of the snapshot, the check
// of a snapshot read from a file, the saved-game files (written through a temporary
// file) and the undo history of the editor's test runs.
//
// Sections: random generators | capture and restore | checks | files | undo
#include "SaveGame.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "AppHooks.h"
#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngPrefFolder.h"
#include "EngRandom.h"
#include "GameFiles.h"
#include "Grid.h"
#include "Levels.h"
#include "Plinx.h"
#include "Tick.h"
#include "ViewHooks.h"

// More draws than any level makes (a few per shot): a count above it comes from a
// damaged file, and replaying it would stall the game (the load and every capture replay
// the draws).
static const uint32_t MAX_REPLAYED_DRAWS = 1u << 20;
// Levels beyond this are not reached in play; lives only ever count down from the two
// a puzzle game starts with.
static const int32_t MAX_LEVEL = 100000;
static const int32_t MAX_LIVES = 2;
// The most the level tuning gives up to MAX_LEVEL: the points grow with the level, ARCADE
// fastest (its largest factor in hundredths, times its largest table entries), and a
// special ball comes at most once in 1201 in STRATEGIC at its last difficulty.
static const int64_t MAX_ARCADE_FACTOR = (MAX_LEVEL / 3) * 25 + 3 * 10 + 50;
static const int64_t MAX_REMOVE_POINTS = 30 * MAX_ARCADE_FACTOR / 100;
static const int64_t MAX_FALL_POINTS = 300 * MAX_ARCADE_FACTOR / 100;
static const int64_t MAX_LEVEL_BONUS = 1200 * MAX_ARCADE_FACTOR / 100;
static const int32_t MAX_SPECIAL_FREQUENCY = 1200;
// The score only grows by whole tens and stops below the int range.
static const int32_t MAX_SCORE = 2147483640;
// Roll phases run over the 70 frames of a ball's roll.
static const float MAX_ROLL_PHASE = 70.0f;

static struct
{
    _GameSnapshot saveBuffer;
    _GameSnapshot undo[SAVE_GAME_UNDO_DEPTH];
    int32_t undoCount;
    char fileName[ENG_FILE_PATH_SIZE];
} s_save;

// ---- Random generators ----------------------------------------------------------------------

// The play generator is seeded per level from the game's seed and the level, exactly as
// the level build does, then the draws made since are replayed. The looks generator
// (roll phases, never play) gets a seed made from the snapshot, so a restored game and
// the one it was captured from look alike from then on.
static void SaveGameSeedGenerators(const _GameSnapshot &snapshot)
{
    _GameState &gs = GameState;
    if (snapshot.rngSeed)
    {
        gs.rng.Seed((uint32_t)snapshot.level + snapshot.rngSeed + 1u);
        uint32_t draws = snapshot.rngDraws < MAX_REPLAYED_DRAWS ? snapshot.rngDraws : MAX_REPLAYED_DRAWS;
        for (uint32_t i = 0; i < draws; i++)
            gs.rng.GetRandom();
    }
    uint32_t key = EngRandomHash(snapshot.rngSeed ^ EngRandomHash(snapshot.rngDraws));
    key = EngRandomHash(key ^ (uint32_t)snapshot.level ^ ((uint32_t)snapshot.score << 7));
    key = EngRandomHash(key ^ snapshot.movingCount ^ (snapshot.levelState << 8));
    gs.looksRng.Seed(key);
}

// ---- Capture and restore ---------------------------------------------------------------------

// Records past a list's count mean nothing: the snapshot holds them as zero.
template <typename Record>
static void SaveGameZeroUnused(Record *records, int capacity, int count)
{
    if (count < 0)
        count = 0;
    if (count < capacity)
        memset((void *)(records + count), 0, sizeof(Record) * (size_t)(capacity - count));
}

template <typename Record>
static void SaveGameZeroPads(Record *records, int count)
{
    for (int i = 0; i < count; i++)
    {
        memset(records[i].pad0, 0, sizeof(records[i].pad0));
        memset(records[i].pad1, 0, sizeof(records[i].pad1));
    }
}

// One value between the running state and the snapshot: numbers take the other side's
// type, arrays (lists, maps, the grid) are copied whole and must match in size.
template <typename To, typename From>
static void SaveGameAssign(To &to, const From &from)
{
    to = static_cast<To>(from);
}

template <typename Element, size_t count>
static void SaveGameAssign(Element (&to)[count], const Element (&from)[count])
{
    memcpy((void *)to, (const void *)from, sizeof(to));
}

// The fields the state and the snapshot share under one name, in either direction:
// capture copies GameState into the snapshot, restore the snapshot into GameState.
template <typename To, typename From>
static void SaveGameCopyFields(To &to, const From &from)
{
    SaveGameAssign(to.rngSeed, from.rngSeed);
    SaveGameAssign(to.rngDraws, from.rngDraws);
    SaveGameAssign(to.gameType, from.gameType);
    SaveGameAssign(to.moveMode, from.moveMode);
    SaveGameAssign(to.grid, from.grid);
    SaveGameAssign(to.gridColumns, from.gridColumns);
    SaveGameAssign(to.gridRows, from.gridRows);
    SaveGameAssign(to.turretX, from.turretX);
    SaveGameAssign(to.turretY, from.turretY);
    SaveGameAssign(to.barrelLength, from.barrelLength);
    SaveGameAssign(to.turretAngle, from.turretAngle);
    SaveGameAssign(to.turretBallX, from.turretBallX);
    SaveGameAssign(to.turretBallY, from.turretBallY);
    SaveGameAssign(to.turretBallZ, from.turretBallZ);
    SaveGameAssign(to.turretLoad, from.turretLoad);
    SaveGameAssign(to.turretBallPhase, from.turretBallPhase);
    SaveGameAssign(to.gridBallScale, from.gridBallScale);
    SaveGameAssign(to.timeStep, from.timeStep);
    SaveGameAssign(to.throbAngle, from.throbAngle);
    SaveGameAssign(to.slowAngle, from.slowAngle);
    SaveGameAssign(to.currentBall, from.currentBall);
    SaveGameAssign(to.nextBall, from.nextBall);
    SaveGameAssign(to.shotSpeed, from.shotSpeed);
    SaveGameAssign(to.movingList, from.movingList);
    SaveGameAssign(to.movingCount, from.movingCount);
    SaveGameAssign(to.removingList, from.removingList);
    SaveGameAssign(to.removingCount, from.removingCount);
    SaveGameAssign(to.fallingList, from.fallingList);
    SaveGameAssign(to.fallingCount, from.fallingCount);
    SaveGameAssign(to.matchMap, from.matchMap);
    SaveGameAssign(to.fallingMap, from.fallingMap);
    SaveGameAssign(to.scroll, from.scroll);
    SaveGameAssign(to.rollAngle, from.rollAngle);
    SaveGameAssign(to.gridSpeed, from.gridSpeed);
    SaveGameAssign(to.targetSpeed, from.targetSpeed);
    SaveGameAssign(to.pushBack, from.pushBack);
    SaveGameAssign(to.shotVelocity, from.shotVelocity);
    SaveGameAssign(to.shotRemainder, from.shotRemainder);
    SaveGameAssign(to.colourSet, from.colourSet);
    SaveGameAssign(to.score, from.score);
    SaveGameAssign(to.lives, from.lives);
    SaveGameAssign(to.gameOver, from.gameOver);
    SaveGameAssign(to.level, from.level);
    SaveGameAssign(to.baseSpeed, from.baseSpeed);
    SaveGameAssign(to.pushBackSpeed, from.pushBackSpeed);
    SaveGameAssign(to.speedUpRate, from.speedUpRate);
    SaveGameAssign(to.slowDownRate, from.slowDownRate);
    SaveGameAssign(to.landPushBack, from.landPushBack);
    SaveGameAssign(to.removePushBack, from.removePushBack);
    SaveGameAssign(to.fallPushBack, from.fallPushBack);
    SaveGameAssign(to.shotVelocityLimit, from.shotVelocityLimit);
    SaveGameAssign(to.shotRateUp, from.shotRateUp);
    SaveGameAssign(to.shotRateDown, from.shotRateDown);
    SaveGameAssign(to.shotMoveDown, from.shotMoveDown);
    SaveGameAssign(to.fallMoveUp, from.fallMoveUp);
    SaveGameAssign(to.removeMoveUp, from.removeMoveUp);
    SaveGameAssign(to.numColours, from.numColours);
    SaveGameAssign(to.playColumns, from.playColumns);
    SaveGameAssign(to.rowsFilled, from.rowsFilled);
    SaveGameAssign(to.wildcardFrequency, from.wildcardFrequency);
    SaveGameAssign(to.explodingFrequency, from.explodingFrequency);
    SaveGameAssign(to.removePoints, from.removePoints);
    SaveGameAssign(to.fallPoints, from.fallPoints);
    SaveGameAssign(to.arcadeLevelBonus, from.arcadeLevelBonus);
    SaveGameAssign(to.strategicLevelBonus, from.strategicLevelBonus);
    SaveGameAssign(to.puzzleLevelBonus, from.puzzleLevelBonus);
    SaveGameAssign(to.nextLevel, from.nextLevel);
    SaveGameAssign(to.levelState, from.levelState);
    SaveGameAssign(to.captionSize, from.captionSize);
    SaveGameAssign(to.captionAlpha, from.captionAlpha);
    SaveGameAssign(to.captionWave, from.captionWave);
    SaveGameAssign(to.connectedMap, from.connectedMap);
    SaveGameAssign(to.testMode, from.testMode);
    SaveGameAssign(to.puzzle, from.puzzle);
    SaveGameAssign(to.nextListInUse, from.nextListInUse);
    SaveGameAssign(to.nextBallCount, from.nextBallCount);
    SaveGameAssign(to.nextBallList, from.nextBallList);
    SaveGameAssign(to.ballRadius, from.ballRadius);
    SaveGameAssign(to.gridOffset, from.gridOffset);
    SaveGameAssign(to.arcadeRollLevel, from.arcadeRollLevel);
    SaveGameAssign(to.captionAngle, from.captionAngle);
    SaveGameAssign(to.stateTimer, from.stateTimer);
}

void SaveGameCaptureSnapshot(_GameSnapshot *snapshot)
{
    const _GameState &gs = GameState;
    _GameSnapshot &s = *snapshot;
    const float version = s.version;
    memset(&s, 0, sizeof(s));
    s.version = version;
    SaveGameCopyFields(s, gs);
    for (auto &column : s.grid)
        SaveGameZeroPads(column, GRID_ROWS);
    SaveGameZeroPads(s.movingList, MAX_MOVING_BALLS);
    for (_MovingBall &ball : s.movingList)
        ball.spare = 0;
    SaveGameZeroUnused(s.movingList, MAX_MOVING_BALLS, gs.movingCount);
    SaveGameZeroPads(s.removingList, MAX_ANIMATED_BALLS);
    SaveGameZeroUnused(s.removingList, MAX_ANIMATED_BALLS, gs.removingCount);
    SaveGameZeroPads(s.fallingList, MAX_ANIMATED_BALLS);
    SaveGameZeroUnused(s.fallingList, MAX_ANIMATED_BALLS, gs.fallingCount);
    s.editing = PuzzlesIsEditing() ? 1 : 0;
    memset(s.puzzle.pad0, 0, sizeof(s.puzzle.pad0));
    memset(s.puzzle.pad1, 0, sizeof(s.puzzle.pad1));
    int32_t testShotIndex = 0;
    PuzzlesGetTestShots(s.testShots, &testShotIndex);
    for (_TestShot &shot : s.testShots)
        memset(shot.pad, 0, sizeof(shot.pad));
    s.testShotIndex = (uint32_t)testShotIndex;
    s.levelTintR = gs.levelTint.r;
    s.levelTintG = gs.levelTint.g;
    s.levelTintB = gs.levelTint.b;
    // From here on the running game draws its looks as the restored one will.
    SaveGameSeedGenerators(s);
}

// The special-ball effects follow the restored balls under the numbers they had.
static void SaveGameRepointEffects()
{
    _GameState &gs = GameState;
    ViewEffectsStopAllBallEffects();
    for (int i = 0; i < gs.movingCount; i++)
    {
        _MovingBall *ball = &gs.movingList[i];
        if (ball->explodingEffect >= 0)
            ViewEffectsSetExplosionBallPosition(ball->explodingEffect, GameBallPosition(ball));
        if (ball->wildcardEffect >= 0)
            ViewEffectsSetWildcardBallPosition(ball->wildcardEffect, GameBallPosition(ball));
    }
    if (gs.turretExplodingEffect >= 0)
        ViewEffectsSetExplosionBallPosition(gs.turretExplodingEffect, GameTurretBallPosition());
    if (gs.turretWildcardEffect >= 0)
        ViewEffectsSetWildcardBallPosition(gs.turretWildcardEffect, GameTurretBallPosition());
}

void SaveGameRestoreSnapshot(const _GameSnapshot *snapshot)
{
    _GameState &gs = GameState;
    const _GameSnapshot &s = *snapshot;
    SaveGameCopyFields(gs, s);
    PuzzlesSetEditing(s.editing != 0);
    PuzzlesSetTestShots(s.testShots, (int32_t)s.testShotIndex);
    gs.levelTint = {s.levelTintR, s.levelTintG, s.levelTintB};

    // Sounds of the state left behind stop; the restored records hold no instance.
    ViewSoundStopLoops(1);
    ViewSoundStopGameOverMusic();
    gs.rollingSoundOn = 0;
    for (int i = 0; i < MAX_ANIMATED_BALLS; i++)
    {
        gs.removingList[i].sound = -1;
        gs.fallingList[i].sound = -1;
    }

    SaveGameRepointEffects();
    GridComputeLayout();
    GridFindLowestBall();
    SaveGameSeedGenerators(s);
}

// ---- Checks -----------------------------------------------------------------------------------------

static bool SaveGameIsBall(int type, bool emptyAllowed)
{
    return (type >= 0 && type < BALL_NUM_TYPES) || (emptyAllowed && type == BALL_EMPTY);
}

static bool SaveGameIsRollPhase(float phase)
{
    return phase >= 0.0f && phase <= MAX_ROLL_PHASE;
}

static bool SaveGameAllFinite(const float *values, int count)
{
    for (int i = 0; i < count; i++)
        if (!std::isfinite(values[i]))
            return false;
    return true;
}

// The checks of one group of fields; `why` gets the group's name on failure.
#define SAVE_GAME_CHECK(condition, text)                                                                         \
    do                                                                                                           \
    {                                                                                                            \
        if (!(condition))                                                                                        \
        {                                                                                                        \
            if (why)                                                                                             \
                *why = text;                                                                                     \
            return false;                                                                                        \
        }                                                                                                        \
    } while (0)

bool SaveGameIsSnapshotValid(const _GameSnapshot *snapshot, const char **why)
{
    const _GameSnapshot &s = *snapshot;
    SAVE_GAME_CHECK(s.gameType <= GAME_TYPE_PUZZLE, "game type");
    SAVE_GAME_CHECK(s.moveMode <= MOVE_MODE_PER_SHOT, "move mode");
    SAVE_GAME_CHECK(s.gridColumns >= GRID_MIN_COLUMNS && s.gridColumns <= GRID_MAX_COLUMNS, "grid columns");
    SAVE_GAME_CHECK(s.gridRows == GRID_ROWS, "grid rows");
    SAVE_GAME_CHECK(s.rngDraws < MAX_REPLAYED_DRAWS, "draw count");
    for (const auto &column : s.grid)
        for (const _GridCell &cell : column)
            SAVE_GAME_CHECK(SaveGameIsBall(cell.type, true) && cell.rowParity <= 1 && cell.initial <= 1 &&
                                SaveGameAllFinite(&cell.x, 2) && SaveGameIsRollPhase(cell.rollPhase) &&
                                std::isfinite(cell.spin),
                            "grid cell");

    // Every float of the play values.
    const float turret[] = {s.turretX, s.turretY, s.barrelLength, s.turretAngle, s.turretBallX,
                            s.turretBallY, s.turretBallZ, s.turretLoad, s.turretBallPhase, s.gridBallScale,
                            s.timeStep, s.throbAngle, s.slowAngle, s.shotSpeed};
    const float movement[] = {s.scroll, s.rollAngle, s.gridSpeed, s.targetSpeed, s.pushBack, s.shotVelocity,
                              s.shotRemainder};
    const float tuning[] = {s.baseSpeed, s.pushBackSpeed, s.speedUpRate, s.slowDownRate, s.landPushBack,
                            s.removePushBack, s.fallPushBack, s.shotVelocityLimit, s.shotRateUp, s.shotRateDown,
                            s.shotMoveDown, s.fallMoveUp, s.removeMoveUp};
    const float other[] = {s.captionSize, s.captionAlpha, s.captionWave, s.ballRadius, s.gridOffset,
                           s.arcadeRollLevel, s.captionAngle, s.stateTimer, s.levelTintR, s.levelTintG,
                           s.levelTintB};
    SAVE_GAME_CHECK(SaveGameAllFinite(turret, sizeof(turret) / sizeof(float)) &&
                        SaveGameAllFinite(movement, sizeof(movement) / sizeof(float)) &&
                        SaveGameAllFinite(tuning, sizeof(tuning) / sizeof(float)) &&
                        SaveGameAllFinite(other, sizeof(other) / sizeof(float)),
                    "play value");
    SAVE_GAME_CHECK(s.ballRadius > 0.01f && s.ballRadius < 0.2f && s.shotSpeed > 0.0f && s.shotSpeed < 10.0f &&
                        fabsf(s.turretAngle) <= 1.4f && s.scroll >= 0.0f && s.scroll < 10.0f,
                    "play value");

    SAVE_GAME_CHECK(SaveGameIsBall(s.currentBall, true) && SaveGameIsBall(s.nextBall, true), "loaded ball");
    SAVE_GAME_CHECK(s.movingCount <= MAX_MOVING_BALLS, "moving count");
    for (uint32_t i = 0; i < s.movingCount; i++)
    {
        const _MovingBall &ball = s.movingList[i];
        SAVE_GAME_CHECK(SaveGameIsBall(ball.type, false) && SaveGameAllFinite(&ball.x, 5) &&
                            SaveGameIsRollPhase(ball.rollPhase) && std::isfinite(ball.angle) &&
                            ball.explodingEffect >= -1 && ball.explodingEffect < VIEW_NUM_BALL_EFFECTS &&
                            ball.wildcardEffect >= -1 && ball.wildcardEffect < VIEW_NUM_BALL_EFFECTS &&
                            ball.bounces >= 0 && ball.lastBounceRight <= 1,
                        "moving ball");
    }
    SAVE_GAME_CHECK(s.removingCount <= MAX_ANIMATED_BALLS && s.fallingCount <= MAX_ANIMATED_BALLS, "animation count");
    for (uint32_t i = 0; i < s.removingCount; i++)
    {
        const _RemovingBall &ball = s.removingList[i];
        SAVE_GAME_CHECK(ball.column >= 0 && ball.column < GRID_MAX_COLUMNS && ball.row >= 0 && ball.row < GRID_ROWS &&
                            SaveGameIsBall(ball.type, false) && SaveGameAllFinite(&ball.x, 2) &&
                            SaveGameIsRollPhase(ball.rollPhase) && std::isfinite(ball.spin) &&
                            std::isfinite(ball.timer) && std::isfinite(ball.lastLevel) && ball.done <= 1,
                        "removing ball");
    }
    for (uint32_t i = 0; i < s.fallingCount; i++)
    {
        const _FallingBall &ball = s.fallingList[i];
        SAVE_GAME_CHECK(ball.column >= 0 && ball.column < GRID_MAX_COLUMNS && ball.row >= 0 && ball.row < GRID_ROWS &&
                            SaveGameIsBall(ball.type, false) && SaveGameAllFinite(&ball.x, 2) &&
                            SaveGameIsRollPhase(ball.rollPhase) && std::isfinite(ball.spin) &&
                            std::isfinite(ball.lastLevel) && ball.done <= 1,
                        "falling ball");
    }

    SAVE_GAME_CHECK(s.numColours >= 1 && s.numColours <= BALL_NUM_COLOURS, "number of colours");
    bool seen[BALL_NUM_COLOURS] = {};
    for (uint32_t i = 0; i < s.numColours; i++)
    {
        int colour = s.colourSet[i];
        SAVE_GAME_CHECK(colour >= 0 && colour < BALL_NUM_COLOURS && !seen[colour], "colour set");
        seen[colour] = true;
    }
    SAVE_GAME_CHECK(s.score >= 0 && s.score <= MAX_SCORE && s.score % 10 == 0, "score");
    SAVE_GAME_CHECK(s.lives >= 0 && s.lives <= MAX_LIVES && s.gameOver == 0, "progress");
    SAVE_GAME_CHECK(s.level >= 0 && s.level <= MAX_LEVEL && s.nextLevel >= 0 && s.nextLevel <= MAX_LEVEL, "level");
    SAVE_GAME_CHECK(s.levelState <= LEVEL_STATE_LIFE_LOST, "level state");
    SAVE_GAME_CHECK(s.playColumns >= 0 && s.playColumns <= GRID_MAX_COLUMNS - 2 && s.rowsFilled >= 0 &&
                        s.rowsFilled <= GRID_ROWS && s.wildcardFrequency >= 0 &&
                        s.wildcardFrequency <= MAX_SPECIAL_FREQUENCY && s.explodingFrequency >= 0 &&
                        s.explodingFrequency <= MAX_SPECIAL_FREQUENCY,
                    "level tuning");
    SAVE_GAME_CHECK(s.removePoints >= 0 && s.removePoints <= MAX_REMOVE_POINTS && s.fallPoints >= 0 &&
                        s.fallPoints <= MAX_FALL_POINTS,
                    "points");
    for (int32_t bonus : {s.arcadeLevelBonus, s.strategicLevelBonus, s.puzzleLevelBonus})
        SAVE_GAME_CHECK(bonus >= 0 && bonus <= MAX_LEVEL_BONUS, "points");

    // Saved games are never made in the editor.
    SAVE_GAME_CHECK(s.testMode == 0 && s.editing == 0, "test mode");
    SAVE_GAME_CHECK(s.nextListInUse <= 1 && s.nextBallCount <= PUZZLE_MAX_NEXT_BALLS, "next-ball list");
    for (uint32_t i = 0; i < s.nextBallCount; i++)
        SAVE_GAME_CHECK(SaveGameIsBall(s.nextBallList[i], false), "next-ball list");
    SAVE_GAME_CHECK(s.testShotIndex <= PUZZLE_TEST_SHOTS, "test-shot index");
    if (s.gameType == GAME_TYPE_PUZZLE)
    {
        const _Puzzle &puzzle = s.puzzle;
        SAVE_GAME_CHECK(puzzle.type == GAME_TYPE_PUZZLE && puzzle.width >= PUZZLE_MIN_WIDTH &&
                            puzzle.width <= PUZZLE_MAX_WIDTH && puzzle.numBallTypes >= 1 &&
                            puzzle.numBallTypes <= PUZZLE_MAX_BALL_TYPES && puzzle.numNextBalls >= 0 &&
                            puzzle.numNextBalls <= PUZZLE_MAX_NEXT_BALLS &&
                            memchr(puzzle.name, 0, sizeof(puzzle.name)) != nullptr,
                        "puzzle");
        // What a puzzle file may hold: balls or empty cells, amounts of 0 to 29.
        for (int i = 0; i < puzzle.numNextBalls; i++)
            SAVE_GAME_CHECK(SaveGameIsBall(puzzle.nextBalls[i], false), "puzzle");
        for (const auto &column : puzzle.grid)
            for (int8_t cell : column)
                SAVE_GAME_CHECK(SaveGameIsBall(cell, true), "puzzle");
        for (int8_t amount : {puzzle.moveDown, puzzle.removeUp, puzzle.fallUp, puzzle.arcadeLandUp})
            SAVE_GAME_CHECK(amount >= 0 && amount <= PUZZLE_MAX_AMOUNT, "puzzle");
    }
    return true;
}

#undef SAVE_GAME_CHECK

// ---- Files -------------------------------------------------------------------------------------------

// The current game type from the player's options; a value outside 0-3 is reset to 0.
static int SaveGameGetCurrentType()
{
    _UserOptions &options = GameState.userOptions;
    if (options.gameType < GAME_TYPE_ARCADE || options.gameType > GAME_TYPE_MY_PUZZLES)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        options.gameType = GAME_TYPE_ARCADE;
    }
    return options.gameType;
}

const char *SaveGameGetFilename(int slot)
{
    char name[64];
    snprintf(name, sizeof(name), "SavedGame%d_%d.dat", SaveGameGetCurrentType(), slot);
    EngSafeStrcpy(s_save.fileName, PrefFolderGetMainFolderWithFileAppended(name), sizeof(s_save.fileName));
    return s_save.fileName;
}

// Saved games exist for ARCADE, STRATEGIC and PUZZLE, slots 0-9.
static bool SaveGameHasSavedGames(int gameType, int slot)
{
    return gameType >= GAME_TYPE_ARCADE && gameType <= GAME_TYPE_PUZZLE && slot >= 0 && slot <= 9;
}

bool SaveGameDoesSavedGameExist(int slot)
{
    if (!SaveGameHasSavedGames(SaveGameGetCurrentType(), slot))
        return false;
    return EngFileExists(SaveGameGetFilename(slot), false);
}

char SaveGameToBeResumed(int slot)
{
    _GameState &gs = GameState;
    const int gameType = SaveGameGetCurrentType();
    if (!SaveGameHasSavedGames(gameType, slot) || gs.testMode || PuzzlesIsEditing())
    {
        DebugError(ENG_FUNC, "No saved games for game type %d (slot %d)", gameType, slot);
        return 0;
    }
    if (gs.gameOver)
    {
        DebugError(ENG_FUNC, "The game is over");
        return 0;
    }
    _GameSnapshot &snapshot = s_save.saveBuffer;
    SaveGameCaptureSnapshot(&snapshot);
    snapshot.version = SAVE_GAME_VERSION;
    const char *path = SaveGameGetFilename(slot);
    _GameFileResult result = GameFileWriteWhole(path, &snapshot, sizeof(snapshot), false);
    if (result == GAME_FILE_OPEN_FAILED)
    {
        DebugError(ENG_FUNC, "Could not open file for writing");
        return 0;
    }
    if (result != GAME_FILE_OK)
    {
        DebugError(ENG_FUNC, "Could not write to file");
        return 0;
    }
    gs.userOptions.savedGame[gameType] = 1;
    return 1;
}

void SaveGameRemoveAnyCurrentSavedGame()
{
    const int gameType = SaveGameGetCurrentType();
    GameState.userOptions.savedGame[gameType] = 0;
    if (!SaveGameHasSavedGames(gameType, 0))
        return;
    const char *path = SaveGameGetFilename(0);
    GameFileRemoveLeftover(path);
    if (EngFileExists(path, false))
    {
        EngFileDelete(path, true);
        SaveGameUndoClear();
    }
}

char ResumeSavedGame(int slot)
{
    _GameState &gs = GameState;
    const int gameType = SaveGameGetCurrentType();
    if (!SaveGameHasSavedGames(gameType, slot))
    {
        DebugError(ENG_FUNC, "No saved games for game type %d (slot %d)", gameType, slot);
        return 0;
    }
    const char *path = SaveGameGetFilename(slot);
    _GameSnapshot &snapshot = s_save.saveBuffer;
    EngFile file;
    if (!file.OpenForReading(path, false, false))
    {
        DebugError(ENG_FUNC, "Could not open saved game file");
        return 0;
    }
    if (file.GetSize() != sizeof(snapshot) || !file.Read(&snapshot, sizeof(snapshot), false))
    {
        DebugError(ENG_FUNC, "Could not read from file");
        return 0;
    }
    file.Close();
    if (snapshot.version != SAVE_GAME_VERSION)
    {
        DebugError(ENG_FUNC, "Invalid version (%f) in file (expecting %f)", snapshot.version, SAVE_GAME_VERSION);
        return 0;
    }
    const char *why = nullptr;
    if (!SaveGameIsSnapshotValid(&snapshot, &why) || (int)snapshot.gameType != gameType)
    {
        DebugError(ENG_FUNC, "Damaged saved game file <%s> (%s)", path, why ? why : "game type");
        return 0;
    }

    ViewEffectsStopGameOverEffect();
    SaveGameRestoreSnapshot(&snapshot);
    // The level's grid is built as a new level would be, then the saved state wins over
    // it, so nothing the build sets is missing.
    gs.gridGiven = 1;
    PlinxResetGrid();
    SaveGameRestoreSnapshot(&snapshot);
    gs.gridGiven = 1;
    gs.paused = 0;
    gs.checkGameOverScore = 0;
    ViewBordersNewTint(1);
    ViewBordersComputeLayout();
    // The online place of the resumed game is found in its own table.
    ViewSetupPlaceFinder();
    gs.userOptions.savedGame[gameType] = 0;
    AppPauseShowStartNewGame();
    AppGotoMenuScreen(EngFourCC("PAUS"));
    return 1;
}

// ---- Undo ----------------------------------------------------------------------------------------------

void SaveGameUndoPush()
{
    static _GameSnapshot now;
    SaveGameCaptureSnapshot(&now);
    SaveGameUndoPushSnapshot(&now);
}

void SaveGameUndoPushSnapshot(const _GameSnapshot *before)
{
    int count = s_save.undoCount;
    if (count >= SAVE_GAME_UNDO_DEPTH)
        count = SAVE_GAME_UNDO_DEPTH - 1;
    memmove(&s_save.undo[1], &s_save.undo[0], sizeof(_GameSnapshot) * (size_t)count);
    s_save.undo[0] = *before;
    s_save.undoCount = count + 1;
}

void SaveGameUndoPop()
{
    int count = s_save.undoCount;
    if (count <= 0)
        return;
    SaveGameRestoreSnapshot(&s_save.undo[0]);
    if (count == 1)
        return;
    memmove(&s_save.undo[0], &s_save.undo[1], sizeof(_GameSnapshot) * (size_t)(count - 1));
    s_save.undoCount = count - 1;
}

void SaveGameUndoClear()
{
    s_save.undoCount = 0;
}

int SaveGameUndoGetCount()
{
    return s_save.undoCount;
}
