// The version check's windows on the display, against the loopback server: "Checking for
// updates ...", the answer with its Download and Close buttons, and the download's
// progress window, each clicked as a person would (xdotool). The screenshots stay in the
// build folder (updater_*.png) for a person to look at.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "../OnlineFixture.h"
#include "PlatDialogs.h"
#include "Updater.h"

namespace
{

using testkit::Shell;

const char kCheckPath[] = "/cgi-bin/common/updater/CheckVersionV2.cgi";

class UpdaterDisplayTest : public OnlineTest
{
protected:
    void SetUp() override
    {
        OnlineTest::SetUp();
        if (!PlatDialogsHaveDisplay())
            GTEST_SKIP() << "no display";
        mkdir((Home() + "/Desktop").c_str(), 0700);
    }
    static void Shoot(const std::string &name)
    {
        Shell("import -window root '" + std::string(PLINX_BUILD_DIR) + "/updater_" + name + ".png' 2>/dev/null");
    }
    // Waits for a window of that title and answers its place ("" when it did not come).
    static std::string WaitFor(const std::string &title, int seconds)
    {
        return Shell("timeout " + std::to_string(seconds) + " xdotool search --sync --name '^" + title +
                     "$' getwindowgeometry --shell 2>/dev/null");
    }
    // Clicks at x, y of the window's client area.
    static void ClickIn(const std::string &title, int x, int y)
    {
        Shell("xdotool search --name '^" + title + "$' mousemove --window %1 " + std::to_string(x) + " " +
              std::to_string(y) + " sleep 0.3 click 1 >/dev/null 2>&1");
    }
};

TEST_F(UpdaterDisplayTest, TheCheckAndTheDownloadShowTheirWindows)
{
    std::string installer(300 * 1024, 'i');
    std::string link = server.BaseUrl() + "/downloads/PlinxSetup.tar.gz";
    server.SetResponder([link, installer](const testkit::HttpRequest &request) {
        if (request.target.rfind(kCheckPath, 0) == 0)
            return testkit::HttpReply::Ok("Plinx 2.42 is out of date.\n\nVersion 2.50 brings new puzzles.#DL:<" +
                                          link + ">")
                .After(2.0);
        return testkit::HttpReply::Cut(installer, 0).After(30.0);
    });
    std::atomic<bool> checking{false}, answered{false}, progress{false};
    std::thread person([&] {
        if (!WaitFor("Updating", 10).empty())
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            Shoot("checking");
            checking = true;
        }
        // The answer replaces the first window; its Download button sits at 20, 360.
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        if (!WaitFor("Updating", 10).empty())
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            Shoot("answer");
            answered = true;
            ClickIn("Updating", 90, 370);
        }
        if (!WaitFor("Downloading", 10).empty())
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
            Shoot("progress");
            progress = true;
            // Cancel at 360, 20.
            ClickIn("Downloading", 400, 30);
        }
    });
    EXPECT_FALSE(UpdaterCheckForNewVersion(UPDATER_PROGRAM_PLINX, 2.42f, UPDATER_PROGRAM_TYPE_FULL));
    person.join();
    EXPECT_TRUE(checking);
    EXPECT_TRUE(answered);
    EXPECT_TRUE(progress);
    EXPECT_TRUE(LogHas("Download cancelled.")) << LogText();
    EXPECT_FALSE(testkit::FileExists(UserFolder() + "/Download.part"));
    EXPECT_FALSE(testkit::FileExists(Home() + "/Desktop/PlinxSetup.tar.gz"));
}

} // namespace
