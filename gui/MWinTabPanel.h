// The GUI's table: a scrolling grid of text cells with an optional heading row, column
// widths in percent, per-row selection, striped row backgrounds, column dividers, a sort
// indicator and its own vertical scrollbar when the rows do not fit. It keeps no texts:
// every cell (row -1: the heading) is asked for on every draw from the cell callback.
// A button of kind 15; its callback hears row selections (panelRow = the row,
// checkboxState = its selected flag, panelActivated = the event value: 1 click, 2 double
// click) and heading clicks (panelRow = -1, choiceIndex = the column).
#pragma once
#include "MWinButton.h"

class MWinVertScrollbar;
class MWinTabPanel;

typedef const char *(*MWinTabCellTextFn)(int row, int column, MWinTabPanel *panel);
typedef const float *(*MWinTabCellColourFn)(int row, int column);
typedef const float *(*MWinTabCellScaleFn)(int row, int column);
typedef void (*MWinTabCellDrawFn)(int row, int column, const _Dimension *cell, MWinTabPanel *panel);

#define MWIN_TP_VS_ID "MWIN_TP_VS_ID"

struct _MWinTabColumn
{
    uint8_t percent;     // 0: share what the others leave
    float width, x;      // computed, design units; x from the first column
    int align;           // -1: the panel's alignment
    bool hidden;
    bool ownScale;
    float scale[2];
    bool ownColour;
    float colour[4];
};

class MWinTabPanel : public MWinButton
{
public:
    // A tab panel in the window's default group (or in `group`); NULL on failure.
    static MWinTabPanel *Add(MWinWindow *window, const char *id, float x, float y, float w, float h,
                             MWinGroup *group = nullptr);
    MWinTabPanel(MWin *mwin, const char *id, MWinGroup *group, float x, float y, float w, float h);
    ~MWinTabPanel() override;

    void UpdateLayout() override;
    bool UpdateKind() override;
    void Render() override;
    bool MouseButtonPressed(int which, bool down, int flag) override;
    bool MouseDoubleClicked(int which) override;
    bool ReleaseCapture() override;
    bool MouseMove() override;
    bool MouseWheel(int delta) override;
    bool KeyDown(int key) override;
    bool IsCapturingInput() override;
    void GainHoverOrFocus() override;
    void LoseHoverOrFocus() override;

    // rowsPerPage: above 0 fixed, -2 and -3 tighter fitted rows, anything else fitted.
    // The arguments are checked before anything changes: a refusal keeps the old table.
    bool SetEntryCallback(int rows, int columns, int rowsPerPage, MWinTabCellTextFn callback);
    bool SetNumRows(int rows);
    int GetNumRows() const { return numRows; }
    int GetNumColumns() const { return numColumns; }
    bool SetColumnWidthPercentage(int column, int percent);
    bool SetColumnTextAlign(int column, _MWinTextAlign align);
    bool SetColumnHidden(int column, bool hidden);
    const _MWinTabColumn *GetColumn(int column) const;
    bool SetLayoutOptions(bool heading, bool alternateRows, bool emptyRows, bool selectable, char selectionMode,
                          bool sortable, float headingHeight);
    void SetDrawSettings(char ownBackground, float sideMargin, float topBottomMargin, float headingOffset,
                         char dividers, float dividerTopInset, float dividerBottomInset, char rowBackgrounds,
                         float rowAlpha, char headingBackground, float headingAlpha);
    void SetRowColourCallback(MWinTabCellColourFn callback) { rowColour = callback; }
    void SetTextScaleCallback(MWinTabCellScaleFn callback) { textScaleCallback = callback; }
    void SetCellDrawHook(MWinTabCellDrawFn hook) { cellDraw = hook; }
    void SetHeadingStyle(float scaleX, float scaleY, const float *colour);
    void SetRowStyle(bool odd, float scaleX, float scaleY, const float *colour);
    bool SelectRow(int row, char select, bool fire, char event);
    bool IsRowSelected(int row) const;
    int GetFirstSelectedRow() const;
    void ClearSelection();
    int GetFirstVisibleRow() const;
    int GetLastVisibleRow() const;
    int GetRowsPerPage() const { return rowsPerPage; }
    float GetScrollPos() const { return scroll; }
    bool SetScrollPos(float position);
    bool GetCellArea(int row, int column, float *area);
    bool CropToTableRowsArea(bool withHeading);
    void SetSortColumn(int column, char ascending, bool remember);
    int GetSortColumn() const { return sortColumn; }
    bool IsSortAscending() const { return sortAscending != 0; }
    bool IsScrollbarShown() const { return scrollbar != nullptr; }
    MWinVertScrollbar *GetScrollbar() const { return scrollbar; }
    const _Dimension *GetRowsArea() const { return &rowsArea; }
    float GetRowHeight() const { return rowHeight; }

    void CalcRowsPerPage();
    void CalcColumnWidths();
    void UpdateScrollLayout();

private:
    void RenderBackRows();
    void RenderTexts();
    bool ScrollBy(int rowsDelta);
    bool FireRow(int row, char event);
    int RowUnderMouse();
    int ColumnUnderMouse();

    _MWinTabColumn *columns;
    int numColumns;
    uint8_t *selected;
    int numRows;
    MWinTabCellTextFn cellText;
    MWinTabCellColourFn rowColour;
    MWinTabCellScaleFn textScaleCallback;
    MWinTabCellDrawFn cellDraw;
    int rowsPerPage;
    int perPageMode; // 0 fixed, 1 fit, 2 and 3 tighter
    float scroll;
    float rowHeight;
    _Dimension rowsArea;
    float headingHeight;
    MWinVertScrollbar *scrollbar;
    int sortColumn, prevSortColumn;
    char sortAscending, prevSortAscending;
    // Layout options.
    bool heading, alternateRows, emptyRows, selectable, sortable, equalWidths, spanRows;
    char selectionMode;
    // Draw settings.
    char ownBackground, dividers, rowBackgrounds, headingBackground;
    float sideMargin, topBottomMargin, headingOffset, dividerTop, dividerBottom, rowAlpha, headingAlpha;
    float headingScale[2], headingColour[4];
    float rowScale[2][2], rowColours[2][4];
};
