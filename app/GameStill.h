// Whether the next frame would show the picture already on the screen: the menus on a
// screen without moving parts, with nothing done and nothing redrawn for a moment. The
// main loop then skips drawing and presenting that frame (EngProgram's still-frame
// query); play, fades, the splash and screens with effects always draw.
#pragma once
#include "EngTypes.h"

// How long after the last input or redraw request frames are still drawn: the GUI's
// short animations (hover, pressed, wobble, opening lists) run within it.
const double GAME_STILL_HOLD_SECONDS = 0.5;

// What the rule reads, gathered by the program each frame (and given by tests).
struct _GameStillInputs
{
    bool guiOn;
    bool splashOn;
    bool fading;
    bool menuEffectRunning;
    bool popupOn;
    ScreenId screen;
    double now;          // seconds
    double lastActivity; // seconds: the last input event or redraw request
};

// The pure rule.
bool GameStillIsPictureStill(const _GameStillInputs *inputs);
// Screens whose drawing only changes when the GUI asks for a redraw.
bool GameStillIsScreenStillKind(ScreenId screen);

// An input event or a redraw request: the picture changes.
void GameStillNoteActivity();
// The query the main loop asks before each frame, over the program's current state.
bool GameStillQueryCB();
void GameStillReset();
