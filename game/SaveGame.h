// Saved games and the test run's undo history as the game rules call them. The bodies
// are placeholders (SaveGamePlaceholder.cpp) until the saved-game module lands; the
// names are its own.
#pragma once

// Writes the running game to its saved-game file (slot 0 is the one used).
char SaveGameToBeResumed(int slot);
// Forgets the current game type's saved game and empties the undo history.
void SaveGameRemoveAnyCurrentSavedGame();
// Pushes the state before a test-run shot; pops it back (the U key).
void SaveGameUndoPush();
void SaveGameUndoPop();
