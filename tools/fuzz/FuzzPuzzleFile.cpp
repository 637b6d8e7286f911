// Fuzz target: the puzzle reader (".qpz" text) on any bytes, as one of the player's own
// puzzles. A puzzle it accepts must be written by the game and read back the same.
#include <cstring>

#include "EngPrefFolder.h"
#include "FuzzKit.h"
#include "GameState.h"
#include "Play.h"
#include "Plinx.h"
#include "Puzzles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string path = [] {
        fuzzkit::Home();
        PrefFolderSetup("Plinx", false, nullptr, false);
        PlaySetup();
        PrefFolderGetSubFolder("MyPuzzles", true);
        return fuzzkit::UserFolder() + "/MyPuzzles/FUZZ.qpz";
    }();
    fuzzkit::ClearLog();
    fuzzkit::WriteBytes(path, data, size);
    if (!PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, "FUZZ"))
        return 0;
    const _Puzzle read = GameState.puzzle;
    fuzzkit::Check(PuzzlesSaveToFile(), "an accepted puzzle could not be written");
    fuzzkit::Check(PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, "FUZZ"), "a written puzzle is refused");
    fuzzkit::CheckSame(&read, &GameState.puzzle, sizeof(read), "a written puzzle reads back different");
    return 0;
}
