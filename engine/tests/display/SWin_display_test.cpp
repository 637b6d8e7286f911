// Under a display: a real SWin window opens and closes on Escape pressed by a person
// (xdotool types it).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "PlatDialogs.h"
#include "SWin.h"
#include "Testkit.h"

namespace
{
using testkit::Shell;

void PumpFor(SWin &window, int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 5)
    {
        while (window.ProcessAnyWindowsMessages() == 2)
        {
        }
        usleep(5000);
    }
}
} // namespace

class SWinDisplayTest : public testkit::TempHomeTest
{
};

TEST_F(SWinDisplayTest, OpensAndClosesOnEscape)
{
    PlatDialogsForceHeadless(false);
    ASSERT_TRUE(PlatDialogsHaveDisplay()) << "needs a display (run under Xvfb)";
    SWin window;
    SWinCreateInfo info = {"SWin Escape Test", -1, -1, 640, 420, 0.94f, 0.94f, 0.94f, nullptr, 0};
    ASSERT_TRUE(window.CreateMainWindow(&info));
    int label = window.AddButtonToWindow(SWIN_LABEL, 0, 22, 640, 20, "Checking for updates ...");
    window.SetButtonTextAlign(label, SWIN_ALIGN_CENTRE);
    window.AddButtonToWindow(SWIN_EDIT, 20, 60, 600, 280, "Version 2.43 is out.\nThis version is out of date.");
    window.AddButtonToWindow(SWIN_PUSH_BUTTON, 480, 360, 140, 20, "Close");
    PumpFor(window, 300);

    std::string id = Shell("xdotool search --name '^SWin Escape Test$' | head -1");
    ASSERT_FALSE(id.empty()) << "the window is not on the display";
    id.erase(id.find_last_not_of("\n") + 1);
    ASSERT_EQ(system(("xdotool key --window " + id + " Escape").c_str()), 0);

    int result = 2;
    for (int turn = 0; turn < 400 && result != 0; turn++)
    {
        result = window.ProcessAnyWindowsMessages();
        if (result == 1)
            usleep(5000);
    }
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(window.IsCreated());
    EXPECT_TRUE(Shell("xdotool search --name '^SWin Escape Test$'").empty());
}
