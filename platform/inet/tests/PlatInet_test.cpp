#include "PlatInet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "TestkitHttp.h"

using testkit::HttpReply;
using testkit::LoopbackHttpServer;

namespace
{

class InetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlatInetSetLoopbackOnly(true);
        ASSERT_TRUE(server.Running());
        session = PlatInetOpenSession("PlatInetTest");
        ASSERT_NE(session, nullptr);
        PlatInetSetTimeouts(session, 2000, 2000, 2000);
    }
    void TearDown() override { PlatInetCloseSession(session); }

    // Opens the address and reads the reply to its end in chunks of `chunk` bytes;
    // false (with the error code kept) when any step fails.
    bool ReadAll(const std::string &path, std::string *reply, uint32_t chunk = 7)
    {
        PlatInetStream *stream = PlatInetOpenUrl(session, (server.BaseUrl() + path).c_str());
        if (!stream)
            return false;
        char buffer[4096];
        chunk = std::min<uint32_t>(chunk, sizeof(buffer));
        while (true)
        {
            uint32_t count = 0;
            if (!PlatInetReadStream(stream, buffer, chunk, &count))
            {
                int32_t code = PlatInetGetErrorCode();
                PlatInetCloseStream(stream);
                lastError = code;
                return false;
            }
            if (!count)
                break;
            reply->append(buffer, count);
        }
        PlatInetCloseStream(stream);
        return true;
    }

    LoopbackHttpServer server;
    PlatInetSession *session = nullptr;
    int32_t lastError = 0;
};

TEST_F(InetTest, ReadsTheWholeReplyInChunksAndSendsTheRequestAsGiven)
{
    std::string body(5000, 'x');
    body += "end";
    server.Queue(HttpReply::Ok(body));
    std::string reply;
    ASSERT_TRUE(ReadAll("/cgi-bin/x?a=1&b=two", &reply, 1000));
    EXPECT_EQ(reply, body);
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].target, "/cgi-bin/x?a=1&b=two");
    EXPECT_EQ(server.Requests()[0].userAgent, "PlatInetTest");
}

TEST_F(InetTest, FailuresEndWithTheirCode)
{
    struct Case
    {
        HttpReply reply;
        bool opens;
        int32_t code;
    } cases[] = {
        {HttpReply::Status(404, "missing"), false, PLAT_INET_ERROR_SERVER_TEXT},
        {HttpReply::Cut("0123456789", 4), true, PLAT_INET_ERROR_CONNECTION_ABORTED},
        {HttpReply::Raw("garbage that is not HTTP\r\n\r\n"), false, PLAT_INET_ERROR_INVALID_REPLY},
    };
    for (const Case &row : cases)
    {
        SCOPED_TRACE(row.code);
        server.Queue(row.reply);
        PlatInetStream *stream = PlatInetOpenUrl(session, (server.BaseUrl() + "/").c_str());
        int32_t code = PlatInetGetErrorCode();
        if (stream)
        {
            std::string reply;
            char buffer[64];
            uint32_t count = 0;
            int read;
            while ((read = PlatInetReadStream(stream, buffer, sizeof(buffer), &count)) && count)
                reply.append(buffer, count);
            code = read ? PLAT_INET_ERROR_NONE : PlatInetGetErrorCode();
            PlatInetCloseStream(stream);
        }
        EXPECT_EQ(stream != nullptr, row.opens);
        EXPECT_EQ(code, row.code) << PlatInetGetErrorText();
    }
    EXPECT_STREQ(PlatInetGetErrorCodeText(PLAT_INET_ERROR_TIMEOUT), "The operation timed out.");
}

TEST_F(InetTest, ASilentServerTimesOutAndARaisedFlagCancels)
{
    PlatInetSetTimeouts(session, 300, 300, 300);
    server.Queue(HttpReply::Hold());
    EXPECT_EQ(PlatInetOpenUrl(session, (server.BaseUrl() + "/").c_str()), nullptr);
    EXPECT_EQ(PlatInetGetErrorCode(), PLAT_INET_ERROR_TIMEOUT);

    std::atomic<bool> abort{false};
    PlatInetSetTimeouts(session, 60000, 60000, 60000);
    PlatInetSetAbortFlag(session, &abort);
    server.Queue(HttpReply::Hold());
    std::thread raiser([&] {
        server.WaitForRequests(2, 10);
        abort.store(true);
    });
    EXPECT_EQ(PlatInetOpenUrl(session, (server.BaseUrl() + "/").c_str()), nullptr);
    EXPECT_EQ(PlatInetGetErrorCode(), PLAT_INET_ERROR_CANCELLED);
    raiser.join();
    PlatInetSetAbortFlag(session, nullptr);
}

TEST_F(InetTest, OnlyLoopbackIsReachedWhileTheSwitchIsOn)
{
    EXPECT_EQ(PlatInetOpenUrl(session, "ftp://127.0.0.1/"), nullptr);
    EXPECT_EQ(PlatInetGetErrorCode(), PLAT_INET_ERROR_BAD_URL);
    EXPECT_EQ(PlatInetOpenUrl(session, "http://192.0.2.1/"), nullptr);
    EXPECT_EQ(PlatInetGetErrorCode(), PLAT_INET_ERROR_NOT_ALLOWED);
    PlatInetTransferParms parms = {};
    parms.url = "https://example.org/";
    EXPECT_EQ(PlatInetTransfer(&parms, nullptr), PLAT_INET_TRANSFER_FAILED);
    EXPECT_EQ(PlatInetGetErrorCode(), PLAT_INET_ERROR_NOT_ALLOWED);
    EXPECT_FALSE(PlatInetCleanup()) << "a session is open";
}

// A writer that keeps at most `room` bytes, as a fixed buffer does.
struct Sink
{
    std::string data;
    size_t room;
    static size_t Write(void *user, const char *bytes, size_t size)
    {
        Sink *sink = (Sink *)user;
        size_t take = std::min(size, sink->room - sink->data.size());
        sink->data.append(bytes, take);
        return take;
    }
};

TEST_F(InetTest, TransfersPostOnlyWithDataAndStopWhenTheWriterIsFull)
{
    server.Queue(HttpReply::Ok("fine"));
    server.Queue(HttpReply::Ok("a reply longer than the room"));
    Sink sink = {"", 100};
    PlatInetTransferParms parms = {};
    std::string url = server.BaseUrl() + "/submit";
    parms.url = url.c_str();
    parms.postData = "name=A&score=5";
    parms.postSize = 14;
    parms.timeoutSeconds = 5;
    parms.write = Sink::Write;
    parms.writeUser = &sink;
    int32_t status = 0;
    EXPECT_EQ(PlatInetTransfer(&parms, &status), PLAT_INET_TRANSFER_OK);
    EXPECT_EQ(status, 200);
    EXPECT_EQ(sink.data, "fine");

    sink = {"", 5};
    parms.postSize = 0;
    EXPECT_EQ(PlatInetTransfer(&parms, &status), PLAT_INET_TRANSFER_WRITE_ERROR);
    EXPECT_EQ(sink.data, "a rep");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "name=A&score=5");
    EXPECT_EQ(requests[1].method, "GET");
}

TEST_F(InetTest, ATransferEndsWhenItsFlagIsRaised)
{
    std::atomic<bool> abort{true};
    server.Queue(HttpReply::Hold());
    PlatInetTransferParms parms = {};
    std::string url = server.BaseUrl() + "/";
    parms.url = url.c_str();
    parms.timeoutSeconds = 60;
    parms.abortFlag = &abort;
    EXPECT_EQ(PlatInetTransfer(&parms, nullptr), PLAT_INET_TRANSFER_ABORTED);
}

} // namespace

// A transfer kept to its own protocol follows a redirect on it, but not one that changes
// the protocol; the progress callback hears of the bytes and can stop the transfer.
TEST_F(InetTest, TransfersKeptToTheirProtocolAndTheirProgress)
{
    std::string base = server.BaseUrl();
    server.SetResponder([base](const testkit::HttpRequest &request) {
        if (request.target == "/same")
            return HttpReply::Raw("HTTP/1.1 302 Found\r\nLocation: " + base +
                                  "/body\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        if (request.target == "/other")
            return HttpReply::Raw("HTTP/1.1 302 Found\r\nLocation: https://127.0.0.1:" +
                                  base.substr(base.rfind(':') + 1) +
                                  "/body\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return HttpReply::Ok(std::string(5000, 'b'));
    });
    struct Progress
    {
        uint64_t received = 0;
        bool stop = false;
        static int Report(void *user, uint64_t, uint64_t received)
        {
            Progress *progress = (Progress *)user;
            progress->received = received;
            return progress->stop ? 1 : 0;
        }
    } progress;
    Sink sink{"", 100000};
    std::string same = base + "/same", other = base + "/other";
    PlatInetTransferParms parms = {};
    parms.url = same.c_str();
    parms.write = Sink::Write;
    parms.writeUser = &sink;
    parms.progress = Progress::Report;
    parms.progressUser = &progress;
    parms.sameProtocolOnly = 1;
    int32_t status = 0;
    EXPECT_EQ(PlatInetTransfer(&parms, &status), PLAT_INET_TRANSFER_OK);
    EXPECT_EQ(status, 200);
    EXPECT_EQ(sink.data.size(), 5000u);
    EXPECT_EQ(progress.received, 5000u);

    sink.data.clear();
    parms.url = other.c_str();
    EXPECT_EQ(PlatInetTransfer(&parms, &status), PLAT_INET_TRANSFER_FAILED);
    EXPECT_EQ(PlatInetGetErrorCode(), PLAT_INET_ERROR_INVALID_REPLY) << PlatInetGetErrorText();

    progress.stop = true;
    parms.url = same.c_str();
    EXPECT_EQ(PlatInetTransfer(&parms, &status), PLAT_INET_TRANSFER_ABORTED);
}
