#include "EngThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "EngDebug.h"
#include "Testkit.h"

namespace
{

// Waits (bounded, as a safety net) until `done` holds.
template <typename Condition> bool WaitUntil(Condition done)
{
    for (int i = 0; i < 20000 && !done(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

class CountingThread : public EngThread
{
public:
    explicit CountingThread(int ticksBeforeStop = -1, bool initResult = true)
        : EngThread("counting", 0, 0), ticksBeforeStop(ticksBeforeStop), initResult(initResult)
    {
    }
    ~CountingThread() override { Destroy(true); }

    bool InitCB() override
    {
        inits++;
        return initResult;
    }
    bool TickCB() override
    {
        int tick = ++ticks;
        return ticksBeforeStop < 0 || tick < ticksBeforeStop;
    }
    int ExitCB(bool destroying) override
    {
        exits++;
        exitDestroying = destroying;
        return 0;
    }

    int ticksBeforeStop;
    bool initResult;
    std::atomic<int> inits{0};
    std::atomic<int> ticks{0};
    std::atomic<int> exits{0};
    std::atomic<bool> exitDestroying{false};
};

} // namespace

class EngThreadTest : public testkit::TempHomeTest
{
};

TEST_F(EngThreadTest, StartTickAndDestroy)
{
    CountingThread worker;
    EXPECT_FALSE(worker.IsRunning());
    ASSERT_TRUE(worker.Create("ticker"));
    EXPECT_STREQ(worker.GetName(), "ticker");
    ASSERT_TRUE(WaitUntil([&] { return worker.ticks >= 5; }));
    EXPECT_TRUE(worker.IsRunning());
    worker.Destroy(true);
    EXPECT_EQ(worker.inits, 1);
    EXPECT_EQ(worker.exits, 1);
    EXPECT_TRUE(worker.exitDestroying);
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_FALSE(worker.IsMutexHeld());

    // The object can be created again after a reset.
    ASSERT_TRUE(worker.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return worker.inits == 2; }));
    worker.Destroy(true);
    EXPECT_EQ(worker.exits, 2);
}

TEST_F(EngThreadTest, EndingFromTheCallbacks)
{
    struct Row
    {
        const char *label;
        int ticksBeforeStop;
        bool initResult;
        int ticks;
    } rows[] = {
        {"TickCB false at once", 1, true, 1},
        {"TickCB false at the third", 3, true, 3},
        {"InitCB false", -1, false, 0},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        CountingThread worker(row.ticksBeforeStop, row.initResult);
        worker.SetTickSleepTime(-1);
        ASSERT_TRUE(worker.Create(nullptr));
        ASSERT_TRUE(WaitUntil([&] { return worker.exits == 1; }));
        // Finished: the first question after that resets the object and says no.
        ASSERT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }));
        EXPECT_FALSE(worker.IsRunning());
        EXPECT_EQ(worker.ticks, row.ticks);
        EXPECT_EQ(worker.inits, 1);
        EXPECT_EQ(worker.exits, 1);
        EXPECT_FALSE(worker.exitDestroying);
    }
}

TEST_F(EngThreadTest, CreateOnARunningObjectRestartsIt)
{
    CountingThread worker;
    ASSERT_TRUE(worker.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return worker.ticks >= 1; }));
    ASSERT_TRUE(worker.Create(nullptr));
    EXPECT_TRUE(LogHas("Already Initialsed [2]"));
    EXPECT_EQ(worker.exits, 1);
    EXPECT_TRUE(worker.IsRunning());
    ASSERT_TRUE(WaitUntil([&] { return worker.inits == 2; }));
    worker.Destroy(true);
    EXPECT_EQ(worker.exits, 2);
}

namespace
{

// Ticks idly until `go`, then runs one scripted action and ends the thread.
class ScriptedThread : public EngThread
{
public:
    explicit ScriptedThread(bool (*action)(EngThread &)) : EngThread("scripted", 0, 0), action(action) {}
    ~ScriptedThread() override { Destroy(true); }
    bool TickCB() override
    {
        ticks++;
        if (!go)
            return true;
        result = action(*this) ? 1 : 0;
        return false;
    }
    int ExitCB(bool destroying) override
    {
        exits++;
        return 0;
    }
    bool (*action)(EngThread &);
    std::atomic<bool> go{false};
    std::atomic<int> ticks{0};
    std::atomic<int> result{-1};
    std::atomic<int> exits{0};
};

} // namespace

// The mutex belongs to the thread that took it: the other side waits, never releases
// it for the holder, and never takes it away (the worker's exit waits for the owner).
TEST_F(EngThreadTest, MutexIsHeldPerThread)
{
    struct Row
    {
        const char *label;
        bool (*action)(EngThread &);
    } rows[] = {
        {"worker releases the owner's mutex", [](EngThread &t) { return t.DoneWithMutex(); }},
        {"worker waits for the owner's mutex", [](EngThread &t) { return t.WaitForMutex(); }},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        ScriptedThread worker(row.action);
        worker.SetMutexWaitLimit(0.05);
        worker.SetMutexHoldLimit(0.01);
        EXPECT_FALSE(worker.WaitForMutex()); // not created yet
        ASSERT_TRUE(worker.Create(nullptr));
        ASSERT_TRUE(WaitUntil([&] { return worker.ticks >= 1; }));
        ASSERT_TRUE(worker.WaitForMutex());
        EXPECT_FALSE(worker.WaitForMutex()); // the owner has it already
        worker.go = true;
        ASSERT_TRUE(WaitUntil([&] { return worker.result != -1; }));
        EXPECT_EQ(worker.result, 0);
        EXPECT_TRUE(worker.IsMutexHeld());

        // The worker wants to exit but waits for the owner, well past its hold limit.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(worker.exits, 0);
        EXPECT_TRUE(worker.IsRunning());
        EXPECT_TRUE(worker.DoneWithMutex());
        EXPECT_FALSE(worker.DoneWithMutex());
        ASSERT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }));
        EXPECT_EQ(worker.exits, 1);
        EXPECT_FALSE(worker.IsMutexHeld());
    }
}

namespace
{

struct Gate
{
    std::atomic<bool> open{false};
    std::atomic<bool> entered{false};
    std::atomic<bool> left{false};
    std::atomic<int> exits{0};
};

bool BlockingTick(intptr_t value)
{
    Gate *gate = (Gate *)value;
    gate->entered = true;
    while (!gate->open)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    gate->left = true;
    return true;
}

int CountExit(intptr_t value)
{
    ((Gate *)value)->exits++;
    return 0;
}

} // namespace

TEST_F(EngThreadTest, DestroyDoesNotWaitForever)
{
    Gate gate;
    {
        EngThread worker("stuck", 0, 0);
        worker.SetTickCallback(BlockingTick, (intptr_t)&gate);
        worker.SetExitCallback(CountExit, (intptr_t)&gate);
        worker.SetDestroyWaitLimit(0.1);
        ASSERT_TRUE(worker.Create(nullptr));
        ASSERT_TRUE(WaitUntil([&] { return gate.entered.load(); }));
        worker.Destroy(true);
        EXPECT_TRUE(LogHas("Thread stuck did not finish within 0.1 s: left to end on its own"));
        EXPECT_FALSE(worker.IsRunning());
    }
    // The abandoned worker ends after its callback without touching the object again.
    gate.open = true;
    ASSERT_TRUE(WaitUntil([&] { return gate.left.load(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(gate.exits, 0);
}

TEST_F(EngThreadTest, PlainCallbacks)
{
    Gate gate;
    gate.open = true;
    EngThread worker("plain", 0, 0);
    worker.SetTickCallback(BlockingTick, (intptr_t)&gate);
    worker.SetExitCallback(CountExit, (intptr_t)&gate);
    ASSERT_TRUE(worker.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return gate.left.load(); }));
    worker.Destroy(true);
    EXPECT_EQ(gate.exits, 1);
}

class EngMutexTest : public testkit::TempHomeTest
{
};

TEST_F(EngMutexTest, SetupAndTries)
{
    struct Row
    {
        double timeout;
        bool setUp;
        int tries;
    } rows[] = {{0, false, 1000}, {-2, false, 1000}, {0.5, true, 500}, {5, true, 5000}, {0.0001, true, 1}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.timeout);
        EngMutex mutex(row.timeout);
        EXPECT_EQ(mutex.IsSetup(), row.setUp);
        EXPECT_EQ(mutex.GetLockTries(), row.tries);
    }

    EngMutex unset(0);
    EXPECT_FALSE(unset.Lock());
    EXPECT_TRUE(LogHas("Mutex not setup."));
    EXPECT_FALSE(unset.Unlock());
    EXPECT_TRUE(unset.Setup(0));
    EXPECT_EQ(unset.GetLockTries(), 1000);
    EXPECT_TRUE(unset.Setup(1));
    EXPECT_TRUE(LogHas("Already setup."));
}

TEST_F(EngMutexTest, LockIsBoundedAndOnlyTheHolderUnlocks)
{
    EngMutex mutex(0.02);
    ASSERT_TRUE(mutex.Lock());
    bool otherLocked = true;
    bool otherUnlocked = true;
    std::thread other([&] {
        otherLocked = mutex.Lock();
        otherUnlocked = mutex.Unlock();
    });
    other.join();
    EXPECT_FALSE(otherLocked);
    EXPECT_TRUE(LogHas("Could not lock mutex."));
    EXPECT_FALSE(otherUnlocked);
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock());

    std::thread again([&] {
        otherLocked = mutex.Lock();
        otherUnlocked = mutex.Unlock();
    });
    again.join();
    EXPECT_TRUE(otherLocked);
    EXPECT_TRUE(otherUnlocked);
}

// Worker threads report through the same log as the main thread: every line arrives
// whole and the message table stays consistent.
TEST_F(EngThreadTest, ReportsFromWorkersAreSerialised)
{
    const int threadCount = 4;
    const int linesEach = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; t++)
        threads.emplace_back([t] {
            for (int i = 0; i < linesEach; i++)
                DebugError("Worker", "thread %d line %d", t, i);
        });
    for (int i = 0; i < linesEach; i++)
        DebugInfo("main line %d", i);
    for (std::thread &thread : threads)
        thread.join();

    // 750 lines roll the 200-record table over: 100 kept, then 150 more... in steps of 100.
    int total = (threadCount + 1) * linesEach;
    EXPECT_EQ(DebugGetNumMessages(), 100 + (total - 200) % 100);
    std::string log = LogText();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), total);
    EXPECT_EQ(log.find("\n\n"), std::string::npos);
    for (int t = 0; t < threadCount; t++)
        EXPECT_NE(log.find(" <ERROR>  ( Worker )    thread " + std::to_string(t) + " line 149\n"), std::string::npos);
}
