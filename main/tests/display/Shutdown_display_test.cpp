// Plinx_DX9 itself on the display: it opens its window, runs its main loop and closes
// cleanly on SIGTERM and on the window's close button, logging the
// shut-down in order.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "GameDriver.h"
#include "Testkit.h"
#include "TestkitProgram.h"
#include "TestkitX11.h"

namespace
{

class PlinxDX9Test : public displaytest::GameDriverTest
{
protected:
    // Starts the game without the start-up dialog; true once its main loop runs.
    bool StartToSplash()
    {
        testkit::WriteWindowedSettings(home.Path(), false);
        return Start() && WaitForLog("Splash started", 20);
    }

    // The log lines of the shut-down appear in this order.
    void ExpectShutDownInOrder(const std::string &cause)
    {
        std::string log = testkit::ReadFile(logPath);
        size_t at = log.find(cause);
        ASSERT_NE(at, std::string::npos) << log;
        for (const char *step : {"Shut-down: graphics device and window.", "[DxDevices] Cleanup - DONE", "Shut-down: program."})
        {
            size_t next = log.find(step, at);
            ASSERT_NE(next, std::string::npos) << step << "\n" << log;
            at = next;
        }
    }
};

TEST_F(PlinxDX9Test, SigtermClosesDownInOrder)
{
    ASSERT_TRUE(StartToSplash());
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitForExit(20), 0);
    ExpectShutDownInOrder("Signal 15 received: closing down.");
    // The menus had not started: nothing of theirs is shut down, and a normal start names
    // no texture it does not build.
    EXPECT_EQ(LogCount("MWin not on"), 0) << testkit::ReadFile(logPath);
    EXPECT_EQ(LogCount("Cannot set name if not"), 0) << testkit::ReadFile(logPath);
}

TEST_F(PlinxDX9Test, CloseButtonClosesDownInOrder)
{
    ASSERT_TRUE(StartToSplash());
    unsigned long window = strtoul(displaytest::Shell("timeout 20 xdotool search --sync --name '^Plinx!$'").c_str(), nullptr, 10);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(testkit::SendCloseRequest(window));
    EXPECT_EQ(WaitForExit(20), 0);
    ExpectShutDownInOrder("Exiting.");
}

// A later start finds its ball frames stored and loads them behind the splash: frames
// that turn out damaged there are made again before the first screen.
TEST_F(PlinxDX9Test, DamagedBallFramesOfALaterStartAreRemadeBehindTheSplash)
{
    namespace fs = std::filesystem;
    const std::string rolls = userFolder + "/Rolls";
    fs::create_directories(rolls);
    for (int colour = 0; colour < 10; colour++)
        for (int frame = 0; frame < 35; frame++)
        {
            char name[32];
            snprintf(name, sizeof(name), "/Roll_%02d_%02d.tga", colour, frame);
            testkit::WriteFile(rolls + name, colour == 0 && frame == 0 ? "not a picture" : "");
        }
    ASSERT_TRUE(StartToSplash()) << testkit::ReadFile(logPath);
    ASSERT_TRUE(WaitForLog("Screen uUSR", 30)) << testkit::ReadFile(logPath);
    std::string log = testkit::ReadFile(logPath);
    size_t splash = log.find("Splash started"), remade = log.find("Remaking damaged roll texture");
    ASSERT_NE(remade, std::string::npos) << log;
    EXPECT_LT(splash, remade) << log;
    EXPECT_EQ(log.find("Could not load ball textures"), std::string::npos) << log;
    EXPECT_EQ(fs::file_size(rolls + "/Roll_09_34.tga"), fs::file_size(rolls + "/Roll_00_00.tga"));
    EXPECT_GT(fs::file_size(rolls + "/Roll_00_00.tga"), 64u * 64u * 4u);
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitForExit(20), 0);
}

} // namespace
