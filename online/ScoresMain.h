// One online high-score list: one program, one set (the table of a game type and
// difficulty) and one range. Fetched in the background from the scores script through
// an EngInternetThread, parsed into _ScoresScore rows and cached per list in the
// "Scores" folder of the per-user folder; the cache answers while it is younger than the
// refresh time. Main thread only.
#pragma once
#include <cstdint>

#include "OnlineScores.h"
#include "ScoresReply.h"

class EngInternetThread;

enum _ScoresRange
{
    SCORES_RANGE_ALL_TIME = 0,
    SCORES_RANGE_YEAR = 1,
    SCORES_RANGE_MONTH = 2,
    SCORES_RANGE_WEEK = 3,
    SCORES_RANGE_DAY = 4,
    SCORES_NUM_RANGES = 5,
};

// Program ids the scores script knows; the test program never touches the cache.
enum _ScoresProgram
{
    SCORES_PROGRAM_PLINX = 50,
    SCORES_PROGRAM_TEST = 99,
};

// Outcomes written through IsUpdateFinished's result beyond the reader's statuses
// (_EngInternetThreadReadResult).
enum
{
    SCORES_RESULT_REFUSED = -4,     // the server's error, a version problem or an unreadable reply
    SCORES_RESULT_OUT_OF_DATE = -5, // the game is older than the service wants
};

enum
{
    SCORES_REPLY_BYTES = 8192,   // a reply of this many bytes or more is refused
    SCORES_URL_SIZE = 512,
    SCORES_FILE_NAME_SIZE = 512,
    SCORES_READER_RING = 20,
    SCORES_MESSAGE_SIZE = 256,
};

// "ALL TIME", "YEAR", "MONTH", "WEEK", "DAY"; "?" outside 0-4.
const char *ScoresGetRangeName(int range);
// The cache letter of a range ("AYMWD"); '?' outside 0-4.
char ScoresGetRangeLetter(int range);

// A row as the list may show it: v1 >= 1, v2 >= 0, a name and a player id, f1..f4 in
// 0..9, a valid date and, when asked, a known platform letter. Logged when refused.
bool ScoresMainIsScoreValid(const _ScoresScore *row, bool checkPlatform);

// The cache file of a list: "<per-user>/Scores/Scores_<program>_<set>_<letter>.sco"
// ("ScoresMainTest.sco" for the test program). False for a range outside 0-4 or a
// name that does not fit.
bool ScoresMainGetFileName(int program, uint32_t set, int range, char *out, int size, bool createFolder);

// Which country codes a row may carry. The country table lives above this layer; until
// one is registered, any two upper-case letters pass.
void ScoresMainSetCountryCheck(ScoresCountryCheckFn check);

class ScoresMain
{
public:
    ScoresMain();
    // Stops a fetch; the readers still parked are aborted and destroyed.
    ~ScoresMain();
    ScoresMain(const ScoresMain &) = delete;
    ScoresMain &operator=(const ScoresMain &) = delete;

    // Refused ('BAPA') unless listSize > 0, program, gameVersion and refreshMinutes are
    // nonzero and range < 5. May be repeated (forgets a running fetch).
    bool Setup(int program, uint16_t gameVersion, int32_t listSize, uint32_t set, int range, ScoresValidityFn valid,
               bool fetchWhenStale, uint32_t refreshMinutes);
    void SetUpperCaseNames();
    // Starts a fetch (true when one runs).
    bool Update();
    // Polls the fetch: 0 still reading, 1 a list came, -1 ended without one (or none
    // runs), -2 the reader had ended. *result: 1 reading, 2 done, -1 time-out, -2 failed,
    // -3 cancelled, 0 reader gone, -4 refused, -5 out of date. *message: the service's
    // message (valid until the next fetch) or NULL.
    int8_t IsUpdateFinished(int32_t *result, const char **message);
    // 0 nothing done, 1 a fetch runs (or was started now), 2 the list came from the cache.
    int8_t UpdateIfNeeded(bool force);
    void StopUpdating();

    const _ScoresScore *GetScoresList(bool quiet);
    const _ScoresScore *GetScore(int n);
    int GetNumScores();
    int GetRange();
    uint32_t GetSet();
    bool IsUpdating() const { return updating != 0; }
    // Engine-clock seconds of the next cache check (0 when none is due).
    double GetNextCheckTime() const { return nextCheckTime; }
    const char *GetCacheFileName() const { return cacheFileName ? cacheFileName : ""; }

private:
    bool IsSetup(const char *function);
    void ReleaseReader(const char *why);
    void ReadReply(const char *reply, uint32_t size, int32_t *result, const char **message, int8_t *answer);
    void UpdateScoresIfNeeded();
    void WriteCache();
    bool LoadCache();

    uint8_t setup;
    int program;
    uint32_t set;
    int range;
    ScoresValidityFn valid;
    uint16_t gameVersion;
    int32_t listSize;
    uint8_t fetchWhenStale;
    uint32_t refreshMinutes;
    uint8_t upperCaseNames;
    int32_t numScores;
    _ScoresScore *scores;
    double nextCheckTime;
    uint8_t updating;
    char *reply;
    char *cacheFileName;
    uint32_t startPosition;
    uint32_t endPosition;
    char *url;
    EngInternetThread *readers[SCORES_READER_RING];
    int currentReader;
    char message[SCORES_MESSAGE_SIZE];
};

// ---- The online base address ---------------------------------------------------------------
// The address every online script lives under (no trailing '/'): compiled in, or named
// by the environment variable PLINX_ONLINE_BASE_URL, and replaced for tests pointing at
// a server on 127.0.0.1. NULL restores the standard one.
void OnlineSetBaseAddress(const char *address);
const char *OnlineGetBaseAddress();

// Hands the game's score module its online operations (lists over ScoresMain, the
// submission of its last score) and the row check its country table offers. Called once
// at start-up by the program.
void OnlineRegisterScoreHooks(ScoresCountryCheckFn countryCheck);
