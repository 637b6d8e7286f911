// A tick that saves the game itself.
#include "SaveGame.h"
#include "Reactions.h"
