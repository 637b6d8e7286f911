// Groups: the owned, ordered buttons of a window (drawing order first to last), and the
// value-bar geometry.
#include "MWinGroup.h"

#include <cmath>

#include "EngDebug.h"
#include "MWin.h"

MWinGroup::MWinGroup(MWin *mwinPointer, MWinWindow *owner)
    : mwin(mwinPointer), shown(true), createdOk(true), window(owner), first(nullptr), last(nullptr), prev(nullptr),
      next(nullptr)
{
    DebugFatalIfFalse(mwin != nullptr, "MWinGroup::MWinGroup", "No mw");
}

MWinGroup::~MWinGroup()
{
    RemoveAllButtons();
    createdOk = false;
    window = nullptr;
}

MWinButton *MWinGroup::AddButton(const char *id, _MWinButtonType kind, const char *texButId, const char *text, float x,
                                 float y, float w, float h)
{
    if (kind == MWIN_BUTTON_VALUE_BAR || kind == MWIN_BUTTON_VERT_SCROLLBAR || kind == MWIN_BUTTON_KIND_13 ||
        kind == MWIN_BUTTON_TAB_PANEL)
        DebugError(ENG_FUNC, "Use individual class buttons instead");
    if (!PreAddButton(id, kind, x, y, w, h))
        return nullptr;
    MWinButton *button = new MWinButton(mwin, id, this, kind, texButId, text, x, y, w, h);
    if (!button)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return nullptr;
    }
    return CompleteAddButton(button) ? button : nullptr;
}

MWinButton *MWinGroup::AddButton(const char *id, _MWinButtonType kind, const char *texButId, const char *text, float x,
                                 float y, float w, float h, MWinButtonCallbackFn callback, int a, int b)
{
    MWinButton *button = AddButton(id, kind, texButId, text, x, y, w, h);
    if (button)
        button->SetCallback(callback, a, b, false);
    return button;
}

bool MWinGroup::PreAddButton(const char *id, _MWinButtonType kind, float x, float y, float w, float h)
{
    if (!window)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    // Two buttons of one window may share an id; the queue keeps the very object it was
    // given, so a twin is never fired in another's place.
    window->GetButtonFromID(id, false);
    return true;
}

bool MWinGroup::CompleteAddButton(MWinButton *button)
{
    if (!button)
    {
        DebugError(ENG_FUNC, "No button (no memory)");
        return false;
    }
    button->SetLinks(last, nullptr);
    if (last)
        last->SetLinks(last->GetPrev(), button);
    else
        first = button;
    last = button;
    return true;
}

bool MWinGroup::RemoveButton(MWinButton *button)
{
    MWinButton *found = nullptr;
    for (MWinButton *b = first; b; b = b->GetNext())
        if (b == button)
            found = b;
    if (!found)
        return false;
    MWinButton *before = found->GetPrev(), *after = found->GetNext();
    if (before)
        before->SetLinks(before->GetPrev(), after);
    else
        first = after;
    if (after)
        after->SetLinks(before, after->GetNext());
    else
        last = before;
    delete found;
    return true;
}

void MWinGroup::RemoveAllButtons()
{
    while (last)
    {
        MWinButton *button = last;
        MWinButton *before = button->GetPrev();
        if (before && before->GetNext() != button)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
            break;
        }
        last = before;
        if (before)
            before->SetLinks(before->GetPrev(), nullptr);
        else
            first = nullptr;
        delete button;
    }
    first = last = nullptr;
}

bool MWinGroup::CreateGraphics()
{
    bool ok = true;
    for (MWinButton *button = first; button; button = button->GetNext())
        if (!button->CreateGraphics())
            ok = false;
    return ok;
}

void MWinGroup::DestroyGraphics()
{
    for (MWinButton *button = first; button; button = button->GetNext())
        button->DestroyGraphics();
}

void MWinGroup::UpdatePositions()
{
    for (MWinButton *button = first; button; button = button->GetNext())
        button->CalcScreenArea();
}

void MWinGroup::RefreshLanguageTexts()
{
    for (MWinButton *button = first; button; button = button->GetNext())
        button->RefreshLanguageText();
}

void MWinGroup::Render()
{
    if (!createdOk || !window || !mwin || !mwin->GetTextures() || !shown)
        return;
    for (MWinButton *button = first; button; button = button->GetNext())
    {
        if (!button->IsSetUp())
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
            return;
        }
        button->Render();
    }
    for (MWinButton *button = first; button; button = button->GetNext())
        button->RenderOpenListOnTop();
}

// ---- Value bars -------------------------------------------------------------------------------------

static const _MWinValueBar *ValueBar(const MWinButton *button)
{
    if (!button || button->GetType() != MWIN_BUTTON_VALUE_BAR)
        return nullptr;
    return (const _MWinValueBar *)button->GetKindData();
}

double MWinValueBarGetValue(const MWinButton *button)
{
    const _MWinValueBar *bar = ValueBar(button);
    return bar ? bar->value : -1.0;
}

float MWinValueBarGetValueFloat(const MWinButton *button)
{
    return (float)MWinValueBarGetValue(button);
}

float MWinValueBarGetThumbX(const MWinButton *button)
{
    const _MWinValueBar *bar = ValueBar(button);
    if (!bar)
        return 0.0f;
    const _MWinLayoutSettings *layout = button->GetLayoutSettings();
    float sx = 1.0f, sy = 1.0f;
    button->GetTextScale(&sx, &sy);
    float thumbW = layout ? layout->kind40[1] * sx : 5.0f;  // field 41
    float margin = layout ? layout->kind40[0] * sx : 5.0f;  // field 40
    float labelW = bar->labelWidth;
    const _Dimension *area = button->GetAreaP();
    float track = area->w - thumbW - 2.0f * margin - (labelW > 0 ? 2.0f * labelW : 0.0f);
    float start = area->x + margin + (labelW > 0 ? labelW : 0.0f);
    if (bar->maximum == bar->minimum)
        return start;
    float f = (float)((bar->value - bar->minimum) / (bar->maximum - bar->minimum));
    if (bar->logarithmic && bar->maximum > bar->minimum)
    {
        f = f < 0 ? 0 : (f > 1 ? 1 : f);
        f = logf(1.0f + f * (expf(1.0f) - 1.0f));
    }
    return start + track * f;
}

bool MWinValueBarIsMouseOnThumb(const MWinButton *button)
{
    const _MWinValueBar *bar = ValueBar(button);
    MWin *mwin = button ? button->GetMWin() : nullptr;
    if (!bar || !mwin)
        return false;
    const _Dimension *area = button->GetAreaP();
    const _MWinLayoutSettings *layout = button->GetLayoutSettings();
    float sx = 1.0f, sy = 1.0f;
    button->GetTextScale(&sx, &sy);
    float thumbW = layout ? layout->kind40[1] * sx : 5.0f;
    float thumbX = MWinValueBarGetThumbX(button);
    float mx = mwin->GetMouseX(), my = mwin->GetMouseY();
    return area->y <= my && my < area->y + area->h && thumbX <= mx && mx < thumbX + thumbW;
}
