// The drop-down list (kind 7): closed, the selected item with an arrow box at the right;
// open, a column of items over the screen centred on the selection and cut to the
// 640x480 screen, with arrow rows that scroll it while the highlight rests on them. The
// open list is drawn after the whole group, so it lies over the other buttons.
//
// Sections: state; items and selection; opening, geometry and closing; input; drawing.
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "MWinKinds.h"

namespace
{
struct ListData
{
    _MWinPictureLayer picture; // first: every kind state starts with it
    int sel, count;
    MWinButtonStringsFn callback;
    const char **strings;
    bool open;
    int firstShown, endShown, highlight, atPosition;
    float boxTop, boxH, highlightY;
    bool moreAbove, moreBelow;
    float upRowY, downRowY;
    int offset;
    int delayMs;
    double openedAt;
    float listX, listY;
};

// One auto-scroll timer for every list.
double s_lastStep = 0;
} // namespace

static ListData *ListOf(const MWinButton *button)
{
    return button->GetType() == MWIN_BUTTON_LIST ? (ListData *)button->GetKindData() : nullptr;
}

static void ListReset(ListData *data)
{
    data->open = false;
    data->firstShown = data->endShown = data->highlight = data->atPosition = -1;
    data->offset = 0;
    data->delayMs = 400;
}

static void ListInit(MWinButton *button)
{
    ListData *data = (ListData *)calloc(1, sizeof(ListData));
    if (data)
        ListReset(data);
    button->SetKindData(data);
    button->SetKindReady(false);
}

static void ListDestroy(MWinButton *button)
{
    free(button->GetKindData());
    button->SetKindData(nullptr);
}

// ---- Items and selection ------------------------------------------------------------------

bool MWinButton::ListSetStrings(int n, const char **strings)
{
    ListData *data = ListOf(this);
    if (!data)
    {
        DebugError(ENG_FUNC, "button %s not a list", id);
        return false;
    }
    if (n < 1 || !strings)
    {
        DebugError(ENG_FUNC, "invalid num %d (ID: %s)", n, id);
        return false;
    }
    data->strings = strings;
    data->callback = nullptr;
    data->count = n;
    kindReady = true;
    return ListSetPos(0, 0);
}

bool MWinButton::ListSetStringsCallback(int n, MWinButtonStringsFn callback, void *user)
{
    ListData *data = ListOf(this);
    if (!data)
    {
        DebugError(ENG_FUNC, "button %s not a list", id);
        return false;
    }
    if (user)
        stringUser = user;
    if (n < 1 || !callback)
    {
        DebugError(ENG_FUNC, "invalid num entries %d (ID: %s)", n, id);
        return false;
    }
    data->callback = callback;
    data->strings = nullptr;
    data->count = n;
    kindReady = true;
    return ListSetPos(0, 0);
}

const char *MWinButton::ListGetStringAtPos(int item)
{
    ListData *data = ListOf(this);
    if (!data || item < 0 || item >= data->count)
    {
        DebugError(ENG_FUNC, "Bad pos %d (%d)", item, data ? data->count : 0);
        return "";
    }
    const char *text = data->callback ? data->callback(item, this, stringUser) : data->strings ? data->strings[item]
                                                                                              : nullptr;
    return text ? text : "";
}

bool MWinButton::ListSetPos(int item, char notify)
{
    ListData *data = ListOf(this);
    if (!data)
    {
        DebugError(ENG_FUNC, "button %s not a list", id);
        return false;
    }
    if (item < 0 || item >= data->count)
    {
        DebugError(ENG_FUNC, "invalid pos : %d (id: %s, entries = %d)", item, id, data->count);
        return false;
    }
    data->sel = item;
    SetText(ListGetStringAtPos(item));
    MWinKindWriteBound(this, item);
    if (notify && MWinKindHasListener(this))
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.listEvent = data->open ? 1 : 0;
        info.listPos = item;
        CallCallback(&info);
    }
    return true;
}

int MWinButton::ListGetPos()
{
    ListData *data = ListOf(this);
    if (!data)
    {
        DebugError(ENG_FUNC, "button %s not a list", id);
        return 0;
    }
    return data->sel;
}

bool MWinButton::ListIsOpen() const
{
    ListData *data = ListOf(this);
    return data && kindReady && data->open;
}

bool MWinButton::ListRegisterIntVariable(int *variable, char notify)
{
    if (!variable || !ListOf(this))
        return false;
    SetBinding(MWIN_BIND_INT, variable);
    bindIntMultiplier = 1;
    return ListSetPos(*variable, notify);
}

// ---- Opening, geometry and closing --------------------------------------------------------

static void ListFire(MWinButton *button, ListData *data, uint8_t event)
{
    if (!MWinKindHasListener(button))
        return;
    _MWinButtonCallbackInfo info;
    button->FillCallbackInfo(&info);
    info.listEvent = event;
    info.listPos = data->sel;
    button->CallCallback(&info);
}

bool MWinButton::ListCalcOpenListVariables()
{
    ListData *data = ListOf(this);
    if (!data)
    {
        DebugError(ENG_FUNC, "Open List ID %s is not a list", id);
        return false;
    }
    if (!data->open)
        return false;
    if (data->count < 1)
    {
        ListClose(0, 1);
        return false;
    }
    float h = screenArea.h;
    if (h <= 0)
        return false;
    int above = (int)(data->listY / h);
    int below = (int)((480 - data->listY - h) / h) + 1;
    int top = data->offset + data->atPosition;
    if (above > top)
        above = top;
    if (below > data->count - top)
        below = data->count - top;
    if (above < 0)
        above = 0;
    if (below < 0)
        below = 0;
    data->firstShown = top - above;
    data->endShown = top + below;
    data->moreAbove = data->firstShown > 0;
    data->moreBelow = data->endShown < data->count;
    if (data->firstShown < 0 || data->endShown > data->count)
    {
        DebugError(ENG_FUNC, data->firstShown < 0 ? "Internal Error 1" : "Internal Error 2");
        return false;
    }
    data->boxTop = data->listY - above * h;
    data->boxH = (data->endShown - data->firstShown) * h;
    if (data->boxTop < 0)
    {
        data->boxH += data->boxTop;
        data->boxTop = 0;
    }
    if (data->highlight >= data->firstShown && data->highlight < data->endShown)
        data->highlightY = (data->highlight - top) * h + data->listY;
    if (data->moreAbove)
    {
        data->upRowY = data->boxTop;
        data->firstShown++;
    }
    if (data->moreBelow)
    {
        data->downRowY = data->boxTop + data->boxH - h;
        data->endShown--;
    }
    return true;
}

bool MWinButton::ListOpen()
{
    ListData *data = ListOf(this);
    if (!data || data->open)
        return false;
    data->open = true;
    data->listX = screenArea.x;
    data->listY = screenArea.y;
    data->highlight = data->atPosition = data->sel;
    data->offset = 0;
    data->delayMs = 400;
    data->openedAt = MWinKindTime();
    if (!ListCalcOpenListVariables())
        return data->open;
    if (data->firstShown >= data->count)
    {
        data->listY += screenArea.h;
        ListCalcOpenListVariables();
    }
    else if (data->endShown < 1)
    {
        data->listY -= screenArea.h;
        ListCalcOpenListVariables();
    }
    RequestRedraw();
    return true;
}

bool MWinButton::ListClose(char accept, char notify)
{
    ListData *data = ListOf(this);
    if (!data || !data->open)
        return false;
    data->open = false;
    RequestRedraw();
    if (accept)
    {
        if (data->highlight >= 0 && data->highlight < data->count)
            ListSetPos(data->highlight, 0);
        if (notify)
            ListFire(this, data, 1);
    }
    else if (notify && data->highlight != data->sel)
        ListFire(this, data, 2);
    return true;
}

bool MWinButton::ListSetHighlight(int item, char moveTop)
{
    ListData *data = ListOf(this);
    if (!data || data->count < 1)
        return false;
    if (item < 0)
        item = 0;
    if (item > data->count - 1)
        item = data->count - 1;
    if (item == data->highlight)
        return false;
    data->highlight = item;
    if (moveTop)
    {
        data->atPosition = item;
        data->offset = 0;
    }
    ListCalcOpenListVariables();
    if (MWinKindHasListener(this))
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.listEvent = 0;
        info.listPos = data->sel;
        CallCallback(&info);
    }
    return true;
}

bool MWinButton::ListMoveHighlight(int delta)
{
    ListData *data = ListOf(this);
    if (!data)
        return false;
    int item = data->highlight + delta;
    if (item > data->endShown)
        item = data->endShown;
    if (item < data->firstShown - 1)
        item = data->firstShown - 1;
    // Standing on an arrow row moves the list; the highlight itself stays an item.
    if (item < 0)
        item = 0;
    if (item >= data->count)
        item = data->count - 1;
    if (item < data->firstShown || item >= data->endShown)
    {
        data->offset += item < data->firstShown ? -1 : 1;
        if (data->atPosition + data->offset < 0)
            data->offset = -data->atPosition;
        if (data->atPosition + data->offset > data->count - 1)
            data->offset = data->count - 1 - data->atPosition;
    }
    return ListSetHighlight(item, 0);
}

// ---- Input --------------------------------------------------------------------------------

static bool ListMousePressed(MWinButton *button, int which, bool down, int flag)
{
    ListData *data = ListOf(button);
    if (!data || !MWinKindPressReady(button, which))
        return false;
    if (!down)
        return true;
    if (!data->open)
        return button->ListOpen();
    button->ListCalcOpenListVariables();
    MWin *mwin = button->GetMWin();
    float mx = mwin->GetMouseX(), my = mwin->GetMouseY();
    const _Dimension *screen = button->GetScreenAreaP();
    bool inBox = mx >= data->listX && mx < data->listX + screen->w && my >= data->boxTop &&
                 my < data->boxTop + data->boxH;
    button->ListClose(inBox ? 1 : 0, 1);
    return true;
}

static bool ListMouseMove(MWinButton *button)
{
    ListData *data = ListOf(button);
    if (!data || !data->open)
        return false;
    MWin *mwin = button->GetMWin();
    float mx = mwin->GetMouseX(), my = mwin->GetMouseY();
    const _Dimension *screen = button->GetScreenAreaP();
    if (mx < data->listX || mx >= data->listX + screen->w)
    {
        button->ListClose(0, 1);
        return true;
    }
    float h = screen->h;
    float rows = (my - data->listY - h / 2) / h;
    int item = (int)(rows + (rows >= 0 ? 0.5f : -0.5f)) + data->atPosition + data->offset;
    if (item < data->firstShown - (data->moreAbove ? 1 : 0))
        item = data->firstShown - (data->moreAbove ? 1 : 0);
    if (item > data->endShown - (data->moreBelow ? 0 : 1))
        item = data->endShown - (data->moreBelow ? 0 : 1);
    if (item < 0 || item >= data->count || item == data->highlight)
        return true;
    _MWinStillExistsInfo record;
    button->FillStillExistsCheckInfo(&record);
    if (button->ListSetHighlight(item, 0) && button->DoWeStillExist(&record))
        mwin->PlaySound(MWIN_SOUND_CHANGED);
    return true;
}

static bool ListUpdate(MWinButton *button)
{
    ListData *data = ListOf(button);
    if (!data || !data->open)
        return false;
    int direction = 0;
    if (data->moreAbove && data->highlight == data->firstShown - 1)
        direction = -1;
    else if (data->moreBelow && data->highlight == data->endShown)
        direction = 1;
    if (!direction)
    {
        data->delayMs = 400;
        return false;
    }
    double now = MWinKindTime();
    if (now - s_lastStep < data->delayMs / 1000.0 || now - data->openedAt < 0.1)
        return false;
    s_lastStep = now;
    data->delayMs -= 70;
    if (data->delayMs < 5)
        data->delayMs = 5;
    data->offset += direction;
    button->ListSetHighlight(data->highlight + direction, 0);
    button->GetMWin()->PlaySound(MWIN_SOUND_CHANGED);
    button->ListCalcOpenListVariables();
    return true;
}

static bool ListKeyDown(MWinButton *button, int key)
{
    ListData *data = ListOf(button);
    if (!data)
        return false;
    int delta = 0;
    switch (key)
    {
    case MWIN_VK_RETURN:
        if (data->open)
            button->ListClose(1, 1);
        else
            button->ListOpen();
        return true;
    case MWIN_VK_ESCAPE:
        if (!data->open)
            return false;
        button->ListClose(0, 1);
        return true;
    case MWIN_VK_PRIOR:
        delta = -10;
        break;
    case MWIN_VK_NEXT:
        delta = 10;
        break;
    case MWIN_VK_UP:
        delta = -1;
        break;
    case MWIN_VK_DOWN:
        delta = 1;
        break;
    default:
    {
        if (!data->open || key <= 0 || key > 255)
            return false;
        for (int step = 1; step <= data->count; step++)
        {
            int item = (data->highlight + step) % data->count;
            if ((unsigned char)button->ListGetStringAtPos(item)[0] == (unsigned char)key)
            {
                button->ListSetHighlight(item, 1);
                return true;
            }
        }
        return false;
    }
    }
    if (data->open)
    {
        button->ListMoveHighlight(delta);
        return true;
    }
    _MWinStillExistsInfo record;
    button->FillStillExistsCheckInfo(&record);
    button->ListOpen();
    button->ListMoveHighlight(delta);
    if (button->DoWeStillExist(&record))
        button->ListClose(1, 1);
    return true;
}

static bool ListWheel(MWinButton *button, int delta)
{
    ListData *data = ListOf(button);
    if (!data)
        return false;
    if (data->open)
    {
        button->ListMoveHighlight(-delta);
        return true;
    }
    if (delta == 0 || (delta < 0 && data->sel >= data->count - 1) || (delta > 0 && data->sel <= 0))
        return true;
    _MWinStillExistsInfo record;
    button->FillStillExistsCheckInfo(&record);
    button->ListOpen();
    button->ListMoveHighlight(-delta);
    if (button->DoWeStillExist(&record))
        button->ListClose(1, 1);
    return true;
}

static bool ListIsCapturing(const MWinButton *button)
{
    ListData *data = ListOf(button);
    return data && data->open;
}

static void ListLoseFocus(MWinButton *button)
{
    button->ListClose(0, 1);
}

// ---- Drawing ------------------------------------------------------------------------------

static bool ListRenderBack(MWinButton *button, int state)
{
    ListData *data = ListOf(button);
    if (!data || data->open)
        return true;
    button->RenderBackTexBut(state);
    const _Dimension *screen = button->GetScreenAreaP();
    float w = MWinKindLayout(button, MWIN_LF_LIST_BOX_W), h = MWinKindLayout(button, MWIN_LF_LIST_BOX_H);
    float inset = MWinKindLayout(button, MWIN_LF_LIST_BOX_INSET);
    if (h > screen->h)
        h = screen->h;
    float x = screen->x + screen->w - w - inset, y = screen->y + (screen->h - h) / 2;
    MWinKindDrawStd(button, MWIN_STD_UP_ARROW, state, x, y, w, h / 2);
    MWinKindDrawStd(button, MWIN_STD_DOWN_ARROW, state, x, y + h / 2, w, h / 2);
    return true;
}

static bool ListRenderText(MWinButton *button, int state)
{
    ListData *data = ListOf(button);
    if (!data || data->open)
        return true;
    const _Dimension *screen = button->GetScreenAreaP();
    float room = MWinKindLayout(button, MWIN_LF_LIST_BOX_W) + MWinKindLayout(button, MWIN_LF_LIST_BOX_INSET);
    _Dimension box = {screen->x, screen->y, screen->w - room, screen->h};
    button->GetMWin()->DrawFontText(button->GetFontNum(), button->GetTextAlign(), button->GetTextMargin(), &box,
                                    nullptr, button->HasText() ? button->GetTextP() : "", 0, true, true);
    return true;
}

static void ListRenderOnTop(MWinButton *button)
{
    ListData *data = ListOf(button);
    if (!data || !data->open)
        return;
    int state = button->GetDrawState();
    if (state == MWIN_TEXSTATE_HOVER)
        state = MWIN_TEXSTATE_NORMAL;
    const _Dimension *screen = button->GetScreenAreaP();
    float h = screen->h, x = data->listX, w = screen->w;
    MWinKindDrawStd(button, MWIN_STD_LIST_OPEN_MAIN, state, x, data->boxTop, w, data->boxH);
    MWinKindDrawStd(button, MWIN_STD_LIST_OPEN_TOP, state, x, data->boxTop, w, h / 4);
    MWinKindDrawStd(button, MWIN_STD_LIST_OPEN_BOT, state, x, data->boxTop + data->boxH - h / 4, w, h / 4);
    float arrow = h * 0.6f;
    if (data->moreAbove)
        MWinKindDrawStd(button, MWIN_STD_UP_ARROW, state, x + (w - arrow) / 2, data->upRowY + (h - arrow) / 2, arrow,
                        arrow);
    if (data->moreBelow)
        MWinKindDrawStd(button, MWIN_STD_DOWN_ARROW, state, x + (w - arrow) / 2, data->downRowY + (h - arrow) / 2,
                        arrow, arrow);
    int top = data->atPosition + data->offset;
    if (data->highlight >= data->firstShown && data->highlight < data->endShown)
        MWinKindDrawStd(button, MWIN_STD_LIST_OPEN_SEL, state > 1 ? state : 1, x,
                        (data->highlight - top) * h + data->listY, w, h);
    MWin *mwin = button->GetMWin();
    for (int item = data->firstShown; item < data->endShown; item++)
    {
        _Dimension box = {x, (item - top) * h + data->listY, w, h};
        mwin->DrawFontText(button->GetFontNum(), button->GetTextAlign(), button->GetTextMargin(), &box, nullptr,
                           button->ListGetStringAtPos(item), 0, true, true);
    }
}

const _MWinButtonKindOps mwin_list_ops = {
    ListInit,       ListDestroy,    ListUpdate,   nullptr,   ListRenderBack, ListRenderText,
    ListRenderOnTop, ListMousePressed, nullptr,   ListMouseMove, ListWheel, ListKeyDown,
    nullptr,        ListIsCapturing, ListLoseFocus, nullptr, nullptr,       nullptr,
};
