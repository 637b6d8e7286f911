// 32-bit images: filled with one colour and written as uncompressed TGA files (bottom
// row first). Filling from a texture is the DX9 back end's part (EngTga_DX9.cpp).
#include "EngTga.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngMath.h"
#include "EngTexture.h"

namespace
{
uint32_t ColourChannel(float value)
{
    int channel = EngMathRoundFloatToInt(value * 255.0f);
    return (uint32_t)EngMathClampInt(channel, 0, 255);
}
} // namespace

EngTga::EngTga() : data(nullptr), width(0), height(0), bitsPerPixel(0), dataSize(0)
{
}

EngTga::~EngTga()
{
    FreeData();
}

void EngTga::FreeData()
{
    free(data);
    data = nullptr;
}

bool EngTga::CreateWithColour(int newWidth, int newHeight, int newBitsPerPixel, float r, float g, float b, float a)
{
    // The byte size must fit the 32-bit size field.
    if (newWidth < 1 || newHeight < 1 || newBitsPerPixel != 32 || (int64_t)newWidth * newHeight > INT32_MAX / 4)
    {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    if (data)
    {
        DebugError(ENG_FUNC, "Data already created");
        return false;
    }
    width = newWidth;
    height = newHeight;
    bitsPerPixel = 32;
    dataSize = newWidth * newHeight * 4;
    // Zeroed, so that an image made without a colour is defined (transparent black).
    data = (uint32_t *)calloc((size_t)newWidth * (size_t)newHeight, 4);
    if (!data)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    if (r < 0.0f || g < 0.0f || b < 0.0f || a < 0.0f)
        return true;
    uint32_t pixel = ColourChannel(a) << 24 | ColourChannel(r) << 16 | ColourChannel(g) << 8 | ColourChannel(b);
    for (int32_t i = 0; i < newWidth * newHeight; i++)
        data[i] = pixel;
    return true;
}

bool EngTga::FillFromTexture(int srcX, int srcY, int srcW, int srcH, EngTexture *texture, int dstX, int dstY,
                             int dstW, int dstH, char mirrorX, char mirrorY, _EngTgaAlphaType alphaType,
                             float alphaFactor)
{
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9)
        return false;
    if (texture)
    {
        if (srcW == -1)
            srcW = texture->GetWidth();
        if (srcH == -1)
            srcH = texture->GetHeight();
    }
    if (dstW < 0)
        dstW = width;
    if (dstH < 0)
        dstH = height;
    return FillFromTexture_DX9(srcX, srcY, srcW, srcH, texture, dstX, dstY, dstW, dstH, mirrorX, mirrorY, alphaType,
                               alphaFactor);
}

bool EngTga::SaveToFile(const char *file)
{
    return DoSaveToFile(file, nullptr);
}

bool EngTga::DoSaveToFile(const char *file, EngTexture *texture)
{
    if (!file || !file[0])
    {
        DebugError(ENG_FUNC, "No filename");
        return false;
    }
    int saveWidth, saveHeight;
    if (texture)
    {
        if (data)
        {
            DebugError(ENG_FUNC, "Invalid parameters");
            return false;
        }
        saveWidth = texture->GetWidth();
        saveHeight = texture->GetHeight();
        if (!texture->IsLoaded() || saveWidth < 1 || saveHeight < 1)
        {
            DebugError(ENG_FUNC, "Invalid texture passed in (filename=%s)", file);
            return false;
        }
    }
    else
    {
        if (!data)
        {
            DebugError(ENG_FUNC, "Invalid parameters");
            return false;
        }
        if (width < 1 || height < 1 || bitsPerPixel != 32)
        {
            DebugError(ENG_FUNC, "Invalid m_data passed in (filename=%s)", file);
            return false;
        }
        saveWidth = width;
        saveHeight = height;
    }
    if (saveWidth > 0xFFFF || saveHeight > 0xFFFF)
    {
        DebugError(ENG_FUNC, "Invalid m_data passed in (filename=%s)", file);
        return false;
    }

    uint8_t header[ENG_TGA_HEADER_SIZE] = {};
    header[2] = 2; // uncompressed true colour
    header[12] = (uint8_t)(saveWidth & 0xFF);
    header[13] = (uint8_t)(saveWidth >> 8);
    header[14] = (uint8_t)(saveHeight & 0xFF);
    header[15] = (uint8_t)(saveHeight >> 8);
    header[16] = 32;
    header[17] = 0; // bottom-left origin

    const uint8_t *pixels = (const uint8_t *)data;
    uint8_t *textureCopy = nullptr;
    if (texture)
    {
        unsigned int size = (unsigned int)saveWidth * (unsigned int)saveHeight * 4u;
        textureCopy = (uint8_t *)malloc(size);
        if (!textureCopy)
        {
            DebugError(ENG_FUNC, "No memory creating file <%s>", file);
            return false;
        }
        if (!UpdateTexCharBufferFromDxTexture_DX9(texture, textureCopy, size))
        {
            free(textureCopy);
            return false;
        }
        pixels = textureCopy;
    }

    // The file appears under its own name only once it is whole, so a failed save
    // never leaves a cut-off image that later loads would take as good.
    char temporary[ENG_FILE_PATH_SIZE];
    if (snprintf(temporary, sizeof(temporary), "%s.tmp", file) >= (int)sizeof(temporary))
    {
        DebugError(ENG_FUNC, "Could not create file <%s>", file);
        free(textureCopy);
        return false;
    }
    bool ok = false;
    {
        EngFile out;
        if (!out.CreateForWriting(temporary, false))
            DebugError(ENG_FUNC, "Could not create file <%s>", file);
        else if (!out.Write(header, sizeof(header)))
            DebugError(ENG_FUNC, "Problems [0] creating file <%s>", file);
        else
        {
            ok = true;
            size_t rowBytes = (size_t)saveWidth * 4;
            for (int row = saveHeight - 1; row >= 0 && ok; row--)
                if (!out.Write(pixels + (size_t)row * rowBytes, (uint32_t)rowBytes))
                {
                    DebugError(ENG_FUNC, "Problems creating data [DP] in file <%s>", file);
                    ok = false;
                }
        }
        out.Close();
    }
    free(textureCopy);
    // The stream's last block is written at close, which reports nothing: the size on
    // disk tells whether everything arrived.
    uint32_t expected = ENG_TGA_HEADER_SIZE + (uint32_t)saveWidth * (uint32_t)saveHeight * 4u;
    if (ok && EngFileGetFileSize(temporary, false) != expected)
    {
        DebugError(ENG_FUNC, "Problems creating data [DP] in file <%s>", file);
        ok = false;
    }
    if (ok && !EngFileReplaceFile(temporary, file))
        ok = false;
    if (!ok && EngFileExists(temporary, false))
        EngFileDelete(temporary, false);
    return ok;
}
