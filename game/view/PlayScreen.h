// The play screen drawn on the 640x480 virtual screen: borders with their tint, the
// bottom bar with score and caption, the grid balls and every animated ball, the turret,
// the loaded and next balls, the puzzle's next-ball strip, the lives, the online place
// box and the level captions; also the game's textures, the game font and the menu
// background pictures. Reads GameState; never changes anything play depends on (its
// random looks come from a generator of its own).
//
// Field coordinates (x -1..1, y -1..1 down) map to design pixels as
// (320 + 240 x fieldScale x x, 240 + 240 x y): 240 design pixels per unit both ways, so
// balls stay round and the hexagonal rows pack.
#pragma once
#include <cstdint>

#include "EngTypes.h"

class EngFont;
class EngTexture;

// ---- Graphics ---------------------------------------------------------------------------------
// Makes missing roll frames, then loads every play-screen texture and the game font; on a
// failure reports which texture and answers 0 (nothing stays loaded).
char PlinxCreateGraphics();
void PlinxReleaseGraphics();
bool PlayScreenGraphicsCreated();
// The menu background, title and maker's logo, each loaded once; 0 when one fails.
char PlinxMenuCreateGraphics();
void PlinxMenuReleaseGraphics();
// Places the menu pictures for the current screen (after every mode change).
void PlinxMenuLayout();
// Draws the menu background with its title and logo (alpha of the title and logo).
void PlinxMenuRender(float alpha);

// ---- Game font --------------------------------------------------------------------------------
// The font of the score, captions and banners: the one handed over (see below), else one
// built from "Data/VeraBd.ttf" by PlinxCreateGraphics. NULL when neither exists.
EngFont *PlayScreenGetGameFont();
// Hands over a font someone else owns (the GUI's registry); NULL takes the own one back.
void PlayScreenSetGameFont(EngFont *font);

// ---- One frame ----------------------------------------------------------------------------------
// Draws the running game (inside a scene; sets 2D mode itself).
void RenderPlayScreen();
// One ball at field position (x, y): size 0-1 of a full ball (nothing at 0 or below),
// roll frame 0-70 (wrapped), spin in radians; `pulse` makes an exploding ball throb.
// Types outside 0-12 draw nothing.
void RenderDrawBall(float x, float y, float size, int type, float frame, float spin, char pulse);
void RenderDrawTurret();
// Grid balls, removal records and moving balls.
void RenderGridBalls();
// The stored frame (0-34) and mirroring for a roll value: whole part wrapped into 0-69,
// 35-69 drawn as 69 - f mirrored. NaN and infinities give frame 0.
void RenderGetRollFrame(float frame, int *stored, bool *mirrored);
// A ball's diameter in design pixels at size 1.
float RenderGetBallDiameter();

// ---- Texts ------------------------------------------------------------------------------------
void PlinxRefreshScoreText();
void PlinxRefreshCaptionText();
const char *PlayScreenGetScoreText();
const char *PlayScreenGetCaptionText();
// The texts' scales relative to the normal one: 1 up to 7 characters, 5% less per
// character beyond (never below 0.3).
float PlayScreenGetScoreScale();
float PlayScreenGetCaptionScale();

// ---- Borders ----------------------------------------------------------------------------------
char BordersCreateGraphics();
void BordersReleaseGraphics();
// A new random tint (bright, differing from the current one), blended in or `atOnce`.
void BordersNewTint(char atOnce);
// Blends the tint toward its target by timeStep x 0.1 (clamped to 1); `force` blends
// all the way.
void BordersTick(char force);
void BordersRender();
void BordersComputeLayout();
void BordersGetTint(_ColourRGB *current, _ColourRGB *target);
// The geometry in design pixels: outer box of the borders, border width, the bottom bar
// and its two text boxes, and the top border's current height.
struct _BordersLayout
{
    float outerX, outerWidth;
    float borderWidth;
    _Dimension bar;
    _Dimension scoreBox, captionBox;
    float topHeight;
};
const _BordersLayout *BordersGetLayout();

// ---- Online place box ---------------------------------------------------------------------------
// The online part's place finder; until it registers its own, no place is ever found.
struct _PlaceFinder
{
    // A new game: its type and difficulty and the player's position display (0 full box
    // with the row's player and score, 1 short box, 2 off).
    void (*setup)(int gameType, int difficulty, int displayMode);
    // The score changed: 1 when it reached a new place and a new text was built.
    char (*findPlace)(int score);
    // Once per tick with the score: 1 when a scheduled calculation built a new text.
    char (*tick)(int score);
    // The place text and its position (from 0) in its online list; NULL when none.
    const char *(*getPlace)(int *position);
};
void PlayScreenSetPlaceFinder(const _PlaceFinder *finder);
// Plays a progress tone (row a, column b of the tone table, pitch); set by the sound side.
void PlayScreenSetToneHook(void (*playTone)(int a, int b, float pitch));
// At game start: the display from the player's options, the finder set up for the game.
void PlinxSetupPlaceFinder();
void PlinxUpdatePlace(int points, char force);
void PlinxTickPlace();
void PlinxRenderPlace();
// The place shown (position from 0 in its list), -1 none; the box's blend 0-1.
int PlayScreenGetPlace(float *blend);
// The text the place box shows ("" when none).
const char *PlayScreenGetPlaceText();
