// The colour picker and the value bars it is made of.
//
// Sections: hue table; value bars; the picker.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "MWinColourPicker.h"
#include "MWinKinds.h"

// ---- Hue table ----------------------------------------------------------------------------

static float s_hues[256][3];
static bool s_huesFilled = false;

// Red, magenta, blue, cyan, green, yellow and back towards red.
void MWinColourFillHueTable()
{
    for (int i = 0; i < 256; i++)
    {
        float *c = s_hues[i];
        if (i <= 42)
            c[0] = 1, c[1] = 0, c[2] = i / 42.0f;
        else if (i <= 84)
            c[0] = 1 - (i - 43) / 41.0f, c[1] = 0, c[2] = 1;
        else if (i <= 127)
            c[0] = 0, c[1] = (i - 85) / 42.0f, c[2] = 1;
        else if (i <= 170)
            c[0] = 0, c[1] = 1, c[2] = 1 - (i - 128) / 42.0f;
        else if (i <= 212)
            c[0] = (i - 171) / 42.0f, c[1] = 1, c[2] = 0;
        else
            c[0] = 1, c[1] = 1 - (i - 213) / 42.0f, c[2] = 0;
    }
    s_huesFilled = true;
}

const float *MWinColourGetHue(int index)
{
    if (!s_huesFilled)
        MWinColourFillHueTable();
    index = index < 0 ? 0 : index > 255 ? 255 : index;
    return s_hues[index];
}

// ---- Value bars ---------------------------------------------------------------------------

static _MWinValueBar *BarOf(const MWinButton *button)
{
    return button && button->GetType() == MWIN_BUTTON_VALUE_BAR ? (_MWinValueBar *)button->GetKindData() : nullptr;
}

static void BarInit(MWinButton *button)
{
    _MWinValueBar *bar = (_MWinValueBar *)calloc(1, sizeof(_MWinValueBar));
    if (bar)
        bar->maximum = 1;
    button->SetKindData(bar);
    button->SetKindReady(bar != nullptr);
}

static void BarDestroy(MWinButton *button)
{
    free(button->GetKindData());
    button->SetKindData(nullptr);
}

// The thumb's width and the track's left end and length, in screen units.
static void BarTrack(const MWinButton *button, float *thumbW, float *start, float *length)
{
    const _Dimension *s = button->GetScreenAreaP();
    *thumbW = MWinKindLayout(button, MWIN_LF_SLIDER_GRAB_W) * 2;
    if (*thumbW < 6)
        *thumbW = 6;
    *start = s->x + 2;
    *length = s->w - *thumbW - 4;
}

bool MWinValueBarSetRange(MWinButton *button, double minimum, double maximum)
{
    _MWinValueBar *bar = BarOf(button);
    if (!bar || maximum < minimum)
        return false;
    bar->minimum = minimum;
    bar->maximum = maximum;
    bar->value = bar->value < minimum ? minimum : bar->value > maximum ? maximum : bar->value;
    return true;
}

bool MWinValueBarSetValue(MWinButton *button, double value, bool notify)
{
    _MWinValueBar *bar = BarOf(button);
    if (!bar)
        return false;
    value = value < bar->minimum ? bar->minimum : value > bar->maximum ? bar->maximum : value;
    bar->value = value;
    if (notify && MWinKindHasListener(button))
    {
        _MWinButtonCallbackInfo info;
        button->FillCallbackInfo(&info);
        info.colourBarHeld = button->GetCaptureState() ? 1 : 0;
        button->CallCallback(&info);
    }
    return true;
}

static void BarFromMouse(MWinButton *button)
{
    _MWinValueBar *bar = BarOf(button);
    float thumbW, start, length;
    BarTrack(button, &thumbW, &start, &length);
    double f = length > 0 ? (button->GetMWin()->GetMouseX() - start - thumbW / 2) / length : 0;
    f = f < 0 ? 0 : f > 1 ? 1 : f;
    MWinValueBarSetValue(button, bar->minimum + f * (bar->maximum - bar->minimum), true);
}

static bool BarMousePressed(MWinButton *button, int which, bool down, int flag)
{
    if (!down && button->GetCaptureState())
    {
        button->SetCaptureState(0);
        _MWinValueBar *bar = BarOf(button);
        if (bar)
            MWinValueBarSetValue(button, bar->value, true);
        return true;
    }
    if (!MWinKindPressReady(button, which))
        return false;
    if (!down)
        return true;
    button->SetCaptureState(1);
    BarFromMouse(button);
    return true;
}

static bool BarMouseMove(MWinButton *button)
{
    if (!button->GetCaptureState())
        return false;
    BarFromMouse(button);
    return true;
}

static bool BarKeyDown(MWinButton *button, int key)
{
    _MWinValueBar *bar = BarOf(button);
    if (!bar || (key != MWIN_VK_LEFT && key != MWIN_VK_RIGHT))
        return false;
    double step = (bar->maximum - bar->minimum) / 100;
    MWinValueBarSetValue(button, bar->value + (key == MWIN_VK_LEFT ? -step : step), true);
    return true;
}

static bool BarIsCapturing(const MWinButton *button)
{
    return button->GetCaptureState() != 0;
}

static bool BarRenderBack(MWinButton *button, int state)
{
    _MWinValueBar *bar = BarOf(button);
    button->RenderBackTexBut(state);
    if (!bar)
        return true;
    float thumbW, start, length;
    BarTrack(button, &thumbW, &start, &length);
    double f = bar->maximum > bar->minimum ? (bar->value - bar->minimum) / (bar->maximum - bar->minimum) : 0;
    const _Dimension *s = button->GetScreenAreaP();
    MWinKindDrawStd(button, MWIN_STD_SCROLL_BUTTON, state, start + (float)f * length, s->y - 2, thumbW, s->h + 4);
    return true;
}

static bool BarRenderText(MWinButton *button, int state)
{
    return true;
}

const _MWinButtonKindOps mwin_value_bar_ops = {
    BarInit,       BarDestroy, nullptr, nullptr, BarRenderBack, BarRenderText, nullptr, BarMousePressed, nullptr,
    BarMouseMove,  nullptr,    BarKeyDown, nullptr, BarIsCapturing, nullptr, nullptr, nullptr, nullptr,
};

// ---- The picker ---------------------------------------------------------------------------

constexpr int BAR_W = 256, BAR_H = 32;

static void ColourBarCB(MWin *mwin, _MWinButtonCallbackInfo *info, int index, int unused, void *user)
{
    MWinColour *picker = (MWinColour *)user;
    if (picker && picker->GetBar(index))
        picker->UpdateFromScrollbars(1);
}

MWinColour *MWinColour::Add(MWinWindow *window, const char *id, float x, float y, float w, float h)
{
    if (!window)
        return nullptr;
    MWinGroup *group = window->GetDefaultGroup();
    if (!group || !group->PreAddButton(id, MWIN_BUTTON_COLOUR, x, y, w, h))
        return nullptr;
    MWinColour *picker = new MWinColour(window->GetMWin(), id, group, x, y, w, h);
    if (!group->CompleteAddButton(picker))
        return nullptr;
    // The bars below the swatch, each a third of the room the swatch leaves.
    float barH = h / 6, gap = barH / 3;
    static const char *const suffix[3] = {"_HUE", "_SAT", "_BRI"};
    static const double maxima[3] = {255.0, 1.0, 1.0};
    picker->SetArea(x, y, w, h - 3 * (barH + gap));
    for (int i = 0; i < 3; i++)
    {
        char barId[MWIN_ID_SIZE];
        snprintf(barId, sizeof(barId), "%.24s%s", id, suffix[i]);
        float by = y + h - (3 - i) * (barH + gap) + gap;
        MWinButton *bar = window->AddButton(barId, MWIN_BUTTON_VALUE_BAR, MWIN_TEXBUT_NONE, "", x, by, w, barH);
        if (!bar)
            continue;
        MWinValueBarSetRange(bar, 0.0, maxima[i]);
        MWinValueBarSetValue(bar, i == 0 ? 0.0 : 1.0, false);
        bar->SetCallback(ColourBarCB, i, 0, picker);
        picker->bars[i] = bar;
    }
    picker->UpdateFromScrollbars(0);
    picker->UpdateBitmaps(0);
    return picker;
}

MWinColour::MWinColour(MWin *mwin, const char *id, MWinGroup *group, float x, float y, float w, float h)
    : MWinButton(mwin, id, group, MWIN_BUTTON_COLOUR, MWIN_TEXBUT_DEFAULT, "", x, y, w, h), colour{1, 0, 0},
      multiplierValue(1), offset(0), hue(0), saturation(1), brightness(1), pixels{}, bars{}, bound(nullptr)
{
    for (int i = 0; i < 3; i++)
        pixels[i] = (uint8_t *)calloc(BAR_W * BAR_H * 3, 1);
    SetKindReady(true);
}

MWinColour::~MWinColour()
{
    for (int i = 0; i < 3; i++)
        free(pixels[i]);
}

void MWinColour::RegisterColour(float *rgb, float multiplier, float offsetValue)
{
    bound = rgb;
    multiplierValue = multiplier;
    offset = offsetValue;
    SetBinding(MWIN_BIND_FLOAT3, rgb);
    UpdateBitmaps(0);
}

void MWinColour::GetColour(float *rgb) const
{
    memcpy(rgb, colour, sizeof(colour));
}

void MWinColour::SetHSB(float newHue, float newSaturation, float newBrightness)
{
    const float values[3] = {newHue, newSaturation, newBrightness};
    for (int i = 0; i < 3; i++)
        if (bars[i])
            MWinValueBarSetValue(bars[i], values[i], false);
    UpdateFromScrollbars(0);
}

bool MWinColour::UpdateFromScrollbars(char notify)
{
    if (!bars[0] || !bars[1] || !bars[2])
    {
        DebugError(ENG_FUNC, "No scrollbars");
        return false;
    }
    float h = MWinValueBarGetValueFloat(bars[0]);
    h = h < 0 ? 0 : h > 255 ? 255 : h;
    float s = MWinValueBarGetValueFloat(bars[1]), b = MWinValueBarGetValueFloat(bars[2]);
    bool changed = h != hue || s != saturation || b != brightness;
    hue = h;
    saturation = s;
    brightness = b;
    if (changed || notify)
        UpdateBitmaps(notify);
    return true;
}

uint32_t MWinColour::GetBarPixel(int bar, int x, int y) const
{
    if (bar < 0 || bar > 2 || x < 0 || x >= BAR_W || y < 0 || y >= BAR_H || !pixels[bar])
        return 0;
    const uint8_t *p = pixels[bar] + (y * BAR_W + x) * 3;
    return (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
}

void MWinColour::UpdateBitmaps(char notify)
{
    const float *entry = MWinColourGetHue((int)hue);
    float borderW = MWinKindLayout(this, MWIN_LF_COLOUR_BORDER_W), borderH = MWinKindLayout(this, MWIN_LF_COLOUR_BORDER_H);
    const float *border = MWinKindsGetSettings()->colourBarBorder;
    for (int bar = 0; bar < 3; bar++)
    {
        if (!pixels[bar])
            continue;
        for (int y = 0; y < BAR_H; y++)
            for (int x = 0; x < BAR_W; x++)
            {
                float t = x / 255.0f;
                const float *at = MWinColourGetHue(x);
                float c[3];
                for (int k = 0; k < 3; k++)
                {
                    if (x < borderW || x >= BAR_W - borderW || y < borderH || y >= BAR_H - borderH)
                        c[k] = border[k];
                    else if (bar == 0)
                        c[k] = at[k];
                    else if (bar == 1)
                        c[k] = t * entry[k] + (1 - t) * brightness;
                    else
                        c[k] = t * (entry[k] * saturation + 1 - saturation);
                }
                uint8_t *p = pixels[bar] + (y * BAR_W + x) * 3;
                for (int k = 0; k < 3; k++)
                    p[k] = (uint8_t)(c[k] * 255);
            }
    }
    for (int k = 0; k < 3; k++)
        colour[k] = (entry[k] * saturation + 1 - saturation) * brightness;
    if (bound)
        for (int k = 0; k < 3; k++)
            bound[k] = colour[k] * multiplierValue + offset;
    RequestRedraw();
    if (notify && MWinKindHasListener(this))
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        for (int i = 0; i < 3; i++)
            if (bars[i] && bars[i]->GetCaptureState())
                info.colourBarHeld = 1;
        CallCallback(&info);
    }
}

// The swatch, and under each bar its image in 64 strips.
void MWinColour::Render()
{
    if (!visible || !onScreen || !IsDrawable())
        return;
    RenderBackTexBut(GetDrawState());
    float swatch[4] = {colour[0], colour[1], colour[2], 1};
    MWinKindDrawStdColour(this, MWIN_STD_WHITE, 0, screenArea.x + 4, screenArea.y + 4, screenArea.w - 8,
                          screenArea.h - 8, swatch);
    EndClipping();
    for (int bar = 0; bar < 3; bar++)
    {
        if (!bars[bar] || !pixels[bar])
            continue;
        const _Dimension *s = bars[bar]->GetScreenAreaP();
        const int strips = 64;
        for (int i = 0; i < strips; i++)
        {
            uint32_t rgb = GetBarPixel(bar, i * 4 + 2, BAR_H / 2);
            float c[4] = {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, 1};
            MWinKindDrawStdColour(this, MWIN_STD_WHITE, 0, s->x + s->w * i / strips, s->y, s->w / strips + 0.5f, s->h,
                                  c);
        }
    }
}
