// The puzzle module as the game rules call it: the current puzzle record, copying it into
// the play grid, the working next-ball list, the editor's test runs and the system puzzle
// lists. The bodies are placeholders (PuzzlesPlaceholder.cpp) until the puzzle module
// lands; the record and the signatures are its own.
#pragma once
#include <cstddef>
#include <cstdint>

enum
{
    PUZZLE_NAME_SIZE = 16,
    PUZZLE_MAX_NEXT_BALLS = 50,
};

// The current puzzle, stored whole in saved games.
struct _Puzzle
{
    char name[PUZZLE_NAME_SIZE]; // at most 15 characters
    int32_t type;                // PUZZLE or MY PUZZLES
    int32_t numNextBalls;        // 0-50
    int8_t nextBalls[PUZZLE_MAX_NEXT_BALLS];
    uint8_t pad0[2];
    int32_t width;               // grid columns with the two border columns, 7-22
    int32_t numBallTypes;        // 1-10
    int8_t difficulty;
    uint8_t pad1[3];
    int32_t level;               // place within its difficulty
    int8_t grid[22][14];         // column-major, -1 empty, colours 0..numBallTypes-1, 10, 12
    int8_t moveDown, removeUp, fallUp, arcadeLandUp; // 0-29
};
static_assert(sizeof(_Puzzle) == 404);
static_assert(offsetof(_Puzzle, width) == 76);
static_assert(offsetof(_Puzzle, level) == 88);
static_assert(offsetof(_Puzzle, grid) == 92);
static_assert(offsetof(_Puzzle, moveDown) == 400);

// Copies the current puzzle into the play grid and the working next-ball list; colours
// go through the level's colour set when `mapColours` is set and no test runs.
void PuzzlesCopyToGrid(char mapColours);
// The first ball of the working next-ball list (taken off with `advance`); -1 and, with
// `warn`, "No next balls" when the list is used up.
int8_t PuzzlesGetNextBallType(char advance, char warn);
// Ends the editor's test run and gives the puzzle back to the editor.
void PuzzlesEndTest();
// Records the shot about to be fired in the test run.
void PuzzlesRecordTestShot();
// Restores the recorded shot at the test-shot index (aim and loaded-ball position) and
// moves on; with `peek` only answers whether one is recorded.
char PuzzlesReplayTestShot(char peek);
// Loads a puzzle file into the current record.
char PuzzlesLoadFromFile(int type, const char *name);
// The system puzzles of one PUZZLE difficulty, in play order.
int PuzzlesGetNumPuzzlesOfDifficulty(int difficulty);
const char *PuzzlesGetPuzzleNameOfDifficulty(int difficulty, int index);
