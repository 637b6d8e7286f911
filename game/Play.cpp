// The modules above the rules, registered as the rules' reactions; see Play.h.
#include "Play.h"

#include "GameState.h"
#include "Plinx.h"
#include "Puzzles.h"
#include "Reactions.h"
#include "SaveGame.h"

static void LeavingForPauseCB()
{
    SaveGameToBeResumed(0);
}

static char LoadPuzzleCB(const char *name)
{
    return PuzzlesLoadFromFile(GAME_TYPE_PUZZLE, name);
}

static const _Reactions s_playReactions = {
    PuzzlesEndTest,
    LeavingForPauseCB,
    SaveGameUndoPop,
    SaveGameRemoveAnyCurrentSavedGame,
    PuzzlesGetNumPuzzlesOfDifficulty,
    PuzzlesGetPuzzleNameOfDifficulty,
    LoadPuzzleCB,
};

char PlaySetup()
{
    char result = PlinxSetup();
    ReactionsSet(&s_playReactions);
    return result;
}

void PlayShutdown()
{
    ReactionsSet(nullptr);
    PlinxShutdown();
}
