// The engine's four-vertex quad: one device vertex buffer of four vertices drawn as a
// two-triangle strip, in one of nine vertex layouts. It keeps the last positions,
// texture coordinates, colour and normal it wrote, so that setting the same values
// again does not lock the buffer.
#pragma once
#include <cstdint>

#include "EngTypes.h"

class EngTexture;
struct PlatD3dVertexBuffer;
struct PlatD3dTexture;

enum _EngVertexBufferType
{
    EVBT_NONE = 0,
    EVBT_POS_TEX = 1,               // x, y, z; tu, tv
    EVBT_POS_NORM_TEX = 2,          // x, y, z; nx, ny, nz; tu, tv
    EVBT_POS_COL_TEX = 3,           // x, y, z; colour; tu, tv
    EVBT_POS_NORM_COL_TEX = 4,      // x, y, z; nx, ny, nz; colour; tu, tv
    EVBT_POS_NORM_COL_SPEC_TEX = 5, // x, y, z; nx, ny, nz; colour; specular; tu, tv
    EVBT_POS_COL = 6,               // x, y, z; colour
    EVBT_POS_TEX_2D = 7,            // x, y, z, rhw (pixels); tu, tv
    EVBT_POS_COL_TEX_2D = 8,        // x, y, z, rhw; colour; tu, tv
    EVBT_POS_COL_2D = 9,            // x, y, z, rhw; colour
};

class EngVertexBufferDX9
{
public:
    explicit EngVertexBufferDX9(const char *id = nullptr);
    ~EngVertexBufferDX9();
    EngVertexBufferDX9(const EngVertexBufferDX9 &) = delete;
    EngVertexBufferDX9 &operator=(const EngVertexBufferDX9 &) = delete;

    void SetID(const char *id);
    const char *GetID() const { return id; }
    // Needs the device; the texture (may be NULL) is drawn with the quad.
    bool Create(_EngVertexBufferType type, EngTexture *texture);
    // Releases the buffer; the object and its id stay, every kept value is forgotten.
    void Release();
    // The texture drawn with the quad (NULL: none). Kept as its handle and looked up at
    // each draw, so a texture loaded again after a device re-creation is drawn as it is now.
    void SetTexture(EngTexture *newTexture) { texture = newTexture; }
    // A device texture of the caller's own, drawn when the quad has no texture handle.
    void SetDxTexture(PlatD3dTexture *deviceTexture) { ownDxTexture = deviceTexture; }

    // A rectangle: 3D types in world units with y growing downward in the caller's
    // space; 2D types in pixels, enlarged by half a pixel on every side.
    void SetPositions(float x, float y, float w, float h);
    void SetPositionsFromDimension(const _Dimension *rectangle);
    // A rectangle in 640x480 units scaled to the screen.
    void SetPositionsScaled(float x, float y, float w, float h);
    // A flat quad spanned by two corners: orientation 0 x-y at a.z, 1 x-z at a.y, 2 y-z
    // at a.x (3D types only).
    void SetPositions3dVec3(char orientation, const _Vector3d *a, const _Vector3d *b);
    void SetTextureCoordinates(float tu1, float tv1, float tu2, float tv2);
    void SetDefaultTextureCoordinates();
    // r, g or b below 0 keeps the previous colour and changes only the alpha.
    void SetColour(float r, float g, float b, float a);
    void SetNormal(float nx, float ny, float nz);
    void Draw();

    bool IsCreated() const { return created != 0; }
    _EngVertexBufferType GetType() const { return type; }
    // The rectangle and texture coordinates last written (-1 each before any).
    const _Dimension &GetKeptRectangle() const { return keptRect; }
    void GetKeptTextureCoordinates(float *tu1, float *tv1, float *tu2, float *tv2) const;

private:
    bool Lock(uint8_t **data, const char *owner, const char *operation);
    void Unlock();
    void ForgetKeptValues();

    _EngVertexBufferType type;
    char *id;
    PlatD3dVertexBuffer *buffer;
    EngTexture *texture; // not owned
    PlatD3dTexture *ownDxTexture; // the caller's, not owned
    int32_t stride;
    uint32_t fvf;
    _Dimension keptRect;
    float keptTu1, keptTv1, keptTu2, keptTv2;
    float keptR, keptG, keptB, keptA;
    _Vector3d kept3dA, kept3dB;
    int8_t keptOrientation;
    float keptNx, keptNy, keptNz;
    uint8_t created;
};

// The device texture behind a texture handle (NULL when it has none). Provided by the
// textures' DX9 back end.
PlatD3dTexture *EngTextureDX9_GetD3dTexture(EngTexture *texture);
