// The DX9 side of a texture handle: the device texture, its size and format, the
// default texture coordinates and the textured quad. Only the DX9 back-end files
// (textures, TGA images, fonts, pictures, particles, triangle lists) include this header.
#pragma once
#include <cstdint>

#include "EngTexture.h"
#include "EngVertexBufferDX9.h"
#include "PlatD3d9.h"

class EngTextureDX9
{
public:
    explicit EngTextureDX9(EngTexture *owner);
    ~EngTextureDX9();
    EngTextureDX9(const EngTextureDX9 &) = delete;
    EngTextureDX9 &operator=(const EngTextureDX9 &) = delete;

    // ---- Making and releasing ----
    bool LoadFromFileUsingExt(const char *file, char alpha, char alphaType, _EngTextureFileExt datType);
    bool DoLoadFromFile(const char *file, char alpha, char alphaType);
    bool DoCreateEmptyTexture(int *width, int *height, char alpha, bool is2D);
    void Release();
    bool SetupAlphaChannel(char alphaType);
    bool CopyAlphaChannelFromAnotherTexture(EngTexture *from, int fx, int fy, int fw, int fh, int tx, int ty, int tw,
                                            int th);

    // ---- Quad ----
    void PositionPure(float x, float y, float w, float h);
    void PositionRatioed(float x, float y, float w, float h);
    void SetDefaultTextureCoordinates();
    void SetTextureCoordinates(float tu1, float tv1, float tu2, float tv2);
    void TextureBufferSetColour(float r, float g, float b, float a, bool force);
    void Draw();
    void DrawThreePartHorizontal(float capWidth, float capTextureWidth, char middle);
    PlatResult SetDx9D3dDeviceTextureToTexture();

    // ---- Direct access for the other back-end files ----
    // Locks level 0 for reading and writing; Unlock sends the pixels to the device.
    bool LockDxSurface(PlatD3dLockedRect *locked);
    void UnlockDxSurface();
    bool IsCreated() const { return created != 0; }
    bool Is2D() const { return is2D != 0; }
    bool IsColoured() const { return coloured != 0; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetBitDepth() const { return bitDepth; }
    PlatD3dFormat GetFormat() const { return format; }
    PlatD3dTexture *GetD3dTexture() const { return texture; }
    EngTexture *GetOwner() const { return owner; }
    const _Dimension &GetQuadRectangle() const { return quadRect; }
    void GetTextureCoordinates(float *tu1, float *tv1, float *tu2, float *tv2) const;
    bool AreCoordinatesPending() const { return coordinatesPending != 0; }
    EngVertexBufferDX9 &GetQuad() { return quad; }

private:
    bool DoFinaliseTextureCreation(int width, int height, int bitDepth, PlatD3dFormat format, bool make2D);
    bool TextureBufferCreate();
    bool TextureBufferCreate2D();
    // Clears the texture pointer and every field after it.
    void ClearTextureFields();

    EngTexture *owner;
    uint8_t created;
    _Dimension quadRect;
    int32_t width, height;
    uint8_t coordinatesPending;
    float tu1, tv1, tu2, tv2;
    int32_t bitDepth;
    PlatD3dFormat format;
    uint8_t hasAlpha;
    PlatD3dTexture *texture;
    uint8_t is2D;
    uint8_t coloured;
    EngVertexBufferDX9 quad;
};

// Bits per pixel of a format and whether it has alpha; 0 (reported) for others.
int EngTextureDX9_GetBitdepthFromFormat(PlatD3dFormat format, char *hasAlpha);
// One 16-bit pixel (low byte first) split into 8-bit channels and made again.
bool EngTextureDX9_GetColPartsFromBit16(const uint8_t *pixel, PlatD3dFormat format, uint8_t *r, uint8_t *g,
                                        uint8_t *b, uint8_t *a);
bool EngTextureDX9_SetBit16FromColParts(uint8_t r, uint8_t g, uint8_t b, uint8_t a, PlatD3dFormat format,
                                        uint8_t *pixel);
// The format's name for messages, in a static buffer the next call overwrites.
const char *EngTextureDX9_GetFormatName(PlatD3dFormat format);
// The device texture behind a handle (NULL when it has none).
PlatD3dTexture *EngTextureDX9_GetD3dTexture(EngTexture *texture);
class EngWindow;
// The window's texture cursor, when it uses one: loaded with each device (its size and
// hot spot scaled to the screen), and let go before the device goes. A cursor that
// cannot be loaded gives the system cursor back.
void EngTextureCursorLoad_DX9(EngWindow *window);
void EngTextureCursorRelease_DX9(EngWindow *window);
// For tests: the "Invalid sizes" reports of PositionRatioed counted again from 0.
void EngTextureDX9ResetReportCounts();
