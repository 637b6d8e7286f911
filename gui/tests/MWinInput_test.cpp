// Mouse and key events routed through the root, the desktop, collections and windows to
// the right button: hover, press, release and firing through the one-slot queue, Tab,
// Escape and Enter, modal windows, labels that let presses through, and the queue's
// refusals.
#include "GuiFixture.h"

#include <cstring>

namespace
{
using guitest::CallbackLog;

class MWinInputTest : public guitest::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        CallbackLog::Fired().clear();
    }

    MWinButton *AddPush(MWinWindow *window, const char *id, float x, float y, int value = 0)
    {
        return window->AddButton(id, MWIN_BUTTON_PUSH, "", id, x, y, 80, 30, CallbackLog::Record, value, 0);
    }
};

TEST_F(MWinInputTest, APushButtonFiresOnTheTickAfterPressAndReleaseOverIt)
{
    MWinWindow *window = MakeWindow();
    MWinButton *ok = AddPush(window, "Ok", 10, 10);
    Move(130, 125);
    EXPECT_TRUE(ok->HasHoverOrFocus());
    EXPECT_EQ(MWIN_TEXSTATE_HOVER, ok->GetDrawState());
    Press();
    EXPECT_EQ(MWIN_TEXSTATE_PRESSED, ok->GetDrawState());
    Release();
    // Queued, not fired inside the input event.
    EXPECT_TRUE(CallbackLog::Fired().empty());
    EXPECT_TRUE(mwin->IsMessageQueued());
    EXPECT_TRUE(mwin->Tick());
    EXPECT_EQ(std::vector<std::string>{"Ok:0"}, CallbackLog::Fired());
    EXPECT_FALSE(mwin->IsMessageQueued());
}

TEST_F(MWinInputTest, PressedThenLeftAndReleasedElsewhereDoesNotFire)
{
    MWinWindow *window = MakeWindow();
    MWinButton *ok = AddPush(window, "Ok", 10, 10);
    Move(130, 125);
    Press();
    Move(300, 250);
    EXPECT_FALSE(ok->HasHoverOrFocus());
    EXPECT_FALSE(ok->IsPressed());
    Release();
    mwin->Tick();
    Move(130, 125);
    Release();
    mwin->Tick();
    EXPECT_TRUE(CallbackLog::Fired().empty());
}

TEST_F(MWinInputTest, EventsReachTheWindowAndButtonUnderTheMouse)
{
    MWinWindow *left = MakeWindow("Screen", "Left", 20, 50, 200, 200);
    MWinWindow *right = MakeWindow("Screen", "Right", 300, 50, 200, 200);
    AddPush(left, "A", 10, 10, 1);
    AddPush(left, "B", 10, 100, 2);
    AddPush(right, "C", 10, 10, 3);
    struct Row
    {
        float x, y;
        const char *fired;
        const char *activeWindow;
    };
    const Row rows[] = {
        {40, 70, "A:1", "Left"},   {40, 160, "B:2", "Left"}, {320, 70, "C:3", "Right"},
        {150, 200, "", "Left"},    {600, 400, "", ""},      {45, 65, "A:1", "Left"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y));
        CallbackLog::Fired().clear();
        Click(row.x, row.y);
        mwin->Tick();
        std::string fired = CallbackLog::Fired().empty() ? "" : CallbackLog::Fired()[0];
        EXPECT_EQ(row.fired, fired);
        MWinWindow *active = mwin->GetDesktop()->GetActiveWindow();
        EXPECT_EQ(std::string(row.activeWindow), active ? active->GetID() : "");
    }
}

TEST_F(MWinInputTest, CollectionsWithAreasTakeOnlyTheirOwnPresses)
{
    MWinWindow *top = MakeWindow("Top", "Win", 0, 0, 640, 240);
    MWinWindow *bottom = MakeWindow("Bottom", "Win", 0, 240, 640, 240);
    _Dimension topArea = {0, 0, 640, 240}, bottomArea = {0, 240, 640, 240};
    top->GetCollection()->SetArea(&topArea);
    bottom->GetCollection()->SetArea(&bottomArea);
    AddPush(top, "T", 10, 10, 1);
    AddPush(bottom, "B", 10, 10, 2);
    Click(20, 20);
    mwin->Tick();
    Click(20, 260);
    mwin->Tick();
    EXPECT_EQ((std::vector<std::string>{"T:1", "B:2"}), CallbackLog::Fired());
    EXPECT_EQ(bottom->GetCollection(), mwin->GetDesktop()->GetActiveCollection());
    // Outside both areas nothing takes the press.
    _Dimension small = {0, 0, 100, 100};
    top->GetCollection()->SetArea(&small);
    bottom->GetCollection()->SetArea(&small);
    Move(300, 300);
    EXPECT_FALSE(Press());
    EXPECT_EQ(nullptr, mwin->GetDesktop()->GetActiveCollection());
}

TEST_F(MWinInputTest, OverlappingButtonsAllHoverAndALabelLetsThePressThrough)
{
    MWinWindow *window = MakeWindow();
    MWinButton *under = AddPush(window, "Under", 10, 10);
    MWinButton *label = window->AddButton("Label", MWIN_BUTTON_STATIC, "", "label", 10, 10, 80, 30);
    Move(130, 125);
    EXPECT_TRUE(under->HasHoverOrFocus());
    EXPECT_TRUE(label->HasHoverOrFocus());
    Press();
    Release();
    mwin->Tick();
    EXPECT_EQ(std::vector<std::string>{"Under:0"}, CallbackLog::Fired());
}

TEST_F(MWinInputTest, DisabledAndHiddenButtonsDoNotFire)
{
    MWinWindow *window = MakeWindow();
    MWinButton *ok = AddPush(window, "Ok", 10, 10);
    ok->Disable();
    Click(130, 125);
    mwin->Tick();
    EXPECT_EQ(MWIN_TEXSTATE_DISABLED, ok->GetDrawState());
    ok->Enable();
    ok->Hide();
    Click(130, 125);
    mwin->Tick();
    EXPECT_TRUE(CallbackLog::Fired().empty());
    ok->Show();
    Move(300, 300);
    Click(130, 125);
    mwin->Tick();
    EXPECT_EQ(std::vector<std::string>{"Ok:0"}, CallbackLog::Fired());
}

TEST_F(MWinInputTest, ModalWindowKeepsTheOthersInactive)
{
    MWinWindow *plain = MakeWindow("Screen", "Plain", 20, 50, 200, 200);
    AddPush(plain, "P", 10, 10, 1);
    _MWinWindowCreateInfo info = {};
    info.kind = MWIN_WINDOW_MODAL;
    info.x = 300;
    info.y = 50;
    info.w = 200;
    info.h = 200;
    MWinWindow *modal = plain->GetCollection()->AddWindow("Modal", &info);
    AddPush(modal, "M", 10, 10, 2);
    EXPECT_TRUE(plain->GetCollection()->IsModal());
    Click(40, 70);
    mwin->Tick();
    EXPECT_FALSE(plain->IsActive());
    EXPECT_TRUE(CallbackLog::Fired().empty());
    Click(320, 70);
    mwin->Tick();
    EXPECT_EQ(std::vector<std::string>{"M:2"}, CallbackLog::Fired());
    modal->Hide();
    Click(40, 70);
    mwin->Tick();
    EXPECT_EQ((std::vector<std::string>{"M:2", "P:1"}), CallbackLog::Fired());
}

TEST_F(MWinInputTest, TabWalksFocusableButtonsAndMovesThePointer)
{
    MWinWindow *window = MakeWindow();
    MWinButton *a = AddPush(window, "A", 10, 10);
    window->AddButton("Label", MWIN_BUTTON_STATIC, "", "label", 10, 50, 80, 30);
    MWinButton *b = AddPush(window, "B", 10, 90);
    MWinGroup *second = window->AddGroup();
    MWinButton *c = second->AddButton("C", MWIN_BUTTON_PUSH, "", "C", 150, 10, 80, 30, CallbackLog::Record, 0, 0);
    std::vector<std::pair<float, float>> cursor;
    static std::vector<std::pair<float, float>> *moves;
    moves = &cursor;
    _MWinHost host = {};
    host.setMouseCursorVirtual = [](float x, float y) { moves->push_back({x, y}); };
    MWinSetHost(&host);
    Move(5, 5); // no window under the mouse: Tab needs the window active
    Move(390, 290);
    struct Row
    {
        bool shift;
        MWinButton *focused;
    };
    const Row rows[] = {{false, a}, {false, b}, {false, c}, {false, a}, {true, c}, {true, b}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.focused->GetID());
        EngKeyStates[16] = row.shift ? 2 : 0;
        EXPECT_TRUE(Key(9));
        EXPECT_EQ(row.focused, window->GetActiveButton());
        // The pointer sits on the button's centre and hover followed without another move.
        const _Dimension *screen = row.focused->GetScreenAreaP();
        ASSERT_FALSE(cursor.empty());
        EXPECT_FLOAT_EQ(screen->x + screen->w / 2, cursor.back().first);
        EXPECT_FLOAT_EQ(screen->y + screen->h / 2, cursor.back().second);
        EXPECT_TRUE(row.focused->HasHoverOrFocus());
    }
    EngKeyStates[16] = 0;
    // Enter on the focused button fires it through the queue.
    EXPECT_TRUE(Key(13));
    mwin->Tick();
    EXPECT_EQ(std::vector<std::string>{"B:0"}, CallbackLog::Fired());
}

TEST_F(MWinInputTest, TabWithNothingFocusableGivesUpAfterItsWalk)
{
    MWinWindow *window = MakeWindow();
    window->AddButton("L1", MWIN_BUTTON_STATIC, "", "one", 10, 10, 80, 30);
    window->AddButton("L2", MWIN_BUTTON_STATIC, "", "two", 10, 50, 80, 30);
    Move(390, 290);
    rendertest::LogMark();
    EXPECT_TRUE(Key(9));
    EXPECT_EQ(1, rendertest::CountLog("Could not get next button"));
    EXPECT_EQ(nullptr, window->GetActiveButton());
}

TEST_F(MWinInputTest, EscapeAndEnterAnswerTheirButtons)
{
    MWinWindow *window = MakeWindow();
    MWinButton *cancel = AddPush(window, "Cancel", 10, 10, 1);
    MWinButton *ok = AddPush(window, "Ok", 100, 10, 2);
    MWinButton *other = AddPush(window, "Other", 10, 100, 3);
    cancel->SetEscapeButtonForParentWindow();
    ok->SetDefaultButtonForParentWindow();
    Move(130, 215); // over Other
    EXPECT_TRUE(Key(27));
    EXPECT_EQ(0, EngKeyStates[27]);
    mwin->Tick();
    EXPECT_TRUE(Key(13));
    mwin->Tick();
    EXPECT_EQ((std::vector<std::string>{"Cancel:1", "Ok:2"}), CallbackLog::Fired());
    // A hidden default button lets Enter go to the button under the mouse.
    ok->Hide();
    EXPECT_TRUE(Key(13));
    mwin->Tick();
    EXPECT_EQ("Other:3", CallbackLog::Fired().back());
    (void)other;
}

TEST_F(MWinInputTest, TheQueueHoldsOneMessageAndDropsOneForAGoneButton)
{
    MWinWindow *window = MakeWindow();
    MWinButton *a = AddPush(window, "A", 10, 10, 1);
    MWinButton *b = AddPush(window, "B", 100, 10, 2);
    Click(130, 125);
    rendertest::LogMark();
    Click(220, 125);
    EXPECT_EQ(1, rendertest::CountLog("Queue not empty"));
    mwin->Tick();
    EXPECT_EQ(std::vector<std::string>{"A:1"}, CallbackLog::Fired());
    // A message for a button deleted before the tick goes with it.
    Click(220, 125);
    EXPECT_TRUE(mwin->IsMessageQueued());
    window->GetDefaultGroup()->RemoveButton(b);
    EXPECT_FALSE(mwin->IsMessageQueued());
    EXPECT_FALSE(mwin->Tick());
    (void)a;
}

TEST_F(MWinInputTest, TwinIdsFireOnlyTheButtonThatWasPressed)
{
    MWinWindow *window = MakeWindow();
    AddPush(window, "Twin", 10, 10, 1);
    MWinButton *second = AddPush(window, "Twin", 100, 10, 2);
    Click(220, 125);
    mwin->Tick();
    EXPECT_EQ(std::vector<std::string>{"Twin:2"}, CallbackLog::Fired());
    // The pressed twin deleted before the tick: the other twin is never fired instead.
    Click(220, 125);
    window->GetDefaultGroup()->RemoveButton(second);
    mwin->Tick();
    EXPECT_EQ(std::vector<std::string>{"Twin:2"}, CallbackLog::Fired());
}

TEST_F(MWinInputTest, ATickThatDeliversAMessageDoesNotTickTheCollections)
{
    static int updates;
    updates = 0;
    static const _MWinButtonKindOps counting = [] {
        _MWinButtonKindOps ops = {};
        ops.updateKind = [](MWinButton *) {
            updates++;
            return true;
        };
        return ops;
    }();
    MWinButtonSetKindOps(MWIN_BUTTON_KIND_13, &counting);
    MWinWindow *window = MakeWindow();
    MWinButton *ticking = window->AddButton("Ticking", MWIN_BUTTON_KIND_13, "", "", 10, 100, 80, 30);
    ticking->SetKindReady(true);
    AddPush(window, "Ok", 10, 10);
    EXPECT_TRUE(mwin->Tick());
    EXPECT_EQ(1, updates);
    Click(130, 125);
    EXPECT_TRUE(mwin->Tick());
    EXPECT_EQ(1, updates);
    MWinButtonSetKindOps(MWIN_BUTTON_KIND_13, nullptr);
}

TEST_F(MWinInputTest, DisallowedInputAndAnOffGuiTakeNothing)
{
    MWinWindow *window = MakeWindow();
    AddPush(window, "Ok", 10, 10);
    mwin->AllowInput(false);
    int moveX, moveY;
    float x = 130, y = 125;
    memcpy(&moveX, &x, 4);
    memcpy(&moveY, &y, 4);
    for (int event = MWIN_INPUT_MOUSE_MOVE; event <= MWIN_INPUT_CHARACTER; event++)
        EXPECT_FALSE(mwin->HandleInput(event, event == 1 ? moveX : 0, event == 1 ? moveY : 1)) << event;
    mwin->AllowInput(true);
    mwin->Shutdown();
    EXPECT_FALSE(mwin->HandleInput(MWIN_INPUT_BUTTON, 0, 1));
    EXPECT_EQ(-1.0f, mwin->GetDesignMouseX());
}

TEST_F(MWinInputTest, MouseMovesInWindowPixelsAreScaledToTheDesignSpace)
{
    EngScreenSettings.width = 1280;
    EngScreenSettings.height = 960;
    MWinWindow *window = MakeWindow();
    MWinButton *ok = AddPush(window, "Ok", 10, 10);
    float x = 260, y = 250;
    int a, b;
    memcpy(&a, &x, 4);
    memcpy(&b, &y, 4);
    mwin->HandleInput(MWIN_INPUT_MOUSE_MOVE, a, b);
    EXPECT_FLOAT_EQ(130.0f, mwin->GetMouseX());
    EXPECT_TRUE(ok->HasHoverOrFocus());
}
} // namespace
