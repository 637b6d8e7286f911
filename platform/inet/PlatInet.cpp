// The internet stand-in over libcurl. A streamed read drives one easy handle through a
// multi handle of its own, so that a read can wait for "some bytes" with its own
// inactivity time-out and look at the caller's abort flag every 50 ms; whole transfers
// use a plain easy handle.
//
// Sections: errors, process-wide set-up, common options, sessions, streams, transfers.
#include "PlatInet.h"

#include <curl/curl.h>
#include <time.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <mutex>
#include <new>
#include <string>

// ---- Errors -------------------------------------------------------------------------------

namespace
{

thread_local int32_t t_errorCode;
thread_local char t_errorText[512];
thread_local char t_serverText[128];

struct CodeText
{
    int32_t code;
    const char *text;
};

const CodeText kCodeTexts[] = {
    {PLAT_INET_ERROR_NONE, "The operation completed successfully."},
    {PLAT_INET_ERROR_TIMEOUT, "The operation timed out."},
    {PLAT_INET_ERROR_SERVER_TEXT, "The server returned extended information."},
    {PLAT_INET_ERROR_INTERNAL, "An internal error occurred."},
    {PLAT_INET_ERROR_BAD_URL, "The URL is invalid."},
    {PLAT_INET_ERROR_NAME_NOT_RESOLVED, "The server name could not be resolved."},
    {PLAT_INET_ERROR_CANCELLED, "The operation was cancelled."},
    {PLAT_INET_ERROR_CANNOT_CONNECT, "A connection with the server could not be established."},
    {PLAT_INET_ERROR_CONNECTION_ABORTED, "The connection with the server was terminated abnormally."},
    {PLAT_INET_ERROR_INVALID_REPLY, "The server response could not be parsed."},
    {PLAT_INET_ERROR_SECURITY, "A secure connection with the server could not be established."},
    {PLAT_INET_ERROR_NOT_ALLOWED, "Only the loopback address may be reached."},
};

bool Fail(int32_t code, const char *format, ...) __attribute__((format(printf, 2, 3)));
bool Fail(int32_t code, const char *format, ...)
{
    t_errorCode = code;
    va_list args;
    va_start(args, format);
    vsnprintf(t_errorText, sizeof(t_errorText), format, args);
    va_end(args);
    return false;
}

void ClearError()
{
    t_errorCode = PLAT_INET_ERROR_NONE;
    t_errorText[0] = 0;
}

int32_t ErrorFromCurl(CURLcode code)
{
    switch (code)
    {
    case CURLE_OPERATION_TIMEDOUT:
        return PLAT_INET_ERROR_TIMEOUT;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return PLAT_INET_ERROR_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return PLAT_INET_ERROR_CANNOT_CONNECT;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return PLAT_INET_ERROR_CONNECTION_ABORTED;
    // Addresses are checked for http and https before they are used, so an unsupported
    // protocol is a reply without an HTTP status line.
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
        return PLAT_INET_ERROR_INVALID_REPLY;
    case CURLE_URL_MALFORMAT:
    case CURLE_TOO_MANY_REDIRECTS:
        return PLAT_INET_ERROR_BAD_URL;
    case CURLE_ABORTED_BY_CALLBACK:
        return PLAT_INET_ERROR_CANCELLED;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
        return PLAT_INET_ERROR_SECURITY;
    default:
        return PLAT_INET_ERROR_INTERNAL;
    }
}

bool FailCurl(CURLcode code, const char *detail)
{
    return Fail(ErrorFromCurl(code), "%s (%s)", curl_easy_strerror(code), detail && *detail ? detail : "-");
}

double NowMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec * 1000.0 + (double)now.tv_nsec / 1e6;
}

// ---- Process-wide set-up ----------------------------------------------------------------

struct Global
{
    std::mutex lock;
    bool setup;
    int users; // sessions and transfers alive
};

Global &GetGlobal()
{
    static Global global;
    return global;
}

std::atomic<bool> s_loopbackOnly{false};

// Counts a session or transfer that needs libcurl; sets it up on demand.
bool AddUser()
{
    Global &global = GetGlobal();
    std::lock_guard<std::mutex> guard(global.lock);
    if (!global.setup)
    {
        CURLcode result = curl_global_init(CURL_GLOBAL_ALL);
        if (result != CURLE_OK)
            return FailCurl(result, "curl_global_init");
        global.setup = true;
    }
    global.users++;
    return true;
}

void RemoveUser()
{
    Global &global = GetGlobal();
    std::lock_guard<std::mutex> guard(global.lock);
    if (global.users > 0)
        global.users--;
}

} // namespace

bool PlatInetSetup()
{
    if (!AddUser())
        return false;
    RemoveUser();
    return true;
}

bool PlatInetIsSetup()
{
    Global &global = GetGlobal();
    std::lock_guard<std::mutex> guard(global.lock);
    return global.setup;
}

bool PlatInetCleanup()
{
    Global &global = GetGlobal();
    std::lock_guard<std::mutex> guard(global.lock);
    if (global.users > 0)
        return Fail(PLAT_INET_ERROR_INTERNAL, "%d sessions or transfers still exist", global.users);
    if (global.setup)
        curl_global_cleanup();
    global.setup = false;
    return true;
}

const char *PlatInetGetVersionText()
{
    return curl_version();
}

void PlatInetSetLoopbackOnly(bool on)
{
    s_loopbackOnly.store(on);
}

// ---- Common options -----------------------------------------------------------------------

namespace
{

const long kDefaultTimeoutMs = 30000;

bool IsAllowedUrl(const char *url)
{
    if (strncasecmp(url, "http://", 7) != 0 && strncasecmp(url, "https://", 8) != 0)
        return Fail(PLAT_INET_ERROR_BAD_URL, "Not an http or https address: %s", url);
    if (!s_loopbackOnly.load())
        return true;
    CURLU *handle = curl_url();
    if (!handle)
        return Fail(PLAT_INET_ERROR_INTERNAL, "Out of memory");
    char *host = nullptr;
    bool allowed = false;
    if (curl_url_set(handle, CURLUPART_URL, url, 0) == CURLUE_OK &&
        curl_url_get(handle, CURLUPART_HOST, &host, 0) == CURLUE_OK && host)
        allowed = strcmp(host, "127.0.0.1") == 0 || strcmp(host, "localhost") == 0;
    curl_free(host);
    curl_url_cleanup(handle);
    if (!allowed)
        return Fail(PLAT_INET_ERROR_NOT_ALLOWED, "Not a loopback address: %s", url);
    return true;
}

// The options every request shares: no signals (threads), IPv4, verified peers with the
// system's certificates (libcurl's defaults, set again so that nobody loses them),
// http and https only, a bounded number of redirects.
bool SetCommonOptions(CURL *easy, const char *url, char *errorBuffer)
{
    bool ok = curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_URL, url) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_IPRESOLVE, (long)CURL_IPRESOLVE_V4) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L) == CURLE_OK;
    if (!ok)
        return Fail(PLAT_INET_ERROR_INTERNAL, "Could not set the request's options");
    return true;
}

} // namespace

// ---- Sessions ---------------------------------------------------------------------------------

struct PlatInetSession
{
    std::string agent;
    long connectMs;
    long sendMs;
    long receiveMs;
    const std::atomic<bool> *abortFlag;
};

PlatInetSession *PlatInetOpenSession(const char *agent)
{
    ClearError();
    if (!agent || !*agent)
    {
        Fail(PLAT_INET_ERROR_INTERNAL, "No agent name");
        return nullptr;
    }
    if (!AddUser())
        return nullptr;
    PlatInetSession *session = new (std::nothrow) PlatInetSession();
    if (!session)
    {
        RemoveUser();
        Fail(PLAT_INET_ERROR_INTERNAL, "Out of memory");
        return nullptr;
    }
    session->agent = agent;
    session->connectMs = kDefaultTimeoutMs;
    session->sendMs = kDefaultTimeoutMs;
    session->receiveMs = kDefaultTimeoutMs;
    session->abortFlag = nullptr;
    return session;
}

void PlatInetCloseSession(PlatInetSession *session)
{
    if (!session)
        return;
    delete session;
    RemoveUser();
}

void PlatInetSetTimeouts(PlatInetSession *session, uint32_t connectMs, uint32_t sendMs, uint32_t receiveMs)
{
    if (!session)
        return;
    session->connectMs = connectMs ? (long)connectMs : kDefaultTimeoutMs;
    session->sendMs = sendMs ? (long)sendMs : kDefaultTimeoutMs;
    session->receiveMs = receiveMs ? (long)receiveMs : kDefaultTimeoutMs;
}

void PlatInetSetAbortFlag(PlatInetSession *session, const std::atomic<bool> *abortFlag)
{
    if (session)
        session->abortFlag = abortFlag;
}

// ---- Streams ------------------------------------------------------------------------------------

namespace
{

// Above this many unread bytes the transfer pauses until the reader catches up.
const size_t kPendingLimit = 64 * 1024;
const int kPollSliceMs = 50;

} // namespace

struct PlatInetStream
{
    PlatInetSession *session;
    CURLM *multi;
    CURL *easy;
    std::string pending;  // received, not yet read
    size_t pendingOffset; // bytes of `pending` already read
    size_t received;      // header and body bytes so far (progress)
    bool headersDone;     // the final reply's status line and headers have come
    bool paused;
    bool done;
    CURLcode doneResult;
    char errorBuffer[CURL_ERROR_SIZE];
};

namespace
{

size_t StreamWriteCB(char *data, size_t size, size_t count, void *user)
{
    PlatInetStream *stream = (PlatInetStream *)user;
    size_t bytes = size * count;
    if (stream->pending.size() - stream->pendingOffset >= kPendingLimit)
    {
        stream->paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (stream->pendingOffset > 0 && stream->pendingOffset == stream->pending.size())
    {
        stream->pending.clear();
        stream->pendingOffset = 0;
    }
    stream->pending.append(data, bytes);
    stream->received += bytes;
    return bytes;
}

size_t StreamHeaderCB(char *data, size_t size, size_t count, void *user)
{
    PlatInetStream *stream = (PlatInetStream *)user;
    size_t bytes = size * count;
    stream->received += bytes;
    // The empty line ends a header block; a redirect or an interim reply has another
    // block after it.
    if (bytes <= 2 && (data[0] == '\r' || data[0] == '\n'))
    {
        long status = 0;
        curl_easy_getinfo(stream->easy, CURLINFO_RESPONSE_CODE, &status);
        bool redirect = status >= 300 && status < 400 && status != 304;
        if (status >= 200 && !redirect)
            stream->headersDone = true;
    }
    return bytes;
}

bool IsAborted(const PlatInetStream *stream)
{
    const std::atomic<bool> *flag = stream->session->abortFlag;
    return flag && flag->load();
}

enum PumpGoal
{
    PUMP_FOR_HEADERS,
    PUMP_FOR_DATA,
};

bool GoalReached(const PlatInetStream *stream, PumpGoal goal)
{
    if (stream->pending.size() > stream->pendingOffset)
        return true;
    return goal == PUMP_FOR_HEADERS && stream->headersDone;
}

// Drives the transfer until the goal is reached or the transfer has ended. Fails on
// cancel, on a failed transfer and when nothing arrives for `inactivityMs`.
bool Pump(PlatInetStream *stream, PumpGoal goal, long inactivityMs)
{
    double lastProgressMs = NowMilliseconds();
    size_t lastReceived = stream->received;
    while (true)
    {
        if (IsAborted(stream))
            return Fail(PLAT_INET_ERROR_CANCELLED, "Cancelled");
        int running = 0;
        CURLMcode multiResult = curl_multi_perform(stream->multi, &running);
        if (multiResult != CURLM_OK)
            return Fail(PLAT_INET_ERROR_INTERNAL, "%s", curl_multi_strerror(multiResult));
        int queued = 0;
        while (CURLMsg *message = curl_multi_info_read(stream->multi, &queued))
        {
            if (message->msg == CURLMSG_DONE)
            {
                stream->done = true;
                stream->doneResult = message->data.result;
            }
        }
        if (GoalReached(stream, goal))
            return true;
        if (stream->done)
        {
            if (stream->doneResult != CURLE_OK)
                return FailCurl(stream->doneResult, stream->errorBuffer);
            return true;
        }
        double nowMs = NowMilliseconds();
        if (stream->received != lastReceived)
        {
            lastReceived = stream->received;
            lastProgressMs = nowMs;
        }
        double leftMs = (double)inactivityMs - (nowMs - lastProgressMs);
        if (leftMs <= 0)
            return Fail(PLAT_INET_ERROR_TIMEOUT, "Nothing received for %ld ms", inactivityMs);
        int waitMs = leftMs < kPollSliceMs ? (int)leftMs + 1 : kPollSliceMs;
        curl_multi_poll(stream->multi, nullptr, 0, waitMs, nullptr);
    }
}

void DestroyStream(PlatInetStream *stream)
{
    if (stream->multi && stream->easy)
        curl_multi_remove_handle(stream->multi, stream->easy);
    if (stream->easy)
        curl_easy_cleanup(stream->easy);
    if (stream->multi)
        curl_multi_cleanup(stream->multi);
    delete stream;
}

} // namespace

PlatInetStream *PlatInetOpenUrl(PlatInetSession *session, const char *url)
{
    ClearError();
    t_serverText[0] = 0;
    if (!session || !url || !*url)
    {
        Fail(PLAT_INET_ERROR_INTERNAL, "No session or no address");
        return nullptr;
    }
    if (!IsAllowedUrl(url))
        return nullptr;
    PlatInetStream *stream = new (std::nothrow) PlatInetStream();
    if (!stream)
    {
        Fail(PLAT_INET_ERROR_INTERNAL, "Out of memory");
        return nullptr;
    }
    stream->session = session;
    stream->multi = curl_multi_init();
    stream->easy = curl_easy_init();
    if (!stream->multi || !stream->easy)
    {
        DestroyStream(stream);
        Fail(PLAT_INET_ERROR_INTERNAL, "Could not make the transfer handles");
        return nullptr;
    }
    // The send time-out bounds the whole wait for the reply's first byte together with
    // the receive time-out; libcurl bounds the connect.
    bool ok = SetCommonOptions(stream->easy, url, stream->errorBuffer) &&
              curl_easy_setopt(stream->easy, CURLOPT_USERAGENT, session->agent.c_str()) == CURLE_OK &&
              curl_easy_setopt(stream->easy, CURLOPT_CONNECTTIMEOUT_MS, session->connectMs) == CURLE_OK &&
              curl_easy_setopt(stream->easy, CURLOPT_WRITEFUNCTION, StreamWriteCB) == CURLE_OK &&
              curl_easy_setopt(stream->easy, CURLOPT_WRITEDATA, stream) == CURLE_OK &&
              curl_easy_setopt(stream->easy, CURLOPT_HEADERFUNCTION, StreamHeaderCB) == CURLE_OK &&
              curl_easy_setopt(stream->easy, CURLOPT_HEADERDATA, stream) == CURLE_OK &&
              curl_easy_setopt(stream->easy, CURLOPT_FRESH_CONNECT, 1L) == CURLE_OK;
    if (!ok)
    {
        DestroyStream(stream);
        return nullptr;
    }
    // Never served from a cache on the way.
    struct curl_slist *headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    curl_easy_setopt(stream->easy, CURLOPT_HTTPHEADER, headers);
    if (curl_multi_add_handle(stream->multi, stream->easy) != CURLM_OK)
    {
        curl_slist_free_all(headers);
        DestroyStream(stream);
        Fail(PLAT_INET_ERROR_INTERNAL, "Could not start the transfer");
        return nullptr;
    }
    bool opened = Pump(stream, PUMP_FOR_HEADERS, session->connectMs + session->sendMs + session->receiveMs);
    // The header list is only read while the request goes out.
    curl_easy_setopt(stream->easy, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all(headers);
    if (!opened)
    {
        DestroyStream(stream);
        return nullptr;
    }
    long status = 0;
    curl_easy_getinfo(stream->easy, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400 || status == 0)
    {
        snprintf(t_serverText, sizeof(t_serverText), "HTTP %ld", status);
        DestroyStream(stream);
        Fail(PLAT_INET_ERROR_SERVER_TEXT, "The server answered %s", t_serverText);
        return nullptr;
    }
    return stream;
}

int PlatInetReadStream(PlatInetStream *stream, void *buffer, uint32_t size, uint32_t *bytesRead)
{
    ClearError();
    if (bytesRead)
        *bytesRead = 0;
    if (!stream || !buffer || !size || !bytesRead)
        return Fail(PLAT_INET_ERROR_INTERNAL, "Parameters error");
    if (stream->pending.size() == stream->pendingOffset && !stream->done)
    {
        if (!Pump(stream, PUMP_FOR_DATA, stream->session->receiveMs))
            return 0;
    }
    size_t available = stream->pending.size() - stream->pendingOffset;
    if (available == 0)
    {
        if (stream->done && stream->doneResult != CURLE_OK)
            return FailCurl(stream->doneResult, stream->errorBuffer);
        return 1;
    }
    size_t count = available < size ? available : size;
    memcpy(buffer, stream->pending.data() + stream->pendingOffset, count);
    stream->pendingOffset += count;
    *bytesRead = (uint32_t)count;
    if (stream->paused && stream->pending.size() - stream->pendingOffset < kPendingLimit)
    {
        stream->paused = false;
        curl_easy_pause(stream->easy, CURLPAUSE_CONT);
    }
    return 1;
}

uint32_t PlatInetQueryDataAvailable(PlatInetStream *stream)
{
    if (!stream)
        return 0;
    size_t available = stream->pending.size() - stream->pendingOffset;
    return available > UINT32_MAX ? UINT32_MAX : (uint32_t)available;
}

void PlatInetCloseStream(PlatInetStream *stream)
{
    if (stream)
        DestroyStream(stream);
}

// ---- Transfers ------------------------------------------------------------------------------------

namespace
{

struct TransferContext
{
    const PlatInetTransferParms *parms;
};

size_t TransferWriteCB(char *data, size_t size, size_t count, void *user)
{
    const PlatInetTransferParms *parms = ((TransferContext *)user)->parms;
    size_t bytes = size * count;
    if (!parms->write)
        return bytes;
    size_t taken = parms->write(parms->writeUser, data, bytes);
    // Anything other than the whole block ends the transfer with a write error; never
    // let a writer's answer above the block reach libcurl as a pause request.
    return taken > bytes ? 0 : taken;
}

int TransferProgressCB(void *user, curl_off_t totalBytes, curl_off_t receivedBytes, curl_off_t, curl_off_t)
{
    const PlatInetTransferParms *parms = ((TransferContext *)user)->parms;
    if (parms->abortFlag && parms->abortFlag->load())
        return 1;
    if (parms->progress && parms->progress(parms->progressUser, totalBytes > 0 ? (uint64_t)totalBytes : 0,
                                           receivedBytes > 0 ? (uint64_t)receivedBytes : 0) != 0)
        return 1;
    return 0;
}

PlatInetTransferResult ResultFromCurl(CURLcode code)
{
    switch (code)
    {
    case CURLE_OK:
        return PLAT_INET_TRANSFER_OK;
    case CURLE_COULDNT_CONNECT:
        return PLAT_INET_TRANSFER_COULD_NOT_CONNECT;
    case CURLE_WRITE_ERROR:
        return PLAT_INET_TRANSFER_WRITE_ERROR;
    case CURLE_OPERATION_TIMEDOUT:
        return PLAT_INET_TRANSFER_TIMEOUT;
    case CURLE_ABORTED_BY_CALLBACK:
        return PLAT_INET_TRANSFER_ABORTED;
    default:
        return PLAT_INET_TRANSFER_FAILED;
    }
}

} // namespace

PlatInetTransferResult PlatInetTransfer(const PlatInetTransferParms *parms, int32_t *httpStatus)
{
    ClearError();
    if (httpStatus)
        *httpStatus = 0;
    if (!parms || !parms->url || !*parms->url)
    {
        Fail(PLAT_INET_ERROR_INTERNAL, "No address");
        return PLAT_INET_TRANSFER_FAILED;
    }
    if (!IsAllowedUrl(parms->url))
        return PLAT_INET_TRANSFER_FAILED;
    if (!AddUser())
        return PLAT_INET_TRANSFER_FAILED;
    CURL *easy = curl_easy_init();
    if (!easy)
    {
        RemoveUser();
        Fail(PLAT_INET_ERROR_INTERNAL, "curl_easy_init() failed");
        return PLAT_INET_TRANSFER_FAILED;
    }
    char errorBuffer[CURL_ERROR_SIZE] = "";
    TransferContext context = {parms};
    long connectSeconds = parms->connectTimeoutSeconds ? (long)parms->connectTimeoutSeconds : kDefaultTimeoutMs / 1000;
    bool ok = SetCommonOptions(easy, parms->url, errorBuffer) &&
              curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, TransferWriteCB) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_WRITEDATA, &context) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, TransferProgressCB) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &context) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_TIMEOUT, (long)parms->timeoutSeconds) == CURLE_OK &&
              curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, connectSeconds) == CURLE_OK;
    if (ok && parms->sameProtocolOnly)
    {
        const char *protocol = strncasecmp(parms->url, "https://", 8) == 0 ? "https" : "http";
        ok = curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, protocol) == CURLE_OK &&
             curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, protocol) == CURLE_OK;
    }
    if (ok && parms->postData && parms->postSize)
        ok = curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, (long)parms->postSize) == CURLE_OK &&
             curl_easy_setopt(easy, CURLOPT_POSTFIELDS, parms->postData) == CURLE_OK &&
             curl_easy_setopt(easy, CURLOPT_POST, 1L) == CURLE_OK;
    PlatInetTransferResult result = PLAT_INET_TRANSFER_FAILED;
    if (ok)
    {
        CURLcode code = curl_easy_perform(easy);
        result = ResultFromCurl(code);
        if (code != CURLE_OK)
            FailCurl(code, errorBuffer);
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        if (httpStatus)
            *httpStatus = (int32_t)status;
    }
    curl_easy_cleanup(easy);
    RemoveUser();
    return result;
}

const char *PlatInetGetTransferResultText(PlatInetTransferResult result)
{
    switch (result)
    {
    case PLAT_INET_TRANSFER_OK:
        return "No error";
    case PLAT_INET_TRANSFER_COULD_NOT_CONNECT:
        return "Could not connect to the server";
    case PLAT_INET_TRANSFER_WRITE_ERROR:
        return "The reply was not taken whole";
    case PLAT_INET_TRANSFER_TIMEOUT:
        return "Timeout was reached";
    case PLAT_INET_TRANSFER_ABORTED:
        return "Aborted";
    default:
        return "The transfer failed";
    }
}

// ---- Errors of the calling thread -----------------------------------------------------------------

int32_t PlatInetGetErrorCode()
{
    return t_errorCode;
}

const char *PlatInetGetErrorText()
{
    return t_errorText;
}

const char *PlatInetGetServerText()
{
    return t_serverText;
}

const char *PlatInetGetErrorCodeText(int32_t code)
{
    for (const CodeText &entry : kCodeTexts)
    {
        if (entry.code == code)
            return entry.text;
    }
    return "Unknown error.";
}
