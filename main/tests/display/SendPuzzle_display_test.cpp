// The puzzle upload screen on the real Plinx_DX9: a new player, MY PUZZLES, CREATE with a
// name, the puzzle properties, SEND TO FERNBROOKS, the upload screen with the player's
// name filled in, and back. The screenshots stay in the build folder (e2e_spuz_*.png).
#include "GameDriver.h"

namespace
{

using displaytest::Shot;

class SendPuzzleDisplayTest : public displaytest::GameDriverTest
{
};

TEST_F(SendPuzzleDisplayTest, TheUploadScreenIsReachedFromThePuzzleProperties)
{
    ASSERT_NO_FATAL_FAILURE(NewPlayerToMainMenu("spuz_"));
    ClickDesign(320, 385);
    ASSERT_TRUE(WaitForLog("Screen MAIN", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ClickDesign(217, 197);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    TypeInGame("upload");
    KeyInGame("Return");
    ASSERT_TRUE(WaitForLog("Screen CPPR", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Screenshot("spuz_properties");
    ClickDesign(90, 21);
    ASSERT_TRUE(WaitForLog("Screen SPUZ", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Shot upload = Screenshot("spuz_upload");
    EXPECT_GT(ColoursDesign(upload, 272, 155, 280, 32), 2) << "the name field shows";
    EXPECT_GT(ColoursDesign(upload, 253, 299, 133, 52), 2) << "SEND shows";
    KeyInGame("Escape");
    ASSERT_TRUE(WaitForLog("Screen CPPR", 10, 2)) << testkit::ReadFile(logPath);
}

} // namespace
