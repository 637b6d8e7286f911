// The online services of a game on the real Plinx_DX9, against a scores server on this
// machine: during an ARCADE game the place box at the top names the player's place in
// the online lists as the score climbs past their rows. Screenshots are kept in the
// build folder (e2e_online_*.png) for a person to look at.
#include <string>

#include "GameDriver.h"
#include "TestkitHttp.h"

namespace
{

using displaytest::Shot;

// Lists whose rows lie close together at low scores, so that the first points of a game
// pass several of them.
std::string ListOf(const std::string &target)
{
    std::string list = "Y \n";
    const char *range = target.find("&ra=1&") != std::string::npos   ? "yr"
                        : target.find("&ra=2&") != std::string::npos ? "mo"
                        : target.find("&ra=3&") != std::string::npos ? "wk"
                                                                      : "dy";
    const int scores[] = {900, 600, 400, 250, 160, 100, 70, 50, 30, 20, 10};
    for (int row = 0; row < 11; row++)
        list += std::to_string(scores[row]) + " 0 0 0 " + std::to_string(100 + row) + " " + range + "_player_" +
                std::to_string(row + 1) + " AT x 2026-05-04 W\n";
    return list + "*\n";
}

class OnlinePlaceTest : public displaytest::GameDriverTest
{
protected:
    void WaitForScreen(const std::string &id, int times = 1)
    {
        ASSERT_TRUE(WaitForLog("Screen " + id, 15, times)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    }

    testkit::LoopbackHttpServer server;

    size_t VersionChecks()
    {
        size_t count = 0;
        for (const testkit::HttpRequest &request : server.Requests())
            count += request.target.rfind("/cgi-bin/common/updater/", 0) == 0;
        return count;
    }
};

TEST_F(OnlinePlaceTest, ThePlaceBoxNamesTheListAndPositionAsTheScoreClimbs)
{
    ASSERT_TRUE(server.Running());
    server.SetResponder([](const testkit::HttpRequest &request) {
        return testkit::HttpReply::Ok(request.method == "POST" ? " A\n" : ListOf(request.target));
    });
    onlineBase = server.BaseUrl();
    ASSERT_NO_FATAL_FAILURE(NewPlayerToMainMenu("online_"));

    // ARCADE, EASY: few colours, so shots match.
    ClickDesign(320, 220);
    WaitForScreen("MAIN");
    ClickDesign(222, 163);
    ClickDesign(570, 164);
    ASSERT_TRUE(WaitForLog("Game started: ARCADE", 10)) << testkit::ReadFile(logPath);
    // The four lists are read once at the start of the game (the weekly version check of
    // the start asks the same server, before the game).
    ASSERT_TRUE(server.WaitForRequests(4 + VersionChecks(), 10)) << testkit::ReadFile(logPath);

    const float aims[] = {180, 250, 320, 390, 460, 290, 350};
    for (int i = 0; i < 120 && LogCount("Online place: ") == 0 && LogCount("Game over, score") == 0; i++)
    {
        MoveDesign(aims[i % 7], 150);
        KeyInGame("space");
    }
    // On a loaded machine the shots may all miss; a game without points has no place.
    if (LogCount("Online place: ") == 0 && LogCount("Game over, score 0\n") > 0)
        GTEST_SKIP() << "the game ended without points";
    ASSERT_GT(LogCount("Online place: "), 0) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    Shot shot = Screenshot("online_place_box");
    EXPECT_GT(ColoursDesign(shot, 130, 4, 380, 32), 3) << "the place box and its text are drawn";
    EXPECT_TRUE(WaitForLog(" POSITION ", 1)) << testkit::ReadFile(logPath);
    for (const testkit::HttpRequest &request : server.Requests())
        EXPECT_EQ(request.method, "GET") << "nothing is sent during a game";
    EXPECT_EQ(server.RequestCount() - VersionChecks(), 4u) << "each list is read once";
}

} // namespace
