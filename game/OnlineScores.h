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
//   listCreate(programId, gameVersion, listSize, tableId, range, valid, fetchWhenStale,
//              refreshMinutes)
//                      a new online list of one table and range, fetched in the
//                      background and cached: its handle, NULL when it cannot be set up.
//   listFree(list)     releases a list; NULL does nothing.
//   listSetUpperCaseNames(list), listUpdate(list) (fetch now),
//   listUpdateIfNeeded(list, force) (the cache, or a fetch when it is too old)
//   listIsUpdateFinished(list, result, message)
//                      polls the fetch: 0 still reading, 1 a list came, -1 ended without
//                      one (or no fetch runs), -2 the reader had gone. *result gets the
//                      outcome (2 done, 1 reading, -1 time-out, -2 failed, -3 cancelled,
//                      -4 refused or unreadable reply, -5 the game is out of date);
//                      *message the service's message or NULL. Default: -1.
//   listGetNumScores(list)         Default: 0.
//   listGetScoresList(list), listGetScore(list, index)   Default: NULL.
//   getFileName(programId, tableId, range, buffer, size)
//                      the name of a table's cached list file in the per-user "Scores"
//                      folder; false when there is none. Default: false.
#pragma once
#include <cstddef>
#include <cstdint>

#include "EngTypes.h"

// One online score row, as list replies, cache files and submissions carry it; stored
// whole, little-endian, padding zero.
struct _ScoresScore
{
    int32_t v1;         // score; a valid row has v1 >= 1
    int32_t v2;         // second value (>= 0); this game sends 0
    uint32_t v3;        // third value; this game sends 0
    uint32_t v4;        // (start level + 1) x 65536 + (levels + 1), or 0
    int32_t year;       // date of the score
    int8_t month;       // 1..12
    int8_t day;         // 1..31
    uint8_t padding1[2];
    uint16_t uid;       // player id, nonzero
    char name[32];      // zero-terminated, not empty
    char cc[3];         // two-letter country code and a zero
    char fb[20];        // short text, zero-terminated; this game sends it empty
    char plat;          // platform letter
    int8_t f1, f2, f3, f4; // four small values 0..9; this game sends 0
    uint8_t padding2[2];
};
static_assert(sizeof(_ScoresScore) == 88);
static_assert(offsetof(_ScoresScore, v1) == 0);
static_assert(offsetof(_ScoresScore, v2) == 4);
static_assert(offsetof(_ScoresScore, v3) == 8);
static_assert(offsetof(_ScoresScore, v4) == 12);
static_assert(offsetof(_ScoresScore, year) == 16);
static_assert(offsetof(_ScoresScore, month) == 20);
static_assert(offsetof(_ScoresScore, day) == 21);
static_assert(offsetof(_ScoresScore, padding1) == 22);
static_assert(offsetof(_ScoresScore, uid) == 24);
static_assert(offsetof(_ScoresScore, name) == 26);
static_assert(offsetof(_ScoresScore, cc) == 58);
static_assert(offsetof(_ScoresScore, fb) == 61);
static_assert(offsetof(_ScoresScore, plat) == 81);
static_assert(offsetof(_ScoresScore, f1) == 82);
static_assert(offsetof(_ScoresScore, f2) == 83);
static_assert(offsetof(_ScoresScore, f3) == 84);
static_assert(offsetof(_ScoresScore, f4) == 85);
static_assert(offsetof(_ScoresScore, padding2) == 86);

typedef bool (*ScoresValidityFn)(const _ScoresScore *score);

struct _OnlineScoresHooks
{
    EngResultCode (*submitScore)(int programId, int gameVersion, int tableId, const _ScoresScore *score,
                                 int32_t *onlineMinimumScore);
    bool (*isSubmission)(EngResultCode code);
    void *(*listCreate)(int programId, int gameVersion, int listSize, int tableId, int range, ScoresValidityFn valid,
                        char fetchWhenStale, int refreshMinutes);
    void (*listFree)(void *list);
    void (*listSetUpperCaseNames)(void *list);
    void (*listUpdate)(void *list);
    void (*listUpdateIfNeeded)(void *list, char force);
    int8_t (*listIsUpdateFinished)(void *list, int32_t *result, const char **message);
    int (*listGetNumScores)(void *list);
    const _ScoresScore *(*listGetScoresList)(void *list);
    const _ScoresScore *(*listGetScore)(void *list, int index);
    bool (*getFileName)(int programId, int tableId, int range, char *buffer, int size);
};

// Copies `hooks` (NULL: every member unset). The online layer calls it at start-up.
void OnlineScoresSetHooks(const _OnlineScoresHooks *hooks);

// How the last fetch of the menus' online list ended (as listIsUpdateFinished's
// result; 0 before any ended) and the service's message of it ("" when none).
int32_t ScoresGetOnlineListResult(char *message, int size);
