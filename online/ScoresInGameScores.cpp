// The in-game online position: one list alive at a time (ScoresMain, from its cache or a
// background fetch), merged into a growing array of entries, then a sorted scan per
// calculation. The game's one finder sits at the end, over a static object.
//
// Sections: merging and finding; the finder object; the game's finder.
#include "ScoresInGameScores.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "Scores.h"
#include "ScoresMain.h"

namespace
{

const double kListPollSeconds = 5.0;
const double kFirstCalcSeconds = 1.0;

double NowSeconds()
{
    return EngMiscGetClock_PC();
}

// Same player and score: names compared within their field, never past it.
bool SameRow(const _ScoresScore &a, const _ScoresScore &b)
{
    return a.v1 == b.v1 && strncmp(a.name, b.name, sizeof(a.name)) == 0;
}

// Highest score first; equal scores in the order they were merged (range, position).
bool Before(const _ScoresPlaceEntry &a, const _ScoresPlaceEntry &b)
{
    if (a.row.v1 != b.row.v1)
        return a.row.v1 > b.row.v1;
    if (a.range != b.range)
        return a.range < b.range;
    return a.position < b.position;
}

} // namespace

// ---- Merging and finding ------------------------------------------------------------------------

int ScoresPlaceMergeRows(_ScoresPlaceEntry *entries, int count, int capacity, int range, const _ScoresScore *rows,
                         int numRows)
{
    if (!entries || !rows || count < 0)
        return count < 0 ? 0 : count;
    for (int i = 0; i < numRows && count < capacity; i++)
    {
        bool known = false;
        for (int j = 0; j < count && !known; j++)
            known = SameRow(entries[j].row, rows[i]);
        if (known)
            continue;
        _ScoresPlaceEntry &entry = entries[count++];
        entry.range = (uint8_t)range;
        entry.position = (uint16_t)i;
        entry.row = rows[i];
    }
    return count;
}

int ScoresPlaceFind(_ScoresPlaceEntry *entries, int count, int32_t score)
{
    if (!entries || count <= 0)
        return -1;
    // Insertion sort: the entries are sorted after the first call, so later ones only scan.
    for (int i = 1; i < count; i++)
    {
        if (!Before(entries[i], entries[i - 1]))
            continue;
        _ScoresPlaceEntry moving = entries[i];
        int j = i;
        for (; j > 0 && Before(moving, entries[j - 1]); j--)
            entries[j] = entries[j - 1];
        entries[j] = moving;
    }
    if (score < entries[count - 1].row.v1)
        return -1;
    for (int i = 0; i < count; i++)
    {
        if (entries[i].row.v1 <= score)
            return i;
    }
    return -1;
}

void ScoresPlaceFormat(const _ScoresPlaceEntry *entry, bool detail, char *out, int size)
{
    if (!out || size <= 0)
        return;
    if (!entry)
    {
        out[0] = 0;
        return;
    }
    const char *rangeName = ScoresGetRangeName(entry->range);
    if (detail)
        snprintf(out, (size_t)size, "%s POSITION %d  -  %.*s  %d", rangeName, entry->position + 1,
                 (int)strnlen(entry->row.name, sizeof(entry->row.name)), entry->row.name, (int)entry->row.v1);
    else
        snprintf(out, (size_t)size, "%s POSITION %d", rangeName, entry->position + 1);
}

// ---- The finder object --------------------------------------------------------------------------

ScoresInGameScores::ScoresInGameScores()
    : setup(0), program(0), gameVersion(0), listSize(0), set(0), valid(nullptr), refreshMinutes(0),
      upperCaseNames(0), detail(0), calcTime(0), calcAtOnce(0), list(nullptr), done{}, lastPlace(-2),
      placeText(nullptr), entries(nullptr), numEntries(0), capacity(0),
      retrySeconds(SCORES_PLACE_FIRST_RETRY_SECONDS), waitingRetry(0)
{
    placeText = (char *)EngMalloc(SCORES_PLACE_TEXT_SIZE, "ScoresInGameScores::ScoresInGameScores", true);
}

ScoresInGameScores::~ScoresInGameScores()
{
    DeleteList();
    EngFree(entries, true, "ScoresInGameScores::~ScoresInGameScores");
    EngFree(placeText, true, "ScoresInGameScores::~ScoresInGameScores");
}

bool ScoresInGameScores::Setup(int programId, uint16_t version, int32_t size, uint32_t table, ScoresValidityFn check,
                               uint32_t minutes, bool upperCase, bool withDetail)
{
    DeleteList();
    program = programId;
    gameVersion = version;
    listSize = size;
    set = table;
    valid = check;
    refreshMinutes = minutes;
    upperCaseNames = upperCase ? 1 : 0;
    detail = withDetail ? 1 : 0;
    setup = 1;
    return true;
}

void ScoresInGameScores::Reset()
{
    numEntries = 0;
    memset(done, 0, sizeof(done));
    lastPlace = -2;
    if (placeText)
        placeText[0] = 0;
    calcTime = 0;
    calcAtOnce = 0;
    retrySeconds = SCORES_PLACE_FIRST_RETRY_SECONDS;
    waitingRetry = 0;
    DeleteList();
}

void ScoresInGameScores::SetCalcPlaceTime(double time, bool atOnce)
{
    calcTime = time;
    calcAtOnce = atOnce ? 1 : 0;
}

void ScoresInGameScores::Schedule(double seconds, bool atOnce)
{
    calcTime = NowSeconds() + seconds;
    calcAtOnce = atOnce ? 1 : 0;
}

bool ScoresInGameScores::Tick(int32_t score)
{
    if (!setup)
        return false;
    // A scheduled or asked-for calculation also ends the wait before lists are read again.
    if (calcAtOnce)
    {
        calcAtOnce = 0;
        waitingRetry = 0;
        return CalcPlaceInOnlineScoresList(score);
    }
    if (calcTime > 0 && NowSeconds() >= calcTime)
    {
        calcTime = 0;
        waitingRetry = 0;
        return CalcPlaceInOnlineScoresList(score);
    }
    return false;
}

bool ScoresInGameScores::IsSetup(bool report)
{
    if (!setup && report)
        DebugErrorCode("ScoresInGameScores::IsSetup", EngFourCC("NSTP"));
    return setup != 0;
}

bool ScoresInGameScores::IsUpdating()
{
    if (!list || !list->IsUpdating())
        return false;
    int32_t result = 0;
    const char *message = nullptr;
    return list->IsUpdateFinished(&result, &message) == 0;
}

bool ScoresInGameScores::IsScoresActive(int range)
{
    if (!list || list->GetRange() != range)
        return false;
    if (list->GetSet() != set)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return false;
    }
    return true;
}

const _ScoresPlaceEntry *ScoresInGameScores::GetPlaceEntry() const
{
    return lastPlace >= 0 && lastPlace < numEntries ? &entries[lastPlace] : nullptr;
}

bool ScoresInGameScores::MakeList(int range)
{
    list = new (std::nothrow) ScoresMain();
    if (!list)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    if (!list->Setup(program, gameVersion, listSize, set, range, valid, true, refreshMinutes))
    {
        DeleteList();
        return false;
    }
    if (upperCaseNames)
        list->SetUpperCaseNames();
    list->UpdateIfNeeded(true);
    return true;
}

void ScoresInGameScores::DeleteList()
{
    delete list;
    list = nullptr;
}

bool ScoresInGameScores::GrowEntries(int needed)
{
    if (needed <= capacity)
        return true;
    const int grown = std::max(needed, capacity * 2);
    const size_t bytes = (size_t)grown * sizeof(_ScoresPlaceEntry);
    void *more = entries ? EngRealloc(entries, bytes, "ScoresInGameScores::GrowEntries")
                         : EngMalloc(bytes, "ScoresInGameScores::GrowEntries", true);
    if (!more)
        return false;
    entries = (_ScoresPlaceEntry *)more;
    capacity = grown;
    return true;
}

bool ScoresInGameScores::CalcPlaceInOnlineScoresList(int32_t score)
{
    if (!IsSetup(true))
        return false;
    for (int range = SCORES_RANGE_YEAR; range <= SCORES_RANGE_DAY; range++)
    {
        if (done[range])
            continue;
        if (!list || list->GetRange() != range)
        {
            // Lists that came back empty are read again only at the scheduled calculation,
            // not at every score.
            if (waitingRetry)
                return false;
            DeleteList();
            if (!MakeList(range))
            {
                done[range] = 1;
                continue;
            }
            Schedule(kListPollSeconds, true);
            return false;
        }
        if (IsUpdating())
        {
            Schedule(kListPollSeconds, true);
            return false;
        }
        const int rows = std::max(0, list->GetNumScores());
        const _ScoresScore *scores = rows ? list->GetScoresList(true) : nullptr;
        if (scores && GrowEntries(numEntries + rows))
            numEntries = ScoresPlaceMergeRows(entries, numEntries, capacity, range, scores, rows);
        done[range] = 1;
        DeleteList();
    }

    if (numEntries == 0)
    {
        // Nothing to place against: the lists are read again later, each time after a
        // longer wait, so that an empty or unreachable service costs next to nothing.
        lastPlace = -2;
        memset(done, 0, sizeof(done));
        waitingRetry = 1;
        Schedule(retrySeconds, false);
        retrySeconds = std::min(retrySeconds * 2, (int32_t)SCORES_PLACE_MAX_RETRY_SECONDS);
        return false;
    }
    const int place = ScoresPlaceFind(entries, numEntries, score);
    if (place < 0)
    {
        lastPlace = -1;
        return false;
    }
    if (place == lastPlace)
        return false;
    const bool first = lastPlace == -2;
    lastPlace = place;
    if (first || !placeText)
        return false;
    ScoresPlaceFormat(&entries[place], detail != 0, placeText, SCORES_PLACE_TEXT_SIZE);
    return true;
}

// ---- The game's finder ------------------------------------------------------------------------------

namespace
{

struct
{
    bool active; // a game of a table with online lists runs
    ScoresInGameScores *finder;
} s_game = {false, nullptr};

ScoresInGameScores *Finder()
{
    if (!s_game.finder)
        s_game.finder = new (std::nothrow) ScoresInGameScores();
    if (!s_game.finder)
        DebugErrorCode("ScoresInGameStart", EngFourCC("OMEM"));
    return s_game.finder;
}

} // namespace

void ScoresInGameStart(uint32_t tableId, bool detail)
{
    s_game.active = false;
    ScoresInGameScores *finder = Finder();
    if (!finder)
        return;
    finder->Reset();
    if (!tableId)
        return;
    finder->Setup(SCORES_PROGRAM_ID, SCORES_GAME_VERSION, 100, tableId, nullptr, 15, true, detail);
    finder->SetCalcPlaceTime(NowSeconds() + kFirstCalcSeconds, false);
    s_game.active = true;
}

bool ScoresInGameCalcPlace(int32_t score)
{
    return s_game.active && s_game.finder && s_game.finder->CalcPlaceInOnlineScoresList(score);
}

bool ScoresInGameTick(int32_t score)
{
    return s_game.active && s_game.finder && s_game.finder->Tick(score);
}

const char *ScoresInGameGetPlace(int *position)
{
    if (position)
        *position = -1;
    const _ScoresPlaceEntry *entry = s_game.active && s_game.finder ? s_game.finder->GetPlaceEntry() : nullptr;
    if (!entry || !s_game.finder->GetPlaceText()[0])
        return nullptr;
    if (position)
        *position = entry->position;
    return s_game.finder->GetPlaceText();
}

void ScoresInGameShutdown()
{
    s_game.active = false;
    delete s_game.finder;
    s_game.finder = nullptr;
}
