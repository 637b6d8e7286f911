// The real launcher on the display: it starts the game from another folder and ends; with
// the check forced to fail its dialog shows, Ok starts nothing and "Ignore ..." starts the
// game; and the installed game (cmake --install into a temporary prefix) runs from its
// launcher with its installed data and a valid desktop entry.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "Testkit.h"
#include "TestkitProgram.h"

namespace
{

using testkit::Shell;

std::string ProcLink(pid_t pid, const char *what)
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/" + what, error).string();
}

class LauncherDisplayTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // The game outlives the launcher that started it: as the sub-reaper, this test
        // becomes its parent and can end and reap it.
        ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
        logPath = home.Path() + "/.local/share/Fernbrooks/Plinx/LogFile.txt";
    }

    void TearDown() override
    {
        if (game > 0)
        {
            kill(game, SIGTERM);
            if (WaitForExit(game, 20) < 0)
            {
                kill(game, SIGKILL);
                waitpid(game, nullptr, 0);
            }
        }
        if (launcher > 0)
        {
            kill(launcher, SIGKILL);
            waitpid(launcher, nullptr, 0);
        }
        prctl(PR_SET_CHILD_SUBREAPER, 0);
    }

    // Starts a launcher from the root folder with the test's HOME; `missing` forces the
    // check to fail ("" runs the real check).
    void StartLauncher(const std::string &path, const std::string &missing)
    {
        testkit::WriteWindowedSettings(home.Path(), false);
        launcher = fork();
        if (launcher == 0)
        {
            if (chdir("/") != 0)
                _exit(126);
            if (!missing.empty())
                setenv("PLINX_LAUNCHER_TEST_MISSING", missing.c_str(), 1);
            execl(path.c_str(), path.c_str(), (char *)nullptr);
            _exit(127);
        }
    }

    // The exit status, or -1 when the process still runs after `seconds`.
    static int WaitForExit(pid_t pid, double seconds)
    {
        for (int waited = 0; waited < seconds * 100; waited++)
        {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    int WaitForLauncher()
    {
        int status = WaitForExit(launcher, 60);
        if (status >= 0)
            launcher = 0;
        return status;
    }

    // The game's window appears: its process (a child of this test now) is kept.
    bool WaitForGameWindow()
    {
        std::string pid = Shell("timeout 60 xdotool search --sync --name '^Plinx!$' getwindowpid %1 2>/dev/null");
        game = (pid_t)atoi(pid.c_str());
        return game > 0;
    }

    bool WaitForLog(const std::string &text)
    {
        for (int waited = 0; waited < 600; waited++)
        {
            if (testkit::ReadFile(logPath).find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // Waits for the check's dialog, keeps a screenshot of it and presses `key` in it.
    bool PressInDialog(const std::string &key, const std::string &screenshot)
    {
        std::string window = Shell("timeout 30 xdotool search --sync --name '^OpenGL Check$' 2>/dev/null | head -1");
        if (atol(window.c_str()) <= 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        if (!screenshot.empty())
            Shell("import -window root '" + screenshot + "' 2>/dev/null");
        Shell("xdotool key --window " + std::to_string(atol(window.c_str())) + " " + key + " 2>/dev/null");
        return true;
    }

    testkit::TempDir home;
    std::string logPath;
    pid_t launcher = 0;
    pid_t game = 0;
};

} // namespace

TEST_F(LauncherDisplayTest, StartsTheGameFromItsFolderAndEnds)
{
    StartLauncher(PLINX_LAUNCHER_EXECUTABLE, "");
    EXPECT_EQ(WaitForLauncher(), 0);
    ASSERT_TRUE(WaitForGameWindow());
    EXPECT_TRUE(WaitForLog("Splash started")) << testkit::ReadFile(logPath);
    EXPECT_EQ(ProcLink(game, "exe"), std::filesystem::canonical(PLINX_GAME_EXECUTABLE).string());
    EXPECT_EQ(ProcLink(game, "cwd"), std::filesystem::canonical(PLINX_BUILD_DIR).string());
    EXPECT_EQ(testkit::ReadFile("/proc/" + std::to_string(game) + "/cmdline"),
              std::string(PLINX_GAME_EXECUTABLE) + std::string(1, '\0'));
}

TEST_F(LauncherDisplayTest, FailedCheckShowsTheDialog)
{
    // Ok closes the dialog and starts nothing.
    StartLauncher(PLINX_LAUNCHER_EXECUTABLE, "gl33");
    ASSERT_TRUE(PressInDialog("Return", std::string(PLINX_BUILD_DIR) + "/launcher_dialog.png"));
    EXPECT_EQ(WaitForLauncher(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no process was started";
    EXPECT_FALSE(testkit::FileExists(logPath));

    // "Ignore ..." (Alt+I) starts the game.
    StartLauncher(PLINX_LAUNCHER_EXECUTABLE, "sdl");
    ASSERT_TRUE(PressInDialog("alt+i", ""));
    EXPECT_EQ(WaitForLauncher(), 0);
    ASSERT_TRUE(WaitForGameWindow());
    EXPECT_TRUE(WaitForLog("Splash started")) << testkit::ReadFile(logPath);
}

TEST_F(LauncherDisplayTest, MissingGameIsReported)
{
    // A launcher copied with its dialogs module into a folder without the game: its message
    // box names what it could not start.
    testkit::TempDir alone;
    std::filesystem::path built(PLINX_LAUNCHER_EXECUTABLE);
    std::filesystem::copy_file(built, alone.File("Plinx_Launcher"));
    std::filesystem::copy_file(built.parent_path() / "libplat_dialogs_gtk.so", alone.File("libplat_dialogs_gtk.so"));
    StartLauncher(alone.File("Plinx_Launcher"), "");
    std::string window = Shell("timeout 60 xdotool search --sync --name '^Plinx!$' 2>/dev/null | head -1");
    ASSERT_GT(atol(window.c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Shell("import -window root '" + std::string(PLINX_BUILD_DIR) + "/launcher_missing_game.png' 2>/dev/null");
    Shell("xdotool key --window " + std::to_string(atol(window.c_str())) + " Return 2>/dev/null");
    EXPECT_EQ(WaitForLauncher(), 1);
}

TEST_F(LauncherDisplayTest, InstalledGameRunsFromItsLauncher)
{
    // A prefix with a space in it: the desktop entry quotes the launcher's path.
    testkit::TempDir temporary;
    const std::string prefix = temporary.File("Plinx Games");
    std::string install = std::string("'") + PLINX_CMAKE_COMMAND + "' --install '" + PLINX_BUILD_DIR + "' --prefix '" +
                          prefix + "' >/dev/null 2>&1; echo $?";
    ASSERT_EQ(Shell(install), "0\n");
    const std::string bin = prefix + "/bin";
    const std::string gameFolder = prefix + "/share/plinx";
    for (const std::string &file :
         {bin + "/Plinx_Launcher", bin + "/Plinx_DX9", gameFolder + "/Data/VeraBd.ttf",
          gameFolder + "/Data/Common/CommonTexts/English.txt", gameFolder + "/Data/Help/GraphicsRuntime.html",
          prefix + "/share/icons/hicolor/16x16/apps/plinx.png",
          prefix + "/share/icons/hicolor/256x256/apps/plinx.png"})
        EXPECT_TRUE(testkit::FileExists(file)) << file;
    EXPECT_FALSE(testkit::FileExists(gameFolder + "/Data/.datagen.stamp"));

    const std::string entry = prefix + "/share/applications/plinx.desktop";
    EXPECT_NE(testkit::ReadFile(entry).find("\nExec=\"" + bin + "/Plinx_Launcher\"\n"), std::string::npos)
        << testkit::ReadFile(entry);
    EXPECT_EQ(Shell("desktop-file-validate '" + entry + "' 2>&1; echo $?"), "0\n");

    StartLauncher(bin + "/Plinx_Launcher", "");
    EXPECT_EQ(WaitForLauncher(), 0);
    ASSERT_TRUE(WaitForGameWindow());
    EXPECT_TRUE(WaitForLog("Splash started")) << testkit::ReadFile(logPath);
    // The installed game, running from its installed data (not the build tree's).
    EXPECT_EQ(ProcLink(game, "exe"), std::filesystem::canonical(bin + "/Plinx_DX9").string());
    EXPECT_EQ(ProcLink(game, "cwd"), std::filesystem::canonical(gameFolder).string());
}
