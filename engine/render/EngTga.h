// 32-bit images in memory that can be filled with one colour or from (a scaled,
// optionally mirrored area of) a texture, and written as uncompressed TGA files. Pixels
// are A << 24 | R << 16 | G << 8 | B, rows from the top; in memory each reads B, G, R, A.
#pragma once
#include <cstdint>

class EngTexture;

// How FillFromTexture treats alpha: 0 and 1 copy the colour and keep the image's alpha,
// 2 copies the pixel, 3 copies the colour with inverted alpha; any other value blends
// the source over the image by its alpha (10 and 11 weighted by brightness).
typedef int _EngTgaAlphaType;
enum
{
    ENG_TGA_ALPHA_KEEP = 0,
    ENG_TGA_ALPHA_KEEP2 = 1,
    ENG_TGA_ALPHA_COPY = 2,
    ENG_TGA_ALPHA_INVERT = 3,
    ENG_TGA_ALPHA_BLEND = 4,
    ENG_TGA_ALPHA_BLEND_BRIGHTEST = 10,
    ENG_TGA_ALPHA_BLEND_DARKEST = 11,
};

// The 18-byte header of the files written.
enum
{
    ENG_TGA_HEADER_SIZE = 18,
};

class EngTga
{
public:
    EngTga();
    ~EngTga();
    EngTga(const EngTga &) = delete;
    EngTga &operator=(const EngTga &) = delete;

    // Colour components 0-1 (above 1 counts as 1); any negative component leaves the
    // pixels zero. Only 32 bits per pixel.
    bool CreateWithColour(int width, int height, int bitsPerPixel, float r, float g, float b, float a);
    // A srcW or srcH of -1 means the texture's size; a negative dstW or dstH the image's.
    bool FillFromTexture(int srcX, int srcY, int srcW, int srcH, EngTexture *texture, int dstX, int dstY, int dstW,
                         int dstH, char mirrorX, char mirrorY, _EngTgaAlphaType alphaType, float alphaFactor);
    // Writes the file under a temporary name and puts it in place once whole; on any
    // failure nothing is left at either name.
    bool SaveToFile(const char *file);
    void FreeData();

    const uint32_t *GetData() const { return data; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }

private:
    bool FillFromTexture_DX9(int srcX, int srcY, int srcW, int srcH, EngTexture *texture, int dstX, int dstY,
                             int dstW, int dstH, char mirrorX, char mirrorY, _EngTgaAlphaType alphaType,
                             float alphaFactor);
    // With a texture its pixels are saved instead of the image's.
    bool DoSaveToFile(const char *file, EngTexture *texture);
    bool UpdateTexCharBufferFromDxTexture_DX9(EngTexture *texture, unsigned char *buffer, unsigned int size);

    uint32_t *data;
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    int32_t dataSize;
};
