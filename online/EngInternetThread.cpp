// The background URL reader: the owner's calls (main thread) and the worker thread.
// The worker reads the engine clock directly and never the frame timing the main loop
// owns; every log line goes through the thread-safe reporters.
//
// Sections: helpers, owner, worker set-up and queries, worker thread.
#include "EngInternetThread.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngMemory.h"
#include "EngMisc.h"

// ---- Helpers ------------------------------------------------------------------------------

namespace
{

const double kMutexSeconds = 5.0;
const double kTickSleepSeconds = 0.1;
const int32_t kDefaultTimeoutSeconds = 15;
const double kExitPollSeconds = 0.01;

// The engine clock, safe on any thread (the frame timing belongs to the main loop).
double NowSeconds()
{
    return EngMiscGetClock_PC();
}

// Locks for the rest of the scope; `locked` tells whether the lock was taken.
struct MutexGuard
{
    explicit MutexGuard(EngMutex &mutex) : mutex(mutex), locked(mutex.Lock()) {}
    ~MutexGuard()
    {
        if (locked)
            mutex.Unlock();
    }
    void Unlock()
    {
        if (locked)
            mutex.Unlock();
        locked = false;
    }
    void Lock()
    {
        if (!locked)
            locked = mutex.Lock();
    }
    EngMutex &mutex;
    bool locked;
};

} // namespace

const double EngInternetThread::kExitWaitSeconds = 2.0;

// ---- Owner ----------------------------------------------------------------------------------

EngInternetThread::EngInternetThread(const char *threadName, int level) : logLevel((uint8_t)level), worker(nullptr)
{
    EngSafeStrcpy(name, threadName ? threadName : "", sizeof(name));
}

EngInternetThread::~EngInternetThread()
{
    Destroy();
}

bool EngInternetThread::StartReading(const char *url, uint32_t maxBytes, int32_t timeoutSeconds)
{
    if (logLevel >= 1)
        DebugInfo("EIT> StartReading...");
    Destroy();
    if (!url || !*url || maxBytes == 0)
    {
        DebugError(ENG_FUNC, "Parameters Error");
        return false;
    }
    if (worker)
    {
        DebugError(ENG_FUNC, "Thread already created.");
        return false;
    }
    worker = new (std::nothrow) EngInternetThreadWorker(name, logLevel);
    if (!worker)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    if (!worker->Setup(url, maxBytes, timeoutSeconds))
    {
        DebugError(ENG_FUNC, "Setup failed.");
        delete worker;
        worker = nullptr;
        return false;
    }
    return true;
}

int32_t EngInternetThread::GetReadingStatus(double sleepSeconds)
{
    if (!worker)
    {
        DebugError(ENG_FUNC, "No thread.");
        return ENG_INTERNET_READ_FAILED;
    }
    int32_t status = worker->GetStatus();
    if (status == ENG_INTERNET_READ_READING && sleepSeconds > 0)
        EngMiscSleepSeconds(sleepSeconds);
    return status;
}

char *EngInternetThread::GetDataReadFreeWhenDone(uint32_t *size)
{
    if (size)
        *size = 0;
    if (!worker)
    {
        DebugError(ENG_FUNC, "No thread");
        return nullptr;
    }
    int32_t status = worker->GetStatus();
    if (status == ENG_INTERNET_READ_READING)
    {
        DebugError(ENG_FUNC, "Reading has not finished");
        return nullptr;
    }
    if (status != ENG_INTERNET_READ_DONE)
    {
        DebugError(ENG_FUNC, "Reading did not complete ok");
        return nullptr;
    }
    return worker->GetWorkerDataRead(size);
}

bool EngInternetThread::CancelReading()
{
    if (logLevel >= 1)
        DebugInfo("EIT> CancelReading().");
    if (worker)
        worker->Cancel();
    return true;
}

bool EngInternetThread::IsReading()
{
    return worker && worker->IsRunning();
}

void EngInternetThread::WaitForThreadToExit()
{
    if (!worker)
        return;
    worker->RequestExit();
    double start = NowSeconds();
    double nextNote = start + 1.0;
    while (worker->IsRunning() && NowSeconds() - start < kExitWaitSeconds)
    {
        EngMiscSleepSeconds(kExitPollSeconds);
        if (logLevel >= 1 && NowSeconds() >= nextNote)
        {
            nextNote += 1.0;
            DebugInfo("EIT> Waiting for worker to finish [%.1f] ...", NowSeconds() - start);
        }
    }
    if (worker->IsRunning())
        DebugError(ENG_FUNC, "Worker did not finish.");
}

void EngInternetThread::Destroy()
{
    if (!worker)
        return;
    if (logLevel >= 1)
        DebugInfo("EIT> Destroy() ...");
    WaitForThreadToExit();
    if (worker->IsRunning())
    {
        // Its thread is still inside a callback on the object: leave both to end by
        // themselves rather than free memory the thread still uses.
        worker->Destroy(false);
        worker = nullptr;
        return;
    }
    worker->Destroy(true);
    delete worker;
    worker = nullptr;
}

void EngInternetThread::GetErrorText(char *out, int size)
{
    if (!out || size < 1)
        return;
    out[0] = 0;
    if (worker)
        worker->GetErrorText(out, size);
}

// ---- Worker set-up and queries ---------------------------------------------------------------

EngInternetThreadWorker::EngInternetThreadWorker(const char *name, int level)
    : EngThread(name, 0, 0), logLevel(level), backEnd(nullptr), mutex(kMutexSeconds), startReading(0), cancel(0),
      status(ENG_INTERNET_READ_NONE), url(nullptr), buffer(nullptr), bytesRead(0), maxBytes(0), deadline(0),
      timeoutSeconds(0), errorText(), abortFlag(false)
{
    EngSafeStrcpy(ownerName, name ? name : "", sizeof(ownerName));
}

EngInternetThreadWorker::~EngInternetThreadWorker()
{
    // The thread first, so that nothing below is in use any more.
    EngThread::Destroy(true);
    delete backEnd;
    backEnd = nullptr;
    FreeBuffers();
}

void EngInternetThreadWorker::FreeBuffers()
{
    EngFree(url, false, "EngInternetThreadWorker::FreeBuffers");
    EngFree(buffer, false, "EngInternetThreadWorker::FreeBuffers");
    url = nullptr;
    buffer = nullptr;
}

bool EngInternetThreadWorker::Setup(const char *address, uint32_t bytes, int32_t seconds)
{
    {
        MutexGuard guard(mutex);
        if (!guard.locked)
            return false;
        maxBytes = bytes;
        timeoutSeconds = seconds < 1 ? kDefaultTimeoutSeconds : seconds;
        deadline = NowSeconds() + timeoutSeconds;
        url = EngMallocStringFromString(address, true, "EngInternetThreadWorker::Setup");
        buffer = (char *)EngMalloc((size_t)maxBytes + 1, "EngInternetThreadWorker::Setup", true);
        if (!url || !buffer)
        {
            FreeBuffers();
            return false;
        }
        bytesRead = 0;
        startReading = 1;
        status = ENG_INTERNET_READ_READING;
        errorText[0] = 0;
    }
    SetTickSleepTime(kTickSleepSeconds);
    if (!Create(ownerName))
    {
        MutexGuard guard(mutex);
        FreeBuffers();
        status = ENG_INTERNET_READ_NONE;
        return false;
    }
    return true;
}

int32_t EngInternetThreadWorker::GetStatus()
{
    MutexGuard guard(mutex);
    if (!guard.locked)
        return ENG_INTERNET_READ_FAILED;
    if (status == ENG_INTERNET_READ_READING && NowSeconds() >= deadline)
    {
        if (logLevel >= 1)
            DebugInfo("ETW> Timeout reading data");
        return ENG_INTERNET_READ_TIMEOUT;
    }
    return status;
}

char *EngInternetThreadWorker::GetWorkerDataRead(uint32_t *size)
{
    if (size)
        *size = 0;
    MutexGuard guard(mutex);
    if (!guard.locked)
        return nullptr;
    if (!buffer)
    {
        DebugError(ENG_FUNC, "Not reading data");
        return nullptr;
    }
    if (status == ENG_INTERNET_READ_READING)
    {
        DebugError(ENG_FUNC, "Reading has not finished");
        return nullptr;
    }
    if (status != ENG_INTERNET_READ_DONE)
    {
        DebugError(ENG_FUNC, "Reading did not complete ok");
        return nullptr;
    }
    uint32_t count = bytesRead;
    if (maxBytes > 0 && count > maxBytes - 1)
        count = maxBytes - 1;
    char *copy = (char *)EngMalloc((size_t)count + 1, "EngInternetThreadWorker::GetWorkerDataRead", false);
    if (!copy)
        return nullptr;
    memcpy(copy, buffer, count);
    copy[count] = 0;
    if (size)
        *size = count;
    return copy;
}

void EngInternetThreadWorker::Cancel()
{
    {
        MutexGuard guard(mutex);
        if (status == ENG_INTERNET_READ_READING)
            status = ENG_INTERNET_READ_CANCELLED;
    }
    {
        MutexGuard guard(mutex);
        cancel = 1;
    }
    // Nobody waits for the reply any more: a transfer under way ends at once.
    abortFlag.store(true);
}

void EngInternetThreadWorker::RequestExit()
{
    {
        MutexGuard guard(mutex);
        cancel = 1;
    }
    abortFlag.store(true);
}

void EngInternetThreadWorker::GetErrorText(char *out, int size)
{
    MutexGuard guard(mutex);
    EngSafeStrcpy(out, errorText, (size_t)size);
}

void EngInternetThreadWorker::SetError(const char *text)
{
    {
        MutexGuard guard(mutex);
        EngSafeStrcpy(errorText, text, sizeof(errorText));
    }
    if (logLevel >= 1)
        DebugInfo("ETW> %s", text);
}

// ---- Worker thread ----------------------------------------------------------------------------

bool EngInternetThreadWorker::InitCB()
{
    if (logLevel >= 1)
        DebugInfo("ETW> InitCB()");
    backEnd = new (std::nothrow) EngInternetThread_PC(ownerName, &abortFlag);
    if (!backEnd)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    return true;
}

bool EngInternetThreadWorker::TickCB()
{
    MutexGuard guard(mutex);
    if (!guard.locked)
        return false;
    if (!backEnd)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (cancel)
    {
        if (logLevel >= 1)
            DebugInfo("ETW> Exiting thread...");
        return false;
    }
    if (startReading)
    {
        // The address and time-out change only in Setup, before the thread starts.
        const char *address = url;
        int32_t seconds = timeoutSeconds;
        guard.Unlock();
        bool prepared = backEnd->PrepareForReading(address, seconds);
        guard.Lock();
        startReading = 0;
        if (!prepared)
        {
            if (status == ENG_INTERNET_READ_READING)
                status = ENG_INTERNET_READ_FAILED;
            guard.Unlock();
            SetError("Could not prepare for reading.");
            return false;
        }
        return true;
    }
    if (status != ENG_INTERNET_READ_READING)
    {
        if (logLevel >= 1)
            DebugInfo("ETW> status is %d so returning 0.", status);
        return false;
    }
    if (NowSeconds() >= deadline)
    {
        status = ENG_INTERNET_READ_TIMEOUT;
        guard.Unlock();
        SetError("Timeout reading data");
        return false;
    }
    guard.Unlock();
    int32_t result = ReadDataChunk();
    guard.Lock();
    // A cancel that came during the read stays.
    if (status == ENG_INTERNET_READ_READING)
        status = result;
    return result == ENG_INTERNET_READ_READING || result == ENG_INTERNET_READ_DONE;
}

int32_t EngInternetThreadWorker::ReadDataChunk()
{
    char *destination;
    uint32_t room;
    {
        MutexGuard guard(mutex);
        if (!buffer || !url || !backEnd)
        {
            DebugError(ENG_FUNC, "Not setup properly");
            return ENG_INTERNET_READ_FAILED;
        }
        uint32_t remaining = maxBytes - bytesRead;
        if (remaining <= 1)
            return ENG_INTERNET_READ_DONE;
        // The owner copies only the bytes counted so far, so the free part beyond them
        // is the worker's alone while it reads.
        destination = buffer + bytesRead;
        room = remaining - 1;
    }
    uint32_t count = 0;
    char reason[256] = "";
    int32_t result = backEnd->ReadFromOpenStream(destination, room, &count, reason, sizeof(reason));
    if (result != ENG_INTERNET_READ_READING && result != ENG_INTERNET_READ_DONE)
    {
        if (reason[0])
            SetError(reason);
        return result;
    }
    MutexGuard guard(mutex);
    if (result == ENG_INTERNET_READ_READING && NowSeconds() >= deadline)
    {
        EngSafeStrcpy(errorText, "Timeout reading data", sizeof(errorText));
        return ENG_INTERNET_READ_TIMEOUT;
    }
    bytesRead += count;
    buffer[bytesRead] = 0;
    if (logLevel >= 2)
        DebugInfo("ETW> Read %u bytes (%u in all)", count, bytesRead);
    if (bytesRead >= maxBytes)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return ENG_INTERNET_READ_FAILED;
    }
    return result;
}

int EngInternetThreadWorker::ExitCB(bool destroying)
{
    if (logLevel >= 1)
        DebugInfo("ETW> Exiting...");
    if (backEnd)
    {
        backEnd->Close();
        delete backEnd;
        backEnd = nullptr;
    }
    MutexGuard guard(mutex);
    startReading = 0;
    // The outcome waits for the owner however long it takes to come for it; a finished
    // reply keeps its buffer. Only a read that never came to an end reads as none.
    if (status == ENG_INTERNET_READ_DONE)
    {
        EngFree(url, false, "EngInternetThreadWorker::ExitCB");
        url = nullptr;
        return 0;
    }
    FreeBuffers();
    if (status == ENG_INTERNET_READ_READING)
        status = ENG_INTERNET_READ_NONE;
    return 0;
}
