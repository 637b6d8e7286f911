// Placeholder for the puzzle module (see Puzzles.h): copying the current puzzle into the
// play grid, the working next-ball list and the end of a test run work as the puzzle
// module specifies them; files, lists and recorded test shots are not there yet. The
// puzzle module replaces this file.
#include "EngDebug.h"
#include "EngMemory.h"
#include "Effects.h"
#include "GameState.h"
#include "Puzzles.h"
#include "Sound.h"

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
    int count = puzzle.numNextBalls;
    if (count < 0 || count > PUZZLE_MAX_NEXT_BALLS)
        count = 0;
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

void PuzzlesEndTest()
{
    _GameState &gs = GameState;
    SoundStopLoops(0);
    game_effects.StopAllBallEffects();
    gs.turretExplodingEffect = -1;
    gs.turretWildcardEffect = -1;
    gs.testMode = 0;
    gs.gridGiven = 1;
    PuzzlesCopyToGrid(0);
    gs.gridBallScale = 1.0f;
    gs.scroll = 0.0f;
    gs.rollAngle = 0.0f;
}

void PuzzlesRecordTestShot() {}
char PuzzlesReplayTestShot(char peek) { return 0; }

char PuzzlesLoadFromFile(int type, const char *name)
{
    DebugError(ENG_FUNC, "Could not open file: <%s>", EngStringOrNone(name));
    return 0;
}

int PuzzlesGetNumPuzzlesOfDifficulty(int difficulty) { return 0; }
const char *PuzzlesGetPuzzleNameOfDifficulty(int difficulty, int index) { return nullptr; }
