// Stand-in for the internet services the online code uses, over libcurl: a session with
// its time-outs, an address opened for reading, the reply read in chunks, and whole
// transfers (GET or POST) into the caller's buffer. Peers are verified with the system's
// certificates; names resolve to IPv4 addresses; redirects (up to 5, http and https
// only) are followed. No header of libcurl crosses this file.
// platform/ has no log: a failing call returns 0 / NULL and leaves an error code and its
// text for the calling thread (PlatInetGetErrorCode, PlatInetGetErrorText).
//
// What it does not do: proxies, cookies, caching, authentication, a user interface.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

// ---- Error codes (PlatInetGetErrorCode) ---------------------------------------------
enum PlatInetError
{
    PLAT_INET_ERROR_NONE = 0,
    PLAT_INET_ERROR_TIMEOUT = 12002,         // no progress within the time-out
    PLAT_INET_ERROR_SERVER_TEXT = 12003,     // the server answered an HTTP failure status
    PLAT_INET_ERROR_BAD_URL = 12005,         // the address cannot be used
    PLAT_INET_ERROR_NAME_NOT_RESOLVED = 12007,
    PLAT_INET_ERROR_CANCELLED = 12017,       // the caller's abort flag was raised
    PLAT_INET_ERROR_CANNOT_CONNECT = 12029,
    PLAT_INET_ERROR_CONNECTION_ABORTED = 12030, // cut before the reply was complete
    PLAT_INET_ERROR_INVALID_REPLY = 12152,   // not an HTTP reply
    PLAT_INET_ERROR_SECURITY = 12157,        // TLS failure or an unverified peer
    PLAT_INET_ERROR_NOT_ALLOWED = 12158,     // refused by the loopback-only switch
    PLAT_INET_ERROR_INTERNAL = 12004,        // out of memory, misuse, anything else
};

// ---- Process-wide set-up --------------------------------------------------------------
// Sets libcurl up once for the process (any thread; later calls only answer). Every
// other call here sets it up on demand. It is never cleaned up while a session or a
// transfer exists: PlatInetCleanup refuses then.
bool PlatInetSetup();
bool PlatInetIsSetup();
bool PlatInetCleanup();
// The library's version text ("libcurl/7.88.1 OpenSSL/3.0 ...") for the start-up log.
const char *PlatInetGetVersionText();

// ---- Sessions and streamed reads -------------------------------------------------------
struct PlatInetSession;
struct PlatInetStream;

// A session names the agent sent with each request and holds the time-outs.
PlatInetSession *PlatInetOpenSession(const char *agent);
void PlatInetCloseSession(PlatInetSession *session);
// Milliseconds: to connect; to send the request; without a byte of the reply arriving.
// 0 keeps the default of 30 s.
void PlatInetSetTimeouts(PlatInetSession *session, uint32_t connectMs, uint32_t sendMs, uint32_t receiveMs);
// A flag another thread may raise: every call of the session then fails promptly
// (within about 50 ms) with PLAT_INET_ERROR_CANCELLED. NULL: no flag. The flag must
// outlive the session.
void PlatInetSetAbortFlag(PlatInetSession *session, const std::atomic<bool> *abortFlag);

// Sends a GET for `url` (reloaded, never from a cache) and returns once the reply's
// status has arrived. A status of 400 or above fails with PLAT_INET_ERROR_SERVER_TEXT
// and the status line in PlatInetGetServerText.
PlatInetStream *PlatInetOpenUrl(PlatInetSession *session, const char *url);
// Reads up to `size` bytes of the reply. 1 with *bytesRead > 0: data; 1 with
// *bytesRead == 0: the reply is complete; 0: failure (time-out, cut connection,
// cancelled), *bytesRead 0.
int PlatInetReadStream(PlatInetStream *stream, void *buffer, uint32_t size, uint32_t *bytesRead);
// Bytes that a read would return at once without waiting (0 when none yet).
uint32_t PlatInetQueryDataAvailable(PlatInetStream *stream);
void PlatInetCloseStream(PlatInetStream *stream);

// ---- Whole transfers ---------------------------------------------------------------------
enum PlatInetTransferResult
{
    PLAT_INET_TRANSFER_OK = 0,
    PLAT_INET_TRANSFER_COULD_NOT_CONNECT = 7,
    PLAT_INET_TRANSFER_WRITE_ERROR = 23,     // the writer took fewer bytes than it was given
    PLAT_INET_TRANSFER_TIMEOUT = 28,
    PLAT_INET_TRANSFER_ABORTED = 42,         // the abort flag was raised
    PLAT_INET_TRANSFER_FAILED = 99,          // anything else: see the error text
};

// Receives each block of the reply; answers the bytes it took (fewer ends the transfer
// with PLAT_INET_TRANSFER_WRITE_ERROR).
typedef size_t (*PlatInetWriteFn)(void *user, const char *data, size_t size);

struct PlatInetTransferParms
{
    const char *url;
    const char *postData;          // POST when given with a nonzero size, else GET
    uint32_t postSize;
    uint32_t timeoutSeconds;       // whole transfer; 0 none
    uint32_t connectTimeoutSeconds; // 0 the default of 30 s
    PlatInetWriteFn write;
    void *writeUser;
    const std::atomic<bool> *abortFlag; // may be NULL
    // Told the reply's expected size (0 while unknown) and the bytes received so far as
    // the transfer goes; a nonzero answer aborts it as the abort flag does. May be NULL.
    int (*progress)(void *user, uint64_t totalBytes, uint64_t receivedBytes);
    void *progressUser;
    // With it set, the transfer and every redirect stay on the address's own protocol
    // (an https download is never redirected to plain http).
    uint8_t sameProtocolOnly;
};

// Runs one transfer on the calling thread. Fills *httpStatus (may be NULL) with the
// reply's status (0 when none came).
PlatInetTransferResult PlatInetTransfer(const PlatInetTransferParms *parms, int32_t *httpStatus);
// A readable text of a transfer result.
const char *PlatInetGetTransferResultText(PlatInetTransferResult result);

// ---- Errors of the calling thread ----------------------------------------------------------
int32_t PlatInetGetErrorCode();
const char *PlatInetGetErrorText();
// The status line of the last HTTP failure status ("HTTP 404"), "" when none.
const char *PlatInetGetServerText();
// The text of an error code (the system's message for it).
const char *PlatInetGetErrorCodeText(int32_t code);

// ---- Seam ----------------------------------------------------------------------------------
// With the switch on, only addresses whose host is 127.0.0.1 or localhost are opened;
// any other fails with PLAT_INET_ERROR_NOT_ALLOWED (tests never reach further).
void PlatInetSetLoopbackOnly(bool on);
