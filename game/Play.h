// A game played whole: the rules (PlinxSetup) with the modules that react to them
// registered (Reactions.h): saved games and undo, the puzzle lists and files, the
// editor's test run. The program, the tests and the tools that play games set up here.
#pragma once

// PlinxSetup, then the reactions registered. Answers PlinxSetup's result.
char PlaySetup();
// The reactions forgotten, then PlinxShutdown.
void PlayShutdown();
