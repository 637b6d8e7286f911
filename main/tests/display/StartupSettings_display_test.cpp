// End to end under a display: "Plinx_DX9 CONFIGURATION" shows the start-up settings
// dialog; PLAY (Enter, pressed with xdotool) lets the start go on to the main loop, and
// Escape ends the program quietly, without a message box.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Testkit.h"
#include "TestkitProgram.h"

namespace
{
pid_t StartGame(const std::string &home)
{
    pid_t pid = fork();
    if (pid == 0)
    {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(PLINX_GAME_EXECUTABLE, PLINX_GAME_EXECUTABLE, "CONFIGURATION", (char *)nullptr);
        _exit(127);
    }
    return pid;
}

// The process's exit status, or -1 when it still runs after `seconds`.
int WaitForExit(pid_t pid, double seconds)
{
    for (int waited = 0; waited < seconds * 100; waited++)
    {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        usleep(10000);
    }
    return -1;
}

bool WaitForLog(const std::string &logPath, const std::string &text, double seconds)
{
    for (int waited = 0; waited < seconds * 10; waited++)
    {
        if (testkit::ReadFile(logPath).find(text) != std::string::npos)
            return true;
        usleep(100000);
    }
    return false;
}

// Waits for the dialog and presses a key in it; false when no dialog came.
bool PressInDialog(const std::string &key, const std::string &screenshot)
{
    std::string find = "timeout 20 xdotool search --sync --name '^Plinx! Settings$'";
    if (system((find + " >/dev/null 2>&1").c_str()) != 0)
        return false;
    usleep(300000);
    if (!screenshot.empty() && system(("import -window root " + screenshot + " >/dev/null 2>&1").c_str()) != 0)
        fprintf(stderr, "no screenshot\n");
    // The window may be gone before xdotool returns (Escape ends the program at once).
    if (system((find + " key --window %1 " + key + " >/dev/null 2>&1").c_str()) != 0)
        fprintf(stderr, "xdotool reported a failure after pressing %s\n", key.c_str());
    return true;
}
} // namespace

class StartupSettingsTest : public ::testing::Test
{
protected:
    testkit::TempDir home;
    std::string LogPath() { return home.Path() + "/.local/share/Fernbrooks/Plinx/LogFile.txt"; }
};

TEST_F(StartupSettingsTest, PlayContinuesTheStart)
{
    testkit::WriteWindowedSettings(home.Path(), true);
    pid_t game = StartGame(home.Path());
    ASSERT_GT(game, 0);
    bool pressed = PressInDialog("Return", std::string(PLINX_BUILD_DIR) + "/startup_dialog.png");
    bool reachedLoop = pressed && WaitForLog(LogPath(), "Splash started", 30);
    kill(game, SIGTERM);
    int status = WaitForExit(game, 20);
    if (status < 0)
    {
        kill(game, SIGKILL);
        waitpid(game, nullptr, 0);
    }
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(reachedLoop) << testkit::ReadFile(LogPath());
    EXPECT_EQ(status, 0);
    // The choices were kept.
    EXPECT_TRUE(testkit::FileExists(home.Path() + "/.local/share/Fernbrooks/Plinx/Resolution.dat"));
}

TEST_F(StartupSettingsTest, EscapeEndsQuietly)
{
    pid_t game = StartGame(home.Path());
    ASSERT_GT(game, 0);
    EXPECT_TRUE(PressInDialog("Escape", ""));
    int status = WaitForExit(game, 20);
    if (status < 0)
    {
        kill(game, SIGKILL);
        waitpid(game, nullptr, 0);
    }
    EXPECT_EQ(status, 0);
    std::string log = testkit::ReadFile(LogPath());
    EXPECT_EQ(log.find("<POPUP>"), std::string::npos) << log;
    EXPECT_EQ(log.find("Splash started"), std::string::npos) << log;
}
