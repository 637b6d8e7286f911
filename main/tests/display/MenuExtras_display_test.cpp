// The screens off the main menu on the real Plinx_DX9 under the display: the help screen's
// tutorial scene by scene and back, the credits, the log viewer copying the log to the
// clipboard (read back with xclip), the other products. Screenshots are kept in the
// build folder (e2e_extras_*.png).
#include "GameDriver.h"

namespace
{

using displaytest::Shot;

class MenuExtrasTest : public displaytest::GameDriverTest
{
};

TEST_F(MenuExtrasTest, HelpCreditsAndTheLogViewer)
{
    NewPlayerToMainMenu("extras_");
    if (HasFatalFailure())
        return;

    // HELP: one screenshot in the middle of each of the six scenes (seconds after the
    // screen opened, from the tutorial's timing), then Escape back to the main menu.
    ClickDesign(580, 402);
    ASSERT_TRUE(WaitForLog("Screen HELP", 10)) << testkit::ReadFile(logPath);
    auto opened = std::chrono::steady_clock::now();
    const double sceneTimes[] = {2.0, 8.7, 14.3, 21.0, 26.8, 35.9};
    for (int scene = 0; scene < 6; scene++)
    {
        std::this_thread::sleep_until(opened + std::chrono::milliseconds((int)(sceneTimes[scene] * 1000)));
        Shot shot = Screenshot("extras_help_scene" + std::to_string(scene + 1));
        EXPECT_GT(ColoursDesign(shot, 170, 140, 300, 250), 12) << "scene " << scene + 1 << ": balls in the frame";
    }
    KeyInGame("Escape");
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 2)) << testkit::ReadFile(logPath);

    // EXTRA: the credits; LOGS: the log viewer; copy every line to the clipboard.
    ClickDesign(60, 352);
    ASSERT_TRUE(WaitForLog("Screen CRED", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Shot credits = Screenshot("extras_credits");
    EXPECT_GT(ColoursDesign(credits, 170, 130, 300, 190), 6) << "the credits panel is drawn";
    // A long log: more lines than the viewer lists, so it keeps the newest.
    if (FILE *log = fopen(logPath.c_str(), "a"))
    {
        for (int i = 0; i < 25000; i++)
            fprintf(log, "%d.0 |  :  Filler line %d | for the viewer\n", i / 100, i);
        fclose(log);
    }
    ClickDesign(65, 451);
    ASSERT_TRUE(WaitForLog("Screen LOGS", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Shot logs = Screenshot("extras_logs");
    EXPECT_GT(ColoursDesign(logs, 20, 60, 600, 350), 6) << "the log lines are listed";
    ClickDesign(225, 452);
    ASSERT_TRUE(WaitForLog("log lines copied to the clipboard", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    Screenshot("extras_logs_copied");
    // What another program pastes: the heading, then the lines as listed ('|' shown as
    // '>'), the newest kept and the oldest left out.
    const std::string pasted = displaytest::Shell("timeout 5 xclip -o -selection clipboard 2>/dev/null");
    EXPECT_EQ(pasted.rfind("Log entries for Plinx!", 0), 0u) << pasted.substr(0, 200);
    EXPECT_NE(pasted.find("(Entries Truncated)\n"), std::string::npos) << pasted.substr(0, 400);
    EXPECT_NE(pasted.find("Filler line 24999 > for the viewer\n"), std::string::npos) << pasted.substr(0, 400);
    EXPECT_EQ(pasted.find("Filler line 0 >"), std::string::npos);
    KeyInGame("Return");
    // Back (the title bar's button) to the credits, Back to the main menu, Exit.
    KeyInGame("Escape");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ClickDesign(575, 451);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 3)) << testkit::ReadFile(logPath);

    // GAMES: the other products with their pictures; Next shows the second product; the
    // right arrow key steps on to one shown with a single picture.
    ClickDesign(60, 402);
    ASSERT_TRUE(WaitForLog("Screen GADS", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Shot products = Screenshot("extras_products");
    EXPECT_GT(ColoursDesign(products, 60, 150, 240, 240), 40) << "the first picture shows";
    EXPECT_GT(ColoursDesign(products, 340, 150, 240, 240), 40) << "the second picture shows";
    ClickDesign(514, 445);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    Screenshot("extras_products_next");
    KeyInGame("Right Right Right");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    Shot single = Screenshot("extras_products_single");
    EXPECT_GT(ColoursDesign(single, 140, 150, 360, 250), 40) << "the centred picture shows";
    KeyInGame("Escape");
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 4)) << testkit::ReadFile(logPath);
    ClickDesign(60, 452);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);
}

} // namespace
