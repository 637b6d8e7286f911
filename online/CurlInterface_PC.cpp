// Memory-buffer transfers over the internet stand-in's whole-transfer call. The peer is
// always verified; the exiting flag doubles as the transfer's abort flag.
#include "CurlInterface.h"
#include "PlatInet.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngMemory.h"
#include "EngMisc.h"

namespace
{

const double kMutexSeconds = 2.0;
const double kExitWaitSeconds = 60.0;
// The step a failure is reported under: the transfer itself.
const int kPerformStep = 10;

struct
{
    bool setup;
} s_curl = {false};

} // namespace

bool CurlInterface_InitCurl()
{
    if (s_curl.setup)
    {
        DebugError(ENG_FUNC, "Already setup.");
        return true;
    }
    if (!PlatInetSetup())
    {
        DebugError(ENG_FUNC, "curl_global_init() failed.");
        return false;
    }
    s_curl.setup = true;
    DebugInfo("Transfers: %s", PlatInetGetVersionText());
    return true;
}

bool CurlInterface_IsCurlSetup()
{
    return s_curl.setup;
}

void CurlInterface_CleanupCurl()
{
    if (!s_curl.setup)
        return;
    if (!PlatInetCleanup())
    {
        DebugInfo("Transfers stay set up: %s", PlatInetGetErrorText());
        return;
    }
    s_curl.setup = false;
}

CurlInterface::CurlInterface(const char *objectName, bool logFlag)
    : ownsGlobalSetup(0), buffer(nullptr), bytesReceived(0), bufferSize(0), skipLeadingNewlines(0),
      performing(false), log(logFlag ? 1 : 0), self(this), setupCheck('{'),
      mutex(kMutexSeconds), exiting(false)
{
    EngSafeStrcpy(name, objectName && *objectName ? objectName : "CurlI", sizeof(name));
}

CurlInterface::~CurlInterface()
{
    ExitWithWait();
    self = nullptr;
    setupCheck = 0;
    if (ownsGlobalSetup)
        CurlInterface_CleanupCurl();
}

bool CurlInterface::IsValid(const char *function)
{
    if (self != this || setupCheck != '{')
    {
        DebugError(function, "Already destroyed.");
        return false;
    }
    return true;
}

bool CurlInterface::DownloadFromUrl(const char *url, const char *query, uint32_t size, const char *postData,
                                    uint32_t postSize, bool skip, int32_t timeoutSeconds, uint8_t *exited)
{
    return DoDownloadFromUrl(url, query, size, postData, postSize, skip, timeoutSeconds, exited);
}

bool CurlInterface::DoDownloadFromUrl(const char *url, const char *query, uint32_t size, const char *postData,
                                      uint32_t postSize, bool skip, int32_t timeoutSeconds, uint8_t *exited)
{
    if (!CurlInterface_IsCurlSetup())
    {
        if (!CurlInterface_InitCurl())
            return false;
        ownsGlobalSetup = 1;
    }
    Exit();
    if (!url || !*url || size == 0)
    {
        DebugError(ENG_FUNC, "Parameters error.");
        return false;
    }
    if (exited)
        *exited = 0;
    if (performing.load())
    {
        DebugError(ENG_FUNC, "m_curl_e already exists.");
        return false;
    }
    buffer = (char *)EngMalloc((size_t)size + 1, "CurlInterface::DoDownloadFromUrl", true);
    if (!buffer)
        return false;
    bufferSize = size;
    bytesReceived = 0;
    skipLeadingNewlines = skip ? 1 : 0;

    size_t urlLength = strlen(url) + (query ? strlen(query) + 1 : 0) + 1;
    char *fullUrl = (char *)EngMalloc(urlLength, "CurlInterface::DoDownloadFromUrl", false);
    if (!fullUrl)
    {
        Exit();
        return false;
    }
    snprintf(fullUrl, urlLength, "%s%s%s", url, query ? "?" : "", query ? query : "");

    PlatInetTransferParms parms = {};
    parms.url = fullUrl;
    if (postData && postSize)
    {
        parms.postData = postData;
        parms.postSize = postSize;
    }
    parms.timeoutSeconds = timeoutSeconds > 0 ? (uint32_t)timeoutSeconds : 0;
    parms.connectTimeoutSeconds = parms.timeoutSeconds;
    parms.write = WriteDataFunctionCB_Static;
    parms.writeUser = this;
    parms.abortFlag = &exiting;

    if (mutex.Lock())
    {
        if (performing.load() || exiting.load())
            DebugError(ENG_FUNC, "m_doing_perform = %d,  m_exiting = %d", performing.load() ? 1 : 0,
                       exiting.load() ? 1 : 0);
        performing.store(true);
        exiting.store(false);
        mutex.Unlock();
    }
    int32_t status = 0;
    PlatInetTransferResult result = PlatInetTransfer(&parms, &status);
    EngFree(fullUrl, false, "CurlInterface::DoDownloadFromUrl");
    performing.store(false);

    if (exiting.load())
    {
        if (log)
            DebugInfo("[%s] Done as exiting.", name);
        if (exited)
            *exited = 1;
        exiting.store(false);
        Exit();
        return false;
    }
    bool full = bufferSize > 0 && bytesReceived == bufferSize - 1;
    if (result == PLAT_INET_TRANSFER_WRITE_ERROR && full)
    {
        if (log)
            DebugInfo("[%s] More data available to download is ignored.", name);
        return true;
    }
    if (result == PLAT_INET_TRANSFER_OK && status < 400)
        return true;
    if (result == PLAT_INET_TRANSFER_ABORTED)
    {
        Exit();
        return false;
    }
    if (result == PLAT_INET_TRANSFER_COULD_NOT_CONNECT)
        DebugError(ENG_FUNC, "Could not connect.");
    else if (result == PLAT_INET_TRANSFER_OK)
        DebugError(ENG_FUNC, "Problem ( from: %d  error: HTTP %d )", kPerformStep, status);
    else
        DebugError(ENG_FUNC, "Problem ( from: %d  error: %d (%s) ) %s", kPerformStep, (int)result,
                   PlatInetGetTransferResultText(result), PlatInetGetErrorText());
    Exit();
    return false;
}

size_t CurlInterface::WriteDataFunctionCB_Static(void *user, const char *data, size_t size)
{
    if (!user)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return 0;
    }
    return ((CurlInterface *)user)->WriteDataFunctionCB(data, size);
}

size_t CurlInterface::WriteDataFunctionCB(const char *data, size_t size)
{
    if (!CurlInterface_IsCurlSetup())
    {
        DebugError(ENG_FUNC, "Curl is not setup.");
        return 0;
    }
    if (setupCheck != '{')
    {
        DebugError(ENG_FUNC, "Class not setup. [%d] ...", setupCheck);
        DebugError(ENG_FUNC, "                 [%s] .", name);
        return 0;
    }
    if (size == 0)
        return 0;
    if (!buffer)
    {
        DebugError(ENG_FUNC, "No data");
        return 0;
    }
    // At most bufferSize - 1 bytes are kept; a block that would pass that is cut, which
    // ends the transfer with a full buffer.
    uint32_t room = bufferSize - 1 - bytesReceived;
    if (room == 0)
    {
        DebugError(ENG_FUNC, "Nothing left to write");
        return 0;
    }
    size_t take = size < room ? size : room;
    memcpy(buffer + bytesReceived, data, take);
    bytesReceived += (uint32_t)take;
    buffer[bytesReceived] = 0;
    return take;
}

char *CurlInterface::GetDownloadedData()
{
    if (!buffer || bytesReceived == 0)
    {
        DebugError(ENG_FUNC, "No Data");
        return nullptr;
    }
    if (!skipLeadingNewlines)
        return buffer;
    if (bytesReceived >= 2 && buffer[0] == '\n' && buffer[1] == '\n')
        return buffer + 2;
    if (buffer[0] == '\n')
        return buffer + 1;
    return buffer;
}

uint32_t CurlInterface::GetDownloadedSize()
{
    if (!buffer)
        return 0;
    char *data = GetDownloadedData();
    return data ? bytesReceived - (uint32_t)(data - buffer) : 0;
}

void CurlInterface::CleanupHandles()
{
    if (!IsValid(ENG_FUNC))
        return;
    if (performing.load())
    {
        if (!exiting.load())
            DebugInfo("[%s] Exiting not on.", name);
        exiting.store(true);
        DebugInfo("[%s] Will exit when finished performing.", name);
    }
}

void CurlInterface::Exit()
{
    if (!IsValid(ENG_FUNC))
        return;
    if (performing.load())
    {
        if (exiting.load())
            DebugInfo("[%s] Already exiting.", name);
        CleanupHandles();
        return;
    }
    if (log)
        DebugInfo("[%s] Exiting1... [dp: %d ex: %d]", name, performing.load() ? 1 : 0, exiting.load() ? 1 : 0);
    EngFree(buffer, false, "CurlInterface::Exit");
    buffer = nullptr;
    bytesReceived = 0;
    bufferSize = 0;
    skipLeadingNewlines = 0;
    if (log)
        DebugInfo("[%s] Exiting done.", name);
}

void CurlInterface::ExitWithWait()
{
    if (!IsValid(ENG_FUNC))
        return;
    if (performing.load())
    {
        exiting.store(true);
        DebugInfo("[%s] Waiting for perform to complete...", name);
        double start = EngMiscGetClock_PC();
        while (performing.load() && EngMiscGetClock_PC() - start < kExitWaitSeconds)
            EngMiscSleepSeconds(0.1);
        if (performing.load())
        {
            DebugError(ENG_FUNC, "Perform did not complete.");
            return;
        }
    }
    Exit();
}
