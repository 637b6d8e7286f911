// The level captions drawn over the play screen: the level's name growing in and fading
// during the intro and count-down, the lives left after a lost life, and at game over
// the animated "GAME  OVER" with a "MENU" box. Reads GameState only.
#pragma once
#include "EngTypes.h"

void LevelsRender();
// The "MENU" box of the game-over state, its text brighter under the mouse.
void LevelsRenderDim();
// Places the caption lines for the current screen (after every mode change).
void LevelsSetupCaptionPlaces();
// The "MENU" box in design pixels (for the click test).
const _Dimension *LevelsGetMenuBox();
// The mouse in design pixels, as the program last gave it (for the "MENU" highlight).
void LevelsSetMousePosition(float x, float y);
// Sets the animated text up for a banner ("GAME  OVER"): the game font, its scale and
// colour, a fade in, a warm glow, then a wobble that repeats. False for a NULL text.
char LevelsStartBannerText(const char *text);
// Where the caption lines go: centre x and the y of one line or of two.
struct _CaptionPlaces
{
    float x;
    float singleY;
    float firstY, secondY; // at scale 1; the gap grows with the scale
};
const _CaptionPlaces *LevelsGetCaptionPlaces();

// The puzzle editor's drawing (the rules keep its state).
bool EditorViewLoadPicture();
void EditorViewReleasePicture();
void EditorViewRender();
void EditorViewRenderKeyHelp();
