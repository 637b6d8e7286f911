// Shared by the play-screen files (PlayScreen.cpp, Borders.cpp, LevelsRender.cpp,
// EditorView.cpp); not for other modules.
#pragma once
#include "EngTypes.h"

class EngFont;

// Design pixels per field unit on both axes (balls stay round); x is also scaled by
// GameState.fieldScale.
const float PLAY_PIXELS_PER_UNIT = 240.0f;

// Field position to design pixels.
float PlayScreenPixelX(float x);
float PlayScreenPixelY(float y);
// The bottom bar picture in `bar`.
void PlayScreenDrawBar(const _Dimension *bar);
// Text in the game font centred at (x, y) in design pixels with a uniform scale;
// nothing without a font. Prepares and restores the text state itself.
void PlayScreenDrawText(const char *text, float x, float y, float scale, float r, float g, float b, float a);
// The world transform back to identity after ball drawing.
void PlayScreenResetTransform();
// The editor's picture (CpBottom.bmp) in `bar`; false when not loaded.
bool EditorViewDrawBar(const _Dimension *bar);
// The place box picture stretched over `box` at `alpha` (a panel under a text).
void PlayScreenDrawPanel(const _Dimension *box, float alpha);
// A soft round highlight (the ball mask tinted) of `pixels` across at field (x, y).
void PlayScreenDrawHighlight(float x, float y, float pixels, float r, float g, float b, float a);
// The editor's whole drawing after the grid balls.
void EditorViewRender();
void EditorViewRenderKeyHelp();
