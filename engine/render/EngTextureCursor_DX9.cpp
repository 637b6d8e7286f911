// The texture cursor: drawn over the finished frame with the device state saved and
// restored around it, so that it never disturbs what the frame's own drawing set.
#include "EngDevice.h"
#include "EngFont.h"
#include "EngTexture.h"
#include "EngWindow.h"

void EngWindow::DrawTextureCursor_PC()
{
    EngDevice *drawDevice = EngMainDevice;
    EngTexture *cursor = textureCursor.texture;
    if (!drawDevice || !textureCursor.on || !cursor || !cursor->IsLoaded() || !textureCursor.visible ||
        IsMouseOutside())
        return;
    bool begun = drawDevice->BeginRenderingIfNotRendering();
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(1);
    bool prepared = drawDevice->PrepareFor2DIfNotPrepared(true);
    bool blendingWasOn = false;
    int source = 0, destination = 0;
    drawDevice->GetBlendingState(&blendingWasOn, &source, &destination);
    bool suspended = drawDevice->SuspendZBufferIfOn();
    drawDevice->PushTransformMatrix();
    drawDevice->ResetTransformMatrix();
    drawDevice->EnableBlendingType(3);
    cursor->PositionRatioed(textureCursor.x - (float)textureCursor.hotSpot[0],
                            textureCursor.y - (float)textureCursor.hotSpot[1], (float)textureCursor.size[0],
                            (float)textureCursor.size[1]);
    cursor->Draw();
    drawDevice->PopTransformMatrix();
    if (suspended)
        drawDevice->ResumeZBuffer();
    if (blendingWasOn)
        drawDevice->EnableBlending(source, destination);
    else
        drawDevice->DisableBlending();
    if (prepared)
        drawDevice->RestoreAfter2D();
    EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(0);
    if (begun)
        drawDevice->EndRendering();
}
