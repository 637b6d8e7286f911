// The checkbox (kind 8: an on/off state with a box beside the text) and the choice
// (kind 9: one item of a short list, shown as a row of segments or between two arrows).
// Both mirror their value into a bound variable and report changes to the callback.
//
// Sections: shared item texts; checkbox; choice state and selection; choice input;
// choice drawing; handler tables.
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngFont.h"
#include "EngLanguages.h"
#include "MWinKinds.h"

// ---- Checkbox ---------------------------------------------------------------------------

namespace
{
struct CheckboxData
{
    _MWinPictureLayer picture; // first: every kind state starts with it
    float textRight; // right edge of the drawn centred text; 0 until measured
};
} // namespace

static CheckboxData *CheckboxDataOf(const MWinButton *button)
{
    return button->GetType() == MWIN_BUTTON_CHECKBOX ? (CheckboxData *)button->GetKindData() : nullptr;
}

// Writes a small integer into whichever integer binding the button carries.
static void MWinKindWriteBoundInt(MWinButton *button, int value)
{
    void *variable = button->GetBoundVariable();
    if (!variable)
        return;
    switch (button->GetBindKind())
    {
    case MWIN_BIND_CHAR:
        *(char *)variable = (char)value;
        break;
    case MWIN_BIND_INT:
        *(int *)variable = value * (button->GetBoundIntMultiplier() ? button->GetBoundIntMultiplier() : 1);
        break;
    case MWIN_BIND_BYTE:
        *(uint8_t *)variable = (uint8_t)value;
        break;
    case MWIN_BIND_INT16:
        *(int16_t *)variable = (int16_t)value;
        break;
    case MWIN_BIND_UINT16:
        *(uint16_t *)variable = (uint16_t)value;
        break;
    default:
        break;
    }
}

void MWinKindWriteBound(MWinButton *button, int value)
{
    MWinKindWriteBoundInt(button, value);
}

bool MWinButton::CheckboxSet(char state, char notify)
{
    if (state != 0 && state != 1)
    {
        DebugError(ENG_FUNC, "Invalid check parameter: %d", state);
        return false;
    }
    checkboxState = (uint8_t)state;
    MWinKindWriteBoundInt(this, state);
    if (notify && MWinKindHasListener(this))
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.checkboxState = (uint8_t)state;
        CallCallback(&info);
    }
    RequestRedraw();
    return true;
}

char MWinButton::CheckboxGet() const
{
    return (char)checkboxState;
}

static void CheckboxInit(MWinButton *button)
{
    button->SetCheckboxState(0);
    button->SetKindData(calloc(1, sizeof(CheckboxData)));
    button->SetKindReady(true);
}

static void KindFree(MWinButton *button)
{
    free(button->GetKindData());
    button->SetKindData(nullptr);
}

static bool CheckboxMousePressed(MWinButton *button, int which, bool down, int flag)
{
    if (!MWinKindPressReady(button, which))
        return false;
    if (!down)
        return true;
    button->CheckboxSet((char)(1 - button->CheckboxGet()), 1);
    return true;
}

static bool CheckboxDoubleClicked(MWinButton *button, int which)
{
    if (!MWinKindPressReady(button, which))
        return false;
    button->CheckboxSet((char)(1 - button->CheckboxGet()), 1);
    return true;
}

// The box beside (or, without text, in the middle of) the button.
static bool CheckboxRenderBack(MWinButton *button, int state)
{
    button->RenderBackTexBut(state);
    CheckboxData *data = CheckboxDataOf(button);
    const _Dimension *screen = button->GetScreenAreaP();
    float sx = 1.0f, sy = 1.0f;
    MWinWindow *window = button->GetWindow();
    if (window && window->StretchesContent())
    {
        sx = button->GetMWin()->GetHorizontalScaleIfScaled();
        sy = button->GetMWin()->GetVerticalScaleIfScaled();
    }
    float boxW = MWinKindLayout(button, MWIN_LF_CHECK_BOX_W) * sx;
    float boxH = MWinKindLayout(button, MWIN_LF_CHECK_BOX_H) * sy;
    float gap = MWinKindLayout(button, MWIN_LF_CHECK_BOX_GAP) * sx;
    float inset = MWinKindLayout(button, MWIN_LF_CHECK_TEXT_INSET) * sx;
    float x;
    if (!button->HasText())
        x = screen->x + (screen->w - boxW) / 2;
    else if (button->GetTextAlign() == MWIN_ALIGN_LEFT)
        x = screen->x + gap;
    else if (button->GetTextAlign() == MWIN_ALIGN_RIGHT)
        x = screen->x + screen->w - boxW - gap;
    else
    {
        if (!data || data->textRight <= 0)
            return true;
        x = data->textRight + inset;
        if (x > screen->x + screen->w - boxW - gap)
            x = screen->x + screen->w - boxW - gap;
        if (x < screen->x + gap)
            x = screen->x + gap;
    }
    int slot = button->CheckboxGet() ? MWIN_STD_CHECK_BUTTON : MWIN_STD_UNCHECK_BUTTON;
    MWinKindDrawStd(button, slot, state, x, screen->y + (screen->h - boxH) / 2, boxW, boxH);
    button->PictureRender();
    return true;
}

static bool CheckboxRenderText(MWinButton *button, int state)
{
    if (!button->HasText())
        return true;
    CheckboxData *data = CheckboxDataOf(button);
    const _Dimension *screen = button->GetScreenAreaP();
    float boxW = MWinKindLayout(button, MWIN_LF_CHECK_BOX_W);
    float gap = MWinKindLayout(button, MWIN_LF_CHECK_BOX_GAP);
    float inset = MWinKindLayout(button, MWIN_LF_CHECK_TEXT_INSET);
    float side = inset + boxW + gap;
    _Dimension box = *screen;
    MWin *mwin = button->GetMWin();
    const char *text = button->GetTextP();
    switch (button->GetTextAlign())
    {
    case MWIN_ALIGN_LEFT:
        box.x += side;
        box.w -= side;
        break;
    case MWIN_ALIGN_RIGHT:
        box.w -= side;
        break;
    default:
        box.x += side;
        box.w -= 2 * side;
        if (data)
            data->textRight = box.x + box.w / 2 + MWinKindTextWidth(button, text, -1) / 2;
        break;
    }
    if (box.w > 0)
        mwin->DrawFontText(button->GetFontNum(), button->GetTextAlign(), button->GetTextMargin(), &box, nullptr, text,
                           0, true, true);
    return true;
}

// ---- Choice -----------------------------------------------------------------------------

namespace
{
struct ChoiceData
{
    _MWinPictureLayer picture; // first: every kind state starts with it
    bool arrows;
    int sel;
    int count;
    MWinButtonStringsFn callback;
    const char **strings;
    int tokenNum; // -1: no token
    bool hoverNotify;
    int hovered;
    bool wideSelected;
    bool leftShown, rightShown;
};
} // namespace

static ChoiceData *ChoiceDataOf(const MWinButton *button)
{
    return button->GetType() == MWIN_BUTTON_CHOICE ? (ChoiceData *)button->GetKindData() : nullptr;
}

static void ChoiceInit(MWinButton *button)
{
    ChoiceData *data = (ChoiceData *)calloc(1, sizeof(ChoiceData));
    if (data)
    {
        data->hovered = -1;
        data->tokenNum = -1;
    }
    button->SetKindData(data);
    button->SetKindReady(false);
}

const char *MWinButton::ChoiceGetString(int index)
{
    ChoiceData *data = ChoiceDataOf(this);
    if (!data || index < 0 || index >= data->count)
        return "";
    const char *text = nullptr;
    if (data->callback)
        text = data->callback(index, this, stringUser);
    else if (data->strings)
        text = data->strings[index];
    else if (data->tokenNum >= 0)
        text = EngLanguagesGetString(data->tokenNum, index);
    return text ? text : "";
}

static void ChoiceUpdateArrows(MWinButton *button)
{
    ChoiceData *data = ChoiceDataOf(button);
    if (!data)
        return;
    bool live = data->arrows && button->IsEnabled() && button->IsVisible();
    data->leftShown = live && data->sel > 0;
    data->rightShown = live && data->sel < data->count - 1;
}

static bool ChoiceStartItems(MWinButton *button, ChoiceData *data, int n)
{
    data->count = n;
    data->sel = 0;
    data->hovered = -1;
    button->SetKindReady(true);
    // The arrow mode shows the first item straight away.
    if (data->arrows)
        button->SetText(button->ChoiceGetString(0));
    ChoiceUpdateArrows(button);
    return true;
}

bool MWinButton::ChoiceSetStrings(int n, const char **strings)
{
    ChoiceData *data = ChoiceDataOf(this);
    if (!data)
        return false;
    if (n < 1)
    {
        DebugError(ENG_FUNC, "invalid num %d (ID: %s)", n, id);
        return false;
    }
    if (!strings)
    {
        DebugError(ENG_FUNC, "Null strings (ID: %s)", id);
        return false;
    }
    data->strings = strings;
    data->callback = nullptr;
    data->tokenNum = -1;
    return ChoiceStartItems(this, data, n);
}

bool MWinButton::ChoiceSetStringsCallback(int n, MWinButtonStringsFn callback, void *user)
{
    ChoiceData *data = ChoiceDataOf(this);
    if (!data)
        return false;
    if (user)
        stringUser = user;
    if (n < 1)
    {
        DebugError(ENG_FUNC, "invalid num entries %d (ID: %s)", n, id);
        return false;
    }
    if (!callback)
    {
        DebugError(ENG_FUNC, "Null callback entry (ID: %s)", id);
        return false;
    }
    data->callback = callback;
    data->strings = nullptr;
    data->tokenNum = -1;
    return ChoiceStartItems(this, data, n);
}

bool MWinButton::ChoiceSetStringsLanguageToken(int n, const char *tokenName)
{
    ChoiceData *data = ChoiceDataOf(this);
    if (!data)
        return false;
    if (n < 1)
    {
        DebugError(ENG_FUNC, "invalid num %d (ID: %s)", n, id);
        return false;
    }
    if (MWinIsIDEmpty(tokenName))
    {
        DebugError(ENG_FUNC, "Null token (ID: %s)", id);
        return false;
    }
    int subTexts = 0;
    int number = EngLanguagesGetTokenNumAndNumSubTextsForToken(tokenName, &subTexts);
    if (number < 0)
    {
        DebugError(ENG_FUNC, "Token <%s> not found (ID: %s)", tokenName, id);
        return false;
    }
    data->strings = nullptr;
    data->callback = nullptr;
    data->tokenNum = number;
    return ChoiceStartItems(this, data, n);
}

bool MWinButton::ChoiceSetSel(int index, char notify)
{
    ChoiceData *data = ChoiceDataOf(this);
    if (!data)
        return false;
    if (index < -1 || index >= data->count)
    {
        DebugError(ENG_FUNC, "invalid sel : %d (m_id: %s, entries = %d)", index, id, data->count);
        return false;
    }
    bool changed = index != data->sel;
    data->sel = index;
    // Item -1 (nothing chosen) shows an empty text rather than reading before the items.
    if (data->arrows)
    {
        SetText(index >= 0 ? ChoiceGetString(index) : "");
        ChoiceUpdateArrows(this);
    }
    MWinKindWriteBoundInt(this, index);
    if (notify == 1 || (notify == 2 && changed))
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.choiceIndex = index;
        info.choiceHover = 0;
        CallCallback(&info);
        return true;
    }
    RequestRedraw();
    return true;
}

int MWinButton::ChoiceGetSel() const
{
    ChoiceData *data = ChoiceDataOf(this);
    return data ? data->sel : 0;
}

int MWinButton::ChoiceGetNumItems() const
{
    ChoiceData *data = ChoiceDataOf(this);
    return data ? data->count : 0;
}

void MWinButton::ChoiceSetShowArrows(bool arrows)
{
    ChoiceData *data = ChoiceDataOf(this);
    if (!data)
        return;
    data->arrows = arrows;
    if (arrows && data->count > 0)
        SetText(data->sel >= 0 ? ChoiceGetString(data->sel) : "");
    ChoiceUpdateArrows(this);
    kindReady = true;
    RequestRedraw();
}

void MWinButton::ChoiceSetWideSelected(bool on)
{
    if (ChoiceData *data = ChoiceDataOf(this))
        data->wideSelected = on;
}

void MWinButton::ChoiceSetHoverNotify(bool on)
{
    if (ChoiceData *data = ChoiceDataOf(this))
        data->hoverNotify = on;
}

bool MWinButton::ChoiceRegisterIntVariable(int *variable, char notify)
{
    if (!variable || !ChoiceDataOf(this))
        return false;
    SetBinding(MWIN_BIND_INT, variable);
    bindIntMultiplier = 1;
    return ChoiceSetSel(*variable, notify);
}

bool MWinButton::ChoiceRegisterCharVariableNotify(char *variable, char notify)
{
    if (!variable || kind != MWIN_BUTTON_CHOICE)
        return false;
    SetBinding(MWIN_BIND_CHAR, variable);
    return ChoiceSetSel(*variable, notify);
}

bool MWinButton::ChoiceRegisterCharVariable(char *variable)
{
    return ChoiceRegisterCharVariableNotify(variable, 0);
}

// The left edge and width of item i in row mode.
static void ChoiceItemSpan(MWinButton *button, const ChoiceData *data, int item, float *x, float *w)
{
    const _Dimension *screen = button->GetScreenAreaP();
    int n = data->count;
    if (n < 2)
    {
        *x = screen->x;
        *w = screen->w;
        return;
    }
    float left = screen->x;
    for (int i = 0; i <= item; i++)
    {
        float width = screen->w / n;
        if (data->wideSelected)
            width = (i == data->sel ? 2.0f : 1.0f) * screen->w / (n + 1);
        if (i == item)
        {
            *x = left;
            *w = width;
            return;
        }
        left += width;
    }
}

int MWinButton::ChoiceGetItemFromMousePos(char clamp)
{
    ChoiceData *data = ChoiceDataOf(this);
    if (!data || data->count < 1)
    {
        if (clamp)
            DebugError(ENG_FUNC, "Empty Choice List (ID =  %s)", id);
        return -1;
    }
    float mouseX = mwin->GetMouseX();
    if (mouseX < screenArea.x)
        return clamp ? 0 : -1;
    if (mouseX >= screenArea.x + screenArea.w)
        return clamp ? data->count - 1 : -1;
    for (int i = 0; i < data->count; i++)
    {
        float x, w;
        ChoiceItemSpan(this, data, i, &x, &w);
        if (mouseX >= x && mouseX < x + w)
            return i;
    }
    return data->count - 1;
}

// ---- Choice input -----------------------------------------------------------------------

static bool ChoiceStep(MWinButton *button, int delta)
{
    ChoiceData *data = ChoiceDataOf(button);
    int index = data->sel + delta;
    if (index < 0 || index >= data->count)
        return false;
    bool changed = index != data->sel;
    button->ChoiceSetSel(index, 2);
    return changed;
}

static bool ChoiceMousePressed(MWinButton *button, int which, bool down, int flag)
{
    ChoiceData *data = ChoiceDataOf(button);
    if (!data || !MWinKindPressReady(button, which))
        return false;
    if (!down)
        return true;
    MWin *mwin = button->GetMWin();
    if (!data->arrows)
    {
        int item = button->ChoiceGetItemFromMousePos(1);
        if (item < 0)
            return true;
        bool changed = item != data->sel;
        _MWinStillExistsInfo record;
        button->FillStillExistsCheckInfo(&record);
        button->ChoiceSetSel(item, 2);
        if (changed && button->DoWeStillExist(&record))
            mwin->PlaySound(MWIN_SOUND_CHANGED);
        return true;
    }
    const _Dimension *screen = button->GetScreenAreaP();
    float zone = MWinKindLayout(button, MWIN_LF_ARROW_INSET) + MWinKindLayout(button, MWIN_LF_ARROW_W);
    float arrowH = MWinKindLayout(button, MWIN_LF_ARROW_H);
    if (arrowH > screen->h)
        arrowH = screen->h;
    float mouseX = mwin->GetMouseX(), mouseY = mwin->GetMouseY();
    float centre = screen->y + screen->h / 2;
    if (mouseY < centre - arrowH / 2 || mouseY >= centre + arrowH / 2)
        return true;
    int delta = 0;
    if (mouseX >= screen->x && mouseX < screen->x + zone && data->leftShown)
        delta = -1;
    else if (mouseX >= screen->x + screen->w - zone && mouseX < screen->x + screen->w && data->rightShown)
        delta = 1;
    if (delta == 0)
        return true;
    _MWinStillExistsInfo record;
    button->FillStillExistsCheckInfo(&record);
    if (ChoiceStep(button, delta) && button->DoWeStillExist(&record))
        mwin->PlaySound(MWIN_SOUND_CHANGED);
    return true;
}

static bool ChoiceMouseMove(MWinButton *button)
{
    ChoiceData *data = ChoiceDataOf(button);
    if (!data || !data->hoverNotify || data->arrows)
        return false;
    int item = button->ChoiceGetItemFromMousePos(0);
    if (item == data->hovered)
        return false;
    data->hovered = item;
    if (item < 0 || !MWinKindHasListener(button))
        return false;
    _MWinButtonCallbackInfo info;
    button->FillCallbackInfo(&info);
    info.choiceIndex = item;
    info.choiceHover = 1;
    button->CallCallback(&info);
    return true;
}

static bool ChoiceKeyDown(MWinButton *button, int key)
{
    ChoiceData *data = ChoiceDataOf(button);
    if (!data || data->count < 1)
        return false;
    switch (key)
    {
    case MWIN_VK_RETURN:
        button->ChoiceSetSel(data->sel + 1 >= data->count ? 0 : data->sel + 1, 2);
        return true;
    case MWIN_VK_LEFT:
    case MWIN_VK_UP:
        if (data->sel > 0)
            button->ChoiceSetSel(data->sel - 1, 2);
        return true;
    case MWIN_VK_RIGHT:
    case MWIN_VK_DOWN:
        if (data->sel < data->count - 1)
            button->ChoiceSetSel(data->sel + 1, 2);
        return true;
    default:
        return false;
    }
}

// ---- Choice drawing ---------------------------------------------------------------------

static bool ChoiceRenderBack(MWinButton *button, int state)
{
    ChoiceData *data = ChoiceDataOf(button);
    const _Dimension *screen = button->GetScreenAreaP();
    if (!data)
        return false;
    ChoiceUpdateArrows(button);
    if (data->arrows)
    {
        button->RenderBackTexBut(state);
        if (button->IsEnabled())
        {
            float w = MWinKindLayout(button, MWIN_LF_ARROW_W), h = MWinKindLayout(button, MWIN_LF_ARROW_H);
            float inset = MWinKindLayout(button, MWIN_LF_ARROW_INSET);
            if (h > screen->h)
                h = screen->h;
            float y = screen->y + (screen->h - h) / 2;
            if (data->leftShown)
                MWinKindDrawStd(button, MWIN_STD_LEFT_ARROW, state, screen->x + inset, y, w, h);
            if (data->rightShown)
                MWinKindDrawStd(button, MWIN_STD_RIGHT_ARROW, state, screen->x + screen->w - w - inset, y, w, h);
        }
        return true;
    }
    if (data->count < 1)
    {
        button->RenderBackTexBut(state);
        return true;
    }
    int hoverSetting = MWinKindsGetSettings()->choiceHover;
    for (int i = 0; i < data->count; i++)
    {
        int itemState;
        if (hoverSetting != 2 && button->HasHoverOrFocus() && button->IsEnabled())
            itemState = i == data->sel ? MWIN_TEXSTATE_PRESSED
                                        : (hoverSetting == 1 ? MWIN_TEXSTATE_HOVER : MWIN_TEXSTATE_NORMAL);
        else if (button->IsEnabled())
            itemState = i == data->sel ? MWIN_TEXSTATE_PRESSED : MWIN_TEXSTATE_NORMAL;
        else
            itemState = MWIN_TEXSTATE_DISABLED;
        float x, w;
        ChoiceItemSpan(button, data, i, &x, &w);
        MWinKindDrawOwn(button, itemState, x, screen->y, w, screen->h);
    }
    return true;
}

static bool ChoiceRenderText(MWinButton *button, int state)
{
    ChoiceData *data = ChoiceDataOf(button);
    if (!data)
        return false;
    MWin *mwin = button->GetMWin();
    const _Dimension *screen = button->GetScreenAreaP();
    if (data->arrows)
    {
        float side = MWinKindLayout(button, MWIN_LF_ARROW_INSET) + MWinKindLayout(button, MWIN_LF_ARROW_W);
        _Dimension box = {screen->x + side, screen->y, screen->w - 2 * side, screen->h};
        const char *text = data->sel >= 0 ? button->ChoiceGetString(data->sel) : "";
        if (box.w > 0)
            mwin->DrawFontText(button->GetFontNum(), MWIN_ALIGN_CENTRE, 0, &box, nullptr, text, 0, true, true);
        return true;
    }
    EngFont *font = button->GetEngFont();
    float margin = MWinKindLayout(button, MWIN_LF_CHOICE_TEXT_INSET);
    for (int i = 0; i < data->count; i++)
    {
        float x, w;
        ChoiceItemSpan(button, data, i, &x, &w);
        _Dimension box = {x, screen->y, w, screen->h};
        _ColourRGBA saved = {};
        bool faded = !button->IsEnabled() && i != data->sel && font;
        if (faded)
        {
            font->GetColour(&saved);
            font->SetColour(saved.r, saved.g, saved.b, saved.a * 0.5f);
        }
        mwin->DrawFontText(button->GetFontNum(), MWIN_ALIGN_CENTRE, margin, &box, nullptr, button->ChoiceGetString(i),
                           0, true, true);
        if (faded)
            font->SetColourRGBA(&saved);
    }
    return true;
}

// ---- Handler tables ---------------------------------------------------------------------

const _MWinButtonKindOps mwin_checkbox_ops = {
    CheckboxInit, KindFree, nullptr, nullptr, CheckboxRenderBack, CheckboxRenderText, nullptr, CheckboxMousePressed,
    CheckboxDoubleClicked, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

const _MWinButtonKindOps mwin_choice_ops = {
    ChoiceInit, KindFree, nullptr, nullptr, ChoiceRenderBack, ChoiceRenderText, nullptr, ChoiceMousePressed, nullptr,
    ChoiceMouseMove, nullptr, ChoiceKeyDown, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};
