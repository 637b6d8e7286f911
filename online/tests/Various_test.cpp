#include "Various.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <string>
#include <vector>

#include "EngClipboard.h"
#include "EngMain.h"
#include "EngWindow.h"
#include "MWin.h"
#include "PlatShell.h"
#include "TestkitProgram.h"

namespace
{

// Every question asked, answered with `answer`; every notice shown.
struct GuiRecorder
{
    std::vector<std::string> questions;
    std::vector<std::string> notices;
    bool answer = true;
};
GuiRecorder *s_gui;

bool RecordAsk(MWin *, const char *text, void (*answer)(bool yes))
{
    s_gui->questions.push_back(text);
    answer(s_gui->answer);
    return true;
}

void RecordNotice(MWin *, const char *text)
{
    s_gui->notices.push_back(text);
}

const _VariousGuiOps kRecordingOps = {RecordAsk, RecordNotice};

class VariousTest : public testkit::ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        s_gui = &gui;
        VariousSetGuiOps(&kRecordingOps);
        VariousSetAfterExitPause(0);
        savedWindowed = EngScreenSettings.windowed;
        EngScreenSettings.windowed = 1;
    }
    void TearDown() override
    {
        EngScreenSettings.windowed = savedWindowed;
        VariousSetGuiOps(nullptr);
        VariousSetAfterExitPause(10);
        s_gui = nullptr;
        ProgramTest::TearDown();
    }
    // The GUI root, not set up: it is off and shows no popup.
    MWin *Root() { return &mwin_object; }

    GuiRecorder gui;
    uint8_t savedWindowed = 1;
};

TEST_F(VariousTest, APageOpensAtOnceOrAfterTheAnswerYes)
{
    testkit::ShellOpenRecorder shell;
    VariousGoOnline(nullptr, nullptr, "https://www.fernbrooks.example/", true, true, false, false);
    ASSERT_EQ(shell.opened.size(), 1u) << "no GUI root: nobody to ask";
    EXPECT_EQ(shell.opened[0], "https://www.fernbrooks.example/");

    struct Case
    {
        const char *question;
        bool exitFirstFullScreen;
        bool fullScreen;
        bool answer;
        const char *asked;
        size_t opened;
    } cases[] = {
        {nullptr, false, false, true, "Go Online ?", 2},
        {"See the forum ?", false, false, true, "See the forum ?", 3},
        {nullptr, false, false, false, "Go Online ?", 3},
    };
    for (const Case &row : cases)
    {
        SCOPED_TRACE(row.asked);
        gui.questions.clear();
        gui.answer = row.answer;
        VariousGoOnline(Root(), row.question, "https://a.example/", false, true, false, false);
        ASSERT_EQ(gui.questions.size(), 1u);
        EXPECT_EQ(gui.questions[0], row.asked);
        EXPECT_EQ(shell.opened.size(), row.opened);
    }
}

TEST_F(VariousTest, LongAddressesAndEmptyOnesAreRefused)
{
    testkit::ShellOpenRecorder shell;
    std::string longest = "https://a.example/" + std::string(506 - 18, 'p');
    VariousGoOnline(nullptr, nullptr, (longest + "q").c_str(), false, false, false, false);
    EXPECT_TRUE(LogHas("Path too long"));
    EXPECT_TRUE(shell.opened.empty());
    VariousGoOnline(nullptr, nullptr, longest.c_str(), false, false, false, false);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], longest);
    EXPECT_FALSE(VariousGoOnlineNow(""));
    EXPECT_TRUE(LogHas("No url"));
}

TEST_F(VariousTest, ExitFirstEndsTheProgramAndOpensThePageAfterIt)
{
    testkit::ShellOpenRecorder shell;
    testkit::RecordingProgram program;
    VariousGoOnline(Root(), nullptr, "https://b.example/", false, true, false, true);
    ASSERT_EQ(gui.questions.size(), 1u);
    EXPECT_EQ(gui.questions[0], "Exit Program and Go Online ?");
    EXPECT_TRUE(program.IsQuitting());
    EXPECT_TRUE(shell.opened.empty()) << "not while the program runs";
    program.Shutdown(true);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], "https://b.example/");
}

// The real opener: xdg-open from PATH gets the address as its one argument, shell
// characters and all, and no shell ever sees it.
TEST_F(VariousTest, TheShellStartsXdgOpenWithTheAddressAsItsOneArgument)
{
    const std::string bin = Home() + "/bin";
    const std::string record = Home() + "/xdg-open.txt";
    ASSERT_EQ(mkdir(bin.c_str(), 0700), 0);
    testkit::WriteFile(bin + "/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"" + record + "\"\n");
    ASSERT_EQ(chmod((bin + "/xdg-open").c_str(), 0700), 0);
    const char *oldPath = getenv("PATH");
    std::string savedPath = oldPath ? oldPath : "";
    setenv("PATH", (bin + ":" + savedPath).c_str(), 1);
    PlatShellSetFunctions(nullptr);

    const std::string url = "https://c.example/a b;touch $HOME/owned&x=`id`";
    VariousGoOnline(nullptr, nullptr, url.c_str(), false, false, false, false);
    setenv("PATH", savedPath.c_str(), 1);
    // The opener runs on its own; its record is complete once it has both lines.
    std::string recorded;
    for (int i = 0; i < 1000 && std::count(recorded.begin(), recorded.end(), '\n') < 2; i++)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        recorded = testkit::ReadFile(record);
    }
    EXPECT_EQ(recorded, "1\n" + url + "\n");
    EXPECT_FALSE(testkit::FileExists(Home() + "/owned"));
}

TEST_F(VariousTest, TheClipboardNeedsAMainWindowAndRoomForAText)
{
    char buffer[8] = "x";
    EXPECT_FALSE(VariousCopyClipboardFromString(nullptr));
    EXPECT_FALSE(VariousPasteClipboardToString(buffer, 1));
    EXPECT_TRUE(LogHas("Invalid parameters"));
    EXPECT_FALSE(VariousCopyClipboardFromString("text"));
    EXPECT_FALSE(VariousPasteClipboardToString(buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "");
}

} // namespace
