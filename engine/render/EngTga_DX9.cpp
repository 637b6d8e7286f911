// 32-bit images, DX9 part: filling an image from a scaled, optionally mirrored area of
// a device texture with the alpha treatments of _EngTgaAlphaType, and copying a
// texture's pixels out.
#include <algorithm>
#include <cstring>

#include "EngDebug.h"
#include "EngDeviceDX9.h"
#include "EngMath.h"
#include "EngTextureDX9.h"
#include "EngTga.h"
#include "EngUtilsDX9.h"

namespace
{
bool IsKnownFormat(PlatD3dFormat format)
{
    for (const _EngFormatInfo &info : eng_dx9_formats)
        if (info.format == format)
            return true;
    return false;
}

// The source pixel as 8-bit channels.
void ReadPixel(const PlatD3dLockedRect &locked, PlatD3dFormat format, int x, int y, uint8_t *r, uint8_t *g,
               uint8_t *b, uint8_t *a)
{
    const uint8_t *row = (const uint8_t *)locked.bits + (size_t)y * (size_t)locked.pitch;
    if (format == PLAT_FMT_A8R8G8B8 || format == PLAT_FMT_X8R8G8B8)
    {
        const uint8_t *pixel = row + (size_t)x * 4;
        *b = pixel[0];
        *g = pixel[1];
        *r = pixel[2];
        *a = pixel[3];
        return;
    }
    EngTextureDX9_GetColPartsFromBit16(row + (size_t)x * 2, format, r, g, b, a);
}

// The texture's device side when it holds a device texture of some size; otherwise
// reports "No tex (dx9)" or `invalid` under `owner` and answers NULL.
EngTextureDX9 *UsableBackEnd(EngTexture *texture, const char *owner, const char *invalid)
{
    EngTextureDX9 *back = texture->GetBackEnd();
    if (!back)
    {
        DebugError(owner, "No tex (dx9)");
        return nullptr;
    }
    if (!back->IsCreated() || back->GetWidth() == 0 || back->GetHeight() == 0 || !back->GetD3dTexture())
    {
        DebugError(owner, "%s", invalid);
        return nullptr;
    }
    return back;
}

// The texture's level 0 locked for reading, after checking its format is one the engine
// knows; reports under `owner`. False (nothing locked) on failure.
bool LockKnownFormat(EngTextureDX9 *back, const char *owner, PlatD3dSurfaceDesc *desc, PlatD3dLockedRect *locked)
{
    if (!EngUtilsDX9_CheckResult(owner, "GetDesc", PlatD3dTextureGetLevelDesc(back->GetD3dTexture(), 0, desc)))
        return false;
    if (!IsKnownFormat(desc->format))
    {
        DebugError(owner, "Unsupported texture format <%d>", (int)desc->format);
        return false;
    }
    return EngUtilsDX9_CheckResult(owner, "LockRect", PlatD3dTextureLockRect(back->GetD3dTexture(), 0, locked, nullptr, 0));
}

uint8_t ClampByte(int value)
{
    return (uint8_t)std::clamp(value, 0, 255);
}
} // namespace

bool EngTga::FillFromTexture_DX9(int srcX, int srcY, int srcW, int srcH, EngTexture *texture, int dstX, int dstY,
                                 int dstW, int dstH, char mirrorX, char mirrorY, _EngTgaAlphaType alphaType,
                                 float alphaFactor)
{
    if (!EngDeviceDX9GetD3dDevice())
        return false;
    // A negative source position would read before the texture's pixels.
    if (!texture || dstW < 1 || dstH < 1 || srcW < 1 || srcH < 1 || dstX < 0 || dstY < 0 || srcX < 0 || srcY < 0)
    {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    EngTextureDX9 *back = UsableBackEnd(texture, ENG_FUNC, "Invalid texture");
    if (!back)
        return false;
    const int textureWidth = back->GetWidth(), textureHeight = back->GetHeight();
    if (bitsPerPixel != 32 || width < 1 || height < 1 || dataSize <= 0 || !data)
    {
        DebugError(ENG_FUNC, "Invalid data");
        return false;
    }
    if ((int64_t)srcX + srcW > textureWidth || (int64_t)srcY + srcH > textureHeight ||
        (int64_t)dstX + dstW > width || (int64_t)dstY + dstH > height)
    {
        DebugError(ENG_FUNC, "Invalid sizes");
        return false;
    }
    PlatD3dSurfaceDesc desc;
    PlatD3dLockedRect locked;
    if (!LockKnownFormat(back, "EngTga::FillFromTexture_DX9", &desc, &locked))
        return false;
    if (desc.format == PLAT_FMT_R8G8B8)
    {
        DebugError(ENG_FUNC, "Unsupported format: %d", (int)desc.format);
        PlatD3dTextureUnlockRect(back->GetD3dTexture(), 0);
        return false;
    }
    float stepX = (float)srcW / (float)dstW, stepY = (float)srcH / (float)dstH;
    for (int j = 0; j < dstH; j++)
    {
        int sy = srcY + (int)((float)j * stepY);
        sy = std::min(sy, textureHeight - 1);
        if (mirrorY)
            sy = textureHeight - sy - 1;
        for (int i = 0; i < dstW; i++)
        {
            int sx = srcX + (int)((float)i * stepX);
            sx = std::min(sx, textureWidth - 1);
            if (mirrorX)
                sx = textureWidth - sx - 1;
            uint8_t sr, sg, sb, sa;
            ReadPixel(locked, desc.format, sx, sy, &sr, &sg, &sb, &sa);
            uint32_t &target = data[(size_t)(dstY + j) * (size_t)width + (size_t)(dstX + i)];
            int dr = (target >> 16) & 0xFF, dg = (target >> 8) & 0xFF, db = target & 0xFF, da = target >> 24;
            int r, g, b, a;
            switch (alphaType)
            {
            case ENG_TGA_ALPHA_KEEP:
            case ENG_TGA_ALPHA_KEEP2:
                r = sr, g = sg, b = sb, a = da;
                break;
            case ENG_TGA_ALPHA_COPY:
                r = sr, g = sg, b = sb, a = sa;
                break;
            case ENG_TGA_ALPHA_INVERT:
                r = sr, g = sg, b = sb, a = 255 - sa;
                break;
            default:
            {
                if (sa == 0)
                    continue;
                int weight;
                if (alphaType == ENG_TGA_ALPHA_BLEND_BRIGHTEST)
                    weight = EngMathTruncDoubleToInt((float)sa * alphaFactor * (float)std::max({sr, sg, sb}) / 255.0f);
                else if (alphaType == ENG_TGA_ALPHA_BLEND_DARKEST)
                    weight = EngMathTruncDoubleToInt((float)sa * alphaFactor * (float)(255 - std::min({sr, sg, sb})) / 255.0f);
                else if (alphaFactor > 0.0f && alphaFactor < 1.0f)
                    weight = EngMathRoundFloatToInt((float)sa * alphaFactor);
                else if (alphaFactor == -1.0f)
                    weight = 255 - sa;
                else
                    weight = sa;
                // A factor above 1 must not push the weight past full cover.
                weight = std::clamp(weight, 0, 255);
                r = std::min(255, weight * sr / 255 + (255 - weight) * dr / 255);
                g = std::min(255, weight * sg / 255 + (255 - weight) * dg / 255);
                b = std::min(255, weight * sb / 255 + (255 - weight) * db / 255);
                float cover = (float)da / 255.0f + ((float)weight / 255.0f) * ((float)da / 255.0f);
                a = (int)(255.0f * std::min(1.0f, cover));
                break;
            }
            }
            target = (uint32_t)ClampByte(a) << 24 | (uint32_t)ClampByte(r) << 16 | (uint32_t)ClampByte(g) << 8 |
                     (uint32_t)ClampByte(b);
        }
    }
    PlatD3dTextureUnlockRect(back->GetD3dTexture(), 0);
    return true;
}

bool EngTga::UpdateTexCharBufferFromDxTexture_DX9(EngTexture *texture, unsigned char *buffer, unsigned int size)
{
    if (!texture || !buffer || size == 0)
    {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    EngTextureDX9 *back = UsableBackEnd(texture, ENG_FUNC, "Invalid texure");
    if (!back)
        return false;
    const int textureWidth = back->GetWidth(), textureHeight = back->GetHeight();
    if ((uint64_t)size != (uint64_t)textureWidth * (uint64_t)textureHeight * 4u)
    {
        DebugError(ENG_FUNC, "Invalid data size");
        return false;
    }
    PlatD3dSurfaceDesc desc;
    PlatD3dLockedRect locked;
    if (!LockKnownFormat(back, ENG_FUNC, &desc, &locked))
        return false;
    if (desc.format != PLAT_FMT_A8R8G8B8 && desc.format != PLAT_FMT_X8R8G8B8)
    {
        DebugError(ENG_FUNC, "Unsupported format: %d", (int)desc.format);
        PlatD3dTextureUnlockRect(back->GetD3dTexture(), 0);
        return false;
    }
    if (back->GetBitDepth() != 32)
        DebugError(ENG_FUNC, "Format %s but bpp %d", EngTextureDX9_GetFormatName(desc.format), back->GetBitDepth());
    for (int y = 0; y < textureHeight; y++)
        memcpy(buffer + (size_t)y * (size_t)textureWidth * 4, (const uint8_t *)locked.bits + (size_t)y * locked.pitch,
               (size_t)textureWidth * 4);
    PlatD3dTextureUnlockRect(back->GetD3dTexture(), 0);
    return true;
}
