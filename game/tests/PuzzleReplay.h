// Plays a system puzzle headlessly: the puzzle of a PUZZLE difficulty and level is
// loaded and started as a game, and shots are fired whenever the field is at rest. Shared
// by the system-puzzle test and the puzzle tool, so both fire at the same moments.
#pragma once
#include "AppDouble.h"
#include "EngGlobals.h"
#include "GameState.h"
#include "Levels.h"
#include "Play.h"
#include "Plinx.h"
#include "Puzzles.h"
#include "Tick.h"

namespace puzzlereplay
{

enum _Outcome
{
    OUTCOME_CLEARED = 0,   // no coloured ball left: the level is done
    OUTCOME_LIFE_LOST = 1,
    OUTCOME_OUT_OF_SHOTS = 2,
    OUTCOME_STUCK = 3,     // the field never came to rest
};

// Nothing flies, moves, shrinks or falls, and a ball is loaded: the moment a shot is taken.
inline bool IsAtRest()
{
    const _GameState &gs = GameState;
    return gs.levelState == LEVEL_STATE_PLAY && gs.movingCount == 0 && gs.turretLoad >= 1.0f &&
           gs.shotVelocity == 0.0f && gs.shotRemainder == 0.0f && gs.removingCount == 0 && gs.fallingCount == 0;
}

inline bool IsCleared()
{
    return GameState.levelState == LEVEL_STATE_DONE;
}

inline bool IsLost()
{
    return GameState.levelState == LEVEL_STATE_LIFE_LOST || GameState.gameOver;
}

// Ticks until the field is at rest, the level is cleared or a life is lost; false when
// `limit` ticks pass first.
inline bool TickToRest(int limit = 3000)
{
    for (int i = 0; i < limit; i++)
    {
        if (IsAtRest() || IsCleared() || IsLost())
            return true;
        TickGame();
    }
    return false;
}

// Starts the loaded puzzle as the PUZZLE game of `difficulty` at `level`, in play.
inline bool StartLoadedPuzzle(int difficulty, int level, uint32_t seed)
{
    _GameState &gs = GameState;
    AppDoubleInstall();
    AppGoFromMenusToGame(nullptr, 1);
    EngFrameTiming.frameTime = 1.0f / 60.0f;
    gs.gameType = GAME_TYPE_PUZZLE;
    gs.userOptions.gameType = GAME_TYPE_PUZZLE;
    gs.userOptions.difficulty[GAME_TYPE_PUZZLE] = (int8_t)difficulty;
    gs.userOptions.puzzleLevel[difficulty] = (int8_t)level;
    gs.userOptions.mouseSensitivity = 4;
    PlinxSetFixedSeed(seed);
    PlinxStartGame();
    PlinxSetFixedSeed(0);
    return TickToRest() && IsAtRest();
}

// Starts the system puzzle at place `level` of `difficulty`, as the game finds it in the
// lists read from "Data/SystemPuzzles"; false when it does not load.
inline bool StartSystemPuzzle(int difficulty, int level, uint32_t seed)
{
    PlayShutdown();
    PlaySetup();
    PuzzlesLoadAllLists();
    const char *name = PuzzlesGetPuzzleNameOfDifficulty(difficulty, level);
    if (!name || !PuzzlesLoadFromFile(GAME_TYPE_PUZZLE, name))
        return false;
    return StartLoadedPuzzle(difficulty, level, seed);
}

// Fires the recorded shots (PuzzlesSetTestShots) one at a time, each at rest, until the
// level is cleared, a life is lost or the shots run out.
inline _Outcome ReplayTestShots(int *shotsFired)
{
    *shotsFired = 0;
    for (;;)
    {
        if (!TickToRest())
            return OUTCOME_STUCK;
        if (IsCleared())
            return OUTCOME_CLEARED;
        if (IsLost())
            return OUTCOME_LIFE_LOST;
        if (!PuzzlesReplayTestShot(0))
            return OUTCOME_OUT_OF_SHOTS;
        PlinxShoot();
        ++*shotsFired;
    }
}

} // namespace puzzlereplay
