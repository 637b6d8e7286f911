// The range slider (kind 16): a horizontal bar on which the user picks a range low ..
// high between a minimum and a maximum, by holding the low end, the high end or the
// whole range, or with cursor keys. The text can carry a label and the shown values.
// Changes reach the callback while held (slider held 1) and once more at the release.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "MWinKinds.h"

enum
{
    PART_LEFT_OUTSIDE = 253,
    PART_RIGHT_OUTSIDE = 3,
    PART_JUMP_LEFT = 254,
    PART_JUMP_RIGHT = 2,
    PART_LOW = 255,
    PART_HIGH = 1,
    PART_RANGE = 0,
    PART_NONE = 254,
};

namespace
{
struct SliderData
{
    _MWinPictureLayer picture; // first: every kind state starts with it
    float minimum, maximum, low, high, minimumSpan;
    int format;      // 0 none, 3 two decimals, 4 three, others one
    int labelLength;
    bool pending;
    uint8_t held;    // PART_LOW, PART_HIGH, PART_RANGE, or PART_NONE
    float grab;
    float *boundLow, *boundHigh;
    float divisor;
};
} // namespace

static SliderData *SliderOf(const MWinButton *button)
{
    return button->GetType() == MWIN_BUTTON_RANGE_SLIDER ? (SliderData *)button->GetKindData() : nullptr;
}

static void SliderInit(MWinButton *button)
{
    SliderData *data = (SliderData *)calloc(1, sizeof(SliderData));
    if (data)
    {
        data->maximum = 1;
        data->low = 0.25f;
        data->high = 0.75f;
        data->minimumSpan = 0.1f;
        data->held = PART_NONE;
        data->divisor = 1;
    }
    button->SetKindData(data);
    button->SetKindReady(data != nullptr);
}

static void SliderDestroy(MWinButton *button)
{
    free(button->GetKindData());
    button->SetKindData(nullptr);
}

void MWinButton::SliderSetLimits(float minimum, float maximum, float minimumSpan)
{
    SliderData *data = SliderOf(this);
    if (!data || maximum < minimum)
        return;
    data->minimum = minimum;
    data->maximum = maximum;
    data->minimumSpan = minimumSpan > maximum - minimum ? maximum - minimum : minimumSpan;
    SliderSetRange(data->low, data->high, 0, 0);
}

void MWinButton::SliderSetValueFormat(int format, int labelLength)
{
    SliderData *data = SliderOf(this);
    if (!data)
        return;
    data->format = format;
    data->labelLength = labelLength < 0 ? 0 : labelLength;
    SliderUpdateValueText();
}

bool MWinButton::SliderRegisterFloatVariables(float *low, float *high, float divisor)
{
    SliderData *data = SliderOf(this);
    if (!data)
        return false;
    data->boundLow = low;
    data->boundHigh = high;
    data->divisor = divisor != 0 ? divisor : 1;
    return true;
}

void MWinButton::SliderGetRange(float *low, float *high) const
{
    SliderData *data = SliderOf(this);
    if (low)
        *low = data ? data->low : 0;
    if (high)
        *high = data ? data->high : 0;
}

bool MWinButton::SliderGetShownValues(float *a, float *b)
{
    SliderData *data = SliderOf(this);
    if (!data)
        return false;
    if (data->high - data->low <= data->minimumSpan * 1.00001f)
    {
        float value = data->low == data->minimum   ? data->minimum
                      : data->high == data->maximum ? data->maximum
                                                    : (data->low + data->high) / 2;
        *a = *b = value;
        return true;
    }
    *a = data->low;
    *b = data->high;
    return false;
}

void MWinButton::SliderUpdateValueText()
{
    SliderData *data = SliderOf(this);
    if (!data || !data->format || !HasText())
        return;
    char label[512];
    snprintf(label, sizeof(label), "%.*s", data->labelLength, GetTextP());
    int decimals = data->format == 3 ? 2 : data->format == 4 ? 3 : 1;
    float a, b;
    char values[96];
    if (SliderGetShownValues(&a, &b))
        snprintf(values, sizeof(values), "[%.*f]", decimals, a);
    else
        snprintf(values, sizeof(values), "[%.*f,%.*f]", decimals, a, decimals, b);
    char text[640];
    snprintf(text, sizeof(text), "%s%s%s", label, data->labelLength > 0 ? " " : "", values);
    AllocAndSetText(0, text);
    RequestRedraw();
}

bool MWinButton::SliderSetRange(float low, float high, char held, char notify)
{
    SliderData *data = SliderOf(this);
    if (!data)
        return false;
    if (low > high)
        low = high;
    if (low < data->minimum)
        low = data->minimum;
    if (high > data->maximum)
        high = data->maximum;
    if (high - low < data->minimumSpan)
    {
        float half = (data->minimumSpan - (high - low)) / 2;
        low -= half;
        high += half;
        if (high > data->maximum)
        {
            low -= high - data->maximum;
            high = data->maximum;
        }
        if (low < data->minimum)
        {
            high += data->minimum - low;
            low = data->minimum;
        }
    }
    bool changed = low != data->low || high != data->high;
    if (changed)
    {
        data->low = low;
        data->high = high;
        SliderUpdateValueText();
        float a, b;
        SliderGetShownValues(&a, &b);
        if (data->boundLow)
            *data->boundLow = a / data->divisor;
        if (data->boundHigh)
            *data->boundHigh = b / data->divisor;
        if (held)
            data->pending = true;
        RequestRedraw();
    }
    if (notify && MWinKindHasListener(this))
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.sliderHeld = held ? 1 : 0;
        CallCallback(&info);
    }
    return true;
}

void MWinButton::SliderGetHandleX(float *lowX, float *highX)
{
    SliderData *data = SliderOf(this);
    if (!data)
        return;
    float e = MWinKindLayout(this, MWIN_LF_SLIDER_END_INSET);
    float hw = MWinKindLayout(this, MWIN_LF_SLIDER_HANDLE_W);
    float usable = screenArea.w - 2 * e - hw;
    float range = data->maximum - data->minimum;
    if (range <= 0)
    {
        *lowX = screenArea.x + e;
        *highX = *lowX + hw;
        return;
    }
    *lowX = screenArea.x + e + (data->low - data->minimum) * usable / range;
    *highX = screenArea.x + e + (data->high - data->minimum) * usable / range + hw;
}

float MWinButton::SliderValueFromMouse(float mouseX, char *part)
{
    SliderData *data = SliderOf(this);
    if (!data)
        return 0;
    float e = MWinKindLayout(this, MWIN_LF_SLIDER_END_INSET);
    float g = MWinKindLayout(this, MWIN_LF_SLIDER_GRAB_W);
    float lowX, highX;
    SliderGetHandleX(&lowX, &highX);
    uint8_t at;
    if (mouseX < screenArea.x)
        at = PART_LEFT_OUTSIDE;
    else if (mouseX >= screenArea.x + screenArea.w)
        at = PART_RIGHT_OUTSIDE;
    else if (mouseX < lowX)
        at = PART_JUMP_LEFT;
    else if (mouseX >= highX)
        at = PART_JUMP_RIGHT;
    else if (mouseX < lowX + g)
        at = PART_LOW;
    else if (mouseX >= highX - g)
        at = PART_HIGH;
    else
        at = PART_RANGE;
    if (part)
        *part = (char)at;
    float x = mouseX;
    if (data->held == PART_LOW)
        x += g;
    else if (data->held == PART_HIGH)
        x -= g;
    float width = screenArea.w - 2 * e - 2 * g;
    if (width <= 0)
        return 0;
    float value = (x - screenArea.x - e - g) * (data->maximum - data->minimum) / width + data->minimum;
    if (value < data->minimum)
        value = data->minimum;
    if (value > data->maximum)
        value = data->maximum;
    return value;
}

static void SliderMoveHeld(MWinButton *button, SliderData *data)
{
    float v = button->SliderValueFromMouse(button->GetMWin()->GetMouseX(), nullptr);
    float low = data->low, high = data->high;
    if (data->held == PART_LOW)
    {
        low = v;
        if (high - v < data->minimumSpan)
            high = v + data->minimumSpan;
    }
    else if (data->held == PART_HIGH)
    {
        high = v;
        if (v - low < data->minimumSpan)
            low = v - data->minimumSpan;
    }
    else
    {
        float span = data->high - data->low;
        low = data->grab + v;
        high = low + span;
        if (high > data->maximum)
        {
            high = data->maximum;
            low = high - span;
        }
        if (low < data->minimum)
        {
            low = data->minimum;
            high = low + span;
        }
    }
    button->SliderSetRange(low, high, 1, 1);
}

static bool SliderMousePressed(MWinButton *button, int which, bool down, int flag)
{
    SliderData *data = SliderOf(button);
    if (!data)
        return false;
    if (!down && button->GetCaptureState())
    {
        button->SetCaptureState(0);
        data->held = PART_NONE;
        if (data->pending)
        {
            data->pending = false;
            button->SliderSetRange(data->low, data->high, 0, 1);
        }
        return true;
    }
    if (!MWinKindPressReady(button, which))
        return false;
    if (!down)
        return true;
    char part;
    float v = button->SliderValueFromMouse(button->GetMWin()->GetMouseX(), &part);
    switch ((uint8_t)part)
    {
    case PART_RANGE:
    case PART_HIGH:
    case PART_LOW:
        data->held = (uint8_t)part;
        data->grab = data->low - v;
        button->SetCaptureState(1);
        SliderMoveHeld(button, data);
        return true;
    case PART_JUMP_LEFT:
        DebugInfo("JUMP LEFT");
        return true;
    case PART_JUMP_RIGHT:
        DebugInfo("JUMP RIGHT");
        return true;
    default:
        return true;
    }
}

static bool SliderMouseMove(MWinButton *button)
{
    SliderData *data = SliderOf(button);
    if (!data || !button->GetCaptureState() || data->held == PART_NONE)
        return false;
    SliderMoveHeld(button, data);
    return true;
}

static bool SliderKeyDown(MWinButton *button, int key)
{
    SliderData *data = SliderOf(button);
    if (!data)
        return false;
    float step = (data->maximum - data->minimum) / 100;
    float low = data->low, high = data->high;
    switch (key)
    {
    case MWIN_VK_UP:
        low = high = 0;
        break;
    case MWIN_VK_DOWN:
    {
        float span = data->high - data->low;
        low = (data->minimum + data->maximum - span) / 2;
        high = low + span;
        break;
    }
    case MWIN_VK_LEFT:
    case MWIN_VK_RIGHT:
    {
        float delta = key == MWIN_VK_LEFT ? -step : step;
        if (MWinKindKeyHeld(MWIN_VK_CONTROL))
            low += delta;
        else if (MWinKindKeyHeld(MWIN_VK_SHIFT))
            high += delta;
        else
        {
            low += delta;
            high += delta;
        }
        break;
    }
    default:
        return false;
    }
    button->SliderSetRange(low, high, 0, 1);
    return true;
}

static bool SliderIsCapturing(const MWinButton *button)
{
    return button->GetCaptureState() != 0;
}

static bool SliderRenderBack(MWinButton *button, int state)
{
    SliderData *data = SliderOf(button);
    if (!data)
        return false;
    button->RenderBackTexBut(state);
    const _Dimension *screen = button->GetScreenAreaP();
    float lowX, highX;
    button->SliderGetHandleX(&lowX, &highX);
    float g = MWinKindLayout(button, MWIN_LF_SLIDER_GRAB_W);
    float barH = MWinKindLayout(button, MWIN_LF_SLIDER_BAR_H);
    if (barH > screen->h)
        barH = screen->h;
    float y = screen->y + (screen->h - barH) / 2;
    float width = highX - lowX;
    float end = g < width / 2 ? g : width / 2;
    MWin *mwin = button->GetMWin();
    MWinTextures *textures = mwin->GetTextures();
    int slot = textures->GetStandardTexButNum(MWIN_STD_SCROLL_BUTTON);
    const float *colour = button->KindMultiplierColour();
    textures->DrawTexButPart(slot, state, lowX, y, end, barH, 0, 0, 0.25f, 1, colour);
    textures->DrawTexButPart(slot, state, lowX + end, y, width - 2 * end, barH, 0.25f, 0, 0.75f, 1, colour);
    textures->DrawTexButPart(slot, state, highX - end, y, end, barH, 0.75f, 0, 1, 1, colour);
    if (g > 4 && width > 4)
    {
        MWinKindDrawStd(button, MWIN_STD_LEFT_ARROW, state, lowX, y, end, barH);
        MWinKindDrawStd(button, MWIN_STD_RIGHT_ARROW, state, highX - end, y, end, barH);
    }
    button->PictureRender();
    return true;
}

static bool SliderRenderText(MWinButton *button, int state)
{
    button->RenderTextLines();
    return true;
}

const _MWinButtonKindOps mwin_slider_ops = {
    SliderInit,       SliderDestroy,   nullptr, nullptr, SliderRenderBack, SliderRenderText,
    nullptr,          SliderMousePressed, nullptr, SliderMouseMove, nullptr, SliderKeyDown,
    nullptr,          SliderIsCapturing, nullptr, nullptr, nullptr, nullptr,
};
