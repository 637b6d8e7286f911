// A fixed number of independent triangles in one device vertex buffer, optionally
// textured and coloured per triangle, with corners given in the 640x480 design space.
// Made once the device exists and again after each device re-creation; the texture is
// kept as its handle and looked up at each draw, so a texture loaded again after a
// re-creation is drawn without making the list again.
#pragma once
#include <cstdint>

#include "EngTypes.h"

class EngTexture;
struct PlatD3dVertexBuffer;

// Vertex contents (each triangle is three consecutive vertices, position first):
// 2 position, texture coordinates; 3 position, normal, texture coordinates;
// 4 position, normal, colour; 5 position, colour, texture coordinates;
// 6 position, normal, colour, texture coordinates; 7 position, colour.
enum _EngTriangleListType
{
    ENG_TRIANGLES_TEX = 2,
    ENG_TRIANGLES_NORM_TEX = 3,
    ENG_TRIANGLES_NORM_COL = 4,
    ENG_TRIANGLES_COL_TEX = 5,
    ENG_TRIANGLES_NORM_COL_TEX = 6,
    ENG_TRIANGLES_COL = 7,
};

class EngTriangleList
{
public:
    EngTriangleList();
    ~EngTriangleList();
    EngTriangleList(const EngTriangleList &) = delete;
    EngTriangleList &operator=(const EngTriangleList &) = delete;

    // Every triangle starts white with texture corners (0, 0), (0.5, 1), (1, 0).
    bool Create(int type, EngTexture *texture, unsigned int triangleCount);
    // Corners in design units; z unchanged.
    void SetPositions(unsigned int index, float x1, float y1, float z1, float x2, float y2, float z2, float x3,
                      float y3, float z3);
    // Corners already in clip space.
    void SetPositionsP_DX9(unsigned int index, const _Vector3d *p1, const _Vector3d *p2, const _Vector3d *p3);
    void SetTextureCoordinates_DX9(unsigned int index, float u1, float v1, float u2, float v2, float u3, float v3);
    // Components 0-1 (above 1 counts as 1); a negative one is refused.
    void SetColour(unsigned int index, float r, float g, float b, float a);
    // Draws with the render state the caller prepared.
    void Draw();
    void Destroy();

    bool IsCreated() const { return created != 0; }
    unsigned int GetTriangleCount() const { return triangleCount; }

private:
    void Init_DX9();
    bool Create_DX9(int type, EngTexture *texture, unsigned int triangleCount);
    void SetColour_DX9(unsigned int index, float r, float g, float b, float a);
    void Draw_DX9();
    void Destroy_DX9();
    // The buffer locked whole; NULL (nothing locked) on failure.
    uint8_t *Lock(const char *function);
    void Unlock();

    uint8_t created;
    int32_t type;
    EngTexture *texture; // not owned
    uint32_t triangleCount;
    int32_t stride;
    PlatD3dVertexBuffer *buffer;
    uint32_t fvf;
};
