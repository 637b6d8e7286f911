// The online score service as the game calls it: the score row, the list object, the
// submission and the cache file names. The bodies are placeholders
// (OnlineScoresPlaceholder.cpp) until the online services land; the record, the names
// and the signatures are theirs.
#pragma once
#include <cstddef>
#include <cstdint>

#include "EngMiscDate_Placeholder.h"
#include "EngTypes.h"

class MWin;

// One online score row, as lists, caches and submissions carry it.
struct _ScoresScore
{
    uint32_t score;
    uint32_t zero[2];
    int32_t levelCode;     // (start level + 1) x 65536 + (levels + 1), or 0
    _EngMiscDate date;
    uint16_t userId;
    char name[32];
    char country[4];       // 3 characters and the terminator
    char platform;         // platform letter
    uint8_t reserved[25];
};
static_assert(sizeof(_ScoresScore) == 88);
static_assert(offsetof(_ScoresScore, levelCode) == 12);
static_assert(offsetof(_ScoresScore, date) == 16);
static_assert(offsetof(_ScoresScore, userId) == 24);
static_assert(offsetof(_ScoresScore, name) == 26);
static_assert(offsetof(_ScoresScore, country) == 58);
static_assert(offsetof(_ScoresScore, platform) == 62);

typedef bool (*ScoresValidityFn)(const _ScoresScore *score);

// The online list of one table and range, fetched in the background and cached.
class ScoresMain
{
public:
    ScoresMain();
    ~ScoresMain();
    bool Setup(int programId, int gameVersion, int listSize, int tableId, int range, ScoresValidityFn valid,
               char flag, int refreshMinutes);
    void SetUpperCaseNames();
    void Update();
    void UpdateIfNeeded(char flag);
    bool IsUpdateFinished();
    int GetNumScores();
    const _ScoresScore *GetScoresList();
    const _ScoresScore *GetScore(int index);

private:
    int numScores;
};

// Submits one score, blocking; writes back the online list's minimum score. The
// service's result code.
EngResultCode ScoresSubmitScore(int programId, int gameVersion, int tableId, const _ScoresScore *score, MWin *gui,
                                int32_t *onlineMinimumScore);
// Whether a result code means the score was stored.
bool ScoresSubmitIsSubmitResultCodeASubmission(EngResultCode code);
// The name of a table's cached list file in the per-user "Scores" folder.
bool ScoresMain_GetFileName(int programId, int tableId, int range, char *buffer, int size);
