// The data generator's parts: each writes one group of the game's data files through
// DgOutput. Shared here: the palette and the drawing helpers that give every picture the
// same look.
#pragma once
#include "DgImage.h"

// ---- Generators (one per group of files) ---------------------------------------
void GenBalls();      // roll sheets, ball masks, special balls
void GenPlayScreen(); // turret, borders, bottom bar, boxes, effect sprite, cursor, platform icons
void GenMenus();      // menu background, title, maker logo, splash, banner, icon
void GenButtons();    // the GUI button sheet
void GenFlags();      // the two country-flag atlases
void GenCatalogue();  // the other products' pictures
void GenSounds();     // sound effects and progress tones
void GenMusic();      // the game music and the game-over music

// ---- Palette --------------------------------------------------------------------
// Night blues of backgrounds and panels, a cyan accent, gold and orange highlights.
const uint32_t kInk = 0x070b24;
const uint32_t kNight = 0x0e1640;
const uint32_t kNavy = 0x18286e;
const uint32_t kRoyal = 0x2a4fb8;
const uint32_t kCyan = 0x3cc8ff;
const uint32_t kIce = 0xbfeeff;
const uint32_t kGold = 0xffc83d;
const uint32_t kOrange = 0xff8a1e;
const uint32_t kSteel = 0x9aa6bd;

// The ten ball colours as the balls show them (hues of the game's ball colours, made
// distinct from one another).
DgColour BallColour(int type);

// ---- Drawing helpers ------------------------------------------------------------
// Shaded colour of a glossy sphere at a normal (x right, y up, z toward the viewer) with
// its surface colour; `gloss` scales the highlight. The key light lies on the horizontal
// mid-line so that a picture flipped upside down is lit the same.
DgColour ShadeSphere(float nx, float ny, float nz, const DgColour &surface, float gloss, float lightX = -0.5f);
// Draws a shaded ball (with a soft shadow when `shadow` > 0) into a picture.
void DrawBall(DgImage &img, float cx, float cy, float radius, const DgColour &colour, float shadow = 0.0f);
// A rounded glossy panel: fill gradient top to bottom, a light rim and a soft gloss band.
struct DgPanelStyle
{
    DgColour top, bottom;
    DgColour rim = ColourRgb(1, 1, 1, 0.55f);
    float rimWidth = 1.5f;
    DgColour edge = ColourRgb(0, 0, 0, 0.6f); // dark outline outside the rim
    float edgeWidth = 1.0f;
    float gloss = 0.25f;                      // strength of the upper gloss band
    float shadow = 0.0f;                      // soft shadow below (pixels of blur)
};
// The usual panel: a fill gradient, a rim of a colour and width, a dark outline and gloss.
DgPanelStyle PanelStyle(const DgColour &top, const DgColour &bottom, const DgColour &rim, float rimWidth, float edgeWidth,
                        float gloss);
void DrawPanel(DgImage &img, float x, float y, float w, float h, float radius, const DgPanelStyle &style);
