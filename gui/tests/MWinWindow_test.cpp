// Windows: title bars and their buttons, dragging a window within the screen, drag
// scrolling by the scrollbar thumb, track pages and the wheel, button geometry rules,
// nested callbacks that delete a button, and the registry's start order.
#include "GuiFixture.h"

#include <cstring>

namespace
{
class MWinWindowTest : public guitest::GuiTest
{
protected:
    MWinWindow *TitledWindow(int dragMode, bool hide)
    {
        MWinCollection *collection = mwin->GetDesktop()->AddCollection("Screen");
        _MWinWindowCreateInfo info = {};
        info.x = 100;
        info.y = 100;
        info.w = 300;
        info.h = 200;
        info.hasTitleBar = 1;
        info.dragMode = dragMode;
        info.hasHideButton = hide ? 1 : 0;
        strcpy(info.hideText, "Back");
        strcpy(info.title, "Title");
        return collection->AddWindow("MainWin", &info);
    }
};

class Recorder : public MWinCollectionController
{
public:
    bool CreateCollection(MWin *) override { return true; }
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override
    {
        pressed.push_back(info->buttonId);
        return true;
    }
    std::vector<std::string> pressed;
};

TEST_F(MWinWindowTest, TheHideButtonFiresOnALeftReleaseOverIt)
{
    MWinWindow *window = TitledWindow(0, true);
    Recorder controller;
    window->SetController(&controller);
    MWinButton *hide = window->GetHideButton();
    ASSERT_NE(nullptr, hide);
    EXPECT_EQ(hide, window->GetButtonFromID(MWIN_STD_HIDE_ID, true));
    const _Dimension *area = hide->GetScreenAreaP();
    // In the title bar, above the window's area, at the margin from the left edge.
    EXPECT_FLOAT_EQ(105.0f, area->x);
    EXPECT_LT(area->y + area->h, 100.0f);
    float x = area->x + area->w / 2, y = area->y + area->h / 2;
    Move(x, y);
    Press();
    Move(x + 200, y);
    Release();
    EXPECT_TRUE(controller.pressed.empty());
    Move(x, y);
    Press();
    Release();
    EXPECT_EQ(std::vector<std::string>{MWIN_STD_HIDE_ID}, controller.pressed);
    // Escape answers through the hide button when there is no escape button.
    EXPECT_TRUE(Key(27));
    mwin->Tick();
    EXPECT_EQ(2u, controller.pressed.size());
}

TEST_F(MWinWindowTest, DraggingByTheTitleBarStaysOnTheScreen)
{
    MWinWindow *window = TitledWindow(1, false);
    struct Row
    {
        float toX, toY;
        float x, y;
    };
    // Grabbed at (150, 85) in the title bar; the window is 300 x 200 with a 30 title bar.
    const Row rows[] = {{250, 135, 200, 150}, {600, 85, 340, 100}, {150, 600, 100, 280}, {150, 0, 100, 30}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(std::to_string(row.toX) + "," + std::to_string(row.toY));
        window->SetPosition(100, 100);
        Move(150, 85);
        EXPECT_TRUE(Press());
        EXPECT_TRUE(window->IsBeingMoved());
        Move(row.toX, row.toY);
        Release();
        EXPECT_FALSE(window->IsBeingMoved());
        EXPECT_FLOAT_EQ(row.x, window->GetDesignArea()->x);
        EXPECT_FLOAT_EQ(row.y, window->GetDesignArea()->y);
    }
    // A press in the body of a title-bar window does not drag it.
    window->SetPosition(100, 100);
    Move(200, 200);
    Press();
    EXPECT_FALSE(window->IsBeingMoved());
    Release();
}

TEST_F(MWinWindowTest, DragScrollingMovesTheContent)
{
    MWinWindow *window = MakeWindow();
    MWinButton *button = window->AddButton("Far", MWIN_BUTTON_PUSH, "", "Far", 10, 300, 80, 30);
    window->SetScrollSize(0, 400);
    ASSERT_TRUE(window->IsScrolling());
    // The vertical bar: 30 wide along the right edge, thumb 200 x 200 / 600 long.
    Move(385, 110);
    EXPECT_TRUE(Press());
    Move(385, 160); // 50 of the 200 - 66.7 track: 150 of the range
    EXPECT_NEAR(150.0f, window->GetScrollY(), 0.1f);
    EXPECT_NEAR(100 + 300 - 150, button->GetScreenAreaP()->y, 0.1f);
    Move(385, 400);
    EXPECT_FLOAT_EQ(400.0f, window->GetScrollY());
    Release();
    // A press on the track above the thumb pages up by the visible height on release.
    Move(385, 105);
    Press();
    Release();
    EXPECT_FLOAT_EQ(200.0f, window->GetScrollY());
    // The wheel moves 2 % of the range a notch, away from the player scrolling up.
    Move(200, 280);
    mwin->HandleInput(MWIN_INPUT_WHEEL, 3, 2);
    EXPECT_FLOAT_EQ(176.0f, window->GetScrollY());
    window->SetScrollSize(0, 0);
    EXPECT_FALSE(window->IsScrolling());
    EXPECT_FLOAT_EQ(0.0f, window->GetScrollY());
}

TEST_F(MWinWindowTest, ButtonGeometry)
{
    MWinWindow *window = MakeWindow();
    // Width and height -1 take the layout's defaults; x -1 centres in the window.
    MWinButton *centred = window->AddButton("C", MWIN_BUTTON_PUSH, "", "", -1, 10, -1, -1);
    EXPECT_FLOAT_EQ(60.0f, centred->GetAreaP()->w);
    EXPECT_FLOAT_EQ(20.0f, centred->GetAreaP()->h);
    EXPECT_FLOAT_EQ(150.0f - 30.0f, centred->GetAreaP()->x);
    centred->SetArea(5, 5, 0.5f, 30);
    EXPECT_FLOAT_EQ(2.0f, centred->GetAreaP()->w);
    centred->SetArea(10, 20, 50, 30);
    centred->SetAreaInts(MWIN_KEEP, MWIN_KEEP, 300, MWIN_KEEP);
    EXPECT_FLOAT_EQ(10.0f, centred->GetAreaP()->x);
    EXPECT_FLOAT_EQ(290.0f, centred->GetAreaP()->w);
    EXPECT_FLOAT_EQ(30.0f, centred->GetAreaP()->h);
    // Entirely below the screen: not drawn at all.
    centred->SetPosition(10, 400);
    EXPECT_FALSE(centred->IsOnScreen());
    recorder->Clear();
    centred->Render();
    EXPECT_TRUE(rendertest::Draws(recorder).empty());
    centred->SetPosition(10, 20);
    EXPECT_TRUE(centred->IsOnScreen());
    // The drawn button is cut by the scissor to its clip rectangle inside the window.
    recorder->Clear();
    centred->Render();
    EXPECT_FALSE(rendertest::Draws(recorder).empty());
    EXPECT_EQ(1, recorder->CountKind(PLAT_REC_SCISSOR));
}

// Callbacks that nest: A's callback fires B at once, and B's callback deletes A. Each
// firing keeps its own still-exists record, so A's firing sees it is gone.
TEST_F(MWinWindowTest, NestedCallbacksKeepTheirOwnRecords)
{
    MWinWindow *window = MakeWindow();
    static MWinButton *a, *b;
    static MWinWindow *owner;
    static int sounds;
    owner = window;
    sounds = 0;
    mwin->SetSoundCallback([](int event, int) { sounds += event == MWIN_SOUND_FIRED; }, 0);
    a = window->AddButton("A", MWIN_BUTTON_PUSH, "", "A", 10, 10, 80, 30);
    b = window->AddButton("B", MWIN_BUTTON_PUSH, "", "B", 100, 10, 80, 30);
    a->SetPlainCallback([](void *) { b->Fire(); }, nullptr);
    b->SetPlainCallback([](void *) { owner->GetDefaultGroup()->RemoveButton(a); }, nullptr);
    EXPECT_FALSE(a->Fire());
    // B's firing finished normally (its sound), A's noticed it was gone (no sound).
    EXPECT_EQ(1, sounds);
    EXPECT_EQ(nullptr, window->GetButtonFromID("A", false));
}

TEST_F(MWinWindowTest, ARegistryMadeBeforeTheRootRegistersOnSetup)
{
    // The registry does not touch the root while it is being constructed.
    MWin root(nullptr);
    MWinScreens early(&root, false);
    EXPECT_FALSE(root.HasScreens());
    EXPECT_TRUE(early.SetupAllScreens());
    EXPECT_EQ(&early, root.GetScreens());
    // The one static root is made on first use.
    EXPECT_EQ(&MWinGetObject(), &mwin_object);
    EXPECT_FALSE(mwin_object.IsOn());
}

TEST_F(MWinWindowTest, IdsAndLayoutDefaults)
{
    EXPECT_TRUE(MWinIDsEqual("Ok", "Ok"));
    EXPECT_FALSE(MWinIDsEqual("Ok", "ok"));
    EXPECT_FALSE(MWinIDsEqual("", ""));
    char id[MWIN_ID_SIZE] = "keep";
    EXPECT_TRUE(MWinCopyID(id, std::string(31, 'a').c_str()));
    EXPECT_FALSE(MWinCopyID(id, std::string(32, 'b').c_str()));
    EXPECT_EQ(std::string(31, 'a'), id);
    const _MWinLayoutSettings *layout = mwin->GetCurrentLayoutSettings();
    EXPECT_FLOAT_EQ(30.0f, layout->titleBarHeight);
    EXPECT_FLOAT_EQ(60.0f, layout->defaultButtonWidth);
    EXPECT_EQ(2, layout->kind59);
    EXPECT_FLOAT_EQ(0.05f, layout->relativeTextMargin);
    // On a 16:9 screen the scaled fields shrink by the horizontal factor.
    EngScreenSettings.widthCorrection = 0.75f;
    mwin->ApplyLayoutSettings();
    EXPECT_FLOAT_EQ(30.0f * 0.75f, layout->vScrollbarWidth);
    EXPECT_FLOAT_EQ(30.0f, layout->titleBarHeight);
    EngScreenSettings.widthCorrection = 1.0f;
    mwin->ApplyLayoutSettings();
}
} // namespace
