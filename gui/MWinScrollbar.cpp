// The vertical scrollbar (kind 5): a track, optional arrows at both ends and a knob.
// The value runs from the minimum at the top to the maximum at the bottom; arrows step,
// clicks on the track page, the knob drags, the wheel steps and keys step or page.
#include <cmath>

#include "EngDebug.h"
#include "MWinKinds.h"
#include "MWinScrollbar.h"

MWinVertScrollbar::MWinVertScrollbar(MWin *mwin, const char *id, MWinGroup *group, const char *texButId,
                                     MWinWindow *window, float x, float y, float w, float h)
    : MWinButton(mwin, id, group, MWIN_BUTTON_VERT_SCROLLBAR, texButId, "", x, y, w, h), value(0), minimum(0),
      maximum(100), page(10), step(1), grab(0), changedDuringDrag(false), keyboardMoved(false), upArrow(false),
      downArrow(false), floatDivisor(0), owned(false)
{
    SetKindReady(true);
}

MWinVertScrollbar::~MWinVertScrollbar() = default;

void MWinVertScrollbar::SetRange(double newMinimum, double newMaximum, double newPage, double newStep)
{
    if (newMaximum < newMinimum)
        return;
    minimum = newMinimum;
    maximum = newMaximum;
    page = newPage > 0 ? newPage : (maximum - minimum) / 10;
    step = newStep > 0 ? newStep : (maximum - minimum) / 100;
    value = minimum;
    RequestRedraw();
}

void MWinVertScrollbar::SetRange(int newMinimum, int newMaximum, int newPage, int newStep)
{
    SetRange((double)newMinimum, (double)newMaximum, (double)newPage, (double)newStep);
}

void MWinVertScrollbar::SetArrows(bool up, bool down)
{
    upArrow = up;
    downArrow = down;
}

void MWinVertScrollbar::RegisterFloatDivisor(float *variable, float divisor)
{
    SetBinding(MWIN_BIND_FLOAT, variable);
    floatDivisor = divisor;
}

double MWinVertScrollbar::GetPos() const
{
    if (kind != MWIN_BUTTON_VERT_SCROLLBAR)
        return -1;
    return value;
}

bool MWinVertScrollbar::SetPosDouble(double newValue, bool drag, bool force, bool fire)
{
    if (kind != MWIN_BUTTON_VERT_SCROLLBAR)
    {
        DebugError(ENG_FUNC, "Not a scrollbar [%s]", id);
        return false;
    }
    if (newValue < minimum)
        newValue = minimum;
    if (newValue > maximum)
        newValue = maximum;
    if (newValue != value || force)
    {
        value = newValue;
        if (bindPointer)
        {
            long nearest = lround(value);
            switch (bindKind)
            {
            case MWIN_BIND_CHAR:
                *(char *)bindPointer = (char)(nearest < -127 ? -127 : nearest > 127 ? 127 : nearest);
                break;
            case MWIN_BIND_BYTE:
                *(uint8_t *)bindPointer = (uint8_t)(nearest < 0 ? 0 : nearest > 255 ? 255 : nearest);
                break;
            case MWIN_BIND_INT:
                *(int *)bindPointer = (int)nearest;
                break;
            case MWIN_BIND_FLOAT:
                if (floatDivisor > 0)
                    *(float *)bindPointer = (float)(value / floatDivisor);
                break;
            default:
                break;
            }
        }
        if (drag)
            changedDuringDrag = true;
        RequestRedraw();
    }
    if (fire && !owned && HasCallback())
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.sliderHeld = drag ? 1 : 0;
        CallCallback(&info);
    }
    return true;
}

bool MWinVertScrollbar::SetPosFromVariable()
{
    if (!bindPointer)
        return false;
    double read = value;
    switch (bindKind)
    {
    case MWIN_BIND_CHAR:
        read = *(char *)bindPointer;
        break;
    case MWIN_BIND_BYTE:
        read = *(uint8_t *)bindPointer;
        break;
    case MWIN_BIND_INT:
        read = *(int *)bindPointer;
        break;
    case MWIN_BIND_FLOAT:
        read = *(float *)bindPointer * (floatDivisor > 0 ? floatDivisor : 1);
        break;
    default:
        return false;
    }
    return SetPosDouble(read, false, true, false);
}

// ---- Geometry -----------------------------------------------------------------------------

float MWinVertScrollbar::TrackStart()
{
    float start = screenArea.y + MWinKindLayout(this, MWIN_LF_SCROLL_TRACK_INSET);
    if (upArrow || downArrow)
        start += MWinKindLayout(this, MWIN_LF_SCROLL_ARROW_H);
    return start;
}

float MWinVertScrollbar::TrackLength()
{
    float length = screenArea.h - GetKnobHeight() - 2 * MWinKindLayout(this, MWIN_LF_SCROLL_TRACK_INSET);
    if (upArrow || downArrow)
        length -= 2 * MWinKindLayout(this, MWIN_LF_SCROLL_ARROW_H);
    return length;
}

float MWinVertScrollbar::GetKnobHeight()
{
    return MWinKindLayout(this, MWIN_LF_SCROLL_KNOB_H);
}

float MWinVertScrollbar::GetKnobTop()
{
    if (maximum == minimum)
        return TrackStart();
    return TrackStart() + (float)((value - minimum) * TrackLength() / (maximum - minimum));
}

double MWinVertScrollbar::ValueAtY(float y)
{
    float length = TrackLength();
    if (length <= 0)
        return minimum;
    double at = (y - GetKnobHeight() / 2 - TrackStart()) * (maximum - minimum) / length + minimum;
    return at < minimum ? minimum : at > maximum ? maximum : at;
}

// ---- Input --------------------------------------------------------------------------------

bool MWinVertScrollbar::StepBy(int direction)
{
    double next = value + direction * step;
    if (next < minimum - 1e-9 || next > maximum + 1e-9)
        return false;
    double before = value;
    SetPosDouble(next, false, false, true);
    return before != next;
}

bool MWinVertScrollbar::PageBy(int direction)
{
    double before = value;
    SetPosDouble(value + direction * page, false, false, true);
    return before != value;
}

void MWinVertScrollbar::EndDrag()
{
    bool wasChanged = changedDuringDrag;
    captureState = 0;
    changedDuringDrag = false;
    if (wasChanged)
        SetPosDouble(value, false, true, true);
}

bool MWinVertScrollbar::MouseButtonPressed(int which, bool down, int flag)
{
    if (!down || which != 0)
    {
        bool was = captureState != 0;
        if (was)
            EndDrag();
        pressed = false;
        return was;
    }
    if (!kindReady || !visible || !enabled)
        return false;
    float my = mwin->GetMouseY();
    float arrowH = MWinKindLayout(this, MWIN_LF_SCROLL_ARROW_H);
    float inset = MWinKindLayout(this, MWIN_LF_SCROLL_ARROW_INSET);
    if (upArrow && my >= screenArea.y + inset && my < screenArea.y + inset + arrowH)
    {
        StepBy(-1);
        return true;
    }
    float downTop = screenArea.y + screenArea.h - arrowH - inset;
    if (downArrow && my >= downTop && my < downTop + arrowH)
    {
        StepBy(1);
        return true;
    }
    float knobTop = GetKnobTop();
    if (my >= knobTop && my < knobTop + GetKnobHeight())
    {
        captureState = 1;
        grab = my - knobTop - GetKnobHeight() / 2;
        changedDuringDrag = false;
        return true;
    }
    PageBy(ValueAtY(my) <= value ? -1 : 1);
    return true;
}

bool MWinVertScrollbar::MouseDoubleClicked(int which)
{
    return MouseButtonPressed(which, true, 0);
}

bool MWinVertScrollbar::ReleaseCapture()
{
    if (captureState)
        EndDrag();
    pressed = false;
    return false;
}

bool MWinVertScrollbar::MouseMove()
{
    if (!captureState)
        return false;
    SetPosDouble(ValueAtY(mwin->GetMouseY() - grab), true, false, true);
    RequestRedraw();
    return true;
}

bool MWinVertScrollbar::MouseWheel(int delta)
{
    if (delta == 0)
        return false;
    double before = value;
    int notches = delta > 0 ? delta : -delta;
    for (int i = 0; i < notches; i++)
        StepBy(delta > 0 ? -1 : 1);
    if (value != before)
        mwin->PlaySound(MWIN_SOUND_TYPED);
    return true;
}

bool MWinVertScrollbar::KeyDown(int key)
{
    switch (key)
    {
    case MWIN_VK_PRIOR:
    case MWIN_VK_LEFT:
        PageBy(-1);
        break;
    case MWIN_VK_NEXT:
    case MWIN_VK_RIGHT:
        PageBy(1);
        break;
    case MWIN_VK_UP:
        StepBy(-1);
        break;
    case MWIN_VK_DOWN:
        StepBy(1);
        break;
    default:
        return MWinButton::KeyDown(key);
    }
    keyboardMoved = true;
    return true;
}

bool MWinVertScrollbar::IsCapturingInput()
{
    return captureState != 0;
}

void MWinVertScrollbar::LoseHoverOrFocus()
{
    if (captureState)
        EndDrag();
    MWinButton::LoseHoverOrFocus();
}

// ---- Drawing ------------------------------------------------------------------------------

void MWinVertScrollbar::Render()
{
    if (!visible || !onScreen)
        return;
    if (!IsDrawable())
        return;
    int state = GetDrawState();
    RenderBackTexBut(state);
    float knobW = MWinKindLayout(this, MWIN_LF_SCROLL_KNOB_W) * mwin->GetHorizontalScaleIfScaled();
    if (knobW > screenArea.w)
        knobW = screenArea.w;
    float x = screenArea.x + (screenArea.w - knobW) / 2;
    float arrowH = MWinKindLayout(this, MWIN_LF_SCROLL_ARROW_H);
    float inset = MWinKindLayout(this, MWIN_LF_SCROLL_ARROW_INSET);
    if (upArrow)
        MWinKindDrawStd(this, MWIN_STD_UP_ARROW, state, x, screenArea.y + inset, knobW, arrowH);
    if (downArrow)
        MWinKindDrawStd(this, MWIN_STD_DOWN_ARROW, state, x, screenArea.y + screenArea.h - arrowH - inset, knobW,
                        arrowH);
    MWinKindDrawStd(this, MWIN_STD_VSCROLL_BUTTON, MWIN_TEXSTATE_NORMAL, x, GetKnobTop(), knobW, GetKnobHeight());
    EndClipping();
}
