// The device object: adapters and display modes (the window stand-in's displays, or a fake
// display set by tests) with a fixed capability table: one hardware device type per adapter,
// 32- and 16-bit display formats, 16/24/32-bit depth buffers, and the multisample
// types the display offers.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "PlatD3dExecutor.h"
#include "PlatD3dInternal.h"
#include "PlatWin.h"

namespace
{
struct
{
    bool fakeSet;
    PlatD3dFakeDisplay fake;
    char errorText[512];
} s_object = {};

// Multisample types offered on a real display: 2, 4 and 8 samples (the executor keeps
// to what the GL driver can do).
const uint32_t kRealMultiSampleTypes = (1u << 2) | (1u << 4) | (1u << 8);

PlatD3dFormat FormatFromLayout(int32_t layout)
{
    switch (layout)
    {
    case PLAT_PIXELS_X8R8G8B8:
        return PLAT_FMT_X8R8G8B8;
    case PLAT_PIXELS_R5G6B5:
        return PLAT_FMT_R5G6B5;
    case PLAT_PIXELS_X1R5G5B5:
        return PLAT_FMT_X1R5G5B5;
    default:
        return PLAT_FMT_UNKNOWN;
    }
}

// The adapters from the window stand-in's display listing (video held by the caller).
void ReadDisplays(PlatD3dFakeDisplay *display)
{
    memset(display, 0, sizeof(*display));
    int32_t count = PlatWinGetDisplayCount();
    if (count > PLAT_FAKE_MAX_ADAPTERS)
        count = PLAT_FAKE_MAX_ADAPTERS;
    display->adapterCount = (uint32_t)count;
    for (int32_t i = 0; i < count; i++)
    {
        PlatD3dFakeAdapter &adapter = display->adapters[i];
        if (!PlatWinGetDisplayName(i, adapter.description, (int32_t)sizeof(adapter.description)))
            snprintf(adapter.description, sizeof(adapter.description), "%s", "Display");
        PlatDisplayMode mode;
        if (PlatWinGetDesktopDisplayMode(i, &mode))
            adapter.desktop = {(uint32_t)mode.width, (uint32_t)mode.height, (uint32_t)mode.refresh,
                               FormatFromLayout(mode.layout)};
        if (adapter.desktop.format == PLAT_FMT_UNKNOWN)
            adapter.desktop.format = PLAT_FMT_X8R8G8B8;
        int32_t modes = PlatWinGetDisplayModeCount(i);
        for (int32_t m = 0; m < modes && adapter.modeCount < PLAT_FAKE_MAX_MODES; m++)
        {
            if (!PlatWinGetDisplayMode(i, m, &mode))
                continue;
            PlatD3dFormat format = FormatFromLayout(mode.layout);
            if (format == PLAT_FMT_UNKNOWN)
                continue;
            adapter.modes[adapter.modeCount++] = {(uint32_t)mode.width, (uint32_t)mode.height,
                                                  (uint32_t)mode.refresh, format};
        }
        if (adapter.modeCount == 0 && adapter.desktop.width > 0)
            adapter.modes[adapter.modeCount++] = adapter.desktop;
        adapter.multiSampleTypes = kRealMultiSampleTypes;
        adapter.nonMaskableLevels = 0;
    }
}

bool IsDisplayFormat(PlatD3dFormat format)
{
    return format == PLAT_FMT_X8R8G8B8 || format == PLAT_FMT_R5G6B5 || format == PLAT_FMT_X1R5G5B5;
}

bool IsBlendableFormat(PlatD3dFormat format)
{
    switch (format)
    {
    case PLAT_FMT_A8R8G8B8:
    case PLAT_FMT_X8R8G8B8:
    case PLAT_FMT_R5G6B5:
    case PLAT_FMT_X1R5G5B5:
    case PLAT_FMT_A1R5G5B5:
    case PLAT_FMT_A4R4G4B4:
    case PLAT_FMT_X4R4G4B4:
        return true;
    default:
        return false;
    }
}

bool IsDepthFormat(PlatD3dFormat format)
{
    return format == PLAT_FMT_D16 || format == PLAT_FMT_D24X8 || format == PLAT_FMT_D24S8 || format == PLAT_FMT_D32;
}

const PlatD3dFakeAdapter *GetAdapter(PlatD3d *d3d, uint32_t adapter)
{
    if (!d3d || adapter >= d3d->display.adapterCount)
        return nullptr;
    return &d3d->display.adapters[adapter];
}
} // namespace

void PlatD3dSetErrorText(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(s_object.errorText, sizeof(s_object.errorText), format, args);
    va_end(args);
}

const char *PlatD3dGetErrorText()
{
    return s_object.errorText;
}

int PlatD3dFormatChannelBits(PlatD3dFormat format)
{
    switch (format)
    {
    case PLAT_FMT_R8G8B8:
    case PLAT_FMT_A8R8G8B8:
    case PLAT_FMT_X8R8G8B8:
    case PLAT_FMT_A8B8G8R8:
        return 8;
    case PLAT_FMT_R5G6B5:
    case PLAT_FMT_X1R5G5B5:
    case PLAT_FMT_A1R5G5B5:
        return 5;
    case PLAT_FMT_A4R4G4B4:
    case PLAT_FMT_X4R4G4B4:
        return 4;
    case PLAT_FMT_R3G3B2:
    case PLAT_FMT_A8R3G3B2:
        return 2;
    case PLAT_FMT_A2B10G10R10:
    case PLAT_FMT_A2R10G10B10:
        return 10;
    case PLAT_FMT_A16B16G16R16:
        return 16;
    default:
        return 0;
    }
}

bool PlatD3dIsOfferedMultiSample(const PlatD3dFakeAdapter &adapter, uint32_t type, uint32_t *levels)
{
    uint32_t count = 0;
    if (type == PLAT_MULTISAMPLE_NONE)
        count = 1;
    else if (type == PLAT_MULTISAMPLE_NONMASKABLE)
        count = adapter.nonMaskableLevels;
    else if (type <= PLAT_MULTISAMPLE_MAX && (adapter.multiSampleTypes & (1u << type)))
        count = 1;
    if (levels)
        *levels = count;
    return count > 0;
}

void PlatD3dSetFakeDisplay(const PlatD3dFakeDisplay *display)
{
    s_object.fakeSet = display != nullptr;
    if (display)
        s_object.fake = *display;
}

PlatD3d *PlatD3dCreate(uint32_t sdkVersion)
{
    if (sdkVersion != PLAT_D3D_SDK_VERSION && sdkVersion != PLAT_D3D_SDK_VERSION_OLD)
    {
        PlatD3dSetErrorText("Unsupported interface version %u", sdkVersion);
        return nullptr;
    }
    PlatD3d *d3d = new PlatD3d();
    d3d->references = 1;
    if (s_object.fakeSet)
        d3d->display = s_object.fake;
    else
    {
        if (!PlatWinAcquireVideo())
        {
            PlatD3dSetErrorText("No video: %s", PlatWinGetErrorText());
            delete d3d;
            return nullptr;
        }
        d3d->holdsVideo = true;
        ReadDisplays(&d3d->display);
    }
    return d3d;
}

uint32_t PlatD3dRelease(PlatD3d *d3d)
{
    if (!d3d || d3d->references == 0)
        return 0;
    if (--d3d->references > 0)
        return d3d->references;
    if (d3d->holdsVideo)
        PlatWinReleaseVideo();
    delete d3d;
    return 0;
}

uint32_t PlatD3dGetAdapterCount(PlatD3d *d3d)
{
    return d3d ? d3d->display.adapterCount : 0;
}

PlatResult PlatD3dGetAdapterIdentifier(PlatD3d *d3d, uint32_t adapter, uint32_t flags, PlatD3dAdapterIdentifier *out)
{
    const PlatD3dFakeAdapter *info = GetAdapter(d3d, adapter);
    if (!info || !out)
        return PLAT_D3DERR_INVALIDCALL;
    memset(out, 0, sizeof(*out));
    snprintf(out->driver, sizeof(out->driver), "%s", "OpenGL 3.3 core");
    snprintf(out->description, sizeof(out->description), "%s", info->description);
    snprintf(out->deviceName, sizeof(out->deviceName), "DISPLAY%u", adapter + 1);
    out->driverVersionHigh = (1u << 16) | 0u;
    out->driverVersionLow = (0u << 16) | 1u;
    return PLAT_D3D_OK;
}

uint32_t PlatD3dGetAdapterModeCount(PlatD3d *d3d, uint32_t adapter, PlatD3dFormat format)
{
    const PlatD3dFakeAdapter *info = GetAdapter(d3d, adapter);
    if (!info)
        return 0;
    uint32_t count = 0;
    for (uint32_t i = 0; i < info->modeCount; i++)
        if (info->modes[i].format == format)
            count++;
    return count;
}

PlatResult PlatD3dEnumAdapterModes(PlatD3d *d3d, uint32_t adapter, PlatD3dFormat format, uint32_t index,
                                   PlatD3dDisplayMode *out)
{
    const PlatD3dFakeAdapter *info = GetAdapter(d3d, adapter);
    if (!info || !out)
        return PLAT_D3DERR_INVALIDCALL;
    for (uint32_t i = 0; i < info->modeCount; i++)
    {
        if (info->modes[i].format != format)
            continue;
        if (index == 0)
        {
            *out = info->modes[i];
            return PLAT_D3D_OK;
        }
        index--;
    }
    return PLAT_D3DERR_INVALIDCALL;
}

PlatResult PlatD3dGetAdapterDisplayMode(PlatD3d *d3d, uint32_t adapter, PlatD3dDisplayMode *out)
{
    const PlatD3dFakeAdapter *info = GetAdapter(d3d, adapter);
    if (!info || !out)
        return PLAT_D3DERR_INVALIDCALL;
    *out = info->desktop;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dGetDeviceCaps(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type, PlatD3dCaps *out)
{
    if (!GetAdapter(d3d, adapter) || !out)
        return PLAT_D3DERR_INVALIDCALL;
    if (type != PLAT_DEVTYPE_HAL)
        return PLAT_D3DERR_NOTAVAILABLE;
    memset(out, 0, sizeof(*out));
    out->deviceType = type;
    out->adapterOrdinal = adapter;
    out->devCaps = PLAT_DEVCAPS_HWTRANSFORMANDLIGHT | PLAT_DEVCAPS_PUREDEVICE;
    out->presentationIntervals = PLAT_PRESENT_INTERVAL_IMMEDIATE | PLAT_PRESENT_INTERVAL_ONE;
    out->maxTextureWidth = 8192;
    out->maxTextureHeight = 8192;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dCheckDeviceType(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type, PlatD3dFormat adapterFormat,
                                  PlatD3dFormat backBufferFormat, bool windowed)
{
    if (!GetAdapter(d3d, adapter))
        return PLAT_D3DERR_INVALIDCALL;
    if (type != PLAT_DEVTYPE_HAL || !IsDisplayFormat(adapterFormat))
        return PLAT_D3DERR_NOTAVAILABLE;
    bool matches = backBufferFormat == adapterFormat ||
                   (adapterFormat == PLAT_FMT_X8R8G8B8 && backBufferFormat == PLAT_FMT_A8R8G8B8) ||
                   (adapterFormat == PLAT_FMT_X1R5G5B5 && backBufferFormat == PLAT_FMT_A1R5G5B5);
    return matches ? PLAT_D3D_OK : PLAT_D3DERR_NOTAVAILABLE;
}

PlatResult PlatD3dCheckDeviceFormat(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type, PlatD3dFormat adapterFormat,
                                    uint32_t usage, PlatD3dResourceType resourceType, PlatD3dFormat checkFormat)
{
    if (!GetAdapter(d3d, adapter))
        return PLAT_D3DERR_INVALIDCALL;
    if (type != PLAT_DEVTYPE_HAL || !IsDisplayFormat(adapterFormat))
        return PLAT_D3DERR_NOTAVAILABLE;
    if (usage & PLAT_USAGE_DEPTHSTENCIL)
        return resourceType == PLAT_RTYPE_SURFACE && IsDepthFormat(checkFormat) ? PLAT_D3D_OK
                                                                                : PLAT_D3DERR_NOTAVAILABLE;
    if (usage & PLAT_USAGE_QUERY_POSTPIXELSHADER_BLENDING)
        return IsBlendableFormat(checkFormat) ? PLAT_D3D_OK : PLAT_D3DERR_NOTAVAILABLE;
    if (resourceType == PLAT_RTYPE_TEXTURE)
        return checkFormat == PLAT_FMT_A8R8G8B8 || checkFormat == PLAT_FMT_X8R8G8B8 ? PLAT_D3D_OK
                                                                                    : PLAT_D3DERR_NOTAVAILABLE;
    return IsBlendableFormat(checkFormat) ? PLAT_D3D_OK : PLAT_D3DERR_NOTAVAILABLE;
}

PlatResult PlatD3dCheckDepthStencilMatch(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type,
                                         PlatD3dFormat adapterFormat, PlatD3dFormat renderTargetFormat,
                                         PlatD3dFormat depthStencilFormat)
{
    if (!GetAdapter(d3d, adapter))
        return PLAT_D3DERR_INVALIDCALL;
    return type == PLAT_DEVTYPE_HAL && IsDepthFormat(depthStencilFormat) ? PLAT_D3D_OK : PLAT_D3DERR_NOTAVAILABLE;
}

PlatResult PlatD3dCheckDeviceMultiSampleType(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type,
                                             PlatD3dFormat surfaceFormat, bool windowed, uint32_t multiSampleType,
                                             uint32_t *qualityLevels)
{
    if (qualityLevels)
        *qualityLevels = 0;
    const PlatD3dFakeAdapter *info = GetAdapter(d3d, adapter);
    if (!info)
        return PLAT_D3DERR_INVALIDCALL;
    if (type != PLAT_DEVTYPE_HAL)
        return PLAT_D3DERR_NOTAVAILABLE;
    if (surfaceFormat == PLAT_FMT_D15S1 || surfaceFormat == PLAT_FMT_D24X4S4)
        return PLAT_D3DERR_NOTAVAILABLE;
    return PlatD3dIsOfferedMultiSample(*info, multiSampleType, qualityLevels) ? PLAT_D3D_OK : PLAT_D3DERR_NOTAVAILABLE;
}
