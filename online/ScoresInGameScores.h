// Where the current score would stand in the online lists during a game: the year, month,
// week and day lists of the game's table are read (cache or background fetch) one at a
// time, once per game, and merged; each calculation finds the highest merged row the
// score reaches and, when the place changed, builds a text such as "WEEK POSITION 4".
// Main thread only; at most one list is alive at a time.
#pragma once
#include <cstdint>

#include "OnlineScores.h"

class ScoresMain;

enum
{
    SCORES_PLACE_TEXT_SIZE = 128,
    SCORES_PLACE_FIRST_RETRY_SECONDS = 30, // no rows at all: the lists are read again after this,
    SCORES_PLACE_MAX_RETRY_SECONDS = 480,  // doubling each time up to this
};

// One merged row: the range and position (from 0) of the list it came from.
struct _ScoresPlaceEntry
{
    uint8_t range;
    uint16_t position;
    _ScoresScore row;
};

// Appends the rows of one list to `entries` (room for `capacity`), skipping a row whose
// score and name (compared within the name field) an entry already has; the new count.
int ScoresPlaceMergeRows(_ScoresPlaceEntry *entries, int count, int capacity, int range, const _ScoresScore *rows,
                         int numRows);
// Sorts entries by score, highest first (equal scores keep range, then position order),
// and answers the first entry whose score is at most `score`: -1 below every entry.
int ScoresPlaceFind(_ScoresPlaceEntry *entries, int count, int32_t score);
// The place text of an entry: "%s POSITION %d" with its range's name and position + 1;
// with `detail` also "  -  <name>  <score>" (the name read within its field).
void ScoresPlaceFormat(const _ScoresPlaceEntry *entry, bool detail, char *out, int size);

class ScoresInGameScores
{
public:
    ScoresInGameScores();
    ~ScoresInGameScores();
    ScoresInGameScores(const ScoresInGameScores &) = delete;
    ScoresInGameScores &operator=(const ScoresInGameScores &) = delete;

    // Forgets a previous list; `detail` adds the row's player and score to the text.
    bool Setup(int program, uint16_t gameVersion, int32_t listSize, uint32_t set, ScoresValidityFn valid,
               uint32_t refreshMinutes, bool upperCaseNames, bool detail);
    // A new game: merged rows, done ranges and the place forgotten, the owned list deleted.
    void Reset();
    // Engine-clock seconds of the next calculation (0 none); `atOnce`: the next Tick.
    void SetCalcPlaceTime(double time, bool atOnce);
    // Once a frame: calculates when asked at once or when the scheduled time has passed.
    // True when a new place text was built.
    bool Tick(int32_t score);
    // True when a new place text was built.
    bool CalcPlaceInOnlineScoresList(int32_t score);

    bool IsSetup(bool report);
    // The owned list is still being fetched (polling also completes the fetch).
    bool IsUpdating();
    bool IsScoresActive(int range);

    // The last place text ("" before the first one).
    const char *GetPlaceText() const { return placeText; }
    // -2 not yet calculated, -1 below every row, else an index into the merged rows.
    int32_t GetLastPlace() const { return lastPlace; }
    // The last place's entry, or NULL.
    const _ScoresPlaceEntry *GetPlaceEntry() const;
    int GetNumMergedRows() const { return numEntries; }
    double GetCalcPlaceTime() const { return calcTime; }

private:
    bool MakeList(int range);
    void DeleteList();
    void Schedule(double seconds, bool atOnce);
    bool GrowEntries(int needed);

    uint8_t setup;
    int program;
    uint16_t gameVersion;
    int32_t listSize;
    uint32_t set;
    ScoresValidityFn valid;
    uint32_t refreshMinutes;
    uint8_t upperCaseNames;
    uint8_t detail;
    double calcTime;
    uint8_t calcAtOnce;
    ScoresMain *list;
    uint8_t done[5];
    int32_t lastPlace;
    char *placeText;
    _ScoresPlaceEntry *entries;
    int numEntries;
    int capacity;
    int32_t retrySeconds; // the wait before the lists are read again when none had rows
    uint8_t waitingRetry; // no list is read again until the scheduled calculation
};

// ---- The game's place finder -------------------------------------------------------------------
// The one in-game finder the play screen asks, over the game's table and options.
// A new game of a table (`tableId` 0: none, e.g. MY PUZZLES): reset, set up and the first
// calculation scheduled one second ahead.
void ScoresInGameStart(uint32_t tableId, bool detail);
// The place of a score changed and a new text was built.
bool ScoresInGameCalcPlace(int32_t score);
bool ScoresInGameTick(int32_t score);
// The current text and the position (from 0) in its list; NULL when there is none.
const char *ScoresInGameGetPlace(int *position);
// Drops the list (and its fetch); at program end.
void ScoresInGameShutdown();
