// The colour picker (kind 11): a colour chosen by hue (0-255, an index into a table of
// 256 fully saturated colours), saturation and brightness (0-1), each set by a value bar
// (kind 4) below the picker's swatch. The bars show the hue spectrum, a saturation ramp
// and a brightness ramp for the present hue. A bound float triple receives the colour
// times a multiplier plus an offset; the callback hears each change (colourBarHeld 1
// while the mouse holds a bar).
#pragma once
#include "MWinButton.h"

// The hue table: 256 entries of r, g, b; filled by MWinColourFillHueTable.
void MWinColourFillHueTable();
const float *MWinColourGetHue(int index);

// Value bars (kind 4): a value within a range, set by the mouse or the cursor keys.
bool MWinValueBarSetRange(MWinButton *bar, double minimum, double maximum);
bool MWinValueBarSetValue(MWinButton *bar, double value, bool notify);

class MWinColour : public MWinButton
{
public:
    // A picker in the window's default group: the swatch over (x, y, w, h - 3 bars) and
    // its three bars below it. NULL on failure.
    static MWinColour *Add(MWinWindow *window, const char *id, float x, float y, float w, float h);
    MWinColour(MWin *mwin, const char *id, MWinGroup *group, float x, float y, float w, float h);
    ~MWinColour() override;

    void Render() override;

    // Reads the three bars; with notify (or any change) the images, the colour, the bound
    // triple and the callback follow.
    bool UpdateFromScrollbars(char notify);
    void UpdateBitmaps(char notify);
    void SetHSB(float hue, float saturation, float brightness);
    void GetColour(float *rgb) const;
    float GetHue() const { return hue; }
    float GetSaturation() const { return saturation; }
    float GetBrightness() const { return brightness; }
    void RegisterColour(float *rgb, float multiplier, float offset);
    MWinButton *GetBar(int index) const { return index >= 0 && index < 3 ? bars[index] : nullptr; }
    // A pixel (x 0-255, y 0-31) of one of the three bar images, as 0xRRGGBB.
    uint32_t GetBarPixel(int bar, int x, int y) const;

private:
    float colour[3];
    float multiplierValue, offset;
    float hue, saturation, brightness;
    uint8_t *pixels[3]; // 256 x 32 RGB each
    MWinButton *bars[3];
    float *bound;
};
