// Worker threads and mutexes over POSIX threads.
//
// The flags owner and worker share sit in a separate block with its own short-held
// lock (`control`); the thread's mutex of WaitForMutex/DoneWithMutex records which
// thread holds it, so no side can release it for the other. Destroy waits a bounded
// time and joins; a worker that does not end in time is detached and abandoned, and
// leaves the object alone from then on.
//
// Sections: shared block, EngThread, the worker, EngMutex.
#include "EngThread.h"

#include <errno.h>
#include <time.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngMemory.h"

namespace
{

enum
{
    THREAD_STATE_NONE = 0,
    THREAD_STATE_STARTING = 1,
    THREAD_STATE_RUNNING = 2,
};

const double kDefaultLimitSeconds = 30.0;
const double kStatusIntervalSeconds = 2.0;

double NowSeconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

void SleepMilliseconds(int milliseconds)
{
    timespec wait = {(time_t)(milliseconds / 1000), (long)(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR)
    {
    }
}

} // namespace

// ---- Shared block ---------------------------------------------------------------------------

struct EngThreadShared
{
    // The mutex of WaitForMutex / DoneWithMutex, and who holds it.
    pthread_mutex_t mutex;
    std::atomic<bool> held;
    std::atomic<pthread_t> holder;

    // Guards everything below; never held while waiting for anything.
    pthread_mutex_t control;
    EngThread *object; // valid while not abandoned
    int8_t state;
    bool initPending;
    bool exitRequest;
    bool finished;
    bool destroying;
    bool abandoned;
    int references; // the owner and the worker
};

namespace
{

struct ControlLock
{
    explicit ControlLock(EngThreadShared *shared) : shared(shared) { pthread_mutex_lock(&shared->control); }
    ~ControlLock() { pthread_mutex_unlock(&shared->control); }
    EngThreadShared *shared;
};

bool HeldByCaller(const EngThreadShared *shared)
{
    return shared->held.load() && pthread_equal(shared->holder.load(), pthread_self());
}

// Takes the thread's mutex, trying every millisecond for up to `seconds`. Failures other
// than a busy mutex are printed (as the thread's mutex errors always are).
bool LockFor(EngThreadShared *shared, double seconds)
{
    double end = NowSeconds() + seconds;
    while (true)
    {
        int result = pthread_mutex_trylock(&shared->mutex);
        if (result == 0)
        {
            shared->holder.store(pthread_self());
            shared->held.store(true);
            return true;
        }
        if (result == EINVAL)
            printf("Error: EngThread::WaitForMutex - Mutex is invalid\n");
        else if (result != EBUSY)
            printf("Error: EngThread::WaitForMutex - Unexpected result from wait: %d\n", result);
        if (NowSeconds() >= end)
            return false;
        SleepMilliseconds(1);
    }
}

void UnlockHeld(EngThreadShared *shared)
{
    shared->held.store(false);
    pthread_mutex_unlock(&shared->mutex);
}

// Drops one reference; the last one frees the block.
void ReleaseShared(EngThreadShared *shared)
{
    bool last;
    {
        ControlLock lock(shared);
        last = --shared->references == 0;
    }
    if (!last)
        return;
    pthread_mutex_destroy(&shared->mutex);
    pthread_mutex_destroy(&shared->control);
    delete shared;
}

} // namespace

// ---- EngThread --------------------------------------------------------------------------------

EngThread::EngThread(const char *threadName, int level, uint8_t flagValue)
    : logLevel((int8_t)level), flag(flagValue), tickSleepMilliseconds(1), tickCallback(nullptr), tickUserValue(0),
      exitCallback(nullptr), exitUserValue(0), mutexHoldLimit(kDefaultLimitSeconds),
      mutexWaitLimit(kDefaultLimitSeconds), destroyWaitLimit(kDefaultLimitSeconds), shared(nullptr), started(false),
      thread()
{
    EngSafeStrcpy(name, threadName, sizeof(name));
    Trace(2, "Thread %s> Constructed.%s", name, "");
    ResetVars();
}

EngThread::~EngThread()
{
    Trace(2, "Thread %s> Destructed.%s", name, "");
    Destroy(true);
}

void EngThread::Trace(int level, const char *format, ...) const
{
    if (logLevel < level)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    DebugInfoQuickAlt("EngThread", "%s", text);
}

void EngThread::ResetVars()
{
    started = false;
    thread = pthread_t();
}

bool EngThread::InitCB()
{
    return true;
}

bool EngThread::TickCB()
{
    return tickCallback ? tickCallback(tickUserValue) : true;
}

int EngThread::ExitCB(bool destroying)
{
    return exitCallback ? exitCallback(exitUserValue) : 0;
}

void EngThread::SetTickSleepTime(double seconds)
{
    tickSleepMilliseconds.store(seconds > 0 ? (int)(seconds * 1000.0) : 0);
}

void EngThread::SetTickCallback(EngThreadTickFn callback, intptr_t userValue)
{
    tickCallback = callback;
    tickUserValue = userValue;
}

void EngThread::SetExitCallback(EngThreadExitFn callback, intptr_t userValue)
{
    exitCallback = callback;
    exitUserValue = userValue;
}

void EngThread::SetMutexHoldLimit(double seconds)
{
    mutexHoldLimit.store(seconds > 0 ? seconds : 0);
}

void EngThread::SetMutexWaitLimit(double seconds)
{
    mutexWaitLimit.store(seconds > 0 ? seconds : 0);
}

void EngThread::SetDestroyWaitLimit(double seconds)
{
    destroyWaitLimit.store(seconds > 0 ? seconds : 0);
}

bool EngThread::Create(const char *newName)
{
    if (newName)
        EngSafeStrcpy(name, newName, sizeof(name));
    Trace(2, "Thread %s> Created.%s", name, "");
    if (shared)
    {
        int state;
        {
            ControlLock lock(shared);
            state = shared->state;
        }
        DebugError(ENG_FUNC, "Already Initialsed [%d]", state);
        Destroy(true);
    }
    Trace(2, "Create thread: Starting...");

    EngThreadShared *block = new (std::nothrow) EngThreadShared();
    if (!block)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    if (pthread_mutex_init(&block->mutex, nullptr) != 0)
    {
        DebugError(ENG_FUNC, "pthread_mutex_init() failed");
        delete block;
        return false;
    }
    pthread_mutex_init(&block->control, nullptr);
    block->object = this;
    block->state = THREAD_STATE_STARTING;
    block->initPending = true;
    block->references = 2;
    Trace(2, "Create thread: Part 1");
    if (pthread_create(&thread, nullptr, ProcessThread, block) != 0)
    {
        DebugError(ENG_FUNC, "pthread_create() failed");
        pthread_mutex_destroy(&block->mutex);
        pthread_mutex_destroy(&block->control);
        delete block;
        ResetVars();
        return false;
    }
    pthread_setname_np(thread, name);
    shared = block;
    started = true;
    Trace(2, "Create thread: Part 2");
    {
        // The block started with the finished flag clear; the worker may be done already.
        ControlLock lock(shared);
        shared->state = THREAD_STATE_RUNNING;
    }
    Trace(2, "Create thread: Done.");
    return true;
}

bool EngThread::IsRunning()
{
    if (!shared)
        return false;
    bool finished;
    {
        ControlLock lock(shared);
        finished = shared->finished;
    }
    if (!finished)
        return true;
    Destroy(true);
    return false;
}

bool EngThread::WaitForMutex()
{
    if (!shared)
    {
        printf("Error: EngThread::WaitForMutex - Thread not setup\n");
        return false;
    }
    if (HeldByCaller(shared))
    {
        printf("Error: EngThread::WaitForMutex - Already have mutex\n");
        return false;
    }
    if (!LockFor(shared, mutexWaitLimit.load()))
    {
        printf("Error: EngThread::WaitForMutex - Wait timed-out\n");
        return false;
    }
    Trace(4, "Thread %s> Got mutex.", name);
    return true;
}

bool EngThread::DoneWithMutex()
{
    if (!shared)
    {
        printf("Error: EngThread::DoneWithMutex - Thread not setup\n");
        return false;
    }
    if (!HeldByCaller(shared))
    {
        printf("Error: EngThread::DoneWithMutex - Don't have mutex\n");
        return false;
    }
    UnlockHeld(shared);
    Trace(4, "Thread %s> Released mutex.", name);
    return true;
}

bool EngThread::IsMutexHeld() const
{
    return shared && shared->held.load();
}

void EngThread::Destroy(bool wait)
{
    Trace(1, "Destroy [ w:%d, i:%d, e:%d ] : Starting...", wait ? 1 : 0, shared ? 1 : 0, 0);
    if (shared)
    {
        if (started && pthread_equal(thread, pthread_self()))
        {
            // The worker cannot wait for itself: it only asks itself to end.
            DebugError(ENG_FUNC, "Cannot destroy a thread from its own callbacks");
            ControlLock lock(shared);
            shared->exitRequest = true;
            return;
        }
        if (HeldByCaller(shared))
            UnlockHeld(shared);
        bool finished;
        int state;
        {
            ControlLock lock(shared);
            shared->exitRequest = true;
            shared->destroying = true;
            finished = shared->finished;
            state = shared->state;
        }
        if (!started)
            Trace(1, "Not waiting as thread is not initialised [%d]", state);
        else
        {
            if (wait && !finished)
            {
                double limit = destroyWaitLimit.load();
                double start = NowSeconds();
                int loops = 0;
                while (!finished && NowSeconds() - start < limit)
                {
                    SleepMilliseconds(10);
                    loops++;
                    if (loops % 100 == 0)
                        Trace(1, "Destroy: Waiting... [%d]", loops / 100);
                    ControlLock lock(shared);
                    finished = shared->finished;
                }
                Trace(1, "Destroy: Done waiting [done: %d, loops: %d].", finished ? 1 : 0, loops);
                if (!finished)
                    DebugError(ENG_FUNC, "Thread %s did not finish within %.1f s: left to end on its own", name,
                               limit);
            }
            if (finished)
                pthread_join(thread, nullptr);
            else
            {
                // From here on the worker never touches this object again.
                {
                    ControlLock lock(shared);
                    shared->abandoned = true;
                    shared->object = nullptr;
                }
                pthread_detach(thread);
            }
        }
        ReleaseShared(shared);
        shared = nullptr;
    }
    ResetVars();
    Trace(1, "Destroy: Done.");
}

// ---- The worker --------------------------------------------------------------------------------

void *EngThread::ProcessThread(void *argument)
{
    EngThreadShared *block = (EngThreadShared *)argument;
    if (!block)
    {
        DebugError(ENG_FUNC, "Invalid pointer");
        return nullptr;
    }
    int state;
    {
        ControlLock lock(block);
        state = block->state;
    }
    if (state == THREAD_STATE_STARTING || state == THREAD_STATE_RUNNING)
        DoThreadMain(block);
    else
    {
        DebugError(ENG_FUNC, "Invalid pointer");
        ControlLock lock(block);
        block->finished = true;
    }
    ReleaseShared(block);
    return nullptr;
}

void EngThread::DoThreadMain(EngThreadShared *block)
{
    double nextStatusTime = 0;
    int iterations = 0;
    while (true)
    {
        // One look at the shared state; the object's settings are read while the owner
        // cannot abandon the worker.
        EngThread *self;
        int state;
        bool initPending;
        bool exitRequest;
        double holdLimit;
        int sleepMilliseconds;
        int level;
        {
            ControlLock lock(block);
            if (block->abandoned)
                return;
            self = block->object;
            state = block->state;
            initPending = block->initPending;
            exitRequest = block->exitRequest;
            holdLimit = self->mutexHoldLimit.load();
            sleepMilliseconds = self->tickSleepMilliseconds.load();
            level = self->logLevel;
        }
        iterations++;
        if (level >= 3 && NowSeconds() >= nextStatusTime)
        {
            nextStatusTime = NowSeconds() + kStatusIntervalSeconds;
            self->Trace(3, "Thread %s> Loop [ it: %d  hm: %d  imw: %d emw: %d", self->name, state,
                        block->held.load() ? 1 : 0, initPending ? 1 : 0, exitRequest ? 1 : 0);
        }
        if (state != THREAD_STATE_STARTING && state != THREAD_STATE_RUNNING)
        {
            self->Trace(1, "Thread not initialised (A) (%d)", state);
            ControlLock lock(block);
            block->finished = true;
            return;
        }

        if (initPending || exitRequest)
        {
            // An owner holding the mutex holds off init and exit; the worker waits for it
            // and never takes it from its holder.
            if (!LockFor(block, holdLimit))
            {
                printf("Error:  EngThread::DoThreadMain:Mutex - mutex locked for longer than max time allowed\n");
                continue;
            }
            bool destroying;
            {
                ControlLock lock(block);
                initPending = block->initPending;
                exitRequest = block->exitRequest && !initPending;
                block->initPending = false;
                if (exitRequest)
                    block->exitRequest = false;
                destroying = block->destroying;
            }
            UnlockHeld(block);
            if (initPending)
            {
                if (!self->InitCB())
                {
                    self->Trace(1, "InitCB() returned 0 => Exiting.");
                    ControlLock lock(block);
                    block->exitRequest = true;
                }
                continue;
            }
            if (exitRequest)
            {
                bool abandoned;
                {
                    ControlLock lock(block);
                    abandoned = block->abandoned;
                }
                if (!abandoned)
                    self->ExitCB(destroying);
                ControlLock lock(block);
                block->finished = true;
                return;
            }
            continue;
        }

        if (state != THREAD_STATE_RUNNING)
        {
            SleepMilliseconds(1);
            continue;
        }
        bool keepGoing = self->TickCB();
        ControlLock lock(block);
        if (!keepGoing)
        {
            block->exitRequest = true;
            continue;
        }
        if (block->exitRequest || block->abandoned || sleepMilliseconds <= 0)
            continue;
        pthread_mutex_unlock(&block->control);
        SleepMilliseconds(sleepMilliseconds);
        pthread_mutex_lock(&block->control);
    }
}

// ---- EngMutex ------------------------------------------------------------------------------------

EngMutex::EngMutex(double timeoutSeconds) : mutex(), setup(0), lockTries(1000), held(false), holder()
{
    if (timeoutSeconds > 0)
        Setup(timeoutSeconds);
}

EngMutex::~EngMutex()
{
    if (setup)
        pthread_mutex_destroy(&mutex);
}

bool EngMutex::Setup(double timeoutSeconds)
{
    if (setup)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("ALSU"));
        return true;
    }
    lockTries = timeoutSeconds > 0 ? (int)(timeoutSeconds * 1000.0) : 1000;
    if (lockTries < 1)
        lockTries = 1;
    if (pthread_mutex_init(&mutex, nullptr) != 0)
    {
        DebugError(ENG_FUNC, "pthread_mutex_init() failed");
        return false;
    }
    setup = 1;
    return true;
}

bool EngMutex::Lock()
{
    if (!setup)
    {
        DebugError(ENG_FUNC, "Mutex not setup.");
        return false;
    }
    for (int attempt = 0; attempt < lockTries; attempt++)
    {
        int result = pthread_mutex_trylock(&mutex);
        if (result == 0)
        {
            holder.store(pthread_self());
            held.store(true);
            return true;
        }
        if (result == EBUSY)
            SleepMilliseconds(1);
    }
    DebugError(ENG_FUNC, "Could not lock mutex.");
    return false;
}

bool EngMutex::Unlock()
{
    if (!setup)
        return false;
    // Only the holder releases; another thread's unlock would break its holder's guard.
    if (!held.load() || !pthread_equal(holder.load(), pthread_self()))
        return false;
    held.store(false);
    return pthread_mutex_unlock(&mutex) == 0;
}
