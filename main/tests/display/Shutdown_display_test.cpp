// Plinx_DX9 itself on the display: it opens its window, runs its main loop and closes
// cleanly on SIGTERM and on the window's close button, logging the
// shut-down in order.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
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

} // namespace
