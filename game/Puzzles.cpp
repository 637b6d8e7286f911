// The current puzzle: its record (GameState.puzzle) and names, where its files live,
// copying it into the play grid, the working next-ball list, and the test shots recorded
// for it. The floor of the puzzle modules: the file formats (PuzzlesFile.cpp), the lists
// (PuzzlesLists.cpp) and the editor with its test runs (PuzzlesEditor.cpp) sit on it.
//
// Sections: module state | names and paths | the current record | play | test shots
#include "Puzzles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngPrefFolder.h"
#include "GameFiles.h"
#include "GameState.h"
#include "Plinx.h"

// ---- Module state --------------------------------------------------------------------

static struct
{
    char fileName[ENG_FILE_PATH_SIZE];
    char testFileName[ENG_FILE_PATH_SIZE];
    _TestShot testShots[PUZZLE_TEST_SHOTS];
    int32_t testShotIndex;
} s_record;

void PuzzlesRecordShutdown()
{
    memset(&s_record, 0, sizeof(s_record));
}

// ---- Names and paths -----------------------------------------------------------------

bool PuzzlesIsValidName(const char *name)
{
    if (!name)
        return false;
    size_t length = strnlen(name, PUZZLE_NAME_SIZE);
    if (length < 1 || length > PUZZLE_MAX_NAME_LENGTH)
        return false;
    // No separators, wildcards or control characters, and nothing that a file system
    // strips or treats as special at either end.
    for (size_t i = 0; i < length; i++)
    {
        unsigned char ch = (unsigned char)name[i];
        if (ch < 0x20 || ch > 0x7E || strchr("/\\:*?\"<>|", ch))
            return false;
    }
    return name[0] != '.' && name[0] != ' ' && name[length - 1] != '.' && name[length - 1] != ' ';
}

// A name given for a puzzle file; what is wrong with it is reported under `function`.
static bool PuzzlesCheckName(const char *function, const char *name)
{
    if (!name || !name[0])
    {
        DebugError(function, "No name");
        return false;
    }
    if (!PuzzlesIsValidName(name))
    {
        DebugError(function, "Invalid name");
        return false;
    }
    return true;
}

// Builds "<folder>/<name><extension>", matching an existing file whatever its letter case.
static bool PuzzlesBuildPath(const char *folder, const char *name, const char *extension, char *out)
{
    char path[ENG_FILE_PATH_SIZE];
    int length = snprintf(path, sizeof(path), "%s/%s%s", folder, name, extension);
    if (length < 0 || length >= (int)sizeof(path))
        return false;
    return GameFileResolveCase(path, out, ENG_FILE_PATH_SIZE);
}

char PuzzlesSetFilename(int type, const char *name, char allowSystem)
{
    s_record.fileName[0] = 0;
    if (!PuzzlesCheckName(ENG_FUNC, name))
        return 0;
    const char *folder = nullptr;
    if (type == GAME_TYPE_MY_PUZZLES)
        folder = PrefFolderGetSubFolder(PUZZLES_OWN_FOLDER, true);
    else if (type == GAME_TYPE_PUZZLE && allowSystem)
        folder = PUZZLES_SYSTEM_FOLDER;
    if (!folder)
    {
        DebugError(ENG_FUNC, "Invalid puzzle type");
        return 0;
    }
    if (!PuzzlesBuildPath(folder, name, ".qpz", s_record.fileName))
    {
        DebugError(ENG_FUNC, "Path too long");
        return 0;
    }
    return 1;
}

const char *PuzzlesGetFilename()
{
    return s_record.fileName;
}

char PuzzlesSetTestFilename(int type, const char *name, char report)
{
    s_record.testFileName[0] = 0;
    if (!PuzzlesCheckName(ENG_FUNC, name))
        return 0;
    if (type != GAME_TYPE_MY_PUZZLES)
    {
        if (report)
            DebugError(ENG_FUNC, "Invalid puzzle type");
        return 0;
    }
    if (!PuzzlesBuildPath(PrefFolderGetSubFolder(PUZZLES_TEST_FOLDER, true), name, ".tes", s_record.testFileName))
    {
        DebugError(ENG_FUNC, "Path too long");
        return 0;
    }
    return 1;
}

const char *PuzzlesGetTestFilename()
{
    return s_record.testFileName;
}

// ---- The current record --------------------------------------------------------------

void PuzzlesClearCurrentPuzzle()
{
    memset(&GameState.puzzle, 0, sizeof(GameState.puzzle));
    GameState.nextListInUse = 0;
}

void PuzzlesClearTestShots()
{
    memset(s_record.testShots, 0, sizeof(s_record.testShots));
    s_record.testShotIndex = 0;
}

// The working next-ball list becomes the puzzle's own (unmapped) list.
void PuzzlesSetWorkingListFromPuzzle()
{
    _GameState &gs = GameState;
    const _Puzzle &puzzle = gs.puzzle;
    int count = std::clamp((int)puzzle.numNextBalls, 0, (int)PUZZLE_MAX_NEXT_BALLS);
    for (int i = 0; i < PUZZLE_MAX_NEXT_BALLS; i++)
        gs.nextBallList[i] = i < count ? puzzle.nextBalls[i] : (int8_t)BALL_EMPTY;
    gs.nextBallCount = count;
}

char PuzzlesReset(int type, const char *name)
{
    if (type != GAME_TYPE_MY_PUZZLES)
    {
        DebugError(ENG_FUNC, "Invalid type");
        return 0;
    }
    if (!name || !name[0])
        name = "Untitled";
    if (!PuzzlesIsValidName(name))
    {
        DebugError(ENG_FUNC, "Invalid name");
        return 0;
    }
    PuzzlesClearCurrentPuzzle();
    _Puzzle &puzzle = GameState.puzzle;
    EngSafeStrcpy(puzzle.name, name, sizeof(puzzle.name));
    puzzle.type = GAME_TYPE_MY_PUZZLES;
    puzzle.numBallTypes = 5;
    puzzle.moveDown = 5;
    puzzle.fallUp = 5;
    puzzle.removeUp = 2;
    puzzle.arcadeLandUp = 1;
    puzzle.width = 11;
    puzzle.difficulty = 0;
    puzzle.level = 0;
    memset(puzzle.grid, BALL_EMPTY, sizeof(puzzle.grid));
    memset(puzzle.nextBalls, BALL_EMPTY, sizeof(puzzle.nextBalls));
    puzzle.numNextBalls = 1;
    puzzle.nextBalls[0] = 0;
    PuzzlesSetWorkingListFromPuzzle();
    PuzzlesClearTestShots();
    return 1;
}

// ---- Play ----------------------------------------------------------------------------

static int8_t PuzzlesMapBall(int8_t value, char mapColours)
{
    const _Puzzle &puzzle = GameState.puzzle;
    if (value >= 0 && value < puzzle.numBallTypes && value < BALL_NUM_COLOURS && mapColours && !GameState.testMode)
        return GameState.colourSet[value];
    return value;
}

void PuzzlesCopyToGrid(char mapColours)
{
    _GameState &gs = GameState;
    const _Puzzle &puzzle = gs.puzzle;
    for (int column = 0; column < GRID_MAX_COLUMNS; column++)
    {
        for (int row = 0; row < GRID_ROWS; row++)
        {
            _GridCell &cell = gs.grid[column][row];
            int8_t value = puzzle.grid[column][row];
            bool ball = (value >= 0 && value < puzzle.numBallTypes && value < BALL_NUM_COLOURS) ||
                        value == BALL_WILDCARD || value == BALL_STONE;
            if (column >= 1 && column <= puzzle.width - 2 && ball)
            {
                cell.type = PuzzlesMapBall(value, mapColours);
                cell.initial = 1;
            }
            else
            {
                cell.type = BALL_EMPTY;
                cell.initial = 0;
            }
        }
    }
    int count = std::clamp((int)puzzle.numNextBalls, 0, (int)PUZZLE_MAX_NEXT_BALLS);
    for (int i = 0; i < PUZZLE_MAX_NEXT_BALLS; i++)
        gs.nextBallList[i] = i < count ? PuzzlesMapBall(puzzle.nextBalls[i], mapColours) : (int8_t)BALL_EMPTY;
    gs.nextBallCount = count;
    gs.nextListInUse = 1;
    gs.movingCount = 0;
    gs.removingCount = 0;
    gs.fallingCount = 0;
}

int8_t PuzzlesGetNextBallType(char advance, char warn)
{
    _GameState &gs = GameState;
    if (gs.nextBallCount <= 0 || gs.nextBallCount > PUZZLE_MAX_NEXT_BALLS)
    {
        if (warn)
            DebugError(ENG_FUNC, "No next balls");
        return BALL_EMPTY;
    }
    int8_t ball = gs.nextBallList[0];
    if (advance)
    {
        for (int i = 1; i < gs.nextBallCount; i++)
            gs.nextBallList[i - 1] = gs.nextBallList[i];
        gs.nextBallCount--;
        gs.nextBallList[gs.nextBallCount] = BALL_EMPTY;
    }
    return ball;
}

// ---- Test shots ----------------------------------------------------------------------

// A recorded shot can be replayed: finite values, an angle the turret can take.
bool PuzzlesIsShotValid(const _TestShot &shot)
{
    if (shot.used > 1)
        return false;
    if (!shot.used)
        return true;
    return std::isfinite(shot.x) && std::isfinite(shot.y) && std::isfinite(shot.z) && std::isfinite(shot.angle) &&
           fabsf(shot.angle) <= 1.4f && fabsf(shot.x) <= 2.0f && fabsf(shot.y) <= 2.0f;
}

void PuzzlesRecordTestShot(const _ShotAim *fired)
{
    const _GameState &gs = GameState;
    int32_t &index = s_record.testShotIndex;
    if (index < 0 || index >= gs.puzzle.numNextBalls || index >= PUZZLE_TEST_SHOTS)
        return;
    _TestShot &shot = s_record.testShots[index];
    memset(&shot, 0, sizeof(shot));
    shot.x = fired->x;
    shot.y = fired->y;
    shot.z = fired->z;
    shot.angle = fired->angle;
    shot.used = 1;
    index++;
}

char PuzzlesReplayTestShot(char peek)
{
    _GameState &gs = GameState;
    int32_t &index = s_record.testShotIndex;
    if (index < 0 || index >= PUZZLE_TEST_SHOTS)
        return 0;
    const _TestShot &shot = s_record.testShots[index];
    if (!shot.used || !PuzzlesIsShotValid(shot))
        return 0;
    if (peek)
        return 1;
    gs.turretAngle = shot.angle;
    gs.turretBallX = shot.x;
    gs.turretBallY = shot.y;
    gs.turretBallZ = shot.z;
    index++;
    return 1;
}

char PuzzlesGetRecordedShot(_ShotAim *aim)
{
    const int32_t index = s_record.testShotIndex;
    if (index < 0 || index >= PUZZLE_TEST_SHOTS)
        return 0;
    const _TestShot &shot = s_record.testShots[index];
    if (!shot.used || !PuzzlesIsShotValid(shot))
        return 0;
    *aim = {shot.angle, shot.x, shot.y, shot.z};
    return 1;
}

void PuzzlesSkipTestShot()
{
    if (s_record.testShotIndex < PUZZLE_TEST_SHOTS)
        s_record.testShotIndex++;
}

void PuzzlesRewindTestShots()
{
    s_record.testShotIndex = 0;
}

void PuzzlesGetTestShots(_TestShot shots[PUZZLE_TEST_SHOTS], int32_t *index)
{
    memcpy(shots, s_record.testShots, sizeof(s_record.testShots));
    *index = s_record.testShotIndex;
}

void PuzzlesSetTestShots(const _TestShot shots[PUZZLE_TEST_SHOTS], int32_t index)
{
    for (int i = 0; i < PUZZLE_TEST_SHOTS; i++)
    {
        s_record.testShots[i] = shots[i];
        if (!PuzzlesIsShotValid(shots[i]))
            memset(&s_record.testShots[i], 0, sizeof(_TestShot));
        memset(s_record.testShots[i].pad, 0, sizeof(s_record.testShots[i].pad));
    }
    s_record.testShotIndex = std::clamp(index, 0, (int32_t)PUZZLE_TEST_SHOTS);
}
