// The texture cursor: loaded with each device, drawn over the finished frame with the
// device state saved and restored around it (so that it never disturbs what the frame's
// own drawing set), and let go before the device goes.
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngTexture.h"
#include "EngTextureDX9.h"

void EngTextureCursorLoad_DX9(EngWindow *window)
{
    _EngTextureCursor *record = window ? EngDeviceWindowHost()->getTextureCursor(window) : nullptr;
    if (!record || !record->on)
        return;
    _EngTextureCursor &cursor = *record;
    if (!cursor.texture)
        cursor.texture = new (std::nothrow) EngTexture(nullptr, 0);
    if (!cursor.texture ||
        !cursor.texture->LoadFromFileUsingExt(cursor.fileName, 1, ENG_ALPHA_FROM_FILE, ENG_TEXTURE_EXT_PNG, 0))
    {
        DebugError(ENG_FUNC, "Could not create texture cursor <%s>", cursor.fileName);
        delete cursor.texture;
        cursor.texture = nullptr;
        cursor.on = 0;
        if (cursor.visible)
        {
            // Shows the system cursor again in the texture's place.
            EngDeviceWindowHost()->restoreSystemCursor(window);
        }
        return;
    }
    float sx = EngScreenSettings.scaleToScreenX, sy = EngScreenSettings.scaleToScreenY;
    if (cursor.useCorrections)
    {
        sx = EngScreenSettings.widthCorrection;
        sy = EngScreenSettings.heightCorrection;
    }
    cursor.scaledSize[0] = (int32_t)((float)cursor.size[0] * sx);
    cursor.scaledSize[1] = (int32_t)((float)cursor.size[1] * sy);
    cursor.scaledHotSpot[0] = (int32_t)((float)cursor.hotSpot[0] * sx);
    cursor.scaledHotSpot[1] = (int32_t)((float)cursor.hotSpot[1] * sy);
}

void EngTextureCursorRelease_DX9(EngWindow *window)
{
    _EngTextureCursor *cursor = window ? EngDeviceWindowHost()->getTextureCursor(window) : nullptr;
    if (!cursor || !cursor->texture)
        return;
    cursor->texture->Release();
    delete cursor->texture;
    cursor->texture = nullptr;
}

void EngTextureCursorDraw_DX9(const _EngTextureCursor *textureCursor)
{
    EngDevice *drawDevice = EngMainDevice;
    EngTexture *cursor = textureCursor ? textureCursor->texture : nullptr;
    if (!drawDevice || !textureCursor->on || !cursor || !cursor->IsLoaded() || !textureCursor->visible)
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
    // The cursor's position, size and hot spot are in 640x480 design units.
    cursor->PositionRatioed(textureCursor->x - (float)textureCursor->hotSpot[0],
                            textureCursor->y - (float)textureCursor->hotSpot[1], (float)textureCursor->size[0],
                            (float)textureCursor->size[1]);
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
