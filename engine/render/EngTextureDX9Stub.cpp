// STUB until the textures' DX9 back end lands (it replaces this file): no texture handle
// has a device texture yet, and the texture cursor (a texture drawn with the text state
// saved around it) has nothing to draw.
#include "EngVertexBufferDX9.h"
#include "EngWindow.h"

PlatD3dTexture *EngTextureDX9_GetD3dTexture(EngTexture *texture)
{
    return nullptr;
}

void EngWindow::DrawTextureCursor_PC()
{
}
