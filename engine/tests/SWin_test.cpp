#include "SWin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngDebug.h"
#include "PlatDialogs.h"
#include "Testkit.h"

namespace
{
struct Calls
{
    std::vector<std::string> log;
};

void OnClick(SWin *window, void *user)
{
    ((Calls *)user)->log.push_back("click");
}
void OnChange(SWin *window, int selection, void *user)
{
    ((Calls *)user)->log.push_back("change " + std::to_string(selection));
}
void OnCommand(SWin *window, int command, void *user)
{
    ((Calls *)user)->log.push_back("command " + std::to_string(command));
}
} // namespace

// Headless: the work area is 1280 x 1024 at a screen scale of 1.
class SWinTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        PlatDialogsForceHeadless(true);
    }
    SWinCreateInfo Info(int x, int y, int width, int height)
    {
        return {"Updating", x, y, width, height, 0.94f, 0.94f, 0.94f, nullptr, 0};
    }
};

TEST_F(SWinTest, WindowPlacementInsideTheWorkArea)
{
    struct Row
    {
        int x, y, width, height;
        float placedX, placedY, placedWidth, placedHeight;
    } rows[] = {
        {-1, -1, 400, 90, 440, 467, 400, 90},     // centred
        {10, 20, 400, 90, 10, 20, 400, 90},       // as asked
        {-1, 5, 2000, 90, 0, 467, 1280, 90},      // too wide: reduced; x = -1 centres it
        {1200, 1000, 400, 90, 880, 934, 400, 90}, // pushed back inside
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.x << "," << row.y << " " << row.width << "x" << row.height);
        SWin window;
        SWinCreateInfo info = Info(row.x, row.y, row.width, row.height);
        ASSERT_TRUE(window.CreateMainWindow(&info));
        EXPECT_FLOAT_EQ(window.GetWidth(), row.placedWidth);
        EXPECT_FLOAT_EQ(window.GetHeight(), row.placedHeight);
        EXPECT_FLOAT_EQ(window.GetX(), row.placedX);
        EXPECT_FLOAT_EQ(window.GetY(), row.placedY);
    }
}

TEST_F(SWinTest, CreationRefusals)
{
    SWin window;
    EXPECT_FALSE(window.CreateMainWindow(nullptr));
    EXPECT_TRUE(LogHas("No info specified"));
    EXPECT_EQ(window.AddButtonToWindow(SWIN_LABEL, 0, 0, 10, 10, "x"), -1);
    EXPECT_TRUE(LogHas("No window"));
    SWinCreateInfo info = Info(-1, -1, 400, 90);
    ASSERT_TRUE(window.CreateMainWindow(&info));
    EXPECT_FALSE(window.CreateMainWindow(&info));
    EXPECT_TRUE(LogHas("Window already created"));
    DebugClearMessages();
    EXPECT_EQ(window.AddButtonToWindow(5, 0, 0, 10, 10, "x"), -1);
    EXPECT_TRUE(LogHas("Unknown button type 5"));
    EXPECT_EQ(window.GetNumButtons(), 0);
}

TEST_F(SWinTest, ControlsStayInsideTheClientArea)
{
    SWin window;
    SWinCreateInfo info = Info(-1, -1, 400, 90);
    ASSERT_TRUE(window.CreateMainWindow(&info));
    struct Row
    {
        int x, y, width, height;
        int placedX, placedY, placedWidth, placedHeight;
    } rows[] = {
        {0, 22, 400, 20, 0, 22, 400, 20},
        {-1, -1, 100, 20, 150, 35, 100, 20},   // centred
        {350, 80, 100, 20, 300, 70, 100, 20},  // moved back inside
        {0, 0, 1000, 500, 0, 0, 400, 90},      // limited to the client size
    };
    for (const Row &row : rows)
    {
        int index = window.AddButtonToWindow(SWIN_LABEL, row.x, row.y, row.width, row.height, "Checking");
        ASSERT_GE(index, 0);
        const _SWinButton *button = window.GetButton(index);
        EXPECT_EQ(button->x, row.placedX);
        EXPECT_EQ(button->y, row.placedY);
        EXPECT_EQ(button->width, row.placedWidth);
        EXPECT_EQ(button->height, row.placedHeight);
    }
}

TEST_F(SWinTest, TextsAndAlignment)
{
    SWin window;
    SWinCreateInfo info = Info(-1, -1, 640, 420);
    ASSERT_TRUE(window.CreateMainWindow(&info));
    int edit = window.AddButtonToWindow(SWIN_EDIT, 20, 20, 600, 320, "A new version\r\nis out of date.");
    int group = window.AddButtonToWindow(SWIN_RADIO_GROUP, 0, 0, 10, 10, nullptr);
    char text[64];
    ASSERT_TRUE(window.GetButtonText(edit, text, sizeof(text)));
    EXPECT_STREQ(text, "A new version\r\nis out of date.");
    EXPECT_TRUE(window.SetButtonText(edit, "Check Failed."));
    ASSERT_TRUE(window.GetButtonText(edit, text, sizeof(text)));
    EXPECT_STREQ(text, "Check Failed.");
    EXPECT_TRUE(window.SetButtonTextAlign(edit, SWIN_ALIGN_CENTRE));
    // A radio group has no control of its own; bad indices are refused.
    DebugClearMessages();
    EXPECT_FALSE(window.SetButtonText(group, "x"));
    EXPECT_TRUE(LogHas("No window"));
    EXPECT_FALSE(window.GetButtonText(7, text, sizeof(text)));
    EXPECT_FALSE(window.PushButtonSetCallback(edit, OnClick));
    EXPECT_TRUE(LogHas("Not a push button"));
}

TEST_F(SWinTest, CallbacksMirrorsAndMenuCommands)
{
    Calls calls;
    SWinMenuItem items[] = {{"Close", 900}, {nullptr, 0}, {"About", 901}};
    SWinMenu menu = {"File", items, 3};
    SWinCreateInfo info = Info(-1, -1, 640, 420);
    info.menus = &menu;
    info.menuCount = 1;
    SWin window;
    ASSERT_TRUE(window.CreateMainWindow(&info));
    window.SetUserValue(&calls);
    window.SetCommandCallback(OnCommand);
    int download = window.AddPushButtonWithCallback(20, 360, 140, 20, "Download", OnClick);
    int list = window.AddButtonToWindow(SWIN_DROP_LIST, 20, 20, 200, 20, "");
    int group = window.AddButtonToWindow(SWIN_RADIO_GROUP, 0, 0, 0, 0, nullptr);
    ASSERT_EQ(window.AddRadioButton(group, 20, 60, 100, 20, "One"), 0);
    ASSERT_EQ(window.AddRadioButton(group, 20, 80, 100, 20, "Two"), 1);
    window.AddListItem(list, "First");
    window.AddListItem(list, "Second");
    int listMirror = -1;
    uint8_t listByte = 0, radioByte = 0;
    window.SetChangeCallback(list, OnChange, &listMirror, &listByte);
    window.SetChangeCallback(group, OnChange, nullptr, &radioByte);

    PlatDialog *dialog = window.GetPlatDialog();
    PlatDialogsSimulate(dialog, window.GetButton(download)->control, PLAT_DIALOG_CLICKED, 0);
    PlatDialogsSimulate(dialog, window.GetButton(list)->control, PLAT_DIALOG_SELECTED, 1);
    PlatDialogsSimulate(dialog, window.GetButton(group)->radioControls[1], PLAT_DIALOG_CHECKED, 1);
    PlatDialogsSimulate(dialog, 901, PLAT_DIALOG_MENU, 0);
    EXPECT_EQ(calls.log, (std::vector<std::string>{"click", "change 1", "change 1", "command 901"}));
    EXPECT_EQ(listMirror, 1);
    EXPECT_EQ(listByte, 1);
    EXPECT_EQ(radioByte, 1);
    EXPECT_EQ(window.GetButton(group)->selected, 1);
}

TEST_F(SWinTest, EscapeClosesTheWindowAndEndsTheLoop)
{
    SWin window;
    SWinCreateInfo info = Info(-1, -1, 400, 90);
    ASSERT_TRUE(window.CreateMainWindow(&info));
    EXPECT_EQ(window.ProcessAnyWindowsMessages(), 1); // nothing waiting
    PlatDialogsSimulate(window.GetPlatDialog(), 0, PLAT_DIALOG_ESCAPE, 0);
    EXPECT_FALSE(window.IsCreated());
    EXPECT_TRUE(window.IsQuitting());
    EXPECT_EQ(window.ProcessAnyWindowsMessages(), 0);
    // Quitting the loop by a button keeps the window until it is destroyed.
    SWin second;
    ASSERT_TRUE(second.CreateMainWindow(&info));
    second.QuitWindowLoop();
    EXPECT_EQ(second.ProcessAnyWindowsMessages(), 0);
    EXPECT_TRUE(second.IsCreated());
    second.DestroyMainWindow();
    EXPECT_FALSE(second.IsCreated());
    DebugClearMessages();
    second.DestroyMainWindow();
    EXPECT_TRUE(LogHas("No window"));
}

// The window's own loop: headless, the script acts for the person; with no script Enter
// is pressed, which without a default button ends the loop with nothing clicked.
static void ClickSecond(PlatDialog *dialog, void *)
{
    PlatDialogsSimulate(dialog, 2, PLAT_DIALOG_CLICKED, 0);
}

static void QuitOnClick(SWin *window, void *user)
{
    ((Calls *)user)->log.push_back("quit");
    window->QuitWindowLoop();
}

TEST_F(SWinTest, TheWindowLoopEndsOnAQuitOrWithNobodyThere)
{
    Calls calls;
    SWinCreateInfo info = Info(-1, -1, 640, 420);
    {
        SWin window;
        ASSERT_TRUE(window.CreateMainWindow(&info));
        window.SetUserValue(&calls);
        window.AddPushButtonWithCallback(480, 360, 140, 20, "Close", QuitOnClick);
        window.AddPushButtonWithCallback(20, 360, 140, 20, "Download", QuitOnClick);
        EXPECT_TRUE(window.RunWindowLoop());
        EXPECT_TRUE(calls.log.empty());
        PlatDialogsSetScript(ClickSecond, nullptr);
        EXPECT_TRUE(window.RunWindowLoop());
        PlatDialogsSetScript(nullptr, nullptr);
        EXPECT_EQ(calls.log, std::vector<std::string>{"quit"});
        EXPECT_TRUE(window.IsCreated());
        // An ended loop stays ended.
        EXPECT_TRUE(window.RunWindowLoop());
        EXPECT_EQ(calls.log.size(), 1u);
    }
    SWin none;
    EXPECT_FALSE(none.RunWindowLoop());
}
