// Placeholder for the saved-game module (see SaveGame.h): saves nothing. The saved-game
// module replaces this file.
#include "SaveGame.h"

char SaveGameToBeResumed(int slot) { return 0; }
void SaveGameRemoveAnyCurrentSavedGame() {}
void SaveGameUndoPush() {}
void SaveGameUndoPop() {}
