// The credits screen and the log viewer headless: where their buttons lead, the pages
// opened through the browser service, and the log as lines on the clipboard.
#include <cstdio>
#include <string>
#include <vector>

#include "Credits.h"
#include "EngClipboard.h"
#include "EngDebug.h"
#include "Log.h"
#include "Resolution.h"
#include "ScreensFixture.h"
#include "ScreensOnline.h"

namespace
{

struct OpenedPage
{
    std::string url;
    bool exitFirstFullScreen, exitFirstWindowed, asked;
};
std::vector<OpenedPage> &Opened()
{
    static std::vector<OpenedPage> opened;
    return opened;
}
void RecordPage(MWin *, const char *, const char *url, bool askFullScreen, bool askWindowed, bool exitFirstFullScreen,
                bool exitFirstWindowed)
{
    Opened().push_back({url, exitFirstFullScreen, exitFirstWindowed, askFullScreen || askWindowed});
}

const char *Pages(int page)
{
    return page == 1 ? "https://home.test/" : page == 2 ? "https://home.test/forum/" : nullptr;
}

std::string &Clipboard()
{
    static std::string text;
    return text;
}
bool &ClipboardWorks()
{
    static bool works = true;
    return works;
}
const _EngClipboardFunctions kClipboard = {
    [](const char *text) {
        if (!ClipboardWorks())
            return false;
        Clipboard() = text;
        return true;
    },
    [](char *out, int32_t size) { return false; }};

class CreditsTest : public screenstest::ScreensFixture
{
protected:
    void SetUp() override
    {
        ScreensFixture::SetUp();
        ResolutionShutdown();
        ResolutionSetup(2, 0, 2.42f, 2.2f, Pages, false, true, true, false, false, nullptr, 0, 0);
        ScreensSetPageOpener(RecordPage);
        EngClipboardSetFunctions(&kClipboard);
        Opened().clear();
        Clipboard().clear();
        ClipboardWorks() = true;
    }

    void TearDown() override
    {
        ScreensSetPageOpener(nullptr);
        EngClipboardSetFunctions(nullptr);
        ScreensFixture::TearDown();
    }

    void Open(ScreenId id)
    {
        ASSERT_TRUE(registry->GotoScreen(id, nullptr));
        ASSERT_EQ(registry->GetCurrentScreen(), id);
    }

    void Press(MWinButton *button)
    {
        ASSERT_NE(button, nullptr);
        _Dimension area = *button->GetScreenAreaP();
        Click(area.x + area.w * 0.5f, area.y + area.h * 0.5f);
        registry->Tick();
    }

    // The popup's text, "" when none is open.
    std::string PopupText()
    {
        return mwin->IsPopupOn() ? PopupMessage() : std::string();
    }
    std::string PopupMessage()
    {
        MWinCollection *popup = mwin->GetDesktop()->GetCollectionFromID(MWIN_POPUP_COLLECTION_ID, false);
        std::string all;
        for (MWinWindow *window = popup ? popup->GetFirstWindow() : nullptr; window; window = window->GetNext())
            for (MWinButton *button = window->GetFirstButton(); button; button = button->GetNext())
                if (button->HasText())
                    all += std::string(button->GetTextP()) + "|";
        return all;
    }

    // Replaces the log file by `lines` (each ending in a line feed).
    void WriteLog(const std::vector<std::string> &lines)
    {
        FILE *file = fopen(DebugGetLogFilename(), "wb");
        ASSERT_NE(file, nullptr);
        for (const std::string &line : lines)
            fprintf(file, "%s\n", line.c_str());
        fclose(file);
    }

    LogCC *Viewer() { return registry->GetLogCC(); }
};

TEST_F(CreditsTest, ShowsTheVersionAndEscapeGoesBack)
{
    Open(plinx_screen_credits);
    EXPECT_STREQ(CreditsGetWidget(CREDITS_VERSION)->GetTextP(), "Version 2.42");
    ASSERT_TRUE(Key(ENG_VK_ESCAPE));
    registry->Tick();
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select);
}

TEST_F(CreditsTest, ForumAndHomePageGoBackFirstThenOpenThroughTheBrowserAfterExitInFullScreen)
{
    struct
    {
        int widget;
        const char *url;
    } rows[] = {{CREDITS_FORUMS, "https://home.test/forum/"}, {CREDITS_HOME_PAGE, "https://home.test/"}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.url);
        Opened().clear();
        Open(plinx_screen_credits);
        Press(CreditsGetWidget(row.widget));
        EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select);
        ASSERT_EQ(Opened().size(), 1u);
        EXPECT_EQ(Opened()[0].url, row.url);
        EXPECT_TRUE(Opened()[0].exitFirstFullScreen);
        EXPECT_FALSE(Opened()[0].exitFirstWindowed);
        EXPECT_FALSE(Opened()[0].asked);
    }
}

TEST_F(CreditsTest, LogsLeadsToTheLogViewerWhoseBackReturns)
{
    Open(plinx_screen_credits);
    Press(CreditsGetWidget(CREDITS_LOGS));
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_logs);
    Press(LogGetWidget(LOG_NUM_WIDGETS));
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_credits);
    EXPECT_EQ(Viewer()->GetNumLines(), 0);
}

TEST_F(CreditsTest, TheLogLoadsAsNonEmptyLinesWithBarsShownAsArrows)
{
    WriteLog({"1.0 | first | line", "", "2.0 | second"});
    Open(plinx_screen_logs);
    ASSERT_EQ(Viewer()->GetNumLines(), 2);
    EXPECT_STREQ(Viewer()->GetLine(0), "1.0 > first > line");
    EXPECT_STREQ(Viewer()->GetLine(1), "2.0 > second");
}

TEST_F(CreditsTest, AVeryLongLogKeepsItsNewestLines)
{
    struct
    {
        int written, shown;
        const char *first;
    } rows[] = {{20000, 20000, "line 0"}, {20001, 5001, "(Entries Truncated)"}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.written);
        std::vector<std::string> lines;
        for (int i = 0; i < row.written; i++)
            lines.push_back("line " + std::to_string(i));
        WriteLog(lines);
        Open(plinx_screen_logs);
        ASSERT_EQ(Viewer()->GetNumLines(), row.shown);
        EXPECT_STREQ(Viewer()->GetLine(0), row.first);
        EXPECT_EQ(std::string(Viewer()->GetLine(row.shown - 1)), "line " + std::to_string(row.written - 1));
        // The panel opens on the newest line.
        EXPECT_GT(LogGetWidget(LOG_PANEL)->PanelGetScrollPos(), 0.0f);
        registry->GotoScreen(plinx_screen_select, nullptr);
    }
}

TEST_F(CreditsTest, CopyAllPutsAHeaderAndEveryLineOnTheClipboard)
{
    WriteLog({"alpha", "beta | gamma"});
    Open(plinx_screen_logs);
    Press(LogGetWidget(LOG_COPY_ALL));
    EXPECT_EQ(Clipboard().rfind("Log entries for ", 0), 0u) << Clipboard();
    EXPECT_NE(Clipboard().find("version 2.420 [Linux, "), std::string::npos) << Clipboard();
    EXPECT_NE(Clipboard().find("]\n\nalpha\nbeta > gamma\n"), std::string::npos) << Clipboard();
    EXPECT_NE(PopupText().find("Copy successful."), std::string::npos) << PopupText();
}

TEST_F(CreditsTest, CopySelectedTakesOnlyTheChosenLinesAndSaysWhenThereAreNone)
{
    WriteLog({"one", "two", "three"});
    Open(plinx_screen_logs);
    Press(LogGetWidget(LOG_COPY_SEL));
    EXPECT_NE(PopupText().find("You have not selected any lines."), std::string::npos) << PopupText();
    EXPECT_TRUE(Clipboard().empty());
    mwin->PopupClose();
    registry->Tick();
    // Control-clicks choose the first and the last line.
    MWinButton *panel = LogGetWidget(LOG_PANEL);
    EngKeyStates[17] = 2;
    panel->PanelSetPos(0, 1, 0);
    panel->PanelSetPos(2, 1, 0);
    EngKeyStates[17] = 0;
    ASSERT_EQ(panel->PanelGetNumMultiSelected(), 2);
    Press(LogGetWidget(LOG_COPY_SEL));
    EXPECT_EQ(Clipboard().rfind("Selected log entries for ", 0), 0u) << Clipboard();
    EXPECT_NE(Clipboard().find("]\n\none\nthree\n"), std::string::npos) << Clipboard();
    EXPECT_EQ(Clipboard().find("two"), std::string::npos) << Clipboard();
}

TEST_F(CreditsTest, CopyingAnEmptyLogOnlySaysSoAndAFailingClipboardIsReported)
{
    WriteLog({});
    Open(plinx_screen_logs);
    EXPECT_STREQ(LogGetWidget(LOG_PANEL)->PanelGetString(0), "No log entries.");
    Press(LogGetWidget(LOG_COPY_ALL));
    EXPECT_NE(PopupText().find("There are no log entries to copy."), std::string::npos) << PopupText();
    EXPECT_TRUE(Clipboard().empty());
    mwin->PopupClose();
    registry->Tick();

    WriteLog({"some line"});
    registry->GotoScreen(plinx_screen_select, nullptr);
    Open(plinx_screen_logs);
    ClipboardWorks() = false;
    Press(LogGetWidget(LOG_COPY_ALL));
    EXPECT_NE(PopupText().find("A problem occurred copying the log to the clipboard."), std::string::npos)
        << PopupText();
}

TEST_F(CreditsTest, ClearShowsOnlyWhatCameAfterItAndKeepsTheFile)
{
    WriteLog({"old one", "old two"});
    Open(plinx_screen_logs);
    ASSERT_EQ(Viewer()->GetNumLines(), 2);
    Press(LogGetWidget(LOG_CLEAR));
    for (int i = 0; i < Viewer()->GetNumLines(); i++)
        EXPECT_EQ(std::string(Viewer()->GetLine(i)).find("old"), std::string::npos) << Viewer()->GetLine(i);
    EXPECT_NE(testkit::ReadFile(DebugGetLogFilename()).find("old two"), std::string::npos);
}

} // namespace
