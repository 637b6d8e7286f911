// The game's look for the GUI toolkit: the button sheet "Data/PlinxButtons.tga" and the
// texture buttons cut from it (the game's own and the toolkit's standard slots), the GUI
// font "Main" with its named text styles, and the per-layout metrics of the GUI root.
// Every screen refers to these by name.
#pragma once

class MWin;
class EngFont;

// The texture "Buttons" and every texture button; each failing step is logged and the
// rest still runs. False when any step failed.
bool PlinxMWinSetupTexturesAndTexButs(MWin *mwin);
// The eighteen named styles on GUI font `font` (the game passes 0).
bool PlinxMWinAddFirstUserFontsStylesToFont(MWin *mwin, int font);
// Builds GUI font 0 from a TrueType file into `font`. Nothing to do (true) when it is
// already built.
bool PlinxMWinCreateFontApart(int fontNumber, const char *path, EngFont *font);
// The metrics of the five layouts and the two mouse-activation flags.
bool PlinxMWinSetupLayoutParameters(MWin *mwin);

// The program's main font: the GUI's font "Main", the splash's maker line.
EngFont *PlinxGetMainFont();
