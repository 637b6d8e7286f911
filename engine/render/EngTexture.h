// Texture handles: `EngTexture` can be a static global made before any device exists;
// its device side (EngTextureDX9) is made the first time the handle loads or creates a
// texture, released with the other graphics objects and loaded again after each device
// re-creation. Each texture carries its own textured quad, so positioning, colouring
// and drawing the quad is the whole drawing interface. Positions are in the 640x480
// design space unless a member says otherwise.
#pragma once
#include <cstdint>

#include "EngTypes.h"

class EngTextureDX9;

// Image type by file extension.
enum _EngTextureFileExt
{
    ENG_TEXTURE_EXT_NONE = 0,
    ENG_TEXTURE_EXT_BMP = 1,
    ENG_TEXTURE_EXT_TGA = 2,
    ENG_TEXTURE_EXT_JPG = 3,
    ENG_TEXTURE_EXT_PNG = 4,
    ENG_TEXTURE_EXT_GIF = 5,
    ENG_TEXTURE_EXT_DDS = 6,
};

// How a texture's alpha channel is made from its pixels' brightness when loading with
// alpha (EngTexture_GetPixelAlphaFromBrightness): 2 and 9 keep the file's own alpha.
enum
{
    ENG_ALPHA_OPAQUE = 0,
    ENG_ALPHA_CLEAR = 1,
    ENG_ALPHA_FROM_FILE = 2,
    ENG_ALPHA_BRIGHTEST = 3,
    ENG_ALPHA_KEEP = 9,
};

class EngTexture
{
public:
    // With constructLater 0 the handle is constructed at once; the name is not kept.
    explicit EngTexture(const char *name = nullptr, char constructLater = 0);
    ~EngTexture();
    EngTexture(const EngTexture &) = delete;
    EngTexture &operator=(const EngTexture &) = delete;

    // Before any load: makes the device side when the device type allows it.
    bool Construct(const char *name);
    // Lets go of the device texture and its quad; the handle can load again.
    void Release();
    bool IsLoaded() const;
    // Size of the device texture (0 when none).
    int GetWidth() const;
    int GetHeight() const;
    // Sets the device's texture stage 0 to this texture.
    bool SetDeviceTexture();

    // ---- Making the device texture ----
    // alpha: keep an alpha channel; alphaType: how it is made (see above).
    bool LoadFromFile(const char *file, char alpha, char alphaType, char ignored);
    // As LoadFromFile for bmp, tga, jpg/jpeg and png names; ".dat" loads as datType.
    bool LoadFromFileUsingExt(const char *file, char alpha, char alphaType, _EngTextureFileExt datType, char ignored);
    // An empty (zeroed) texture; width and height become the real size. The 2D form's
    // quad is positioned in screen pixels.
    bool CreateEmpty(int *width, int *height, char alpha);
    bool CreateEmpty2D(int *width, int *height, char alpha);
    // A scaled nearest-pixel copy of the alpha of `from`'s rectangle into this one's;
    // a negative size means the whole texture.
    bool CopyAlphaChannelFromAnotherTexture(EngTexture *from, int fx, int fy, int fw, int fh, int tx, int ty, int tw,
                                            int th);

    // ---- Positioning, colouring and drawing ----
    // Device units (3D quad: -1..1 with y down; 2D quad: pixels).
    void PositionPure(float x, float y, float w, float h);
    void DrawPure(const _Dimension *rectangle);
    void PositionRatioed(float x, float y, float w, float h);
    void PositionRatioedFromInts(int x, int y, int w, int h);
    void PositionRatioedFromDimension(const _Dimension *rectangle);
    // x, y, w, h carry tu1, tv1, tu2, tv2; NULL restores the default coordinates.
    void SetTextureCoordinatesFromDimension(const _Dimension *coordinates);
    void SetColour(float r, float g, float b, float a);
    // NULL means opaque white.
    void SetColourFromArray(const float *colour);
    void SetAlpha(float a);
    void Draw();
    void DrawWithColour(float r, float g, float b, float a);
    void DrawWithTextureCoordinates(float tu1, float tv1, float tu2, float tv2);
    void DrawWithTextureCoordinatesFromDimension(const _Dimension *coordinates);
    void DrawWithTextureCoordinatesAndColour(float tu1, float tv1, float tu2, float tv2, float r, float g, float b,
                                             float a);
    void DrawWithTextureCoordinatesAndColourArray(float tu1, float tv1, float tu2, float tv2, const float *colour);
    // Left cap, stretched middle (when `middle`), right cap: a button of any width from
    // one image. capWidth in design units, capTextureWidth in texture units.
    void DrawThreePartHorizontal(float capWidth, float capTextureWidth, char middle);

    // The device side, NULL until made (for the DX9 back-end files).
    EngTextureDX9 *GetBackEnd() const { return backEnd; }

private:
    bool Create();
    // The device side when the device type is DX9 and it exists.
    EngTextureDX9 *Back() const;

    EngTextureDX9 *backEnd;
};

// The image type of a file name by its extension; ".dat" gives datType.
_EngTextureFileExt EngTextureGetFileExtFromFilename(const char *name, _EngTextureFileExt datType);
// An alpha byte from a pixel's three colour channels by alpha type (0-9).
uint8_t EngTexture_GetPixelAlphaFromBrightness(char alphaType, uint8_t red, uint8_t green, uint8_t blue);

// The texture cursor: set up by the application, loaded and drawn by the device.
struct _EngTextureCursor
{
    uint8_t on;              // a texture stands in for the system cursor
    uint8_t visible;         // the cursor is to be shown (ShowMouseCursor)
    char fileName[256];
    int32_t hotSpot[2];      // 640x480 units
    int32_t size[2];         // 640x480 units
    uint8_t useCorrections;  // scale by the width and height corrections
    void *loadPointer;       // passed on to the texture load
    int32_t loadValue;
    EngTexture *texture;     // owned by the device while it exists
    int32_t scaledHotSpot[2]; // pixels, set by the device
    int32_t scaledSize[2];
    float x, y;              // position in 640x480 units
};

// Draws a loaded, visible texture cursor over the frame with the device state saved and
// restored around it (the window checks that the mouse is inside).
void EngTextureCursorDraw_DX9(const _EngTextureCursor *cursor);
