// Fuzz target: the reader of a puzzle's recorded test shots (".tes", stored whole) on any
// bytes. Shots it accepts must be written by the game and read back the same.
#include <cstring>

#include "EngPrefFolder.h"
#include "FuzzKit.h"
#include "GameState.h"
#include "Play.h"
#include "Plinx.h"
#include "Puzzles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string input = [] {
        fuzzkit::Home();
        PrefFolderSetup("Plinx", false, nullptr, false);
        PlaySetup();
        PrefFolderGetSubFolder("MyPuzzlesTesting", true);
        return fuzzkit::Home() + "/input.tes";
    }();
    fuzzkit::ClearLog();
    fuzzkit::WriteBytes(input, data, size);
    _TestFile read;
    if (!PuzzlesReadTestFile(input.c_str(), &read))
        return 0;
    _Puzzle &puzzle = GameState.puzzle;
    memset(&puzzle, 0, sizeof(puzzle));
    puzzle.type = GAME_TYPE_MY_PUZZLES;
    strcpy(puzzle.name, "FUZZ");
    PuzzlesSetTestShots(read.shots, 0);
    fuzzkit::Check(PuzzlesSaveTestingFile(), "accepted test shots could not be written");
    _TestFile again;
    fuzzkit::Check(PuzzlesReadTestFile(PuzzlesGetTestFilename(), &again), "written test shots are refused");
    fuzzkit::CheckSame(&read, &again, sizeof(read), "written test shots read back different");
    return 0;
}
