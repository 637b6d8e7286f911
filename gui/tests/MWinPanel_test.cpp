// The panel: paged rows from a callback, selection by mouse, wheel, keys and type-ahead,
// its own scrollbar, multi-selection, and callbacks that delete the panel.
#include "GuiFixture.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

struct PanelLog
{
    std::vector<_MWinButtonCallbackInfo> infos;
    std::function<void()> onFire;
    static PanelLog &Get()
    {
        static PanelLog log;
        return log;
    }
    static void Record(MWin *, _MWinButtonCallbackInfo *info, int, int)
    {
        Get().infos.push_back(*info);
        if (Get().onFire)
            Get().onFire();
    }
};

// Rows "Row 0" ... "Row n", and a few fixed names for type-ahead.
const char *RowText(int row, MWinButton *, void *user)
{
    static char text[32];
    const char *const *names = (const char *const *)user;
    if (names)
        return names[row];
    snprintf(text, sizeof(text), "Row %d", row);
    return text;
}

class MWinPanelTest : public guitest::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        PanelLog::Get().infos.clear();
        PanelLog::Get().onFire = nullptr;
        window = MakeWindow("Screen", "MainWin", 100, 100, 300, 250);
    }
    // A panel 200 high: 10 rows of the default height 20.
    MWinButton *AddPanel(int rows, const char *const *names = nullptr)
    {
        MWinButton *panel = window->AddButton("List", MWIN_BUTTON_PANEL, "", "", 10, 10, 200, 200, PanelLog::Record,
                                              0, 0);
        panel->SetFont("Main");
        EXPECT_TRUE(panel->PanelSetStringsCallback(rows, -1, RowText, (void *)names));
        return panel;
    }
    // The middle of visible slot n of the panel.
    void OverSlot(int n) { Move(150, 110 + n * 20 + 10); }
    size_t Count() { return PanelLog::Get().infos.size(); }
    const _MWinButtonCallbackInfo &Last() { return PanelLog::Get().infos.back(); }

    MWinWindow *window = nullptr;
};

TEST_F(MWinPanelTest, RowCountsFromNoneToTenThousand)
{
    struct Row
    {
        int rows;
        bool scrollbar;
        int pageDownSel;  // after one Page Down from row 0
        float pageDownScroll;
    } rows[] = {
        {0, false, 0, 0},
        {1, false, 0, 0},
        {10, false, 9, 0},  // exactly one page
        {10000, true, 10, 1},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.rows);
        MWinButton *panel = AddPanel(row.rows);
        EXPECT_EQ(10, panel->PanelGetNumPerPage());
        EXPECT_EQ(row.scrollbar, panel->PanelIsScrollbarShown());
        // Never a negative scroll, however few rows there are.
        panel->PanelCenterOnPos();
        EXPECT_EQ(0.0f, panel->PanelGetScrollPos());
        OverSlot(0);
        EXPECT_TRUE(Key(34));
        Up(34);
        EXPECT_EQ(row.pageDownSel, panel->PanelGetPos());
        EXPECT_EQ(row.pageDownScroll, panel->PanelGetScrollPos());
        // The wheel scrolls and never past the ends.
        mwin->HandleInput(MWIN_INPUT_WHEEL, -3, 0);
        float top = row.rows > 10 ? (float)row.rows - 10 : 0;
        EXPECT_LE(panel->PanelGetScrollPos(), top);
        mwin->HandleInput(MWIN_INPUT_WHEEL, 100000, 0);
        EXPECT_EQ(0.0f, panel->PanelGetScrollPos());
        mwin->RenderMain();
        window->GetDefaultGroup()->RemoveButton(panel);
    }
}

TEST_F(MWinPanelTest, KeysOnTenThousandRows)
{
    MWinButton *panel = AddPanel(10000);
    int bound = 0;
    panel->PanelRegisterIntVariable(&bound, 0);
    OverSlot(0);
    // Up at row 0: handled, nothing moves.
    EXPECT_TRUE(Key(38));
    Up(38);
    EXPECT_EQ(0, panel->PanelGetPos());
    // Scrolling brings the row in at the bottom of the page.
    panel->PanelSetPos(9995, 0, 0);
    EXPECT_EQ(9986.0f, panel->PanelGetScrollPos());
    Key(34);
    Up(34);
    EXPECT_EQ(9999, panel->PanelGetPos());
    EXPECT_EQ(9999, bound);
    EXPECT_EQ(9990.0f, panel->PanelGetScrollPos());
    EXPECT_EQ(2, Last().panelCause);
    Key(40); // at the last row: handled, no change
    Up(40);
    EXPECT_EQ(9999, panel->PanelGetPos());
    Key(33);
    Up(33);
    EXPECT_EQ(9989, panel->PanelGetPos());
    EXPECT_EQ(9989.0f, panel->PanelGetScrollPos());
    // Enter activates the selected row.
    Key(13);
    Up(13);
    EXPECT_EQ(1, Last().panelActivated);
    EXPECT_EQ(9989, Last().panelRow);
    // Each slot is drawn from the callback: the visible rows only.
    int first, end;
    panel->PanelGetVisibleRange(&first, &end);
    EXPECT_EQ(10, end - first);
    mwin->RenderMain();
}

TEST_F(MWinPanelTest, TypeAheadSearchesOnFromTheSelectionAndWraps)
{
    static const char *const names[] = {"Bob", "Ann", "Bea", "Carl"};
    MWinButton *panel = AddPanel(4, names);
    OverSlot(0);
    EXPECT_TRUE(Key('B'));
    Up('B');
    EXPECT_EQ(2, panel->PanelGetPos());
    EXPECT_EQ(0, Last().panelCause);
    Key('B');
    Up('B');
    EXPECT_EQ(0, panel->PanelGetPos());
    // No row begins with Z: the key is not taken.
    EXPECT_FALSE(Key('Z'));
    Up('Z');
    EXPECT_EQ(0, panel->PanelGetPos());
}

TEST_F(MWinPanelTest, MouseSelectsOnReleaseAndTheScrollbarPagesAndDrags)
{
    MWinButton *panel = AddPanel(100);
    const _Dimension *s = panel->GetScreenAreaP();
    OverSlot(3);
    Press();
    EXPECT_EQ(0, panel->PanelGetPos()); // not on the press
    Release();
    EXPECT_EQ(3, panel->PanelGetPos());
    EXPECT_EQ(1, Last().panelCause);
    // A press on the bar below the thumb pages down.
    float barX = s->x + s->w - 3;
    Move(barX, s->y + s->h - 10);
    Press();
    Release();
    EXPECT_EQ(10.0f, panel->PanelGetScrollPos());
    // The thumb: a press takes it, a release over a row selects nothing.
    float thumb[4];
    panel->PanelGetVisibleRowArea(0, thumb);
    Move(barX, s->y + 10 + 10.0f * (s->h - 6) / 100.0f + 2);
    Press();
    ASSERT_TRUE(panel->IsCapturingInput());
    Move(barX, s->y + s->h / 2);
    EXPECT_GT(panel->PanelGetScrollPos(), 10.0f);
    OverSlot(5);
    Release();
    EXPECT_EQ(3, panel->PanelGetPos());
    EXPECT_FALSE(panel->IsCapturingInput());
    // A double click activates the selection as by keyboard.
    mwin->HandleInput(MWIN_INPUT_DOUBLE_CLICK, 0, 0);
    EXPECT_EQ(1, Last().panelActivated);
    EXPECT_EQ(2, Last().panelCause);
}

TEST_F(MWinPanelTest, MultiSelectAndNoSelection)
{
    MWinButton *panel = AddPanel(20);
    panel->PanelAllowNoSelection();
    panel->PanelSetStringsCallback(20, -1, RowText, nullptr);
    EXPECT_EQ(-1, panel->PanelGetPos());
    panel->PanelSetPos(-5, 0, 0);
    EXPECT_EQ(-1, panel->PanelGetPos());
    EXPECT_EQ(0.0f, panel->PanelGetScrollPos());
    ASSERT_TRUE(panel->PanelSetMultiSelect(1, 0));
    panel->PanelSetPos(2, 0, 1);
    EngKeyStates[16] = 2; // Shift held
    panel->PanelSetPos(5, 0, 1);
    EngKeyStates[16] = 0;
    EXPECT_EQ(4, panel->PanelGetNumMultiSelected());
    EXPECT_EQ(2, panel->PanelGetNthMultiSelected(0));
    EXPECT_EQ(5, panel->PanelGetNthMultiSelected(3));
    EXPECT_FALSE(panel->PanelIsRowMultiSelected(6));
    // Type-ahead is off with multi-selection.
    OverSlot(0);
    EXPECT_FALSE(Key('R'));
    Up('R');
    mwin->RenderMain();
}

TEST_F(MWinPanelTest, RowsPerPageRules)
{
    MWinButton *panel = AddPanel(50);
    // -2 asks for compact rows of 0.66 of the default height: 200 / 13.2 = 15.
    panel->PanelSetStringsCallback(50, -2, RowText, nullptr);
    EXPECT_EQ(15, panel->PanelGetNumPerPage());
    panel->PanelSetStringsCallback(50, 7, RowText, nullptr);
    EXPECT_EQ(7, panel->PanelGetNumPerPage());
    // A fixed count stays when the size changes; a height rule follows it.
    panel->SetArea(10, 10, 200, 100);
    EXPECT_EQ(7, panel->PanelGetNumPerPage());
    panel->PanelSetStringsCallback(50, -1, RowText, nullptr);
    EXPECT_EQ(5, panel->PanelGetNumPerPage());
    EXPECT_FALSE(panel->PanelSetStringsCallback(-1, -1, RowText, nullptr));
    EXPECT_EQ(50, panel->PanelGetNumRows());
}

TEST_F(MWinPanelTest, ACallbackThatDeletesThePanelEndsTheHandling)
{
    AddPanel(30);
    PanelLog::Get().onFire = [this]() { mwin->GetDesktop()->RemoveCollection("Screen"); };
    OverSlot(1);
    Key(40);
    Up(40);
    EXPECT_EQ(nullptr, mwin->GetDesktop()->GetCollectionFromID("Screen", false));
    window = MakeWindow("Screen", "MainWin", 100, 100, 300, 250);
    AddPanel(30);
    OverSlot(2);
    Press();
    Release();
    EXPECT_EQ(nullptr, mwin->GetDesktop()->GetCollectionFromID("Screen", false));
    window = MakeWindow("Screen", "MainWin", 100, 100, 300, 250);
    AddPanel(30);
    OverSlot(2);
    mwin->HandleInput(MWIN_INPUT_DOUBLE_CLICK, 0, 0);
    EXPECT_EQ(nullptr, mwin->GetDesktop()->GetCollectionFromID("Screen", false));
}

} // namespace
