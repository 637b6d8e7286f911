// Worker threads over POSIX threads, and a plain mutex with a bounded lock.
//
// A subclass of EngThread overrides InitCB, TickCB and ExitCB (or sets plain
// callbacks) and calls Create: the worker then runs InitCB once, TickCB again and again
// with the tick sleep between calls, and ExitCB once when asked to stop. The callbacks
// run without the thread's mutex; owner and worker share that mutex through
// WaitForMutex / DoneWithMutex, and only the thread that holds it can release it.
#pragma once
#include <pthread.h>

#include <atomic>
#include <cstdint>

// The tick callback answers false to end the thread; both get their user value.
typedef bool (*EngThreadTickFn)(intptr_t userValue);
typedef int (*EngThreadExitFn)(intptr_t userValue);

struct EngThreadShared;

class EngThread
{
public:
    enum
    {
        NAME_SIZE = 16, // 15 characters and the terminator
    };

    // Log levels: 0 silent; 1 create, destroy, init and exit steps; 2 also construction,
    // destruction and stages; 3 also a loop status line every 2 s; 4 also every mutex
    // wait and release. The lines go to the quick debug output.
    EngThread(const char *name, int logLevel, uint8_t flag);
    // Destroys the thread. A subclass calls Destroy in its own destructor, before its
    // part of the object is gone.
    virtual ~EngThread();
    EngThread(const EngThread &) = delete;
    EngThread &operator=(const EngThread &) = delete;

    // Called once on the worker before the first tick; false ends the thread.
    virtual bool InitCB();
    // Called on the worker again and again; false ends the thread. Must return in
    // bounded time: Destroy waits for it.
    virtual bool TickCB();
    // Called once on the worker when it ends; `destroying` is set when Destroy asked.
    virtual int ExitCB(bool destroying);

    // Seconds between ticks (negative: none). Set before Create.
    void SetTickSleepTime(double seconds);
    void SetTickCallback(EngThreadTickFn callback, intptr_t userValue);
    void SetExitCallback(EngThreadExitFn callback, intptr_t userValue);
    // How long the worker waits for a mutex the owner holds before it looks again, and
    // how long WaitForMutex waits. Seconds; negative values become 0.
    void SetMutexHoldLimit(double seconds);
    void SetMutexWaitLimit(double seconds);
    // How long Destroy waits for the worker to finish before it leaves the worker to
    // end on its own (seconds, default 30).
    void SetDestroyWaitLimit(double seconds);

    // Starts the worker (destroying a running one first).
    bool Create(const char *name);
    // False when never created; true while the worker runs; once it has finished the
    // thread is destroyed (and the object reset) and the answer is false.
    bool IsRunning();
    // Takes the thread's mutex, waiting up to the wait limit. Refused when the calling
    // thread already holds it.
    bool WaitForMutex();
    // Releases the mutex; refused unless the calling thread holds it.
    bool DoneWithMutex();
    // Whether some thread holds the mutex (false when not created).
    bool IsMutexHeld() const;
    // Asks the worker to end and, with `wait`, waits for it (up to the destroy wait
    // limit) and joins it; then resets the object. A worker that does not end in time is
    // left to end on its own and never touches this object again once its current
    // callback returns.
    void Destroy(bool wait);

    // The POSIX start routine.
    static void *ProcessThread(void *argument);

    const char *GetName() const { return name; }

private:
    static void DoThreadMain(EngThreadShared *shared);
    void ResetVars();
    void Trace(int level, const char *format, ...) const __attribute__((format(printf, 3, 4)));

    int8_t logLevel;
    char name[NAME_SIZE];
    uint8_t flag; // kept as given
    std::atomic<int> tickSleepMilliseconds;
    EngThreadTickFn tickCallback;
    intptr_t tickUserValue;
    EngThreadExitFn exitCallback;
    intptr_t exitUserValue;
    std::atomic<double> mutexHoldLimit;
    std::atomic<double> mutexWaitLimit;
    std::atomic<double> destroyWaitLimit;
    // The state both sides share lives apart from the object, so that a worker left to
    // end on its own never reaches into a destroyed object.
    EngThreadShared *shared;
    bool started;
    pthread_t thread;
};

// A plain mutex whose Lock gives up after a bounded number of tries.
class EngMutex
{
public:
    // Sets itself up when the timeout (seconds) is above 0.
    explicit EngMutex(double timeoutSeconds);
    ~EngMutex();
    EngMutex(const EngMutex &) = delete;
    EngMutex &operator=(const EngMutex &) = delete;

    // Tries timeout x 1000 times (1000 for a timeout of 0 or below), 1 ms apart.
    bool Setup(double timeoutSeconds);
    bool Lock();
    // Refused unless the calling thread holds the mutex.
    bool Unlock();
    bool IsSetup() const { return setup != 0; }
    int GetLockTries() const { return lockTries; }

private:
    pthread_mutex_t mutex;
    uint8_t setup;
    int lockTries;
    std::atomic<bool> held;
    std::atomic<pthread_t> holder;
};
