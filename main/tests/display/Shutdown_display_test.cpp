// Plinx_DX9 itself on the display: it opens its window, runs its main loop and closes
// cleanly on SIGTERM and on the window's close button, logging the
// shut-down in order.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Testkit.h"
#include "TestkitProgram.h"
#include "TestkitX11.h"

extern char **environ;

namespace
{

class PlinxDX9Test : public testing::Test
{
protected:
    void SetUp() override { logPath = home.Path() + "/.local/share/Fernbrooks/Plinx/LogFile.txt"; }

    void TearDown() override
    {
        if (pid > 0)
        {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // Starts the game with its own HOME; true once its main loop runs.
    bool Start()
    {
        std::vector<std::string> environment;
        for (char **entry = environ; *entry; entry++)
        {
            std::string text = *entry;
            if (text.rfind("HOME=", 0) != 0 && text.rfind("XDG_DATA_HOME=", 0) != 0)
                environment.push_back(text);
        }
        environment.push_back("HOME=" + home.Path());
        std::vector<char *> envp;
        for (std::string &text : environment)
            envp.push_back(text.data());
        envp.push_back(nullptr);
        testkit::WriteWindowedSettings(home.Path(), false);
        char *argv[] = {(char *)PLINX_GAME_EXECUTABLE, nullptr};
        if (posix_spawn(&pid, PLINX_GAME_EXECUTABLE, nullptr, nullptr, argv, envp.data()) != 0)
            return false;
        return WaitForLog("Splash started");
    }

    bool WaitForLog(const std::string &text)
    {
        for (int i = 0; i < 400; i++)
        {
            if (testkit::ReadFile(logPath).find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // The game's exit status, or -1 when it did not end normally within the time.
    int WaitForExit()
    {
        for (int i = 0; i < 400; i++)
        {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
            {
                pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

    // Runs a command of the xdotool tool; answers its output.
    static std::string Xdotool(const std::string &arguments)
    {
        std::string output;
        FILE *pipe = popen(("xdotool " + arguments).c_str(), "r");
        if (!pipe)
            return output;
        char buffer[256];
        while (fgets(buffer, sizeof(buffer), pipe))
            output += buffer;
        pclose(pipe);
        return output;
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

    testkit::TempDir home;
    std::string logPath;
    pid_t pid = 0;
};

TEST_F(PlinxDX9Test, SigtermClosesDownInOrder)
{
    ASSERT_TRUE(Start());
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitForExit(), 0);
    ExpectShutDownInOrder("Signal 15 received: closing down.");
}

TEST_F(PlinxDX9Test, CloseButtonClosesDownInOrder)
{
    ASSERT_TRUE(Start());
    unsigned long window = strtoul(Xdotool("search --sync --name \"^Plinx!$\"").c_str(), nullptr, 10);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(testkit::SendCloseRequest(window));
    EXPECT_EQ(WaitForExit(), 0);
    ExpectShutDownInOrder("Exiting.");
}

} // namespace
