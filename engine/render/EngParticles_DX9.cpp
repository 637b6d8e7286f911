// Particle systems, DX9 part: the one four-vertex buffer every particle is drawn
// through, a textured square per living particle facing along the z axis.
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngDeviceDX9.h"
#include "EngParticles.h"
#include "EngTexture.h"
#include "EngUtilsDX9.h"

namespace
{
struct Vertex
{
    float x, y, z;
    uint32_t colour;
    float tu, tv;
};
static_assert(sizeof(Vertex) == 24, "vertex layout XYZ | DIFFUSE | TEX1");

constexpr uint32_t kFvf = PLAT_FVF_XYZ | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1;

} // namespace

bool EngParticles::CreateGraphics()
{
    if (maxParticles < 1)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9)
        return true;
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!device)
        return false;
    if (vertexBuffer)
    {
        DebugError(ENG_FUNC, "buffer already exists.");
        DestroyGraphics();
    }
    PlatResult result = PlatD3dDeviceCreateVertexBuffer(device, 4 * sizeof(Vertex), PLAT_USAGE_WRITEONLY, kFvf,
                                                        PLAT_POOL_MANAGED, &vertexBuffer);
    if (!EngUtilsDX9_CheckResult("EngParticles::CreateGraphics", "CreateVertexBuffer", result))
    {
        vertexBuffer = nullptr;
        return false;
    }
    return true;
}

void EngParticles::DestroyGraphics()
{
    if (vertexBuffer)
        PlatD3dVertexBufferRelease(vertexBuffer);
    vertexBuffer = nullptr;
}

void EngParticles::Render_DX9()
{
    if (!vertexBuffer)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!device)
        return;
    if (parms.texture)
        parms.texture->SetDeviceTexture();
    for (int i = 0; i < maxParticles; i++)
    {
        _EngParticle &p = particles[i];
        p.colour[3] = p.fadeIn ? p.fadeInElapsed : p.alpha;
        if (p.age <= -1.0f)
            continue;
        void *data = nullptr;
        if (!EngUtilsDX9_CheckResult("EngParticleSystemRender", "Lock", PlatD3dVertexBufferLock(vertexBuffer, 0, 0, &data, 0)))
            continue;
        const float h = p.size * 0.5f;
        const _Vector3d &c = p.position;
        // Top-left, top-right, bottom-left, bottom-right.
        _Vector3d corners[4] = {{c.x - h, c.y + h, c.z}, {c.x + h, c.y + h, c.z}, {c.x - h, c.y - h, c.z},
                                {c.x + h, c.y - h, c.z}};
        const float coordinates[4][2] = {{1, 0}, {0, 0}, {1, 1}, {0, 1}};
        float a = p.colour[3], r = 1.0f, g = 1.0f, b = 1.0f;
        if (parms.blendKind == 1)
            r = p.colour[0] * a, g = p.colour[1] * a, b = p.colour[2] * a;
        else if (parms.colourFlag)
            r = p.colour[0], g = p.colour[1], b = p.colour[2];
        uint32_t argb = EngUtilsDX9_ColourToArgb(r, g, b, a);
        if (parms.spinRange.on)
            for (_Vector3d &corner : corners)
            {
                _Vector3d offset = {corner.x - c.x, corner.y - c.y, corner.z - c.z};
                offset = EngParticlesTurn(offset, p.spin.x * p.age, p.spin.y * p.age, p.spin.z * p.age);
                corner = {c.x + offset.x, c.y + offset.y, c.z + offset.z};
            }
        // Strip order: with the depth test kept the corners go row by row, else column
        // by column (the other winding).
        const int order[2][4] = {{0, 2, 1, 3}, {0, 1, 2, 3}};
        const int *strip = order[parms.keepDepth ? 1 : 0];
        Vertex *vertices = (Vertex *)data;
        for (int v = 0; v < 4; v++)
        {
            int k = strip[v];
            vertices[v] = {corners[k].x, corners[k].y, corners[k].z, argb, coordinates[k][0], coordinates[k][1]};
        }
        PlatD3dVertexBufferUnlock(vertexBuffer);
        EngUtilsDX9_CheckResult("EngParticleSystemRender", "SetFVF", PlatD3dDeviceSetFVF(device, kFvf));
        EngUtilsDX9_CheckResult("EngParticleSystemRender", "SetStreamSource",
                                PlatD3dDeviceSetStreamSource(device, 0, vertexBuffer, 0, sizeof(Vertex)));
        EngUtilsDX9_CheckResult("EngParticleSystemRender", "DrawPrimitive",
                                PlatD3dDeviceDrawPrimitive(device, PLAT_PT_TRIANGLESTRIP, 0, 2));
    }
    if (parms.texture)
        PlatD3dDeviceSetTexture(device, 0, nullptr);
}
