// Popups: each kind answered by mouse and by keys, the result arriving on the tick after
// the press with the popup gone, a popup opened from inside another's result callback,
// refusals, time-outs, and the screen below switched off and back on.
#include "GuiFixture.h"

#include <cstring>
#include <string>

namespace
{

struct Results
{
    std::vector<int> values;
    std::function<void(MWin *, char)> then;
    static Results &Get()
    {
        static Results results;
        return results;
    }
    static void Record(MWin *mwin, char value, void *user)
    {
        // The popup has gone before the caller hears of it.
        EXPECT_FALSE(mwin->IsPopupOn());
        Get().values.push_back(value);
        if (Get().then)
            Get().then(mwin, value);
    }
};

double s_now = 100.0;
double Now()
{
    return s_now;
}

class MWinPopupTest : public guitest::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Results::Get().values.clear();
        Results::Get().then = nullptr;
        host = {};
        host.getTime = Now;
        MWinSetHost(&host);
        screen = MakeWindow();
        screenButton = screen->AddButton("Below", MWIN_BUTTON_PUSH, "", "Below", 10, 10, 80, 30);
    }
    // The centre of a popup button, or of the popup's window.
    void OverPopupButton(const char *id)
    {
        MWinButton *button = mwin->PopupGetButton(id);
        ASSERT_NE(nullptr, button) << id;
        const _Dimension *s = button->GetScreenAreaP();
        Move(s->x + s->w / 2, s->y + s->h / 2);
    }
    void ClickPopupButton(const char *id)
    {
        OverPopupButton(id);
        Press();
        Release();
        mwin->Tick();
    }
    using GuiTest::Press;
    void KeyTick(int key)
    {
        Key(key);
        Up(key);
        mwin->Tick();
    }
    std::vector<int> &Values() { return Results::Get().values; }

    _MWinHost host;
    MWinWindow *screen = nullptr;
    MWinButton *screenButton = nullptr;
};

TEST_F(MWinPopupTest, MessageAnswersOkByMouseEnterAndEscape)
{
    for (int way = 0; way < 3; way++)
    {
        SCOPED_TRACE(way);
        ASSERT_TRUE(mwin->PopupMessageCB("Note", "Saved.", Results::Record, nullptr));
        EXPECT_TRUE(mwin->IsPopupOn());
        EXPECT_TRUE(mwin->GetDesktop()->IsDimmed());
        EXPECT_FALSE(screen->GetCollection()->IsActive());
        if (way == 0)
            ClickPopupButton("OK");
        else
            KeyTick(way == 1 ? 13 : 27);
        EXPECT_FALSE(mwin->IsPopupOn());
        EXPECT_FALSE(mwin->GetDesktop()->IsDimmed());
        EXPECT_TRUE(screen->GetCollection()->IsActive());
    }
    EXPECT_EQ((std::vector<int>{1, 1, 1}), Values());
}

TEST_F(MWinPopupTest, OkCancelAndYesNoCancelByKeysAndMouse)
{
    ASSERT_TRUE(mwin->PopupOKCancel("Quit", "Leave the game?", Results::Record, nullptr));
    KeyTick(27);
    ASSERT_TRUE(mwin->PopupOKCancel("Quit", "Leave the game?", Results::Record, nullptr));
    KeyTick(13);
    ASSERT_TRUE(mwin->PopupOKCancel("Quit", "Leave the game?", Results::Record, nullptr));
    ClickPopupButton("CANCEL");
    EXPECT_EQ((std::vector<int>{0, 1, 0}), Values());

    // Yes, No, Cancel stand in that order and report 1, 2 and 0; Escape is Cancel.
    Values().clear();
    ASSERT_TRUE(mwin->PopupYesNoCancel("Save", "Save first?", Results::Record, nullptr));
    float yes = mwin->PopupGetButton("OK")->GetScreenAreaP()->x;
    float no = mwin->PopupGetButton("NO")->GetScreenAreaP()->x;
    float cancel = mwin->PopupGetButton("CANCEL")->GetScreenAreaP()->x;
    EXPECT_LT(yes, no);
    EXPECT_LT(no, cancel);
    EXPECT_STREQ("Yes", mwin->PopupGetButton("OK")->GetTextP());
    ClickPopupButton("NO");
    ASSERT_TRUE(mwin->PopupYesNoCancel("Save", "Save first?", Results::Record, nullptr));
    ClickPopupButton("OK");
    ASSERT_TRUE(mwin->PopupYesNoCancel("Save", "Save first?", Results::Record, nullptr));
    KeyTick(27);
    EXPECT_EQ((std::vector<int>{2, 1, 0}), Values());
}

TEST_F(MWinPopupTest, YesNoTakesNeitherEnterNorEscapeButTabAndTheMouse)
{
    ASSERT_TRUE(mwin->PopupYesNo("Delete", "Delete the player?", Results::Record, nullptr));
    EXPECT_STREQ("No", mwin->PopupGetButton("CANCEL")->GetTextP());
    Move(5, 5);
    KeyTick(13);
    KeyTick(27);
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_TRUE(Values().empty());
    // Tab gives a button the focus; Enter then answers it.
    KeyTick(9);
    KeyTick(13);
    ASSERT_EQ(1u, Values().size());
    ASSERT_TRUE(mwin->PopupYesNo("Delete", "Delete the player?", Results::Record, nullptr));
    ClickPopupButton("CANCEL");
    EXPECT_EQ(0, Values().back());
}

TEST_F(MWinPopupTest, TextEntryEditsTheCallersBufferWithinItsSize)
{
    char name[6] = "Ann";
    ASSERT_TRUE(mwin->PopupGetText("New player", "Your name:", name, sizeof(name), Results::Record, nullptr));
    MWinButton *edit = mwin->PopupGetButton("TEXTEDIT");
    ASSERT_NE(nullptr, edit);
    EXPECT_TRUE(edit->TextEditIsEditing());
    for (const char *c = "abcdefgh"; *c; c++)
        mwin->HandleInput(MWIN_INPUT_CHARACTER, (unsigned char)*c, 0);
    // Enter ends the edit and answers OK.
    KeyTick(13);
    mwin->Tick();
    EXPECT_EQ(std::vector<int>{1}, Values());
    EXPECT_STREQ("Annab", name);
    // Escape ends the edit, a second Escape answers Cancel; the buffer keeps the edit.
    ASSERT_TRUE(mwin->PopupGetText("New player", "", name, sizeof(name), Results::Record, nullptr));
    KeyTick(8);
    KeyTick(27);
    KeyTick(27);
    EXPECT_EQ((std::vector<int>{1, 0}), Values());
    EXPECT_STREQ("Anna", name);
    EXPECT_FALSE(mwin->PopupGetText("T", "", nullptr, 4, Results::Record, nullptr));
    EXPECT_FALSE(mwin->PopupGetText("T", "", name, 0, Results::Record, nullptr));
}

const char *Fruit(int row, MWinButton *, void *)
{
    static const char *const fruit[] = {"Apple", "Banana", "Cherry", "Damson", "Elder"};
    return fruit[row];
}

std::vector<int> s_rowChanges;
void RowChanged(MWin *, int row, void *)
{
    s_rowChanges.push_back(row);
}

TEST_F(MWinPopupTest, ListPopupByKeysAndByDoubleClick)
{
    s_rowChanges.clear();
    int chosen = 1;
    int *selection = &chosen;
    ASSERT_TRUE(mwin->PopupPanel("Fruit", "Pick one", 5, -1, 200, 100, Fruit, 1, &selection, RowChanged,
                                 Results::Record, nullptr));
    MWinButton *panel = mwin->PopupGetButton("PANEL");
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(1, panel->PanelGetPos());
    const _Dimension *s = panel->GetScreenAreaP();
    Move(s->x + 20, s->y + 5);
    KeyTick(40);
    EXPECT_EQ(2, chosen);
    EXPECT_EQ(std::vector<int>{2}, s_rowChanges);
    KeyTick(13);
    mwin->Tick();
    EXPECT_EQ(std::vector<int>{1}, Values());
    EXPECT_EQ(2, chosen);

    ASSERT_TRUE(mwin->PopupPanel("Fruit", "", 5, -1, 200, 100, Fruit, 1, &selection, RowChanged, Results::Record,
                                 nullptr));
    panel = mwin->PopupGetButton("PANEL");
    s = panel->GetScreenAreaP();
    Move(s->x + 20, s->y + s->h - 5);
    Press();
    Release();
    mwin->HandleInput(MWIN_INPUT_DOUBLE_CLICK, 0, 0);
    mwin->Tick();
    mwin->Tick();
    EXPECT_EQ((std::vector<int>{1, 1}), Values());
    EXPECT_EQ(4, chosen);
    int *none = nullptr;
    EXPECT_FALSE(mwin->PopupPanel("F", "", 5, -1, 200, 100, Fruit, 1, &none, nullptr, nullptr, nullptr));
}

TEST_F(MWinPopupTest, APopupOpenedFromAnotherPopupsCallback)
{
    Results::Get().then = [](MWin *root, char value) {
        if (value == 1)
        {
            EXPECT_TRUE(root->PopupYesNo("Sure?", "Really?", Results::Record, nullptr));
        }
    };
    ASSERT_TRUE(mwin->PopupOKCancel("Quit", "Leave?", Results::Record, nullptr));
    KeyTick(13);
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_NE(nullptr, mwin->PopupGetButton("NO") ? nullptr : mwin->PopupGetButton("CANCEL"));
    Results::Get().then = nullptr;
    ClickPopupButton("CANCEL");
    EXPECT_EQ((std::vector<int>{1, 0}), Values());
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_TRUE(screen->GetCollection()->IsActive());
}

TEST_F(MWinPopupTest, RefusalsTimeOutsAndTheMeasuringWindow)
{
    ASSERT_TRUE(mwin->PopupMessageCB("One", "First", Results::Record, nullptr));
    rendertest::LogMark();
    EXPECT_FALSE(mwin->PopupMessage("Two", "Second"));
    EXPECT_EQ(1, rendertest::CountLog("Popup already on"));
    // The measuring window went again: the popup collection holds the popup only.
    EXPECT_EQ(1, mwin->GetPopupCollection()->GetNumWindows());
    EXPECT_EQ(nullptr, mwin->GetPopupCollection()->GetWindowFromID("MWIN_POPUP_WIN_TEMP", false));
    // A time-out closes the popup without a callback.
    mwin->PopupSetTimeout(2.0);
    mwin->Tick();
    EXPECT_TRUE(mwin->IsPopupOn());
    s_now += 3;
    mwin->Tick();
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_TRUE(Values().empty());
    // Custom texts apply to exactly one popup.
    mwin->PopupSetButtonTexts("Go", nullptr, "Stay");
    ASSERT_TRUE(mwin->PopupOKCancel("", "", Results::Record, nullptr));
    EXPECT_STREQ("Go", mwin->PopupGetButton("OK")->GetTextP());
    EXPECT_STREQ("Stay", mwin->PopupGetButton("CANCEL")->GetTextP());
    EXPECT_TRUE(mwin->PopupCloseIfOn());
    EXPECT_FALSE(mwin->PopupCloseIfOn());
    ASSERT_TRUE(mwin->PopupOKCancel("", "", Results::Record, nullptr));
    EXPECT_STREQ("OK", mwin->PopupGetButton("OK")->GetTextP());
    EXPECT_STREQ("Cancel", mwin->PopupGetButton("CANCEL")->GetTextP());
    // Drawn over the dimmed screen.
    mwin->RenderMain();
    mwin->RenderPopups();
    // A screen change (all collections removed) takes the popup along, without a callback.
    mwin->GetDesktop()->RemoveAllCollections();
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_TRUE(Values().empty());
    EXPECT_TRUE(mwin->PopupErrorText("Something failed."));
    mwin->PopupCloseIfOn();
}

TEST_F(MWinPopupTest, OnScreenKeyboardWorksOnlyOnALargeScreenDevice)
{
    char text[6] = "";
    rendertest::LogMark();
    EXPECT_FALSE(mwin->PopupGetText_Mobile("Name", "", text, sizeof(text), Results::Record, nullptr));
    EXPECT_EQ(1, rendertest::CountLog("Not mobile."));
    MWinSetDeviceClass(MWIN_DEVICE_LARGE_SCREEN);
    mwin->PopupGetTextSetOptions(0, false, true);
    ASSERT_TRUE(mwin->PopupGetText("Name", "Type it", text, sizeof(text), Results::Record, nullptr));
    EXPECT_TRUE(mwin->PopupRenderFullScreenTextEntryMobile(true));
    _MWinButtonCallbackInfo info = {};
    // Automatic capitals: the first letter is upper case, then lower case.
    for (int code : {(int)'B', (int)'O', (int)'B', 255, (int)'B', (int)'!', (int)'X', (int)'Y'})
        MWinPopupGetTextKeyCB_Mobile(mwin, &info, code, 0);
    EXPECT_STREQ("Bob!x", text); // any key but space drops the shift
    MWinButton *done = mwin->PopupGetButton("Done");
    ASSERT_NE(nullptr, done);
    done->Fire();
    EXPECT_EQ(std::vector<int>{1}, Values());
    EXPECT_FALSE(mwin->IsPopupOn());
    MWinSetDeviceClass(MWIN_DEVICE_DESKTOP);
}

} // namespace
