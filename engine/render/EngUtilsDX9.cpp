// DX9 helpers: format table, device object for the mode list, result checker.
#include "EngUtilsDX9.h"

#include <cstdio>

#include "EngDebug.h"
#include "EngDeviceDX9.h"

const _EngFormatInfo eng_dx9_formats[ENG_DX9_FORMAT_COUNT] = {
    {PLAT_FMT_X8R8G8B8, 32, 0}, {PLAT_FMT_A8R8G8B8, 32, 1}, {PLAT_FMT_R5G6B5, 16, 0}, {PLAT_FMT_X1R5G5B5, 16, 0},
    {PLAT_FMT_A1R5G5B5, 16, 1}, {PLAT_FMT_X4R4G4B4, 16, 0}, {PLAT_FMT_A4R4G4B4, 16, 1}, {PLAT_FMT_R8G8B8, 24, 0},
};

namespace
{
struct
{
    bool called;
    PlatD3d *d3d;
} s_utils = {false, nullptr};

struct ResultText
{
    PlatResult result;
    const char *text;
};

const ResultText kResultTexts[] = {
    {PLAT_D3DERR_WRONGTEXTUREFORMAT, "The pixel format of the texture surface is not valid."},
    {PLAT_D3DERR_UNSUPPORTEDCOLOROPERATION,
     "The device does not support a specified texture-blending operation for color values."},
    {PLAT_D3DERR_UNSUPPORTEDCOLORARG,
     "The device does not support a specified texture-blending argument for color values."},
    {PLAT_D3DERR_UNSUPPORTEDALPHAOPERATION,
     "The device does not support a specified texture-blending operation for the alpha channel."},
    {PLAT_D3DERR_UNSUPPORTEDALPHAARG,
     "The device does not support a specified texture-blending argument for the alpha channel."},
    {PLAT_D3DERR_TOOMANYOPERATIONS,
     "The application is requesting more texture-filtering operations than the device supports."},
    {PLAT_D3DERR_CONFLICTINGTEXTUREFILTER, "The current texture filters cannot be used together."},
    {PLAT_D3DERR_UNSUPPORTEDFACTORVALUE,
     "The device does not support the specified texture factor value. Not used; provided only to support older "
     "drivers."},
    {PLAT_D3DERR_CONFLICTINGRENDERSTATE, "The currently set render states cannot be used together."},
    {PLAT_D3DERR_UNSUPPORTEDTEXTUREFILTER, "The device does not support the specified texture filter."},
    {PLAT_D3DERR_CONFLICTINGTEXTUREPALETTE, "The current textures cannot be used simultaneously."},
    {PLAT_D3DERR_DRIVERINTERNALERROR,
     "Internal driver error. Applications should destroy and recreate the device when receiving this error."},
    {PLAT_D3DERR_NOTFOUND, "The requested item was not found."},
    {PLAT_D3DERR_MOREDATA, "There is more data available than the specified buffer size can hold."},
    {PLAT_D3DERR_DEVICELOST,
     "The device has been lost but cannot be reset at this time. Therefore, rendering is not possible."},
    {PLAT_D3DERR_DEVICENOTRESET, "The device has been lost but can be reset at this time."},
    {PLAT_D3DERR_NOTAVAILABLE, "This device does not support the queried technique."},
    {PLAT_D3DERR_INVALIDDEVICE, "The requested device type is not valid."},
    {PLAT_D3DERR_INVALIDCALL, "The method call is invalid."},
    {PLAT_D3DERR_DRIVERINVALIDCALL, "Not used."},
    {PLAT_D3DERR_OUTOFVIDEOMEMORY, "Direct3D does not have enough display memory to perform the operation."},
    {PLAT_D3DERR_WASSTILLDRAWING,
     "The previous blit operation that is transferring information to or from this surface is incomplete."},
    {PLAT_D3DOK_NOAUTOGEN,
     "This is a success code. However, the autogeneration of mipmaps is not supported for this format..."},
    {PLAT_D3DXERR_CANNOTMODIFYINDEXBUFFER, "The index buffer cannot be modified."},
    {PLAT_D3DXERR_INVALIDMESH, "The mesh is invalid."},
    {PLAT_D3DXERR_CANNOTATTRSORT, "Attribute sort (D3DXMESHOPT_ATTRSORT) is not supported as an optimization technique."},
    {PLAT_D3DXERR_SKINNINGNOTSUPPORTED, "Skinning is not supported. "},
    {PLAT_D3DXERR_TOOMANYINFLUENCES, "Too many influences specified. "},
    {PLAT_D3DXERR_INVALIDDATA, "The data is invalid."},
    {PLAT_D3DXERR_LOADEDMESHASNODATA, "The mesh has no data. "},
    {PLAT_D3DXERR_DUPLICATENAMEDFRAGMENT, "A fragment with that name already exists."},
    {PLAT_D3DXERR_CANNOTREMOVELASTITEM, "The last item cannot be deleted."},
    {PLAT_E_OUTOFMEMORY, "Direct3D could not allocate sufficient memory to complete the call."},
    {PLAT_E_NOTIMPL, "Not implemented."},
    {PLAT_E_NOINTERFACE, "No object interface is available."},
    {PLAT_E_FAIL, "An undetermined error occurred inside the Direct3D subsystem."},
    {PLAT_E_INVALIDARG, "An invalid parameter was passed to the returning function."},
};
} // namespace

const char *EngUtilsDX9_GetResultText(PlatResult result)
{
    for (const ResultText &entry : kResultTexts)
        if (entry.result == result)
            return entry.text;
    static char unknown[40];
    snprintf(unknown, sizeof(unknown), "Unknown error <0x%x>", (unsigned)result);
    return unknown;
}

bool EngUtilsDX9_CheckResult(const char *owner, const char *operation, PlatResult result)
{
    if (result == PLAT_D3D_OK)
        return true;
    DebugError(owner, "%s: %s", operation ? operation : "", EngUtilsDX9_GetResultText(result));
    return false;
}

PlatD3d *EngUtilsDX9_CreateD3D(bool showPopup)
{
    if (s_utils.called)
    {
        DebugError(ENG_FUNC, "Already called");
        return s_utils.d3d;
    }
    PlatD3d *d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
    if (!d3d)
    {
        d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION_OLD);
        if (d3d)
            DebugInfo("EngUtilsDX9_CreateD3D: Warning - Using DirectX version 9.0b (not 9.0c)");
    }
    if (!d3d)
    {
        DebugError(ENG_FUNC, "Could not create d3d object (%s)", PlatD3dGetErrorText());
        return nullptr;
    }
    s_utils.called = true;
    s_utils.d3d = d3d;
    return d3d;
}

void EngUtilsDX9_ReleaseD3D()
{
    if (!s_utils.called)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    if (!s_utils.d3d)
        DebugError(ENG_FUNC, "Created but NULL");
    else
        PlatD3dRelease(s_utils.d3d);
    s_utils.d3d = nullptr;
    s_utils.called = false;
}

bool EngUtilsDX9_GetFormatInfo(PlatD3dFormat format, int *bits, char *alpha)
{
    for (const _EngFormatInfo &info : eng_dx9_formats)
        if (info.format == format)
        {
            if (bits)
                *bits = info.bits;
            if (alpha)
                *alpha = info.alpha;
            return true;
        }
    return false;
}

int EngUtilsDX9_GetBitdepthFromFormat(PlatD3dFormat format, char *alpha, bool report)
{
    int bits = 0;
    if (EngUtilsDX9_GetFormatInfo(format, &bits, alpha))
        return bits;
    if (report)
        DebugError(ENG_FUNC, "Unrecognised format [%d]", (int)format);
    return 0;
}

bool EngUtilsDX9_GetSupportedSurfaceFormat(PlatD3dFormat *out, bool alpha)
{
    if (!out || !EngDeviceDX9GetD3dDevice())
        return false;
    // Both formats are in the engine's table, so the preference always holds.
    *out = alpha ? PLAT_FMT_A8R8G8B8 : PLAT_FMT_X8R8G8B8;
    return true;
}

uint32_t EngUtilsDX9_ColourToArgb(float r, float g, float b, float a)
{
    // Clamped before the conversion: a level can come from a file (a picture's alpha) and
    // NaN or a huge value would make it undefined.
    auto byte = [](float value) -> uint32_t {
        float scaled = value * 255.0f;
        if (!(scaled >= 1.0f))
            return 0;
        return scaled >= 255.0f ? 255 : (uint32_t)scaled;
    };
    return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}
