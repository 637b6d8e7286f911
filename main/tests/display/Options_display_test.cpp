// The options on the real Plinx_DX9 under the display, driven with xdotool: a new player
// opens OPTIONS from the main menu, turns the menu music down two steps with the choice's
// left arrow, answers the online position popup with Escape, looks at the controls screen
// (Escape returns), goes BACK and exits. A second start continues with that player: the
// options show the volume that was chosen.
//
// Each step's screenshot is kept in the build folder (e2e_options_*.png).
#include "GameDriver.h"

namespace
{

using displaytest::Shot;

class OptionsDisplayTest : public displaytest::GameDriverTest
{
};

TEST_F(OptionsDisplayTest, MenuMusicVolumeChosenInTheOptionsIsKeptForTheNextStart)
{
    ASSERT_NO_FATAL_FAILURE(NewPlayerToMainMenu("options_"));

    // OPTIONS: three framed groups; a new player's menu music is at 7.
    ClickDesign(580, 452);
    ASSERT_TRUE(WaitForLog("Screen OPTN", 10)) << testkit::ReadFile(logPath);
    ASSERT_TRUE(WaitForLog("menu music 7,", 5)) << testkit::ReadFile(logPath);
    MoveDesign(600, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Shot options = Screenshot("options_08_options");
    EXPECT_GT(ColoursDesign(options, 177, 175, 285, 121), 8) << "the volumes group is drawn";
    EXPECT_GT(ColoursDesign(options, 339, 216, 97, 13), 3) << "the menu music choice is drawn";
    EXPECT_GT(ColoursDesign(options, 145, 360, 160, 24), 3) << "the AUTO-SUBMIT button is drawn";
    // The mouse over CONTROLS lights the button up.
    double before = MeanDesign(options, 340, 333, 150, 18);
    MoveDesign(415, 342);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    Shot hover = Screenshot("options_09_hover");
    EXPECT_GT(std::abs(MeanDesign(hover, 340, 333, 150, 18) - before), 2.0) << "hover feedback on CONTROLS";

    // Two steps down with the left arrow of MENU MUSIC.
    ClickDesign(342, 222.5f);
    ClickDesign(342, 222.5f);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Screenshot("options_10_volume_changed");

    // SHOW POSITION asks with three answers; Escape is "No" and keeps the options open.
    ClickDesign(415, 402);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    Shot popup = Screenshot("options_10b_online_position");
    EXPECT_GT(ColoursDesign(popup, 220, 200, 200, 80), 8) << "the popup is drawn";
    KeyInGame("Escape");
    ASSERT_TRUE(WaitForLog("Online position mode 2", 10)) << testkit::ReadFile(logPath);
    EXPECT_EQ(LogCount("Main menu for player Tester"), 1) << "still on the options";

    // The controls screen, left with Escape.
    ClickDesign(415, 342);
    ASSERT_TRUE(WaitForLog("Screen CTRL", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Shot controls = Screenshot("options_11_controls");
    EXPECT_GT(ColoursDesign(controls, 86, 135, 467, 250), 8) << "the controls frame is drawn";
    KeyInGame("Escape");
    ASSERT_TRUE(WaitForLog("Screen OPTN", 10, 2)) << testkit::ReadFile(logPath);
    EXPECT_EQ(LogCount("menu music 5,"), 1) << testkit::ReadFile(logPath);

    // BACK to the main menu, then EXIT.
    ClickDesign(570, 452);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ClickDesign(60, 452);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);

    // ---- Second start: Tester continues, and the options show the volume chosen.
    unlink(logPath.c_str());
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForLog("Screen uUSR", 40)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ClickDesign(320, 447);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 15)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    ClickDesign(580, 452);
    ASSERT_TRUE(WaitForLog("Screen OPTN", 10)) << testkit::ReadFile(logPath);
    EXPECT_TRUE(WaitForLog("menu music 5,", 5)) << testkit::ReadFile(logPath);
    MoveDesign(600, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Screenshot("options_12_second_start");
    ClickDesign(570, 452);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ClickDesign(60, 452);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);
}

} // namespace
