// The game's glue to the online score service (OnlineScores.h): sending the last score
// of the current table and the one online list object the menus show.
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "GameState.h"
#include "OnlineScores.h"
#include "Platform.h"
#include "Scores.h"

static ScoresMain *s_onlineScores = nullptr;

void ScoresFillOnlineScore(const _HighScore *row, _ScoresScore *score)
{
    memset(score, 0, sizeof(*score));
    score->score = row->score;
    if (row->startLevel >= 0 && row->levels >= 0)
        score->levelCode = (row->startLevel + 1) * 65536 + (row->levels + 1);
    score->date = row->date;
    score->userId = row->userId;
    // Each copy is bounded by the field it comes from: a 20-character name has no
    // terminator in the row.
    memcpy(score->name, row->name, strnlen(row->name, sizeof(row->name)));
    memcpy(score->country, row->country, strnlen(row->country, 3));
    score->platform = PlatformGetCurrentPlatform();
}

char ScoresAddLastScore()
{
    _GameScores *table = ScoresGetGameScoresForCurrentGameTypeAndDifficulty(1);
    const _HighScore *last = ScoresGetLastScoreForCurrentGameTypeAndDifficulty(nullptr);
    if (!table || !last)
    {
        DebugError(ENG_FUNC, "No last score exists.");
        return 0;
    }
    if (!last->userId || !last->score)
    {
        DebugError(ENG_FUNC, "Problem with score [%u,%d]", (unsigned)last->userId, (int)last->score);
        return 0;
    }
    _ScoresScore score;
    ScoresFillOnlineScore(last, &score);
    const int gameType = GameState.userOptions.gameType;
    const int tableId = ScoresGetTableId(gameType, GameState.userOptions.difficulty[gameType]);
    EngResultCode result = ScoresSubmitScore(SCORES_PROGRAM_ID, SCORES_GAME_VERSION, tableId, &score, nullptr,
                                             &table->onlineMinimumScore);
    table->sendState = (uint8_t)result;
    return ScoresSubmitIsSubmitResultCodeASubmission(result) ? 1 : 0;
}

void ScoresFreeOnlineScores()
{
    delete s_onlineScores;
    s_onlineScores = nullptr;
}

bool ScoresSetupOnlineScores(int gameType, int difficulty, int range, char now)
{
    ScoresFreeOnlineScores();
    s_onlineScores = new ScoresMain();
    if (!s_onlineScores->Setup(SCORES_PROGRAM_ID, SCORES_GAME_VERSION, 100, ScoresGetTableId(gameType, difficulty),
                               range, nullptr, 1, 15))
        return false;
    s_onlineScores->SetUpperCaseNames();
    if (now)
        s_onlineScores->Update();
    else
        s_onlineScores->UpdateIfNeeded(1);
    return true;
}

char ScoresIsUpdating()
{
    if (!s_onlineScores)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return 0;
    }
    return s_onlineScores->IsUpdateFinished() ? 0 : 1;
}

int ScoresGetNumOnlineScores()
{
    return s_onlineScores ? s_onlineScores->GetNumScores() : 0;
}

const _ScoresScore *ScoresGetOnlineScoresList(char log)
{
    if (!s_onlineScores)
    {
        if (log)
            DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    return s_onlineScores->GetScoresList();
}

const _ScoresScore *ScoresGetOnlineScore(int index, char log)
{
    if (!s_onlineScores)
    {
        if (log)
            DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    return s_onlineScores->GetScore(index);
}

void ScoresRemoveSavedFilesForAllRanges(int gameType, int difficulty)
{
    char *name = (char *)EngMalloc(512, "ScoresRemoveSavedFilesForAllRanges", true);
    if (!name)
        return;
    for (int range = 0; range < 5; range++)
    {
        if (ScoresMain_GetFileName(SCORES_PROGRAM_ID, ScoresGetTableId(gameType, difficulty), range, name, 512) &&
            EngFileExists(name, false))
            EngFileDelete(name, true);
    }
    EngFree(name, true, "ScoresRemoveSavedFilesForAllRanges");
}
