// The four-vertex quad over a device vertex buffer. Corner order in the buffer (a
// strip): 0 bottom-left, 1 top-left, 2 bottom-right, 3 top-right.
#include "EngVertexBufferDX9.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDeviceDX9.h"
#include "EngMemory.h"
#include "EngUtilsDX9.h"
#include "EngGlobals.h"

namespace
{
struct Layout
{
    int32_t stride;
    uint32_t fvf;
    int normal;   // byte offsets; -1 when the layout has none
    int colour;
    int specular;
    int texture;
    bool is2D;
    const char *lockName;
};

const Layout kLayouts[10] = {
    {0, 0, -1, -1, -1, -1, false, ""},
    {20, PLAT_FVF_XYZ | PLAT_FVF_TEX1, -1, -1, -1, 12, false, "Lock[EVBT_POS_TEX]"},
    {32, PLAT_FVF_XYZ | PLAT_FVF_NORMAL | PLAT_FVF_TEX1, 12, -1, -1, 24, false, "Lock[EVBT_POS_NORM_TEX]"},
    {24, PLAT_FVF_XYZ | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1, -1, 12, -1, 16, false, "Lock[EVBT_POS_COL_TEX]"},
    {36, PLAT_FVF_XYZ | PLAT_FVF_NORMAL | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1, 12, 24, -1, 28, false,
     "Lock[EVBT_POS_NORM_COL_TEX]"},
    {40, PLAT_FVF_XYZ | PLAT_FVF_NORMAL | PLAT_FVF_DIFFUSE | PLAT_FVF_SPECULAR | PLAT_FVF_TEX1, 12, 24, 28, 32, false,
     "Lock[EVBT_POS_NORM_COL_SPEC_TEX]"},
    {16, PLAT_FVF_XYZ | PLAT_FVF_DIFFUSE, -1, 12, -1, -1, false, "Lock[EVBT_POS_COL]"},
    {24, PLAT_FVF_XYZRHW | PLAT_FVF_TEX1, -1, -1, -1, 16, true, "Lock[EVBT_POS_TEX_2D]"},
    {28, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE | PLAT_FVF_TEX1, -1, 16, -1, 20, true, "Lock[EVBT_POS_COL_TEX_2D]"},
    {20, PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE, -1, 16, -1, -1, true, "Lock[EVBT_POS_COL_2D]"},
};

void PutFloats(uint8_t *vertex, int offset, const float *values, int count)
{
    memcpy(vertex + offset, values, sizeof(float) * (size_t)count);
}

} // namespace

EngVertexBufferDX9::EngVertexBufferDX9(const char *givenId)
    : type(EVBT_NONE), id(nullptr), buffer(nullptr), texture(nullptr), ownDxTexture(nullptr), stride(0), fvf(0), created(0)
{
    if (givenId)
        id = EngMallocStringFromString(givenId, true, ENG_FUNC);
    ForgetKeptValues();
}

EngVertexBufferDX9::~EngVertexBufferDX9()
{
    Release();
    EngFree(id, false, ENG_FUNC);
}

void EngVertexBufferDX9::ForgetKeptValues()
{
    keptRect = {-1.0f, -1.0f, -1.0f, -1.0f};
    keptTu1 = keptTv1 = keptTu2 = keptTv2 = -1.0f;
    keptR = keptG = keptB = keptA = -1.0f;
    kept3dA = {-1.0f, -1.0f, -1.0f};
    kept3dB = {-1.0f, -1.0f, -1.0f};
    keptOrientation = -1;
    keptNx = keptNy = keptNz = -1.0f;
}

void EngVertexBufferDX9::SetID(const char *newId)
{
    EngFree(id, false, ENG_FUNC);
    id = nullptr;
    if (newId && newId[0])
        id = EngMallocStringFromString(newId, true, ENG_FUNC);
}

void EngVertexBufferDX9::GetKeptTextureCoordinates(float *tu1, float *tv1, float *tu2, float *tv2) const
{
    if (tu1)
        *tu1 = keptTu1;
    if (tv1)
        *tv1 = keptTv1;
    if (tu2)
        *tu2 = keptTu2;
    if (tv2)
        *tv2 = keptTv2;
}

bool EngVertexBufferDX9::Create(_EngVertexBufferType newType, EngTexture *newTexture)
{
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!device)
        return false;
    if (created)
        DebugError(ENG_FUNC, "Warning - Already created");
    Release();
    if (newType < EVBT_POS_TEX || newType > EVBT_POS_COL_2D)
    {
        DebugError(ENG_FUNC, "Invalid Type: %d", (int)newType);
        return false;
    }
    const Layout &layout = kLayouts[newType];
    PlatResult result = PlatD3dDeviceCreateVertexBuffer(device, 4 * (uint32_t)layout.stride, PLAT_USAGE_WRITEONLY,
                                                        layout.fvf, PLAT_POOL_MANAGED, &buffer);
    if (!EngUtilsDX9_CheckResult("EngVertexBufferDX9::Create", "CreateVertexBuffer", result))
    {
        buffer = nullptr;
        return false;
    }
    type = newType;
    stride = layout.stride;
    fvf = layout.fvf;
    created = 1;
    SetTextureCoordinates(0.0f, 0.0f, 1.0f, 1.0f);
    if (layout.colour >= 0)
        SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    if (layout.normal >= 0)
        SetNormal(0.0f, 0.0f, -1.0f);
    texture = newTexture;
    if (texture && !EngTextureDX9_GetD3dTexture(texture))
        DebugError(ENG_FUNC, "Could not get dx texture.");
    return true;
}

void EngVertexBufferDX9::Release()
{
    // A buffer outlives its device's release (it holds a reference), so it is always
    // safe to let go.
    if (buffer)
        PlatD3dVertexBufferRelease(buffer);
    created = 0;
    type = EVBT_NONE;
    buffer = nullptr;
    texture = nullptr;
    ownDxTexture = nullptr;
    ForgetKeptValues();
}

bool EngVertexBufferDX9::Lock(uint8_t **data, const char *owner, const char *operation)
{
    void *pointer = nullptr;
    PlatResult result = PlatD3dVertexBufferLock(buffer, 0, 0, &pointer, 0);
    if (!EngUtilsDX9_CheckResult(owner, operation, result))
        return false;
    *data = (uint8_t *)pointer;
    return true;
}

void EngVertexBufferDX9::Unlock()
{
    PlatD3dVertexBufferUnlock(buffer);
}

void EngVertexBufferDX9::SetPositions(float x, float y, float w, float h)
{
    if (!created || !buffer)
        return;
    if (keptOrientation == -1 && keptRect.x == x && keptRect.y == y && keptRect.w == w && keptRect.h == h)
        return;
    const Layout &layout = kLayouts[type];
    uint8_t *data = nullptr;
    if (!Lock(&data, "EngVertexBufferDX9::SetPositions", layout.lockName))
        return;
    if (layout.is2D)
    {
        const float corners[4][4] = {{x - 0.5f, y + h + 0.5f, 0.0f, 1.0f},
                                     {x - 0.5f, y - 0.5f, 0.0f, 1.0f},
                                     {x + w + 0.5f, y + h + 0.5f, 0.0f, 1.0f},
                                     {x + w + 0.5f, y - 0.5f, 0.0f, 1.0f}};
        for (int i = 0; i < 4; i++)
            PutFloats(data + i * stride, 0, corners[i], 4);
    }
    else
    {
        const float corners[4][3] = {
            {x, -(y + h), 0.0f}, {x, -y, 0.0f}, {x + w, -(y + h), 0.0f}, {x + w, -y, 0.0f}};
        for (int i = 0; i < 4; i++)
            PutFloats(data + i * stride, 0, corners[i], 3);
    }
    Unlock();
    keptRect = {x, y, w, h};
    keptOrientation = -1;
}

void EngVertexBufferDX9::SetPositionsFromDimension(const _Dimension *rectangle)
{
    if (rectangle)
        SetPositions(rectangle->x, rectangle->y, rectangle->w, rectangle->h);
}

void EngVertexBufferDX9::SetPositionsScaled(float x, float y, float w, float h)
{
    float sx = EngScreenSettings.scaleToScreenX, sy = EngScreenSettings.scaleToScreenY;
    SetPositions(x * sx, y * sy, w * sx, h * sy);
}

void EngVertexBufferDX9::SetPositions3dVec3(char orientation, const _Vector3d *a, const _Vector3d *b)
{
    if (!created || !a || !b)
        return;
    if (keptOrientation == orientation && memcmp(&kept3dA, a, sizeof(*a)) == 0 && memcmp(&kept3dB, b, sizeof(*b)) == 0)
        return;
    const Layout &layout = kLayouts[type];
    if (layout.is2D)
    {
        DebugError(ENG_FUNC, "Not supported for 2D Textures (%d) (could be upgraded if needed)", (int)type - 6);
    }
    else if (orientation >= 0 && orientation <= 2 && buffer)
    {
        float corners[4][3];
        if (orientation == 0)
        {
            const float c[4][3] = {{b->x, a->y, a->z}, {b->x, b->y, a->z}, {a->x, a->y, a->z}, {a->x, b->y, a->z}};
            memcpy(corners, c, sizeof(corners));
        }
        else if (orientation == 1)
        {
            const float c[4][3] = {{b->x, a->y, a->z}, {b->x, a->y, b->z}, {a->x, a->y, a->z}, {a->x, a->y, b->z}};
            memcpy(corners, c, sizeof(corners));
        }
        else
        {
            const float c[4][3] = {{a->x, b->y, a->z}, {a->x, b->y, b->z}, {a->x, a->y, a->z}, {a->x, a->y, b->z}};
            memcpy(corners, c, sizeof(corners));
        }
        uint8_t *data = nullptr;
        if (Lock(&data, "EngVertexBufferDX9::SetPositions3dVec3", layout.lockName))
        {
            for (int i = 0; i < 4; i++)
                PutFloats(data + i * stride, 0, corners[i], 3);
            Unlock();
        }
    }
    kept3dA = *a;
    kept3dB = *b;
    keptOrientation = (int8_t)orientation;
}

void EngVertexBufferDX9::SetTextureCoordinates(float tu1, float tv1, float tu2, float tv2)
{
    if (!created || !buffer)
        return;
    if (keptTu1 == tu1 && keptTv1 == tv1 && keptTu2 == tu2 && keptTv2 == tv2)
        return;
    const Layout &layout = kLayouts[type];
    if (layout.texture < 0)
        return;
    uint8_t *data = nullptr;
    if (!Lock(&data, "EngVertexBufferDX9::SetTextureCoordinates", layout.lockName))
        return;
    const float coordinates[4][2] = {{tu1, tv2}, {tu1, tv1}, {tu2, tv2}, {tu2, tv1}};
    for (int i = 0; i < 4; i++)
        PutFloats(data + i * stride, layout.texture, coordinates[i], 2);
    Unlock();
    keptTu1 = tu1;
    keptTv1 = tv1;
    keptTu2 = tu2;
    keptTv2 = tv2;
}

void EngVertexBufferDX9::SetDefaultTextureCoordinates()
{
    SetTextureCoordinates(0.0f, 0.0f, 1.0f, 1.0f);
}

void EngVertexBufferDX9::SetColour(float r, float g, float b, float a)
{
    if (!created)
        return;
    bool keepColour = r < 0.0f || g < 0.0f || b < 0.0f;
    if (keepColour)
    {
        r = keptR < 0.0f ? 1.0f : keptR;
        g = keptG < 0.0f ? 1.0f : keptG;
        b = keptB < 0.0f ? 1.0f : keptB;
    }
    const Layout &layout = kLayouts[type];
    if (layout.colour >= 0 && buffer)
    {
        uint32_t argb = EngUtilsDX9_ColourToArgb(r, g, b, a);
        uint8_t *data = nullptr;
        if (Lock(&data, "EngVertexBufferDX9::SetColour", layout.lockName))
        {
            for (int i = 0; i < 4; i++)
                memcpy(data + i * stride + layout.colour, &argb, sizeof(argb));
            Unlock();
        }
    }
    if (!keepColour)
    {
        keptR = r;
        keptG = g;
        keptB = b;
    }
    keptA = a;
}

void EngVertexBufferDX9::SetNormal(float nx, float ny, float nz)
{
    if (!created || !buffer)
        return;
    if (keptNx == nx && keptNy == ny && keptNz == nz)
        return;
    const Layout &layout = kLayouts[type];
    if (layout.normal < 0)
        return;
    uint8_t *data = nullptr;
    if (!Lock(&data, "EngVertexBufferDX9::SetNormal", layout.lockName))
        return;
    const float normal[3] = {nx, ny, nz};
    for (int i = 0; i < 4; i++)
        PutFloats(data + i * stride, layout.normal, normal, 3);
    Unlock();
    keptNx = nx;
    keptNy = ny;
    keptNz = nz;
}

void EngVertexBufferDX9::Draw()
{
    PlatD3dDevice *device = EngDeviceDX9GetD3dDevice();
    if (!created || !buffer || !device)
        return;
    if (type == EVBT_NONE)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    PlatD3dTexture *deviceTexture = texture ? EngTextureDX9_GetD3dTexture(texture) : ownDxTexture;
    if (deviceTexture)
        PlatD3dDeviceSetTexture(device, 0, deviceTexture);
    PlatD3dDeviceSetFVF(device, fvf);
    PlatD3dDeviceSetStreamSource(device, 0, buffer, 0, (uint32_t)stride);
    PlatD3dDeviceDrawPrimitive(device, PLAT_PT_TRIANGLESTRIP, 0, 2);
    if (deviceTexture)
        PlatD3dDeviceSetTexture(device, 0, nullptr);
}
