// Plinx_DX9: the game's process entry. Runs from the game's folder (the one that holds
// Data, found from the executable's place), then hands the application to the engine's
// start-up.
#include "EngGameFolder.h"
#include "EngMain.h"
#include "Game.h"

int main(int argc, char **argv)
{
    if (!EngGameFolderEnter())
        return 255;
    return EngMainRunProgram(argc, argv, GameGetApplication()) & 0xFF;
}
