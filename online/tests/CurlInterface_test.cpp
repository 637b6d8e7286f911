#include "CurlInterface.h"

#include <gtest/gtest.h>

#include <string>

#include "OnlineFixture.h"

using testkit::HttpReply;

namespace
{

class CurlInterfaceTest : public OnlineTest
{
protected:
    std::string Data(CurlInterface &curl)
    {
        char *data = curl.GetDownloadedData();
        return data ? std::string(data, curl.GetDownloadedSize()) : "<none>";
    }
};

TEST_F(CurlInterfaceTest, AReplyLongerThanTheBufferIsCutAndStillSucceeds)
{
    server.Queue(HttpReply::Ok("0123456789abcdefghij"));
    CurlInterface curl("Test", false);
    EXPECT_TRUE(curl.DownloadFromUrl(Url("/s").c_str(), "a=1&b=2", 16, nullptr, 0, false, 5, nullptr));
    EXPECT_EQ(Data(curl), "0123456789abcde");
    EXPECT_EQ(server.Requests().at(0).target, "/s?a=1&b=2");
}

TEST_F(CurlInterfaceTest, LeadingNewlinesAreSkippedWhenAsked)
{
    server.Queue(HttpReply::Ok("\n\nOK"));
    server.Queue(HttpReply::Ok("\nOK"));
    CurlInterface curl("Test", false);
    for (int i = 0; i < 2; i++)
    {
        EXPECT_TRUE(curl.DownloadFromUrl(Url("/").c_str(), nullptr, 64, nullptr, 0, true, 5, nullptr));
        EXPECT_EQ(Data(curl), "OK");
        EXPECT_EQ(curl.GetDownloadedSize(), 2u);
    }
}

TEST_F(CurlInterfaceTest, PostsOnlyWithDataAndASize)
{
    CurlInterface curl("Test", false);
    EXPECT_TRUE(curl.DownloadFromUrl(Url("/").c_str(), nullptr, 64, "score=5", 7, false, 5, nullptr));
    EXPECT_TRUE(curl.DownloadFromUrl(Url("/").c_str(), nullptr, 64, "score=5", 0, false, 5, nullptr));
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "score=5");
    EXPECT_EQ(requests[1].method, "GET");
}

TEST_F(CurlInterfaceTest, FailuresLeaveNoData)
{
    CurlInterface curl("Test", false);
    EXPECT_FALSE(curl.DownloadFromUrl("", nullptr, 64, nullptr, 0, false, 5, nullptr));
    EXPECT_TRUE(LogHas("Parameters error."));
    EXPECT_FALSE(curl.DownloadFromUrl("http://127.0.0.1:1/", nullptr, 64, nullptr, 0, false, 5, nullptr));
    EXPECT_TRUE(LogHas("Could not connect."));
    server.Queue(HttpReply::Status(404, "not here"));
    EXPECT_FALSE(curl.DownloadFromUrl(Url("/").c_str(), nullptr, 64, nullptr, 0, false, 5, nullptr));
    EXPECT_TRUE(LogHas("HTTP 404"));
    server.Queue(HttpReply::Hold());
    EXPECT_FALSE(curl.DownloadFromUrl(Url("/").c_str(), nullptr, 64, nullptr, 0, false, 1, nullptr));
    EXPECT_EQ(Data(curl), "<none>");
    EXPECT_TRUE(LogHas("No Data"));
}

} // namespace
