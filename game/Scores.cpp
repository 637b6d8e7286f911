// Local high scores over the working copy of the player's options: the current table,
// the checks of its last score and the entry of a finished game. The player's name,
// country and id come from the player record (GameGetUser).
#include "Scores.h"

#include <algorithm>
#include <cstring>

#include "EngDebug.h"
#include "EngMemory.h"
#include "AppHooks.h"
#include "GameState.h"
#include "Plinx.h"
#include "User.h"

int ScoresGetTableId(int gameType, int difficulty)
{
    return (gameType * 10 + difficulty + 51) * 100;
}

_GameScores *ScoresGetGameScoresForCurrentGameTypeAndDifficulty(char log)
{
    _UserOptions &options = GameState.userOptions;
    const int gameType = options.gameType;
    if (gameType < GAME_TYPE_ARCADE || gameType > GAME_TYPE_PUZZLE)
    {
        if (log)
            DebugError(ENG_FUNC, "No scores for game type %d", gameType);
        return nullptr;
    }
    const int difficulty = options.difficulty[gameType];
    const int count = PlinxGetNumDifficultiesForGameType(gameType);
    if (difficulty < 0 || difficulty >= count)
    {
        if (log)
            DebugError(ENG_FUNC, "Bad diff value %d (%d)", difficulty, count);
        return nullptr;
    }
    return &options.gameScores[gameType][difficulty];
}

_HighScore *ScoresGetLastScoreForCurrentGameTypeAndDifficulty(int *index)
{
    if (index)
        *index = -1;
    _GameScores *table = ScoresGetGameScoresForCurrentGameTypeAndDifficulty(0);
    if (!table || !table->lastScoreExists)
        return nullptr;
    const _UserOptions &options = GameState.userOptions;
    const _HighScore &last = table->lastScore;
    // A damaged player file never sends a wrong score: each inconsistency is logged and
    // the last score forgotten.
    bool consistent = false;
    if (last.gameType != options.gameType)
        DebugError(ENG_FUNC, "Game type problem [%d != %d]", last.gameType, options.gameType);
    else if (last.difficulty != options.difficulty[options.gameType])
        DebugError(ENG_FUNC, "Difficulty problem [%d != %d]", last.difficulty, options.difficulty[options.gameType]);
    else if (table->lastScoreIndex < 0 || table->lastScoreIndex >= table->numRows ||
             table->numRows > SCORES_MAX_ROWS)
        DebugError(ENG_FUNC, "last_score_entry_num problem (%d,%d)", table->lastScoreIndex, table->numRows);
    else if (memcmp(&table->rows[table->lastScoreIndex], &last, sizeof(_HighScore)) != 0)
        DebugError(ENG_FUNC, "contents problem");
    else
        consistent = true;
    if (!consistent)
    {
        table->lastScoreExists = 0;
        return nullptr;
    }
    if (index)
        *index = table->lastScoreIndex;
    return &table->lastScore;
}

void ScoresGetRowName(const _HighScore *row, char out[SCORES_NAME_SIZE + 1])
{
    size_t length = strnlen(row->name, SCORES_NAME_SIZE);
    memcpy(out, row->name, length);
    out[length] = 0;
}

// Copies up to `size` characters of `text` into a field of `size` bytes, zero-filled; a
// text that fills the field has no terminator.
static void ScoresCopyField(char *field, const char *text, size_t size)
{
    memset(field, 0, size);
    if (text)
        memcpy(field, text, strnlen(text, size));
}

static int8_t ScoresClampToByte(int value)
{
    return (int8_t)std::clamp(value, -128, 127);
}

// Score descending; equal scores by name, bytes compared unsigned.
static bool ScoresRowOrder(const _HighScore &a, const _HighScore &b)
{
    if (a.score != b.score)
        return a.score > b.score;
    return memcmp(a.name, b.name, SCORES_NAME_SIZE) < 0;
}

void ScoresCheckGameOverScore()
{
    _GameState &gs = GameState;
    _UserOptions &options = gs.userOptions;
    const int gameType = options.gameType;
    if (gameType < GAME_TYPE_ARCADE || gameType > GAME_TYPE_PUZZLE)
        return;
    for (auto &type : options.gameScores)
    {
        for (_GameScores &table : type)
        {
            table.lastScoreExists = 0;
            memset(&table.lastScore, 0, sizeof(table.lastScore));
        }
    }
    if (gs.score <= 0)
        return;
    _GameScores *table = ScoresGetGameScoresForCurrentGameTypeAndDifficulty(1);
    if (!table)
        return;
    int count = std::clamp((int)table->numRows, 0, (int)SCORES_MAX_ROWS);
    int index = count;
    if (count < SCORES_MAX_ROWS)
    {
        count++;
    }
    else
    {
        if ((uint32_t)gs.score <= table->rows[SCORES_MAX_ROWS - 1].score)
            return;
        index = SCORES_MAX_ROWS - 1;
    }
    table->numRows = count;

    _HighScore &row = table->rows[index];
    memset(&row, 0, sizeof(row));
    row.score = (uint32_t)gs.score;
    UserClass *user = GameGetUser();
    const _UserInfo *info = user ? user->GetInfo(0) : nullptr;
    if (info)
    {
        ScoresCopyField(row.name, info->name, SCORES_NAME_SIZE);
        ScoresCopyField(row.country, info->country, SCORES_COUNTRY_SIZE - 1);
        row.userId = info->userId;
    }
    if (!row.userId)
        DebugError(ENG_FUNC, "No user id");
    const int difficulty = options.difficulty[gameType];
    row.gameType = (int8_t)gameType;
    row.difficulty = (int8_t)difficulty;
    row.speed = options.speed[gameType];
    switch (gameType)
    {
    case GAME_TYPE_ARCADE:
        row.startLevel = options.arcadeStartLevel;
        row.levels = ScoresClampToByte(gs.level / 3);
        break;
    case GAME_TYPE_STRATEGIC:
        row.startLevel = options.strategicStartSize;
        row.levels = ScoresClampToByte(gs.level);
        break;
    default:
        row.startLevel = options.puzzleLevel[difficulty];
        row.levels = ScoresClampToByte(gs.level);
        break;
    }
    for (_HighScore &other : table->rows)
        other.justAdded = 0;
    row.justAdded = 1;
    EngMiscGetCurrentDate(&row.date);

    std::sort(table->rows, table->rows + count, ScoresRowOrder);
    for (int i = 0; i < count; i++)
    {
        if (!table->rows[i].justAdded)
            continue;
        table->lastScoreExists = 1;
        table->lastScore = table->rows[i];
        table->lastScoreIndex = i;
        table->sendState = (table->onlineMinimumScore == 0 || gs.score >= table->onlineMinimumScore)
                               ? SCORES_SEND_QUALIFIES
                               : SCORES_SEND_TOO_LOW;
        break;
    }
    for (auto &type : options.gameScores)
        for (_GameScores &other : type)
            if (&other != table)
                other.lastScoreExists = 0;

    if (AppGetMenuScreen() == EngFourCC("MAIN"))
        AppUpdateGameSetupButtons();
    if (!options.autoSubmitAsked)
    {
        options.autoSubmitAsked = 1;
        AppAskAutoSubmitScores();
    }
    else if (options.autoSubmitOn == 1)
    {
        AppRequestAutoSubmitScore();
    }
}
