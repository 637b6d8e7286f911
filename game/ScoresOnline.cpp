// The game's glue to the online score service (OnlineScores.h): sending the last score
// of the current table and the one online list the menus show. Without the service's
// hooks a list is open but empty and always up to date, and nothing is sent.
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "GameState.h"
#include "OnlineScores.h"
#include "Platform.h"
#include "Scores.h"

static struct
{
    _OnlineScoresHooks hooks;
    bool listOpen;     // ScoresSetupOnlineScores succeeded and nothing freed the list since
    void *list;        // the service's list; NULL without the service
    int32_t lastResult; // how the list's last fetch ended (0: none ended yet)
    char lastMessage[256];
} s_online = {};

void OnlineScoresSetHooks(const _OnlineScoresHooks *hooks)
{
    s_online.hooks = hooks ? *hooks : _OnlineScoresHooks{};
}

void ScoresFillOnlineScore(const _HighScore *row, _ScoresScore *score)
{
    memset(score, 0, sizeof(*score));
    score->v1 = (int32_t)row->score;
    if (row->startLevel >= 0 && row->levels >= 0)
        score->v4 = (uint32_t)((row->startLevel + 1) * 65536 + (row->levels + 1));
    score->year = (int32_t)row->date.year;
    score->month = (int8_t)row->date.month;
    score->day = (int8_t)row->date.day;
    score->uid = row->userId;
    // Each copy is bounded by the field it comes from: a 20-character name has no
    // terminator in the row.
    memcpy(score->name, row->name, strnlen(row->name, sizeof(row->name)));
    memcpy(score->cc, row->country, strnlen(row->country, 2));
    score->plat = PlatformGetCurrentPlatform();
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
    const _OnlineScoresHooks &hooks = s_online.hooks;
    EngResultCode result = hooks.submitScore ? hooks.submitScore(SCORES_PROGRAM_ID, SCORES_GAME_VERSION, tableId,
                                                                 &score, &table->onlineMinimumScore)
                                             : EngFourCC("NSTP");
    table->sendState = (uint8_t)result;
    return hooks.isSubmission && hooks.isSubmission(result) ? 1 : 0;
}

void ScoresFreeOnlineScores()
{
    if (s_online.list && s_online.hooks.listFree)
        s_online.hooks.listFree(s_online.list);
    s_online.list = nullptr;
    s_online.listOpen = false;
}

int32_t ScoresGetOnlineListResult(char *message, int size)
{
    if (message && size > 0)
        EngSafeStrcpy(message, s_online.lastMessage, (size_t)size);
    return s_online.lastResult;
}

bool ScoresSetupOnlineScores(int gameType, int difficulty, int range, char now)
{
    ScoresFreeOnlineScores();
    const _OnlineScoresHooks &hooks = s_online.hooks;
    s_online.listOpen = true;
    s_online.lastResult = 0;
    s_online.lastMessage[0] = 0;
    if (!hooks.listCreate)
        return true;
    s_online.list = hooks.listCreate(SCORES_PROGRAM_ID, SCORES_GAME_VERSION, 100,
                                     ScoresGetTableId(gameType, difficulty), range, nullptr, 1, 15);
    if (!s_online.list)
        return false;
    if (hooks.listSetUpperCaseNames)
        hooks.listSetUpperCaseNames(s_online.list);
    if (now && hooks.listUpdate)
        hooks.listUpdate(s_online.list);
    else if (!now && hooks.listUpdateIfNeeded)
        hooks.listUpdateIfNeeded(s_online.list, 1);
    return true;
}

char ScoresIsUpdating()
{
    if (!s_online.listOpen)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return 0;
    }
    const _OnlineScoresHooks &hooks = s_online.hooks;
    if (!s_online.list || !hooks.listIsUpdateFinished)
        return 0;
    // Polling also completes a fetch that has ended; its outcome is kept for the menus.
    int32_t result = 0;
    const char *message = nullptr;
    int8_t finished = hooks.listIsUpdateFinished(s_online.list, &result, &message);
    if (finished == 0)
        return 1;
    if (finished != -1 || result != 0 || message)
    {
        s_online.lastResult = result;
        EngSafeStrcpy(s_online.lastMessage, message ? message : "", sizeof(s_online.lastMessage));
    }
    return 0;
}

int ScoresGetNumOnlineScores()
{
    const _OnlineScoresHooks &hooks = s_online.hooks;
    return s_online.list && hooks.listGetNumScores ? hooks.listGetNumScores(s_online.list) : 0;
}

const _ScoresScore *ScoresGetOnlineScoresList(char log)
{
    if (!s_online.listOpen)
    {
        if (log)
            DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    const _OnlineScoresHooks &hooks = s_online.hooks;
    return s_online.list && hooks.listGetScoresList ? hooks.listGetScoresList(s_online.list) : nullptr;
}

const _ScoresScore *ScoresGetOnlineScore(int index, char log)
{
    if (!s_online.listOpen)
    {
        if (log)
            DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    const _OnlineScoresHooks &hooks = s_online.hooks;
    return s_online.list && hooks.listGetScore ? hooks.listGetScore(s_online.list, index) : nullptr;
}

void ScoresRemoveSavedFilesForAllRanges(int gameType, int difficulty)
{
    char *name = (char *)EngMalloc(512, "ScoresRemoveSavedFilesForAllRanges", true);
    if (!name)
        return;
    for (int range = 0; range < 5; range++)
    {
        if (s_online.hooks.getFileName &&
            s_online.hooks.getFileName(SCORES_PROGRAM_ID, ScoresGetTableId(gameType, difficulty), range, name, 512) &&
            EngFileExists(name, false))
            EngFileDelete(name, true);
    }
    EngFree(name, true, "ScoresRemoveSavedFilesForAllRanges");
}

bool ScoresIsOnlineServiceAvailable()
{
    return s_online.hooks.listCreate != nullptr;
}
