// Helpers around the device: matrices (row vectors, translation in the fourth row) and
// textures made from image files (decoded in PlatD3dxImage.cpp) or empty.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PlatD3dInternal.h"

bool PlatD3dxCheckVersion(uint32_t sdkVersion, uint32_t helperVersion)
{
    return (sdkVersion == PLAT_D3D_SDK_VERSION || sdkVersion == PLAT_D3D_SDK_VERSION_OLD) && helperVersion == 23;
}

PlatMatrix *PlatD3dxMatrixIdentity(PlatMatrix *out)
{
    if (!out)
        return nullptr;
    memset(out->m, 0, sizeof(out->m));
    out->m[0] = out->m[5] = out->m[10] = out->m[15] = 1.0f;
    return out;
}

PlatMatrix *PlatD3dxMatrixMultiply(PlatMatrix *out, const PlatMatrix *a, const PlatMatrix *b)
{
    if (!out || !a || !b)
        return nullptr;
    PlatMatrix result;
    for (int row = 0; row < 4; row++)
        for (int col = 0; col < 4; col++)
        {
            float sum = 0.0f;
            for (int k = 0; k < 4; k++)
                sum += a->m[row * 4 + k] * b->m[k * 4 + col];
            result.m[row * 4 + col] = sum;
        }
    *out = result;
    return out;
}

PlatMatrix *PlatD3dxMatrixTranslation(PlatMatrix *out, float x, float y, float z)
{
    if (!PlatD3dxMatrixIdentity(out))
        return nullptr;
    out->m[12] = x;
    out->m[13] = y;
    out->m[14] = z;
    return out;
}

PlatMatrix *PlatD3dxMatrixScaling(PlatMatrix *out, float x, float y, float z)
{
    if (!PlatD3dxMatrixIdentity(out))
        return nullptr;
    out->m[0] = x;
    out->m[5] = y;
    out->m[10] = z;
    return out;
}

PlatMatrix *PlatD3dxMatrixRotationX(PlatMatrix *out, float angle)
{
    if (!PlatD3dxMatrixIdentity(out))
        return nullptr;
    float c = cosf(angle), s = sinf(angle);
    out->m[5] = c;
    out->m[6] = s;
    out->m[9] = -s;
    out->m[10] = c;
    return out;
}

PlatMatrix *PlatD3dxMatrixRotationY(PlatMatrix *out, float angle)
{
    if (!PlatD3dxMatrixIdentity(out))
        return nullptr;
    float c = cosf(angle), s = sinf(angle);
    out->m[0] = c;
    out->m[2] = -s;
    out->m[8] = s;
    out->m[10] = c;
    return out;
}

PlatMatrix *PlatD3dxMatrixRotationZ(PlatMatrix *out, float angle)
{
    if (!PlatD3dxMatrixIdentity(out))
        return nullptr;
    float c = cosf(angle), s = sinf(angle);
    out->m[0] = c;
    out->m[1] = s;
    out->m[4] = -s;
    out->m[5] = c;
    return out;
}

PlatMatrix *PlatD3dxMatrixPerspectiveFovRH(PlatMatrix *out, float fovY, float aspect, float zNear, float zFar)
{
    // Inputs that would give infinities or NaN make no matrix.
    float half = fovY * 0.5f;
    if (!out || !(aspect > 0.0f) || !(zNear > 0.0f) || !(zFar > zNear) || !(half > 0.0f) || !(half < 1.5707963f))
        return nullptr;
    float yScale = 1.0f / tanf(half);
    memset(out->m, 0, sizeof(out->m));
    out->m[0] = yScale / aspect;
    out->m[5] = yScale;
    out->m[10] = zFar / (zNear - zFar);
    out->m[11] = -1.0f;
    out->m[14] = zNear * zFar / (zNear - zFar);
    return out;
}

static bool Normalise(PlatVector3 *v)
{
    float length = sqrtf(v->x * v->x + v->y * v->y + v->z * v->z);
    if (!(length > 1e-12f) || !std::isfinite(length))
        return false;
    v->x /= length;
    v->y /= length;
    v->z /= length;
    return true;
}

static PlatVector3 Cross(const PlatVector3 &a, const PlatVector3 &b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

static float Dot(const PlatVector3 &a, const PlatVector3 &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

PlatMatrix *PlatD3dxMatrixLookAtRH(PlatMatrix *out, const PlatVector3 *eye, const PlatVector3 *at,
                                   const PlatVector3 *up)
{
    if (!out || !eye || !at || !up)
        return nullptr;
    PlatVector3 zAxis = {eye->x - at->x, eye->y - at->y, eye->z - at->z};
    if (!Normalise(&zAxis))
        return nullptr;
    PlatVector3 xAxis = Cross(*up, zAxis);
    if (!Normalise(&xAxis))
        return nullptr;
    PlatVector3 yAxis = Cross(zAxis, xAxis);
    float *m = out->m;
    m[0] = xAxis.x, m[1] = yAxis.x, m[2] = zAxis.x, m[3] = 0.0f;
    m[4] = xAxis.y, m[5] = yAxis.y, m[6] = zAxis.y, m[7] = 0.0f;
    m[8] = xAxis.z, m[9] = yAxis.z, m[10] = zAxis.z, m[11] = 0.0f;
    m[12] = -Dot(xAxis, *eye), m[13] = -Dot(yAxis, *eye), m[14] = -Dot(zAxis, *eye), m[15] = 1.0f;
    return out;
}

PlatMatrix *PlatD3dxMatrixOrthoOffCenterLH(PlatMatrix *out, float left, float right, float bottom, float top,
                                           float zNear, float zFar)
{
    if (!out || right == left || top == bottom || zFar == zNear)
        return nullptr;
    memset(out->m, 0, sizeof(out->m));
    out->m[0] = 2.0f / (right - left);
    out->m[5] = 2.0f / (top - bottom);
    out->m[10] = 1.0f / (zFar - zNear);
    out->m[12] = (left + right) / (left - right);
    out->m[13] = (top + bottom) / (bottom - top);
    out->m[14] = zNear / (zNear - zFar);
    out->m[15] = 1.0f;
    return out;
}

PlatResult PlatD3dxCreateTexture(PlatD3dDevice *device, uint32_t width, uint32_t height, uint32_t mipLevels,
                                 uint32_t usage, PlatD3dFormat format, PlatD3dPool pool, PlatD3dTexture **out)
{
    if (mipLevels == 0 || mipLevels == PLAT_D3DX_DEFAULT)
        mipLevels = 1;
    return PlatD3dDeviceCreateTexture(device, width, height, mipLevels, usage, format, pool, out);
}

void PlatD3dxImagePath(const char *file, char *path, size_t size)
{
    snprintf(path, size, "%s", file);
    for (char *p = path; *p; p++)
        if (*p == '\\')
            *p = '/';
}

PlatResult PlatD3dxCreateTextureFromFile(PlatD3dDevice *device, const char *file, uint32_t width, uint32_t height,
                                         uint32_t mipLevels, uint32_t usage, PlatD3dFormat format, PlatD3dPool pool,
                                         uint32_t filter, uint32_t mipFilter, uint32_t colourKey,
                                         PlatD3dTexture **out)
{
    if (out)
        *out = nullptr;
    if (!device || !file || !file[0] || !out)
        return PLAT_D3DERR_INVALIDCALL;
    if (format != PLAT_FMT_A8R8G8B8 && format != PLAT_FMT_X8R8G8B8)
        return PLAT_D3DERR_WRONGTEXTUREFORMAT;
    char path[1024];
    PlatD3dxImagePath(file, path, sizeof(path));
    int32_t imageWidth = 0, imageHeight = 0;
    uint8_t *rgba = PlatD3dxLoadImageFile(file, &imageWidth, &imageHeight);
    if (!rgba)
    {
        FILE *probe = fopen(path, "rb");
        if (!probe)
            return PLAT_D3DERR_NOTFOUND;
        fclose(probe);
        return PLAT_D3DXERR_INVALIDDATA;
    }
    uint32_t w = width == 0 || width == PLAT_D3DX_DEFAULT ? (uint32_t)imageWidth : width;
    uint32_t h = height == 0 || height == PLAT_D3DX_DEFAULT ? (uint32_t)imageHeight : height;
    PlatD3dTexture *texture = nullptr;
    PlatResult result = PlatD3dxCreateTexture(device, w, h, mipLevels, usage, format, pool, &texture);
    if (result != PLAT_D3D_OK)
    {
        PlatD3dxFreeImage(rgba);
        return result;
    }
    PlatD3dLockedRect locked;
    result = PlatD3dTextureLockRect(texture, 0, &locked, nullptr, 0);
    if (result != PLAT_D3D_OK)
    {
        PlatD3dxFreeImage(rgba);
        PlatD3dTextureRelease(texture);
        return result;
    }
    bool opaque = format == PLAT_FMT_X8R8G8B8;
    for (uint32_t y = 0; y < h; y++)
    {
        uint8_t *row = (uint8_t *)locked.bits + (size_t)y * locked.pitch;
        // A size other than the picture's takes the nearest picture pixel.
        uint32_t sy = (uint32_t)((uint64_t)y * imageHeight / h);
        for (uint32_t x = 0; x < w; x++)
        {
            uint32_t sx = (uint32_t)((uint64_t)x * imageWidth / w);
            const unsigned char *source = rgba + ((size_t)sy * imageWidth + sx) * 4;
            uint8_t *target = row + (size_t)x * 4;
            uint32_t argb = ((uint32_t)source[3] << 24) | ((uint32_t)source[0] << 16) | ((uint32_t)source[1] << 8) |
                            source[2];
            bool keyed = colourKey != 0 && (argb | 0xFF000000u) == (colourKey | 0xFF000000u);
            target[0] = keyed ? 0 : source[2];
            target[1] = keyed ? 0 : source[1];
            target[2] = keyed ? 0 : source[0];
            target[3] = keyed ? 0 : (opaque ? 255 : source[3]);
        }
    }
    PlatD3dxFreeImage(rgba);
    PlatD3dTextureUnlockRect(texture, 0);
    *out = texture;
    return PLAT_D3D_OK;
}
