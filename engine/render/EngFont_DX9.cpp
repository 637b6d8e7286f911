// Bitmap fonts, DX9 part: sheet textures and glyph quads, the blur of the sheets,
// string drawing and the text drawing state.
//
// Sections: sheets and quads, drawing, the text drawing state.
#include <algorithm>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngDeviceDX9.h"
#include "EngFont.h"
#include "EngMemory.h"
#include "EngTextureDX9.h"
#include "EngUtilsDX9.h"
#include "EngVertexBufferDX9.h"
#include "EngGlobals.h"

namespace
{
struct TextState
{
    uint8_t prepared;
    char ratioMode;
    uint8_t alphaStageChanged;
    uint8_t lightingTurnedOn;
    uint8_t prepared2DByText;
    uint8_t saved;
    uint8_t savedPrepared;
    char savedRatioMode;
};
TextState s_text = {};

void SetMaterialColour(float r, float g, float b, float a)
{
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!device)
        return;
    PlatD3dMaterial material;
    material.diffuse = {0.0f, 0.0f, 0.0f, a};
    material.ambient = {0.0f, 0.0f, 0.0f, a};
    material.specular = {0.0f, 0.0f, 0.0f, a};
    material.emissive = {r, g, b, a};
    material.power = 0.0f;
    EngUtilsDX9_CheckResult("EngFont::DrawStringPart", "SetMaterial", PlatD3dDeviceSetMaterial(device, &material));
}
} // namespace

void EngFont::Reset()
{
    created = 0;
    lineHeight = 0.0f;
    charCount = 0;
    sheetSize = ENG_FONT_SHEET_SIZE;
    sheetCount = 0;
    scaleX = scaleY = 1.0f;
    scaled = 0;
    colourR = colourG = colourB = colourA = 1.0f;
    coloured = 0;
    lineSpacing = 0.0f;
    memset(advanceWidths, 0, sizeof(advanceWidths));
    faceHeight = 0;
    cursorIndex = -1;
    cursorX = 0.0f;
    clipOn = 0;
    clipOffset = 0.0f;
    twoChannels = 0;
    sheetsOpened = penX = penY = rowHeight = 0;
    s_text.alphaStageChanged = 0;
    s_text.lightingTurnedOn = 0;
}

// ---- Sheets and quads --------------------------------------------------------------------------

void EngFontBinomColor(int channels, int passes1, int passes0, int width, int height, uint8_t *data, size_t size)
{
    if ((passes0 < 1 && (channels < 2 || passes1 < 1)) || !data || width < 3 || height < 3 ||
        size < (size_t)width * (size_t)height * (size_t)channels)
        return;
    size_t plane = (size_t)width * (size_t)height;
    uint8_t *from = (uint8_t *)EngMalloc(plane, ENG_FUNC, false);
    if (!from)
    {
        DebugError(ENG_FUNC, "No memory (1)");
        return;
    }
    uint8_t *to = (uint8_t *)EngMalloc(plane, ENG_FUNC, false);
    if (!to)
    {
        DebugError(ENG_FUNC, "No memory (2)");
        EngFree(from, false, ENG_FUNC);
        return;
    }
    for (int channel = 0; channel < std::min(channels, 2); channel++)
    {
        int passes = channel == 0 ? passes0 : passes1;
        if (passes < 1)
            continue;
        for (size_t i = 0; i < plane; i++)
            from[i] = data[i * channels + channel];
        for (int pass = 0; pass < passes; pass++)
        {
            for (int y = 1; y < height - 1; y++)
                for (int x = 1; x < width - 1; x++)
                {
                    const uint8_t *p = from + (size_t)y * width + x;
                    int sum = p[-width - 1] + 2 * p[-width] + p[-width + 1] + 2 * p[-1] + 4 * p[0] + 2 * p[1] +
                              p[width - 1] + 2 * p[width] + p[width + 1];
                    to[(size_t)y * width + x] = (uint8_t)std::clamp(sum >> 4, 0, 255);
                }
            // The outermost rows and columns copy their inner neighbours.
            for (int x = 1; x < width - 1; x++)
            {
                to[x] = to[(size_t)width + x];
                to[(size_t)(height - 1) * width + x] = to[(size_t)(height - 2) * width + x];
            }
            for (int y = 0; y < height; y++)
            {
                int inner = std::clamp(y, 1, height - 2);
                to[(size_t)y * width] = to[(size_t)inner * width + 1];
                to[(size_t)y * width + width - 1] = to[(size_t)inner * width + width - 2];
            }
            std::swap(from, to);
        }
        for (size_t i = 0; i < plane; i++)
            data[i * channels + channel] = from[i];
    }
    EngFree(from, false, ENG_FUNC);
    EngFree(to, false, ENG_FUNC);
}

bool EngFont::CopySheetDataToTexture(int sheet)
{
    if (!sheetPixels)
        return false;
    if (sheet < 0 || sheet >= sheetCount)
    {
        DebugError(ENG_FUNC, "Invalid sheet num %d (%d)", sheet, sheetCount);
        return false;
    }
    const int size = sheetSize, channels = twoChannels ? 2 : 1;
    EngFontBinomColor(channels, effects.blurPasses1, effects.blurPasses0, size, size, sheetPixels,
                      (size_t)size * size * channels);
    if (!sheetTextures)
    {
        DebugError(ENG_FUNC, "m_sheet_texs_dx9 = NULL");
        return false;
    }
    EngTexture *texture = sheetTextures[sheet];
    if (!texture)
    {
        DebugError(ENG_FUNC, "Sheet tex [%d] not created", sheet);
        return false;
    }
    EngTextureDX9 *back = texture->GetBackEnd();
    if (!back)
    {
        DebugError(ENG_FUNC, "No DX9 tex.");
        return false;
    }
    PlatD3dLockedRect locked;
    if (!back->LockDxSurface(&locked))
        return false;
    PlatD3dFormat format = back->GetFormat();
    bool ok = true;
    for (int y = 0; y < size && ok; y++)
    {
        uint8_t *row = (uint8_t *)locked.bits + (size_t)y * (size_t)locked.pitch;
        for (int x = 0; x < size; x++)
        {
            const uint8_t *source = sheetPixels + ((size_t)y * size + x) * channels;
            uint8_t c0 = source[0], c1 = channels == 2 ? source[1] : source[0];
            if (format == PLAT_FMT_A8R8G8B8)
            {
                uint8_t *pixel = row + (size_t)x * 4;
                uint8_t grey = channels == 2 ? c0 : 255;
                pixel[0] = pixel[1] = pixel[2] = grey;
                pixel[3] = channels == 2 ? c1 : c0;
            }
            else if (format == PLAT_FMT_A1R5G5B5)
            {
                uint8_t *pixel = row + (size_t)x * 2;
                if (channels == 1)
                {
                    pixel[1] = (uint8_t)((c0 & 0x80) + 0x7F);
                    pixel[0] = 0xFF;
                }
                else
                    EngTextureDX9_SetBit16FromColParts(c0, c0, c0, c1, format, pixel);
            }
            else if (format == PLAT_FMT_A4R4G4B4)
            {
                uint8_t *pixel = row + (size_t)x * 2;
                if (channels == 1)
                {
                    pixel[1] = (uint8_t)((c0 & 0xF0) + 0x0F);
                    pixel[0] = 0xFF;
                }
                else
                {
                    uint8_t nibble = c0 >> 4;
                    pixel[1] = (uint8_t)((c1 & 0xF0) + nibble);
                    pixel[0] = (uint8_t)(nibble * 0x11);
                }
            }
            else
            {
                DebugError(ENG_FUNC, "Unsupported format %lu", (unsigned long)format);
                ok = false;
                break;
            }
        }
    }
    back->UnlockDxSurface();
    return ok;
}

bool EngFont::CreateTextureFromData_DX9(int c, int cellW, int cellH, const uint8_t *cell, int left, int top,
                                        int advance, float f1, float f2, float f3)
{
    int x = 0, y = 0;
    if (!sheetPixels)
    {
        DebugError(ENG_FUNC, "Sheet data not created");
        return false;
    }
    if (!AllocSheetPart(cellW, cellH, &x, &y, false))
        return false;
    const int size = sheetSize, sheet = sheetsOpened - 1, channels = twoChannels ? 2 : 1;
    for (int row = 0; row < cellH; row++)
        memcpy(sheetPixels + ((size_t)(y + row) * size + x) * channels, cell + (size_t)row * cellW * channels,
               (size_t)cellW * channels);
    float inset = ((float)effects.border * 0.5f) / (float)size;
    float tu1 = (float)x / (float)size - inset, tv1 = (float)y / (float)size - inset;
    float tu2 = (float)(x + cellW) / (float)size + inset, tv2 = (float)(y + cellH) / (float)size + inset;
    if (!sheetOfChar || !sheetTextures || sheet >= sheetCount)
    {
        DebugError(ENG_FUNC, "Internal Error (1)");
        return false;
    }
    sheetOfChar[c] = sheet;
    if (cells)
    {
        cells[c][0] = x;
        cells[c][1] = y;
        cells[c][2] = cellW;
        cells[c][3] = cellH;
    }
    if (!sheetTextures[sheet])
    {
        sheetTextures[sheet] = new (std::nothrow) EngTexture("m_sheet_texs_dx9", 0);
        if (!sheetTextures[sheet])
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
            return false;
        }
    }
    if (!sheetTextures[sheet]->IsLoaded())
    {
        int width = size, height = size;
        if (!sheetTextures[sheet]->CreateEmpty2D(&width, &height, 1))
        {
            delete sheetTextures[sheet];
            sheetTextures[sheet] = nullptr;
            return false;
        }
    }
    if (!glyphQuads || !placements)
    {
        DebugError(ENG_FUNC, "Internal Error (2)");
        return false;
    }
    if (!glyphQuads[c].Create(EVBT_POS_COL_TEX, sheetTextures[sheet]))
        return false;
    placements[c].offsetX = f1 * (float)left;
    placements[c].offsetY = f3 + f2 * (float)top - lineHeight;
    placements[c].advance = f1 * (float)advance;
    glyphQuads[c].SetPositions(0.0f, 0.0f, f1 * (float)cellW, f2 * (float)cellH);
    glyphQuads[c].SetTextureCoordinates(tu1, tv1, tu2, tv2);
    return true;
}

// ---- Drawing ---------------------------------------------------------------------------------------

float EngFont::DrawStringPart(float x, float y, const char *text, int count, float limit)
{
    if (!EngMainDevice || !created || !text)
        return 0.0f;
    EngDeviceDX9 *back = EngDeviceDX9GetCurrent();
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9 || !back || !placements || !glyphQuads)
        return 0.0f;
    if (!back->IsRendering())
    {
        DebugError(ENG_FUNC, "Scene not on");
        return 0.0f;
    }
    if (s_text.ratioMode != ENG_FONT_RATIO_PURE && !back->IsPreparedFor2D())
    {
        DebugError(ENG_FUNC, "2D Not setup");
        return 0.0f;
    }
    if (!s_text.prepared)
    {
        DebugError(ENG_FUNC, "Not ready for drawings");
        return 0.0f;
    }
    int length = (int)strlen(text);
    if (count > 0 && count < length)
        length = count;

    float baseY = -y;
    if (s_text.ratioMode == ENG_FONT_RATIO_DESIGN)
        baseY = 480.0f - y;
    else if (s_text.ratioMode == ENG_FONT_RATIO_SCREEN)
        baseY = (float)EngScreenSettings.height - y;
    PlatMatrix base, step;
    PlatD3dxMatrixTranslation(&base, x, baseY, 0.0f);
    const float sx = EffectiveScaleX(), sy = EffectiveScaleY();
    if (scaled)
    {
        PlatD3dxMatrixScaling(&step, sx, sy, 1.0f);
        PlatD3dxMatrixMultiply(&base, &step, &base);
    }
    // Uncoloured text is white: the material supplies the colour under the text state's
    // lighting, and the device's default material would make it black.
    if (coloured)
        SetMaterialColour(colourR, colourG, colourB, colourA);
    else
        SetMaterialColour(1.0f, 1.0f, 1.0f, 1.0f);

    PlatMatrix world;
    back->GetTransformMatrixAsDxMatrix(world.m);
    float pen = 0.0f;
    for (int i = 0; i < length; i++)
    {
        int c = (uint8_t)text[i];
        float p = pen * sx;
        if (i == cursorIndex)
            cursorX = x + p;
        if (c == 0 || c >= charCount || !glyphQuads[c].IsCreated() || (limit > 0.0f && p >= limit))
            continue;
        if (clipOn && p < clipOffset)
        {
            pen += placements[c].advance;
            continue;
        }
        PlatMatrix glyph;
        PlatD3dxMatrixTranslation(&glyph, placements[c].offsetX + pen, placements[c].offsetY, 0.0f);
        PlatD3dxMatrixMultiply(&glyph, &glyph, &base);
        PlatD3dxMatrixMultiply(&glyph, &glyph, &world);
        back->SetTransformMatrixToDxMatrix(glyph.m);
        glyphQuads[c].Draw();
        pen += placements[c].advance;
        back->SetTransformMatrixToDxMatrix(world.m);
    }
    float endX = x + sx * pen;
    if (cursorIndex == length)
        cursorX = endX;
    back->SetMaterialToDefault();
    return endX;
}

float EngFont::DrawStringAligned(float x, float y, char hAlign, const char *text, int count, float limit,
                                 char autoPrepare)
{
    if (!created || !text)
        return 0.0f;
    if (hAlign == 1)
        x -= GetStringWidth(text) / 2.0f;
    else if (hAlign == 2)
        x -= GetStringWidth(text);
    char didPrepare = 0;
    if (autoPrepare)
        EngFontPrepareForDrawingWithOrientationIfNeeded(ENG_FONT_RATIO_DESIGN, &didPrepare);
    float endX = DrawStringPart(x, y, text, count, limit);
    if (didPrepare)
        EngFontRestoreAfterDrawing();
    return endX;
}

float EngFont::DrawStringEx(float x, float y, char hAlign, char vAlign, const char *text, int count, float limit,
                            char autoPrepare)
{
    return DrawStringAligned(x, GetAlignedY(y, vAlign), hAlign, text, count, limit, autoPrepare);
}

float EngFont::DrawString(float x, float y, char hAlign, char vAlign, const char *text, char autoPrepare)
{
    return DrawStringEx(x, y, hAlign, vAlign, text, 0, 0.0f, autoPrepare);
}

// ---- The text drawing state ---------------------------------------------------------------------------

void EngFontPrepareForDrawingPure2()
{
    if (!EngMainDevice)
        return;
    EngDeviceDX9 *back = EngDeviceDX9GetCurrent();
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9 || !back || !device)
        return;
    PlatD3dDeviceSetRenderState(device, PLAT_RS_DIFFUSEMATERIALSOURCE, PLAT_MCS_MATERIAL);
    if (!back->IsLightingOn())
    {
        back->TurnOnLighting();
        s_text.lightingTurnedOn = 1;
    }
    bool changed = false;
    back->EnsureAlphaModulateDiffuse(&changed);
    s_text.alphaStageChanged = changed ? 1 : 0;
    back->SaveOrRestoreBlendingState(true);
    back->EnableBlendingType(ENG_BLEND_ALPHA);
    s_text.prepared = 1;
    s_text.ratioMode = ENG_FONT_RATIO_PURE;
}

void EngFontPrepareForDrawingWithOrientation(int orientation, char ratioMode)
{
    if (!EngMainDevice)
        return;
    if (ratioMode == ENG_FONT_RATIO_PURE)
    {
        DebugError(ENG_FUNC, "Call EngFontPrepareForDrawingPure2() instead");
        EngFontPrepareForDrawingPure2();
        return;
    }
    EngDeviceDX9 *back = EngDeviceDX9GetCurrent();
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9 || !back || !EngDeviceDX9GetD3dDevice())
        return;
    s_text.prepared2DByText = back->PrepareFor2DIfNotPrepared(false) ? 1 : 0;
    EngFontPrepareForDrawingPure2();
    back->PushAllMatrices();
    PlatMatrix projection;
    if (ratioMode == ENG_FONT_RATIO_DESIGN)
        PlatD3dxMatrixOrthoOffCenterLH(&projection, 0.0f, 640.0f, 0.0f, 480.0f, -1.0f, 1.0f);
    else
        PlatD3dxMatrixOrthoOffCenterLH(&projection, 0.0f, (float)EngScreenSettings.width, 0.0f,
                                       (float)EngScreenSettings.height, -1.0f, 1.0f);
    back->SetProjectionMatrixToDxMatrix(projection.m);
    s_text.ratioMode = ratioMode;
}

void EngFontPrepareForDrawing(char ratioMode)
{
    EngFontPrepareForDrawingWithOrientation(0, ratioMode);
}

void EngFontPrepareForDrawingWithCurrentOrientation(char ratioMode)
{
    EngFontPrepareForDrawingWithOrientation(EngScreenSettings.orientation, ratioMode);
}

void EngFontRestoreAfterDrawing()
{
    if (!EngMainDevice)
        return;
    if (!s_text.prepared)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    EngDeviceDX9 *back = EngDeviceDX9GetCurrent();
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (back && device)
    {
        if (s_text.ratioMode != ENG_FONT_RATIO_PURE)
            back->PopAllMatrices();
        if (s_text.alphaStageChanged)
            back->SetAlphaBlendTextureAlpha();
        back->SaveOrRestoreBlendingState(false);
        if (s_text.prepared2DByText)
            back->RestoreAfter2D();
        PlatD3dDeviceSetRenderState(device, PLAT_RS_DIFFUSEMATERIALSOURCE, PLAT_MCS_COLOR1);
        back->SetMaterialToDefault();
        if (s_text.lightingTurnedOn)
            back->TurnOffLighting();
    }
    s_text.prepared = 0;
    s_text.alphaStageChanged = 0;
    s_text.lightingTurnedOn = 0;
    s_text.prepared2DByText = 0;
}

bool EngFontIsPreparedForDrawing()
{
    return s_text.prepared != 0;
}

bool EngFontRestoreAfterDrawingIfPrepared()
{
    if (!s_text.prepared)
        return false;
    EngFontRestoreAfterDrawing();
    return true;
}

char EngFontPrepareForDrawingWithOrientationIfNeeded(char ratioMode, char *didPrepare)
{
    if (s_text.prepared)
    {
        bool compatible = (ratioMode == 0) == (s_text.ratioMode == 0);
        if (compatible)
        {
            if (didPrepare)
                *didPrepare = 0;
            return 1;
        }
        DebugError(ENG_FUNC, "Ratio mix problem");
        EngFontRestoreAfterDrawing();
    }
    EngFontPrepareForDrawingWithCurrentOrientation(ratioMode);
    if (didPrepare)
        *didPrepare = 1;
    return 0;
}

void EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(char save)
{
    if (save)
    {
        if (s_text.saved)
        {
            DebugError(ENG_FUNC, "Already saved");
            return;
        }
        s_text.savedPrepared = s_text.prepared;
        s_text.savedRatioMode = s_text.ratioMode;
        if (s_text.prepared)
            EngFontRestoreAfterDrawing();
        s_text.saved = 1;
        return;
    }
    if (!s_text.saved)
    {
        DebugError(ENG_FUNC, "Not saved");
        return;
    }
    if (s_text.savedPrepared)
        EngFontPrepareForDrawingWithOrientation(0, s_text.savedRatioMode);
    s_text.saved = 0;
}

void EngFontForgetDeviceState()
{
    s_text = {};
}
