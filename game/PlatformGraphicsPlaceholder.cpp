// Placeholder for the platform icons' drawing (see Platform.h): the atlas is a texture,
// and textures come with the rendering layer; until it lands no atlas is loaded and no
// icon is drawn. The rendering layer's texture calls replace this file.
#include "Platform.h"

char PlatformCreateGraphics() { return 1; }
void PlatformReleaseGraphics() {}
void PlatformDrawIcon(char letter, const _Dimension *box, float alpha) {}
