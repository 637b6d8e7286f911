// Texture handles: the portable front end. Every member forwards to the DX9 side when
// the program's device type is DX9 and that side exists; the members that load or
// create a texture make the DX9 side first.
#include "EngTexture.h"

#include <cctype>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngTextureDX9.h"
#include "EngUtilsDX9.h"

EngTexture::EngTexture(const char *name, char constructLater) : backEnd(nullptr)
{
    if (!constructLater)
        Construct(name);
    else if (name)
        DebugError(ENG_FUNC, "Cannot set name if not contstructing.");
}

EngTexture::~EngTexture()
{
    Release();
    delete backEnd;
    backEnd = nullptr;
}

bool EngTexture::Construct(const char *name)
{
    if (IsLoaded())
    {
        DebugError(ENG_FUNC, "Must be called before loading textures.");
        return false;
    }
    delete backEnd;
    backEnd = nullptr;
    return Create();
}

bool EngTexture::Create()
{
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9 || backEnd)
        return true;
    backEnd = new (std::nothrow) EngTextureDX9(this);
    if (!backEnd)
    {
        DebugError(ENG_FUNC, "No memory (DX9)");
        return false;
    }
    return true;
}

EngTextureDX9 *EngTexture::Back() const
{
    return EngDeviceGetMainType() == ENG_DEVICE_DX9 ? backEnd : nullptr;
}

void EngTexture::Release()
{
    if (EngTextureDX9 *back = Back())
        back->Release();
}

bool EngTexture::IsLoaded() const
{
    return backEnd && backEnd->IsCreated();
}

int EngTexture::GetWidth() const
{
    EngTextureDX9 *back = Back();
    return back ? back->GetWidth() : 0;
}

int EngTexture::GetHeight() const
{
    EngTextureDX9 *back = Back();
    return back ? back->GetHeight() : 0;
}

bool EngTexture::SetDeviceTexture()
{
    EngTextureDX9 *back = Back();
    if (!back || !back->IsCreated())
        return false;
    return EngUtilsDX9_CheckResult(ENG_FUNC, "SetTexture", back->SetDx9D3dDeviceTextureToTexture());
}

bool EngTexture::LoadFromFile(const char *file, char alpha, char alphaType, char ignored)
{
    if (!Create())
        return false;
    EngTextureDX9 *back = Back();
    return back ? back->DoLoadFromFile(file, alpha, alphaType) : false;
}

bool EngTexture::LoadFromFileUsingExt(const char *file, char alpha, char alphaType, _EngTextureFileExt datType,
                                      char ignored)
{
    if (!Create())
        return false;
    EngTextureDX9 *back = Back();
    return back ? back->LoadFromFileUsingExt(file, alpha, alphaType, datType) : false;
}

bool EngTexture::CreateEmpty(int *width, int *height, char alpha)
{
    if (!Create())
        return false;
    EngTextureDX9 *back = Back();
    return back ? back->DoCreateEmptyTexture(width, height, alpha, false) : false;
}

bool EngTexture::CreateEmpty2D(int *width, int *height, char alpha)
{
    if (!Create())
        return false;
    EngTextureDX9 *back = Back();
    return back ? back->DoCreateEmptyTexture(width, height, alpha, true) : false;
}

bool EngTexture::CopyAlphaChannelFromAnotherTexture(EngTexture *from, int fx, int fy, int fw, int fh, int tx, int ty,
                                                    int tw, int th)
{
    EngTextureDX9 *back = Back();
    return back ? back->CopyAlphaChannelFromAnotherTexture(from, fx, fy, fw, fh, tx, ty, tw, th) : false;
}

void EngTexture::PositionPure(float x, float y, float w, float h)
{
    if (EngTextureDX9 *back = Back())
        back->PositionPure(x, y, w, h);
}

void EngTexture::DrawPure(const _Dimension *rectangle)
{
    if (!rectangle)
        return;
    PositionPure(rectangle->x, rectangle->y, rectangle->w, rectangle->h);
    Draw();
}

void EngTexture::PositionRatioed(float x, float y, float w, float h)
{
    if (EngTextureDX9 *back = Back())
        back->PositionRatioed(x, y, w, h);
}

void EngTexture::PositionRatioedFromInts(int x, int y, int w, int h)
{
    PositionRatioed((float)x, (float)y, (float)w, (float)h);
}

void EngTexture::PositionRatioedFromDimension(const _Dimension *rectangle)
{
    if (rectangle)
        PositionRatioed(rectangle->x, rectangle->y, rectangle->w, rectangle->h);
}

void EngTexture::SetTextureCoordinatesFromDimension(const _Dimension *coordinates)
{
    EngTextureDX9 *back = Back();
    if (!back)
        return;
    if (coordinates)
        back->SetTextureCoordinates(coordinates->x, coordinates->y, coordinates->w, coordinates->h);
    else
        back->SetDefaultTextureCoordinates();
}

void EngTexture::SetColour(float r, float g, float b, float a)
{
    if (EngTextureDX9 *back = Back())
        back->TextureBufferSetColour(r, g, b, a, false);
}

void EngTexture::SetColourFromArray(const float *colour)
{
    if (colour)
        SetColour(colour[0], colour[1], colour[2], colour[3]);
    else
        SetColour(1.0f, 1.0f, 1.0f, 1.0f);
}

void EngTexture::SetAlpha(float a)
{
    SetColour(1.0f, 1.0f, 1.0f, a);
}

void EngTexture::Draw()
{
    if (EngTextureDX9 *back = Back())
        back->Draw();
}

void EngTexture::DrawWithColour(float r, float g, float b, float a)
{
    SetColour(r, g, b, a);
    Draw();
}

void EngTexture::DrawWithTextureCoordinates(float tu1, float tv1, float tu2, float tv2)
{
    if (EngTextureDX9 *back = Back())
    {
        back->SetTextureCoordinates(tu1, tv1, tu2, tv2);
        back->Draw();
    }
}

void EngTexture::DrawWithTextureCoordinatesFromDimension(const _Dimension *coordinates)
{
    SetTextureCoordinatesFromDimension(coordinates);
    Draw();
}

void EngTexture::DrawWithTextureCoordinatesAndColour(float tu1, float tv1, float tu2, float tv2, float r, float g,
                                                     float b, float a)
{
    EngTextureDX9 *back = Back();
    if (!back)
        return;
    back->SetTextureCoordinates(tu1, tv1, tu2, tv2);
    back->TextureBufferSetColour(r, g, b, a, false);
    back->Draw();
}

void EngTexture::DrawWithTextureCoordinatesAndColourArray(float tu1, float tv1, float tu2, float tv2,
                                                          const float *colour)
{
    if (colour)
        DrawWithTextureCoordinatesAndColour(tu1, tv1, tu2, tv2, colour[0], colour[1], colour[2], colour[3]);
    else
        DrawWithTextureCoordinatesAndColour(tu1, tv1, tu2, tv2, 1.0f, 1.0f, 1.0f, 1.0f);
}

void EngTexture::DrawThreePartHorizontal(float capWidth, float capTextureWidth, char middle)
{
    if (EngTextureDX9 *back = Back())
        back->DrawThreePartHorizontal(capWidth, capTextureWidth, middle);
}

// ---- Free functions ------------------------------------------------------------------------

_EngTextureFileExt EngTextureGetFileExtFromFilename(const char *name, _EngTextureFileExt datType)
{
    if (!name)
        return ENG_TEXTURE_EXT_NONE;
    size_t length = strlen(name);
    if (length < 4)
        return ENG_TEXTURE_EXT_NONE;
    const char *extension;
    if (name[length - 4] == '.')
        extension = name + length - 3;
    else if (length >= 5 && name[length - 5] == '.')
        extension = name + length - 4;
    else
        return ENG_TEXTURE_EXT_NONE;
    if (strcasecmp(extension, "bmp") == 0)
        return ENG_TEXTURE_EXT_BMP;
    if (strcasecmp(extension, "tga") == 0)
        return ENG_TEXTURE_EXT_TGA;
    if (strcasecmp(extension, "jpg") == 0 || strcasecmp(extension, "jpeg") == 0)
        return ENG_TEXTURE_EXT_JPG;
    if (strcasecmp(extension, "png") == 0)
        return ENG_TEXTURE_EXT_PNG;
    if (strcasecmp(extension, "gif") == 0)
        return ENG_TEXTURE_EXT_GIF;
    if (strcasecmp(extension, "dds") == 0)
        return ENG_TEXTURE_EXT_DDS;
    if (strcasecmp(extension, "dat") == 0)
        return datType;
    return ENG_TEXTURE_EXT_NONE;
}

uint8_t EngTexture_GetPixelAlphaFromBrightness(char alphaType, uint8_t red, uint8_t green, uint8_t blue)
{
    static int fromFileReports = 0;
    static int unknownReports = 0;
    int brightest = red > green ? red : green;
    brightest = brightest > blue ? brightest : blue;
    int darkest = red < green ? red : green;
    darkest = darkest < blue ? darkest : blue;
    switch (alphaType)
    {
    case 0:
    case 9:
        return 255;
    case 1:
        return 0;
    case 2:
        if (fromFileReports < 20)
        {
            fromFileReports++;
            DebugError(ENG_FUNC, "Alpha from file specified");
        }
        return 0;
    case 3:
        return (uint8_t)brightest;
    case 4:
        if (brightest < 32)
            return 0;
        return brightest < 64 ? (uint8_t)((brightest - 32) * 8) : 255;
    case 5:
        return brightest < 32 ? (uint8_t)(brightest * 8) : 255;
    case 6:
        return (uint8_t)(255 - darkest);
    case 7:
        if (darkest < 192)
            return 255;
        return darkest < 224 ? (uint8_t)((223 - darkest) * 8) : 0;
    case 8:
        return darkest < 224 ? 255 : (uint8_t)((255 - darkest) * 8);
    default:
        if (unknownReports < 5)
        {
            unknownReports++;
            DebugError(ENG_FUNC, "Unknown alpha type %d", (int)alphaType);
        }
        return 0;
    }
}
