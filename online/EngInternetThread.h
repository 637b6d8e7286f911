// The background URL reader: the owner (EngInternetThread, main thread) starts one GET,
// polls its status each frame without waiting and takes a copy of the reply; a worker
// thread (EngInternetThreadWorker over EngThread) opens the address and reads the reply
// one chunk per tick (every 0.1 s) through the back end EngInternetThread_PC. Owner and
// worker share the status, the flags and the reply under the worker's EngMutex, which is
// never held across a network call.
//
// The outcome (and a finished reply) stays with the worker until the owner takes it or
// goes, however late the owner polls. Destroying the owner aborts a transfer in progress
// and waits only a short, bounded time.
#pragma once
#include <atomic>
#include <cstdint>

#include "EngThread.h"

// The status of a background read.
enum _EngInternetThreadReadResult
{
    ENG_INTERNET_READ_NONE = 0,       // no reading: not started, or the worker ended without an outcome
    ENG_INTERNET_READ_READING = 1,
    ENG_INTERNET_READ_DONE = 2,
    ENG_INTERNET_READ_TIMEOUT = -1,
    ENG_INTERNET_READ_FAILED = -2,
    ENG_INTERNET_READ_CANCELLED = -3,
};

class EngInternetThread_PC;
class EngInternetThreadWorker;

class EngInternetThread
{
public:
    enum
    {
        NAME_SIZE = 17, // 16 characters and the terminator
    };
    // Log levels: 0 silent (failures are still reported); 1 progress; 2 also each chunk.
    EngInternetThread(const char *name, int logLevel);
    ~EngInternetThread();
    EngInternetThread(const EngInternetThread &) = delete;
    EngInternetThread &operator=(const EngInternetThread &) = delete;

    // Starts reading `url` into a buffer of maxBytes (at most maxBytes - 1 bytes of the
    // reply are kept); a time-out below 1 s means 15 s, counted from now over connecting
    // and reading together. A previous worker is destroyed first.
    bool StartReading(const char *url, uint32_t maxBytes, int32_t timeoutSeconds);
    // The worker's status (-2 "No thread." without one); with sleepSeconds > 0 sleeps that
    // long once while the status is 1.
    int32_t GetReadingStatus(double sleepSeconds);
    // At status 2, a new copy of the reply with a terminating zero (free with EngFree) and
    // its size in *size; NULL otherwise.
    char *GetDataReadFreeWhenDone(uint32_t *size);
    // Status 1 becomes -3 at once; the transfer under way is aborted and the worker ends
    // on its next tick.
    bool CancelReading();
    // A worker exists and its thread still runs.
    bool IsReading();
    // Asks the worker to end, aborts its transfer and waits for it (bounded).
    void WaitForThreadToExit();
    // WaitForThreadToExit, then the worker is destroyed. A worker that did not end in
    // time is left to end by itself (it never touches this object).
    void Destroy();
    // The reason of the last failure of the read ("" when none).
    void GetErrorText(char *out, int size);

    const char *GetName() const { return name; }
    int GetLogLevel() const { return logLevel; }

    // How long Destroy waits for a worker before leaving it (seconds).
    static const double kExitWaitSeconds;

private:
    char name[NAME_SIZE];
    uint8_t logLevel;
    EngInternetThreadWorker *worker;
};

class EngInternetThreadWorker : public EngThread
{
public:
    EngInternetThreadWorker(const char *name, int logLevel);
    ~EngInternetThreadWorker() override;

    bool Setup(const char *url, uint32_t maxBytes, int32_t timeoutSeconds);
    int32_t GetStatus();
    char *GetWorkerDataRead(uint32_t *size);
    void Cancel();
    // Sets the cancel flag and aborts the transfer in progress.
    void RequestExit();
    void GetErrorText(char *out, int size);

    bool InitCB() override;
    bool TickCB() override;
    int ExitCB(bool destroying) override;

private:
    int32_t ReadDataChunk();
    void FreeBuffers();
    // Keeps the reason of a failure; writes it to the log too at log level 1 and above.
    void SetError(const char *text);

    char ownerName[EngInternetThread::NAME_SIZE];
    int logLevel;
    EngInternetThread_PC *backEnd; // the worker thread's own
    EngMutex mutex;
    uint8_t startReading;
    uint8_t cancel;
    int32_t status;
    char *url;
    char *buffer;
    uint32_t bytesRead;
    uint32_t maxBytes;
    double deadline; // engine clock seconds
    int32_t timeoutSeconds;
    char errorText[256];
    std::atomic<bool> abortFlag;
};

// ---- What the back end provides (EngInternetThread_PC.cpp) ---------------------------------
// One worker's connection: opens the address on the first read and reads the reply.
struct PlatInetSession;
struct PlatInetStream;

class EngInternetThread_PC
{
public:
    // `abortFlag` (may be NULL) ends any wait of the back end promptly when raised.
    EngInternetThread_PC(const char *name, const std::atomic<bool> *abortFlag);
    ~EngInternetThread_PC();

    bool PrepareForReading(const char *url, int32_t seconds);
    // 1 more to come (n bytes read, maybe 0), 2 the reply is complete, -2 failed,
    // -3 aborted. `error` receives the reason of a failure.
    int32_t ReadFromOpenStream(char *buffer, uint32_t size, uint32_t *n, char *error, int errorSize);
    void Close();

private:
    char name[EngInternetThread::NAME_SIZE];
    const std::atomic<bool> *abortFlag;
    PlatInetSession *session;
    PlatInetStream *stream;
    uint32_t timeoutMilliseconds;
    char *url;
    uint8_t openState; // 0 idle, 1 prepared, 2 opened
    uint8_t readPhase; // 0 first call, 1 reading, 2 finished
    uint8_t closing;
};
