// One online high-score list: the fetch through a ring of background readers, the
// reply parser and the cache file. Every read of the reply is bounded by its length
// (a reply may hold any bytes); a list is taken only when it arrived whole.
//
// Sections: base address and helpers, rows, set-up and queries, fetching, the reply,
// the cache, the reader ring.
#include "ScoresMain.h"

#include <bit>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngInternetThread.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngPrefFolder.h"
#include "Platform.h"

static_assert(std::endian::native == std::endian::little, "cache files and rows are little-endian");

// ---- Base address and helpers ------------------------------------------------------------------

#ifndef PLINX_ONLINE_BASE_URL
#define PLINX_ONLINE_BASE_URL "https://www.fernbrooks.example/plinx"
#endif

namespace
{

const char kScoresScript[] = "Scores.fcgi";
const char kRangeLetters[] = "AYMWD";
const char *const kRangeNames[] = {"ALL TIME", "YEAR", "MONTH", "WEEK", "DAY"};
const int32_t kFetchTimeoutSeconds = 15;
const double kFirstCheckDelaySeconds = 0.2;
// Cache file layout: u16 game version, the 16-byte fetch time, i32 row count, the rows.
const uint32_t kCacheTimeOffset = 2;
const uint32_t kCacheCountOffset = 18;
const uint32_t kCacheHeaderBytes = 22;

struct
{
    char baseAddress[SCORES_URL_SIZE];
    ScoresCountryCheckFn countryCheck;
} s_scores = {"", nullptr};

double NowSeconds()
{
    return EngMiscGetClock_PC();
}

void TerminateRow(_ScoresScore *row)
{
    row->name[sizeof(row->name) - 1] = 0;
    row->cc[sizeof(row->cc) - 1] = 0;
    row->fb[sizeof(row->fb) - 1] = 0;
    memset(row->padding1, 0, sizeof(row->padding1));
    memset(row->padding2, 0, sizeof(row->padding2));
}

void PutDateAndTime(uint8_t *out, const _EngMiscDateAndTime &now)
{
    memset(out, 0, 16);
    int32_t year = (int32_t)now.date.year;
    int32_t hour = (int32_t)now.time.hour;
    memcpy(out + 0, &year, 4);
    out[4] = now.date.month;
    out[5] = now.date.day;
    memcpy(out + 8, &hour, 4);
    out[12] = now.time.minute;
    out[13] = now.time.second;
}

bool GetDateAndTime(const uint8_t *in, _EngMiscDateAndTime *out)
{
    int32_t year;
    int32_t hour;
    memcpy(&year, in + 0, 4);
    memcpy(&hour, in + 8, 4);
    if (year < 1900 || hour < 0 || hour > 23 || in[12] > 59 || in[13] > 59)
        return false;
    out->date.year = (uint32_t)year;
    out->date.month = in[4];
    out->date.day = in[5];
    out->time.hour = (uint32_t)hour;
    out->time.minute = in[12];
    out->time.second = in[13];
    return EngMiscIsDateValid(&out->date, false);
}

} // namespace

void OnlineSetBaseAddress(const char *address)
{
    // The environment may name another server (a staging one, or a local one for the
    // game's own end-to-end tests) in place of the compiled-in address.
    const char *configured = getenv("PLINX_ONLINE_BASE_URL");
    const char *standard = configured && *configured ? configured : PLINX_ONLINE_BASE_URL;
    EngSafeStrcpy(s_scores.baseAddress, address && *address ? address : standard, sizeof(s_scores.baseAddress));
    size_t length = strlen(s_scores.baseAddress);
    while (length > 0 && s_scores.baseAddress[length - 1] == '/')
        s_scores.baseAddress[--length] = 0;
}

const char *OnlineGetBaseAddress()
{
    if (!s_scores.baseAddress[0])
        OnlineSetBaseAddress(nullptr);
    return s_scores.baseAddress;
}

void ScoresMainSetCountryCheck(ScoresCountryCheckFn check)
{
    s_scores.countryCheck = check;
}

const char *ScoresGetRangeName(int range)
{
    return range >= 0 && range < SCORES_NUM_RANGES ? kRangeNames[range] : "?";
}

char ScoresGetRangeLetter(int range)
{
    return range >= 0 && range < SCORES_NUM_RANGES ? kRangeLetters[range] : '?';
}

bool ScoresMainGetFileName(int program, uint32_t set, int range, char *out, int size, bool createFolder)
{
    if (!out || size < 1 || range < 0 || range >= SCORES_NUM_RANGES)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    const char *folder = PrefFolderGetSubFolder("Scores", createFolder);
    int written = program == SCORES_PROGRAM_TEST
                      ? snprintf(out, (size_t)size, "%s/ScoresMainTest.sco", folder)
                      : snprintf(out, (size_t)size, "%s/Scores_%d_%u_%c.sco", folder, program, set,
                                 kRangeLetters[range]);
    if (written < 0 || written >= size)
    {
        DebugError(ENG_FUNC, "Name too long");
        out[0] = 0;
        return false;
    }
    return true;
}

// ---- Rows -----------------------------------------------------------------------------------------

bool ScoresMainIsScoreValid(const _ScoresScore *row, bool checkPlatform)
{
    if (!row)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (row->v1 < 1 || row->v2 < 0 || !row->name[0] || !row->uid)
    {
        DebugError(ENG_FUNC, "IE_IS [%ld %ld %s %d]", (long)row->v1, (long)row->v2,
                   row->name[0] ? "name" : "(no name)", row->uid);
        return false;
    }
    const int8_t values[4] = {row->f1, row->f2, row->f3, row->f4};
    for (int8_t value : values)
    {
        if (value < 0 || value > 9)
        {
            DebugError(ENG_FUNC, "IS_IF [%d %d %d %d]", row->f1, row->f2, row->f3, row->f4);
            return false;
        }
    }
    _EngMiscDate date = {(uint32_t)(row->year < 0 ? 0 : row->year), (uint8_t)row->month, (uint8_t)row->day};
    if (!EngMiscIsDateValid(&date, true))
        return false;
    if (checkPlatform && !PlatformIsPlatformValid(row->plat, 1))
        return false;
    return true;
}

// ---- Set-up and queries ---------------------------------------------------------------------------

ScoresMain::ScoresMain()
    : setup(0), program(0), set(0), range(0), valid(nullptr), gameVersion(0), listSize(0), fetchWhenStale(0),
      refreshMinutes(0), upperCaseNames(0), numScores(0), scores(nullptr), nextCheckTime(0), updating(0),
      reply(nullptr), cacheFileName(nullptr), startPosition(1), endPosition(1), url(nullptr), readers(),
      currentReader(0), message()
{
    url = (char *)EngMalloc(SCORES_URL_SIZE, "ScoresMain::ScoresMain", true);
}

ScoresMain::~ScoresMain()
{
    StopUpdating();
    EngFree(scores, false, "ScoresMain::~ScoresMain");
    EngFree(reply, false, "ScoresMain::~ScoresMain");
    EngFree(cacheFileName, false, "ScoresMain::~ScoresMain");
    // Every parked reader is told to stop first, so that they end side by side.
    for (EngInternetThread *reader : readers)
    {
        if (reader)
            reader->CancelReading();
    }
    for (EngInternetThread *&reader : readers)
    {
        delete reader;
        reader = nullptr;
    }
    EngFree(url, false, "ScoresMain::~ScoresMain");
}

bool ScoresMain::IsSetup(const char *function)
{
    if (setup)
        return true;
    DebugErrorCode(function, EngFourCC("NSTP"));
    return false;
}

bool ScoresMain::Setup(int programId, uint16_t version, int32_t size, uint32_t setId, int rangeId,
                       ScoresValidityFn validity, bool fetch, uint32_t minutes)
{
    setup = 0;
    if (size <= 0 || !programId || !version || !minutes || rangeId < 0 || rangeId >= SCORES_NUM_RANGES)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    // A reader that still runs stays parked in the ring; its reply is no longer wanted.
    updating = 0;
    EngFree(reply, false, "ScoresMain::Setup");
    reply = nullptr;
    program = programId;
    gameVersion = version;
    listSize = size;
    set = setId;
    range = rangeId;
    valid = validity;
    fetchWhenStale = fetch ? 1 : 0;
    refreshMinutes = minutes;
    nextCheckTime = 0;
    endPosition = (uint32_t)listSize - 1;
    numScores = 0;
    message[0] = 0;
    EngFree(scores, false, "ScoresMain::Setup");
    EngFree(cacheFileName, false, "ScoresMain::Setup");
    scores = (_ScoresScore *)EngMalloc((size_t)listSize * sizeof(_ScoresScore), "ScoresMain::Setup", true);
    cacheFileName = (char *)EngMalloc(SCORES_FILE_NAME_SIZE, "ScoresMain::Setup", true);
    if (!scores || !cacheFileName)
        return false;
    ScoresMainGetFileName(program, set, range, cacheFileName, SCORES_FILE_NAME_SIZE, false);
    setup = 1;
    return true;
}

void ScoresMain::SetUpperCaseNames()
{
    upperCaseNames = 1;
}

const _ScoresScore *ScoresMain::GetScoresList(bool quiet)
{
    if (!IsSetup(ENG_FUNC))
        return nullptr;
    if (!scores || numScores <= 0)
    {
        if (!quiet)
            DebugError(ENG_FUNC, "No scores");
        return nullptr;
    }
    return scores;
}

const _ScoresScore *ScoresMain::GetScore(int n)
{
    if (!IsSetup(ENG_FUNC))
        return nullptr;
    if (!scores)
    {
        DebugError(ENG_FUNC, "No scores");
        return nullptr;
    }
    if (n < 0 || n >= numScores)
    {
        DebugError(ENG_FUNC, "Bad num %d (%d)", n, numScores);
        return nullptr;
    }
    return &scores[n];
}

int ScoresMain::GetNumScores()
{
    return IsSetup(ENG_FUNC) ? numScores : 0;
}

int ScoresMain::GetRange()
{
    return IsSetup(ENG_FUNC) ? range : 0;
}

uint32_t ScoresMain::GetSet()
{
    return IsSetup(ENG_FUNC) ? set : 0;
}

// ---- Fetching ---------------------------------------------------------------------------------------

bool ScoresMain::Update()
{
    if (!IsSetup(ENG_FUNC) || !url)
        return false;
    if (updating)
        return true;
    ReleaseReader("update");
    if (!reply)
    {
        reply = (char *)EngMalloc(SCORES_REPLY_BYTES, "ScoresMain::Update", true);
        if (!reply)
            return false;
    }
    message[0] = 0;
    int written = snprintf(url, SCORES_URL_SIZE, "%s/cgi-bin/common/scores/%s?zz=%d&gv=%u&pr=%d&st=%d&ra=%d&sp=%d&ep=%d",
                           OnlineGetBaseAddress(), kScoresScript, 1, (unsigned)gameVersion, program, (int)set,
                           range, (int)startPosition, (int)endPosition);
    if (written < 0 || written >= SCORES_URL_SIZE)
    {
        DebugError(ENG_FUNC, "URL too long");
        StopUpdating();
        return false;
    }
    char name[EngInternetThread::NAME_SIZE];
    snprintf(name, sizeof(name), "SCMT%d", currentReader);
    EngInternetThread *reader = new (std::nothrow) EngInternetThread(name, 0);
    if (!reader)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        StopUpdating();
        return false;
    }
    readers[currentReader] = reader;
    // One byte beyond the limit, so that a reply that reaches the limit shows as too
    // long instead of arriving cut.
    if (!reader->StartReading(url, SCORES_REPLY_BYTES + 1, kFetchTimeoutSeconds))
    {
        DebugError(ENG_FUNC, "StartReading() failed");
        StopUpdating();
        return false;
    }
    updating = 1;
    nextCheckTime = NowSeconds() + refreshMinutes * 60.0;
    return true;
}

void ScoresMain::StopUpdating()
{
    EngFree(reply, false, "ScoresMain::StopUpdating");
    reply = nullptr;
    ReleaseReader("stop");
    updating = 0;
}

int8_t ScoresMain::IsUpdateFinished(int32_t *result, const char **messageOut)
{
    int32_t ignoredResult;
    const char *ignoredMessage;
    if (!result)
        result = &ignoredResult;
    if (!messageOut)
        messageOut = &ignoredMessage;
    *messageOut = nullptr;
    if (!IsSetup(ENG_FUNC))
        return 0;
    EngInternetThread *reader = readers[currentReader];
    if (!scores || !updating || !reader)
        return -1;
    int32_t status = reader->GetReadingStatus(0);
    if (status == ENG_INTERNET_READ_READING)
    {
        *result = ENG_INTERNET_READ_READING;
        return 0;
    }
    if (status == ENG_INTERNET_READ_NONE)
    {
        *result = 0;
        StopUpdating();
        return -2;
    }
    if (status != ENG_INTERNET_READ_DONE)
    {
        char reason[256];
        reader->GetErrorText(reason, sizeof(reason));
        DebugInfo("Update failed [%d]%s%s", status, reason[0] ? ": " : "", reason);
        *result = status;
        StopUpdating();
        return -1;
    }
    uint32_t size = 0;
    char *data = reader->GetDataReadFreeWhenDone(&size);
    if (!data || size == 0 || size >= SCORES_REPLY_BYTES || !reply)
    {
        if (data && size >= SCORES_REPLY_BYTES)
            DebugError(ENG_FUNC, "Too much data read.");
        else
            DebugInfo("Update failed");
        EngFree(data, false, "ScoresMain::IsUpdateFinished");
        *result = ENG_INTERNET_READ_FAILED;
        StopUpdating();
        return -1;
    }
    memcpy(reply, data, size);
    reply[size] = 0;
    EngFree(data, false, "ScoresMain::IsUpdateFinished");
    ReleaseReader("done");
    updating = 0;
    nextCheckTime = NowSeconds() + refreshMinutes * 60.0;
    int8_t answer = -1;
    ReadReply(reply, size, result, messageOut, &answer);
    StopUpdating();
    return answer;
}

// ---- The reply ----------------------------------------------------------------------------------------

void ScoresMain::ReadReply(const char *text, uint32_t size, int32_t *result, const char **messageOut, int8_t *answer)
{
    _ScoresReplyTarget target = {gameVersion, valid, s_scores.countryCheck, scores, listSize, 0,
                                 message, (int)sizeof(message)};
    *answer = -1;
    switch (ScoresReplyRead(text, size, &target))
    {
    case SCORES_REPLY_LIST:
        numScores = target.numRows;
        if (program != SCORES_PROGRAM_TEST)
        {
            UpdateScoresIfNeeded();
            WriteCache();
        }
        *result = ENG_INTERNET_READ_DONE;
        *answer = 1;
        break;
    case SCORES_REPLY_SHORT:
        *result = ENG_INTERNET_READ_FAILED;
        break;
    case SCORES_REPLY_MESSAGE:
        *messageOut = message;
        *result = ENG_INTERNET_READ_DONE;
        break;
    case SCORES_REPLY_OUT_OF_DATE:
        *result = SCORES_RESULT_OUT_OF_DATE;
        break;
    default:
        *result = SCORES_RESULT_REFUSED;
        break;
    }
}

void ScoresMain::UpdateScoresIfNeeded()
{
    if (!upperCaseNames)
        return;
    for (int i = 0; i < numScores; i++)
    {
        for (char *c = scores[i].name; *c; c++)
            *c = (char)toupper((unsigned char)*c);
    }
}

// ---- The cache ------------------------------------------------------------------------------------------

void ScoresMain::WriteCache()
{
    if (!cacheFileName || !ScoresMainGetFileName(program, set, range, cacheFileName, SCORES_FILE_NAME_SIZE, true))
        return;
    uint8_t header[kCacheHeaderBytes];
    memcpy(header, &gameVersion, 2);
    _EngMiscDateAndTime now;
    EngMiscGetCurrentDateAndTime(&now);
    PutDateAndTime(header + kCacheTimeOffset, now);
    memcpy(header + kCacheCountOffset, &numScores, 4);
    // Written beside the old file and moved over it, so a cut write never leaves half a
    // list behind. A folder that cannot be written is skipped without a word.
    char temporary[SCORES_FILE_NAME_SIZE + 8];
    snprintf(temporary, sizeof(temporary), "%s.tmp", cacheFileName);
    EngFile file;
    if (!file.CreateForWriting(temporary, false))
        return;
    bool written = file.Write(header, sizeof(header)) &&
                   (numScores == 0 || file.Write(scores, (uint32_t)(numScores * sizeof(_ScoresScore))));
    written = file.Close() && written;
    if (!written || !EngFileReplaceFile(temporary, cacheFileName))
        EngFileDelete(temporary, false);
}

bool ScoresMain::LoadCache()
{
    if (!cacheFileName || !EngFileExists(cacheFileName, false))
        return false;
    uint32_t fileSize = EngFileGetFileSize(cacheFileName, false);
    if (fileSize < kCacheHeaderBytes || fileSize > kCacheHeaderBytes + (uint32_t)listSize * sizeof(_ScoresScore))
        return false;
    EngFile file;
    if (!file.OpenForReadingQuietly(cacheFileName, false))
        return false;
    uint8_t header[kCacheHeaderBytes];
    if (!file.Read(header, sizeof(header), false))
        return false;
    uint16_t version;
    int32_t count;
    _EngMiscDateAndTime stored;
    memcpy(&version, header, 2);
    memcpy(&count, header + kCacheCountOffset, 4);
    if (version != gameVersion || !GetDateAndTime(header + kCacheTimeOffset, &stored))
        return false;
    _EngMiscDateAndTime now;
    EngMiscGetCurrentDateAndTime(&now);
    int64_t storedMinutes = EngMiscGetMinutesFromDateAndTime(&stored);
    int64_t nowMinutes = EngMiscGetMinutesFromDateAndTime(&now);
    // A file from the future would otherwise count as fresh for ever.
    if (storedMinutes > nowMinutes || storedMinutes < nowMinutes - (int64_t)refreshMinutes)
        return false;
    if (count < 0 || count >= listSize || fileSize != kCacheHeaderBytes + (uint32_t)count * sizeof(_ScoresScore))
        return false;
    // The rows go to a scratch list first: a file that fails half-way leaves the list
    // as it was.
    _ScoresScore *scratch = nullptr;
    if (count > 0)
    {
        scratch = (_ScoresScore *)EngMalloc((size_t)count * sizeof(_ScoresScore), "ScoresMain::LoadCache", true);
        if (!scratch)
            return false;
        if (!file.Read(scratch, (uint32_t)(count * sizeof(_ScoresScore)), false))
        {
            EngFree(scratch, false, "ScoresMain::LoadCache");
            return false;
        }
    }
    file.Close();
    int kept = 0;
    for (int i = 0; i < count; i++)
    {
        TerminateRow(&scratch[i]);
        if (!valid || valid(&scratch[i]))
            scores[kept++] = scratch[i];
    }
    EngFree(scratch, false, "ScoresMain::LoadCache");
    numScores = kept;
    double now_ = NowSeconds();
    nextCheckTime = now_ + (double)((int64_t)refreshMinutes - (nowMinutes - storedMinutes)) * 60.0;
    if (nextCheckTime <= now_)
        EngFileDelete(cacheFileName, false);
    UpdateScoresIfNeeded();
    return true;
}

int8_t ScoresMain::UpdateIfNeeded(bool force)
{
    if (!IsSetup(ENG_FUNC) || !scores || !cacheFileName)
        return 0;
    if (updating)
        return 1;
    double now = NowSeconds();
    if (force)
        nextCheckTime = now - 0.1;
    if (nextCheckTime == 0)
    {
        nextCheckTime = now + kFirstCheckDelaySeconds;
        return 0;
    }
    if (nextCheckTime > now)
        return 0;
    if (program != SCORES_PROGRAM_TEST && LoadCache())
        return 2;
    if (fetchWhenStale)
        return Update() ? 1 : 0;
    return 0;
}

// ---- The reader ring ----------------------------------------------------------------------------------------

void ScoresMain::ReleaseReader(const char *why)
{
    EngInternetThread *reader = readers[currentReader];
    if (!reader)
        return;
    if (!reader->IsReading())
    {
        delete reader;
        readers[currentReader] = nullptr;
        return;
    }
    // A reader still at work is not waited for: it is cancelled and parked, and the slot
    // after it (parked 20 releases ago) is cleared to become the current one.
    reader->CancelReading();
    int next = (currentReader + 1) % SCORES_READER_RING;
    delete readers[next];
    readers[next] = nullptr;
    currentReader = next;
}
