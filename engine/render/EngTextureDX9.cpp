// The DX9 side of texture handles: loading image files and making empty textures on
// the device, the textured quad (position, coordinates, colour), alpha channels made
// from brightness or copied from another texture, and the 16-bit pixel helpers.
//
// Sections: making and releasing, the quad, alpha channels, free functions.
#include "EngTextureDX9.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngDeviceDX9.h"
#include "EngFile.h"
#include "EngUtilsDX9.h"
#include "EngGlobals.h"

namespace
{
// The "Invalid sizes" reports of PositionRatioed, shared by every texture.
int s_invalidSizeReports = 0;
constexpr int kMaxInvalidSizeReports = 10;
} // namespace

EngTextureDX9::EngTextureDX9(EngTexture *ownerHandle)
    : owner(ownerHandle), created(0), quadRect{0, 0, 0, 0}, width(0), height(0), coordinatesPending(0), tu1(0),
      tv1(0), tu2(0), tv2(0), bitDepth(0), format(PLAT_FMT_UNKNOWN), hasAlpha(0), texture(nullptr), is2D(0),
      coloured(0), quad("EngTextureDX9")
{
}

EngTextureDX9::~EngTextureDX9()
{
    Release();
}

// ---- Making and releasing ------------------------------------------------------------------

void EngTextureDX9::ClearTextureFields()
{
    if (texture)
        PlatD3dTextureRelease(texture);
    texture = nullptr;
    is2D = 0;
    coloured = 0;
    quad.Release();
}

void EngTextureDX9::Release()
{
    // A device texture holds its own reference to the device, so letting it go is safe
    // even after the device itself was released.
    created = 0;
    ClearTextureFields();
}

bool EngTextureDX9::LoadFromFileUsingExt(const char *file, char alpha, char alphaType, _EngTextureFileExt datType)
{
    if (!file || !file[0])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (!owner)
        return false;
    switch (EngTextureGetFileExtFromFilename(file, datType))
    {
    case ENG_TEXTURE_EXT_BMP:
    case ENG_TEXTURE_EXT_TGA:
    case ENG_TEXTURE_EXT_JPG:
    case ENG_TEXTURE_EXT_PNG:
        return DoLoadFromFile(file, alpha, alphaType);
    default:
        DebugError(ENG_FUNC, "Unknown extension in file <%s>", file);
        return false;
    }
}

bool EngTextureDX9::DoLoadFromFile(const char *file, char alpha, char alphaType)
{
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!device)
        return false;
    if (!file || !file[0])
    {
        DebugError(ENG_FUNC, "No file specified");
        return false;
    }
    if (!EngFileExists(file, false))
    {
        DebugError(ENG_FUNC, "File does not exist <%s>", file);
        return false;
    }
    if (created)
    {
        DebugError(ENG_FUNC, "Texture already exists <%s>", file);
        Release();
    }
    ClearTextureFields();
    PlatD3dFormat wanted = PLAT_FMT_UNKNOWN;
    EngUtilsDX9_GetSupportedSurfaceFormat(&wanted, alpha != 0);
    PlatResult result =
        PlatD3dxCreateTextureFromFile(device, file, PLAT_D3DX_DEFAULT, PLAT_D3DX_DEFAULT, 1, 0, wanted,
                                      PLAT_POOL_MANAGED, PLAT_D3DX_DEFAULT, PLAT_D3DX_DEFAULT, 0, &texture);
    if (!EngUtilsDX9_CheckResult("EngTextureDX9::DoLoadFromFile", "D3DXCreateTextureFromFileExA", result))
    {
        DebugError(ENG_FUNC, "Could not load <%s>", file);
        DebugInfo("%s", PlatD3dGetErrorText());
        texture = nullptr;
        created = 0;
        return false;
    }
    PlatD3dSurfaceDesc desc;
    bool finalised;
    if (PlatD3dTextureGetLevelDesc(texture, 0, &desc) == PLAT_D3D_OK)
        finalised = DoFinaliseTextureCreation((int)desc.width, (int)desc.height, 0, desc.format, false);
    else
        finalised = DoFinaliseTextureCreation(0, 0, 0, PLAT_FMT_UNKNOWN, false);
    if (!finalised)
        return false;
    if (alpha && alphaType != ENG_ALPHA_FROM_FILE && alphaType != ENG_ALPHA_KEEP && !SetupAlphaChannel(alphaType))
        DebugError(ENG_FUNC, "Warning - could not setup alpha channel");
    SetDefaultTextureCoordinates();
    return true;
}

bool EngTextureDX9::DoCreateEmptyTexture(int *widthInOut, int *heightInOut, char alpha, bool make2D)
{
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    // A negative size is refused like a zero one (it would be a huge unsigned size).
    if (!device || !widthInOut || !heightInOut || *widthInOut <= 0 || *heightInOut <= 0)
        return false;
    if (created)
    {
        DebugError(ENG_FUNC, "Texture already exists");
        Release();
    }
    ClearTextureFields();
    PlatD3dFormat wanted = PLAT_FMT_UNKNOWN;
    EngUtilsDX9_GetSupportedSurfaceFormat(&wanted, alpha != 0);
    PlatResult result = PlatD3dxCreateTexture(device, (uint32_t)*widthInOut, (uint32_t)*heightInOut, 1, 0, wanted,
                                              PLAT_POOL_MANAGED, &texture);
    if (result != PLAT_D3D_OK)
    {
        DebugError(ENG_FUNC, "Could not create texture");
        texture = nullptr;
        return false;
    }
    int newWidth = *widthInOut, newHeight = *heightInOut;
    PlatD3dFormat newFormat = PLAT_FMT_UNKNOWN;
    PlatD3dSurfaceDesc desc;
    if (PlatD3dTextureGetLevelDesc(texture, 0, &desc) == PLAT_D3D_OK)
    {
        newWidth = *widthInOut = (int)desc.width;
        newHeight = *heightInOut = (int)desc.height;
        newFormat = desc.format;
    }
    if (!DoFinaliseTextureCreation(newWidth, newHeight, 0, newFormat, make2D))
        return false;
    SetDefaultTextureCoordinates();
    return true;
}

bool EngTextureDX9::DoFinaliseTextureCreation(int newWidth, int newHeight, int newBitDepth, PlatD3dFormat newFormat,
                                              bool make2D)
{
    if (!texture)
    {
        DebugError(ENG_FUNC, "Invalid texture passed in");
        created = 0;
        return false;
    }
    if (make2D ? !TextureBufferCreate2D() : !TextureBufferCreate())
    {
        DebugError(ENG_FUNC, make2D ? "Could not create vertex buffers [2d]" : "Could not create vertex buffers");
        Release();
        return false;
    }
    width = newWidth;
    height = newHeight;
    bitDepth = newBitDepth;
    format = newFormat;
    if (bitDepth == 0 && format != PLAT_FMT_UNKNOWN)
    {
        char alpha = 0;
        bitDepth = EngTextureDX9_GetBitdepthFromFormat(format, &alpha);
        hasAlpha = (uint8_t)alpha;
    }
    created = 1;
    SetDefaultTextureCoordinates();
    return true;
}

bool EngTextureDX9::TextureBufferCreate()
{
    if (quad.IsCreated())
    {
        DebugError(ENG_FUNC, "Buffer already created");
        return false;
    }
    is2D = 0;
    coloured = 0;
    return quad.Create(EVBT_POS_TEX, owner);
}

bool EngTextureDX9::TextureBufferCreate2D()
{
    if (quad.IsCreated())
    {
        DebugError(ENG_FUNC, "Buffer already created");
        return false;
    }
    is2D = 0;
    coloured = 0;
    if (!quad.Create(EVBT_POS_TEX_2D, owner))
        return false;
    is2D = 1;
    return true;
}

PlatResult EngTextureDX9::SetDx9D3dDeviceTextureToTexture()
{
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!device)
        return PLAT_D3DERR_INVALIDCALL;
    return PlatD3dDeviceSetTexture(device, 0, texture);
}

bool EngTextureDX9::LockDxSurface(PlatD3dLockedRect *locked)
{
    if (!created || !texture || !locked)
        return false;
    return EngUtilsDX9_CheckResult(ENG_FUNC, "LockRect", PlatD3dTextureLockRect(texture, 0, locked, nullptr, 0));
}

void EngTextureDX9::UnlockDxSurface()
{
    if (texture)
        PlatD3dTextureUnlockRect(texture, 0);
}

// ---- The quad ----------------------------------------------------------------------------------

void EngTextureDX9::GetTextureCoordinates(float *outTu1, float *outTv1, float *outTu2, float *outTv2) const
{
    if (outTu1)
        *outTu1 = tu1;
    if (outTv1)
        *outTv1 = tv1;
    if (outTu2)
        *outTu2 = tu2;
    if (outTv2)
        *outTv2 = tv2;
}

void EngTextureDX9::SetDefaultTextureCoordinates()
{
    if (!created)
        return;
    if (width > 0 && height > 0)
    {
        // Half a texel in from every edge, so that filtering never reads past the image.
        tu1 = 0.5f / (float)width;
        tv1 = 0.5f / (float)height;
        tu2 = 1.0f - tu1;
        tv2 = 1.0f - tv1;
        coordinatesPending = 1;
    }
    else
    {
        tu1 = tv1 = 0.0f;
        tu2 = tv2 = 1.0f;
        coordinatesPending = 0;
    }
}

void EngTextureDX9::SetTextureCoordinates(float newTu1, float newTv1, float newTu2, float newTv2)
{
    if (!created)
        return;
    tu1 = newTu1;
    tv1 = newTv1;
    tu2 = newTu2;
    tv2 = newTv2;
    coordinatesPending = 0;
    quad.SetTextureCoordinates(tu1, tv1, tu2, tv2);
}

void EngTextureDX9::PositionPure(float x, float y, float w, float h)
{
    if (!created)
        return;
    if (w <= 0.0f || h <= 0.0f)
    {
        DebugError(ENG_FUNC, "Invalid sizes");
        return;
    }
    quadRect = {x, y, w, h};
    quad.SetPositions(x, y, w, h);
}

void EngTextureDX9::PositionRatioed(float x, float y, float w, float h)
{
    if (!created)
        return;
    if (w == 0.0f || h == 0.0f)
    {
        if (s_invalidSizeReports < kMaxInvalidSizeReports)
        {
            s_invalidSizeReports++;
            DebugError(ENG_FUNC, "Invalid sizes");
        }
        return;
    }
    if (is2D)
    {
        float sx = EngScreenSettings.scaleToScreenX, sy = EngScreenSettings.scaleToScreenY;
        quadRect = {x * sx, y * sy, w * sx, h * sy};
    }
    else
        quadRect = {x / 320.0f - 1.0f, y / 240.0f - 1.0f, w / 320.0f, h / 240.0f};
    quad.SetPositions(quadRect.x, quadRect.y, quadRect.w, quadRect.h);
}

void EngTextureDX9::TextureBufferSetColour(float r, float g, float b, float a, bool force)
{
    if (!created || is2D || !quad.IsCreated())
        return;
    if (!coloured)
    {
        if (r == 1.0f && g == 1.0f && b == 1.0f && a == 1.0f && !force)
            return;
        // The plain quad has no vertex colours: make it again with them, keeping where it
        // was and which part of the texture it shows.
        _Dimension kept = quad.GetKeptRectangle();
        bool positioned = kept.w != -1.0f || kept.h != -1.0f || kept.x != -1.0f || kept.y != -1.0f;
        quad.Release();
        if (!quad.Create(EVBT_POS_COL_TEX, owner))
            return;
        if (positioned)
            quad.SetPositions(kept.x, kept.y, kept.w, kept.h);
        quad.SetTextureCoordinates(tu1, tv1, tu2, tv2);
        coordinatesPending = 0;
        coloured = 1;
    }
    quad.SetColour(r, g, b, a);
}

void EngTextureDX9::Draw()
{
    if (!created)
        return;
    if (coordinatesPending)
    {
        quad.SetTextureCoordinates(tu1, tv1, tu2, tv2);
        coordinatesPending = 0;
    }
    quad.Draw();
}

void EngTextureDX9::DrawThreePartHorizontal(float capWidth, float capTextureWidth, char middle)
{
    if (!created || is2D)
        return;
    float x = (quadRect.x + 1.0f) * 320.0f, y = (quadRect.y + 1.0f) * 240.0f;
    float w = 320.0f * quadRect.w, h = 240.0f * quadRect.h;
    float left = tu1, top = tv1, right = tu2, bottom = tv2;
    bool wasPending = coordinatesPending != 0;

    PositionRatioed(x, y, capWidth, h);
    SetTextureCoordinates(left, top, left + capTextureWidth, bottom);
    Draw();
    if (middle)
    {
        PositionRatioed(x + capWidth, y, w - 2.0f * capWidth, h);
        SetTextureCoordinates(left + capTextureWidth, top, right - capTextureWidth, bottom);
        Draw();
    }
    PositionRatioed(x + w - capWidth, y, capWidth, h);
    SetTextureCoordinates(right - capTextureWidth, top, right, bottom);
    Draw();

    PositionRatioed(x, y, w, h);
    if (wasPending)
        SetDefaultTextureCoordinates();
    else
        SetTextureCoordinates(left, top, right, bottom);
}

// ---- Alpha channels -------------------------------------------------------------------------

bool EngTextureDX9::SetupAlphaChannel(char alphaType)
{
    if (!created)
    {
        DebugError(ENG_FUNC, "No texture");
        return false;
    }
    if (!hasAlpha)
    {
        DebugError(ENG_FUNC, "Format does not have alpha channel [%d]", (int)format);
        return false;
    }
    if (format != PLAT_FMT_A8R8G8B8 && format != PLAT_FMT_A1R5G5B5 && format != PLAT_FMT_A4R4G4B4)
    {
        DebugError(ENG_FUNC, "Texture format not ok [%d]", (int)format);
        return false;
    }
    PlatD3dLockedRect locked;
    if (PlatD3dTextureLockRect(texture, 0, &locked, nullptr, 0) != PLAT_D3D_OK)
    {
        DebugError(ENG_FUNC, "Could not lock texture");
        return false;
    }
    for (int y = 0; y < height; y++)
    {
        uint8_t *row = (uint8_t *)locked.bits + (size_t)y * (size_t)locked.pitch;
        for (int x = 0; x < width; x++)
        {
            if (format == PLAT_FMT_A8R8G8B8)
            {
                uint8_t *pixel = row + (size_t)x * 4;
                pixel[3] = EngTexture_GetPixelAlphaFromBrightness(alphaType, pixel[2], pixel[1], pixel[0]);
                continue;
            }
            uint8_t *pixel = row + (size_t)x * 2;
            uint8_t r, g, b, a;
            EngTextureDX9_GetColPartsFromBit16(pixel, format, &r, &g, &b, &a);
            uint8_t alpha = EngTexture_GetPixelAlphaFromBrightness(alphaType, r, g, b);
            if (format == PLAT_FMT_A1R5G5B5)
                pixel[1] = (uint8_t)((pixel[1] & 0x7F) | (alpha & 0x80));
            else
                pixel[1] = (uint8_t)((pixel[1] & 0x0F) | (alpha & 0xF0));
        }
    }
    PlatD3dTextureUnlockRect(texture, 0);
    return true;
}

bool EngTextureDX9::CopyAlphaChannelFromAnotherTexture(EngTexture *from, int fx, int fy, int fw, int fh, int tx,
                                                       int ty, int tw, int th)
{
    EngTextureDX9 *source = from ? from->GetBackEnd() : nullptr;
    if (!source)
    {
        DebugError(ENG_FUNC, "From texture not ok");
        return false;
    }
    if (!source->created || !source->texture)
    {
        DebugError(ENG_FUNC, "From texture not ok (2)");
        return false;
    }
    if (!created || !texture)
    {
        DebugError(ENG_FUNC, "To texture not ok");
        return false;
    }
    bool sameKind = source->format == format ||
                    (source->format == PLAT_FMT_A8R8G8B8 && format == PLAT_FMT_X8R8G8B8) ||
                    (source->format == PLAT_FMT_X8R8G8B8 && format == PLAT_FMT_A8R8G8B8);
    if (!sameKind)
    {
        DebugError(ENG_FUNC, "Formats are not the same [%d,%d]", (int)source->format, (int)format);
        return false;
    }
    if (fw < 0)
        fw = source->width;
    if (fh < 0)
        fh = source->height;
    if (tw < 0)
        tw = width;
    if (th < 0)
        th = height;
    if (fw < 1 || fh < 1)
    {
        DebugError(ENG_FUNC, "Invalid from sizes");
        return false;
    }
    if (tw < 1 || th < 1)
    {
        DebugError(ENG_FUNC, "Invalid to sizes");
        return false;
    }
    PlatD3dSurfaceDesc fromDesc, toDesc;
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "GetLevelDesc (from)", PlatD3dTextureGetLevelDesc(source->texture, 0, &fromDesc)) ||
        !EngUtilsDX9_CheckResult(ENG_FUNC, "GetLevelDesc (to)", PlatD3dTextureGetLevelDesc(texture, 0, &toDesc)))
        return false;
    if (fromDesc.format != source->format || toDesc.format != format)
    {
        DebugError(ENG_FUNC, "Formats are not the same (2)");
        return false;
    }
    PlatD3dLockedRect fromLocked, toLocked;
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "LockRect (from)",
                                 PlatD3dTextureLockRect(source->texture, 0, &fromLocked, nullptr, 0)))
        return false;
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "LockRect (to)", PlatD3dTextureLockRect(texture, 0, &toLocked, nullptr, 0)))
    {
        PlatD3dTextureUnlockRect(source->texture, 0);
        return false;
    }
    PlatD3dFormat sourceFormat = source->format;
    bool ok = true;
    if (sourceFormat == PLAT_FMT_R5G6B5 || sourceFormat == PLAT_FMT_X1R5G5B5 || sourceFormat == PLAT_FMT_X4R4G4B4)
    {
        DebugError(ENG_FUNC, "16 bit textures not supported (format=0x%x)", (unsigned)sourceFormat);
        ok = false;
    }
    else if (sourceFormat != PLAT_FMT_A8R8G8B8 && sourceFormat != PLAT_FMT_X8R8G8B8 &&
             sourceFormat != PLAT_FMT_A1R5G5B5 && sourceFormat != PLAT_FMT_A4R4G4B4)
    {
        DebugError(ENG_FUNC, "Unsupported format 0x%x", (unsigned)sourceFormat);
        ok = false;
    }
    bool wide = sourceFormat == PLAT_FMT_A8R8G8B8 || sourceFormat == PLAT_FMT_X8R8G8B8;
    for (int i = 0; ok && i < th; i++)
    {
        int row = ty + i;
        int sy = fy + (int)(((int64_t)i * fh) / th);
        sy = sy < fy ? fy : (sy > fy + fh ? fy + fh : sy);
        // Rows and columns outside either texture are skipped on both sides: a negative
        // source position never reads before the pixels.
        if (row < 0 || row >= height || sy < 0 || sy >= source->height)
            continue;
        const uint8_t *fromRow = (const uint8_t *)fromLocked.bits + (size_t)sy * (size_t)fromLocked.pitch;
        uint8_t *toRow = (uint8_t *)toLocked.bits + (size_t)row * (size_t)toLocked.pitch;
        for (int j = 0; j < tw; j++)
        {
            int column = tx + j;
            int sx = fx + (int)(((int64_t)j * fw) / tw);
            sx = sx < fx ? fx : (sx > fx + fw ? fx + fw : sx);
            if (column < 0 || column >= width || sx < 0 || sx >= source->width)
                continue;
            if (wide)
            {
                toRow[(size_t)column * 4 + 3] = fromRow[(size_t)sx * 4 + 3];
                continue;
            }
            uint8_t fr, fg, fb, fa, r, g, b, a;
            EngTextureDX9_GetColPartsFromBit16(fromRow + (size_t)sx * 2, sourceFormat, &fr, &fg, &fb, &fa);
            EngTextureDX9_GetColPartsFromBit16(toRow + (size_t)column * 2, format, &r, &g, &b, &a);
            EngTextureDX9_SetBit16FromColParts(r, g, b, fa, format, toRow + (size_t)column * 2);
        }
    }
    PlatD3dTextureUnlockRect(texture, 0);
    PlatD3dTextureUnlockRect(source->texture, 0);
    return ok;
}

// ---- Free functions -------------------------------------------------------------------------------

int EngTextureDX9_GetBitdepthFromFormat(PlatD3dFormat format, char *hasAlpha)
{
    int bits = 0;
    char alpha = 0;
    switch (format)
    {
    case PLAT_FMT_R8G8B8:
        bits = 24;
        break;
    case PLAT_FMT_A8R8G8B8:
        bits = 32;
        alpha = 1;
        break;
    case PLAT_FMT_X8R8G8B8:
        bits = 32;
        break;
    case PLAT_FMT_R5G6B5:
    case PLAT_FMT_X1R5G5B5:
    case PLAT_FMT_X4R4G4B4:
        bits = 16;
        break;
    case PLAT_FMT_A1R5G5B5:
    case PLAT_FMT_A4R4G4B4:
        bits = 16;
        alpha = 1;
        break;
    case PLAT_FMT_L8:
        bits = 8;
        alpha = 1;
        break;
    default:
        DebugError(ENG_FUNC, "Unrecognised format [%d]", (int)format);
        break;
    }
    if (hasAlpha)
        *hasAlpha = alpha;
    return bits;
}

bool EngTextureDX9_GetColPartsFromBit16(const uint8_t *pixel, PlatD3dFormat format, uint8_t *r, uint8_t *g,
                                        uint8_t *b, uint8_t *a)
{
    if (!pixel || !r || !g || !b || !a)
        return false;
    uint8_t low = pixel[0], high = pixel[1];
    switch (format)
    {
    case PLAT_FMT_R5G6B5:
        *a = 255;
        *r = high & 0xF8;
        *g = (uint8_t)((((high & 7) << 5) | ((low >> 5) << 2)) & 0xFF);
        *b = (uint8_t)((low & 0x1F) << 3);
        return true;
    case PLAT_FMT_X1R5G5B5:
    case PLAT_FMT_A1R5G5B5:
        *a = (high & 0x80) ? 255 : 0;
        *r = (uint8_t)((high & 0x7C) << 1);
        *g = (uint8_t)((((high & 3) << 3) | (low >> 5)) << 3);
        *b = (uint8_t)((low & 0x1F) << 3);
        return true;
    case PLAT_FMT_A4R4G4B4:
    case PLAT_FMT_X4R4G4B4:
    {
        uint8_t parts[4] = {(uint8_t)(high & 0xF0), (uint8_t)((high & 0x0F) << 4), (uint8_t)(low & 0xF0),
                            (uint8_t)((low & 0x0F) << 4)};
        // A full nibble reads as 255, not 240.
        for (uint8_t &part : parts)
            if (part)
                part = (uint8_t)(part + 15);
        *a = parts[0];
        *r = parts[1];
        *g = parts[2];
        *b = parts[3];
        return true;
    }
    default:
        DebugError(ENG_FUNC, "Format not supported: %d", (int)format);
        return false;
    }
}

bool EngTextureDX9_SetBit16FromColParts(uint8_t r, uint8_t g, uint8_t b, uint8_t a, PlatD3dFormat format,
                                        uint8_t *pixel)
{
    if (!pixel)
        return false;
    switch (format)
    {
    case PLAT_FMT_R5G6B5:
        pixel[1] = (uint8_t)((r & 0xF8) | (g >> 5));
        pixel[0] = (uint8_t)(((g & 0xFC) << 3) | (b >> 3));
        return true;
    case PLAT_FMT_X1R5G5B5:
    case PLAT_FMT_A1R5G5B5:
        pixel[1] = (uint8_t)((a & 0x80) | ((r >> 1) & 0x7C) | (g >> 6));
        pixel[0] = (uint8_t)(((g & 0xF8) << 2) | (b >> 3));
        return true;
    case PLAT_FMT_A4R4G4B4:
    case PLAT_FMT_X4R4G4B4:
        pixel[1] = (uint8_t)((a & 0xF0) | (r >> 4));
        pixel[0] = (uint8_t)((g & 0xF0) | (b >> 4));
        return true;
    default:
        DebugError(ENG_FUNC, "Format not supported: %d", (int)format);
        return false;
    }
}

const char *EngTextureDX9_GetFormatName(PlatD3dFormat format)
{
    static char buffer[64];
    struct Name
    {
        PlatD3dFormat format;
        const char *name;
    };
    static const Name kNames[] = {
        {PLAT_FMT_UNKNOWN, "D3DFMT_UNKNOWN"},
        {PLAT_FMT_R8G8B8, "D3DFMT_R8G8B8"},
        {PLAT_FMT_A8R8G8B8, "D3DFMT_A8R8G8B8"},
        {PLAT_FMT_X8R8G8B8, "D3DFMT_X8R8G8B8"},
        {PLAT_FMT_R5G6B5, "D3DFMT_R5G6B5"},
        {PLAT_FMT_X1R5G5B5, "D3DFMT_X1R5G5B5"},
        {PLAT_FMT_A1R5G5B5, "D3DFMT_A1R5G5B5"},
        {PLAT_FMT_A4R4G4B4, "D3DFMT_A4R4G4B4"},
        {PLAT_FMT_R3G3B2, "D3DFMT_R3G3B2"},
        {PLAT_FMT_A8R3G3B2, "D3DFMT_A8R3G3B2"},
        {PLAT_FMT_X4R4G4B4, "D3DFMT_X4R4G4B4"},
        {PLAT_FMT_A2B10G10R10, "D3DFMT_A2B10G10R10"},
        {PLAT_FMT_A8B8G8R8, "D3DFMT_A8B8G8R8"},
        {PLAT_FMT_A2R10G10B10, "D3DFMT_A2R10G10B10"},
        {PLAT_FMT_A16B16G16R16, "D3DFMT_A16B16G16R16"},
        {PLAT_FMT_L8, "D3DFMT_L8"},
        {PLAT_FMT_D16_LOCKABLE, "D3DFMT_D16_LOCKABLE"},
        {PLAT_FMT_D32, "D3DFMT_D32"},
        {PLAT_FMT_D15S1, "D3DFMT_D15S1"},
        {PLAT_FMT_D24S8, "D3DFMT_D24S8"},
        {PLAT_FMT_D24X8, "D3DFMT_D24X8"},
        {PLAT_FMT_D24X4S4, "D3DFMT_D24X4S4"},
        {PLAT_FMT_D16, "D3DFMT_D16"},
        {PLAT_FMT_D32F_LOCKABLE, "D3DFMT_D32F_LOCKABLE"},
        {PLAT_FMT_D24FS8, "D3DFMT_D24FS8"},
    };
    const char *name = "???";
    for (const Name &entry : kNames)
        if (entry.format == format)
            name = entry.name;
    snprintf(buffer, sizeof(buffer), "%s", name);
    return buffer;
}

PlatD3dTexture *EngTextureDX9_GetD3dTexture(EngTexture *handle)
{
    EngTextureDX9 *back = handle ? handle->GetBackEnd() : nullptr;
    return back ? back->GetD3dTexture() : nullptr;
}

void EngTextureDX9ResetReportCounts()
{
    s_invalidSizeReports = 0;
}
