// Under a display: the start-up settings dialog on screen, answered with keys a person
// presses (xdotool): Enter plays, Escape ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "EngPrefFolder.h"
#include "EngResModes.h"
#include "PlatDialogs.h"
#include "Resolution.h"
#include "ResolutionDialog.h"
#include "Testkit.h"
#include "TestkitProgram.h"

namespace
{
// A person at the keyboard: presses `key` in the window titled `title` every half second
// until told to stop (a press can miss while the window is still being mapped).
class Person
{
public:
    Person(const std::string &title, const std::string &key)
        : thread([this, title, key] {
              std::string press = "for id in $(xdotool search --name '^" + title + "$'); do xdotool key --window $id " +
                                  key + "; done >/dev/null 2>&1";
              for (int turn = 0; turn < 60 && !done; turn++)
              {
                  usleep(500000);
                  if (!done && system(press.c_str()) != 0)
                      fprintf(stderr, "xdotool failed\n");
              }
          })
    {
    }
    ~Person()
    {
        done = true;
        thread.join();
    }

private:
    std::atomic<bool> done{false};
    std::thread thread;
};
} // namespace

class ResolutionDialogDisplayTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        PlatDialogsForceHeadless(false);
        EngMainSetApplication(testkit::TestApplication());
        PrefFolderSetup("Plinx", false, nullptr, false);
        ResolutionSetup(2, 0, 2.42f, 2.2f, nullptr, false, true, true, false, false, nullptr, 0, 0);
        ResolutionSetDefaults();
        mode = {};
        mode.width = 1280;
        mode.height = 1024;
        mode.depth = 32;
        mode.numAntiAliasing = 1;
    }
    void TearDown() override
    {
        ResolutionShutdown();
        PrefFolderShutdown();
        EngMainSetApplication(nullptr);
        TempHomeTest::TearDown();
    }
    _EngResMode mode;
};

TEST_F(ResolutionDialogDisplayTest, EnterPlaysEscapeEnds)
{
    ASSERT_TRUE(PlatDialogsHaveDisplay()) << "needs a display (run under Xvfb)";
    struct Row
    {
        const char *key;
        signed char result;
    } rows[] = {{"Return", 1}, {"Escape", -1}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.key);
        PlatDialog *dialog = ResolutionDialogCreate(&mode, 1, &mode);
        ASSERT_NE(dialog, nullptr);
        signed char result;
        {
            Person person("Plinx! Settings", row.key);
            result = ResolutionDialogRunModal(dialog);
        }
        EXPECT_EQ(result, row.result);
        ResolutionDialogDestroy(dialog);
    }
    EXPECT_TRUE(boxes->calls.empty());
}
