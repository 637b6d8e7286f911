#include "EngInternetThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "EngMemory.h"
#include "OnlineFixture.h"

using testkit::HttpReply;

namespace
{

class InternetThreadTest : public OnlineTest
{
protected:
    // Polls without waiting, as the main loop does, until the status leaves 1.
    int32_t PollUntilDone(EngInternetThread &reader, double limitSeconds = 20)
    {
        auto start = std::chrono::steady_clock::now();
        int32_t status;
        while ((status = reader.GetReadingStatus(0)) == ENG_INTERNET_READ_READING &&
               std::chrono::steady_clock::now() - start < std::chrono::duration<double>(limitSeconds))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return status;
    }
    static void WaitForWorkerEnd(EngInternetThread &reader)
    {
        for (int i = 0; i < 2000 && reader.IsReading(); i++)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::string Take(EngInternetThread &reader)
    {
        uint32_t size = 0;
        char *data = reader.GetDataReadFreeWhenDone(&size);
        std::string text = data ? std::string(data, size) : "<null>";
        EngFree(data, false, "test");
        return text;
    }
};

TEST_F(InternetThreadTest, AReplyWaitsForItsOwnerAfterTheWorkerHasEnded)
{
    server.Queue(HttpReply::Ok("Y \nhello\n*\n"));
    EngInternetThread reader("T", 0);
    ASSERT_TRUE(reader.StartReading(Url("/a?b=1").c_str(), 100, 5));
    EXPECT_EQ(PollUntilDone(reader), ENG_INTERNET_READ_DONE);
    // The worker ends one tick after the reply is complete; the reply must still be there.
    WaitForWorkerEnd(reader);
    EXPECT_FALSE(reader.IsReading());
    EXPECT_EQ(reader.GetReadingStatus(0), ENG_INTERNET_READ_DONE);
    EXPECT_EQ(Take(reader), "Y \nhello\n*\n");
    EXPECT_EQ(server.Requests().at(0).target, "/a?b=1");
}

TEST_F(InternetThreadTest, ALongReplyKeepsMaxBytesLessOne)
{
    server.Queue(HttpReply::Ok(std::string(300, 'z')));
    EngInternetThread reader("T", 0);
    ASSERT_TRUE(reader.StartReading(Url("/").c_str(), 100, 5));
    EXPECT_EQ(PollUntilDone(reader), ENG_INTERNET_READ_DONE);
    EXPECT_EQ(Take(reader), std::string(99, 'z'));
}

TEST_F(InternetThreadTest, RefusalsAndFailuresEndAsAStatus)
{
    EngInternetThread reader("T", 0);
    EXPECT_EQ(reader.GetReadingStatus(0), ENG_INTERNET_READ_FAILED);
    EXPECT_TRUE(LogHas("No thread."));
    EXPECT_FALSE(reader.StartReading("", 100, 5));
    EXPECT_FALSE(reader.StartReading(Url("/").c_str(), 0, 5));
    EXPECT_TRUE(LogHas("Parameters Error"));

    server.Queue(HttpReply::Status(404, "gone"));
    ASSERT_TRUE(reader.StartReading(Url("/").c_str(), 100, 5));
    EXPECT_EQ(PollUntilDone(reader), ENG_INTERNET_READ_FAILED);
    char reason[256];
    reader.GetErrorText(reason, sizeof(reason));
    EXPECT_NE(std::string(reason).find("HTTP 404"), std::string::npos) << reason;
    // The outcome outlives the worker.
    WaitForWorkerEnd(reader);
    EXPECT_EQ(reader.GetReadingStatus(0), ENG_INTERNET_READ_FAILED);
    EXPECT_EQ(Take(reader), "<null>");
    EXPECT_TRUE(LogHas("Reading did not complete ok"));
}

TEST_F(InternetThreadTest, ASilentServerTimesOutAndACancelIsSeenAtOnce)
{
    server.SetDefault(HttpReply::Hold());
    EngInternetThread reader("T", 0);
    ASSERT_TRUE(reader.StartReading(Url("/").c_str(), 100, 1));
    EXPECT_EQ(Take(reader), "<null>");
    EXPECT_TRUE(LogHas("Reading has not finished"));
    EXPECT_EQ(PollUntilDone(reader), ENG_INTERNET_READ_TIMEOUT);

    ASSERT_TRUE(reader.StartReading(Url("/").c_str(), 100, 30));
    ASSERT_TRUE(server.WaitForRequests(2, 10));
    EXPECT_TRUE(reader.CancelReading());
    EXPECT_EQ(reader.GetReadingStatus(0), ENG_INTERNET_READ_CANCELLED);
    WaitForWorkerEnd(reader);
    EXPECT_FALSE(reader.IsReading());
}

TEST_F(InternetThreadTest, DestroyingTheOwnerAbortsATransferInsteadOfWaitingForIt)
{
    server.SetDefault(HttpReply::Hold());
    {
        EngInternetThread reader("T", 0);
        ASSERT_TRUE(reader.StartReading(Url("/").c_str(), 100, 60));
        ASSERT_TRUE(server.WaitForRequests(1, 10));
    }
    EXPECT_FALSE(LogHas("Worker did not finish."));
}

// Threads under the thread sanitizer: readers started, polled, cancelled and destroyed
// at random moments. A reply that was reported done is always there to take.
TEST_F(InternetThreadTest, Threads_ManyReadersStartedAndDestroyedAtRandom)
{
    std::mt19937 random(20261210);
    const std::string body = "Y \nreply\n*\n";
    // "/<kind>/<n>": 0 at once, 1 after n x 50 ms, 2 never.
    server.SetResponder([&body](const testkit::HttpRequest &request) {
        char kind = request.target.size() > 3 ? request.target[1] : '0';
        if (kind == '2')
            return HttpReply::Hold();
        return HttpReply::Ok(body).After(kind == '1' ? 0.05 * (request.target[3] - '0') : 0);
    });
    int taken = 0;
    for (int round = 0; round < 40; round++)
    {
        SCOPED_TRACE(round);
        int kind = (int)(random() % 3);
        EngInternetThread reader("R", 0);
        std::string path = "/" + std::to_string(kind) + "/" + std::to_string(random() % 4);
        ASSERT_TRUE(reader.StartReading(Url(path).c_str(), 64, 10));
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 120));
        switch (random() % 3)
        {
        case 0:
            break; // destroyed while whatever it does goes on
        case 1:
            reader.CancelReading();
            EXPECT_NE(reader.GetReadingStatus(0), ENG_INTERNET_READ_READING);
            break;
        default:
            if (kind != 2)
            {
                ASSERT_EQ(PollUntilDone(reader), ENG_INTERNET_READ_DONE);
                if (random() % 2)
                    WaitForWorkerEnd(reader);
                EXPECT_EQ(Take(reader), body);
                taken++;
            }
            break;
        }
    }
    EXPECT_FALSE(LogHas("Worker did not finish."));
    EXPECT_GT(taken, 0);
}

} // namespace
