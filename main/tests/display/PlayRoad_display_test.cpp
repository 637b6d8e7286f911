// The whole road a new player takes, on the real Plinx_DX9 under the display, driven with
// xdotool: with an empty HOME the start-up dialog comes (Enter plays), then the splash,
// the players screen, a new player "Tester" with a chosen country, the main menu naming
// the player, an ARCADE game with a few shots, Escape back to the menus and Exit. A second
// start continues with "Tester" from the player file the first one wrote.
//
// Each step's screenshot is kept in the build folder (e2e_*.png) for a person to look at.
#include "GameDriver.h"

namespace
{

using displaytest::Shot;

class PlayRoadTest : public displaytest::GameDriverTest
{
};

TEST_F(PlayRoadTest, NewPlayerPlaysArcadeAndComesBackAsTheLastPlayer)
{
    ASSERT_NO_FATAL_FAILURE(NewPlayerToMainMenu(""));

    // An ARCADE game: the turret at the bottom and the balls at the top.
    ClickDesign(320, 220);
    ASSERT_TRUE(WaitForLog("Game started: ARCADE", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    Shot game = Screenshot("08_arcade");
    EXPECT_GT(ColoursDesign(game, 200, 380, 240, 100), 8) << "the turret is drawn";
    EXPECT_GT(ColoursDesign(game, 150, 20, 340, 120), 8) << "balls hang from the top";
    for (float x : {250.0f, 320.0f, 390.0f, 300.0f})
    {
        MoveDesign(x, 300);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ClickDesign(x, 300);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
    }
    KeyInGame("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    Screenshot("09_shots");

    // Escape saves the game and leaves for the menus; Exit ends the program.
    KeyInGame("Escape");
    ASSERT_TRUE(WaitForLog("Left the game after", 10)) << testkit::ReadFile(logPath);
    EXPECT_EQ(LogCount("Left the game after 0 shots"), 0) << testkit::ReadFile(logPath);
    // The pause screen: RESUME goes back to the game, a second Escape pauses again and
    // CONTINUE GAME LATER saves the game and leads to the main menu.
    ASSERT_TRUE(WaitForLog("Screen PAUS", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Shot pause = Screenshot("10a_pause");
    EXPECT_GT(ColoursDesign(pause, 262, 187, 115, 105), 3) << "the RESUME button is drawn";
    ClickDesign(320, 240);
    ASSERT_TRUE(WaitForLog("Game started: ARCADE", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Screenshot("10b_resumed");
    KeyInGame("Escape");
    ASSERT_TRUE(WaitForLog("Screen PAUS", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    ClickDesign(320, 329);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Screenshot("10_back_in_menu");
    ClickDesign(60, 452);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);
    EXPECT_TRUE(testkit::FileExists(userFolder + "/Users/Tester.usr"));
    EXPECT_TRUE(testkit::FileExists(userFolder + "/Resolution.dat"));

    // ---- Second start: no dialog; the players screen continues with Tester.
    // The next run writes a log of its own.
    unlink(logPath.c_str());
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForLog("Screen uUSR", 40)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Screenshot("11_second_start_players");
    ClickDesign(320, 447);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 15)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Screenshot("12_second_start_menu");
    ClickDesign(60, 452);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);
}

} // namespace
