// What the modules above the rules do when play reaches a point that concerns them: the
// saved games and the undo history, the puzzle lists and files, the editor's test run.
// The tick and the levels call only these; the modules above register their functions
// (PlaySetup), so the rules never reach up. A member left NULL does nothing and answers
// the default given in its contract.
#pragma once

struct _Reactions
{
    // The editor's test run is over: escape, a loss, or the grid cleared.
    void (*testRunOver)();
    // The player leaves a running ARCADE, STRATEGIC or PUZZLE game for the pause screen:
    // keep it to be resumed.
    void (*leavingForPause)();
    // The test run's undo key.
    void (*undo)();
    // A life (or the game) was lost: the game type's saved game and the undo history are
    // no longer valid.
    void (*lifeLost)();
    // PUZZLE games: the number of shipped puzzles of `difficulty` (default 0), the name of
    // its puzzle `index` (default NULL), and making a named one the current puzzle (false
    // when it cannot be read, reported; default false).
    int (*countPuzzles)(int difficulty);
    const char *(*getPuzzleName)(int difficulty, int index);
    char (*loadPuzzle)(const char *name);
};

// Copies `reactions` (NULL: every member unset).
void ReactionsSet(const _Reactions *reactions);

// ---- The rules' side: each calls its member or answers the member's default ----------
void ReactionsTestRunOver();
void ReactionsLeavingForPause();
void ReactionsUndo();
void ReactionsLifeLost();
int ReactionsCountPuzzles(int difficulty);
const char *ReactionsGetPuzzleName(int difficulty, int index);
char ReactionsLoadPuzzle(const char *name);
