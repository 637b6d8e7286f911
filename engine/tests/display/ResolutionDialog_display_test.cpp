// Under a display: the start-up settings dialog on screen, answered with keys a person
// presses (xdotool): Enter plays, Escape ends.
#include <gtest/gtest.h>
#include <unistd.h>

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

namespace
{
// Presses a key in the first window titled `title`, from another thread, once it is there.
std::thread PressWhenShown(const std::string &title, const std::string &key)
{
    return std::thread([title, key] {
        std::string command = "xdotool search --sync --name '^" + title + "$' windowfocus --sync key " + key;
        if (system(("timeout 20 " + command + " >/dev/null 2>&1").c_str()) != 0)
            fprintf(stderr, "xdotool could not press %s\n", key.c_str());
    });
}
} // namespace

class ResolutionDialogDisplayTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        PlatDialogsForceHeadless(false);
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
        std::thread person = PressWhenShown("Plinx!", row.key);
        EXPECT_EQ(ResolutionDialogRunModal(dialog), row.result);
        person.join();
        ResolutionDialogDestroy(dialog);
    }
    EXPECT_TRUE(boxes->calls.empty());
}
