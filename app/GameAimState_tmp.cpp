#include "Game.h"
_GameProgramState game_program = {0, 0, nullptr, nullptr, GAME_TARGET_NONE, -1000.0f, 0, 0, 0, {0, 0, 0, 0}};
