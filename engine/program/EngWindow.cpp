// The main window's portable part: creation parameters, the published screen state,
// the graphics device's life cycle with the program's callbacks, full-screen toggles,
// resolution changes, activation and resizing. The OS window and its messages are in
// EngWindow_PC.cpp.
//
// Sections: globals and construction; screen state; device life cycle; toggles and
// resolution changes; activation and size.
#include "EngWindow.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngResModes.h"

// ---- Globals and construction -----------------------------------------------------------

// The window as the device sees it.
namespace
{
EngWindow *HostMainWindow()
{
    return eng_main_program ? eng_main_program->GetMainWindow() : nullptr;
}

PlatWindow *HostOsWindow(EngWindow *window)
{
    return window->GetOSWindow();
}

void HostSetScreenSize(EngWindow *window, int windowed, int width, int height, int depth, int refresh)
{
    window->SetScreenSize(windowed, width, height, depth, refresh);
}

void HostRequestDeviceRecreation(EngWindow *window)
{
    window->RequestDeviceRecreation();
}

void HostRestoreSystemCursor(EngWindow *window)
{
    window->HideMouseCursor();
    window->ShowMouseCursor();
}

_EngTextureCursor *HostTextureCursor(EngWindow *window)
{
    return &window->textureCursor;
}

const _EngDeviceWindowHost kWindowHost = {HostMainWindow,          HostOsWindow,        HostSetScreenSize,
                                          HostRequestDeviceRecreation, HostRestoreSystemCursor, HostTextureCursor};
} // namespace

void EngWindowSetDefaultParms(_EngCreateWindowParms *parms)
{
    if (!parms)
        return;
    memset(parms, 0, sizeof(*parms));
    parms->x = -1;
    parms->y = -1;
    parms->width = 1024;
    parms->height = 768;
    parms->depth = 32;
    parms->windowed = 1;
    parms->refresh = 60;
    EngSafeStrcpy(parms->className, "EngineClass", sizeof(parms->className));
}

EngWindow::EngWindow(EngProgram *owner, const char *windowTitle)
    : textureCursor(), program(owner), osWindow(nullptr), device(nullptr), style(0), parms(), created(0),
      active(1), recreating(0), recreateRequest(0), resolutionPending(0), resolutionCallback(nullptr),
      resolutionUser(0), minimised(0), maximised(0), mouseOutside(1), leftHeldOnLeave(0), releasedOutside(0),
      lastCursorX(-1), lastCursorY(-1), lastDoubleClickTime(0.0), keepAspect{0, 0}, windowedWidth(1024),
      windowedHeight(768), modes(nullptr)
{
    EngDeviceSetWindowHost(&kWindowHost);
    EngSafeStrcpy(title, windowTitle ? windowTitle : "", sizeof(title));
    EngWindowSetDefaultParms(&parms);
    for (int32_t &value : oneShot)
        value = -1;
    textureCursor.visible = 1;
}

EngWindow::~EngWindow()
{
    Destroy();
    delete modes;
}

signed char EngWindow::Create(_EngCreateWindowParms *createParms)
{
    if (!createParms)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    signed char result = program ? program->PreCreateWindowCB(createParms) : 1;
    if (result == 0)
    {
        DebugError(ENG_FUNC, "PreCreateWindowCB() failed");
        return 0;
    }
    if (result < 0)
        return result;
    parms = *createParms;
    if (parms.windowed)
    {
        windowedWidth = parms.width;
        windowedHeight = parms.height;
    }
    if (!CreateOSWindow())
        return 0;
    created = 1;
    EngScreenSettings.multisampleLevel = parms.multisampleLevel;
    EngScreenSettings.multisampleType = parms.multisampleType;
    EngScreenSettings.multisampleQuality = parms.multisampleQuality;
    EngScreenSettings.verticalSync = parms.verticalSync;
    if (program)
        program->SetMainWindow(this);
    return 1;
}

void EngWindow::Destroy()
{
    DestroyGraphicsDevice();
    DestroyOSWindow();
    created = 0;
}

// ---- Screen state ----------------------------------------------------------------------------

void EngWindow::SetKeepAspect(bool width, bool height)
{
    keepAspect[0] = width ? 1 : 0;
    keepAspect[1] = height ? 1 : 0;
    SetScreenSize(-1, 0, 0, 0, 0);
}

void EngWindow::SetScreenSize(int windowed, int width, int height, int depth, int refresh)
{
    _EngScreenSettings &screen = EngScreenSettings;
    if (windowed == 0 || windowed == 1)
        screen.windowed = (uint8_t)windowed;
    if (width >= 1)
        screen.width = width;
    if (height >= 1)
        screen.height = height;
    if (depth >= 1)
        screen.depth = depth;
    if (refresh >= 1)
        screen.refresh = refresh;
    if (screen.width < 1)
        screen.width = 1;
    if (screen.height < 1)
        screen.height = 1;

    float w = (float)screen.width, h = (float)screen.height;
    screen.portrait = screen.height > screen.width ? 1 : 0;
    screen.scaleToScreenX = w / 640.0f;
    screen.scaleToScreenY = h / 480.0f;
    screen.scaleToVirtualX = 640.0f / w;
    screen.scaleToVirtualY = 480.0f / h;
    screen.aspectWidthOverHeight = w / h;
    screen.aspectHeightOverWidth = h / w;
    float widthCorrection = (h / w) * 1.3333334f;
    screen.widthCorrection = keepAspect[0] || widthCorrection > 1.0f ? 1.0f : widthCorrection;
    float heightCorrection = w / h;
    screen.heightCorrection = keepAspect[1] || heightCorrection > 1.0f ? 1.0f : heightCorrection;
    screen.heightCorrection2 = screen.heightCorrection;
    EngMainSetOrientation(screen.width < screen.height ? ENG_ORIENTATION_PORTRAIT : ENG_ORIENTATION_LANDSCAPE);
    if (device && device->IsCreated())
        device->UpdateViewportAfterResize();
}

// ---- Device life cycle ---------------------------------------------------------------------------

signed char EngWindow::CreateGraphicsDevice()
{
    if (!program)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return 0;
    }
    if (!recreating)
    {
        signed char result = program->PreDeviceInitCB();
        if (result == 0)
        {
            DebugError(ENG_FUNC, "PreDeviceInitCB() failed");
            return 0;
        }
        if (result < 0)
            return result;
    }
    if (!device)
        device = new EngDevice(this);
    if (!DoCreateGraphicsDevice(true))
    {
        DebugError(ENG_FUNC, "DoCreateGraphicsDevice() failed");
        return 0;
    }
    if (!recreating)
    {
        signed char result = program->PostDeviceInitCB();
        if (result == 0)
        {
            DebugError(ENG_FUNC, "PostDeviceInitCB() failed");
            return 0;
        }
        if (result < 0)
            return result;
        program->SetPostDeviceInitDone();
    }
    return 1;
}

bool EngWindow::DoCreateGraphicsDevice(bool createDevice)
{
    if (createDevice)
    {
        if (device && device->IsCreated())
        {
            DebugError(ENG_FUNC, "Device already created");
            return true;
        }
        const _EngScreenSettings &screen = EngScreenSettings;
        if (!device || !device->Create(screen.windowed != 0, screen.width, screen.height, screen.depth,
                                       screen.refresh))
            return false;
    }
    if (!device || !device->IsCreated())
    {
        DebugError(ENG_FUNC, "No device.");
        return false;
    }
    signed char result = program->PreCreateGraphicsObjectsCB();
    if (result < 1)
    {
        if (result == 0)
            DebugError(ENG_FUNC, "PreCreateGraphicsObjectsCB() failed");
        return false;
    }
    if (!program->CreateGraphicsObjectsCB())
    {
        DebugError(ENG_FUNC, "CreateGraphicsObjectsCB() failed");
        return false;
    }
    result = program->PostCreateGraphicsObjectsCB();
    if (result < 1)
    {
        if (result == 0)
            DebugError(ENG_FUNC, "PostCreateGraphicsObjectsCB() failed");
        return false;
    }
    program->AfterGraphicsObjectsCreatedCB();
    return true;
}

bool EngWindow::DoDestroyGraphicsDevice(bool destroyDevice)
{
    if (!device)
    {
        DebugError(ENG_FUNC, "No device");
        return false;
    }
    program->PreReleaseGraphicsObjectsCB();
    program->ReleaseGraphicsObjectsCB();
    if (destroyDevice)
        device->Destroy();
    program->PostReleaseGraphicsObjectsCB();
    return true;
}

void EngWindow::DestroyGraphicsDevice()
{
    // Nothing to do for a device that was never made (or is already gone).
    if (!device)
        return;
    if (!recreating && program)
        program->PreDestroyDeviceCB();
    if (device->IsCreated())
        DoDestroyGraphicsDevice(true);
    delete device;
    device = nullptr;
    if (!recreating && program)
        program->PostDestroyDeviceCB();
    mouseOutside = 1;
}

bool EngWindow::DoRecreateDevice(int deviceType)
{
    if (!device)
    {
        DebugError(ENG_FUNC, "No device");
        return false;
    }
    uint8_t wasRecreating = recreating;
    recreating = 1;
    DestroyGraphicsDevice();
    bool ok = CreateGraphicsDevice() > 0;
    recreating = wasRecreating;
    if (!ok)
        DebugError(ENG_FUNC, "Could not re-create graphics device and/or objects");
    return ok;
}

// ---- Toggles and resolution changes ----------------------------------------------------------------

void EngWindow::SetDeviceSettings(int windowedW, int windowedH, int windowedDepth, int windowedRefresh,
                                  int windowX, int windowY, int fullScreenWidth, int fullScreenHeight,
                                  int fullScreenDepth, int fullScreenRefresh)
{
    const int32_t values[10] = {windowedW,       windowedH,       windowedDepth, windowedRefresh,
                                windowX,         windowY,         fullScreenWidth, fullScreenHeight,
                                fullScreenDepth, fullScreenRefresh};
    memcpy(oneShot, values, sizeof(oneShot));
}

void EngWindow::RequestResolutionChange(EngResolutionChangedFn callback, uint32_t user)
{
    resolutionPending = 1;
    resolutionCallback = callback;
    resolutionUser = user;
}

bool EngWindow::PrepareModeChange(const char *function)
{
    if (!device)
    {
        DebugError(function, "Device not created");
        return false;
    }
    if (!modes)
        modes = new EngResModes();
    if (!modes->IsSetup())
    {
        DebugError(function, "No modes.");
        return false;
    }
    return true;
}

static void EngWindowPickValue(int32_t &value, int32_t oneShotValue)
{
    if (oneShotValue > 0)
        value = oneShotValue;
}

void EngWindow::PickMode(bool windowed, int32_t *width, int32_t *height, int32_t *depth, int32_t *refresh)
{
    // The one-shot settings of the kind of play override the values given, once.
    const int32_t *wanted = windowed ? &oneShot[0] : &oneShot[6];
    EngWindowPickValue(*width, wanted[0]);
    EngWindowPickValue(*height, wanted[1]);
    EngWindowPickValue(*depth, wanted[2]);
    EngWindowPickValue(*refresh, wanted[3]);
    if (windowed && oneShot[4] >= 0 && oneShot[5] >= 0)
    {
        parms.x = oneShot[4];
        parms.y = oneShot[5];
    }
    if (!windowed)
    {
        int32_t format = 0;
        modes->GetClosestFullScreenModeToMode(width, height, depth, &format);
    }
    for (int32_t &value : oneShot)
        value = -1;
}

bool EngWindow::ToggleFullscreenMode()
{
    if (!PrepareModeChange(ENG_FUNC))
        return false;
    bool toWindowed = EngScreenSettings.windowed == 0;
    int32_t width = windowedWidth, height = windowedHeight;
    int32_t depth = EngScreenSettings.depth, refresh = EngScreenSettings.refresh;
    if (!toWindowed)
    {
        windowedWidth = EngScreenSettings.width;
        windowedHeight = EngScreenSettings.height;
        GetWindowPos(&parms.x, &parms.y);
        // Without a wanted size the desktop's own mode is the natural full screen.
        int32_t format = 0;
        modes->GetWindowedModeDetails(&width, &height, &depth, &format);
    }
    PickMode(toWindowed, &width, &height, &depth, &refresh);
    return RecreateForMode(toWindowed, width, height, depth, refresh);
}

bool EngWindow::DoChangeResolution()
{
    if (!PrepareModeChange(ENG_FUNC))
        return false;
    bool windowed = EngScreenSettings.windowed != 0;
    int32_t width = EngScreenSettings.width, height = EngScreenSettings.height;
    int32_t depth = EngScreenSettings.depth, refresh = EngScreenSettings.refresh;
    if (windowed)
        GetWindowPos(&parms.x, &parms.y);
    PickMode(windowed, &width, &height, &depth, &refresh);
    return RecreateForMode(windowed, width, height, depth, refresh);
}

bool EngWindow::RecreateForMode(bool windowed, int width, int height, int depth, int refresh)
{
    int oldOrientation = EngScreenSettings.orientation;
    recreating = 1;
    DestroyGraphicsDevice();
    DestroyOSWindow();
    parms.windowed = windowed ? 1 : 0;
    parms.width = width;
    parms.height = height;
    parms.depth = depth;
    parms.refresh = refresh;
    if (!CreateOSWindow())
    {
        recreating = 0;
        DebugError(ENG_FUNC, "Could not re-create window");
        return false;
    }
    if (CreateGraphicsDevice() < 1)
    {
        recreating = 0;
        DebugError(ENG_FUNC, "Could not re-create graphics device and/or objects");
        return false;
    }
    recreating = 0;
    int clientWidth = 0, clientHeight = 0;
    GetClientSize(&clientWidth, &clientHeight);
    SetScreenSize(windowed ? 1 : 0, clientWidth, clientHeight, depth, refresh);
    program->AfterGraphicsObjectsCreatedCB();
    if (EngScreenSettings.orientation != oldOrientation)
        program->ModeChangedCB(EngScreenSettings.orientation);
    return true;
}

// ---- Activation and size ----------------------------------------------------------------------------

void EngWindow::HandleActivation(bool nowActive)
{
    if (program->IsQuitting() || recreating || (active != 0) == nowActive)
        return;
    active = nowActive ? 1 : 0;
    bool fullScreen = EngScreenSettings.windowed == 0;
    if (nowActive)
    {
        EngKeyStates[ENG_VK_MENU] = 0;
        EngKeyStates[ENG_VK_F10] = 0;
        EngKeyStates[ENG_VK_F11] = 0;
        EngKeyStates[ENG_VK_F12] = 0;
        if (fullScreen && device && !device->IsCreated())
        {
            if (!DoCreateGraphicsDevice(true))
            {
                program->ForceExitNow("ERROR", "Could not re-create graphics device and/or objects", false);
                EngMainCallExit(-1);
                return;
            }
        }
    }
    else if (fullScreen && device && device->IsCreated())
    {
        // A full-screen device cannot stay behind another window: give it up until the
        // window is active again.
        DoDestroyGraphicsDevice(true);
        MinimiseOSWindow();
    }
    program->ActivationChangedCB(nowActive);
    program->RequestEventDrivenKeepDrawing();
}

void EngWindow::HandleResize(bool forced)
{
    int width = 0, height = 0;
    GetClientSize(&width, &height);
    if (!forced && (width < 1 || height < 1 ||
                    (width == EngScreenSettings.width && height == EngScreenSettings.height)))
        return;
    int oldOrientation = EngScreenSettings.orientation;
    SetScreenSize(-1, width, height, 0, 0);
    if (device && device->IsCreated())
    {
        DoRecreateDevice(EngProgramGetMainDeviceType());
        if (device)
            device->UpdateViewportAfterResize();
    }
    program->AfterGraphicsObjectsCreatedCB();
    program->RequestEventDrivenKeepDrawing();
    if (EngScreenSettings.orientation != oldOrientation)
        program->ModeChangedCB(EngScreenSettings.orientation);
}

void EngWindow::HandleSize(int kind)
{
    HandleActivation(kind != ENG_SIZE_MINIMISED);
    switch (kind)
    {
    case ENG_SIZE_MAXIMISED:
        minimised = 0;
        maximised = 1;
        HandleResize(true);
        break;
    case ENG_SIZE_MINIMISED:
        minimised = 1;
        HandleResize(false);
        program->MinimisedChangedCB(1);
        break;
    case ENG_SIZE_RESTORED:
        if (maximised)
        {
            maximised = 0;
            HandleResize(false);
        }
        if (minimised)
        {
            minimised = 0;
            program->MinimisedChangedCB(0);
        }
        break;
    default:
        break;
    }
}

void EngWindow::SendInput(int32_t event, int32_t a, int32_t b, bool fromMouseMove)
{
    if (eng_main_program)
        eng_main_program->InputCB(event, a, b);
    if (eng_main_program)
        eng_main_program->RequestEventDrivenRedraw(fromMouseMove);
}
