// Enumeration of what the device object offers (adapters, display modes, device types,
// format combinations with their depth buffers, multisample levels and presentation
// intervals) and the choice of the device settings that best fit a wish.
#pragma once
#include <cstdint>
#include <vector>

#include "PlatD3d9.h"

enum _DXUTMatchType
{
    DXUTMT_IGNORE_INPUT = 0,
    DXUTMT_PRESERVE_INPUT = 1,
    DXUTMT_CLOSEST_TO_INPUT = 2,
};

struct _DXUTMatchOptions
{
    int32_t adapterOrdinal, deviceType, windowed, adapterFormat, vertexProcessing, resolution, backBufferFormat,
        backBufferCount, multiSample, swapEffect, depthFormat, stencilFormat, presentFlags, refreshRate,
        presentInterval;
};

struct _DXUTDeviceSettings
{
    uint32_t adapterOrdinal;
    PlatD3dDeviceType deviceType;
    PlatD3dFormat adapterFormat;
    uint32_t behaviorFlags;
    PlatD3dPresentParameters pp;
};

struct _DxutEnumDeviceInfo;
struct _DxutEnumAdapterInfo;

struct _DxutEnumDeviceSettingsCombo
{
    uint32_t adapterOrdinal;
    PlatD3dDeviceType deviceType;
    PlatD3dFormat adapterFormat;
    PlatD3dFormat backBufferFormat;
    bool windowed;
    std::vector<PlatD3dFormat> depthStencilFormats;
    std::vector<uint32_t> multiSampleTypes;
    std::vector<uint32_t> multiSampleQualities; // levels of each type
    std::vector<uint32_t> presentIntervals;
    std::vector<std::pair<PlatD3dFormat, uint32_t>> conflicts; // depth format, multisample type
    _DxutEnumAdapterInfo *adapterInfo;
    _DxutEnumDeviceInfo *deviceInfo;
};

struct _DxutEnumDeviceInfo
{
    uint32_t adapterOrdinal;
    PlatD3dDeviceType deviceType;
    PlatD3dCaps caps;
    std::vector<_DxutEnumDeviceSettingsCombo *> combos;
};

enum
{
    DXUT_UNIQUE_DESCRIPTION_SIZE = 256,
};

struct _DxutEnumAdapterInfo
{
    uint32_t adapterOrdinal;
    PlatD3dAdapterIdentifier identifier;
    char uniqueDescription[DXUT_UNIQUE_DESCRIPTION_SIZE];
    std::vector<PlatD3dDisplayMode> displayModes;
    std::vector<_DxutEnumDeviceInfo *> deviceInfos;
};

typedef bool (*DxutIsDeviceAcceptableFn)(const PlatD3dCaps *caps, PlatD3dFormat adapterFormat,
                                         PlatD3dFormat backBufferFormat, bool windowed);

// The result of DXUTFindValidDeviceSettings when nothing fits.
const PlatResult DXUTERR_NOCOMPATIBLEDEVICES = (PlatResult)0x80040902u;

bool DxutEnumerationInit();
// d3d NULL: the device back end's object.
PlatResult DxutEnumerationDoEnumerate(PlatD3d *d3d, DxutIsDeviceAcceptableFn callback);
bool DxutEnumerationIsDone();
bool DxutEnumerationGetAdapterInfoListNew(const std::vector<_DxutEnumAdapterInfo *> **out);
bool DxutEnumerationGetAdapterInfoNew(uint32_t ordinal, _DxutEnumAdapterInfo **out);
void DxutEnumerationClearAdapterInfoList();
void DxutEnumerationCleanup();
PlatResult DXUTFindValidDeviceSettings(_DXUTDeviceSettings *out, const _DXUTDeviceSettings *in,
                                       const _DXUTMatchOptions *options);

int DxutColourChannelBits(PlatD3dFormat format);
int DxutDepthBits(PlatD3dFormat format);
int DxutStencilBits(PlatD3dFormat format);
