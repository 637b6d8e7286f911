// Levels, lives, game types and difficulties over GameState: the tuning tables, the
// level state machine and the caption texts. Drawing the captions is the play screen's;
// everything that changes state (including the spin of the grid balls after a lost life)
// happens here, in the tick, so that a game runs the same with or without drawing.
//
// Sections: tables | level start and tuning | state machine | lives | captions
#include "Levels.h"

#include <cmath>
#include <cstdio>

#include "AppHooks.h"
#include "EngDebug.h"
#include "EngGlobals.h"
#include "GameState.h"
#include "Grid.h"
#include "Plinx.h"
#include "Reactions.h"
#include "ViewHooks.h"

// The caption's full size: 64 pi.
static const float CAPTION_MAX_SIZE = 201.06194f;
static const float PI = 3.14159265f;
// Grid balls above this line (with the scroll) turn while a life is lost.
static const float SPIN_LINE_Y = 0.53264f;

// ---- Tables -----------------------------------------------------------------------------------

static const char *const s_difficultyNames[3][6] = {
    {"EASY", "MEDIUM", "HARD", "VERY HARD"},
    {"SMALL", "MEDIUM", "BIG", "LARGE", "HUGE", "MASSIVE"},
    {"EASY", "MEDIUM", "HARD"},
};

struct _ArcadeTuning
{
    int32_t levelBonus, fallPoints, removePoints;
    _ColourRGB tint;
};
static const _ArcadeTuning s_arcade[4] = {
    {200, 50, 5, {0.008f, 0.388f, 0.584f}},
    {400, 100, 10, {0.11f, 0.251f, 0.18f}},
    {800, 200, 20, {0.263f, 0.416f, 0.051f}},
    {1200, 300, 30, {0.443f, 0.29f, 0.698f}},
};
static const int32_t s_arcadeColumns[4] = {7, 9, 11, 13};

struct _StrategicTuning
{
    float a, b, f;
    int32_t levelBonus;
    _ColourRGB tint;
};
static const _StrategicTuning s_strategic[6] = {
    {0.1f, 0.125f, 2.0f, 100, {0.467f, 0.62f, 0.525f}},
    {0.1111111f, 0.125f, 1.5f, 200, {0.231f, 0.569f, 0.706f}},
    {0.1f, 0.14285715f, 1.3f, 300, {0.329f, 0.565f, 0.098f}},
    {0.1f, 0.14285715f, 1.15f, 500, {0.42f, 0.306f, 0.192f}},
    {0.1f, 0.14285715f, 1.05f, 600, {0.533f, 0.553f, 0.396f}},
    {0.1f, 0.14285715f, 1.0f, 1000, {0.675f, 0.867f, 0.302f}},
};
static const int32_t s_strategicRows[6] = {6, 6, 7, 7, 7, 7};
static const int32_t s_strategicColumns[6] = {10, 12, 14, 16, 18, 20};

const char *LevelsGetDifficultyName(int gameType, int difficulty)
{
    if (gameType < GAME_TYPE_ARCADE || gameType > GAME_TYPE_PUZZLE || difficulty < 0 ||
        difficulty >= PlinxGetNumDifficultiesForGameType(gameType))
        return "???";
    return s_difficultyNames[gameType][difficulty];
}

// ---- Level start and tuning ------------------------------------------------------------------------

static bool LevelsIsPuzzleType(int gameType)
{
    return gameType == GAME_TYPE_PUZZLE || gameType == GAME_TYPE_MY_PUZZLES;
}

// A known game type, and for the puzzle types a puzzle of that type; reported for
// `function` otherwise (the level then keeps its settings).
static bool LevelsIsGameTypeReady(const char *function)
{
    const int gameType = GameState.gameType;
    if (gameType < 0 || gameType >= GAME_NUM_TYPES)
    {
        DebugError(function, "Unexpected gt %d", gameType);
        return false;
    }
    if (LevelsIsPuzzleType(gameType) && GameState.puzzle.type != gameType)
    {
        DebugError(function, "Puzzle not setup");
        return false;
    }
    return true;
}

void LevelsStartNextLevel()
{
    _GameState &gs = GameState;
    const int gameType = gs.gameType;
    if (!LevelsIsGameTypeReady(ENG_FUNC))
        return;
    // A level that starts now is built afresh, whatever grid a restore or the editor
    // gave before: the next puzzle is copied in.
    gs.gridGiven = 0;
    int level = gs.nextLevel;
    if (level < 0)
    {
        DebugError(ENG_FUNC, "Bad level %d", level);
        level = 0;
    }
    gs.level = level;
    const int difficulty = PlinxGetDifficulty();
    switch (gameType)
    {
    case GAME_TYPE_ARCADE:
        gs.moveMode = MOVE_MODE_CONTINUOUS;
        gs.numColours = level % 3 + 5;
        gs.rowsFilled = 6;
        gs.playColumns = s_arcadeColumns[difficulty];
        break;
    case GAME_TYPE_STRATEGIC:
        gs.moveMode = MOVE_MODE_PER_SHOT;
        gs.rowsFilled = s_strategicRows[difficulty];
        gs.playColumns = s_strategicColumns[difficulty];
        gs.numColours = level / 3 < BALL_NUM_COLOURS - 6 ? 6 + level / 3 : BALL_NUM_COLOURS;
        break;
    default:
        gs.moveMode = MOVE_MODE_PER_SHOT;
        gs.playColumns = gs.puzzle.width - 2;
        gs.numColours = gs.puzzle.numBallTypes;
        break;
    }
    if (gs.numColours > BALL_NUM_COLOURS)
        gs.numColours = BALL_NUM_COLOURS;
    LevelsSetLevelAmounts();
    PlinxChooseColourSet();
    int columns = gs.playColumns + 2;
    gs.gridColumns = columns < GRID_MIN_COLUMNS ? GRID_MIN_COLUMNS : columns > GRID_MAX_COLUMNS ? GRID_MAX_COLUMNS : columns;
    gs.gridRows = GRID_ROWS;
    PlinxResetGrid();
    ViewBordersComputeLayout();
    GridFindLowestBall();
    ViewRefreshCaptionText();
}

// A puzzle's movement amount: 0 to 29, anything else is taken as 4.
static float LevelsPuzzleAmount(int amount)
{
    return (float)(amount >= 0 && amount <= 29 ? amount : 4);
}

void LevelsSetLevelAmounts()
{
    _GameState &gs = GameState;
    const int gameType = gs.gameType;
    if (!LevelsIsGameTypeReady(ENG_FUNC))
        return;
    gs.arcadeLevelBonus = 0;
    gs.strategicLevelBonus = 0;
    gs.puzzleLevelBonus = 0;
    const int level = gs.level;
    const int difficulty = PlinxGetDifficulty();
    const float r = gs.ballRadius;

    if (gameType == GAME_TYPE_ARCADE)
    {
        // Within each group of three levels the colours grow while the speed falls; each
        // group is faster than the last.
        // k in hundredths keeps the truncated points exact: 5 x 0.2 gives 1, not 0.
        const int32_t k100 = (level / 3) * 25 + difficulty * 10 + 50 - (level % 3) * 15;
        const float k = (float)k100 / 100.0f;
        const float q = 1.0f + (float)(level % 3) * 0.01f;
        gs.baseSpeed = 0.7f * k;
        gs.pushBackSpeed = 1.3f * k;
        gs.speedUpRate = 0.7f * k;
        gs.slowDownRate = 3.8f * k;
        gs.landPushBack = 0.0001f * k * q;
        gs.removePushBack = 0.001f * k * q;
        gs.fallPushBack = 0.006f * k * q;
        const _ArcadeTuning &tuning = s_arcade[difficulty];
        gs.arcadeLevelBonus = tuning.levelBonus * k100 / 100;
        gs.fallPoints = tuning.fallPoints * k100 / 100;
        gs.removePoints = tuning.removePoints * k100 / 100;
        gs.levelTint = tuning.tint;
        gs.wildcardFrequency = 100;
        gs.explodingFrequency = 100;
        return;
    }

    gs.shotVelocityLimit = 20.0f;
    gs.shotRateUp = 10.0f;
    gs.shotRateDown = 5.0f;
    if (gameType == GAME_TYPE_STRATEGIC)
    {
        const _StrategicTuning &tuning = s_strategic[difficulty];
        gs.wildcardFrequency = (difficulty + 1) * 200;
        gs.explodingFrequency = (difficulty + 1) * 200;
        gs.fallPoints = ((difficulty + 1) * (level + 20) * 50) / 20;
        gs.removePoints = ((difficulty + 1) * (level + 20) * 5) / 20;
        gs.strategicLevelBonus = tuning.levelBonus;
        gs.levelTint = tuning.tint;
        // This size keeps six colours at every level.
        if (difficulty == 3)
        {
            gs.numColours = 6;
            gs.rowsFilled = 7;
            gs.playColumns = 16;
        }
        int j = level / 3;
        if (gs.numColours + j > BALL_NUM_COLOURS)
            j = BALL_NUM_COLOURS - gs.numColours;
        const float p = (float)(level - 3 * j);
        gs.shotMoveDown = r * (tuning.a + tuning.f * tuning.a * p * 0.25f);
        gs.fallMoveUp = r * (tuning.f * tuning.b * p * 0.25f + tuning.b);
        gs.removeMoveUp = 0.0f;
        return;
    }

    const _Puzzle &puzzle = gs.puzzle;
    gs.shotMoveDown = r * LevelsPuzzleAmount(puzzle.moveDown) * 0.1f;
    gs.fallMoveUp = r * LevelsPuzzleAmount(puzzle.fallUp) * 0.1f;
    gs.removeMoveUp = r * LevelsPuzzleAmount(puzzle.removeUp) * 0.1f;
    const int p = gameType == GAME_TYPE_PUZZLE ? difficulty : 1;
    gs.removePoints = (p + 2) * 5;
    gs.fallPoints = (p + 2) * 50;
    gs.puzzleLevelBonus = (p + 1) * 5000;
    gs.wildcardFrequency = 0;
    gs.explodingFrequency = 0;
    gs.levelTint = {0.69f, 0.369f, 0.506f};
}

// ---- State machine ------------------------------------------------------------------------------

// The roll and special-ball loops and the ball effects stop. The rolling loop goes with
// them, so its flag is cleared: the next shot starts it again.
static void LevelsStopLoopsAndEffects()
{
    _GameState &gs = GameState;
    ViewSoundStopLoops(0);
    gs.rollingSoundOn = 0;
    ViewEffectsStopAllBallEffects();
    gs.turretExplodingEffect = -1;
    gs.turretWildcardEffect = -1;
}

void LevelsSetNextLevel(int level)
{
    _GameState &gs = GameState;
    ViewBordersNewTint(0);
    gs.captionSize = 0.0f;
    gs.captionAngle = 0.0f;
    gs.captionWave = 0.0f;
    gs.levelState = LEVEL_STATE_START;
    gs.nextLevel = level;
    gs.captionAlpha = 1.0f;
    gs.movingCount = 0;
    LevelsStopLoopsAndEffects();
}

void LevelsGrowGridBalls()
{
    _GameState &gs = GameState;
    gs.gridBallScale += gs.timeStep * 3.0f;
    if (gs.gridBallScale > 1.0f)
        gs.gridBallScale = 1.0f;
}

int LevelsGetState()
{
    return GameState.levelState;
}

void LevelsSetPlay()
{
    GameState.levelState = LEVEL_STATE_PLAY;
}

char LevelsCheckLevelDone()
{
    _GameState &gs = GameState;
    if (gs.levelState != LEVEL_STATE_PLAY)
        return 1;
    for (int column = 0; column < gs.gridColumns; column++)
        for (int row = 0; row < gs.gridRows; row++)
            if (gs.grid[column][row].type >= 0 && gs.grid[column][row].type < BALL_NUM_COLOURS)
                return 0;
    gs.levelState = LEVEL_STATE_DONE;
    return 1;
}

// The caption's swell: the angle grows by twice `step`, the value is (1 - cos) / 2.
static void LevelsCaptionCycle(float step)
{
    _GameState &gs = GameState;
    gs.captionAngle += 2.0f * step;
    if (gs.captionAngle >= 2.0f * PI)
        gs.captionAngle -= 2.0f * PI;
    gs.captionWave = (1.0f - cosf(gs.captionAngle)) * 0.5f;
    gs.captionSize = gs.captionWave * CAPTION_MAX_SIZE;
}

static bool LevelsFieldIsSettled()
{
    const _GameState &gs = GameState;
    return gs.fallingCount == 0 && gs.removingCount == 0 && gs.scroll <= 0.0f;
}

static void LevelsGoToMenus(const char (&screen)[5])
{
    AppGoFromGameToMenus(EngFourCC(screen), nullptr, 0);
}

// The end of a cleared level: bonus and the next level, or the end of the run.
static void LevelsFinishLevel()
{
    _GameState &gs = GameState;
    gs.levelState = LEVEL_STATE_PLAY;
    if (gs.testMode)
    {
        ReactionsTestRunOver();
        return;
    }
    switch (gs.gameType)
    {
    case GAME_TYPE_ARCADE:
        PlinxAddScore(gs.arcadeLevelBonus);
        LevelsSetNextLevel(gs.level + 1);
        break;
    case GAME_TYPE_STRATEGIC:
        PlinxAddScore(gs.strategicLevelBonus);
        LevelsSetNextLevel(gs.level + 1);
        break;
    case GAME_TYPE_PUZZLE:
    {
        PlinxAddScore(gs.puzzleLevelBonus);
        const int difficulty = PlinxGetDifficulty();
        const int count = ReactionsCountPuzzles(difficulty);
        if (gs.level >= count - 1)
        {
            LevelsGoToMenus("LVDN");
            break;
        }
        const char *name = ReactionsGetPuzzleName(difficulty, gs.level + 1);
        if (name && ReactionsLoadPuzzle(name))
        {
            LevelsSetNextLevel(gs.level + 1);
        }
        else
        {
            DebugError(ENG_FUNC, "Could not load puzzle <%s> [GT:%d][NP:%d][L:%d]", name ? name : "", gs.gameType,
                       count, gs.level);
            LevelsGoToMenus("LVDN");
        }
        break;
    }
    default:
        LevelsGoToMenus("LVDN");
        break;
    }
}

// While a life is lost or the game is over, the grid balls above the loss line turn.
static void LevelsSpinGridBalls()
{
    _GameState &gs = GameState;
    for (int column = 0; column < gs.gridColumns; column++)
    {
        for (int row = 0; row < gs.gridRows; row++)
        {
            _GridCell &cell = gs.grid[column][row];
            if (cell.type == BALL_EMPTY || cell.y + gs.scroll >= SPIN_LINE_Y)
                continue;
            cell.spin += gs.timeStep * 50.0f;
            cell.rollPhase = fmodf(cell.rollPhase + gs.timeStep * 3.0f, 70.0f);
        }
    }
}

static void LevelsGameOverTick()
{
    _GameState &gs = GameState;
    gs.stateTimer -= gs.timeStep * 10.0f;
    if (gs.stateTimer < 0.0f)
        gs.stateTimer = 0.0f;
    if (ViewTextGetNumLines() == 0)
        ViewTextSetText("GAME  OVER");
    else
        ViewTextTick();
    if (!gs.paused && EngKeyStates[ENG_VK_ESCAPE] > 1)
    {
        EngKeyStates[ENG_VK_ESCAPE] = 0;
        gs.levelState = LEVEL_STATE_PLAY;
        ViewSoundStopAll();
        ViewEffectsStopAllBallEffects();
        ViewEffectsStopGameOverEffect();
        ViewTextClear();
        gs.checkGameOverScore = 1;
        LevelsGoToMenus("MAIN");
    }
}

char LevelsTick()
{
    _GameState &gs = GameState;
    const float dt = gs.timeStep;
    const int state = gs.levelState;
    if (state == LEVEL_STATE_PLAY)
        return 0;
    if (state >= LEVEL_STATE_START && state <= LEVEL_STATE_DONE && gs.scroll > 0.0f)
    {
        gs.scroll -= state == LEVEL_STATE_START ? dt : dt * 0.2f;
        if (gs.scroll < 0.0f)
            gs.scroll = 0.0f;
    }
    switch (state)
    {
    case LEVEL_STATE_START:
        if (LevelsFieldIsSettled())
        {
            if (!gs.testMode)
                ViewSoundPlay(SOUND_LEVEL_START);
            LevelsStartNextLevel();
            gs.captionAngle = 0.0f;
            gs.captionWave = 0.0f;
            gs.levelState = LEVEL_STATE_INTRO;
        }
        break;
    case LEVEL_STATE_INTRO:
        LevelsGrowGridBalls();
        if (gs.testMode)
        {
            gs.levelState = LEVEL_STATE_PLAY;
            PlinxStartTurretBallEffects();
            break;
        }
        if (gs.captionSize < CAPTION_MAX_SIZE)
        {
            LevelsCaptionCycle(dt * 0.8f);
            if (gs.captionAngle >= 0.9f * PI)
            {
                gs.captionAlpha = 1.0f;
                gs.levelState = LEVEL_STATE_COUNTDOWN;
            }
        }
        break;
    case LEVEL_STATE_COUNTDOWN:
        LevelsGrowGridBalls();
        gs.captionAlpha -= dt;
        LevelsCaptionCycle(dt);
        if (gs.captionAlpha <= 0.0f)
        {
            gs.levelState = LEVEL_STATE_PLAY;
            PlinxStartTurretBallEffects();
        }
        break;
    case LEVEL_STATE_DONE:
        if (LevelsFieldIsSettled())
            LevelsFinishLevel();
        break;
    case LEVEL_STATE_LIFE_LOST:
        LevelsSpinGridBalls();
        gs.stateTimer -= dt * 10.0f;
        if (gs.stateTimer < 0.0f)
        {
            gs.stateTimer = 0.0f;
            gs.captionSize = 0.0f;
            gs.captionAngle = 0.0f;
            gs.captionWave = 0.0f;
            gs.movingCount = 0;
            gs.captionAlpha = 1.0f;
            LevelsStopLoopsAndEffects();
            // The same level starts again with a new grid.
            gs.levelState = LEVEL_STATE_START;
        }
        break;
    case LEVEL_STATE_GAME_OVER:
        LevelsSpinGridBalls();
        LevelsGameOverTick();
        break;
    default:
        DebugError(ENG_FUNC, "Unexpected level state %d", state);
        gs.levelState = LEVEL_STATE_PLAY;
        break;
    }
    return gs.levelState != LEVEL_STATE_PLAY;
}

// ---- Lives -----------------------------------------------------------------------------------------

void LevelsLoseLife()
{
    _GameState &gs = GameState;
    gs.captionSize = 210.0f;
    gs.captionAngle = 0.0f;
    gs.captionWave = 0.0f;
    gs.captionAlpha = 1.0f;
    LevelsStopLoopsAndEffects();
    ReactionsLifeLost();
    if (gs.lives > 0)
    {
        gs.lives--;
        gs.stateTimer = 30.0f;
        gs.levelState = LEVEL_STATE_LIFE_LOST;
        ViewSoundPlay(SOUND_LIFE_OVER);
        return;
    }
    gs.stateTimer = 100.0f;
    gs.gameOver = 1;
    gs.levelState = LEVEL_STATE_GAME_OVER;
    AppShowMouseCursor();
    ViewSoundStartGameOverMusic();
}

// ---- Captions ---------------------------------------------------------------------------------------

void LevelsFormatCaptionText(char *buffer, int size)
{
    const _GameState &gs = GameState;
    const int level = gs.level;
    switch (gs.gameType)
    {
    case GAME_TYPE_ARCADE:
        snprintf(buffer, size, "%d : %d", level / 3 + 1, level % 3 + 1);
        break;
    case GAME_TYPE_STRATEGIC:
        snprintf(buffer, size, "%s %d", LevelsGetDifficultyName(gs.gameType, PlinxGetDifficulty()), level + 1);
        break;
    case GAME_TYPE_PUZZLE:
        snprintf(buffer, size, "%.15s", gs.puzzle.name);
        break;
    case GAME_TYPE_MY_PUZZLES:
        snprintf(buffer, size, "\"%.15s\"", gs.puzzle.name);
        break;
    default:
        snprintf(buffer, size, "???");
        break;
    }
}

int LevelsGetCaptionLines(char *first, char *second, int size)
{
    const _GameState &gs = GameState;
    const int level = gs.level;
    first[0] = 0;
    second[0] = 0;
    if (gs.levelState == LEVEL_STATE_LIFE_LOST)
    {
        if (gs.lives == 0)
            snprintf(first, size, "LAST LIFE !");
        else
            snprintf(first, size, "%d LIVES LEFT", gs.lives + 1);
        return 1;
    }
    if (gs.levelState != LEVEL_STATE_INTRO && gs.levelState != LEVEL_STATE_COUNTDOWN)
        return 0;
    switch (gs.gameType)
    {
    case GAME_TYPE_ARCADE:
        snprintf(first, size, "LEVEL %d-%d", level / 3 + 1, level % 3 + 1);
        return 1;
    case GAME_TYPE_STRATEGIC:
        snprintf(first, size, "%s", LevelsGetDifficultyName(gs.gameType, PlinxGetDifficulty()));
        snprintf(second, size, "LEVEL %d", level + 1);
        return 2;
    case GAME_TYPE_PUZZLE:
        snprintf(first, size, "LEVEL %d", level + 1);
        snprintf(second, size, "%.15s", gs.puzzle.name);
        return 2;
    case GAME_TYPE_MY_PUZZLES:
        snprintf(first, size, "%.15s", gs.puzzle.name);
        return 1;
    default:
        return 0;
    }
}
