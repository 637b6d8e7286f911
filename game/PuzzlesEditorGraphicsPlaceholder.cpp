// Placeholder for the editor's drawing (see Puzzles.h): the picture under the grid and
// the key help need textures and fonts, which the rendering layer provides; until they
// land nothing is loaded or drawn. The play-screen drawing replaces this file.
#include "Puzzles.h"

bool PuzzlesEditorLoadPicture() { return true; }
void PuzzlesEditorReleasePicture() {}
void PuzzlesRenderKeyHelp() {}
