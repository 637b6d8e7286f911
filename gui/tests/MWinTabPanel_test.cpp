// The tab panel: column widths, rows per page, scrolling with its own scrollbar (no
// member of any group, unseen by controllers), selection by mouse and keys, tables of
// 0 and 1,000 rows, and callbacks that change the row count.
#include "GuiFixture.h"

#include <cstdio>
#include <cstring>

#include "MWinScrollbar.h"
#include "MWinTabPanel.h"

namespace
{

const char *Cell(int row, int column, MWinTabPanel *)
{
    static char text[32];
    if (row < 0)
        snprintf(text, sizeof(text), "Head %d", column);
    else
        snprintf(text, sizeof(text), "%d.%d", row, column);
    return text;
}

// A cell callback that shrinks the table while it is being drawn.
int s_shrinkTo = -1;
const char *ShrinkingCell(int row, int column, MWinTabPanel *panel)
{
    if (s_shrinkTo >= 0 && row >= 0)
    {
        int rows = s_shrinkTo;
        s_shrinkTo = -1;
        panel->SetNumRows(rows);
    }
    return Cell(row, column, panel);
}

struct TabLog
{
    std::vector<_MWinButtonCallbackInfo> infos;
    std::function<void(MWinTabPanel *)> onFire;
    static TabLog &Get()
    {
        static TabLog log;
        return log;
    }
    static void Record(MWin *, _MWinButtonCallbackInfo *info, int, int)
    {
        Get().infos.push_back(*info);
        if (Get().onFire)
            Get().onFire((MWinTabPanel *)info->button);
    }
};

class MWinTabPanelTest : public guitest::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        TabLog::Get().infos.clear();
        TabLog::Get().onFire = nullptr;
        window = MakeWindow("Screen", "MainWin", 100, 50, 420, 300);
        panel = MWinTabPanel::Add(window, "Scores", 10, 10, 400, 200);
        ASSERT_NE(nullptr, panel);
        panel->SetFont("Main");
        panel->SetCallback(TabLog::Record, 0, 0);
    }
    void OverRow(int visibleRow)
    {
        const _Dimension *rows = panel->GetRowsArea();
        Move(rows->x + 20, rows->y + (visibleRow + 0.5f) * panel->GetRowHeight());
    }

    MWinWindow *window = nullptr;
    MWinTabPanel *panel = nullptr;
};

TEST_F(MWinTabPanelTest, ColumnWidthsFromPercentages)
{
    struct Row
    {
        int percents[4];
        int columns;
        float shares[4]; // of the available width, in percent
    } rows[] = {
        {{10, 40, 0, 0}, 4, {10, 40, 25, 25}},
        {{30, 30, 0, 0}, 2, {50, 50, 0, 0}},
        {{0, 0, 0, 0}, 4, {25, 25, 25, 25}},
        {{60, 60, 0, 0}, 2, {50, 50, 0, 0}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.percents[0]);
        ASSERT_TRUE(panel->SetEntryCallback(5, row.columns, 0, Cell));
        for (int c = 0; c < row.columns; c++)
            if (row.percents[c])
                panel->SetColumnWidthPercentage(c, row.percents[c]);
        float available = panel->GetRowsArea()->w - 2 * 2.0f;
        float x = 0;
        for (int c = 0; c < row.columns; c++)
        {
            EXPECT_NEAR(row.shares[c] * available / 100, panel->GetColumn(c)->width, 0.01f);
            EXPECT_NEAR(x, panel->GetColumn(c)->x, 0.01f);
            x += panel->GetColumn(c)->width;
        }
    }
    EXPECT_FALSE(panel->SetColumnWidthPercentage(9, 10));
    EXPECT_FALSE(panel->SetColumnWidthPercentage(0, 101));
}

TEST_F(MWinTabPanelTest, ARefusedEntryCallbackKeepsTheOldTable)
{
    ASSERT_TRUE(panel->SetEntryCallback(25, 3, 0, Cell));
    panel->SelectRow(4, 1, false, 0);
    EXPECT_FALSE(panel->SetEntryCallback(10, 0, 0, Cell));
    EXPECT_FALSE(panel->SetEntryCallback(-1, 2, 0, Cell));
    EXPECT_EQ(25, panel->GetNumRows());
    EXPECT_EQ(3, panel->GetNumColumns());
    EXPECT_EQ(4, panel->GetFirstSelectedRow());
    // Rows per page: 200 high fits 10 rows, 15 in the tighter mode.
    EXPECT_EQ(10, panel->GetRowsPerPage());
    ASSERT_TRUE(panel->SetEntryCallback(25, 3, -2, nullptr));
    EXPECT_EQ(15, panel->GetRowsPerPage());
}

TEST_F(MWinTabPanelTest, NoRowsAndAThousandRows)
{
    ASSERT_TRUE(panel->SetEntryCallback(0, 3, 0, Cell));
    EXPECT_FALSE(panel->IsScrollbarShown());
    EXPECT_FALSE(panel->SelectRow(0, 1, true, 1));
    OverRow(1);
    Press();
    Release();
    EXPECT_TRUE(TabLog::Get().infos.empty());
    mwin->RenderMain();

    ASSERT_TRUE(panel->SetEntryCallback(1000, 3, 0, Cell));
    panel->SetLayoutOptions(true, true, true, true, 0, true, 20);
    ASSERT_TRUE(panel->IsScrollbarShown());
    MWinVertScrollbar *bar = panel->GetScrollbar();
    // The panel's own scrollbar is in no group: the window cannot find it by its id.
    EXPECT_EQ(nullptr, window->GetButtonFromID(MWIN_TP_VS_ID, false));
    EXPECT_DOUBLE_EQ(1000.0 - panel->GetRowsPerPage(), bar->GetMaximum());
    // Selecting a row far below scrolls it into view at the bottom of the page.
    panel->SelectRow(30, 1, false, 0);
    EXPECT_EQ(30 - panel->GetRowsPerPage() + 1, panel->GetFirstVisibleRow());
    // Keys and the wheel scroll; never past the last page.
    OverRow(0);
    for (int i = 0; i < 200; i++)
    {
        Key(34);
        Up(34);
    }
    EXPECT_EQ(1000 - panel->GetRowsPerPage(), panel->GetFirstVisibleRow());
    EXPECT_EQ(999, panel->GetLastVisibleRow());
    mwin->HandleInput(MWIN_INPUT_WHEEL, 3, 0);
    EXPECT_EQ(1000 - panel->GetRowsPerPage() - 3, panel->GetFirstVisibleRow());
    // A click selects the row under the mouse and fires with event 1.
    OverRow(2);
    Press();
    Release();
    ASSERT_FALSE(TabLog::Get().infos.empty());
    EXPECT_EQ(panel->GetFirstVisibleRow() + 2, TabLog::Get().infos.back().panelRow);
    EXPECT_EQ(1, TabLog::Get().infos.back().panelActivated);
    // A heading click on the sort column turns its order round.
    panel->SetSortColumn(1, 0, true);
    Move(panel->GetRowsArea()->x + panel->GetColumn(1)->x + 5, panel->GetScreenAreaP()->y + 5);
    Press();
    Release();
    EXPECT_TRUE(panel->IsSortAscending());
    EXPECT_EQ(-1, TabLog::Get().infos.back().panelRow);
    mwin->RenderMain();
}

TEST_F(MWinTabPanelTest, CallbacksThatChangeTheRowCount)
{
    ASSERT_TRUE(panel->SetEntryCallback(1000, 3, 0, Cell));
    // The button callback empties most of the table while the click is handled.
    TabLog::Get().onFire = [](MWinTabPanel *p) { p->SetNumRows(3); };
    OverRow(1);
    Press();
    Release();
    EXPECT_EQ(3, panel->GetNumRows());
    EXPECT_FALSE(panel->IsScrollbarShown());
    mwin->RenderMain();
    // The cell callback shrinks the table in the middle of a draw, scrollbar and all.
    TabLog::Get().onFire = nullptr;
    ASSERT_TRUE(panel->SetEntryCallback(1000, 3, 0, ShrinkingCell));
    panel->SetScrollPos(500);
    s_shrinkTo = 2;
    mwin->RenderMain();
    EXPECT_EQ(2, panel->GetNumRows());
    EXPECT_FALSE(panel->IsScrollbarShown());
    EXPECT_EQ(0, panel->GetFirstVisibleRow());
    mwin->RenderMain();
}

// A controller that reports every id it does not know.
class StrictController : public guitest::RecordingController
{
public:
    using RecordingController::RecordingController;
    bool ControlCB(MWinButton *pressed, _MWinButtonCallbackInfo *info) override
    {
        ids.push_back(info->buttonId);
        return true;
    }
    std::vector<std::string> ids;
};

TEST_F(MWinTabPanelTest, TheScrollbarNeverReachesTheController)
{
    std::vector<std::string> log;
    StrictController controller("Ctl", &log);
    window->SetController(&controller);
    ASSERT_TRUE(panel->SetEntryCallback(100, 2, 0, Cell));
    const _Dimension *bar = panel->GetScrollbar()->GetScreenAreaP();
    Move(bar->x + bar->w / 2, bar->y + bar->h - 5);
    Press();
    Release();
    mwin->Tick();
    EXPECT_GT(panel->GetFirstVisibleRow(), 0);
    for (const std::string &id : controller.ids)
        EXPECT_NE(MWIN_TP_VS_ID, id);
    window->ClearController();
}

} // namespace
