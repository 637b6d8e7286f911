// The DX9 back end's life cycle: the device object and device made from the start-up
// settings through enumeration and settings matching, the frame (begin, end, present),
// the wait for the graphics processor, the lost-device rule (the device is re-created
// whole once it can be and five seconds have passed) and destruction.
//
// Sections: module state, construction, creation, frame, GPU sync, destruction.
#include "EngDeviceDX9.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngTextureDX9.h"
#include "EngUtilsDX9.h"
#include "EngGlobals.h"

namespace
{
struct
{
    PlatD3d *d3d;
    PlatD3dDevice *device;
    PlatD3dDeviceType deviceType;
    PlatD3dFormat backBufferFormat;
    EngDeviceDX9 *current;
    bool allowNoWindow;
    // GPU sync: one event query, two small surfaces and the one to fill next.
    PlatD3dQuery *query;
    PlatD3dSurface *surfaces[2];
    int surfaceIndex;
    double eventWaitLimit;
} s_dx9 = {nullptr, nullptr, PLAT_DEVTYPE_HAL, PLAT_FMT_UNKNOWN, nullptr, false, nullptr, {nullptr, nullptr}, 0,
           0.25};

EngWindow *MainWindow()
{
    return EngDeviceWindowHost()->getMainWindow();
}

// The window's anti-aliasing choice, or none.
void ApplyWindowMultisample(PlatD3dPresentParameters *pp)
{
    if (MainWindow() && EngScreenSettings.multisampleType != 0)
    {
        pp->multiSampleType = (uint32_t)EngScreenSettings.multisampleType;
        pp->multiSampleQuality = (uint32_t)EngScreenSettings.multisampleQuality;
        pp->swapEffect = PLAT_SWAPEFFECT_DISCARD;
    }
    else
    {
        pp->multiSampleType = 0;
        pp->multiSampleQuality = 0;
    }
}

void DumpDevice(const char *title, const _DXUTDeviceSettings *settings)
{
    const char *pad = "                         ";
    const PlatD3dPresentParameters &pp = settings->pp;
    DebugInfo("[DxDevices] [%s] - Device Ouput:", title);
    DebugInfo("[DxDevices]     Adapter: %u  Type: %u  Flags: %u", settings->adapterOrdinal,
              (unsigned)settings->deviceType, settings->behaviorFlags);
    DebugInfo("[DxDevices]     Create Parms:");
    DebugInfo("[DxDevices]%sBBWidth    %u", pad, pp.backBufferWidth);
    DebugInfo("[DxDevices]%sBBHeight   %u", pad, pp.backBufferHeight);
    DebugInfo("[DxDevices]%sBBFormat   %u", pad, (unsigned)pp.backBufferFormat);
    DebugInfo("[DxDevices]%sBBCount    %u", pad, pp.backBufferCount);
    DebugInfo("[DxDevices]%sMST        %u", pad, pp.multiSampleType);
    DebugInfo("[DxDevices]%sMSQ        %u", pad, pp.multiSampleQuality);
    DebugInfo("[DxDevices]%sSwapEffect %u", pad, pp.swapEffect);
    DebugInfo("[DxDevices]%sWindowed   %d", pad, pp.windowed);
    DebugInfo("[DxDevices]%sEADS       %d", pad, pp.enableAutoDepthStencil);
    DebugInfo("[DxDevices]%sADS Format %u", pad, (unsigned)pp.autoDepthStencilFormat);
    DebugInfo("[DxDevices]%sFlags      0x%x", pad, pp.flags);
    DebugInfo("[DxDevices]%sFSRR       %u", pad, pp.fullScreenRefreshRate);
    DebugInfo("[DxDevices]%sPInterval  0x%x", pad, pp.presentationInterval);
    DebugInfo("[DxDevices]");
}

bool DoSyncUsingLockedSurfaces(bool release)
{
    if (release)
    {
        for (PlatD3dSurface *&surface : s_dx9.surfaces)
        {
            if (surface && s_dx9.device)
                PlatD3dSurfaceRelease(surface);
            surface = nullptr;
        }
        return true;
    }
    for (int i = 0; i < 2; i++)
    {
        if (s_dx9.surfaces[i])
            continue;
        PlatD3dFormat format;
        EngUtilsDX9_GetSupportedSurfaceFormat(&format, true);
        PlatResult result = PlatD3dDeviceCreateOffscreenPlainSurface(s_dx9.device, 16, 16, format, PLAT_POOL_DEFAULT,
                                                                    &s_dx9.surfaces[i]);
        if (!EngUtilsDX9_CheckResult(ENG_FUNC, "CreateOffscreenPlainSurface(1)", result))
        {
            EngUtilsDX9_GetSupportedSurfaceFormat(&format, false);
            result = PlatD3dDeviceCreateOffscreenPlainSurface(s_dx9.device, 16, 16, format, PLAT_POOL_DEFAULT,
                                                             &s_dx9.surfaces[i]);
            EngUtilsDX9_CheckResult(ENG_FUNC, "CreateOffscreenPlainSurface", result);
        }
        if (!s_dx9.surfaces[i])
        {
            DoSyncUsingLockedSurfaces(true);
            DebugError(ENG_FUNC, "Creation of surface %d failed", i);
            return false;
        }
    }
    PlatD3dSurface *fill = s_dx9.surfaces[s_dx9.surfaceIndex];
    if (!fill)
    {
        DebugError(ENG_FUNC, "Internal Error <%d>", s_dx9.surfaceIndex);
        return false;
    }
    EngUtilsDX9_CheckResult(ENG_FUNC, "ColorFill", PlatD3dDeviceColorFill(s_dx9.device, fill, nullptr, 0));
    s_dx9.surfaceIndex = 1 - s_dx9.surfaceIndex;
    // Reading the surface filled a frame ago waits until the processor got that far.
    PlatD3dLockedRect locked;
    if (PlatD3dSurfaceLockRect(s_dx9.surfaces[s_dx9.surfaceIndex], &locked, nullptr, PLAT_LOCK_READONLY) ==
        PLAT_D3D_OK)
        PlatD3dSurfaceUnlockRect(s_dx9.surfaces[s_dx9.surfaceIndex]);
    return true;
}

bool DoSyncUsingEvents(bool release)
{
    if (release)
    {
        if (s_dx9.query)
        {
            if (!s_dx9.device)
                DebugError(ENG_FUNC, "Could not cleanup as device not ok");
            else
                PlatD3dQueryRelease(s_dx9.query);
        }
        s_dx9.query = nullptr;
        return true;
    }
    if (!s_dx9.query)
    {
        PlatResult result = PlatD3dDeviceCreateQuery(s_dx9.device, PLAT_QUERYTYPE_EVENT, &s_dx9.query);
        if (!EngUtilsDX9_CheckResult(ENG_FUNC, "CreateQuery", result))
            return false;
        if (!s_dx9.query)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
            return false;
        }
    }
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "Issue", PlatD3dQueryIssue(s_dx9.query, PLAT_ISSUE_END)))
    {
        PlatD3dQueryRelease(s_dx9.query);
        s_dx9.query = nullptr;
        return false;
    }
    // Wait for the processor, but not for ever: a driver that never signals makes this
    // method fail, and the caller falls back.
    double deadline = EngMiscGetClock_PC() + s_dx9.eventWaitLimit;
    uint32_t done = 0;
    // The wait sleeps: a software rasteriser finishing the frame on its own threads
    // needs the processor this thread would otherwise spin on.
    while (PlatD3dQueryGetData(s_dx9.query, &done, sizeof(done), PLAT_GETDATA_FLUSH) == PLAT_D3D_FALSE)
    {
        double left = deadline - EngMiscGetClock_PC();
        if (left <= 0.0)
        {
            DebugError(ENG_FUNC, "Event query not done after %.2f s", s_dx9.eventWaitLimit);
            return false;
        }
        if (PlatD3dQueryWait(s_dx9.query, left) == PLAT_D3D_OK)
            break;
    }
    return true;
}

bool DoSyncGpuWithCpu(int method, bool release)
{
    if (method == 0)
    {
        bool ok = DoSyncUsingLockedSurfaces(release);
        if (!ok)
            DebugError(ENG_FUNC, "DoSyncGpuWithCpuUsingLockedSurfaces() failed");
        return ok;
    }
    if (method == 1)
    {
        bool ok = DoSyncUsingEvents(release);
        if (!ok)
            DebugError(ENG_FUNC, "DoSyncGpuWithCpuUsingEvents() failed");
        return ok;
    }
    return false;
}
} // namespace

EngDeviceDX9 *EngDeviceDX9GetCurrent()
{
    return s_dx9.current;
}

PlatD3dDevice *EngDeviceDX9GetD3dDevice()
{
    return s_dx9.device;
}

PlatD3d *EngDeviceDX9GetD3d()
{
    return s_dx9.d3d;
}

void EngDeviceDX9AllowNoWindow(bool allow)
{
    s_dx9.allowNoWindow = allow;
}

void EngDeviceDX9SetEventWaitLimit(double seconds)
{
    s_dx9.eventWaitLimit = seconds;
}

bool EngDeviceDX9IsDeviceAcceptableCB(const PlatD3dCaps *caps, PlatD3dFormat adapterFormat,
                                      PlatD3dFormat backBufferFormat, bool windowed)
{
    if (!caps || !s_dx9.d3d)
        return false;
    return PlatD3dCheckDeviceFormat(s_dx9.d3d, caps->adapterOrdinal, caps->deviceType, adapterFormat,
                                    PLAT_USAGE_QUERY_POSTPIXELSHADER_BLENDING, PLAT_RTYPE_TEXTURE,
                                    backBufferFormat) == PLAT_D3D_OK;
}

// ---- Construction ----------------------------------------------------------------------

EngDeviceDX9::EngDeviceDX9(EngDevice *deviceOwner)
    : owner(deviceOwner), parentWindow(nullptr), created(0), lost(0), lossTime(0.0), settings(nullptr),
      stateBytes{}, backBufferDesc(), caps()
{
    EngWindow *window = owner ? owner->GetOwner() : nullptr;
    parentWindow = window ? (void *)EngDeviceWindowHost()->getOsWindow(window) : nullptr;
    InitDefaults();
    s_dx9.current = this;
}

EngDeviceDX9::~EngDeviceDX9()
{
    Destroy();
    if (s_dx9.current == this)
        s_dx9.current = nullptr;
}

// ---- Creation --------------------------------------------------------------------------

bool EngDeviceDX9::Create(bool windowed, int width, int height, int depth, int refresh)
{
    if (!SetupCreate(windowed, width, height, depth, refresh))
        return false;
    RestoreRenderStates();
    EngTextureCursorLoad_DX9(owner ? owner->GetOwner() : nullptr);
    return true;
}

bool EngDeviceDX9::SetupCreate(bool windowed, int width, int height, int depth, int refresh)
{
    if (!created || !s_dx9.d3d)
    {
        if (!PlatD3dxCheckVersion(PLAT_D3D_SDK_VERSION, 23))
        {
            if (!PlatD3dxCheckVersion(PLAT_D3D_SDK_VERSION_OLD, 23))
            {
                EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Error", "Incorrect DirectX Version");
                return false;
            }
            DebugInfo("[DxDevices] Init - Warning - Using DirectX V9.0b");
        }
        if (!s_dx9.d3d)
        {
            s_dx9.d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
            if (!s_dx9.d3d)
            {
                s_dx9.d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION_OLD);
                if (s_dx9.d3d)
                    DebugInfo("[DxDevices] Init - Warning - Created DirectX V9.0b");
            }
            if (!s_dx9.d3d)
            {
                DebugError(ENG_FUNC, "%s", PlatD3dGetErrorText());
                EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Error", "Could not create Direct3D Object");
                return false;
            }
        }
        created = 1;
        DebugInfo("[DxDevices] Init - DONE");
    }
    if (!DxutEnumerationIsDone())
    {
        if (!DxutEnumerationInit() ||
            DxutEnumerationDoEnumerate(s_dx9.d3d, EngDeviceDX9IsDeviceAcceptableCB) != PLAT_D3D_OK)
        {
            DebugError(ENG_FUNC, "Enumeration failed");
            return false;
        }
    }
    bool fullScreenDepth = depth >= 1 && !windowed;
    _DXUTMatchOptions options = {};
    options.adapterOrdinal = DXUTMT_PRESERVE_INPUT;
    options.deviceType = DXUTMT_IGNORE_INPUT;
    options.windowed = DXUTMT_PRESERVE_INPUT;
    options.adapterFormat = fullScreenDepth ? DXUTMT_CLOSEST_TO_INPUT : DXUTMT_IGNORE_INPUT;
    options.vertexProcessing = DXUTMT_IGNORE_INPUT;
    options.resolution = DXUTMT_CLOSEST_TO_INPUT;
    options.backBufferFormat = DXUTMT_IGNORE_INPUT;
    options.backBufferCount = DXUTMT_IGNORE_INPUT;
    options.multiSample = DXUTMT_PRESERVE_INPUT;

    _DXUTDeviceSettings wanted;
    memset(&wanted, 0, sizeof(wanted));
    wanted.adapterOrdinal = 0;
    wanted.pp.backBufferWidth = (uint32_t)(width > 0 ? width : 0);
    wanted.pp.backBufferHeight = (uint32_t)(height > 0 ? height : 0);
    wanted.pp.windowed = windowed ? 1 : 0;
    ApplyWindowMultisample(&wanted.pp);
    if (fullScreenDepth)
        wanted.adapterFormat = depth == 32 ? PLAT_FMT_X8R8G8B8 : depth == 16 ? PLAT_FMT_R5G6B5 : PLAT_FMT_UNKNOWN;

    _DXUTDeviceSettings found;
    if (DXUTFindValidDeviceSettings(&found, &wanted, &options) != PLAT_D3D_OK)
    {
        DumpDevice("CreateDevice - FindValidDevice (failed)", &wanted);
        DebugError(ENG_FUNC, "Could not find valid settings");
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "EngDeviceDX9::Create", "Could not find valid settings");
        return false;
    }
    if (!DoChangeDevice(&found))
    {
        DebugError(ENG_FUNC, "Could not change device");
        return false;
    }
    DebugInfo("[DxDevices] CreateDevice - DONE");
    return true;
}

bool EngDeviceDX9::DoChangeDevice(const _DXUTDeviceSettings *newSettings)
{
    DebugInfo("[DxDevices] ChangeDevice - START");
    const char *caption = "EngDeviceDX9::DoChangeDevice";
    if (!s_dx9.d3d)
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, caption, "No Direct3D Object");
        return false;
    }
    if (!parentWindow && !s_dx9.allowNoWindow)
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, caption, "No parent window");
        return false;
    }
    _DXUTDeviceSettings *copy = (_DXUTDeviceSettings *)EngMalloc(sizeof(_DXUTDeviceSettings), ENG_FUNC, true);
    if (!copy)
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, caption, "No memory");
        return false;
    }
    *copy = *newSettings;
    _DXUTDeviceSettings *previous = settings;
    settings = copy;
    Cleanup3DEnvironment(false);
    DebugInfo("[DxDevices] ChangeDevice - create - START");
    if (!previous && settings->deviceType == PLAT_DEVTYPE_REF)
        EngMiscShowPopupMessage(ENG_POPUP_WARNING, nullptr, "Switching to sofware renderer and no hardware renderer found.");
    ApplyWindowMultisample(&settings->pp);
    settings->pp.deviceWindow = parentWindow;
    DumpDevice("ChangeDevice - CreateDevice", settings);

    PlatResult result = PlatD3dCreateDevice(s_dx9.d3d, settings->adapterOrdinal, settings->deviceType, parentWindow,
                                            settings->behaviorFlags, &settings->pp, &s_dx9.device);
    if (result != PLAT_D3D_OK)
    {
        if (result == PLAT_D3DERR_OUTOFVIDEOMEMORY)
        {
            if (settings->pp.multiSampleType != 0)
                EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Cannot Create Direct 3D Device",
                                        "Try turning off anti aliasing, or running in a lower resolution.");
            else
                EngMiscShowPopupMessage(ENG_POPUP_ERROR, caption, "Could not create the Direct3D device");
        }
        else
        {
            EngUtilsDX9_CheckResult(ENG_FUNC, "CreateDevice", result);
            DebugError(ENG_FUNC, "%s", PlatD3dGetErrorText());
            EngMiscShowPopupMessage(ENG_POPUP_ERROR, caption, "Error creating the Direct3D device");
        }
        EngFree(previous, false, ENG_FUNC);
        s_dx9.device = nullptr;
        return false;
    }
    bool multisample = settings->pp.multiSampleType != 0;
    EngUtilsDX9_CheckResult("DXUTChangeDevice", multisample ? "SetRenderState(MS-On)" : "SetRenderState(MS-Off)",
                            PlatD3dDeviceSetRenderState(s_dx9.device, PLAT_RS_MULTISAMPLEANTIALIAS, multisample));
    s_dx9.deviceType = settings->deviceType;
    s_dx9.backBufferFormat = settings->pp.backBufferFormat;
    DebugInfo("[DxDevices] GL renderer: %s", PlatD3dDeviceGetRendererText(s_dx9.device));
    EngWindow *window = owner ? owner->GetOwner() : nullptr;
    if (window)
    {
        char alpha = 0;
        EngDeviceWindowHost()->setScreenSize(
            window, settings->pp.windowed ? 1 : 0, (int)settings->pp.backBufferWidth,
            (int)settings->pp.backBufferHeight,
            EngUtilsDX9_GetBitdepthFromFormat(settings->pp.backBufferFormat, &alpha, true),
            (int)settings->pp.fullScreenRefreshRate);
    }
    DebugInfo("[DxDevices] ChangeDevice - create - DONE");
    DebugInfo("[DxDevices] ChangeDevice - Initialise 3D - START");
    if (!Init3DEnvironment())
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, caption, "Init3DEnvironment() failed");
        EngFree(previous, false, ENG_FUNC);
        return false;
    }
    _DxutEnumAdapterInfo *adapter = nullptr;
    if (!DxutEnumerationGetAdapterInfoNew(settings->adapterOrdinal, &adapter))
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, caption, "DxutEnumerationGetAdapterInfoNew() failed");
        EngFree(previous, false, ENG_FUNC);
        return false;
    }
    DebugInfo("[DxDevices] ChangeDevice - Initialise 3D - DONE");
    EngFree(previous, false, ENG_FUNC);
    DebugInfo("[DxDevices] ChangeDevice - DONE");
    return true;
}

bool EngDeviceDX9::Init3DEnvironment()
{
    if (!s_dx9.device)
    {
        DebugError(ENG_FUNC, "No Device");
        return false;
    }
    if (!parentWindow && !s_dx9.allowNoWindow)
    {
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "EngDeviceDX9::Init3DEnvironment", "No parent window");
        return false;
    }
    if (!EngUtilsDX9_CheckResult("DXUTPrepareDevice", "GetBackBuffer",
                                 PlatD3dDeviceGetBackBufferDesc(s_dx9.device, 0, &backBufferDesc)))
        return false;
    return EngUtilsDX9_CheckResult("DXUTPrepareDevice", "GetDeviceCaps",
                                   PlatD3dDeviceGetDeviceCaps(s_dx9.device, &caps));
}

// ---- Frame -------------------------------------------------------------------------------

bool EngDeviceDX9::IsReady()
{
    return created && s_dx9.d3d;
}

bool EngDeviceDX9::BeginRendering()
{
    if (!s_dx9.device)
        return false;
    if (lost)
    {
        PlatResult level = PlatD3dDeviceTestCooperativeLevel(s_dx9.device);
        EngWindow *window = MainWindow();
        if (level != PLAT_D3DERR_DEVICELOST && window && EngMainDevice && lossTime + 5.0 < EngFrameTiming.currentTime)
        {
            DebugInfo("Re-creating device that was lost.");
            lossTime = 0.0;
            lost = 0;
            EngDeviceWindowHost()->requestDeviceRecreation(window);
        }
        return false;
    }
    if (rendering)
    {
        DebugError(ENG_FUNC, "Already rendering");
        EndRendering();
    }
    if (!EngUtilsDX9_CheckResult(ENG_FUNC, "BeginScene", PlatD3dDeviceBeginScene(s_dx9.device)))
        return false;
    rendering = 1;
    return true;
}

bool EngDeviceDX9::BeginRenderingIfNotRendering()
{
    if (rendering)
        return false;
    BeginRendering();
    return true;
}

void EngDeviceDX9::EndRendering()
{
    if (!s_dx9.device)
        return;
    if (!rendering)
    {
        DebugError(ENG_FUNC, "Not rendering");
        return;
    }
    PlatD3dDeviceEndScene(s_dx9.device);
    rendering = 0;
}

void EngDeviceDX9::SwapBuffers()
{
    if (!s_dx9.device)
    {
        DebugError(ENG_FUNC, "No device");
        return;
    }
    PlatResult result = PlatD3dDevicePresent(s_dx9.device);
    if (result == PLAT_D3D_OK)
        return;
    if (result == PLAT_D3DERR_DRIVERINTERNALERROR)
        DebugError(ENG_FUNC, "Internal Driver Error");
    else if (result == PLAT_D3DERR_DEVICELOST)
    {
        DebugInfo("Warning: Device Lost...");
        lost = 1;
        if (lossTime == 0.0)
            lossTime = EngFrameTiming.currentTime;
    }
    else
        DebugError(ENG_FUNC, "Unexpected error.");
}

// ---- GPU sync --------------------------------------------------------------------------

void EngDeviceDX9::SyncWithGPU()
{
    if (!s_dx9.device)
        return;
    int method = EngDeviceGetGpuSyncMethod();
    if (method != 0 && method != 1)
        return;
    if (DoSyncGpuWithCpu(method, false))
        return;
    DoSyncGpuWithCpu(method, true);
    DebugError(ENG_FUNC, "Sync method %d failed", method);
    if (EngDeviceGetGpuSyncFallBack())
    {
        method = 1 - method;
        // The other method gets one chance; a second failure turns syncing off.
        EngDeviceSetGpuSync(true, method, false);
        DebugInfo("EngDeviceDX9::SyncWithGPU - Trying method %d ...", method);
        if (DoSyncGpuWithCpu(method, false))
            return;
        DoSyncGpuWithCpu(method, true);
        DebugError(ENG_FUNC, "Sync method %d failed", method);
    }
    EngDeviceSetGpuSync(false, 0, false);
}

// ---- Destruction ----------------------------------------------------------------------

void EngDeviceDX9::Destroy()
{
    DoSyncGpuWithCpu(0, true);
    DoSyncGpuWithCpu(1, true);
    EngDimReset();
    EngTextureCursorRelease_DX9(owner ? owner->GetOwner() : nullptr);
    Destroy3DEnvironment();
    created = 0;
}

void EngDeviceDX9::Destroy3DEnvironment()
{
    Cleanup3DEnvironment(true);
    DxutEnumerationCleanup();
    if (s_dx9.device)
    {
        PlatD3dDeviceRelease(s_dx9.device);
        s_dx9.device = nullptr;
    }
    if (s_dx9.d3d)
    {
        PlatD3dRelease(s_dx9.d3d);
        s_dx9.d3d = nullptr;
    }
}

void EngDeviceDX9::Cleanup3DEnvironment(bool freeSettings)
{
    if (!s_dx9.device)
        return;
    DebugInfo("[DxDevices] Cleanup - START");
    memset(stateBytes, 0, sizeof(stateBytes));
    DebugInfo("[DxDevices] Cleanup - Releasing - START");
    // Every texture, buffer or query still alive holds a reference.
    uint32_t left = PlatD3dDeviceRelease(s_dx9.device);
    if (left > 0)
        DebugError(ENG_FUNC, "Graphics objects not released [%u]", left);
    DebugInfo("[DxDevices] Cleanup - Releasing - DONE");
    s_dx9.device = nullptr;
    if (freeSettings)
    {
        EngFree(settings, false, ENG_FUNC);
        settings = nullptr;
    }
    memset(&backBufferDesc, 0, sizeof(backBufferDesc));
    memset(&caps, 0, sizeof(caps));
    DebugInfo("[DxDevices] Cleanup - DONE");
}
