// Text in the game's own font (a TrueType file) rendered with FreeType into coverage
// masks, and the usual ways pictures dress text: gradient fill, outline, shadow, glow.
#pragma once
#include <string>

#include "DgImage.h"

// Loads the font file once; false (with a message on stderr) when it cannot be read.
bool FontSetup(const std::string &path);
void FontShutdown();

struct DgText
{
    DgMask mask;       // coverage, `pad` pixels of border on every side
    float baseline;    // y of the baseline inside the mask
    float ascent;      // pixels above the baseline of a capital letter
    float width;       // advance width of the text (without the border)
};

// Renders one line at `pixelSize` pixels per em; `tracking` adds pixels between letters.
DgText FontRender(const std::string &text, float pixelSize, int pad = 0, float tracking = 0.0f);
// The advance width of a line in pixels.
float FontMeasure(const std::string &text, float pixelSize, float tracking = 0.0f);
// The largest pixel size (at most `maxSize`) at which the line fits `maxWidth`.
float FontFitSize(const std::string &text, float maxWidth, float maxSize, float tracking = 0.0f);

// How DrawText dresses a line of text.
struct DgTextStyle
{
    float size = 32.0f;
    float tracking = 0.0f;
    DgColour top = ColourRgb(1, 1, 1);       // fill at the top of the capitals
    DgColour bottom = ColourRgb(1, 1, 1);    // fill at the baseline
    float outline = 0.0f;                    // outline width in pixels (0 = none)
    DgColour outlineColour = ColourRgb(0, 0, 0);
    float shadowBlur = 0.0f;                 // soft drop shadow (0 = none)
    float shadowX = 0.0f, shadowY = 0.0f;
    DgColour shadowColour = ColourRgb(0, 0, 0, 0.6f);
    float glow = 0.0f;                       // soft glow radius around the letters (0 = none)
    DgColour glowColour = ColourRgb(1, 1, 1, 0.5f);
    float shine = 0.0f;                      // strength of a glossy light band on the upper half
};

// Draws a line centred on (cx, cy) (the middle of the capitals); returns its width.
float DrawText(DgImage &img, const std::string &text, float cx, float cy, const DgTextStyle &style);
