#include "ScoresInGameScores.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "EngMisc.h"
#include "OnlineFixture.h"

namespace
{

// The four lists of table 5100 as the scores script sends them (names come back upper
// case). Merged: ANNA 9000 (year 1), BO 7000 (year 2), EVE 6000 (month 2), CY 5000
// (year 3), DI 3000 (week 1), FAY 100 (day 1); month's ANNA 9000 is year's.
std::string ListOf(const std::string &target)
{
    if (target.find("&ra=1&") != std::string::npos)
        return "Y \n9000 0 0 0 11 anna AT x 2026-05-04 W\n7000 0 0 0 12 bo NZ x 2026-05-04 W\n"
               "5000 0 0 0 13 cy GB x 2026-05-04 W\n*\n";
    if (target.find("&ra=2&") != std::string::npos)
        return "Y \n9000 0 0 0 11 anna AT x 2026-05-04 W\n6000 0 0 0 14 eve AT x 2026-05-04 W\n*\n";
    if (target.find("&ra=3&") != std::string::npos)
        return "Y \n3000 0 0 0 15 di AT x 2026-05-04 W\n*\n";
    return "Y \n100 0 0 0 16 fay AT x 2026-05-04 W\n*\n";
}

_ScoresScore Row(int32_t score, const char *name, const char *country = "AT")
{
    _ScoresScore row = {};
    row.v1 = score;
    memcpy(row.name, name, strnlen(name, sizeof(row.name)));
    memcpy(row.cc, country, 2);
    return row;
}

class ScoresInGameTest : public OnlineTest
{
protected:
    void SetUp() override
    {
        OnlineTest::SetUp();
        ScoresMainSetCountryCheck(nullptr);
        server.SetResponder([](const testkit::HttpRequest &request) {
            return testkit::HttpReply::Ok(ListOf(request.target));
        });
    }
    void TearDown() override
    {
        ScoresInGameShutdown();
        OnlineTest::TearDown();
    }

    // Calculates until every list is merged or a retry is scheduled; the last answer.
    bool Settle(ScoresInGameScores &finder, int32_t score)
    {
        for (int i = 0; i < 1000; i++)
        {
            const bool built = finder.CalcPlaceInOnlineScoresList(score);
            if (built || finder.GetLastPlace() != -2 || SecondsToNextCalc(finder) > 10)
                return built;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "the lists never came";
        return false;
    }
    double SecondsToNextCalc(const ScoresInGameScores &finder) const
    {
        return finder.GetCalcPlaceTime() - EngMiscGetClock_PC();
    }
    void SetupFinder(ScoresInGameScores &finder, bool detail)
    {
        finder.Reset();
        finder.Setup(50, 240, 100, 5100, nullptr, 15, true, detail);
    }
};

TEST_F(ScoresInGameTest, TheHighestRowTheScoreReachesNamesItsListAndPosition)
{
    ScoresInGameScores finder;
    SetupFinder(finder, false);
    EXPECT_FALSE(Settle(finder, 0));
    EXPECT_EQ(finder.GetNumMergedRows(), 6) << LogText();
    EXPECT_EQ(finder.GetLastPlace(), -1);
    EXPECT_STREQ(finder.GetPlaceText(), "");
    ASSERT_EQ(server.RequestCount(), 4u);
    for (int range = 1; range <= 4; range++)
        EXPECT_NE(server.Requests()[range - 1].target.find("&ra=" + std::to_string(range) + "&"), std::string::npos);

    struct Case
    {
        int32_t score;
        bool built;
        const char *text; // the text after the calculation
    };
    const Case cases[] = {
        {50, false, ""},                  // below every row
        {100, true, "DAY POSITION 1"},    // equal takes the row's place
        {150, false, "DAY POSITION 1"},   // the same place is no news
        {5500, true, "YEAR POSITION 3"},  // between rows
        {6000, true, "MONTH POSITION 2"},
        {9000, true, "YEAR POSITION 1"},  // in two lists: the year's
        {20000, false, "YEAR POSITION 1"}, // above every row: the top one
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.score);
        EXPECT_EQ(finder.CalcPlaceInOnlineScoresList(c.score), c.built);
        EXPECT_STREQ(finder.GetPlaceText(), c.text);
    }
    // The lists are read once per game.
    EXPECT_EQ(server.RequestCount(), 4u);
}

TEST_F(ScoresInGameTest, TheFirstPlaceOfAGameHasNoTextAndDetailNamesTheRow)
{
    ScoresInGameScores finder;
    SetupFinder(finder, true);
    EXPECT_FALSE(Settle(finder, 5500));
    EXPECT_EQ(finder.GetLastPlace(), 3);
    EXPECT_STREQ(finder.GetPlaceText(), "");
    EXPECT_TRUE(finder.CalcPlaceInOnlineScoresList(6000));
    EXPECT_STREQ(finder.GetPlaceText(), "MONTH POSITION 2  -  EVE  6000");

    // A new game starts over: its first place is silent again.
    SetupFinder(finder, false);
    EXPECT_FALSE(Settle(finder, 9000));
    EXPECT_STREQ(finder.GetPlaceText(), "");
}

TEST_F(ScoresInGameTest, CachedListsAnswerWithoutTheServer)
{
    {
        ScoresInGameScores finder;
        SetupFinder(finder, false);
        Settle(finder, 0);
    }
    ASSERT_EQ(server.RequestCount(), 4u);
    server.SetResponder([](const testkit::HttpRequest &) { return testkit::HttpReply::Status(500, ""); });
    ScoresInGameScores finder;
    SetupFinder(finder, false);
    EXPECT_FALSE(Settle(finder, 0));
    EXPECT_EQ(finder.GetNumMergedRows(), 6);
    EXPECT_TRUE(finder.CalcPlaceInOnlineScoresList(5500));
    EXPECT_STREQ(finder.GetPlaceText(), "YEAR POSITION 3");
    EXPECT_EQ(server.RequestCount(), 4u);
}

TEST_F(ScoresInGameTest, EmptyListsAreReadAgainAfterAWaitThatGrowsToItsCap)
{
    server.SetResponder([](const testkit::HttpRequest &) { return testkit::HttpReply::Ok("Y \n*\n"); });
    ScoresInGameScores finder;
    SetupFinder(finder, false);
    EXPECT_FALSE(Settle(finder, 100));
    EXPECT_EQ(finder.GetNumMergedRows(), 0);
    EXPECT_EQ(finder.GetLastPlace(), -2);
    EXPECT_NEAR(SecondsToNextCalc(finder), 30, 1);
    EXPECT_EQ(server.RequestCount(), 4u);
    // Scores do not read the lists again before the scheduled calculation.
    EXPECT_FALSE(finder.CalcPlaceInOnlineScoresList(500));
    EXPECT_FALSE(finder.Tick(500));
    EXPECT_NEAR(SecondsToNextCalc(finder), 30, 1);

    for (double wait : {60, 120, 240, 480, 480})
    {
        SCOPED_TRACE(wait);
        finder.SetCalcPlaceTime(0, true);
        EXPECT_FALSE(finder.Tick(500));
        EXPECT_FALSE(Settle(finder, 500));
        EXPECT_NEAR(SecondsToNextCalc(finder), wait, 1);
    }
    // The empty lists came from their cache files: the server was not asked again.
    EXPECT_EQ(server.RequestCount(), 4u);
    EXPECT_STREQ(finder.GetPlaceText(), "");
}

TEST_F(ScoresInGameTest, WithNoServerTheGameGoesOnWithoutAPlace)
{
    std::string closed;
    {
        testkit::LoopbackHttpServer gone;
        closed = gone.BaseUrl();
    }
    OnlineSetBaseAddress(closed.c_str());
    ScoresInGameStart(5100, true);
    EXPECT_FALSE(ScoresInGameCalcPlace(100));
    ScoresInGameScores finder;
    SetupFinder(finder, false);
    EXPECT_FALSE(Settle(finder, 100));
    EXPECT_EQ(finder.GetNumMergedRows(), 0);
    EXPECT_NEAR(SecondsToNextCalc(finder), 30, 1);
    int position = 5;
    EXPECT_EQ(ScoresInGameGetPlace(&position), nullptr);
    EXPECT_EQ(position, -1);

    // A game without an online table (MY PUZZLES, or the display switched off) reads nothing.
    ScoresInGameStart(0, false);
    EXPECT_FALSE(ScoresInGameTick(100));
    EXPECT_FALSE(ScoresInGameCalcPlace(100));
}

// The same player and score in two lists is one entry; names are compared within their
// field, so a full 32-character name is not read past its end.
TEST(ScoresPlace, MergingKeepsTheFirstOfTheSamePlayerAndScore)
{
    const std::string full(32, 'X');
    const _ScoresScore year[] = {Row(9000, "ANNA"), Row(7000, full.c_str(), "AT")};
    const _ScoresScore month[] = {Row(9000, "ANNA"), Row(7000, full.c_str(), "NZ"), Row(7000, "BO"),
                                  Row(9000, "ANNA "), Row(7000, "BO")};
    _ScoresPlaceEntry entries[8];
    int count = ScoresPlaceMergeRows(entries, 0, 8, 1, year, 2);
    count = ScoresPlaceMergeRows(entries, count, 8, 2, month, 5);
    ASSERT_EQ(count, 4);
    EXPECT_EQ(entries[2].range, 2);
    EXPECT_EQ(entries[2].position, 2);
    EXPECT_STREQ(entries[3].row.name, "ANNA ");

    EXPECT_EQ(ScoresPlaceFind(entries, count, 9000), 0);
    EXPECT_EQ(entries[0].range, 1);
    EXPECT_EQ(ScoresPlaceFind(entries, count, 8999), 2);
    EXPECT_EQ(entries[2].row.v1, 7000);
    EXPECT_EQ(entries[2].range, 1);
    EXPECT_EQ(ScoresPlaceFind(entries, count, 6999), -1);
    EXPECT_EQ(ScoresPlaceFind(entries, 0, 6999), -1);

    // The text names a full name whole, and nothing after it.
    char text[SCORES_PLACE_TEXT_SIZE];
    ScoresPlaceFormat(&entries[2], true, text, sizeof(text));
    EXPECT_EQ(std::string(text), "YEAR POSITION 2  -  " + full + "  7000");
    // A full buffer stays terminated.
    ScoresPlaceFormat(&entries[2], true, text, 10);
    EXPECT_STREQ(text, "YEAR POSI");
}

} // namespace
