// What the button kinds share: their settings, layout fields, drawing and notification
// helpers, and the registration of every kind's handlers and of the popups with the core.
#include <cstring>

#include "EngFont.h"
#include "EngWindow.h"
#include "MWinKinds.h"

static _MWinKindSettings s_kindSettings = {
    0,    true,  false, false, true, true, true, -1, {0.2f, 0.75f, 0.3f}, {0.15f, 0.15f, 0.2f}, {0.8f, 0.8f, 0.85f},
    {0.2f, 0.2f, 0.2f}, true, true, false, true,
};

_MWinKindSettings *MWinKindsGetSettings()
{
    return &s_kindSettings;
}

float MWinKindLayout(const MWinButton *button, int field)
{
    const _MWinLayoutSettings *layout = button->GetLayoutSettings();
    if (!layout || field < 0 || field >= MWIN_LAYOUT_FIELD_COUNT || field == 6 || field == 59 || field == 60)
        return 0;
    float value;
    memcpy(&value, (const char *)layout + field * 4, sizeof(value));
    return value;
}

const float *MWinButton::KindMultiplierColour() const
{
    return multiplierMode ? multiplier : nullptr;
}

void MWinKindDrawStdColour(MWinButton *button, int slot, int state, float x, float y, float w, float h,
                           const float *colour)
{
    MWinTextures *textures = button->GetMWin()->GetTextures();
    if (!textures || w <= 0 || h <= 0)
        return;
    int index = textures->GetStandardTexButNum(slot);
    if (index < 0)
        return;
    textures->DrawTexBut(index, state, x, y, w, h, colour);
}

void MWinKindDrawStd(MWinButton *button, int slot, int state, float x, float y, float w, float h)
{
    MWinKindDrawStdColour(button, slot, state, x, y, w, h, button->KindMultiplierColour());
}

void MWinKindDrawOwn(MWinButton *button, int state, float x, float y, float w, float h)
{
    button->RenderTexButStateRect(state, x, y, w, h);
}

bool MWinKindHasListener(const MWinButton *button)
{
    MWinWindow *window = button->GetWindow();
    return button->HasCallback() || (window && window->HasController());
}

bool MWinKindKeyHeld(int virtualKey)
{
    return virtualKey >= 0 && virtualKey < 256 && EngKeyStates[virtualKey] >= 2;
}

bool MWinKindPressReady(MWinButton *button, int which)
{
    if (button->IsKindReady() && button->HasHoverOrFocus() && button->IsEnabled() && button->IsVisible() && which == 0)
        return true;
    button->SetPressed(false);
    button->SetCaptureState(0);
    return false;
}

float MWinKindTextWidth(MWinButton *button, const char *text, int count)
{
    EngFont *font = button->GetEngFont();
    if (!font || !text)
        return 0;
    int length = (int)strlen(text);
    if (count >= 0 && count < length)
        length = count;
    char part[512];
    if (length > (int)sizeof(part) - 1)
        length = (int)sizeof(part) - 1;
    memcpy(part, text, (size_t)length);
    part[length] = 0;
    return font->GetStringWidth(part);
}

double MWinKindTime()
{
    const _MWinHost *host = MWinGetHost();
    return host && host->getTime ? host->getTime() : 0;
}

// ---- The device class ---------------------------------------------------------------------

static int s_deviceClass = MWIN_DEVICE_DESKTOP;

void MWinSetDeviceClass(int deviceClass)
{
    s_deviceClass = deviceClass == MWIN_DEVICE_LARGE_SCREEN ? MWIN_DEVICE_LARGE_SCREEN : MWIN_DEVICE_DESKTOP;
}

bool MWinIsLargeScreenDevice()
{
    return s_deviceClass == MWIN_DEVICE_LARGE_SCREEN;
}

// ---- Registration -------------------------------------------------------------------------

void MWinRegisterKindsOfThisModule()
{
    MWinButtonSetKindOps(MWIN_BUTTON_TEXT_EDIT, &mwin_text_edit_ops);
    MWinButtonSetKindOps(MWIN_BUTTON_LIST, &mwin_list_ops);
    MWinButtonSetKindOps(MWIN_BUTTON_CHECKBOX, &mwin_checkbox_ops);
    MWinButtonSetKindOps(MWIN_BUTTON_CHOICE, &mwin_choice_ops);
    MWinButtonSetKindOps(MWIN_BUTTON_PANEL, &mwin_panel_ops);
    MWinButtonSetKindOps(MWIN_BUTTON_RANGE_SLIDER, &mwin_slider_ops);
    MWinButtonSetKindOps(MWIN_BUTTON_RING, &mwin_ring_ops);
    static const int carriers[] = {MWIN_BUTTON_PLAIN,   MWIN_BUTTON_PUSH,    MWIN_BUTTON_STATIC,
                                   MWIN_BUTTON_KIND_6, MWIN_BUTTON_KIND_13, MWIN_BUTTON_KIND_17};
    for (int kind : carriers)
        if (!MWinButtonGetKindOps(kind))
            MWinButtonSetKindOps(kind, &mwin_picture_carrier_ops);
    MWinSetPopupOps(&mwin_popup_ops);
}
