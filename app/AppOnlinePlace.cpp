// The play screen's online place box over the online in-game finder: the game's table
// and the player's display option decide whether the lists are read at all.
#include "AppView.h"

#include "GameState.h"
#include "PlayScreen.h"
#include "Scores.h"
#include "ScoresInGameScores.h"

namespace
{

void SetupCB(int gameType, int difficulty, int displayMode)
{
    // MY PUZZLES has no online table, and a player who switched the display off reads
    // no lists.
    const bool listed = gameType >= GAME_TYPE_ARCADE && gameType <= GAME_TYPE_PUZZLE && displayMode != 2;
    ScoresInGameStart(listed ? (uint32_t)ScoresGetTableId(gameType, difficulty) : 0u, displayMode == 0);
}

char FindPlaceCB(int score)
{
    return ScoresInGameCalcPlace(score) ? 1 : 0;
}

char TickCB(int score)
{
    return ScoresInGameTick(score) ? 1 : 0;
}

const _PlaceFinder kFinder = {SetupCB, FindPlaceCB, TickCB, ScoresInGameGetPlace};

} // namespace

void AppViewRegisterPlaceFinder()
{
    PlayScreenSetPlaceFinder(&kFinder);
}

void AppViewReleasePlaceFinder()
{
    ScoresInGameShutdown();
}
