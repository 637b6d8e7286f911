// The online score service as the game calls it: the score row that lists, caches and
// submissions carry, and the operations the online layer above hands over at start-up
// with OnlineScoresSetHooks (the rules link the engine core only). A member left NULL
// does nothing and answers its default: lists stay empty and nothing is sent.
//
// Contract of each member (`list` is a handle listCreate gave out):
//   submitScore(programId, gameVersion, tableId, score, onlineMinimumScore)
//                      submit one score, blocking; writes the online list's minimum score
//                      to `onlineMinimumScore`. The service's result code.
//                      Default: EngFourCC("NSTP").
//   isSubmission(code) whether a result code means the score was stored. Default: false.
//   listCreate(programId, gameVersion, listSize, tableId, range, valid, flag, refreshMinutes)
//                      a new online list of one table and range, fetched in the
//                      background and cached: its handle, NULL when it cannot be set up.
//   listFree(list)     releases a list; NULL does nothing.
//   listSetUpperCaseNames(list), listUpdate(list), listUpdateIfNeeded(list, flag)
//   listIsUpdateFinished(list)     Default: true.
//   listGetNumScores(list)         Default: 0.
//   listGetScoresList(list), listGetScore(list, index)   Default: NULL.
//   getFileName(programId, tableId, range, buffer, size)
//                      the name of a table's cached list file in the per-user "Scores"
//                      folder; false when there is none. Default: false.
#pragma once
#include <cstddef>
#include <cstdint>

#include "EngMisc.h"
#include "EngTypes.h"

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

struct _OnlineScoresHooks
{
    EngResultCode (*submitScore)(int programId, int gameVersion, int tableId, const _ScoresScore *score,
                                 int32_t *onlineMinimumScore);
    bool (*isSubmission)(EngResultCode code);
    void *(*listCreate)(int programId, int gameVersion, int listSize, int tableId, int range, ScoresValidityFn valid,
                        char flag, int refreshMinutes);
    void (*listFree)(void *list);
    void (*listSetUpperCaseNames)(void *list);
    void (*listUpdate)(void *list);
    void (*listUpdateIfNeeded)(void *list, char flag);
    bool (*listIsUpdateFinished)(void *list);
    int (*listGetNumScores)(void *list);
    const _ScoresScore *(*listGetScoresList)(void *list);
    const _ScoresScore *(*listGetScore)(void *list, int index);
    bool (*getFileName)(int programId, int tableId, int range, char *buffer, int size);
};

// Copies `hooks` (NULL: every member unset). The online layer calls it at start-up.
void OnlineScoresSetHooks(const _OnlineScoresHooks *hooks);
