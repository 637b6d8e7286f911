#include "EngInternet.h"

#include <gtest/gtest.h>

#include <string>

#include "OnlineFixture.h"

using testkit::HttpReply;

namespace
{

class BlockingReadTest : public OnlineTest
{
protected:
    int8_t Read(const std::string &url, uint32_t size, int32_t timeout, std::string *reply, const char *prefix)
    {
        char buffer[4096];
        uint32_t count = 12345;
        int8_t ok = EngInternetReadURL(url.c_str(), buffer, size, &count, error, sizeof(error), prefix, timeout);
        *reply = std::string(buffer, count);
        EXPECT_EQ(strlen(buffer), count) << "zero-terminated";
        return ok;
    }
    char error[128] = "";
};

TEST_F(BlockingReadTest, ReadsTheReplyAndEmptiesTheErrorText)
{
    std::string body(1500, 'q');
    server.Queue(HttpReply::Ok(body));
    std::string reply;
    EXPECT_EQ(Read(Url("/v?x=1"), 4096, -1, &reply, "Check"), 1);
    EXPECT_EQ(reply, body);
    EXPECT_STREQ(error, "");
    EXPECT_EQ(server.Requests().at(0).target, "/v?x=1");
    EXPECT_EQ(server.Requests().at(0).userAgent, "EngInternetConnectAndReadURL");
}

TEST_F(BlockingReadTest, AReplyThatWouldFillTheBufferEndsWithAWarning)
{
    server.Queue(HttpReply::Ok(std::string(40, 'a')));
    std::string reply;
    EXPECT_EQ(Read(Url("/"), 40, 0, &reply, nullptr), 1);
    EXPECT_LT(reply.size(), 40u);
    EXPECT_TRUE(LogHas("Warning: Buffer too small to read all data."));
}

TEST_F(BlockingReadTest, FailuresNameTheirReasonAfterThePrefix)
{
    std::string reply;
    EXPECT_EQ(Read("", 100, 5, &reply, "Version check"), 0);
    EXPECT_STREQ(error, "Version check - No URL specified");
    EXPECT_EQ(Read("http://127.0.0.1:1/", 100, 5, &reply, nullptr), 0);
    EXPECT_STREQ(error, "Problem connecting to internet site");
    EXPECT_TRUE(LogHas("Error code: 12029"));
    server.Queue(HttpReply::Cut(std::string(3000, 'c'), 1000));
    EXPECT_EQ(Read(Url("/"), 4096, 5, &reply, "Upload"), 0);
    EXPECT_STREQ(error, "Upload - Problem communicating with internet site");
}

} // namespace
