// The table of reactions the modules above the rules register; see Reactions.h.
#include "Reactions.h"

static _Reactions s_reactions = {};

void ReactionsSet(const _Reactions *reactions)
{
    s_reactions = reactions ? *reactions : _Reactions{};
}

void ReactionsTestRunOver()
{
    if (s_reactions.testRunOver)
        s_reactions.testRunOver();
}

void ReactionsLeavingForPause()
{
    if (s_reactions.leavingForPause)
        s_reactions.leavingForPause();
}

void ReactionsUndo()
{
    if (s_reactions.undo)
        s_reactions.undo();
}

void ReactionsLifeLost()
{
    if (s_reactions.lifeLost)
        s_reactions.lifeLost();
}

int ReactionsCountPuzzles(int difficulty)
{
    return s_reactions.countPuzzles ? s_reactions.countPuzzles(difficulty) : 0;
}

const char *ReactionsGetPuzzleName(int difficulty, int index)
{
    return s_reactions.getPuzzleName ? s_reactions.getPuzzleName(difficulty, index) : nullptr;
}

char ReactionsLoadPuzzle(const char *name)
{
    return s_reactions.loadPuzzle ? s_reactions.loadPuzzle(name) : 0;
}
