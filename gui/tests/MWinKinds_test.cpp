// The small value kinds: checkbox, choice, range slider, drop-down list and the vertical
// scrollbar, each by mouse and by keys, with its bound variable and its callback.
#include "GuiFixture.h"

#include <cstring>

#include "MWinScrollbar.h"

namespace
{

// What the kinds' callbacks reported, in order.
struct Heard
{
    std::vector<_MWinButtonCallbackInfo> infos;
    static Heard &Get()
    {
        static Heard heard;
        return heard;
    }
    static void Record(MWin *, _MWinButtonCallbackInfo *info, int, int) { Get().infos.push_back(*info); }
};

class MWinKindsTest : public guitest::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Heard::Get().infos.clear();
        window = MakeWindow();
    }
    MWinButton *Add(const char *id, _MWinButtonType kind, float x, float y, float w, float h)
    {
        MWinButton *button = window->AddButton(id, kind, "", id, x, y, w, h, Heard::Record, 0, 0);
        button->SetFont("Main");
        return button;
    }
    // Moves over a button's screen point (fractions of its width and height).
    void Over(MWinButton *button, float fx = 0.5f, float fy = 0.5f)
    {
        const _Dimension *s = button->GetScreenAreaP();
        Move(s->x + s->w * fx, s->y + s->h * fy);
    }
    size_t Count() { return Heard::Get().infos.size(); }
    const _MWinButtonCallbackInfo &Last() { return Heard::Get().infos.back(); }

    MWinWindow *window = nullptr;
};

TEST_F(MWinKindsTest, CheckboxFlipsByClickAndDoubleClickAndWritesItsVariable)
{
    MWinButton *box = Add("Box", MWIN_BUTTON_CHECKBOX, 10, 10, 120, 30);
    char bound = 0;
    box->RegisterCharVariable(&bound);
    Over(box);
    Press();
    Release();
    EXPECT_EQ(1, box->CheckboxGet());
    EXPECT_EQ(1, bound);
    ASSERT_EQ(1u, Count());
    EXPECT_EQ(1, Last().checkboxState);
    mwin->HandleInput(MWIN_INPUT_DOUBLE_CLICK, 0, 0);
    EXPECT_EQ(0, box->CheckboxGet());
    EXPECT_EQ(0, bound);
    // A state other than 0 or 1 is refused and changes nothing.
    EXPECT_FALSE(box->CheckboxSet(2, 1));
    EXPECT_EQ(0, box->CheckboxGet());
    EXPECT_EQ(2u, Count());
    // Without notify the callback hears nothing.
    box->CheckboxSet(1, 0);
    EXPECT_EQ(2u, Count());
    mwin->RenderMain();
}

TEST_F(MWinKindsTest, ChoiceKeysStepAndWrapAsTheRulesSay)
{
    static const char *items[] = {"Easy", "Medium", "Hard"};
    struct Row
    {
        int start, key, index;
        bool fires;
    } rows[] = {
        {2, 13, 0, true},  // Enter wraps from the last to the first
        {0, 13, 1, true},  {2, 39, 2, false}, // Right at the end: handled, nothing fires
        {0, 37, 0, false}, {1, 37, 0, true},  {1, 38, 0, true}, {1, 40, 2, true},
    };
    MWinButton *choice = Add("Choice", MWIN_BUTTON_CHOICE, 10, 10, 240, 30);
    ASSERT_TRUE(choice->ChoiceSetStrings(3, items));
    int bound = 0;
    choice->ChoiceRegisterIntVariable(&bound, 0);
    for (const Row &row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.start << " key " << row.key);
        choice->ChoiceSetSel(row.start, 0);
        Over(choice);
        size_t before = Count();
        EXPECT_TRUE(Key(row.key));
        Up(row.key);
        EXPECT_EQ(row.index, choice->ChoiceGetSel());
        EXPECT_EQ(row.index, bound);
        EXPECT_EQ(row.fires ? before + 1 : before, Count());
        if (row.fires)
        {
            EXPECT_EQ(row.index, Last().choiceIndex);
        }
    }
}

TEST_F(MWinKindsTest, ChoiceRowModeMouseAndArrowMode)
{
    static const char *items[] = {"A", "B", "C"};
    MWinButton *choice = Add("Choice", MWIN_BUTTON_CHOICE, 10, 10, 270, 30);
    choice->ChoiceSetStrings(3, items);
    // Row mode: each item a third of the width; a click picks the item under it.
    Over(choice, 0.9f);
    Press();
    Release();
    EXPECT_EQ(2, choice->ChoiceGetSel());
    EXPECT_EQ(1u, Count());
    // The selected item again fires nothing.
    Press();
    Release();
    EXPECT_EQ(1u, Count());
    // Outside, the mouse maps to the ends only when clamping.
    Move(50, 125);
    EXPECT_EQ(0, choice->ChoiceGetItemFromMousePos(1));
    EXPECT_EQ(-1, choice->ChoiceGetItemFromMousePos(0));
    // Wide selected: the selected item takes a double share (135 of 270 with 3 items).
    choice->ChoiceSetWideSelected(true);
    choice->ChoiceSetSel(0, 0);
    Move(110 + 130, 125);
    EXPECT_EQ(0, choice->ChoiceGetItemFromMousePos(0));
    Move(110 + 140, 125);
    EXPECT_EQ(1, choice->ChoiceGetItemFromMousePos(0));

    // Arrow mode at item 0: the left arrow is hidden and its zone does nothing.
    choice->ChoiceSetShowArrows(true);
    choice->ChoiceSetSel(0, 0);
    EXPECT_STREQ("A", choice->GetTextP());
    Over(choice, 0.02f);
    Press();
    Release();
    EXPECT_EQ(0, choice->ChoiceGetSel());
    Over(choice, 0.98f);
    Press();
    Release();
    EXPECT_EQ(1, choice->ChoiceGetSel());
    EXPECT_STREQ("B", choice->GetTextP());
    // No item chosen shows an empty text, never an item before the first.
    EXPECT_TRUE(choice->ChoiceSetSel(-1, 0));
    EXPECT_FALSE(choice->HasText());
    EXPECT_FALSE(choice->ChoiceSetSel(3, 0));
    EXPECT_EQ(-1, choice->ChoiceGetSel());
    mwin->RenderMain();
    choice->Disable();
    mwin->RenderMain();
}

TEST_F(MWinKindsTest, ChoiceWithoutItemsIsNotReadyAndRefusesBadItems)
{
    MWinButton *choice = Add("Choice", MWIN_BUTTON_CHOICE, 10, 10, 300, 30);
    EXPECT_FALSE(choice->IsKindReady());
    EXPECT_FALSE(choice->ChoiceSetStrings(0, nullptr));
    EXPECT_FALSE(choice->ChoiceSetStringsCallback(2, nullptr, nullptr));
    EXPECT_FALSE(choice->ChoiceSetStringsLanguageToken(2, ""));
    EXPECT_FALSE(choice->IsKindReady());
    Over(choice);
    EXPECT_FALSE(Key(13));
}

TEST_F(MWinKindsTest, SliderRangesFollowTheMinimumSpanAndTheLimits)
{
    MWinButton *slider = Add("Range", MWIN_BUTTON_RANGE_SLIDER, 10, 10, 200, 30);
    struct Row
    {
        float low, high, wantLow, wantHigh;
    } rows[] = {
        {0.5f, 0.52f, 0.46f, 0.56f}, {0.95f, 1.2f, 0.9f, 1.0f}, {0.98f, 0.99f, 0.9f, 1.0f},
        {-1.0f, 0.02f, 0.0f, 0.1f},  {0.7f, 0.2f, 0.15f, 0.25f}, {0.25f, 0.75f, 0.25f, 0.75f},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.low << ".." << row.high);
        slider->SliderSetRange(row.low, row.high, 0, 0);
        float low, high;
        slider->SliderGetRange(&low, &high);
        EXPECT_NEAR(row.wantLow, low, 1e-5);
        EXPECT_NEAR(row.wantHigh, high, 1e-5);
    }
    // Label and values: five letters, a space, two decimals.
    slider->SetText("Speed");
    slider->SliderSetValueFormat(3, 5);
    EXPECT_STREQ("Speed [0.25,0.75]", slider->GetTextP());
    slider->SliderSetRange(0, 0.05f, 0, 0);
    EXPECT_STREQ("Speed [0.00]", slider->GetTextP());
    float a = 0, b = 0;
    slider->SliderRegisterFloatVariables(&a, &b, 1);
    // Keys: the whole range moves by a hundredth; Down centres it.
    slider->SliderSetRange(0.2f, 0.4f, 0, 0);
    Over(slider);
    Key(39);
    Up(39);
    EXPECT_NEAR(0.21f, a, 1e-5);
    EXPECT_NEAR(0.41f, b, 1e-5);
    Key(40);
    Up(40);
    EXPECT_NEAR(0.4f, a, 1e-5);
    EXPECT_NEAR(0.6f, b, 1e-5);
    EXPECT_EQ(0, Last().sliderHeld);
}

TEST_F(MWinKindsTest, SliderDragReportsWhileHeldAndOnceAtTheRelease)
{
    MWinButton *slider = Add("Range", MWIN_BUTTON_RANGE_SLIDER, 10, 10, 200, 30);
    slider->SliderSetRange(0.4f, 0.6f, 0, 0);
    float lowX, highX;
    slider->SliderGetHandleX(&lowX, &highX);
    // A click left of the low end only logs.
    Move(lowX - 20, 125);
    rendertest::LogMark();
    Press();
    EXPECT_EQ(1, rendertest::CountLog("JUMP LEFT"));
    Release();
    float low, high;
    slider->SliderGetRange(&low, &high);
    EXPECT_FLOAT_EQ(0.4f, low);
    // Take the whole range by its middle and drag it right.
    Move((lowX + highX) / 2, 125);
    Press();
    EXPECT_TRUE(slider->IsCapturingInput());
    size_t before = Count();
    Move((lowX + highX) / 2 + 40, 125);
    slider->GetMWin()->HandleMouseMoveDesign((lowX + highX) / 2 + 40, 125);
    slider->SliderGetRange(&low, &high);
    EXPECT_GT(low, 0.45f);
    EXPECT_NEAR(0.2f, high - low, 1e-4);
    EXPECT_GT(Count(), before);
    EXPECT_EQ(1, Last().sliderHeld);
    Release();
    EXPECT_EQ(0, Last().sliderHeld);
    EXPECT_FALSE(slider->IsCapturingInput());
    // Holding the high end and pulling it past the low end pushes the low end along.
    slider->SliderGetHandleX(&lowX, &highX);
    Move(highX - 1, 125);
    Press();
    Move(lowX - 60, 125);
    Release();
    slider->SliderGetRange(&low, &high);
    EXPECT_NEAR(0.1f, high - low, 1e-4);
    mwin->RenderMain();
}

TEST_F(MWinKindsTest, ListOpensMovesAndClosesByKeysWheelAndMouse)
{
    static const char *items[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
    MWinButton *list = Add("List", MWIN_BUTTON_LIST, 10, 10, 150, 20);
    ASSERT_TRUE(list->ListSetStrings(5, items));
    int bound = 2;
    list->ListRegisterIntVariable(&bound, 0);
    EXPECT_EQ(2, list->ListGetPos());
    list->ListSetPos(0, 0);
    EXPECT_EQ(0, bound);
    Over(list);
    // Closed, Down opens, moves and closes accepting: one step.
    Key(40);
    Up(40);
    EXPECT_FALSE(list->ListIsOpen());
    EXPECT_EQ(1, list->ListGetPos());
    EXPECT_EQ(1, bound);
    EXPECT_EQ(1, Last().listEvent);
    // Enter opens; Down moves the highlight; Escape closes without a choice (event 2).
    Key(13);
    Up(13);
    EXPECT_TRUE(list->ListIsOpen());
    EXPECT_TRUE(list->IsCapturingInput());
    Key(40);
    Up(40);
    Key(27);
    Up(27);
    EXPECT_FALSE(list->ListIsOpen());
    EXPECT_EQ(2, Last().listEvent);
    EXPECT_EQ(1, list->ListGetPos());
    // Type-ahead in the open list, then Enter accepts.
    Key(13);
    Up(13);
    Key('E');
    Up('E');
    Key(13);
    Up(13);
    EXPECT_EQ(4, list->ListGetPos());
    // The wheel on the last item does nothing; upward it steps back once.
    size_t before = Count();
    Over(list);
    mwin->HandleInput(MWIN_INPUT_WHEEL, -1, 0);
    EXPECT_EQ(before, Count());
    mwin->HandleInput(MWIN_INPUT_WHEEL, 1, 0);
    EXPECT_EQ(3, list->ListGetPos());
    // Mouse: a click opens, a click inside the box accepts the highlight.
    Over(list);
    Press();
    Release();
    EXPECT_TRUE(list->ListIsOpen());
    mwin->RenderMain();
    Over(list);
    Press();
    Release();
    EXPECT_FALSE(list->ListIsOpen());
    EXPECT_EQ(3, list->ListGetPos());
}

TEST_F(MWinKindsTest, ScrollbarStepsPagesAndDragsWithinItsRange)
{
    MWinGroup *group = window->GetDefaultGroup();
    ASSERT_TRUE(group->PreAddButton("Bar", MWIN_BUTTON_VERT_SCROLLBAR, 10, 10, 20, 150));
    auto *bar = new MWinVertScrollbar(mwin, "Bar", group, "", window, 10, 10, 20, 150);
    ASSERT_TRUE(group->CompleteAddButton(bar));
    bar->SetCallback(Heard::Record, 0, 0);
    bar->SetRange(0.0, 50.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(5.0, bar->GetPage());
    EXPECT_DOUBLE_EQ(0.5, bar->GetStep());
    // A range the wrong way round leaves the old one.
    bar->SetRange(10.0, 0.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(50.0, bar->GetMaximum());
    // 0..10 with step 3 at 8: a step down would pass the maximum and does nothing.
    bar->SetRange(0.0, 10.0, 4.0, 3.0);
    int bound = 0;
    bar->RegisterIntVariable(&bound, 1);
    bar->SetPosDouble(8.0, false, false, false);
    Over(bar, 0.5f, 0.05f);
    Key(40);
    Up(40);
    EXPECT_DOUBLE_EQ(8.0, bar->GetPos());
    Key(34); // a page reaches the end
    Up(34);
    EXPECT_DOUBLE_EQ(10.0, bar->GetPos());
    EXPECT_EQ(10, bound);
    // The same value again without force fires without storing.
    size_t before = Count();
    bound = 3;
    bar->SetPosDouble(10.0, false, false, true);
    EXPECT_EQ(before + 1, Count());
    EXPECT_EQ(3, bound);
    // The knob pulled above the track clamps to the minimum, and the drag's end fires once
    // more with the drag flag off.
    float knob = bar->GetKnobTop() + bar->GetKnobHeight() / 2;
    Move(120, knob);
    Press();
    EXPECT_TRUE(bar->IsCapturingInput());
    Move(120, 0);
    EXPECT_DOUBLE_EQ(0.0, bar->GetPos());
    EXPECT_EQ(1, Last().sliderHeld);
    Release();
    EXPECT_EQ(0, Last().sliderHeld);
    EXPECT_FALSE(bar->IsCapturingInput());
    mwin->RenderMain();
}

} // namespace
