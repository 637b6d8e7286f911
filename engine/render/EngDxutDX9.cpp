// Enumeration and settings matching. What the device object offers is listed once per
// device creation; the wish (start-up settings) is then matched against every
// combination of adapter, device type, adapter and back-buffer format and windowing:
// options marked "preserve" must hold exactly, the rest are ranked, and the best
// combination is turned into device settings.
//
// Sections: format bits, enumeration, matching.
#include "EngDxutDX9.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngDeviceDX9.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngUtilsDX9.h"
#include "EngGlobals.h"

namespace
{
struct DxutEnum
{
    bool initialised;
    bool enumerated;
    PlatD3d *d3d;
    DxutIsDeviceAcceptableFn callback;
    bool requirePostPixelShaderBlending;
    std::vector<PlatD3dFormat> depthStencilFormats;
    std::vector<uint32_t> multiSampleTypes;
    std::vector<uint32_t> presentIntervals;
    bool softwareVP, hardwareVP, pureHardwareVP, mixedVP;
    uint32_t minWidth, maxWidth, minHeight, maxHeight, minRefresh, maxRefresh;
    uint32_t maxMultiSampleQuality;
    std::vector<_DxutEnumAdapterInfo *> adapters;
};

DxutEnum *dxut_enum = nullptr;

const PlatD3dFormat kBackBufferFormats[] = {PLAT_FMT_R8G8B8,   PLAT_FMT_A8R8G8B8, PLAT_FMT_X8R8G8B8,
                                            PLAT_FMT_R5G6B5,   PLAT_FMT_X1R5G5B5, PLAT_FMT_A1R5G5B5,
                                            PLAT_FMT_A4R4G4B4, PLAT_FMT_X4R4G4B4};

void FreeDevice(_DxutEnumDeviceInfo *device)
{
    for (_DxutEnumDeviceSettingsCombo *combo : device->combos)
        delete combo;
    delete device;
}

void FreeAdapter(_DxutEnumAdapterInfo *adapter)
{
    for (_DxutEnumDeviceInfo *device : adapter->deviceInfos)
        FreeDevice(device);
    delete adapter;
}

bool Contains(const std::vector<uint32_t> &list, uint32_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}
} // namespace

// ---- Format bits ------------------------------------------------------------------------

int DxutColourChannelBits(PlatD3dFormat format)
{
    return PlatD3dFormatChannelBits(format);
}

int DxutDepthBits(PlatD3dFormat format)
{
    switch (format)
    {
    case PLAT_FMT_D16_LOCKABLE:
    case PLAT_FMT_D16:
        return 16;
    case PLAT_FMT_D32:
    case PLAT_FMT_D32F_LOCKABLE:
        return 32;
    case PLAT_FMT_D15S1:
        return 15;
    case PLAT_FMT_D24S8:
    case PLAT_FMT_D24X8:
    case PLAT_FMT_D24X4S4:
    case PLAT_FMT_D24FS8:
        return 24;
    default:
        return 0;
    }
}

int DxutStencilBits(PlatD3dFormat format)
{
    switch (format)
    {
    case PLAT_FMT_D15S1:
        return 1;
    case PLAT_FMT_D24S8:
    case PLAT_FMT_D24FS8:
        return 8;
    case PLAT_FMT_D24X4S4:
        return 4;
    default:
        return 0;
    }
}

// ---- Enumeration ---------------------------------------------------------------------------

bool DxutEnumerationInit()
{
    DxutEnumerationCleanup();
    dxut_enum = new (std::nothrow) DxutEnum();
    if (!dxut_enum)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    DebugInfo("[DoEnum]    INIT");
    dxut_enum->requirePostPixelShaderBlending = true;
    dxut_enum->depthStencilFormats = {PLAT_FMT_D16, PLAT_FMT_D15S1, PLAT_FMT_D24X8,
                                      PLAT_FMT_D24S8, PLAT_FMT_D24X4S4, PLAT_FMT_D32};
    for (uint32_t type = 0; type <= PLAT_MULTISAMPLE_MAX; type++)
        dxut_enum->multiSampleTypes.push_back(type);
    dxut_enum->presentIntervals = {PLAT_PRESENT_INTERVAL_IMMEDIATE, PLAT_PRESENT_INTERVAL_DEFAULT,
                                   PLAT_PRESENT_INTERVAL_ONE,       PLAT_PRESENT_INTERVAL_TWO,
                                   PLAT_PRESENT_INTERVAL_THREE,     PLAT_PRESENT_INTERVAL_FOUR};
    dxut_enum->softwareVP = dxut_enum->hardwareVP = dxut_enum->pureHardwareVP = true;
    dxut_enum->mixedVP = false;
    dxut_enum->maxWidth = dxut_enum->maxHeight = dxut_enum->maxRefresh = UINT32_MAX;
    dxut_enum->maxMultiSampleQuality = 65535;
    dxut_enum->initialised = true;
    return true;
}

bool DxutEnumerationIsDone()
{
    return dxut_enum && dxut_enum->enumerated;
}

void DxutEnumerationClearAdapterInfoList()
{
    if (!dxut_enum)
        return;
    for (_DxutEnumAdapterInfo *adapter : dxut_enum->adapters)
        FreeAdapter(adapter);
    dxut_enum->adapters.clear();
}

void DxutEnumerationCleanup()
{
    if (!dxut_enum)
        return;
    if (dxut_enum->initialised)
    {
        DxutEnumerationClearAdapterInfoList();
        dxut_enum->initialised = false;
        dxut_enum->enumerated = false;
        DebugInfo("[DoEnum]    EXIT");
    }
    delete dxut_enum;
    dxut_enum = nullptr;
}

bool DxutEnumerationGetAdapterInfoListNew(const std::vector<_DxutEnumAdapterInfo *> **out)
{
    if (!dxut_enum)
    {
        DebugError(ENG_FUNC, "No dxut_enum");
        return false;
    }
    if (!out || !dxut_enum->enumerated)
        return false;
    *out = &dxut_enum->adapters;
    return true;
}

bool DxutEnumerationGetAdapterInfoNew(uint32_t ordinal, _DxutEnumAdapterInfo **out)
{
    if (!dxut_enum)
    {
        DebugError(ENG_FUNC, "No dxut_enum");
        return false;
    }
    if (!out || !dxut_enum->enumerated)
        return false;
    for (_DxutEnumAdapterInfo *adapter : dxut_enum->adapters)
        if (adapter->adapterOrdinal == ordinal)
        {
            *out = adapter;
            return true;
        }
    return false;
}

static PlatResult DxutEnumerationEnumerateDeviceCombos(_DxutEnumAdapterInfo *adapter, _DxutEnumDeviceInfo *device,
                                                       const std::vector<PlatD3dFormat> &adapterFormats)
{
    PlatD3d *d3d = dxut_enum->d3d;
    for (PlatD3dFormat adapterFormat : adapterFormats)
        for (PlatD3dFormat backBufferFormat : kBackBufferFormats)
            for (int windowedIndex = 0; windowedIndex < 2; windowedIndex++)
            {
                bool windowed = windowedIndex == 1;
                if (!windowed && adapter->displayModes.empty())
                    continue;
                if (PlatD3dCheckDeviceType(d3d, adapter->adapterOrdinal, device->deviceType, adapterFormat,
                                           backBufferFormat, windowed) != PLAT_D3D_OK)
                    continue;
                if (dxut_enum->requirePostPixelShaderBlending &&
                    PlatD3dCheckDeviceFormat(d3d, adapter->adapterOrdinal, device->deviceType, adapterFormat,
                                             PLAT_USAGE_QUERY_POSTPIXELSHADER_BLENDING, PLAT_RTYPE_TEXTURE,
                                             backBufferFormat) != PLAT_D3D_OK)
                    continue;
                if (dxut_enum->callback &&
                    !dxut_enum->callback(&device->caps, adapterFormat, backBufferFormat, windowed))
                    continue;
                _DxutEnumDeviceSettingsCombo *combo = new (std::nothrow) _DxutEnumDeviceSettingsCombo();
                if (!combo)
                    return PLAT_E_OUTOFMEMORY;
                combo->adapterOrdinal = adapter->adapterOrdinal;
                combo->deviceType = device->deviceType;
                combo->adapterFormat = adapterFormat;
                combo->backBufferFormat = backBufferFormat;
                combo->windowed = windowed;
                combo->adapterInfo = adapter;
                combo->deviceInfo = device;
                for (PlatD3dFormat depthFormat : dxut_enum->depthStencilFormats)
                    if (PlatD3dCheckDeviceFormat(d3d, adapter->adapterOrdinal, device->deviceType, adapterFormat,
                                                 PLAT_USAGE_DEPTHSTENCIL, PLAT_RTYPE_SURFACE,
                                                 depthFormat) == PLAT_D3D_OK &&
                        PlatD3dCheckDepthStencilMatch(d3d, adapter->adapterOrdinal, device->deviceType,
                                                      adapterFormat, backBufferFormat, depthFormat) == PLAT_D3D_OK)
                        combo->depthStencilFormats.push_back(depthFormat);
                for (uint32_t type : dxut_enum->multiSampleTypes)
                {
                    uint32_t levels = 0;
                    if (PlatD3dCheckDeviceMultiSampleType(d3d, adapter->adapterOrdinal, device->deviceType,
                                                          backBufferFormat, windowed, type, &levels) != PLAT_D3D_OK)
                        continue;
                    combo->multiSampleTypes.push_back(type);
                    uint32_t cap = dxut_enum->maxMultiSampleQuality + 1;
                    combo->multiSampleQualities.push_back(levels > cap ? cap : levels);
                }
                if (combo->multiSampleTypes.empty())
                {
                    delete combo;
                    continue;
                }
                for (PlatD3dFormat depthFormat : combo->depthStencilFormats)
                    for (uint32_t type : combo->multiSampleTypes)
                        if (PlatD3dCheckDeviceMultiSampleType(d3d, adapter->adapterOrdinal, device->deviceType,
                                                              depthFormat, windowed, type, nullptr) != PLAT_D3D_OK)
                            combo->conflicts.push_back({depthFormat, type});
                for (uint32_t interval : dxut_enum->presentIntervals)
                {
                    if (windowed && (interval == PLAT_PRESENT_INTERVAL_TWO || interval == PLAT_PRESENT_INTERVAL_THREE ||
                                     interval == PLAT_PRESENT_INTERVAL_FOUR))
                        continue;
                    if (interval == PLAT_PRESENT_INTERVAL_DEFAULT ||
                        (device->caps.presentationIntervals & interval))
                        combo->presentIntervals.push_back(interval);
                }
                device->combos.push_back(combo);
            }
    return PLAT_D3D_OK;
}

static PlatResult DxutEnumerationEnumerateDevices(_DxutEnumAdapterInfo *adapter,
                                                  const std::vector<PlatD3dFormat> &adapterFormats)
{
    struct
    {
        PlatD3dDeviceType type;
        const char *name;
    } const types[] = {{PLAT_DEVTYPE_HAL, "HAL"}, {PLAT_DEVTYPE_SW, "SW"}, {PLAT_DEVTYPE_REF, "REF"}};
    bool anyCaps = false;
    for (const auto &type : types)
    {
        _DxutEnumDeviceInfo *device = new (std::nothrow) _DxutEnumDeviceInfo();
        if (!device)
            return PLAT_E_OUTOFMEMORY;
        device->adapterOrdinal = adapter->adapterOrdinal;
        device->deviceType = type.type;
        PlatResult result = PlatD3dGetDeviceCaps(dxut_enum->d3d, adapter->adapterOrdinal, type.type, &device->caps);
        if (result != PLAT_D3D_OK)
        {
            if (result == PLAT_D3DERR_NOTAVAILABLE)
                DebugInfo("[DoEnum]    Device Type: %s Not Available", type.name);
            else
            {
                DebugInfo("[DoEnum]    GetDeviceCaps() failed for Device Type: %s", type.name);
                EngUtilsDX9_CheckResult("[DoEnum]   ", "GetDeviceCaps", result);
            }
            delete device;
            continue;
        }
        anyCaps = true;
        DebugInfo("[DoEnum]    Device Type: %s Available", type.name);
        result = DxutEnumerationEnumerateDeviceCombos(adapter, device, adapterFormats);
        if (result != PLAT_D3D_OK)
        {
            DebugInfo("[DoEnum]    DxutEnumerationEnumerateDeviceCombos() failed for adapter:%u  type:%u",
                      adapter->adapterOrdinal, (unsigned)type.type);
            FreeDevice(device);
            if (result == PLAT_E_OUTOFMEMORY)
                return result;
            continue;
        }
        if (device->combos.empty())
        {
            DebugInfo("[DoEnum]    no device combo found for adapter:%u  type:%u", adapter->adapterOrdinal,
                      (unsigned)type.type);
            delete device;
            continue;
        }
        adapter->deviceInfos.push_back(device);
    }
    if (!anyCaps)
        DebugInfo("[DoEnum]    could not get device caps for adapter:%u", adapter->adapterOrdinal);
    return PLAT_D3D_OK;
}

PlatResult DxutEnumerationDoEnumerate(PlatD3d *d3d, DxutIsDeviceAcceptableFn callback)
{
    if (!dxut_enum)
    {
        DebugError(ENG_FUNC, "No dxut_enum");
        return PLAT_E_FAIL;
    }
    DebugInfo("[DoEnum]    START");
    if (!d3d)
        d3d = EngDeviceDX9GetD3d();
    if (!d3d)
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "DxutEnumerationDoEnumerate", "No Direct 3D Object");
        return PLAT_E_FAIL;
    }
    dxut_enum->d3d = d3d;
    dxut_enum->callback = callback;
    DxutEnumerationClearAdapterInfoList();
    DebugInfo("[DoEnum]    create empty adapter format list");
    uint32_t count = PlatD3dGetAdapterCount(d3d);
    DebugInfo("[DoEnum]    num adpaters: %u", count);
    for (uint32_t ordinal = 0; ordinal < count; ordinal++)
    {
        _DxutEnumAdapterInfo *adapter = new (std::nothrow) _DxutEnumAdapterInfo();
        if (!adapter)
        {
            DebugError(ENG_FUNC, "No memory [adapter to add]");
            return PLAT_E_FAIL;
        }
        adapter->adapterOrdinal = ordinal;
        PlatResult result = PlatD3dGetAdapterIdentifier(d3d, ordinal, 0, &adapter->identifier);
        if (!EngUtilsDX9_CheckResult(ENG_FUNC, "GetAdapterIdentifier", result))
        {
            delete adapter;
            continue;
        }
        const PlatD3dAdapterIdentifier &id = adapter->identifier;
        if (ordinal == 0)
            DebugInfo("[DoEnum]    added default adapter:");
        else
            DebugInfo("[DoEnum]    added adapter %u:", ordinal);
        DebugInfo("[DoEnum]        Driver:      <%s>", id.driver);
        DebugInfo("[DoEnum]        Description: <%s>", id.description);
        DebugInfo("[DoEnum]        Version:     [ Product:%u Main:%u SubVersion:%u Build:%u ]",
                  id.driverVersionHigh >> 16, id.driverVersionHigh & 0xFFFF, id.driverVersionLow >> 16,
                  id.driverVersionLow & 0xFFFF);
        DebugInfo("[DoEnum]        DeviceName:  <%s>", id.deviceName);
        DebugInfo("[DoEnum]        Vendor ID:   %u", id.vendorId);
        DebugInfo("[DoEnum]        Device ID:   %u", id.deviceId);
        DebugInfo("[DoEnum]        SubSys Id:   %u", id.subSysId);
        DebugInfo("[DoEnum]        Revision:    %u", id.revision);
        DebugInfo("[DoEnum]        WHQL:        %u", id.whqlLevel);

        std::vector<PlatD3dFormat> adapterFormats;
        DebugInfo("[DoEnum]        num formats: %d", (int)ENG_DX9_FORMAT_COUNT);
        for (int f = 0; f < ENG_DX9_FORMAT_COUNT; f++)
        {
            PlatD3dFormat format = eng_dx9_formats[f].format;
            uint32_t modeCount = PlatD3dGetAdapterModeCount(d3d, ordinal, format);
            DebugInfo("[DoEnum]        format %d has %u modes", f, modeCount);
            for (uint32_t m = 0; m < modeCount; m++)
            {
                PlatD3dDisplayMode mode;
                if (PlatD3dEnumAdapterModes(d3d, ordinal, format, m, &mode) != PLAT_D3D_OK)
                    continue;
                bool inside = mode.width >= dxut_enum->minWidth && mode.width <= dxut_enum->maxWidth &&
                              mode.height >= dxut_enum->minHeight && mode.height <= dxut_enum->maxHeight &&
                              mode.refreshRate >= dxut_enum->minRefresh && mode.refreshRate <= dxut_enum->maxRefresh;
                if (!inside)
                {
                    DebugInfo("[DoEnum]        mode %u not accepted : [W %u, H %u, RR %u, FM %u]", m, mode.width,
                              mode.height, mode.refreshRate, (unsigned)mode.format);
                    continue;
                }
                DebugInfo("[DoEnum]        mode %u added : [W %u, H %u, RR %u, FM %u]", m, mode.width, mode.height,
                          mode.refreshRate, (unsigned)mode.format);
                adapter->displayModes.push_back(mode);
                if (std::find(adapterFormats.begin(), adapterFormats.end(), mode.format) == adapterFormats.end())
                    adapterFormats.push_back(mode.format);
            }
        }
        PlatD3dDisplayMode desktop;
        if (PlatD3dGetAdapterDisplayMode(d3d, ordinal, &desktop) == PLAT_D3D_OK &&
            std::find(adapterFormats.begin(), adapterFormats.end(), desktop.format) == adapterFormats.end())
            adapterFormats.push_back(desktop.format);
        std::sort(adapter->displayModes.begin(), adapter->displayModes.end(),
                  [](const PlatD3dDisplayMode &a, const PlatD3dDisplayMode &b) {
                      if (a.width != b.width)
                          return a.width < b.width;
                      if (a.height != b.height)
                          return a.height < b.height;
                      if (a.format != b.format)
                          return a.format < b.format;
                      return a.refreshRate < b.refreshRate;
                  });
        result = DxutEnumerationEnumerateDevices(adapter, adapterFormats);
        if (result == PLAT_D3D_OK && !adapter->deviceInfos.empty())
            dxut_enum->adapters.push_back(adapter);
        else
            FreeAdapter(adapter);
        if (result == PLAT_E_OUTOFMEMORY)
            return result;
    }
    DebugInfo("[DoEnum]    num elements: %d", (int)dxut_enum->adapters.size());
    bool duplicates = false;
    for (size_t i = 0; i < dxut_enum->adapters.size(); i++)
        for (size_t j = i + 1; j < dxut_enum->adapters.size(); j++)
            if (strcmp(dxut_enum->adapters[i]->identifier.description, dxut_enum->adapters[j]->identifier.description) ==
                0)
                duplicates = true;
    for (_DxutEnumAdapterInfo *adapter : dxut_enum->adapters)
    {
        // The description may be as long as the unique text itself: cut it to fit.
        if (duplicates)
        {
            char suffix[24];
            snprintf(suffix, sizeof(suffix), " (#%u)", adapter->adapterOrdinal);
            size_t room = sizeof(adapter->uniqueDescription) - 1 - strlen(suffix);
            snprintf(adapter->uniqueDescription, sizeof(adapter->uniqueDescription), "%.*s%s", (int)room,
                     adapter->identifier.description, suffix);
            DebugInfo("[DoEnum]        element %u : <%s>", adapter->adapterOrdinal, adapter->uniqueDescription);
        }
        else
            EngSafeStrcpy(adapter->uniqueDescription, adapter->identifier.description,
                          sizeof(adapter->uniqueDescription));
    }
    dxut_enum->enumerated = true;
    DebugInfo("[DoEnum]    FINISHED");
    return PLAT_D3D_OK;
}

// ---- Matching ---------------------------------------------------------------------------

namespace
{

int VerticalSyncSetting()
{
    return EngScreenSettings.verticalSync;
}

uint32_t IntervalForVerticalSync()
{
    return VerticalSyncSetting() == 2 ? PLAT_PRESENT_INTERVAL_IMMEDIATE : PLAT_PRESENT_INTERVAL_DEFAULT;
}

bool HasDisplayMode(const _DxutEnumAdapterInfo *adapter, PlatD3dFormat format, uint32_t width, uint32_t height)
{
    for (const PlatD3dDisplayMode &mode : adapter->displayModes)
        if (mode.format == format && mode.width == width && mode.height == height)
            return true;
    return false;
}

bool HasRefresh(const _DxutEnumAdapterInfo *adapter, PlatD3dFormat format, uint32_t refresh)
{
    for (const PlatD3dDisplayMode &mode : adapter->displayModes)
        if (mode.format == format && mode.refreshRate == refresh)
            return true;
    return false;
}

float FormatCloseness(PlatD3dFormat a, PlatD3dFormat b)
{
    if (a == b)
        return 1.0f;
    int difference = abs(DxutColourChannelBits(a) - DxutColourChannelBits(b));
    float score = 0.9f - 0.2f * (float)difference;
    return score > 0.0f ? score : 0.0f;
}

void BuildOptimalSettings(_DXUTDeviceSettings *optimal, const _DXUTDeviceSettings *in,
                          const _DXUTMatchOptions *options)
{
    memset(optimal, 0, sizeof(*optimal));
    PlatD3d *d3d = dxut_enum->d3d;
    optimal->adapterOrdinal = options->adapterOrdinal == DXUTMT_PRESERVE_INPUT ? in->adapterOrdinal : 0;
    optimal->deviceType = options->deviceType == DXUTMT_PRESERVE_INPUT ? in->deviceType : PLAT_DEVTYPE_HAL;
    optimal->pp.windowed = options->windowed == DXUTMT_PRESERVE_INPUT ? in->pp.windowed : 1;
    PlatD3dDisplayMode desktop = {};
    PlatD3dGetAdapterDisplayMode(d3d, optimal->adapterOrdinal, &desktop);
    if (options->adapterFormat == DXUTMT_IGNORE_INPUT)
    {
        optimal->adapterFormat = desktop.format;
        if (!optimal->pp.windowed && DxutColourChannelBits(desktop.format) < 8)
            optimal->adapterFormat = PLAT_FMT_X8R8G8B8;
    }
    else
        optimal->adapterFormat = in->adapterFormat;
    optimal->behaviorFlags = options->vertexProcessing == DXUTMT_IGNORE_INPUT
                                 ? PLAT_CREATE_HARDWARE_VERTEXPROCESSING
                                 : in->behaviorFlags;
    if (options->resolution == DXUTMT_IGNORE_INPUT)
    {
        optimal->pp.backBufferWidth = optimal->pp.windowed ? 640 : desktop.width;
        optimal->pp.backBufferHeight = optimal->pp.windowed ? 480 : desktop.height;
    }
    else
    {
        optimal->pp.backBufferWidth = in->pp.backBufferWidth;
        optimal->pp.backBufferHeight = in->pp.backBufferHeight;
    }
    optimal->pp.backBufferFormat =
        options->backBufferFormat == DXUTMT_IGNORE_INPUT ? optimal->adapterFormat : in->pp.backBufferFormat;
    optimal->pp.backBufferCount = options->backBufferCount == DXUTMT_IGNORE_INPUT ? 1 : in->pp.backBufferCount;
    if (options->multiSample == DXUTMT_IGNORE_INPUT)
    {
        optimal->pp.multiSampleType = 0;
        optimal->pp.multiSampleQuality = 0;
    }
    else
    {
        optimal->pp.multiSampleType = in->pp.multiSampleType;
        optimal->pp.multiSampleQuality = in->pp.multiSampleQuality;
    }
    optimal->pp.swapEffect = options->swapEffect == DXUTMT_IGNORE_INPUT ? PLAT_SWAPEFFECT_DISCARD : in->pp.swapEffect;
    if (options->depthFormat != DXUTMT_IGNORE_INPUT || options->stencilFormat != DXUTMT_IGNORE_INPUT)
        optimal->pp.autoDepthStencilFormat = in->pp.autoDepthStencilFormat;
    else
        optimal->pp.autoDepthStencilFormat =
            DxutColourChannelBits(optimal->pp.backBufferFormat) < 8 ? PLAT_FMT_D16 : PLAT_FMT_D32;
    optimal->pp.flags = options->presentFlags == DXUTMT_IGNORE_INPUT ? PLAT_PRESENTFLAG_DISCARD_DEPTHSTENCIL
                                                                     : in->pp.flags;
    optimal->pp.fullScreenRefreshRate = options->refreshRate == DXUTMT_IGNORE_INPUT ? 0 : in->pp.fullScreenRefreshRate;
    optimal->pp.presentationInterval =
        options->presentInterval == DXUTMT_IGNORE_INPUT ? IntervalForVerticalSync() : in->pp.presentationInterval;
}

bool ComboKeepsPreservedInputs(const _DxutEnumDeviceSettingsCombo *combo, const _DXUTDeviceSettings *in,
                               const _DXUTMatchOptions *options)
{
    const _DxutEnumAdapterInfo *adapter = combo->adapterInfo;
    if (options->adapterOrdinal == DXUTMT_PRESERVE_INPUT && combo->adapterOrdinal != in->adapterOrdinal)
        return false;
    if (options->deviceType == DXUTMT_PRESERVE_INPUT && combo->deviceType != in->deviceType)
        return false;
    if (options->windowed == DXUTMT_PRESERVE_INPUT && combo->windowed != (in->pp.windowed != 0))
        return false;
    if (options->adapterFormat == DXUTMT_PRESERVE_INPUT && combo->adapterFormat != in->adapterFormat)
        return false;
    if (options->vertexProcessing == DXUTMT_PRESERVE_INPUT &&
        (in->behaviorFlags & PLAT_CREATE_HARDWARE_VERTEXPROCESSING) &&
        !(combo->deviceInfo->caps.devCaps & PLAT_DEVCAPS_HWTRANSFORMANDLIGHT))
        return false;
    if (options->resolution == DXUTMT_PRESERVE_INPUT &&
        !HasDisplayMode(adapter, combo->adapterFormat, in->pp.backBufferWidth, in->pp.backBufferHeight))
        return false;
    if (options->backBufferFormat == DXUTMT_PRESERVE_INPUT && combo->backBufferFormat != in->pp.backBufferFormat)
        return false;
    if (options->multiSample == DXUTMT_PRESERVE_INPUT)
    {
        bool found = false;
        for (size_t i = 0; i < combo->multiSampleTypes.size() && !found; i++)
            found = combo->multiSampleTypes[i] == in->pp.multiSampleType &&
                    combo->multiSampleQualities[i] > in->pp.multiSampleQuality;
        if (!found)
            return false;
    }
    if (options->depthFormat == DXUTMT_PRESERVE_INPUT && in->pp.autoDepthStencilFormat != PLAT_FMT_UNKNOWN)
    {
        bool listed = std::find(combo->depthStencilFormats.begin(), combo->depthStencilFormats.end(),
                                in->pp.autoDepthStencilFormat) != combo->depthStencilFormats.end();
        bool sameBits = false;
        for (PlatD3dFormat format : combo->depthStencilFormats)
            sameBits = sameBits || DxutDepthBits(format) == DxutDepthBits(in->pp.autoDepthStencilFormat);
        if (!listed || !sameBits)
            return false;
    }
    if (options->stencilFormat == DXUTMT_PRESERVE_INPUT && in->pp.autoDepthStencilFormat != PLAT_FMT_UNKNOWN)
    {
        bool sameBits = false;
        for (PlatD3dFormat format : combo->depthStencilFormats)
            sameBits = sameBits || DxutStencilBits(format) == DxutStencilBits(in->pp.autoDepthStencilFormat);
        if (!sameBits)
            return false;
    }
    if (options->refreshRate == DXUTMT_PRESERVE_INPUT &&
        !HasRefresh(adapter, combo->adapterFormat, in->pp.fullScreenRefreshRate))
        return false;
    if (options->presentInterval == DXUTMT_PRESERVE_INPUT &&
        !Contains(combo->presentIntervals, in->pp.presentationInterval))
        return false;
    return true;
}

float RankCombo(const _DxutEnumDeviceSettingsCombo *combo, const _DXUTDeviceSettings *optimal,
                const PlatD3dDisplayMode &desktop)
{
    float rank = 0.0f;
    const PlatD3dCaps &caps = combo->deviceInfo->caps;
    if (combo->adapterOrdinal == optimal->adapterOrdinal)
        rank += 1000.0f;
    if (combo->deviceType == optimal->deviceType)
        rank += 100.0f;
    if (combo->deviceType == PLAT_DEVTYPE_HAL)
        rank += 0.1f;
    if (combo->windowed == (optimal->pp.windowed != 0))
        rank += 10.0f;
    rank += FormatCloseness(combo->adapterFormat, optimal->adapterFormat);
    if (!combo->windowed)
    {
        PlatD3dFormat desktopFormat =
            DxutColourChannelBits(desktop.format) < 8 ? PLAT_FMT_X8R8G8B8 : desktop.format;
        if (combo->adapterFormat == desktopFormat)
            rank += 0.1f;
    }
    bool hardware = (caps.devCaps & PLAT_DEVCAPS_HWTRANSFORMANDLIGHT) != 0;
    if ((optimal->behaviorFlags & (PLAT_CREATE_HARDWARE_VERTEXPROCESSING | PLAT_CREATE_MIXED_VERTEXPROCESSING)) &&
        hardware)
        rank += 1.0f;
    if (hardware)
        rank += 0.1f;
    if (HasDisplayMode(combo->adapterInfo, combo->adapterFormat, optimal->pp.backBufferWidth,
                       optimal->pp.backBufferHeight))
        rank += 1.0f;
    rank += FormatCloseness(combo->backBufferFormat, optimal->pp.backBufferFormat);
    if (combo->backBufferFormat == combo->adapterFormat)
        rank += 0.1f;
    for (size_t i = 0; i < combo->multiSampleTypes.size(); i++)
        if (combo->multiSampleTypes[i] == optimal->pp.multiSampleType &&
            combo->multiSampleQualities[i] > optimal->pp.multiSampleQuality)
        {
            rank += 1.0f;
            break;
        }
    if (std::find(combo->depthStencilFormats.begin(), combo->depthStencilFormats.end(),
                  optimal->pp.autoDepthStencilFormat) != combo->depthStencilFormats.end())
        rank += 1.0f;
    if (HasRefresh(combo->adapterInfo, combo->adapterFormat, optimal->pp.fullScreenRefreshRate))
        rank += 1.0f;
    if (Contains(combo->presentIntervals, optimal->pp.presentationInterval))
        rank += 1.0f;
    return rank;
}

void BuildSettingsFromCombo(_DXUTDeviceSettings *out, const _DxutEnumDeviceSettingsCombo *combo,
                            const _DXUTDeviceSettings *in, const _DXUTMatchOptions *options)
{
    PlatD3d *d3d = dxut_enum->d3d;
    PlatD3dDisplayMode desktop = {};
    PlatD3dGetAdapterDisplayMode(d3d, combo->adapterOrdinal, &desktop);
    const PlatD3dCaps &caps = combo->deviceInfo->caps;
    bool hardware = (caps.devCaps & PLAT_DEVCAPS_HWTRANSFORMANDLIGHT) != 0;
    _DXUTDeviceSettings settings;
    memset(&settings, 0, sizeof(settings));
    settings.adapterOrdinal = combo->adapterOrdinal;
    settings.deviceType = combo->deviceType;
    settings.adapterFormat = combo->adapterFormat;
    settings.pp.windowed = combo->windowed ? 1 : 0;
    settings.pp.backBufferFormat = combo->backBufferFormat;

    const uint32_t processing = PLAT_CREATE_HARDWARE_VERTEXPROCESSING | PLAT_CREATE_MIXED_VERTEXPROCESSING |
                                PLAT_CREATE_SOFTWARE_VERTEXPROCESSING;
    if (options->vertexProcessing == DXUTMT_PRESERVE_INPUT)
        settings.behaviorFlags = in->behaviorFlags;
    else if (options->vertexProcessing == DXUTMT_IGNORE_INPUT)
        settings.behaviorFlags =
            hardware ? PLAT_CREATE_HARDWARE_VERTEXPROCESSING : PLAT_CREATE_SOFTWARE_VERTEXPROCESSING;
    else
    {
        settings.behaviorFlags = in->behaviorFlags;
        if (!hardware && (settings.behaviorFlags & (PLAT_CREATE_HARDWARE_VERTEXPROCESSING |
                                                    PLAT_CREATE_MIXED_VERTEXPROCESSING)))
        {
            settings.behaviorFlags &= ~(PLAT_CREATE_HARDWARE_VERTEXPROCESSING | PLAT_CREATE_MIXED_VERTEXPROCESSING);
            settings.behaviorFlags |= PLAT_CREATE_SOFTWARE_VERTEXPROCESSING;
        }
        if (!(settings.behaviorFlags & processing))
            settings.behaviorFlags |=
                hardware ? PLAT_CREATE_HARDWARE_VERTEXPROCESSING : PLAT_CREATE_SOFTWARE_VERTEXPROCESSING;
    }

    if (options->resolution == DXUTMT_PRESERVE_INPUT)
    {
        settings.pp.backBufferWidth = in->pp.backBufferWidth;
        settings.pp.backBufferHeight = in->pp.backBufferHeight;
    }
    else
    {
        uint32_t wantedWidth, wantedHeight;
        if (options->resolution == DXUTMT_CLOSEST_TO_INPUT && in->pp.backBufferWidth > 0)
        {
            wantedWidth = in->pp.backBufferWidth;
            wantedHeight = in->pp.backBufferHeight;
        }
        else if (combo->windowed)
        {
            wantedWidth = 640;
            wantedHeight = 480;
        }
        else
        {
            wantedWidth = desktop.width;
            wantedHeight = desktop.height;
        }
        settings.pp.backBufferWidth = wantedWidth;
        settings.pp.backBufferHeight = wantedHeight;
        if (combo->windowed)
        {
            // A window no larger than the desktop.
            if (desktop.width > 0 && settings.pp.backBufferWidth > desktop.width)
                settings.pp.backBufferWidth = desktop.width;
            if (desktop.height > 0 && settings.pp.backBufferHeight > desktop.height)
                settings.pp.backBufferHeight = desktop.height;
        }
        else
        {
            int64_t best = -1;
            for (const PlatD3dDisplayMode &mode : combo->adapterInfo->displayModes)
            {
                if (mode.format != combo->adapterFormat)
                    continue;
                int64_t distance = llabs((int64_t)mode.width - wantedWidth) + llabs((int64_t)mode.height - wantedHeight);
                if (best < 0 || distance < best)
                {
                    best = distance;
                    settings.pp.backBufferWidth = mode.width;
                    settings.pp.backBufferHeight = mode.height;
                    if (distance == 0)
                        break;
                }
            }
        }
    }

    if (options->backBufferCount == DXUTMT_PRESERVE_INPUT)
        settings.pp.backBufferCount = in->pp.backBufferCount;
    else if (options->backBufferCount == DXUTMT_IGNORE_INPUT)
        settings.pp.backBufferCount = 1;
    else
        settings.pp.backBufferCount = std::clamp<uint32_t>(in->pp.backBufferCount, 1, 3);

    if (in->pp.swapEffect != 0 && in->pp.swapEffect != PLAT_SWAPEFFECT_DISCARD)
    {
        settings.pp.multiSampleType = 0;
        settings.pp.multiSampleQuality = 0;
    }
    else if (options->multiSample == DXUTMT_PRESERVE_INPUT)
    {
        settings.pp.multiSampleType = in->pp.multiSampleType;
        settings.pp.multiSampleQuality = in->pp.multiSampleQuality;
    }
    else if (options->multiSample == DXUTMT_IGNORE_INPUT)
    {
        settings.pp.multiSampleType = 0;
        settings.pp.multiSampleQuality = 0;
    }
    else
    {
        int64_t best = -1;
        for (size_t i = 0; i < combo->multiSampleTypes.size(); i++)
        {
            int64_t distance = llabs((int64_t)combo->multiSampleTypes[i] - (int64_t)in->pp.multiSampleType);
            if (best < 0 || distance < best)
            {
                best = distance;
                settings.pp.multiSampleType = combo->multiSampleTypes[i];
                uint32_t levels = combo->multiSampleQualities[i];
                settings.pp.multiSampleQuality =
                    std::min(levels > 0 ? levels - 1 : 0, in->pp.multiSampleQuality);
            }
        }
    }

    if (options->swapEffect == DXUTMT_PRESERVE_INPUT)
        settings.pp.swapEffect = in->pp.swapEffect;
    else if (options->swapEffect == DXUTMT_IGNORE_INPUT)
        settings.pp.swapEffect = PLAT_SWAPEFFECT_DISCARD;
    else
        settings.pp.swapEffect = in->pp.swapEffect >= PLAT_SWAPEFFECT_DISCARD && in->pp.swapEffect <= PLAT_SWAPEFFECT_COPY
                                     ? in->pp.swapEffect
                                     : PLAT_SWAPEFFECT_DISCARD;

    PlatD3dFormat bestDepth = PLAT_FMT_UNKNOWN;
    int bestScore = -1;
    int channelBits = DxutColourChannelBits(combo->backBufferFormat);
    for (PlatD3dFormat format : combo->depthStencilFormats)
    {
        int depth = DxutDepthBits(format), stencil = DxutStencilBits(format);
        int inDepth = DxutDepthBits(in->pp.autoDepthStencilFormat);
        int inStencil = DxutStencilBits(in->pp.autoDepthStencilFormat);
        int score;
        if (options->depthFormat == DXUTMT_PRESERVE_INPUT)
            score = depth != inDepth ? 10000 : 0;
        else if (options->depthFormat == DXUTMT_IGNORE_INPUT)
            score = abs(depth - 4 * channelBits);
        else
            score = abs(depth - inDepth);
        if (options->stencilFormat == DXUTMT_PRESERVE_INPUT)
            score += stencil != inStencil ? 10000 : 0;
        else if (options->stencilFormat == DXUTMT_IGNORE_INPUT)
            score += stencil;
        else
            score += abs(stencil - inStencil);
        if (bestScore < 0 || score < bestScore)
        {
            bestScore = score;
            bestDepth = format;
        }
    }
    settings.pp.enableAutoDepthStencil = bestDepth != PLAT_FMT_UNKNOWN ? 1 : 0;
    settings.pp.autoDepthStencilFormat = bestDepth;

    if (options->presentFlags == DXUTMT_IGNORE_INPUT)
        settings.pp.flags = 0;
    else
        settings.pp.flags = in->pp.flags;
    if (options->presentFlags != DXUTMT_PRESERVE_INPUT && bestDepth != PLAT_FMT_UNKNOWN)
        settings.pp.flags |= PLAT_PRESENTFLAG_DISCARD_DEPTHSTENCIL;

    if (combo->windowed)
        settings.pp.fullScreenRefreshRate = 0;
    else if (options->refreshRate == DXUTMT_PRESERVE_INPUT)
        settings.pp.fullScreenRefreshRate = in->pp.fullScreenRefreshRate;
    else
    {
        uint32_t target =
            options->refreshRate == DXUTMT_CLOSEST_TO_INPUT ? in->pp.fullScreenRefreshRate : desktop.refreshRate;
        settings.pp.fullScreenRefreshRate = 0;
        if (target > 0)
        {
            int64_t best = -1;
            for (const PlatD3dDisplayMode &mode : combo->adapterInfo->displayModes)
            {
                if (mode.format != combo->adapterFormat || mode.width != settings.pp.backBufferWidth ||
                    mode.height != settings.pp.backBufferHeight)
                    continue;
                int64_t distance = llabs((int64_t)mode.refreshRate - target);
                if (best < 0 || distance < best)
                {
                    best = distance;
                    settings.pp.fullScreenRefreshRate = mode.refreshRate;
                    if (distance == 0)
                        break;
                }
            }
        }
    }

    if (options->presentInterval == DXUTMT_PRESERVE_INPUT)
        settings.pp.presentationInterval = in->pp.presentationInterval;
    else if (options->presentInterval == DXUTMT_CLOSEST_TO_INPUT &&
             Contains(combo->presentIntervals, in->pp.presentationInterval))
        settings.pp.presentationInterval = in->pp.presentationInterval;
    else
        settings.pp.presentationInterval = IntervalForVerticalSync();
    settings.pp.deviceWindow = in->pp.deviceWindow;
    *out = settings;
}
} // namespace

PlatResult DXUTFindValidDeviceSettings(_DXUTDeviceSettings *out, const _DXUTDeviceSettings *in,
                                       const _DXUTMatchOptions *options)
{
    if (!out || !in)
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "DXUTFindValidDeviceSettings", "Invalid Arguments");
        return PLAT_E_INVALIDARG;
    }
    if (!DxutEnumerationIsDone())
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "DXUTFindValidDeviceSettings", "Enumeration not done");
        return PLAT_E_FAIL;
    }
    _DXUTMatchOptions ignoreAll = {};
    if (!options)
        options = &ignoreAll;
    _DXUTDeviceSettings optimal;
    BuildOptimalSettings(&optimal, in, options);
    const std::vector<_DxutEnumAdapterInfo *> *adapters = nullptr;
    if (!DxutEnumerationGetAdapterInfoListNew(&adapters))
    {
        DebugError(ENG_FUNC, "Could not get adapter list");
        return PLAT_E_FAIL;
    }
    if (adapters->empty())
        return DXUTERR_NOCOMPATIBLEDEVICES;
    const _DxutEnumDeviceSettingsCombo *best = nullptr;
    float bestRank = -1.0f;
    for (const _DxutEnumAdapterInfo *adapter : *adapters)
    {
        PlatD3dDisplayMode desktop = {};
        PlatD3dGetAdapterDisplayMode(dxut_enum->d3d, adapter->adapterOrdinal, &desktop);
        for (const _DxutEnumDeviceInfo *device : adapter->deviceInfos)
            for (const _DxutEnumDeviceSettingsCombo *combo : device->combos)
            {
                if (combo->windowed && combo->adapterFormat != desktop.format)
                    continue;
                if (!ComboKeepsPreservedInputs(combo, in, options))
                    continue;
                float rank = RankCombo(combo, &optimal, desktop);
                if (rank > bestRank)
                {
                    bestRank = rank;
                    best = combo;
                }
            }
    }
    if (!best)
        return DXUTERR_NOCOMPATIBLEDEVICES;
    BuildSettingsFromCombo(out, best, in, options);
    return PLAT_D3D_OK;
}
