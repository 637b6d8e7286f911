// The panel (kind 10): a paged list of text rows drawn inside the button, asked for on
// every draw from a strings callback (the panel keeps only their count), with one
// selected row or several, its own scrollbar when the rows do not fit, mouse, wheel and
// keys, type-ahead search and a per-row draw hook.
//
// Sections: state; rows per page and layout; selection; queries; input; drawing;
// handler table.
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "MWinKinds.h"

namespace
{
struct PanelData
{
    _MWinPictureLayer picture; // first: every kind state starts with it
    bool allowNone;
    int sel;
    int anchor;
    uint8_t *flags; // rows + 1 bytes, only with multi-select
    int rows;
    int perPage;
    int rule;       // 0 fixed; 1 rows of the default height; 2 rows of 0.66 of it
    bool multi, clickFlips, showSelection;
    MWinButtonStringsFn callback;
    const char **strings;
    int tokenNum;
    MWinPanelRowRenderFn rowHook;
    void *rowHookUser;
    float scroll;   // first visible row, fractional
    float rowH;
    bool barShown;
    float rowAreaW;
    float barX, barY, barW, barH;
    float thumbX, thumbW, thumbTop, thumbBottom, thumbH;
    float trackTop, trackBottom, trackH;
    float extra;    // height added to reach the minimum thumb height
};
} // namespace

static PanelData *PanelOf(const MWinButton *button)
{
    return button->GetType() == MWIN_BUTTON_PANEL ? (PanelData *)button->GetKindData() : nullptr;
}

// The highest first row: rows - rows per page, never below 0 (a panel with fewer rows
// than fit starts at row 0).
static float PanelMaxScroll(const PanelData *data)
{
    float top = (float)(data->rows - data->perPage);
    return top > 0 ? top : 0;
}

static float PanelClampScroll(const PanelData *data, float scroll)
{
    float top = PanelMaxScroll(data);
    if (scroll > top)
        scroll = top;
    if (scroll < 0)
        scroll = 0;
    return scroll;
}

static void PanelLayout(MWinButton *button);

static void PanelInit(MWinButton *button)
{
    PanelData *data = (PanelData *)calloc(1, sizeof(PanelData));
    button->SetKindData(data);
    button->SetKindReady(false);
    if (!data)
        return;
    data->showSelection = true;
    data->tokenNum = -1;
    data->rule = 1;
    button->PanelUpdateNumPerPageVar(-1);
    PanelLayout(button);
}

static void PanelDestroy(MWinButton *button)
{
    if (PanelData *data = PanelOf(button))
        free(data->flags);
    free(button->GetKindData());
    button->SetKindData(nullptr);
}

static bool PanelAllocateMultiPos(MWinButton *button, PanelData *data)
{
    free(data->flags);
    data->flags = nullptr;
    if (!data->multi)
        return true;
    data->flags = (uint8_t *)calloc((size_t)data->rows + 1, 1);
    if (!data->flags)
    {
        DebugErrorCode("MWinButton::PanelAllocateMultiPos", EngFourCC("OMEM"));
        PanelDestroy(button);
        PanelInit(button);
        return false;
    }
    return true;
}

// ---- Rows per page and layout -------------------------------------------------------------

void MWinButton::PanelUpdateNumPerPageVar(int n)
{
    PanelData *data = PanelOf(this);
    if (!data)
        return;
    if (n == -99 && data->rule == 0)
        return;
    if (n > 0)
    {
        data->perPage = n;
        data->rule = 0;
        return;
    }
    // A rule n <= 0 asks for rows of the default height (-1) or of 0.66 of it (-2).
    if (n != -99)
    {
        data->rule = (-n) & 255;
        if (data->rule < 1)
            data->rule = 1;
    }
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    float height = layout ? layout->defaultButtonHeight : 0;
    if (height <= 0)
    {
        DebugError(ENG_FUNC, "No default button height");
        return;
    }
    if (data->rule == 2)
        height *= 0.66f;
    data->perPage = (int)(area.h / height);
}

static void PanelLayout(MWinButton *button)
{
    PanelData *data = PanelOf(button);
    if (!data)
        return;
    const _Dimension *screen = button->GetScreenAreaP();
    data->rowH = data->perPage > 0 ? screen->h / data->perPage : screen->h;
    data->barShown = data->perPage < data->rows && data->rows >= 2;
    if (!data->barShown)
    {
        data->rowAreaW = screen->w;
        return;
    }
    float barW = MWinKindLayout(button, MWIN_LF_PANEL_BAR_W);
    float thumbW = MWinKindLayout(button, MWIN_LF_PANEL_THUMB_W);
    float margin = MWinKindLayout(button, MWIN_LF_BAR_END_MARGIN);
    float minThumb = MWinKindLayout(button, MWIN_LF_MIN_THUMB_H);
    data->rowAreaW = screen->w - barW;
    data->barX = screen->x + screen->w - barW;
    data->barY = screen->y;
    data->barW = barW;
    data->barH = screen->h;
    data->thumbW = thumbW;
    data->thumbX = data->barX + (barW - thumbW) / 2;
    data->trackTop = screen->y + margin;
    data->trackBottom = screen->y + screen->h - margin;
    data->trackH = data->trackBottom - data->trackTop;
    data->thumbH = data->trackH * data->perPage / data->rows;
    data->extra = 0;
    if (data->thumbH < minThumb)
    {
        data->extra = minThumb - data->thumbH;
        data->thumbH = minThumb;
    }
    float s = PanelClampScroll(data, data->scroll);
    data->thumbTop = (data->trackH - data->extra) * s / data->rows + data->trackTop;
    data->thumbBottom = data->thumbTop + data->thumbH;
}

static void PanelUpdateLayout(MWinButton *button)
{
    button->PanelUpdateNumPerPageVar(-99);
    PanelLayout(button);
}

bool MWinButton::PanelSetStringsCallback(int rows, int rowsPerPageRule, MWinButtonStringsFn callback, void *user)
{
    PanelData *data = PanelOf(this);
    if (!data)
    {
        DebugError(ENG_FUNC, "Button is not a panel");
        return false;
    }
    if (rows < 0)
    {
        DebugError(ENG_FUNC, "invalid num entries %d (ID: %s)", rows, id);
        return false;
    }
    free(data->flags);
    data->flags = nullptr;
    if (user)
        stringUser = user;
    data->sel = data->allowNone ? -1 : 0;
    data->anchor = data->sel;
    data->rows = rows;
    data->callback = callback;
    data->strings = nullptr;
    data->tokenNum = -1;
    PanelUpdateNumPerPageVar(rowsPerPageRule);
    if (!PanelAllocateMultiPos(this, data))
        return false;
    data = PanelOf(this);
    data->scroll = 0;
    PanelLayout(this);
    kindReady = true;
    RequestRedraw();
    return true;
}

void MWinButton::PanelClear()
{
    PanelData *data = PanelOf(this);
    if (!data)
        return;
    free(data->flags);
    data->flags = nullptr;
    data->scroll = 0;
    data->sel = data->anchor = 0;
    data->rows = 0;
    data->callback = nullptr;
    data->strings = nullptr;
    PanelLayout(this);
    RequestRedraw();
}

void MWinButton::PanelAllowNoSelection()
{
    if (PanelData *data = PanelOf(this))
        data->allowNone = true;
}

bool MWinButton::PanelSetMultiSelect(char multi, char clickFlips)
{
    PanelData *data = PanelOf(this);
    if (!data)
        return false;
    data->multi = multi != 0;
    data->clickFlips = clickFlips != 0;
    return PanelAllocateMultiPos(this, data);
}

void MWinButton::PanelClearMultiSelection()
{
    PanelData *data = PanelOf(this);
    if (data && data->flags)
        memset(data->flags, 0, (size_t)data->rows + 1);
}

void MWinButton::PanelSetShowSelection(bool on)
{
    if (PanelData *data = PanelOf(this))
        data->showSelection = on;
}

void MWinButton::PanelSetExtraRenderCallback(MWinPanelRowRenderFn hook, void *user)
{
    if (PanelData *data = PanelOf(this))
    {
        data->rowHook = hook;
        data->rowHookUser = user;
    }
}

bool MWinButton::PanelRegisterIntVariable(int *variable, char notify)
{
    if (!variable || !PanelOf(this))
        return false;
    SetBinding(MWIN_BIND_INT, variable);
    bindIntMultiplier = 1;
    return PanelSetPos(*variable, notify, 0);
}

// ---- Selection ----------------------------------------------------------------------------

bool MWinButton::PanelSetPos(int row, char notify, char cause)
{
    PanelData *data = PanelOf(this);
    if (!data)
    {
        DebugError(ENG_FUNC, "Button is not a panel");
        return false;
    }
    if (data->rows < 1)
        return false;
    if (row >= data->rows)
        row = data->rows - 1;
    if (row < 0)
        row = data->allowNone ? -1 : 0;
    data->sel = row;
    if (data->multi && data->flags && row >= 0)
    {
        bool shift = MWinKindKeyHeld(MWIN_VK_SHIFT);
        bool flip = cause != 2 && (data->clickFlips || MWinKindKeyHeld(MWIN_VK_CONTROL));
        if (flip)
            data->flags[row] = !data->flags[row];
        else if (shift)
        {
            if (row != data->anchor && data->anchor >= 0 && data->anchor < data->rows)
            {
                if (cause != 2)
                    memset(data->flags, 0, (size_t)data->rows + 1);
                int from = data->anchor < row ? data->anchor : row;
                int to = data->anchor < row ? row : data->anchor;
                for (int i = from; i <= to; i++)
                    data->flags[i] = 1;
            }
        }
        else
        {
            memset(data->flags, 0, (size_t)data->rows + 1);
            data->flags[row] = 1;
        }
    }
    data->anchor = row;
    if (row < 0)
        data->scroll = 0;
    else if (data->scroll + data->perPage <= row)
        data->scroll = (float)(row - data->perPage + 1);
    else if (data->scroll > row)
        data->scroll = (float)row;
    data->scroll = PanelClampScroll(data, data->scroll);
    PanelLayout(this);
    MWinKindWriteBound(this, row);
    RequestRedraw();
    if ((notify == 1 || notify == 2) && MWinKindHasListener(this))
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.panelActivated = notify - 1;
        info.panelRow = row;
        info.panelCause = (uint8_t)cause;
        CallCallback(&info);
    }
    return true;
}

int MWinButton::PanelGetPos() const
{
    PanelData *data = PanelOf(this);
    return data ? data->sel : 0;
}

int MWinButton::PanelGetNumRows() const
{
    PanelData *data = PanelOf(this);
    return data ? data->rows : 0;
}

int MWinButton::PanelGetNumPerPage() const
{
    PanelData *data = PanelOf(this);
    return data ? data->perPage : 0;
}

float MWinButton::PanelGetScrollPos() const
{
    PanelData *data = PanelOf(this);
    return data ? data->scroll : 0;
}

bool MWinButton::PanelIsScrollbarShown() const
{
    PanelData *data = PanelOf(this);
    return data && data->barShown;
}

bool MWinButton::PanelSetScrollPos(float scroll)
{
    PanelData *data = PanelOf(this);
    if (!data || data->rows < 1 || scroll < 0 || scroll > data->rows)
        return false;
    data->scroll = PanelClampScroll(data, scroll);
    PanelLayout(this);
    RequestRedraw();
    return true;
}

void MWinButton::PanelCenterOnPos()
{
    PanelData *data = PanelOf(this);
    if (!data)
        return;
    int row = data->sel < 0 ? 0 : data->sel;
    data->scroll = PanelClampScroll(data, (float)(row - data->perPage / 2));
    PanelLayout(this);
    RequestRedraw();
}

// ---- Queries ------------------------------------------------------------------------------

int MWinButton::PanelGetNumMultiSelected() const
{
    PanelData *data = PanelOf(this);
    if (!data || !data->flags)
        return 0;
    int count = 0;
    for (int i = 0; i < data->rows; i++)
        count += data->flags[i] ? 1 : 0;
    return count;
}

int MWinButton::PanelGetNthMultiSelected(int n) const
{
    PanelData *data = PanelOf(this);
    if (!data || !data->flags)
        return -1;
    for (int i = 0; i < data->rows; i++)
        if (data->flags[i] && n-- == 0)
            return i;
    return -1;
}

bool MWinButton::PanelIsRowMultiSelected(int row) const
{
    PanelData *data = PanelOf(this);
    return data && data->flags && row >= 0 && row < data->rows && data->flags[row];
}

void MWinButton::PanelGetVisibleRange(int *first, int *end) const
{
    PanelData *data = PanelOf(this);
    int from = 0, to = 0;
    if (data)
    {
        from = (int)data->scroll;
        if (from < 0)
            from = 0;
        if (from > data->rows)
            from = data->rows;
        to = from + data->perPage;
        if (to > data->rows)
            to = data->rows;
        if (to < 0)
            to = 0;
    }
    if (first)
        *first = from;
    if (end)
        *end = to;
}

int MWinButton::PanelGetNumVisible() const
{
    int first, end;
    PanelGetVisibleRange(&first, &end);
    return end - first;
}

int MWinButton::PanelGetRowFromVisibleIndex(int n) const
{
    int first, end;
    PanelGetVisibleRange(&first, &end);
    return n >= 0 && first + n < end ? first + n : -1;
}

bool MWinButton::PanelGetVisibleRowArea(int n, float *out)
{
    PanelData *data = PanelOf(this);
    if (!data || !out)
        return false;
    float fraction = data->scroll - (int)data->scroll;
    out[0] = screenArea.x;
    out[1] = (n - fraction) * data->rowH + screenArea.y;
    out[2] = data->rowAreaW;
    out[3] = data->rowH;
    return true;
}

bool MWinButton::PanelGetRowArea(int row, float *out)
{
    int first, end;
    PanelGetVisibleRange(&first, &end);
    if (row < first || row >= end)
        return false;
    return PanelGetVisibleRowArea(row - first, out);
}

const char *MWinButton::PanelGetString(int row)
{
    PanelData *data = PanelOf(this);
    if (!data || row < 0 || row >= data->rows)
        return "";
    const char *text = nullptr;
    if (data->callback)
        text = data->callback(row, this, stringUser);
    else if (data->strings)
        text = data->strings[row];
    else if (data->tokenNum >= 0)
        text = EngLanguagesGetString(data->tokenNum, row);
    return text ? text : "";
}

// ---- Input --------------------------------------------------------------------------------

static bool PanelMousePressed(MWinButton *button, int which, bool down, int flag)
{
    PanelData *data = PanelOf(button);
    MWin *mwin = button->GetMWin();
    if (!data || !MWinKindPressReady(button, which))
        return false;
    if (!mwin->IsOn())
    {
        DebugErrorCode("MWinButton::PanelHandleMouseButtonPressed", EngFourCC("NSTP"));
        return false;
    }
    const _Dimension *screen = button->GetScreenAreaP();
    float mx = mwin->GetMouseX(), my = mwin->GetMouseY();
    bool inside = mx >= screen->x && mx < screen->x + screen->w && my >= screen->y && my < screen->y + screen->h;
    if (data->perPage >= 1 && inside && data->barShown && mx >= data->barX)
    {
        if (!down)
        {
            button->SetCaptureState(0);
            return true;
        }
        if (my >= data->thumbTop && my <= data->thumbBottom)
        {
            float s = PanelClampScroll(data, data->scroll);
            float position = (data->trackH - data->thumbH) * s / (data->rows - data->perPage + 1) + data->trackTop;
            button->SetCaptureState(1);
            button->SetGrabOffset(1, my - position - data->thumbH / 2);
        }
        else if (my > data->thumbBottom)
            data->scroll = PanelClampScroll(data, data->scroll + data->perPage);
        else
            data->scroll = PanelClampScroll(data, data->scroll - data->perPage);
        mwin->PlaySound(MWIN_SOUND_CHANGED);
        PanelLayout(button);
        return true;
    }
    if (down)
        return true;
    if (button->GetCaptureState())
    {
        button->SetCaptureState(0);
        return true;
    }
    if (!inside || data->rowH <= 0)
        return true;
    int row = (int)((my - screen->y) / data->rowH + data->scroll);
    if (row < 0 || row >= data->rows)
        return true;
    _MWinStillExistsInfo record;
    button->FillStillExistsCheckInfo(&record);
    mwin->PlaySound(MWIN_SOUND_CHANGED);
    button->PanelSetPos(row, 1, 1);
    return true;
}

static bool PanelMouseMove(MWinButton *button)
{
    PanelData *data = PanelOf(button);
    if (!data || button->GetCaptureState() != 1)
        return false;
    float room = data->trackH - data->thumbH;
    float my = button->GetMWin()->GetMouseY();
    float scroll = 0;
    if (room > 0)
        scroll = (my - button->GetGrabOffset(1) - data->thumbH / 2 - data->trackTop) *
                 (data->rows - data->perPage + 1) / room;
    data->scroll = PanelClampScroll(data, scroll);
    PanelLayout(button);
    return true;
}

static bool PanelDoubleClicked(MWinButton *button, int which)
{
    PanelData *data = PanelOf(button);
    if (!data || !MWinKindPressReady(button, which))
        return false;
    MWin *mwin = button->GetMWin();
    _MWinStillExistsInfo record;
    button->FillStillExistsCheckInfo(&record);
    button->PanelSetPos(data->sel, 2, 2);
    if (button->DoWeStillExist(&record))
        mwin->PlaySound(MWIN_SOUND_CHANGED);
    return true;
}

static bool PanelWheel(MWinButton *button, int delta)
{
    PanelData *data = PanelOf(button);
    if (!data)
        return false;
    data->scroll = PanelClampScroll(data, data->scroll - delta);
    PanelLayout(button);
    return true;
}

static bool PanelKeyDown(MWinButton *button, int key)
{
    PanelData *data = PanelOf(button);
    if (!data)
        return false;
    MWin *mwin = button->GetMWin();
    _MWinStillExistsInfo record;
    button->FillStillExistsCheckInfo(&record);
    int sel = data->sel;
    switch (key)
    {
    case MWIN_VK_RETURN:
        button->PanelSetPos(sel, 2, 0);
        break;
    case MWIN_VK_PRIOR:
        if (sel >= 1)
            button->PanelSetPos(sel - data->perPage, 1, 2);
        break;
    case MWIN_VK_NEXT:
        if (sel < data->rows - 1)
            button->PanelSetPos(sel + data->perPage, 1, 2);
        break;
    case MWIN_VK_UP:
        if (sel >= 1)
            button->PanelSetPos(sel - 1, 1, 2);
        break;
    case MWIN_VK_DOWN:
        if (sel < data->rows - 1)
            button->PanelSetPos(sel + 1, 1, 2);
        break;
    default:
    {
        if (data->multi || data->rows < 1 || key <= 0 || key > 255)
            return false;
        // Type-ahead: the rows after the selected one, then from the top up to it.
        int found = -1;
        for (int step = 1; step <= data->rows && found < 0; step++)
        {
            int row = (sel + step) % data->rows;
            if (row < 0)
                row += data->rows;
            if ((unsigned char)button->PanelGetString(row)[0] == (unsigned char)key)
                found = row;
        }
        if (found < 0)
            return false;
        button->PanelSetPos(found, 1, 0);
        if (!button->DoWeStillExist(&record))
            return true;
        button->PanelCenterOnPos();
        break;
    }
    }
    if (button->DoWeStillExist(&record))
        mwin->PlaySound(MWIN_SOUND_CHANGED);
    return true;
}

static bool PanelIsCapturing(const MWinButton *button)
{
    return button->GetCaptureState() != 0;
}

static void PanelLoseFocus(MWinButton *button)
{
    button->SetCaptureState(0);
}

// ---- Drawing ------------------------------------------------------------------------------

static int PanelRowState(MWinButton *button, PanelData *data, int row, bool hoverRows)
{
    bool chosen = data->multi && data->flags ? data->flags[row] != 0 : row == data->sel;
    if (!button->IsEnabled())
        return chosen && data->showSelection ? MWIN_TEXSTATE_HOVER : MWIN_TEXSTATE_DISABLED;
    if (hoverRows)
        return chosen && data->showSelection ? MWIN_TEXSTATE_PRESSED : MWIN_TEXSTATE_HOVER;
    return chosen && data->showSelection ? MWIN_TEXSTATE_HOVER : MWIN_TEXSTATE_NORMAL;
}

static bool PanelRenderBack(MWinButton *button, int state)
{
    PanelData *data = PanelOf(button);
    if (!data)
        return false;
    const _MWinKindSettings *settings = MWinKindsGetSettings();
    const _Dimension *screen = button->GetScreenAreaP();
    if (settings->panelBackground)
    {
        int backState = settings->panelHoverRows ? state
                        : settings->panelHoverState ? MWIN_TEXSTATE_HOVER
                                                    : MWIN_TEXSTATE_NORMAL;
        if (!button->IsEnabled())
            backState = MWIN_TEXSTATE_DISABLED;
        MWinKindDrawOwn(button, backState, screen->x, screen->y, screen->w, screen->h);
    }
    if (data->perPage < 1)
    {
        DebugError("MWinButton::PanelRenderBack", "%s: NUM PER PAGE <= 0", button->GetID());
        return true;
    }
    bool hoverRows = settings->panelHoverRows && button->HasHoverOrFocus();
    if (!(settings->panelBackground && !button->IsEnabled()))
    {
        int first = (int)data->scroll;
        if (first < 0)
            first = 0;
        float fraction = data->scroll - (int)data->scroll;
        for (int slot = first; slot <= first + data->perPage; slot++)
        {
            float y = (slot - first - fraction) * data->rowH + screen->y;
            int rowState;
            if (slot >= data->rows)
            {
                if (!(hoverRows && settings->panelBackground))
                    continue;
                rowState = MWIN_TEXSTATE_NORMAL;
            }
            else
                rowState = PanelRowState(button, data, slot, hoverRows);
            if (y >= screen->y + screen->h)
                break;
            MWinKindDrawOwn(button, rowState, screen->x, y, data->rowAreaW, data->rowH);
            if (data->rowHook && slot < data->rows)
            {
                _Dimension rect = {screen->x, y, data->rowAreaW, data->rowH};
                data->rowHook(button, &rect, rowState, slot, data->rowHookUser);
            }
        }
    }
    if (data->barShown)
    {
        MWinKindDrawStd(button, MWIN_STD_VSCROLL_BACK, state, data->barX, data->barY, data->barW, data->barH);
        MWinKindDrawStd(button, MWIN_STD_VSCROLL_BUTTON, MWIN_TEXSTATE_NORMAL, data->thumbX, data->thumbTop,
                        data->thumbW, data->thumbH);
    }
    return true;
}

static bool PanelRenderText(MWinButton *button, int state)
{
    PanelData *data = PanelOf(button);
    if (!data)
        return false;
    if (data->perPage < 1)
    {
        DebugError("MWinButton::PanelRenderText", "%s: NUM PER PAGE <= 0", button->GetID());
        return true;
    }
    if (data->rowH <= 0)
        return true;
    const _Dimension *screen = button->GetScreenAreaP();
    float left, right;
    button->GetTextRange(&left, &right, MWinKindLayout(button, MWIN_LF_PANEL_TEXT_MARGIN));
    if (data->barShown)
        right -= data->barW;
    int first = (int)data->scroll;
    if (first < 0)
        first = 0;
    float fraction = data->scroll - (int)data->scroll;
    MWin *mwin = button->GetMWin();
    for (int row = first; row <= first + data->perPage && row < data->rows; row++)
    {
        float y = (row - first - fraction) * data->rowH + screen->y;
        _Dimension box = {left, y, right - left, data->rowH};
        if (box.w <= 0)
            break;
        mwin->DrawFontText(button->GetFontNum(), button->GetTextAlign(), 0, &box, nullptr, button->PanelGetString(row),
                           0, true, true);
    }
    return true;
}

// ---- Handler table ------------------------------------------------------------------------

const _MWinButtonKindOps mwin_panel_ops = {
    PanelInit,      PanelDestroy,      nullptr,      PanelUpdateLayout, PanelRenderBack, PanelRenderText,
    nullptr,        PanelMousePressed, PanelDoubleClicked, PanelMouseMove,    PanelWheel,      PanelKeyDown,
    nullptr,        PanelIsCapturing,  PanelLoseFocus, nullptr,           nullptr,         nullptr,
};
