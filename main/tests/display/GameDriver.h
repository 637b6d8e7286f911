// What the display tests of the real Plinx_DX9 share: starting it with its own HOME,
// following its log, driving its window with xdotool in the 640 x 480 design space,
// screenshots (kept in the build folder as e2e_*.png for a person to look at) and the
// walk of a first start up to the main menu.
#pragma once
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Testkit.h"

extern char **environ;

namespace displaytest
{

// A screenshot as 8-bit RGB.
struct Shot
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    // Mean brightness (0-255) of a rectangle.
    double Mean(int x, int y, int w, int h) const
    {
        double sum = 0.0;
        int count = 0;
        for (int j = y; j < y + h && j < height; j++)
            for (int i = x; i < x + w && i < width; i++, count++)
            {
                const unsigned char *p = &rgb[((size_t)j * width + i) * 3];
                sum += (p[0] + p[1] + p[2]) / 3.0;
            }
        return count ? sum / count : 0.0;
    }

    // How many distinct colours (reduced to 4 bits a channel) a rectangle holds.
    int Colours(int x, int y, int w, int h) const
    {
        std::vector<bool> seen(4096);
        int count = 0;
        for (int j = y; j < y + h && j < height; j++)
            for (int i = x; i < x + w && i < width; i++)
            {
                const unsigned char *p = &rgb[((size_t)j * width + i) * 3];
                int key = (p[0] >> 4) << 8 | (p[1] >> 4) << 4 | (p[2] >> 4);
                if (!seen[key])
                {
                    seen[key] = true;
                    count++;
                }
            }
        return count;
    }
};

using testkit::Shell;

class GameDriverTest : public testing::Test
{
protected:
    void SetUp() override
    {
        userFolder = home.Path() + "/.local/share/Fernbrooks/Plinx";
        logPath = userFolder + "/LogFile.txt";
    }

    void TearDown() override
    {
        if (pid > 0)
        {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // Where the game finds its online services: a port where nothing listens, unless a
    // test points it at its own loopback server.
    std::string onlineBase = "http://127.0.0.1:1";

    bool Start()
    {
        std::vector<std::string> environment;
        for (char **entry = environ; *entry; entry++)
        {
            std::string text = *entry;
            if (text.rfind("HOME=", 0) != 0 && text.rfind("XDG_DATA_HOME=", 0) != 0 &&
                text.rfind("SDL_AUDIODRIVER=", 0) != 0 && text.rfind("PLINX_ONLINE_BASE_URL=", 0) != 0)
                environment.push_back(text);
        }
        environment.push_back("HOME=" + home.Path());
        // The online services stay on this machine.
        environment.push_back("PLINX_ONLINE_BASE_URL=" + onlineBase);
        environment.push_back("SDL_AUDIODRIVER=dummy");
        std::vector<char *> envp;
        for (std::string &text : environment)
            envp.push_back(text.data());
        envp.push_back(nullptr);
        char *argv[] = {(char *)PLINX_GAME_EXECUTABLE, nullptr};
        return posix_spawn(&pid, PLINX_GAME_EXECUTABLE, nullptr, nullptr, argv, envp.data()) == 0;
    }

    // The number of times `text` is in the log.
    int LogCount(const std::string &text)
    {
        std::string log = testkit::ReadFile(logPath);
        int count = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            count++;
        return count;
    }

    // Waits until the log holds `text` `times` times.
    bool WaitForLog(const std::string &text, double seconds, int times = 1)
    {
        for (int i = 0; i < seconds * 20; i++)
        {
            if (LogCount(text) >= times)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    bool WaitForWindow(const std::string &name, double seconds)
    {
        std::string command = "timeout " + std::to_string((int)seconds) + " xdotool search --sync --name '" + name +
                              "' 2>/dev/null";
        return !Shell(command).empty();
    }

    // Presses a key in the window of that name (found within `seconds`).
    bool KeyIn(const std::string &name, const std::string &key, double seconds)
    {
        if (!WaitForWindow(name, seconds))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Shell("xdotool search --name '" + name + "' key --window %1 " + key +
            " >/dev/null 2>&1");
        return true;
    }

    // The game window's place and size in screen pixels.
    bool GameWindow(int *x, int *y, int *w, int *h)
    {
        std::string text = Shell("xdotool search --name '^Plinx!$' getwindowgeometry --shell 2>/dev/null");
        int window = 0;
        return sscanf(text.c_str(), "WINDOW=%d\nX=%d\nY=%d\nWIDTH=%d\nHEIGHT=%d", &window, x, y, w, h) == 5;
    }

    // Moves the pointer to a place of the 640 x 480 design space and clicks there.
    void ClickDesign(float designX, float designY)
    {
        int x, y, w, h;
        ASSERT_TRUE(GameWindow(&x, &y, &w, &h));
        int px = (int)(designX * w / 640.0f), py = (int)(designY * h / 480.0f);
        Shell("xdotool search --name '^Plinx!$' mousemove --window %1 " + std::to_string(px) + " " +
            std::to_string(py) + " sleep 0.2 click 1 >/dev/null 2>&1");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }

    void MoveDesign(float designX, float designY)
    {
        int x, y, w, h;
        ASSERT_TRUE(GameWindow(&x, &y, &w, &h));
        Shell("xdotool search --name '^Plinx!$' mousemove --window %1 " + std::to_string((int)(designX * w / 640.0f)) +
            " " + std::to_string((int)(designY * h / 480.0f)) + " >/dev/null 2>&1");
    }

    void KeyInGame(const std::string &keys)
    {
        Shell("xdotool search --name '^Plinx!$' key --window %1 --delay 120 " + keys + " >/dev/null 2>&1");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }

    void TypeInGame(const std::string &text)
    {
        Shell("xdotool search --name '^Plinx!$' type --window %1 --delay 120 '" + text + "' >/dev/null 2>&1");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }

    // Saves the screen as e2e_<name>.png in the build folder and reads it back.
    Shot Screenshot(const std::string &name)
    {
        Shot shot;
        std::string path = std::string(PLINX_BUILD_DIR) + "/e2e_" + name + ".png";
        if (system(("import -window root '" + path + "' >/dev/null 2>&1").c_str()) != 0)
            return shot;
        // The game window's part as raw pixels.
        int x = 0, y = 0, w = 0, h = 0;
        std::string crop = GameWindow(&x, &y, &w, &h) ? " -crop " + std::to_string(w) + "x" + std::to_string(h) +
                                                            "+" + std::to_string(x) + "+" + std::to_string(y)
                                                      : "";
        std::string ppm = Shell("convert '" + path + "'" + crop + " -depth 8 ppm:- 2>/dev/null");
        int maxValue = 0, headerLength = 0;
        if (sscanf(ppm.c_str(), "P6 %d %d %d%n", &shot.width, &shot.height, &maxValue, &headerLength) != 3)
            return Shot();
        size_t size = (size_t)shot.width * shot.height * 3;
        if (ppm.size() < headerLength + 1 + size)
            return Shot();
        shot.rgb.assign(ppm.begin() + headerLength + 1, ppm.begin() + headerLength + 1 + size);
        return shot;
    }

    // Takes screenshots (kept as e2e_<name>.png) until `ready` holds for one or `seconds`
    // have passed; the last one.
    template <class Ready>
    Shot WaitForShot(const std::string &name, double seconds, Ready ready)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(seconds * 1000));
        Shot shot = Screenshot(name);
        while (!ready(shot) && std::chrono::steady_clock::now() < end)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            shot = Screenshot(name);
        }
        return shot;
    }

    // A rectangle of the design space in the screenshot's pixels.
    static void ToShot(const Shot &shot, float x, float y, float w, float h, int *out)
    {
        out[0] = (int)(x * shot.width / 640.0f);
        out[1] = (int)(y * shot.height / 480.0f);
        out[2] = (int)(w * shot.width / 640.0f);
        out[3] = (int)(h * shot.height / 480.0f);
    }

    static double MeanDesign(const Shot &shot, float x, float y, float w, float h)
    {
        int r[4];
        ToShot(shot, x, y, w, h, r);
        return shot.Mean(r[0], r[1], r[2], r[3]);
    }

    static int ColoursDesign(const Shot &shot, float x, float y, float w, float h)
    {
        int r[4];
        ToShot(shot, x, y, w, h, r);
        return shot.Colours(r[0], r[1], r[2], r[3]);
    }

    int WaitForExit(double seconds)
    {
        for (int i = 0; i < seconds * 20; i++)
        {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
            {
                pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

    // The first start with an empty HOME up to the main menu: the start-up dialog (Enter
    // plays), the splash, the players screen and a new player "Tester" with a country.
    // Screenshots are named `prefix` + step.
    void NewPlayerToMainMenu(const std::string &prefix)
    {
        // ---- First start: empty HOME.
        ASSERT_TRUE(Start());
        ASSERT_TRUE(WaitForWindow("^Plinx! Settings$", 30)) << testkit::ReadFile(logPath);
        Screenshot(prefix + "01_startup_dialog");
        ASSERT_TRUE(KeyIn("^Plinx! Settings$", "Return", 5));
        // The internet test of a first start, where the display shows its message boxes: its
        // notice, the failure (no online services) and "Try again?" answered No.
        if (KeyIn("^Internet Test", "Return", 3) && KeyIn("^Internet Test Failed", "Return", 3))
            KeyIn("^Internet Test Failed", "Escape", 3);

        ASSERT_TRUE(WaitForLog("Splash started", 30)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(3000));
        Shot splash = Screenshot(prefix + "02_splash");
        double middle = MeanDesign(splash, 250, 170, 140, 140), corner = MeanDesign(splash, 0, 0, 100, 100);
        // The maker's picture is dark green on black: its middle is some 15 levels above the
        // black round it once faded in, a little less while it still fades in.
        EXPECT_GT(middle, corner + 10.0) << "the splash picture shows in the middle";
        EXPECT_LT(corner, 10.0) << "around it the screen is black";

        ASSERT_TRUE(WaitForLog("Screen uUSR", 20)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        Shot players = Screenshot(prefix + "03_players");
        EXPECT_GT(ColoursDesign(players, 15, 430, 120, 35), 3) << "the New Player button is drawn";

        // New player: the name through its popup, a country from the country screen.
        ClickDesign(75, 447);
        ASSERT_TRUE(WaitForLog("Screen uNEW", 10)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ClickDesign(320, 217);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        KeyInGame("ctrl+a BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace");
        TypeInGame("Tester");
        Screenshot(prefix + "04_new_player_name");
        KeyInGame("Return");
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ClickDesign(320, 292);
        ASSERT_TRUE(WaitForLog("Screen mCTY", 10)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        Screenshot(prefix + "05_country");
        // The country screen: the row of Austria, then its continue button.
        ClickDesign(320, 323);
        ClickDesign(320, 443);
        ASSERT_TRUE(WaitForLog("Screen uNEW", 10, 2)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        Screenshot(prefix + "06_new_player");
        ClickDesign(320, 447);

        ASSERT_TRUE(WaitForLog("Main menu for player Tester", 15)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        Shot menu = Screenshot(prefix + "07_main_menu");
        EXPECT_GT(ColoursDesign(menu, 209, 195, 221, 51), 3) << "the ARCADE button is drawn";
        EXPECT_TRUE(testkit::FileExists(userFolder + "/Users/Tester.usr"));
        // A normal start names no texture it does not build and always has its player object.
        EXPECT_EQ(LogCount("Cannot set name if not"), 0);
        EXPECT_EQ(LogCount("No player object."), 0);
    }

    testkit::TempDir home;
    std::string userFolder, logPath;
    pid_t pid = 0;
};

} // namespace displaytest
