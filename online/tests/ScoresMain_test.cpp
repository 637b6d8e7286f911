#include "ScoresMain.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <ctime>
#include <string>
#include <thread>

#include "EngInternetThread.h"
#include "EngMisc.h"
#include "OnlineFixture.h"
#include "Scores.h"

using testkit::HttpReply;

namespace
{

const uint32_t kSet = 5100;

// One reply line: score, v2, v3, v4, id, name, country, text, date, platform.
std::string Line(int score, const std::string &name = "ANNA", const std::string &country = "GB",
                 const std::string &text = "x", const std::string &date = "2026-11-30", int id = 7)
{
    return std::to_string(score) + " 0 0 65538 " + std::to_string(id) + " " + name + " " + country + " " + text + " " +
           date + " W\n";
}

std::string List(int rows)
{
    std::string reply = "Y \n";
    for (int i = 0; i < rows; i++)
        reply += Line(10000 - i, "P" + std::to_string(i));
    return reply + "*\n";
}

struct Outcome
{
    int8_t answer = 0;
    int32_t result = 99;
    std::string message;
    double slowestPollSeconds = 0;
};

class ScoresMainTest : public OnlineTest
{
protected:
    void SetUp() override
    {
        OnlineTest::SetUp();
        ASSERT_TRUE(list.Setup(SCORES_PROGRAM_PLINX, 240, 100, kSet, SCORES_RANGE_WEEK, nullptr, true, 15));
    }

    // Polls the fetch as the menus do, once a frame without waiting, until it ends.
    static Outcome Poll(ScoresMain &scores)
    {
        Outcome outcome;
        auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30))
        {
            const char *message = nullptr;
            auto before = std::chrono::steady_clock::now();
            outcome.answer = scores.IsUpdateFinished(&outcome.result, &message);
            double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
            outcome.slowestPollSeconds = std::max(outcome.slowestPollSeconds, took);
            if (outcome.answer != 0)
            {
                outcome.message = message ? message : "<none>";
                return outcome;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(16));
        }
        return outcome;
    }

    Outcome Fetch(const HttpReply &reply)
    {
        server.Queue(reply);
        EXPECT_TRUE(list.Update());
        return Poll(list);
    }

    std::string CacheFile() const
    {
        return UserFolder() + "/Scores/Scores_50_" + std::to_string(kSet) + "_W.sco";
    }

    // A cache file as the list writes it, fetched `minutesAgo` minutes ago (negative: in
    // the future), holding `rows` rows.
    void WriteCache(int minutesAgo, int32_t rows, uint16_t version = 240)
    {
        time_t when = time(nullptr) - (time_t)minutesAgo * 60;
        struct tm local;
        localtime_r(&when, &local);
        std::string bytes(22 + 88 * (size_t)rows, '\0');
        memcpy(&bytes[0], &version, 2);
        int32_t year = local.tm_year + 1900;
        int32_t hour = local.tm_hour;
        memcpy(&bytes[2], &year, 4);
        bytes[6] = (char)(local.tm_mon + 1);
        bytes[7] = (char)local.tm_mday;
        memcpy(&bytes[10], &hour, 4);
        bytes[14] = (char)local.tm_min;
        memcpy(&bytes[18], &rows, 4);
        for (int32_t i = 0; i < rows; i++)
        {
            _ScoresScore row = {};
            row.v1 = 500 - i;
            row.uid = 3;
            row.year = 2026;
            row.month = 11;
            row.day = 2;
            // Strings without their terminators: the reader must add them.
            memset(row.name, 'c', sizeof(row.name));
            memcpy(row.cc, "NZZ", 3);
            row.plat = 'W';
            memcpy(&bytes[22 + 88 * (size_t)i], &row, sizeof(row));
        }
        std::filesystem::create_directories(UserFolder() + "/Scores");
        testkit::WriteFile(CacheFile(), bytes);
    }

    ScoresMain list;
};

TEST_F(ScoresMainTest, AFetchAsksTheExactQueryAndKeepsTheRowsAndTheCache)
{
    Outcome outcome = Fetch(HttpReply::Ok("Y \n" + Line(1200, "anna_b") + Line(900, "Bo", "NZ", "hi", "2026-01-02") + "*\n"));
    EXPECT_EQ(outcome.answer, 1);
    EXPECT_EQ(outcome.result, ENG_INTERNET_READ_DONE);
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].target,
              "/cgi-bin/common/scores/Scores.fcgi?zz=1&gv=240&pr=50&st=5100&ra=3&sp=1&ep=99");

    ASSERT_EQ(list.GetNumScores(), 2);
    const _ScoresScore *first = list.GetScore(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->v1, 1200);
    EXPECT_EQ(first->v4, 65538u);
    EXPECT_EQ(first->uid, 7);
    EXPECT_STREQ(first->name, "anna b");
    EXPECT_STREQ(first->cc, "GB");
    EXPECT_STREQ(first->fb, "x");
    EXPECT_EQ(first->year, 2026);
    EXPECT_EQ(first->month, 11);
    EXPECT_EQ(first->day, 30);
    EXPECT_EQ(first->plat, 'W');
    EXPECT_TRUE(ScoresMainIsScoreValid(first, true));
    EXPECT_EQ(list.GetScore(1)->month, 1);
    EXPECT_EQ(list.GetScore(2), nullptr);
    EXPECT_TRUE(LogHas("Bad num 2 (2)"));

    std::string cache = testkit::ReadFile(CacheFile());
    ASSERT_EQ(cache.size(), 22u + 2 * 88);
    EXPECT_EQ(cache.substr(0, 2), std::string("\xF0\x00", 2)) << "game version 240";
    int32_t count;
    memcpy(&count, &cache[18], 4);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(memcmp(&cache[22], first, 88), 0);
}

TEST_F(ScoresMainTest, ListsStopAtTheListSize)
{
    const int sizes[] = {0, 1, 100, 101};
    for (int rows : sizes)
    {
        SCOPED_TRACE(rows);
        Outcome outcome = Fetch(HttpReply::Ok(List(rows)));
        EXPECT_EQ(outcome.answer, 1);
        int expected = rows < 100 ? rows : 100;
        EXPECT_EQ(list.GetNumScores(), expected);
        if (expected > 0)
        {
            EXPECT_STREQ(list.GetScore(expected - 1)->name, ("P" + std::to_string(expected - 1)).c_str());
        }
        EXPECT_EQ(testkit::ReadFile(CacheFile()).size(), 22u + 88u * expected);
    }
    EXPECT_EQ(list.GetScoresList(true), list.GetScore(0));
}

TEST_F(ScoresMainTest, EachReplyFormEndsAsItShould)
{
    struct Case
    {
        const char *name;
        std::string reply;
        int8_t answer;
        int32_t result;
        int rows;
        std::string message;
        const char *logged;
    } cases[] = {
        {"server error", " X database down\n", -1, SCORES_RESULT_REFUSED, 0, "<none>", "Error received: < X database down>"},
        {"message", " M Back at noon\n", -1, ENG_INTERNET_READ_DONE, 0, "Back at noon", "Main scores message received"},
        {"out of date", " V 240 241 5", -1, SCORES_RESULT_OUT_OF_DATE, 0, "<none>", nullptr},
        {"other version", " V 239 241 5", -1, SCORES_RESULT_REFUSED, 0, "<none>", "Version problem"},
        {"version without numbers", " V 240", -1, SCORES_RESULT_REFUSED, 0, "<none>", "Version problem"},
        {"too short", "Y ", -1, ENG_INTERNET_READ_FAILED, 0, "<none>", "No data received"},
        {"garbage", std::string("\x01\xff\0zz", 5), -1, SCORES_RESULT_REFUSED, 0, "<none>", "Invalid data received"},
        {"no terminator", "Y \n" + Line(5) + Line(4), 1, ENG_INTERNET_READ_DONE, 2, "<none>", nullptr},
        {"last line without its line feed", "Y \n" + Line(5) + "4 0 0 0 7 ANNA GB x 2026-11-30 W", 1,
         ENG_INTERNET_READ_DONE, 1, "<none>", nullptr},
        {"fields missing", "Y \n5 0 0 0 7 ANNA GB\n" + Line(4) + "*\n", 1, ENG_INTERNET_READ_DONE, 1, "<none>",
         "Invalid line received: <5 0 0 0 7 ANNA GB>"},
        {"garbage inside the list", std::string("Y \n\x01\x02\xff\0\n", 8) + Line(4) + "*\n", 1,
         ENG_INTERNET_READ_DONE, 1, "<none>", nullptr},
    };
    for (const Case &row : cases)
    {
        SCOPED_TRACE(row.name);
        Outcome outcome = Fetch(HttpReply::Ok(row.reply));
        EXPECT_EQ(outcome.answer, row.answer);
        EXPECT_EQ(outcome.result, row.result);
        EXPECT_EQ(outcome.message, row.message);
        if (row.answer == 1)
        {
            EXPECT_EQ(list.GetNumScores(), row.rows);
        }
        if (row.logged)
        {
            EXPECT_TRUE(LogHas(row.logged));
        }
    }
}

TEST_F(ScoresMainTest, LinesWithABadFieldAreDropped)
{
    ScoresMainSetCountryCheck([](const char *code) { return strcmp(code, "GB") == 0 || strcmp(code, "UK") == 0; });
    const std::string name31(31, 'n');
    std::string reply = "Y \n";
    reply += Line(1, name31);                                     // kept: 31 characters
    reply += Line(2, name31 + "n");                               // a name of 32
    reply += Line(3, "A", "ZZ");                                  // a country not in the table
    reply += Line(4, "A", "UK");                                  // kept: "UK" passes
    reply += Line(5, "A", "GB", std::string(20, 't'));            // a text of 20
    reply += Line(6, "A", "GB", std::string(19, 't'));            // kept
    reply += Line(7, "A", "GB", "x", "1999-12-31");               // before 2000
    reply += Line(8, "A", "GB", "x", "2026-13-01");               // month 13
    reply += Line(9, "A", "GB", "x", "2026-1-01");                // not 10 characters
    reply += "99999999999 0 0 0 7 A GB x 2026-11-30 W\n";          // score beyond 32 bits
    reply += "-5 0 0 0 7 A GB x 2026-11-30 W\n";                   // negative score
    reply += "10 0 0 0 0 A GB x 2026-11-30 W\n";                   // player id 0
    reply += "10 0 0 0 70000 A GB x 2026-11-30 W\n";               // player id beyond 16 bits
    reply += "12x 0 0 0 7 A GB x 2026-11-30 W\n";                  // not a number
    reply += "10 0 0 0 7 A  GB x 2026-11-30 W\n";                  // an empty field
    reply += "*\n";
    Outcome outcome = Fetch(HttpReply::Ok(reply));
    ScoresMainSetCountryCheck(nullptr);
    EXPECT_EQ(outcome.answer, 1);
    ASSERT_EQ(list.GetNumScores(), 3);
    EXPECT_EQ(list.GetScore(0)->v1, 1);
    EXPECT_EQ(std::string(list.GetScore(0)->name), name31);
    EXPECT_EQ(list.GetScore(1)->v1, 4);
    EXPECT_STREQ(list.GetScore(1)->cc, "UK");
    EXPECT_EQ(list.GetScore(2)->v1, 6);
}

TEST_F(ScoresMainTest, NamesAreUpperCasedWithoutTouchingOtherBytes)
{
    list.SetUpperCaseNames();
    Outcome outcome = Fetch(HttpReply::Ok("Y \n" + Line(5, "ren\xe9_a") + "*\n"));
    EXPECT_EQ(outcome.answer, 1);
    ASSERT_EQ(list.GetNumScores(), 1);
    EXPECT_STREQ(list.GetScore(0)->name, "REN\xe9 A");
}

TEST_F(ScoresMainTest, AReplyThatReachesTheLimitIsRefusedAndNotCached)
{
    Fetch(HttpReply::Ok(List(3)));
    ASSERT_EQ(list.GetNumScores(), 3);
    std::string cache = testkit::ReadFile(CacheFile());

    std::string big = List(0) + std::string(SCORES_REPLY_BYTES, '#');
    Outcome outcome = Fetch(HttpReply::Ok(big.substr(0, SCORES_REPLY_BYTES)));
    EXPECT_EQ(outcome.answer, -1);
    EXPECT_EQ(outcome.result, ENG_INTERNET_READ_FAILED);
    EXPECT_TRUE(LogHas("Too much data read."));
    EXPECT_EQ(list.GetNumScores(), 3) << "the list stays as it was";
    EXPECT_EQ(testkit::ReadFile(CacheFile()), cache);

    // One byte less is a list again.
    std::string fits = List(1);
    fits += std::string(SCORES_REPLY_BYTES - 1 - fits.size(), '#');
    EXPECT_EQ(Fetch(HttpReply::Ok(fits)).answer, 1);
    EXPECT_EQ(list.GetNumScores(), 1);
}

TEST_F(ScoresMainTest, ACutOrFailedFetchChangesNothing)
{
    Fetch(HttpReply::Ok(List(2)));
    std::string cache = testkit::ReadFile(CacheFile());
    std::string full = List(50);
    struct Case
    {
        const char *name;
        HttpReply reply;
    } cases[] = {
        {"cut mid-reply", HttpReply::Cut(full, full.size() / 2)},
        {"server failure status", HttpReply::Status(500, full)},
        {"not HTTP", HttpReply::Raw("hello\r\n\r\n")},
    };
    for (const Case &row : cases)
    {
        SCOPED_TRACE(row.name);
        Outcome outcome = Fetch(row.reply);
        EXPECT_EQ(outcome.answer, -1);
        EXPECT_EQ(outcome.result, ENG_INTERNET_READ_FAILED);
        EXPECT_EQ(list.GetNumScores(), 2);
        EXPECT_EQ(testkit::ReadFile(CacheFile()), cache);
    }
}

TEST_F(ScoresMainTest, ASlowReplyNeverHoldsUpThePoll)
{
    Outcome outcome = Fetch(HttpReply::Ok(List(4)).After(5.0));
    EXPECT_EQ(outcome.answer, 1);
    EXPECT_EQ(list.GetNumScores(), 4);
    // Well within one frame: the poll never waits for the network.
    EXPECT_LT(outcome.slowestPollSeconds, 0.1);
}

TEST_F(ScoresMainTest, NoServerFailsQuicklyWithOneLine)
{
    OnlineSetBaseAddress("http://127.0.0.1:1");
    int before = LogCount();
    ASSERT_TRUE(list.Update());
    Outcome outcome = Poll(list);
    EXPECT_EQ(outcome.answer, -1);
    EXPECT_EQ(outcome.result, ENG_INTERNET_READ_FAILED);
    EXPECT_EQ(LogCount(), before + 1);
    EXPECT_TRUE(LogHas("Update failed [-2]: Problem connecting to internet site"));
    EXPECT_LT(outcome.slowestPollSeconds, 0.1);
    // The next check waits for the refresh time instead of trying again at once.
    EXPECT_EQ(list.UpdateIfNeeded(false), 0);
}

TEST_F(ScoresMainTest, TheCacheAnswersWhileItIsYoungerThanTheRefreshTime)
{
    struct Case
    {
        const char *name;
        int minutesAgo;
        int32_t rows;
        uint16_t version;
        int8_t answer;
    } cases[] = {
        {"14 minutes old", 14, 3, 240, 2},
        {"16 minutes old", 16, 3, 240, 1},
        {"dated in the future", -10, 3, 240, 1},
        {"another game version", 1, 3, 239, 1},
        {"as many rows as the list holds", 1, 100, 240, 1},
    };
    for (const Case &row : cases)
    {
        SCOPED_TRACE(row.name);
        server.SetDefault(HttpReply::Ok(List(1)));
        WriteCache(row.minutesAgo, row.rows, row.version);
        ScoresMain scores;
        ASSERT_TRUE(scores.Setup(SCORES_PROGRAM_PLINX, 240, 100, kSet, SCORES_RANGE_WEEK, nullptr, true, 15));
        size_t requests = server.RequestCount();
        EXPECT_EQ(scores.UpdateIfNeeded(false), 0) << "the first check is only scheduled";
        EXPECT_EQ(scores.UpdateIfNeeded(true), row.answer);
        if (row.answer == 2)
        {
            EXPECT_EQ(server.RequestCount(), requests);
            ASSERT_EQ(scores.GetNumScores(), 3);
            EXPECT_EQ(scores.GetScore(0)->v1, 500);
            EXPECT_EQ(std::string(scores.GetScore(0)->name), std::string(31, 'c')) << "terminated";
            EXPECT_STREQ(scores.GetScore(0)->cc, "NZ");
            double dueIn = scores.GetNextCheckTime() - EngMiscGetClock_PC();
            EXPECT_GT(dueIn, 0);
            EXPECT_LE(dueIn, 60.5);
        }
        else
        {
            EXPECT_EQ(Poll(scores).answer, 1);
            EXPECT_EQ(scores.GetNumScores(), 1);
        }
    }
}

TEST_F(ScoresMainTest, ACorruptCacheIsIgnored)
{
    server.SetDefault(HttpReply::Ok(List(1)));
    WriteCache(1, 3);
    std::string good = testkit::ReadFile(CacheFile());
    std::string corrupt[] = {
        good.substr(0, good.size() - 1),  // a row cut short
        good + "x",                       // bytes after the last row
        good.substr(0, 10),               // header cut short
    };
    std::string badDate = good;
    badDate[6] = 13;                      // month 13
    for (const std::string &bytes : {corrupt[0], corrupt[1], corrupt[2], badDate})
    {
        testkit::WriteFile(CacheFile(), bytes);
        ScoresMain scores;
        ASSERT_TRUE(scores.Setup(SCORES_PROGRAM_PLINX, 240, 100, kSet, SCORES_RANGE_WEEK, nullptr, true, 15));
        EXPECT_EQ(scores.UpdateIfNeeded(true), 1);
        EXPECT_EQ(Poll(scores).answer, 1);
        EXPECT_EQ(scores.GetNumScores(), 1);
    }
}

TEST_F(ScoresMainTest, RefusalsBeforeSetUp)
{
    ScoresMain scores;
    EXPECT_EQ(scores.GetNumScores(), 0);
    EXPECT_EQ(scores.GetScoresList(false), nullptr);
    EXPECT_FALSE(scores.Update());
    EXPECT_TRUE(LogHas("Not setup."));
    EXPECT_FALSE(scores.Setup(SCORES_PROGRAM_PLINX, 240, 0, kSet, 0, nullptr, true, 15));
    EXPECT_FALSE(scores.Setup(SCORES_PROGRAM_PLINX, 240, 100, kSet, 5, nullptr, true, 15));
    EXPECT_FALSE(scores.Setup(SCORES_PROGRAM_PLINX, 240, 100, kSet, 0, nullptr, true, 0));
    EXPECT_TRUE(LogHas("Bad parameters."));
}

TEST_F(ScoresMainTest, Threads_FetchesReplacedBeforeTheyEndNeverWaitForTheServer)
{
    // Each new fetch parks the reader before it in the ring of 20; going round the ring
    // more than once clears parked readers, and the last fetch still arrives.
    server.SetDefault(HttpReply::Hold());
    for (int i = 0; i < 45; i++)
    {
        ASSERT_TRUE(list.Update());
        list.StopUpdating();
    }
    server.SetDefault(HttpReply::Ok(List(2)));
    ASSERT_TRUE(list.Update());
    EXPECT_EQ(Poll(list).answer, 1);
    EXPECT_EQ(list.GetNumScores(), 2);
}

} // namespace

namespace
{

// The game's score module over the registered operations: the menus' list, its fetch
// and its cache files.
TEST_F(ScoresMainTest, TheGameReachesItsListThroughTheRegisteredOperations)
{
    OnlineRegisterScoreHooks(nullptr);
    server.Queue(HttpReply::Ok(" M Closed for a day\n"));
    server.Queue(HttpReply::Ok(List(3)));
    const int arcade = 0;
    const int medium = 1;
    ASSERT_TRUE(ScoresSetupOnlineScores(arcade, medium, SCORES_RANGE_DAY, 1));
    for (int i = 0; i < 2000 && ScoresIsUpdating(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(ScoresGetNumOnlineScores(), 0);
    char message[64];
    EXPECT_EQ(ScoresGetOnlineListResult(message, sizeof(message)), ENG_INTERNET_READ_DONE);
    EXPECT_STREQ(message, "Closed for a day");

    ASSERT_TRUE(ScoresSetupOnlineScores(arcade, medium, SCORES_RANGE_DAY, 1));
    for (int i = 0; i < 2000 && ScoresIsUpdating(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(ScoresGetNumOnlineScores(), 3);
    EXPECT_STREQ(ScoresGetOnlineScore(2, 1)->name, "P2");
    EXPECT_EQ(ScoresGetOnlineScoresList(1), ScoresGetOnlineScore(0, 1));
    const std::string table = std::to_string(ScoresGetTableId(arcade, medium));
    EXPECT_EQ(server.Requests()[1].target,
              "/cgi-bin/common/scores/Scores.fcgi?zz=1&gv=240&pr=50&st=" + table + "&ra=4&sp=1&ep=99");
    const std::string cache = UserFolder() + "/Scores/Scores_50_" + table + "_D.sco";
    EXPECT_TRUE(testkit::FileExists(cache));

    // The next list of the table comes from the cache, and goes with it.
    ASSERT_TRUE(ScoresSetupOnlineScores(arcade, medium, SCORES_RANGE_DAY, 0));
    EXPECT_FALSE(ScoresIsUpdating());
    EXPECT_EQ(ScoresGetNumOnlineScores(), 3);
    EXPECT_EQ(server.RequestCount(), 2u);
    ScoresRemoveSavedFilesForAllRanges(arcade, medium);
    EXPECT_FALSE(testkit::FileExists(cache));
    ScoresFreeOnlineScores();
    OnlineScoresSetHooks(nullptr);
}

} // namespace
