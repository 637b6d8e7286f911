// The puzzle editor and its test runs: the editor's cursor, keys and message over the
// current own puzzle, the test run that plays it (its shots recorded, replayed and
// undone), and the way back to the puzzle properties. The top of the puzzle modules: it
// drives the rules' tick and reacts to their shot results.
//
// Sections: module state | test runs | editor
#include "Puzzles.h"

#include <algorithm>
#include <cstring>

#include "AppHooks.h"
#include "EngDebug.h"
#include "EngGlobals.h"
#include "GameState.h"
#include "Grid.h"
#include "Levels.h"
#include "Plinx.h"
#include "SaveGame.h"
#include "Tick.h"
#include "ViewHooks.h"

static const char PLACE_MESSAGE[] = "BALL MUST BE TOUCHING ANOTHER BALL OR IN THE TOP ROW";

// Virtual-key codes of the editor's keys.
enum
{
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
};

// ---- Module state --------------------------------------------------------------------

static struct
{
    uint8_t editing;
    uint8_t editNextList;   // the next-ball list is the edit target
    uint8_t pendingEscape;  // a test started from the properties returns there
    uint8_t bottomLoaded;
    int32_t cursorColumn, cursorRow, cursorSlot;
    double messageUntil;    // engine seconds; the message shows until then
} s_editor;

void PuzzlesShutdown()
{
    PuzzlesRecordShutdown();
    PuzzlesListsShutdown();
    memset(&s_editor, 0, sizeof(s_editor));
}

// ---- Test runs -----------------------------------------------------------------------

char PuzzlesShoot(char replay)
{
    _GameState &gs = GameState;
    if (!gs.testMode)
        return PlinxShoot();
    if (!PlinxCanShoot())
        return 0;
    _ShotAim aim = {};
    if (replay && (!gs.nextListInUse || !PuzzlesGetRecordedShot(&aim)))
        return 0;
    // Taken before the shot, kept only once it has gone.
    static _GameSnapshot before;
    SaveGameCaptureSnapshot(&before);
    _ShotAim fired;
    if (!PlinxShoot(replay ? &aim : nullptr, &fired))
        return 0;
    SaveGameUndoPushSnapshot(&before);
    if (replay)
        PuzzlesSkipTestShot();
    else
        PuzzlesRecordTestShot(&fired);
    return 1;
}

void PuzzlesStartTest(int mode)
{
    _GameState &gs = GameState;
    if (gs.puzzle.type != GAME_TYPE_MY_PUZZLES)
    {
        DebugError(ENG_FUNC, "Invalid type");
        return;
    }
    gs.testMode = (uint8_t)(mode + 1);
    gs.gameOver = 0;
    gs.score = 0;
    ViewRefreshScoreText();
    gs.gridGiven = 0;
    PuzzlesSaveToFile();
    PuzzlesLoadPuzzlesType(gs.puzzle.type);
    PuzzlesBuildDifficultyLists();
    gs.levelState = LEVEL_STATE_PLAY;
    gs.gameType = gs.puzzle.type;
    gs.moveMode = MOVE_MODE_PER_SHOT;
    // Each run undoes only its own shots.
    SaveGameUndoClear();
    LevelsSetNextLevel(0);
    PuzzlesRewindTestShots();
}

void PuzzlesEndTest()
{
    _GameState &gs = GameState;
    ViewSoundStopLoops(0);
    ViewEffectsStopAllBallEffects();
    gs.turretExplodingEffect = -1;
    gs.turretWildcardEffect = -1;
    if (gs.testMode == 2)
        s_editor.pendingEscape = 1;
    gs.testMode = 0;
    gs.gridGiven = 1;
    PuzzlesCopyToGrid(0);
    gs.gridBallScale = 1.0f;
    gs.scroll = 0.0f;
    gs.rollAngle = 0.0f;
}

// ---- Editor --------------------------------------------------------------------------

static const _PuzzleKeyHelp s_editKeys[] = {
    {"Arrows:", "MOVE CURSOR"},
    {"Number Keys:", "Set Ball Type"},
    {"S:", "Set Stone Ball"},
    {"W:", "Set Wildcard Ball"},
    {"E:", "Set Exploding Ball (NEXT BALL LIST ONLY)"},
    {"DELETE:", "Remove Ball"},
    {"TAB:", "Toggle Edit Mode (NEXT BALL LIST ONLY)"},
    {"T:", "TEST LEVEL"},
};
static const _PuzzleKeyHelp s_testKeys[] = {
    {"ESCAPE:", "RETURN TO EDIT MENU"},
    {"U:", "UNDO LAST SHOT"},
    {"RIGHT BUTTON:", "REPLAY BALL FROM LAST TEST RUN (NEXT BALL LIST ONLY)"},
};

const _PuzzleKeyHelp *PuzzlesGetKeyHelp(char testKeys, int *count)
{
    if (testKeys)
    {
        *count = (int)(sizeof(s_testKeys) / sizeof(s_testKeys[0]));
        return s_testKeys;
    }
    *count = (int)(sizeof(s_editKeys) / sizeof(s_editKeys[0]));
    return s_editKeys;
}

bool PuzzlesIsEditing()
{
    return s_editor.editing != 0;
}

void PuzzlesSetEditing(bool editing)
{
    s_editor.editing = editing ? 1 : 0;
}

static void PuzzlesClampCursor()
{
    const _Puzzle &puzzle = GameState.puzzle;
    s_editor.cursorColumn = std::clamp((int)s_editor.cursorColumn, 1, std::max(1, (int)puzzle.width - 2));
    s_editor.cursorRow = std::clamp((int)s_editor.cursorRow, 0, GRID_ROWS - 2);
    s_editor.cursorSlot = std::clamp((int)s_editor.cursorSlot, 0, std::max(0, (int)puzzle.numNextBalls));
    s_editor.cursorSlot = std::min((int)s_editor.cursorSlot, PUZZLE_MAX_NEXT_BALLS - 1);
}

char PuzzlesPrepareToStart()
{
    _GameState &gs = GameState;
    _Puzzle &puzzle = gs.puzzle;
    if (puzzle.type != GAME_TYPE_MY_PUZZLES || puzzle.width < PUZZLE_MIN_WIDTH || puzzle.width > PUZZLE_MAX_WIDTH ||
        puzzle.numBallTypes < 1 || puzzle.numBallTypes > PUZZLE_MAX_BALL_TYPES)
    {
        DebugError(ENG_FUNC, "Invalid type");
        return 0;
    }
    gs.gameType = GAME_TYPE_MY_PUZZLES;
    gs.testMode = 0;
    gs.gridColumns = puzzle.width;
    gs.gridRows = GRID_ROWS;
    gs.rowsFilled = 0;
    gs.numColours = puzzle.numBallTypes;
    PuzzlesClampCursor();
    gs.gridGiven = 1;
    PlinxResetGrid();
    PuzzlesCopyToGrid(0);
    gs.levelState = LEVEL_STATE_PLAY;
    gs.gridBallScale = 1.0f;
    gs.scroll = 0.0f;
    gs.rollAngle = 0.0f;
    if (!s_editor.bottomLoaded)
    {
        if (ViewEditorLoadPicture())
            s_editor.bottomLoaded = 1;
        else
            DebugError(ENG_FUNC, "Could not load bottom texture");
    }
    PuzzlesLoadTestingFile();
    s_editor.editing = 1;
    s_editor.pendingEscape = 0;
    return 1;
}

void PuzzlesReleaseEditor()
{
    if (s_editor.bottomLoaded)
        ViewEditorReleasePicture();
    s_editor.bottomLoaded = 0;
    s_editor.editing = 0;
}

void PuzzlesGetEditorCursor(int *column, int *row, int *nextSlot, bool *nextListTarget)
{
    *column = s_editor.cursorColumn;
    *row = s_editor.cursorRow;
    *nextSlot = s_editor.cursorSlot;
    *nextListTarget = s_editor.editNextList != 0;
}

const char *PuzzlesGetEditorMessage()
{
    return EngFrameTiming.currentTime < s_editor.messageUntil ? PLACE_MESSAGE : nullptr;
}

// True once when `key` went down; the press is used up.
static bool PuzzlesKeyPressed(int key)
{
    if (EngKeyStates[key] > 1)
    {
        EngKeyStates[key] = 0;
        return true;
    }
    return false;
}

// Puts `value` (a ball type, or -1 to remove) at the grid cursor.
static void PuzzlesEditGrid(int8_t value)
{
    _GameState &gs = GameState;
    const int column = s_editor.cursorColumn, row = s_editor.cursorRow;
    if (value != BALL_EMPTY && row != 0 && !GridHasNeighbour(column, row))
    {
        s_editor.messageUntil = EngFrameTiming.currentTime + 1.0;
        return;
    }
    gs.puzzle.grid[column][row] = value;
    gs.grid[column][row].type = value;
    gs.grid[column][row].initial = value != BALL_EMPTY;
}

// Puts `value` at the next-list cursor (a ball is added at the end when the cursor lies
// past it), or with -1 takes the ball there out.
static void PuzzlesEditNextList(int8_t value)
{
    _Puzzle &puzzle = GameState.puzzle;
    int slot = s_editor.cursorSlot;
    if (value == BALL_EMPTY)
    {
        if (slot >= puzzle.numNextBalls)
            return;
        for (int i = slot; i < puzzle.numNextBalls - 1; i++)
            puzzle.nextBalls[i] = puzzle.nextBalls[i + 1];
        puzzle.numNextBalls--;
        puzzle.nextBalls[puzzle.numNextBalls] = BALL_EMPTY;
    }
    else
    {
        if (slot >= puzzle.numNextBalls)
        {
            if (puzzle.numNextBalls >= PUZZLE_MAX_NEXT_BALLS)
                return;
            slot = puzzle.numNextBalls++;
            s_editor.cursorSlot = slot;
        }
        puzzle.nextBalls[slot] = value;
    }
    PuzzlesSetWorkingListFromPuzzle();
    PuzzlesClampCursor();
}

// Escape in the editor: everything is stored and the properties screen returns.
static void PuzzlesLeaveEditor()
{
    s_editor.pendingEscape = 0;
    PuzzlesSaveToFile();
    PuzzlesSaveTestingFile();
    PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
    PuzzlesBuildDifficultyLists();
    ViewSoundStopLoops(0);
    if (s_editor.bottomLoaded)
        ViewEditorReleasePicture();
    s_editor.bottomLoaded = 0;
    AppGoFromGameToMenus(EngFourCC("CPPR"), nullptr, 0);
}

void PuzzlesEditorTick()
{
    _GameState &gs = GameState;
    if (!s_editor.editing || AppIsGuiOn())
        return;
    if (gs.testMode)
    {
        TickGame();
        return;
    }
    if (s_editor.pendingEscape || PuzzlesKeyPressed(ENG_VK_ESCAPE))
    {
        PuzzlesLeaveEditor();
        return;
    }
    if (PuzzlesKeyPressed(VK_TAB))
        s_editor.editNextList = !s_editor.editNextList;
    const bool list = s_editor.editNextList != 0;
    if (PuzzlesKeyPressed(VK_LEFT))
        (list ? s_editor.cursorSlot : s_editor.cursorColumn)--;
    if (PuzzlesKeyPressed(VK_RIGHT))
        (list ? s_editor.cursorSlot : s_editor.cursorColumn)++;
    if (PuzzlesKeyPressed(VK_UP) && !list)
        s_editor.cursorRow--;
    if (PuzzlesKeyPressed(VK_DOWN) && !list)
        s_editor.cursorRow++;
    PuzzlesClampCursor();

    int value = -2; // no edit
    for (int digit = 0; digit <= 9; digit++)
        if (PuzzlesKeyPressed('0' + digit) && digit < gs.puzzle.numBallTypes)
            value = digit;
    if (PuzzlesKeyPressed('S'))
        value = BALL_STONE;
    if (PuzzlesKeyPressed('W'))
        value = BALL_WILDCARD;
    if (PuzzlesKeyPressed('E') && list)
        value = BALL_EXPLODING;
    if (PuzzlesKeyPressed(VK_DELETE) | PuzzlesKeyPressed(VK_BACK))
        value = BALL_EMPTY;
    if (value != -2)
    {
        if (list)
            PuzzlesEditNextList((int8_t)value);
        else
            PuzzlesEditGrid((int8_t)value);
    }
    if (PuzzlesKeyPressed('T'))
        PuzzlesStartTest(0);
}
