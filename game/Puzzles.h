// Puzzles: hand-made levels. The current puzzle record, its ".qpz" text file and the
// ".tes" file of recorded test shots, the lists of system puzzles (PUZZLE, shipped in
// "Data/SystemPuzzles") and own puzzles (MY PUZZLES, in the per-user "MyPuzzles"),
// copying a puzzle into the play grid, the working next-ball list, and the editor with
// its test runs (record, replay, undo).
//
// The current record lives in GameState.puzzle; the lists, the test shots and the editor
// state belong to this module. Names of puzzles are 1 to 15 characters.
#pragma once
#include <cstddef>
#include <cstdint>

enum
{
    PUZZLE_NAME_SIZE = 16,
    PUZZLE_MAX_NAME_LENGTH = PUZZLE_NAME_SIZE - 1,
    PUZZLE_MAX_NEXT_BALLS = 50,
    PUZZLE_GRID_COLUMNS = 22,
    PUZZLE_GRID_ROWS = 14,
    PUZZLE_MIN_WIDTH = 7,
    PUZZLE_MAX_WIDTH = 22,
    PUZZLE_MAX_BALL_TYPES = 10,
    PUZZLE_MAX_AMOUNT = 29,
    PUZZLE_MAX_LIST = 100,       // puzzles per list
    PUZZLE_NUM_DIFFICULTIES = 3, // of the PUZZLE game type
    PUZZLE_TEST_SHOTS = 50,
};

// The current puzzle, stored whole in saved games.
struct _Puzzle
{
    char name[PUZZLE_NAME_SIZE]; // at most 15 characters, zero-filled
    int32_t type;                // PUZZLE or MY PUZZLES
    int32_t numNextBalls;        // 0-50
    int8_t nextBalls[PUZZLE_MAX_NEXT_BALLS]; // ball types in order of use
    uint8_t pad0[2];
    int32_t width;               // grid columns with the two border columns, 7-22
    int32_t numBallTypes;        // 1-10
    int8_t difficulty;
    uint8_t pad1[3];
    int32_t level;               // place within its difficulty
    int8_t grid[PUZZLE_GRID_COLUMNS][PUZZLE_GRID_ROWS]; // column-major, -1 empty, colours 0..numBallTypes-1, 10, 12
    int8_t moveDown, removeUp, fallUp, arcadeLandUp;    // 0-29
};
static_assert(sizeof(_Puzzle) == 404);
static_assert(offsetof(_Puzzle, name) == 0);
static_assert(offsetof(_Puzzle, type) == 16);
static_assert(offsetof(_Puzzle, numNextBalls) == 20);
static_assert(offsetof(_Puzzle, nextBalls) == 24);
static_assert(offsetof(_Puzzle, pad0) == 74);
static_assert(offsetof(_Puzzle, width) == 76);
static_assert(offsetof(_Puzzle, numBallTypes) == 80);
static_assert(offsetof(_Puzzle, difficulty) == 84);
static_assert(offsetof(_Puzzle, level) == 88);
static_assert(offsetof(_Puzzle, grid) == 92);
static_assert(offsetof(_Puzzle, moveDown) == 400);
static_assert(offsetof(_Puzzle, removeUp) == 401);
static_assert(offsetof(_Puzzle, fallUp) == 402);
static_assert(offsetof(_Puzzle, arcadeLandUp) == 403);

// One row of a puzzle list.
struct _PuzzleListEntry
{
    char name[PUZZLE_NAME_SIZE];
    int8_t difficulty; // 0 for own puzzles
    uint8_t pad[3];
    int32_t level;     // 0 for own puzzles
};

// One recorded shot of a test run: the loaded ball's position and the turret angle.
struct _TestShot
{
    float x, y, z;
    float angle;
    uint8_t used; // 1 when recorded
    uint8_t pad[3];
};
static_assert(sizeof(_TestShot) == 20);
static_assert(offsetof(_TestShot, angle) == 12);
static_assert(offsetof(_TestShot, used) == 16);

// The ".tes" file, stored whole: version 2.0, then the 50 shots.
struct _TestFile
{
    float version;
    _TestShot shots[PUZZLE_TEST_SHOTS];
};
static_assert(sizeof(_TestFile) == 1004);
static_assert(offsetof(_TestFile, shots) == 4);

// The version of both puzzle files.
const float PUZZLE_FILE_VERSION = 2.0f;

// ---- Module ------------------------------------------------------------------------------
// The lists, test shots and editor state back to their start values (tests).
void PuzzlesShutdown();

// ---- The current record ---------------------------------------------------------------------
// Zeroes the record and `nextListInUse`.
void PuzzlesClearCurrentPuzzle();
// A new own puzzle named `name` ("Untitled" for none); only MY PUZZLES.
char PuzzlesReset(int type, const char *name);
// Whether `name` can name a puzzle file: 1 to 15 characters, none of which could leave
// the folder or upset a file system.
bool PuzzlesIsValidName(const char *name);

// ---- Files --------------------------------------------------------------------------------
// Builds the puzzle file's path (PuzzlesGetFilename): MY PUZZLES always, PUZZLE only
// with `allowSystem` (reading).
char PuzzlesSetFilename(int type, const char *name, char allowSystem);
const char *PuzzlesGetFilename();
// Builds the test file's path (own puzzles only).
char PuzzlesSetTestFilename(int type, const char *name, char report);
const char *PuzzlesGetTestFilename();
// Writes the current puzzle (its name upper-cased first) to the own-puzzles folder.
char PuzzlesSaveToFile();
// Reads and checks a puzzle; on success it becomes the current record, on any failure
// the current record stays as it was.
char PuzzlesLoadFromFile(int type, const char *name);
// Deletes an own puzzle's file and its test file.
char PuzzleDeleteFile(int type, const char *name);
// The current puzzle's test shots to and from its test file. Loading succeeds without
// reading when there is no test file.
char PuzzlesSaveTestingFile();
char PuzzlesLoadTestingFile();
// Reads a whole test file of any path into `file`; false (reported) for a short or long
// file, a wrong version or a bad shot.
bool PuzzlesReadTestFile(const char *path, _TestFile *file);

// ---- Lists ----------------------------------------------------------------------------------
// Lists the puzzles of one type (PUZZLE or MY PUZZLES), at most 100, sorted.
void PuzzlesLoadPuzzlesType(int type);
// The system puzzles of each PUZZLE difficulty, in list order.
void PuzzlesBuildDifficultyLists();
void PuzzlesLoadAllLists();
int PuzzlesGetNumPuzzles(int type);
// Entry `index` of a list; NULL outside it.
const _PuzzleListEntry *PuzzlesGetListEntry(int type, int index);
// The system puzzles of one PUZZLE difficulty, in play order.
int PuzzlesGetNumPuzzlesOfDifficulty(int difficulty);
const char *PuzzlesGetPuzzleNameOfDifficulty(int difficulty, int index);

// ---- Play -----------------------------------------------------------------------------------
// Copies the current puzzle into the play grid and the working next-ball list; colours
// go through the level's colour set when `mapColours` is set and no test runs.
void PuzzlesCopyToGrid(char mapColours);
// The first ball of the working next-ball list (taken off with `advance`); -1 and, with
// `warn`, "No next balls" when the list is used up.
int8_t PuzzlesGetNextBallType(char advance, char warn);

// ---- Test runs --------------------------------------------------------------------------------
struct _ShotAim;
// Records a shot the test run fired (PlinxShoot's result) at the test-shot index and
// moves on; nothing past the puzzle's next-ball count.
void PuzzlesRecordTestShot(const _ShotAim *fired);
// Restores the recorded shot at the test-shot index (aim and loaded-ball position) and
// moves on; with `peek` only answers whether one is recorded.
char PuzzlesReplayTestShot(char peek);
// The test shots and their index, as saved games and undo store them.
void PuzzlesGetTestShots(_TestShot shots[PUZZLE_TEST_SHOTS], int32_t *index);
void PuzzlesSetTestShots(const _TestShot shots[PUZZLE_TEST_SHOTS], int32_t index);
// The player's shot. In the editor's test run, once the ball has left, the state before
// it joins the undo history and the shot the recording; with `replay` the recorded shot
// at the index is fired instead, and nothing goes when none is recorded or the puzzle's
// next-ball list is not in use. Outside a test run, PlinxShoot. True when a ball left.
char PuzzlesShoot(char replay);
// Starts a test run of the edited puzzle (`mode` 1: the end returns to the properties).
void PuzzlesStartTest(int mode);
// Ends the editor's test run and gives the puzzle back to the editor.
void PuzzlesEndTest();

// ---- Editor -------------------------------------------------------------------------------------
// Sets the editor up for the current own puzzle.
char PuzzlesPrepareToStart();
// Whether the editor is on (its puzzle is being edited or tested).
bool PuzzlesIsEditing();
void PuzzlesSetEditing(bool editing);
// Once per frame while the editor runs: the test run's tick, or the editor's keys.
void PuzzlesEditorTick();
// One row of the editor's key help.
struct _PuzzleKeyHelp
{
    const char *key;
    const char *action;
};
// The key help the editor shows: the edit keys (`testKeys` 0) or the test-run keys (1);
// `count` gets the number of rows.
const _PuzzleKeyHelp *PuzzlesGetKeyHelp(char testKeys, int *count);
// Leaves the editor: its picture (ViewEditorLoadPicture, loaded once per editor session)
// released, editing off.
void PuzzlesReleaseEditor();
// The editor's cursor: a grid cell, or with the next-ball list as the target, a slot.
void PuzzlesGetEditorCursor(int *column, int *row, int *nextSlot, bool *nextListTarget);
// The editor's message ("BALL MUST BE ...") while it shows, else NULL.
const char *PuzzlesGetEditorMessage();
