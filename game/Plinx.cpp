// Game state, grid and balls: the state block's start values, starting a game, the grid
// of a level, its layout, the level's colours, random and next balls, scoring, the turret
// and the shot. Relies on the game's random generator (EngRandomGenerator), the grid
// floor (Grid.h) and the level module (Levels.h).
//
// Sections: set-up | game types | game start and grid | random balls |
// score | turret and shot
#include "Plinx.h"

#include <cmath>
#include <cstring>

#include "AppHooks.h"
#include "EngDebug.h"
#include "EngGlobals.h"
#include "GameState.h"
#include "Grid.h"
#include "Levels.h"
#include "Puzzles.h"
#include "ViewHooks.h"

_GameState GameState;

const _ColourRGB plinx_ball_colours[13] = {
    {1.0f, 0.696f, 0.596f}, {0.862f, 0.555f, 1.0f}, {0.886f, 0.929f, 1.0f}, {1.0f, 0.24f, 0.0f},
    {0.279f, 1.0f, 0.15f},  {0.45f, 0.55f, 1.0f},   {1.0f, 1.0f, 0.11f},    {0.157f, 0.808f, 1.0f},
    {0.83f, 0.66f, 1.0f},   {0.9f, 1.0f, 0.81f},    {1.0f, 0.3f, 1.0f},     {1.0f, 1.0f, 0.0f},
    {0.5f, 0.5f, 0.5f},
};

// Seed for the games started from now on; 0 = from the system.
static uint32_t s_fixedSeed = 0;

// The roll phase a ball gets when it appears: in [0, 69.999).
static float PlinxRandomPhase()
{
    return (float)(GameState.looksRng.GetRandom() % 69999u) * 0.001f;
}

// ---- Set-up ---------------------------------------------------------------------------

char PlinxSetup()
{
    _GameState &gs = GameState;
    if (gs.isSetup)
        return 1;
    memset((void *)&gs, 0, sizeof(gs));
    gs.gridColumns = GRID_MIN_COLUMNS;
    gs.gridRows = GRID_ROWS;
    gs.ballRadius = 0.065f;
    gs.gridOffset = 0.0325f;
    for (int column = 0; column < GRID_MAX_COLUMNS; column++)
        for (int row = 0; row < GRID_ROWS; row++)
            gs.grid[column][row].type = BALL_EMPTY;
    gs.lowestColumn = -1;
    gs.lowestRow = -1;
    gs.turretX = 0.0f;
    gs.turretY = 0.9f;
    gs.barrelLength = 0.33f;
    gs.turretExplodingEffect = -1;
    gs.turretWildcardEffect = -1;
    gs.currentBall = BALL_EMPTY;
    gs.nextBall = BALL_EMPTY;
    gs.shotSpeed = 2.5f;
    gs.fieldScale = 1.0f;
    gs.captionAlpha = 1.0f;
    gs.timeStep = 1.0f / 60.0f;
    gs.rng.Seed(1);
    gs.looksRng.Seed(1);
    gs.isSetup = 1;
    return 1;
}

void PlinxShutdown()
{
    memset((void *)&GameState, 0, sizeof(GameState));
}

// ---- Game types -----------------------------------------------------------------------

int8_t PlinxGetNumDifficultiesForGameType(int gameType)
{
    static const int8_t counts[GAME_NUM_TYPES] = {4, 6, 3, 0};
    if (gameType < 0 || gameType >= GAME_NUM_TYPES)
    {
        DebugError(ENG_FUNC, "Unexpected gt %d", gameType);
        return 0;
    }
    return counts[gameType];
}

const char *PlinxGetGameTypeName(int gameType)
{
    static const char *names[GAME_NUM_TYPES] = {"ARCADE", "STRATEGIC", "PUZZLE", "MY PUZZLES"};
    if (gameType < 0 || gameType >= GAME_NUM_TYPES)
        return "???";
    return names[gameType];
}

int PlinxGetDifficulty()
{
    const _GameState &gs = GameState;
    if (gs.gameType < GAME_TYPE_ARCADE || gs.gameType > GAME_TYPE_PUZZLE)
        return 0;
    int difficulty = gs.userOptions.difficulty[gs.gameType];
    int count = PlinxGetNumDifficultiesForGameType(gs.gameType);
    if (difficulty < 0 || difficulty >= count)
    {
        DebugError(ENG_FUNC, "Bad difficulty %d for game type %d", difficulty, gs.gameType);
        return 0;
    }
    return difficulty;
}

// ---- Game start and grid ----------------------------------------------------------------

void PlinxSetFixedSeed(uint32_t seed)
{
    s_fixedSeed = seed;
}

// The start level the player's options give for the game type; never negative.
static int PlinxGetStartLevel()
{
    const _GameState &gs = GameState;
    const _UserOptions &options = gs.userOptions;
    int level = 0;
    switch (gs.gameType)
    {
    case GAME_TYPE_ARCADE:
        level = options.arcadeStartLevel * 3;
        break;
    case GAME_TYPE_STRATEGIC:
        level = options.strategicStartSize;
        break;
    case GAME_TYPE_PUZZLE:
        level = options.puzzleLevel[PlinxGetDifficulty()];
        break;
    default:
        break;
    }
    if (level < 0)
    {
        DebugError(ENG_FUNC, "Bad start level %d", level);
        level = 0;
    }
    return level;
}

void PlinxStartGame()
{
    _GameState &gs = GameState;
    if (!gs.isSetup)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    if (gs.gameType < 0 || gs.gameType >= GAME_NUM_TYPES)
    {
        DebugError(ENG_FUNC, "Unexpected gt %d", gs.gameType);
        gs.gameType = GAME_TYPE_ARCADE;
    }
    ViewSoundStopAll();
    ViewEffectsResetGameEffects();
    gs.turretExplodingEffect = -1;
    gs.turretWildcardEffect = -1;
    ViewSoundUpdateGameSoundsVolume();
    gs.gameOver = 0;
    if (gs.gridGiven)
    {
        // A restored game goes on: its seed, draws and score are the saved ones.
        ViewRefreshScoreText();
        ViewBordersNewTint(1);
        return;
    }
    gs.rngSeed = s_fixedSeed;
    if (gs.rngSeed)
    {
        gs.rng.Seed(gs.rngSeed);
        gs.looksRng.Seed(gs.rngSeed ^ 0x9E3779B9u);
    }
    else
    {
        gs.rng.SeedFromSystem();
        gs.looksRng.SeedFromSystem();
        // A game always has a seed of its own: each level is seeded from it, and a saved
        // game replays its draws from it when it is resumed.
        while (!gs.rngSeed)
            gs.rngSeed = gs.rng.GetRandom();
    }
    gs.rngDraws = 0;
    gs.score = 0;
    ViewRefreshScoreText();
    GridClear();
    gs.scroll = 0.0f;
    gs.lives = gs.gameType == GAME_TYPE_PUZZLE ? 2 : 0;
    LevelsSetNextLevel(PlinxGetStartLevel());
    ViewRefreshCaptionText();
    ViewBordersNewTint(1);
    ViewSetupPlaceFinder();
}

void PlinxResetGrid()
{
    _GameState &gs = GameState;
    const int columns = gs.gridColumns;
    GridClear();
    memset(gs.matchMap, 0, sizeof(gs.matchMap));
    memset(gs.fallingMap, 0, sizeof(gs.fallingMap));
    // Columns outer, rows inner: the order of the colour draws is part of the game.
    for (int column = 0; column < columns; column++)
    {
        for (int row = 0; row < GRID_ROWS; row++)
        {
            _GridCell &cell = gs.grid[column][row];
            cell.x = GridGetCellX(column, row, columns);
            cell.y = GridGetCellY(row);
            cell.rowParity = (uint8_t)(row & 1);
            cell.rollPhase = PlinxRandomPhase();
            cell.spin = 0.0f;
            cell.initial = 1;
            bool border = column == 0 || column == columns - 1;
            cell.type = (border || row >= gs.rowsFilled) ? (int8_t)BALL_EMPTY : PlinxGetRandomBallType();
        }
    }
    if (gs.gameType == GAME_TYPE_PUZZLE || gs.gameType == GAME_TYPE_MY_PUZZLES)
    {
        if (!gs.gridGiven)
            PuzzlesCopyToGrid(1);
        // Whatever the puzzle holds, the border columns and the columns beyond stay empty.
        for (int column = 0; column < GRID_MAX_COLUMNS; column++)
            if (column == 0 || column >= columns - 1)
                for (int row = 0; row < GRID_ROWS; row++)
                    gs.grid[column][row].type = BALL_EMPTY;
    }
    else
    {
        // A puzzle played before must not hand its next-ball list to a random game.
        gs.nextListInUse = 0;
    }

    gs.turretLoad = 0.0f;
    if (gs.nextListInUse)
    {
        gs.currentBall = PuzzlesGetNextBallType(1, 1);
        gs.nextBall = PuzzlesGetNextBallType(1, 0);
    }
    else
    {
        gs.currentBall = PlinxGetRandomBallType();
        gs.nextBall = PlinxGetRandomBallType();
    }
    gs.turretBallPhase = PlinxRandomPhase();
    gs.movingCount = 0;
    gs.removingCount = 0;
    gs.fallingCount = 0;
    memset(gs.movingList, 0, sizeof(gs.movingList));
    memset(gs.removingList, 0, sizeof(gs.removingList));
    memset(gs.fallingList, 0, sizeof(gs.fallingList));
    for (int i = 0; i < MAX_ANIMATED_BALLS; i++)
    {
        gs.removingList[i].sound = -1;
        gs.fallingList[i].sound = -1;
    }

    gs.scroll = 0.0f;
    gs.rollAngle = 0.0f;
    gs.gridSpeed = 0.0f;
    gs.pushBack = 0.0f;
    gs.shotVelocity = 0.0f;
    gs.shotRemainder = 0.0f;
    gs.targetSpeed = gs.baseSpeed;
    gs.gridBallScale = 0.0f;

    GridComputeLayout();
    ViewBordersComputeLayout();
    PlinxUpdateTurretBall();
    ViewRefreshScoreText();
    ViewRefreshCaptionText();
    ViewBordersNewTint(1);
}

// ---- Random balls ---------------------------------------------------------------------------

void PlinxChooseColourSet()
{
    _GameState &gs = GameState;
    if (gs.rngSeed)
        gs.rng.Seed((uint32_t)gs.level + gs.rngSeed + 1u);
    else
        gs.rng.SeedFromSystem();
    gs.rngDraws = 0;
    if (gs.numColours < 1 || gs.numColours > BALL_NUM_COLOURS)
    {
        DebugError(ENG_FUNC, "Bad number of colours %d", gs.numColours);
        gs.numColours = gs.numColours < 1 ? 1 : BALL_NUM_COLOURS;
    }
    int count = 0;
    while (count < gs.numColours)
    {
        int8_t colour = (int8_t)(gs.rng.GetRandom() % BALL_NUM_COLOURS);
        gs.rngDraws++;
        bool known = false;
        for (int i = 0; i < count; i++)
            known = known || gs.colourSet[i] == colour;
        if (!known)
            gs.colourSet[count++] = colour;
    }
}

int8_t PlinxGetRandomBallType()
{
    _GameState &gs = GameState;
    if (gs.numColours < 1 || gs.numColours > BALL_NUM_COLOURS)
    {
        DebugError(ENG_FUNC, "Bad number of colours %d", gs.numColours);
        gs.numColours = gs.numColours < 1 ? 1 : BALL_NUM_COLOURS;
    }
    int k = (int)(gs.rng.GetRandom() % (uint32_t)gs.numColours);
    gs.rngDraws++;
    return gs.testMode ? (int8_t)k : gs.colourSet[k];
}

void PlinxChooseNextBall(char recheck)
{
    _GameState &gs = GameState;
    if (gs.nextListInUse)
        return;
    if (gs.currentBall == BALL_EMPTY)
    {
        gs.nextBall = BALL_EMPTY;
        return;
    }
    bool present[BALL_NUM_COLOURS] = {};
    for (int column = 0; column < gs.gridColumns; column++)
    {
        for (int row = 0; row < GRID_ROWS; row++)
        {
            int type = gs.grid[column][row].type;
            if (type >= 0 && type < BALL_NUM_COLOURS)
                present[type] = true;
        }
    }
    for (int i = 0; i < gs.movingCount; i++)
    {
        int type = gs.movingList[i].type;
        if (type >= 0 && type < BALL_NUM_COLOURS)
            present[type] = true;
    }
    if (gs.turretLoad > 0.0f && gs.currentBall >= 0 && gs.currentBall < BALL_NUM_COLOURS)
        present[gs.currentBall] = true;

    if (recheck && (gs.nextBall >= BALL_NUM_COLOURS || (gs.nextBall >= 0 && present[gs.nextBall])))
        return;

    int8_t ball = BALL_EMPTY;
    for (int draws = 1;; draws++)
    {
        ball = PlinxGetRandomBallType();
        if (gs.testMode || (ball >= 0 && ball < BALL_NUM_COLOURS && present[ball]) || draws >= 100000)
            break;
    }
    gs.nextBall = ball;
    if (gs.wildcardFrequency > 0)
    {
        if (!gs.rng.GetChance(gs.wildcardFrequency))
            gs.nextBall = BALL_WILDCARD;
        gs.rngDraws++;
    }
    if (gs.explodingFrequency > 0)
    {
        if (!gs.rng.GetChance(gs.explodingFrequency))
            gs.nextBall = BALL_EXPLODING;
        gs.rngDraws++;
    }
}

// ---- Score ------------------------------------------------------------------------------------

void PlinxAddScore(int points)
{
    _GameState &gs = GameState;
    int64_t add = ((int64_t)points + 5) / 10 * 10;
    if (add < 10)
        add = 10;
    if ((int64_t)gs.score < 2147483647LL - add)
        gs.score += (int32_t)add;
    ViewRefreshScoreText();
    ViewUpdatePlace(gs.score, 0);
}

// ---- Turret and shot ------------------------------------------------------------------------

void PlinxSetTurretAngle(float value, char relative, char scaled)
{
    _GameState &gs = GameState;
    if (value != -1000.0f)
    {
        if (scaled)
        {
            static const float sensitivities[10] = {0.3f, 0.55f, 0.75f, 0.9f, 1.0f, 1.15f, 1.4f, 1.75f, 2.2f, 2.75f};
            int option = gs.userOptions.mouseSensitivity;
            if (option < 0 || option > 9)
                option = 4;
            value = value * sensitivities[option] / 2.1f;
        }
        float angle = relative ? gs.turretAngle + value : value;
        if (!(angle > -1.4f))
            angle = std::isnan(angle) ? gs.turretAngle : -1.4f;
        if (angle > 1.4f)
            angle = 1.4f;
        gs.turretAngle = angle;
        if (gs.gameOver)
            ViewEffectsSetGameOverStrength(gs.turretAngle);
    }
    gs.turretBallX = sinf(gs.turretAngle) * gs.barrelLength * gs.turretLoad + gs.turretX;
    gs.turretBallY = -cosf(gs.turretAngle) * gs.barrelLength * gs.turretLoad + gs.turretY;
}

void PlinxUpdateTurretBall()
{
    PlinxSetTurretAngle(-1000.0f, 0, 0);
}

void PlinxStartTurretBallEffects()
{
    _GameState &gs = GameState;
    if (gs.currentBall == BALL_EXPLODING && gs.turretExplodingEffect < 0)
    {
        gs.turretExplodingEffect = ViewEffectsStartExplosionBall(GameTurretBallPosition());
        ViewSoundPlaySpecial(BALL_EXPLODING);
    }
    else if (gs.currentBall == BALL_WILDCARD && gs.turretWildcardEffect < 0)
    {
        gs.turretWildcardEffect = ViewEffectsStartWildcardBall(GameTurretBallPosition());
        ViewSoundPlaySpecial(BALL_WILDCARD);
    }
}

bool PlinxCanShoot()
{
    const _GameState &gs = GameState;
    if (!gs.isSetup || AppIsGuiOn() || gs.paused || gs.gameOver || gs.levelState != LEVEL_STATE_PLAY ||
        gs.movingCount >= MAX_MOVING_BALLS || gs.turretLoad < 1.0f || gs.currentBall == BALL_EMPTY)
        return false;
    return !GridIsBallAt(gs.turretBallX, gs.turretBallY);
}

char PlinxShoot(const _ShotAim *aim, _ShotAim *fired)
{
    _GameState &gs = GameState;
    if (!PlinxCanShoot())
        return 0;
    if (aim)
    {
        gs.turretAngle = aim->angle;
        gs.turretBallX = aim->x;
        gs.turretBallY = aim->y;
        gs.turretBallZ = aim->z;
    }
    if (fired)
        *fired = {gs.turretAngle, gs.turretBallX, gs.turretBallY, gs.turretBallZ};

    _MovingBall *ball = &gs.movingList[gs.movingCount];
    memset(ball, 0, sizeof(*ball));
    ball->angle = gs.turretAngle;
    ball->x = gs.turretBallX;
    ball->y = gs.turretBallY;
    ball->z = gs.turretBallZ;
    ball->vx = sinf(ball->angle) * gs.shotSpeed;
    ball->vy = -cosf(ball->angle) * gs.shotSpeed;
    ball->type = gs.currentBall;
    ball->rollPhase = gs.turretBallPhase;
    // The loaded ball's effects now follow the ball in flight.
    ball->explodingEffect = gs.turretExplodingEffect;
    ball->wildcardEffect = gs.turretWildcardEffect;
    if (ball->explodingEffect >= 0)
        ViewEffectsSetExplosionBallPosition(ball->explodingEffect, GameBallPosition(ball));
    if (ball->wildcardEffect >= 0)
        ViewEffectsSetWildcardBallPosition(ball->wildcardEffect, GameBallPosition(ball));
    gs.turretExplodingEffect = -1;
    gs.turretWildcardEffect = -1;

    gs.movingCount++;
    gs.turretLoad = 0.0f;
    gs.turretBallPhase = PlinxRandomPhase();
    ViewSoundPlay(SOUND_BALL_LAUNCH);

    gs.currentBall = gs.nextBall;
    if (gs.nextListInUse)
        gs.nextBall = PuzzlesGetNextBallType(1, 0);
    else
        PlinxChooseNextBall(0);

    PlinxUpdateTurretBall();
    if (!gs.rollingSoundOn)
    {
        ViewSoundPlayLooped(SOUND_BALL_ROLLING);
        gs.rollingSoundOn = 1;
    }
    PlinxStartTurretBallEffects();
    return 1;
}
