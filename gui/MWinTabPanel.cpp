// The tab panel (kind 15): column widths, rows per page, the scroll layout with the
// panel's own scrollbar (which is no member of any group: the panel creates, places and
// deletes it, and its changes never reach a controller), drawing, and input.
//
// Sections: life; the table's shape; selection and scrolling; layout; drawing; input.
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngFont.h"
#include "MWinKinds.h"
#include "MWinScrollbar.h"
#include "MWinTabPanel.h"

// ---- Life ---------------------------------------------------------------------------------

MWinTabPanel *MWinTabPanel::Add(MWinWindow *window, const char *id, float x, float y, float w, float h,
                                MWinGroup *group)
{
    if (!window)
        return nullptr;
    if (!group)
        group = window->GetDefaultGroup();
    if (!group || !group->PreAddButton(id, MWIN_BUTTON_TAB_PANEL, x, y, w, h))
        return nullptr;
    MWinTabPanel *panel = new MWinTabPanel(window->GetMWin(), id, group, x, y, w, h);
    if (!group->CompleteAddButton(panel))
        return nullptr;
    return panel;
}

MWinTabPanel::MWinTabPanel(MWin *mwin, const char *id, MWinGroup *group, float x, float y, float w, float h)
    : MWinButton(mwin, id, group, MWIN_BUTTON_TAB_PANEL, MWIN_TEXBUT_DEFAULT, "", x, y, w, h), columns(nullptr),
      numColumns(0), selected(nullptr), numRows(0), cellText(nullptr), rowColour(nullptr), textScaleCallback(nullptr),
      cellDraw(nullptr), rowsPerPage(1), perPageMode(1), scroll(0), rowHeight(0), rowsArea{}, headingHeight(0),
      scrollbar(nullptr), sortColumn(-1), prevSortColumn(-1), sortAscending(0), prevSortAscending(0), heading(false),
      emptyRows(true), sortable(true), selectionMode(0), ownBackground(1), dividers(1), rowBackgrounds(1),
      headingBackground(1), sideMargin(2), topBottomMargin(2), headingOffset(0), rowAlpha(0.75f), headingAlpha(1)
{
    const _MWinKindSettings *settings = MWinKindsGetSettings();
    alternateRows = settings->tabAlternateRows;
    selectable = settings->tabSelectable;
    equalWidths = settings->tabEqualWidths;
    spanRows = settings->tabBackgroundsSpan;
    headingHeight = MWinKindLayout(this, MWIN_LF_TAB_HEADING_H);
    // The toolkit's own default is a small inset; a heading needs room for a line.
    if (headingHeight < 12)
        headingHeight = 20;
    dividerTop = MWinKindLayout(this, MWIN_LF_TAB_DIVIDER_TOP);
    dividerBottom = MWinKindLayout(this, MWIN_LF_TAB_DIVIDER_BOTTOM);
    for (int i = 0; i < 2; i++)
    {
        headingScale[i] = 1;
        rowScale[0][i] = rowScale[1][i] = 1;
    }
    for (int i = 0; i < 4; i++)
        headingColour[i] = rowColours[0][i] = rowColours[1][i] = 1;
    SetKindReady(true);
    CalcRowsPerPage();
    UpdateScrollLayout();
}

MWinTabPanel::~MWinTabPanel()
{
    delete scrollbar;
    scrollbar = nullptr;
    free(columns);
    free(selected);
}

// ---- The table's shape --------------------------------------------------------------------

bool MWinTabPanel::SetEntryCallback(int rows, int newColumns, int perPage, MWinTabCellTextFn callback)
{
    if (newColumns < 1)
    {
        DebugError(ENG_FUNC, "invalid num cols %d (ID: %s)", newColumns, id);
        return false;
    }
    if (rows < 0)
    {
        DebugError(ENG_FUNC, "invalid num rows %d (ID: %s)", rows, id);
        return false;
    }
    if (!callback && !cellText)
    {
        DebugError(ENG_FUNC, "Null callback entry (ID: %s)", id);
        return false;
    }
    _MWinTabColumn *made = (_MWinTabColumn *)calloc((size_t)newColumns, sizeof(_MWinTabColumn));
    if (!made)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return false;
    }
    for (int i = 0; i < newColumns; i++)
    {
        made[i].align = -1;
        made[i].scale[0] = made[i].scale[1] = 1;
        for (int c = 0; c < 4; c++)
            made[i].colour[c] = 1;
    }
    free(columns);
    columns = made;
    numColumns = newColumns;
    if (callback)
        cellText = callback;
    perPageMode = perPage == -2 ? 2 : perPage == -3 ? 3 : perPage > 0 ? 0 : 1;
    if (perPage > 0)
        rowsPerPage = perPage;
    CalcRowsPerPage();
    SetNumRows(rows);
    tokenMode = false;
    scroll = 0;
    UpdateScrollLayout();
    CalcColumnWidths();
    RequestRedraw();
    return true;
}

bool MWinTabPanel::SetNumRows(int rows)
{
    if (!columns)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (rows < 0)
        rows = 0;
    uint8_t *flags = (uint8_t *)calloc((size_t)rows + 1, 1);
    if (!flags)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return false;
    }
    free(selected);
    selected = flags;
    numRows = rows;
    CalcRowsPerPage();
    UpdateScrollLayout();
    CalcColumnWidths();
    RequestRedraw();
    return true;
}

const _MWinTabColumn *MWinTabPanel::GetColumn(int column) const
{
    return column >= 0 && column < numColumns ? &columns[column] : nullptr;
}

bool MWinTabPanel::SetColumnWidthPercentage(int column, int percent)
{
    if (column < 0 || column >= numColumns)
    {
        DebugError(ENG_FUNC, "Column does not exist [%d]", column);
        return false;
    }
    if (percent > 100 || percent < 0)
    {
        DebugError(ENG_FUNC, "Invalid percentage: [%d]", percent);
        return false;
    }
    columns[column].percent = (uint8_t)percent;
    equalWidths = false;
    CalcColumnWidths();
    return true;
}

bool MWinTabPanel::SetColumnTextAlign(int column, _MWinTextAlign align)
{
    if (column < 0 || column >= numColumns)
    {
        DebugError(ENG_FUNC, "Column does not exist [%d]", column);
        return false;
    }
    columns[column].align = align;
    return true;
}

bool MWinTabPanel::SetColumnHidden(int column, bool hidden)
{
    if (column < 0 || column >= numColumns)
    {
        DebugError(ENG_FUNC, "Column does not exist [%d]", column);
        return false;
    }
    columns[column].hidden = hidden;
    CalcColumnWidths();
    return true;
}

bool MWinTabPanel::SetLayoutOptions(bool showHeading, bool alternate, bool empty, bool canSelect, char mode,
                                    bool canSort, float newHeadingHeight)
{
    heading = showHeading;
    alternateRows = alternate;
    emptyRows = empty;
    selectable = canSelect;
    selectionMode = mode;
    sortable = canSort;
    if (newHeadingHeight > 0)
        headingHeight = newHeadingHeight;
    if (!heading)
        headingHeight = 0;
    else if (headingHeight <= 0)
        headingHeight = MWinKindLayout(this, MWIN_LF_TAB_HEADING_H) >= 12 ? MWinKindLayout(this, MWIN_LF_TAB_HEADING_H)
                                                                           : 20;
    CalcRowsPerPage();
    UpdateScrollLayout();
    CalcColumnWidths();
    return true;
}

void MWinTabPanel::SetDrawSettings(char background, float side, float topBottom, float offset, char drawDividers,
                                   float divTop, float divBottom, char rowBacks, float alpha, char headingBack,
                                   float headAlpha)
{
    if (background >= 0)
        ownBackground = background;
    if (side >= 0)
        sideMargin = side;
    if (topBottom >= 0)
        topBottomMargin = topBottom;
    if (offset >= 0)
        headingOffset = offset;
    if (drawDividers >= 0)
        dividers = drawDividers;
    if (divTop >= 0)
        dividerTop = divTop;
    if (divBottom >= 0)
        dividerBottom = divBottom;
    if (rowBacks >= 0)
        rowBackgrounds = rowBacks;
    if (alpha >= 0)
        rowAlpha = alpha;
    if (headingBack >= 0)
        headingBackground = headingBack;
    if (headAlpha >= 0)
        headingAlpha = headAlpha;
    UpdateScrollLayout();
    CalcColumnWidths();
}

void MWinTabPanel::SetHeadingStyle(float scaleX, float scaleY, const float *colour)
{
    headingScale[0] = scaleX;
    headingScale[1] = scaleY;
    if (colour)
        memcpy(headingColour, colour, sizeof(headingColour));
}

void MWinTabPanel::SetRowStyle(bool odd, float scaleX, float scaleY, const float *colour)
{
    rowScale[odd][0] = scaleX;
    rowScale[odd][1] = scaleY;
    if (colour)
        memcpy(rowColours[odd], colour, sizeof(rowColours[odd]));
}

// ---- Selection and scrolling --------------------------------------------------------------

bool MWinTabPanel::SelectRow(int row, char select, bool fire, char event)
{
    if (kind != MWIN_BUTTON_TAB_PANEL)
    {
        DebugError(ENG_FUNC, "Button is not a panel");
        return false;
    }
    if (numRows < 1)
    {
        DebugError(ENG_FUNC, "No rows");
        return false;
    }
    if (row < 0 || row >= numRows)
    {
        DebugError(ENG_FUNC, "Bad row number [%d]", row);
        return false;
    }
    selected[row] = select > 0 ? 1 : select == 0 ? 0 : !selected[row];
    int first = GetFirstVisibleRow();
    if (row < first)
        scroll = (float)row;
    else if (row >= first + rowsPerPage)
        scroll = (float)(row - rowsPerPage + 1);
    UpdateScrollLayout();
    MWinKindWriteBound(this, row);
    RequestRedraw();
    if (fire)
        return FireRow(row, event);
    return true;
}

// Tells the callback of a row; the callback may change the table (or remove the panel),
// so nothing of it is read afterwards.
bool MWinTabPanel::FireRow(int row, char event)
{
    if (!HasCallback() && !(window && window->HasController()))
        return true;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.panelRow = row;
    info.checkboxState = row >= 0 && row < numRows ? selected[row] : 0;
    info.panelActivated = event;
    CallCallback(&info);
    return true;
}

bool MWinTabPanel::IsRowSelected(int row) const
{
    return row >= 0 && row < numRows && selected[row];
}

int MWinTabPanel::GetFirstSelectedRow() const
{
    for (int i = 0; i < numRows; i++)
        if (selected[i])
            return i;
    return -1;
}

void MWinTabPanel::ClearSelection()
{
    if (selected)
        memset(selected, 0, (size_t)numRows + 1);
    RequestRedraw();
}

int MWinTabPanel::GetFirstVisibleRow() const
{
    return scroll > 0 ? (int)scroll : 0;
}

int MWinTabPanel::GetLastVisibleRow() const
{
    int last = GetFirstVisibleRow() + rowsPerPage - 1;
    return last > numRows - 1 ? numRows - 1 : last;
}

bool MWinTabPanel::SetScrollPos(float position)
{
    float top = (float)(numRows - rowsPerPage);
    if (position > top)
        position = top;
    if (position < 0)
        position = 0;
    if (position == scroll)
        return false;
    scroll = position;
    if (scrollbar)
        scrollbar->SetPosDouble(scroll, false, false, false);
    RequestRedraw();
    return true;
}

bool MWinTabPanel::ScrollBy(int rowsDelta)
{
    return SetScrollPos((float)((int)scroll + rowsDelta));
}

bool MWinTabPanel::GetCellArea(int row, int column, float *out)
{
    if (!out || row < 0 || column < 0 || column >= numColumns || rowsPerPage < 1)
        return false;
    if (row < (int)(scroll - 1) || row >= (int)(scroll + 1) + rowsPerPage)
        return false;
    out[0] = screenArea.x + sideMargin + columns[column].x;
    out[1] = (row - scroll) * rowHeight + rowsArea.y;
    out[2] = columns[column].width;
    out[3] = rowHeight;
    return true;
}

bool MWinTabPanel::CropToTableRowsArea(bool withHeading)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwin.");
        return false;
    }
    float rect[4] = {rowsArea.x, rowsArea.y, rowsArea.w, rowsArea.h};
    if (withHeading && heading)
    {
        rect[1] -= headingHeight;
        rect[3] += headingHeight;
    }
    return StartClippingToRect(rect);
}

void MWinTabPanel::SetSortColumn(int column, char ascending, bool remember)
{
    if (column < 0)
    {
        sortColumn = prevSortColumn = -1;
        RequestRedraw();
        return;
    }
    if (remember && column != sortColumn)
    {
        prevSortColumn = sortColumn;
        prevSortAscending = sortAscending;
    }
    sortColumn = column;
    sortAscending = ascending;
    RequestRedraw();
}

// ---- Layout -------------------------------------------------------------------------------

void MWinTabPanel::CalcRowsPerPage()
{
    if (perPageMode <= 0)
        return;
    static const float base[MWIN_NUM_LAYOUTS] = {20, 32, 44, 18, 26};
    int layout = window ? window->GetScreenLayout() : 0;
    float rowBase = base[layout >= 0 && layout < MWIN_NUM_LAYOUTS ? layout : 0];
    if (perPageMode == 2)
        rowBase *= 0.66f;
    else if (perPageMode == 3)
        rowBase *= 0.4f;
    rowsPerPage = (int)(area.h / rowBase);
}

void MWinTabPanel::CalcColumnWidths()
{
    if (!columns)
        return;
    float available = rowsArea.w - 2 * sideMargin;
    int visibleCount = 0, zeroCount = 0, sum = 0;
    for (int i = 0; i < numColumns; i++)
    {
        if (columns[i].hidden)
            continue;
        visibleCount++;
        sum += columns[i].percent;
        zeroCount += columns[i].percent == 0 ? 1 : 0;
    }
    bool equal = equalWidths || sum == 0;
    if (sum == 0)
        equalWidths = true;
    float offset = 0;
    for (int i = 0; i < numColumns; i++)
    {
        _MWinTabColumn *column = &columns[i];
        float percent = 0;
        if (!column->hidden && visibleCount > 0)
        {
            if (equal)
                percent = 100.0f / visibleCount;
            else if (sum < 100 && zeroCount > 0)
                percent = column->percent ? column->percent : (100.0f - sum) / zeroCount;
            else
                percent = column->percent * 100.0f / sum;
        }
        column->width = percent * available * 0.01f;
        column->x = offset;
        offset += column->width;
    }
}

void MWinTabPanel::UpdateScrollLayout()
{
    float top = heading ? headingOffset : topBottomMargin;
    float shownHeading = heading ? headingHeight : 0;
    rowsArea.x = screenArea.x + sideMargin;
    rowsArea.y = screenArea.y + top + shownHeading;
    rowsArea.h = screenArea.h - shownHeading - top - topBottomMargin;
    rowsArea.w = screenArea.w - 2 * sideMargin;
    rowHeight = rowsPerPage > 0 ? rowsArea.h / rowsPerPage : rowsArea.h;
    float topScroll = (float)(numRows - rowsPerPage);
    if (scroll > topScroll)
        scroll = topScroll;
    if (scroll < 0)
        scroll = 0;
    if (numRows > rowsPerPage && rowsPerPage > 0 && group && window)
    {
        float barW = MWinKindLayout(this, MWIN_LF_PANEL_BAR_W);
        float ax = area.x + area.w - sideMargin - barW, ay = area.y + top + shownHeading;
        float ah = area.h - shownHeading - top - topBottomMargin;
        if (!scrollbar)
        {
            // The panel's own: made with the panel's group for its window and texture,
            // but never put into the group's list.
            scrollbar = new MWinVertScrollbar(mwin, MWIN_TP_VS_ID, group, MWIN_TEXBUT_DEFAULT, window, ax, ay, barW,
                                              ah);
            scrollbar->SetOwned(true);
            scrollbar->SetRange(0.0, 1.0, 0.1, 0.01);
        }
        scrollbar->SetArea(ax, ay, barW, ah > 2 ? ah : 2);
        scrollbar->SetRange(0.0, (double)(numRows - rowsPerPage), (double)rowsPerPage, 1.0);
        scrollbar->SetPosDouble(scroll, false, true, false);
        rowsArea.w = screenArea.w - 2 * sideMargin - barW;
    }
    else if (scrollbar)
    {
        scrollbar->Hide();
        delete scrollbar;
        scrollbar = nullptr;
    }
}

void MWinTabPanel::UpdateLayout()
{
    CalcRowsPerPage();
    UpdateScrollLayout();
    CalcColumnWidths();
    MWinButton::UpdateLayout();
}

bool MWinTabPanel::UpdateKind()
{
    return false;
}

// ---- Drawing ------------------------------------------------------------------------------

void MWinTabPanel::RenderBackRows()
{
    if (heading)
    {
        float rect[4] = {screenArea.x, screenArea.y + headingOffset, screenArea.w, headingHeight};
        StartClippingToRect(rect);
        float colour[4] = {1, 1, 1, headingAlpha};
        if (headingBackground)
            MWinKindDrawStdColour(this, MWIN_STD_TAB_HEADING, enabled ? 0 : MWIN_TEXSTATE_DISABLED,
                                  screenArea.x + sideMargin, screenArea.y + headingOffset,
                                  screenArea.w - 2 * sideMargin, headingHeight, colour);
        if (sortColumn >= 0 && sortColumn < numColumns && !columns[sortColumn].hidden)
        {
            float size = headingHeight / 3;
            float right = rowsArea.x + columns[sortColumn].x + columns[sortColumn].width;
            MWinKindDrawStd(this, sortAscending ? MWIN_STD_UP_ARROW : MWIN_STD_DOWN_ARROW, 0, right - size - 2,
                            screenArea.y + headingOffset + (headingHeight - size) / 2, size, size);
        }
        EndClipping();
    }
    if (rowsPerPage < 1)
    {
        DebugError("MWinTabPanel::RenderBack", "%s: NUM PER PAGE <= 0", id);
        return;
    }
    float rect[4] = {rowsArea.x, rowsArea.y, rowsArea.w, rowsArea.h};
    StartClippingToRect(rect);
    int first = GetFirstVisibleRow();
    int last = GetLastVisibleRow() + 1;
    if (last < first + rowsPerPage + 1)
        last = first + rowsPerPage + 1;
    float fraction = scroll - (int)scroll;
    float colour[4] = {1, 1, 1, rowAlpha};
    const float *tint = rowAlpha > 0 && rowAlpha < 1 ? colour : nullptr;
    bool perColumn = numColumns > 0 && !spanRows;
    for (int row = first; row < last; row++)
    {
        bool inData = row < numRows;
        if (!inData && !emptyRows)
            break;
        int slot;
        if (inData && selected[row])
            slot = MWIN_STD_TAB_ROW_SEL;
        else if (!rowBackgrounds)
            continue;
        else if (!inData)
            slot = MWIN_STD_TAB_ROW_EMPTY;
        else
            slot = alternateRows && (row & 1) ? MWIN_STD_TAB_ROW_BACK2 : MWIN_STD_TAB_ROW_BACK1;
        float y = (row - first - fraction) * rowHeight + rowsArea.y;
        if (perColumn)
        {
            for (int c = 0; c < numColumns; c++)
                if (columns[c].width > 0)
                    MWinKindDrawStdColour(this, slot, 0, rowsArea.x + columns[c].x, y, columns[c].width, rowHeight,
                                          tint);
        }
        else
            MWinKindDrawStdColour(this, slot, 0, rowsArea.x, y, rowsArea.w, rowHeight, tint);
    }
    if (cellDraw)
    {
        for (int row = first; row <= GetLastVisibleRow() && row < numRows; row++)
            for (int c = 0; c < numColumns; c++)
            {
                float cell[4];
                if (columns[c].width > 0 && GetCellArea(row, c, cell))
                {
                    _Dimension box = {cell[0], cell[1], cell[2], cell[3]};
                    cellDraw(row, c, &box, this);
                }
            }
    }
    EndClipping();
    float dividerW = MWinKindLayout(this, MWIN_LF_TAB_DIVIDER_W);
    if (dividers && spanRows && numColumns >= 2 && dividerW > 0)
    {
        float colourDiv[4] = {1, 1, 1, 0.5f};
        float topY = (heading ? screenArea.y + headingOffset : rowsArea.y) + dividerTop;
        float bottomY = emptyRows ? rowsArea.y + rowsArea.h - dividerBottom
                                  : rowsArea.y + (numRows - first - fraction) * rowHeight;
        if (bottomY > rowsArea.y + rowsArea.h)
            bottomY = rowsArea.y + rowsArea.h;
        for (int c = 0; c + 1 < numColumns; c++)
        {
            float x = rowsArea.x + columns[c].x + columns[c].width - dividerW / 2;
            if (bottomY > topY)
                MWinKindDrawStdColour(this, MWIN_STD_TAB_VERT_DIV, 0, x, topY, dividerW, bottomY - topY, colourDiv);
        }
    }
}

void MWinTabPanel::RenderTexts()
{
    EngFont *font = GetEngFont();
    if (!font || !cellText)
        return;
    if (rowsPerPage < 1)
    {
        DebugError("MWinTabPanel::RenderText", "%s: NUM PER PAGE <= 0", id);
        return;
    }
    _ColourRGBA savedColour;
    font->GetColour(&savedColour);
    float savedX, savedY;
    font->GetScale(&savedX, &savedY);
    if (heading)
    {
        for (int c = 0; c < numColumns; c++)
        {
            if (columns[c].hidden || columns[c].width <= 0)
                continue;
            const float *scale = textScaleCallback ? textScaleCallback(-1, c) : nullptr;
            const float *colour = rowColour ? rowColour(-1, c) : nullptr;
            if (!colour)
                colour = headingColour;
            font->SetScale(savedX * headingScale[0] * (scale ? scale[0] : 1),
                           savedY * headingScale[1] * (scale ? scale[1] : 1));
            font->SetColour(colour[0] * textColour[0], colour[1] * textColour[1], colour[2] * textColour[2],
                            colour[3] * textColour[3]);
            _Dimension box = {rowsArea.x + columns[c].x, screenArea.y + headingOffset, columns[c].width, headingHeight};
            int align = columns[c].align >= 0 ? columns[c].align : textAlign;
            const char *text = cellText(-1, c, this);
            mwin->DrawFontText(fontNum, (_MWinTextAlign)align, textMargin, &box, nullptr, text ? text : "", 0, true,
                               true);
        }
    }
    float rect[4] = {rowsArea.x, rowsArea.y, rowsArea.w, rowsArea.h};
    StartClippingToRect(rect);
    int first = GetFirstVisibleRow();
    float fraction = scroll - (int)scroll;
    // The cell callback may change the row count: the bounds are read again each time.
    for (int row = first; row <= first + rowsPerPage && row < numRows; row++)
    {
        float y = (row - first - fraction) * rowHeight + rowsArea.y;
        int odd = row & 1;
        for (int c = 0; c < numColumns && row < numRows; c++)
        {
            if (columns[c].hidden || columns[c].width <= 0)
                continue;
            float sx = rowScale[odd][0], sy = rowScale[odd][1];
            float colour[4];
            memcpy(colour, rowColours[odd], sizeof(colour));
            if (columns[c].ownScale)
            {
                sx *= columns[c].scale[0];
                sy *= columns[c].scale[1];
            }
            if (columns[c].ownColour)
                for (int k = 0; k < 4; k++)
                    colour[k] *= columns[c].colour[k];
            if (const float *scale = textScaleCallback ? textScaleCallback(row, c) : nullptr)
            {
                sx = scale[0];
                sy = scale[1];
            }
            if (const float *given = rowColour ? rowColour(row, c) : nullptr)
                memcpy(colour, given, sizeof(colour));
            font->SetScale(savedX * sx, savedY * sy);
            font->SetColour(colour[0] * textColour[0], colour[1] * textColour[1], colour[2] * textColour[2],
                            colour[3] * textColour[3]);
            _Dimension box = {rowsArea.x + columns[c].x, y, columns[c].width, rowHeight};
            int align = columns[c].align >= 0 ? columns[c].align : textAlign;
            const char *text = cellText(row, c, this);
            mwin->DrawFontText(fontNum, (_MWinTextAlign)align, textMargin, &box, nullptr, text ? text : "", 0, true,
                               true);
        }
    }
    EndClipping();
    font->SetScale(savedX, savedY);
    font->SetColourRGBA(&savedColour);
}

void MWinTabPanel::Render()
{
    if (!visible || !onScreen)
        return;
    if (ownBackground && IsDrawable())
    {
        RenderBackTexBut(GetDrawState());
        EndClipping();
    }
    RenderBackRows();
    ApplyFontScale();
    RenderTexts();
    if (extraRender)
        extraRender(this, &screenArea, GetDrawState(), extraRenderValue, extraRenderUser);
    if (scrollbar)
        scrollbar->Render();
}

// ---- Input --------------------------------------------------------------------------------

int MWinTabPanel::RowUnderMouse()
{
    float my = mwin->GetMouseY(), mx = mwin->GetMouseX();
    if (rowHeight <= 0 || my < rowsArea.y || my >= rowsArea.y + rowsArea.h || mx < rowsArea.x ||
        mx >= rowsArea.x + rowsArea.w)
        return -1;
    int row = (int)((my - rowsArea.y) / rowHeight + scroll);
    return row >= 0 && row < numRows ? row : -1;
}

int MWinTabPanel::ColumnUnderMouse()
{
    float mx = mwin->GetMouseX() - rowsArea.x;
    for (int c = 0; c < numColumns; c++)
        if (!columns[c].hidden && mx >= columns[c].x && mx < columns[c].x + columns[c].width)
            return c;
    return -1;
}

bool MWinTabPanel::MouseButtonPressed(int which, bool down, int flag)
{
    if (scrollbar && (scrollbar->IsCapturingInput() || scrollbar->IsMouseOver()))
    {
        bool taken = scrollbar->MouseButtonPressed(which, down, flag);
        SetScrollPos((float)scrollbar->GetPos());
        return taken;
    }
    if (!kindReady || !hoverOrFocus || !enabled || !visible || which != 0)
    {
        pressed = false;
        captureState = 0;
        return false;
    }
    if (!down)
        return true;
    float my = mwin->GetMouseY();
    if (heading && my >= screenArea.y + headingOffset && my < screenArea.y + headingOffset + headingHeight)
    {
        int column = ColumnUnderMouse();
        if (column < 0)
            return true;
        if (sortable)
        {
            if (column == sortColumn)
                sortAscending = !sortAscending;
            else
                SetSortColumn(column, 0, true);
        }
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.panelRow = -1;
        info.choiceIndex = column;
        info.panelActivated = 1;
        CallCallback(&info);
        return true;
    }
    int row = RowUnderMouse();
    if (!selectable || row < 0)
        return true;
    if (selectionMode == 2)
        return SelectRow(row, -1, true, 1);
    if (!MWinKindKeyHeld(MWIN_VK_SHIFT) && !MWinKindKeyHeld(MWIN_VK_CONTROL))
        ClearSelection();
    mwin->PlaySound(MWIN_SOUND_CHANGED);
    return SelectRow(row, 1, true, 1);
}

bool MWinTabPanel::MouseDoubleClicked(int which)
{
    if (!selectable || selectionMode != 0)
        return false;
    int row = GetFirstSelectedRow();
    if (row < 0)
        return false;
    return FireRow(row, 2);
}

bool MWinTabPanel::ReleaseCapture()
{
    if (scrollbar)
        scrollbar->ReleaseCapture();
    return MWinButton::ReleaseCapture();
}

bool MWinTabPanel::MouseMove()
{
    if (scrollbar && scrollbar->IsCapturingInput())
    {
        scrollbar->MouseMove();
        SetScrollPos((float)scrollbar->GetPos());
        return true;
    }
    return false;
}

bool MWinTabPanel::MouseWheel(int delta)
{
    if (scrollbar)
    {
        bool taken = scrollbar->MouseWheel(delta);
        if (taken)
            SetScrollPos((float)scrollbar->GetPos());
        return taken;
    }
    if (!selectable || selectionMode != 0 || delta == 0)
        return false;
    int row = GetFirstSelectedRow();
    if (row < 0)
        return false;
    int next = row + (delta > 0 ? -1 : 1);
    if (next < 0 || next >= numRows)
        return true;
    ClearSelection();
    return SelectRow(next, 1, true, 1);
}

bool MWinTabPanel::KeyDown(int key)
{
    int delta;
    switch (key)
    {
    case MWIN_VK_PRIOR:
        delta = -rowsPerPage;
        break;
    case MWIN_VK_NEXT:
        delta = rowsPerPage;
        break;
    case MWIN_VK_UP:
        delta = -1;
        break;
    case MWIN_VK_DOWN:
        delta = 1;
        break;
    default:
        return MWinButton::KeyDown(key);
    }
    if (scrollbar)
    {
        ScrollBy(delta);
        return true;
    }
    if (selectionMode != 0 || numRows < 1)
        return false;
    int row = GetFirstSelectedRow();
    int next = row < 0 ? 0 : row + delta;
    if (next < 0)
        next = 0;
    if (next >= numRows)
        next = numRows - 1;
    if (next == row)
        return true;
    ClearSelection();
    return SelectRow(next, 1, true, 1);
}

bool MWinTabPanel::IsCapturingInput()
{
    return scrollbar && scrollbar->IsCapturingInput();
}

void MWinTabPanel::GainHoverOrFocus()
{
    MWinButton::GainHoverOrFocus();
}

void MWinTabPanel::LoseHoverOrFocus()
{
    if (scrollbar)
        scrollbar->LoseHoverOrFocus();
    MWinButton::LoseHoverOrFocus();
}
