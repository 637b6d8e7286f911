// Triangle lists, DX9 part: one managed vertex buffer of three vertices per triangle.
#include <cstring>

#include "EngDebug.h"
#include "EngDeviceDX9.h"
#include "EngTextureDX9.h"
#include "EngTriangleList.h"
#include "EngUtilsDX9.h"

namespace
{
struct Layout
{
    int32_t stride;
    uint32_t fvf;
    int colour;  // byte offsets, -1 when the layout has none
    int texture;
};

// By type 2-7.
const Layout kLayouts[6] = {
    {20, PLAT_FVF_XYZ | PLAT_FVF_TEX1, -1, 12},
    {32, PLAT_FVF_XYZ | PLAT_FVF_NORMAL | PLAT_FVF_TEX1, -1, 24},
    {28, PLAT_FVF_XYZ | PLAT_FVF_NORMAL | PLAT_FVF_DIFFUSE, 24, -1},
    {24, PLAT_FVF_XYZ | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1, 12, 16},
    {36, PLAT_FVF_XYZ | PLAT_FVF_NORMAL | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1, 24, 28},
    {16, PLAT_FVF_XYZ | PLAT_FVF_DIFFUSE, 12, -1},
};

// The largest list whose byte size (3 vertices of the widest layout per triangle)
// still fits the device's 32-bit sizes with room to spare.
constexpr uint32_t kMaxTriangles = 0x7FFFFFFFu / (3u * 36u);

const Layout &LayoutOf(int type)
{
    return kLayouts[type - 2];
}

} // namespace

void EngTriangleList::Init_DX9()
{
    buffer = nullptr;
    texture = nullptr;
}

uint8_t *EngTriangleList::Lock(const char *function)
{
    void *data = nullptr;
    if (!EngUtilsDX9_CheckResult(function, "Lock", PlatD3dVertexBufferLock(buffer, 0, 0, &data, 0)))
        return nullptr;
    return (uint8_t *)data;
}

void EngTriangleList::Unlock()
{
    PlatD3dVertexBufferUnlock(buffer);
}

bool EngTriangleList::Create_DX9(int newType, EngTexture *newTexture, unsigned int count)
{
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!device)
        return false;
    if (created)
        DebugError(ENG_FUNC, "Warning - Already created");
    if (count == 0 || count > kMaxTriangles)
    {
        DebugError(ENG_FUNC, "Invalid num triangles");
        return false;
    }
    Destroy_DX9();
    if (newType < ENG_TRIANGLES_TEX || newType > ENG_TRIANGLES_COL)
    {
        DebugError(ENG_FUNC, "Invalid Type: %d", newType);
        return false;
    }
    const Layout &layout = LayoutOf(newType);
    type = newType;
    stride = layout.stride;
    fvf = layout.fvf;
    PlatResult result = PlatD3dDeviceCreateVertexBuffer(device, (uint32_t)stride * count * 3u, PLAT_USAGE_WRITEONLY,
                                                        fvf, PLAT_POOL_MANAGED, &buffer);
    if (!EngUtilsDX9_CheckResult("EngTriangleList::Create_DX9", "CreateVertexBuffer", result))
    {
        buffer = nullptr;
        return false;
    }
    triangleCount = count;
    created = 1;
    uint8_t *data = Lock(ENG_FUNC);
    if (data)
    {
        memset(data, 0, (size_t)stride * count * 3u);
        const float corners[3][2] = {{0.0f, 0.0f}, {0.5f, 1.0f}, {1.0f, 0.0f}};
        const uint32_t white = 0xFFFFFFFFu;
        for (uint32_t vertex = 0; vertex < count * 3u; vertex++)
        {
            uint8_t *target = data + (size_t)vertex * stride;
            if (layout.texture >= 0)
                memcpy(target + layout.texture, corners[vertex % 3], sizeof(corners[0]));
            if (layout.colour >= 0)
                memcpy(target + layout.colour, &white, sizeof(white));
        }
        Unlock();
    }
    texture = newTexture;
    return true;
}

void EngTriangleList::SetPositionsP_DX9(unsigned int index, const _Vector3d *p1, const _Vector3d *p2,
                                        const _Vector3d *p3)
{
    if (!created || !buffer || !p1 || !p2 || !p3)
        return;
    if (index >= triangleCount)
    {
        DebugError(ENG_FUNC, "Invalid Triangle %u (num=%u)", index, triangleCount);
        return;
    }
    uint8_t *data = Lock(ENG_FUNC);
    if (!data)
        return;
    const _Vector3d *corners[3] = {p1, p2, p3};
    for (int i = 0; i < 3; i++)
        memcpy(data + ((size_t)index * 3 + i) * stride, corners[i], sizeof(_Vector3d));
    Unlock();
}

void EngTriangleList::SetTextureCoordinates_DX9(unsigned int index, float u1, float v1, float u2, float v2, float u3,
                                                float v3)
{
    if (!created || !buffer)
        return;
    if (index >= triangleCount)
    {
        DebugError(ENG_FUNC, "Invalid Triangle %u (num=%u)", index, triangleCount);
        return;
    }
    const Layout &layout = LayoutOf(type);
    if (layout.texture < 0)
        return;
    uint8_t *data = Lock(ENG_FUNC);
    if (!data)
        return;
    const float corners[3][2] = {{u1, v1}, {u2, v2}, {u3, v3}};
    for (int i = 0; i < 3; i++)
        memcpy(data + ((size_t)index * 3 + i) * stride + layout.texture, corners[i], sizeof(corners[0]));
    Unlock();
}

void EngTriangleList::SetColour_DX9(unsigned int index, float r, float g, float b, float a)
{
    if (!created || !buffer)
        return;
    if (index >= triangleCount)
    {
        DebugError(ENG_FUNC, "Invalid Triangle %u (num=%u)", index, triangleCount);
        return;
    }
    if (r < 0.0f || g < 0.0f || b < 0.0f || a < 0.0f)
    {
        DebugError(ENG_FUNC, "Invalid values");
        return;
    }
    const Layout &layout = LayoutOf(type);
    if (layout.colour < 0)
        return;
    uint32_t argb = EngUtilsDX9_ColourToArgb(r, g, b, a);
    uint8_t *data = Lock(ENG_FUNC);
    if (!data)
        return;
    for (int i = 0; i < 3; i++)
        memcpy(data + ((size_t)index * 3 + i) * stride + layout.colour, &argb, sizeof(argb));
    Unlock();
}

void EngTriangleList::Draw_DX9()
{
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!created || !buffer || !device)
        return;
    // Looked up now: the texture may have been loaded again since the list was made.
    PlatD3dTexture *deviceTexture = EngTextureDX9_GetD3dTexture(texture);
    if (deviceTexture)
        PlatD3dDeviceSetTexture(device, 0, deviceTexture);
    PlatD3dDeviceSetFVF(device, fvf);
    PlatD3dDeviceSetStreamSource(device, 0, buffer, 0, (uint32_t)stride);
    PlatD3dDeviceDrawPrimitive(device, PLAT_PT_TRIANGLELIST, 0, triangleCount);
    if (deviceTexture)
        PlatD3dDeviceSetTexture(device, 0, nullptr);
}

void EngTriangleList::Destroy_DX9()
{
    if (buffer)
        PlatD3dVertexBufferRelease(buffer);
    buffer = nullptr;
    created = 0;
}
