// Fuzz target: the saved-game loader on any bytes. The game type is the one the record
// names (ARCADE when it names none that has saved games). A game it resumes must be saved
// by the game, resumed again and saved to the very same bytes.
#include <cstring>

#include "EngPrefFolder.h"
#include "FuzzKit.h"
#include "GameState.h"
#include "Play.h"
#include "Plinx.h"
#include "SaveGame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = [] {
        fuzzkit::Home();
        PrefFolderSetup("Plinx", false, nullptr, false);
        PlaySetup();
        return true;
    }();
    (void)ready;
    fuzzkit::ClearLog();
    uint32_t gameType = GAME_TYPE_ARCADE;
    if (size >= offsetof(_GameSnapshot, gameType) + 4)
        memcpy(&gameType, data + offsetof(_GameSnapshot, gameType), 4);
    if (gameType > GAME_TYPE_PUZZLE)
        gameType = GAME_TYPE_ARCADE;
    _GameState &gs = GameState;
    gs.userOptions.gameType = (int8_t)gameType;
    gs.testMode = 0;
    const std::string path = SaveGameGetFilename(0);
    fuzzkit::WriteBytes(path, data, size);
    if (!ResumeSavedGame(0))
    {
        fuzzkit::Check(fuzzkit::ReadBytes(path) == std::string((const char *)data, size),
                       "a refused saved game was changed on disk");
        return 0;
    }
    fuzzkit::Check(SaveGameToBeResumed(0), "a resumed game could not be saved");
    const std::string first = fuzzkit::ReadBytes(path);
    fuzzkit::Check(ResumeSavedGame(0), "a game the game saved is refused");
    fuzzkit::Check(SaveGameToBeResumed(0), "a resumed game could not be saved again");
    const std::string second = fuzzkit::ReadBytes(path);
    fuzzkit::Check(second.size() == first.size(), "a saved game resumes to another size");
    fuzzkit::CheckSame(first.data(), second.data(), first.size(), "a saved game resumes to another state");
    return 0;
}
