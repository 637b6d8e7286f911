// The device front end: forwards each call to the current DX9 back end when the
// program's device type is DX9 (some members ask only that the back end exists), and
// otherwise does nothing and answers 0/false.
#include "EngDevice.h"

#include <new>

#include "EngDebug.h"
#include "EngDeviceDX9.h"
#include "EngFont.h"
#include "EngMath.h"

namespace
{
EngWindow *NoMainWindow()
{
    return nullptr;
}

PlatWindow *NoOsWindow(EngWindow *)
{
    return nullptr;
}

void NoScreenSize(EngWindow *, int, int, int, int, int)
{
}

void NoRecreation(EngWindow *)
{
}

void NoCursor(EngWindow *)
{
}

_EngTextureCursor *NoTextureCursor(EngWindow *)
{
    return nullptr;
}

const _EngDeviceWindowHost kNoWindowHost = {NoMainWindow, NoOsWindow,  NoScreenSize,
                                            NoRecreation, NoCursor,    NoTextureCursor};

struct
{
    int type;
    int gpuSyncMethod;
    bool gpuSyncFallBack;
    const _EngDeviceWindowHost *windowHost;
} s_device = {ENG_DEVICE_NONE, -1, false, nullptr};

// The back end, when the device type is DX9.
EngDeviceDX9 *Back()
{
    return s_device.type == ENG_DEVICE_DX9 ? EngDeviceDX9GetCurrent() : nullptr;
}
} // namespace

int EngDeviceGetMainType()
{
    return s_device.type;
}

void EngDeviceSetMainType(int deviceType)
{
    s_device.type = deviceType;
}

void EngDeviceSetGpuSync(bool enabled, int method, bool fallBack)
{
    s_device.gpuSyncMethod = enabled ? method : -1;
    s_device.gpuSyncFallBack = fallBack;
}

int EngDeviceGetGpuSyncMethod()
{
    return s_device.gpuSyncMethod;
}

bool EngDeviceGetGpuSyncFallBack()
{
    return s_device.gpuSyncFallBack;
}

void EngDeviceSetWindowHost(const _EngDeviceWindowHost *host)
{
    s_device.windowHost = host;
}

const _EngDeviceWindowHost *EngDeviceWindowHost()
{
    return s_device.windowHost ? s_device.windowHost : &kNoWindowHost;
}

#define ENG_FORWARD(call)                                                                                  \
    if (EngDeviceDX9 *back = Back())                                                                       \
        back->call;
#define ENG_FORWARD_RESULT(call, fallback)                                                                 \
    {                                                                                                      \
        EngDeviceDX9 *back = Back();                                                                       \
        return back ? back->call : fallback;                                                               \
    }

EngDevice::EngDevice(EngWindow *ownerWindow) : created(false), owner(ownerWindow)
{
}

EngDevice::~EngDevice()
{
    Destroy();
}

bool EngDevice::Create(bool windowed, int width, int height, int depth, int refresh)
{
    EngMainDevice = nullptr;
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9)
        return false;
    EngDeviceDX9 *back = EngDeviceDX9GetCurrent();
    if (!back)
    {
        back = new (std::nothrow) EngDeviceDX9(this);
        if (!back)
            return false;
    }
    if (!back->Create(windowed, width, height, depth, refresh))
        return false;
    created = true;
    EngMainDevice = this;
    return true;
}

void EngDevice::Destroy()
{
    if (EngDeviceDX9 *back = EngDeviceDX9GetCurrent())
    {
        back->Destroy();
        delete back;
    }
    created = false;
    EngFontForgetDeviceState();
    if (EngMainDevice == this)
        EngMainDevice = nullptr;
}

bool EngDevice::IsReady() ENG_FORWARD_RESULT(IsReady(), false)
bool EngDevice::BeginRendering() ENG_FORWARD_RESULT(BeginRendering(), false)
bool EngDevice::BeginRenderingIfNotRendering() ENG_FORWARD_RESULT(BeginRenderingIfNotRendering(), false)
void EngDevice::EndRendering() { ENG_FORWARD(EndRendering()) }
void EngDevice::SwapBuffers() { ENG_FORWARD(SwapBuffers()) }

void EngDevice::SyncWithGPU()
{
    if (EngDeviceDX9 *back = EngDeviceDX9GetCurrent())
        back->SyncWithGPU();
}

void EngDevice::InitDefaults()
{
    if (EngDeviceDX9 *back = EngDeviceDX9GetCurrent())
        back->InitDefaults();
}

void EngDevice::UpdateViewportAfterResize()
{
    if (EngDeviceDX9 *back = EngDeviceDX9GetCurrent())
        back->UpdateViewportAfterResize();
}

void EngDevice::UpdateFullScreenViewport() { ENG_FORWARD(UpdateFullScreenViewport()) }
void EngDevice::SetViewportFullScreen() { ENG_FORWARD(SetViewportFullScreen()) }
void EngDevice::SetViewportToRect(const float *rect) { ENG_FORWARD(SetViewportToRect(rect)) }
void EngDevice::SetViewportToRatioedRect(const float *rect) { ENG_FORWARD(SetViewportToRatioedRect(rect)) }
void EngDevice::SetViewportToViewportStruct(const _EngViewport *viewport)
{
    ENG_FORWARD(SetViewportToViewportStruct(viewport))
}
void EngDevice::GetViewport(_EngViewport *out) { ENG_FORWARD(GetViewport(out)) }
bool EngDevice::IsViewportFullScreen() ENG_FORWARD_RESULT(IsViewportFullScreen(), false)
void EngDevice::SetClearColour(float red, float green, float blue) { ENG_FORWARD(SetClearColour(red, green, blue)) }
void EngDevice::ClearScreen() { ENG_FORWARD(ClearScreen()) }
void EngDevice::ClearScreenAndZBuffer() { ENG_FORWARD(ClearScreenAndZBuffer()) }

void EngDevice::SetPerspectiveAspect(float aspect, bool apply) { ENG_FORWARD(SetPerspectiveAspect(aspect, apply)) }
float EngDevice::GetPerspectiveAspect() ENG_FORWARD_RESULT(GetPerspectiveAspect(), 0.0f)
void EngDevice::SetNearAndFarPlanes(float zNear, float zFar, bool apply)
{
    ENG_FORWARD(SetNearAndFarPlanes(zNear, zFar, apply))
}
void EngDevice::GetNearAndFarPlanes(float *zNear, float *zFar) { ENG_FORWARD(GetNearAndFarPlanes(zNear, zFar)) }
void EngDevice::UpdatePerspectiveMatrix() { ENG_FORWARD(UpdatePerspectiveMatrix()) }
void EngDevice::SetProjectionMatrix(const EngMatrix *matrix)
{
    ENG_FORWARD(SetProjectionMatrixToDxMatrix(matrix ? matrix->m : nullptr))
}
void EngDevice::SetViewMatrixLookAt(const _Vector3d *eye, const _Vector3d *target)
{
    ENG_FORWARD(SetViewMatrixLookAt(eye, target))
}
void EngDevice::SetViewMatrix(const EngMatrix *matrix) { ENG_FORWARD(SetViewMatrixToDxMatrix(matrix ? matrix->m : nullptr)) }
void EngDevice::ResetTransformMatrix() { ENG_FORWARD(ResetTransformMatrix()) }
void EngDevice::SetTransformMatrix(const EngMatrix *matrix)
{
    ENG_FORWARD(SetTransformMatrixToDxMatrix(matrix ? matrix->m : nullptr))
}
void EngDevice::SetTransformMatrixToDxMatrix(const float *matrix) { ENG_FORWARD(SetTransformMatrixToDxMatrix(matrix)) }
void EngDevice::SetTransformMatrixToTranslation(float x, float y, float z)
{
    ENG_FORWARD(SetTransformMatrixToTranslation(x, y, z))
}
void EngDevice::SetTransformMatrixToTranslationAndScale(float x, float y, float z, float sx, float sy, float sz)
{
    ENG_FORWARD(SetTransformMatrixToTranslationAndScale(x, y, z, sx, sy, sz))
}
void EngDevice::SetTransformMatrixToPositionAndRotation(const _Vector3d *position, const _Vector3d *rotation)
{
    ENG_FORWARD(SetTransformMatrixToPositionAndRotation(position, rotation))
}
void EngDevice::SetTransformMatrixToPositionRotationAndScale(const _Vector3d *position, const _Vector3d *rotation,
                                                             const _Vector3d *scale)
{
    ENG_FORWARD(SetTransformMatrixToPositionRotationAndScale(position, rotation, scale))
}
void EngDevice::GetTransformMatrix(EngMatrix *out) { ENG_FORWARD(GetTransformMatrixAsDxMatrix(out ? out->m : nullptr)) }
void EngDevice::GetTransformMatrixAsDxMatrix(float *out) { ENG_FORWARD(GetTransformMatrixAsDxMatrix(out)) }
void EngDevice::PushTransformMatrix() { ENG_FORWARD(PushTransformMatrix()) }
void EngDevice::PopTransformMatrix() { ENG_FORWARD(PopTransformMatrix()) }

bool EngDevice::IsLightingOn() ENG_FORWARD_RESULT(IsLightingOn(), false)
void EngDevice::TurnOnLighting() { ENG_FORWARD(TurnOnLighting()) }
void EngDevice::TurnOffLighting() { ENG_FORWARD(TurnOffLighting()) }
bool EngDevice::TurnOffLightingIfOn() ENG_FORWARD_RESULT(TurnOffLightingIfOn(), false)
void EngDevice::EnableZBuffer(bool on) { ENG_FORWARD(EnableZBuffer(on)) }
void EngDevice::ResumeZBuffer() { ENG_FORWARD(ResumeZBuffer()) }
bool EngDevice::SuspendZBufferIfOn() ENG_FORWARD_RESULT(SuspendZBufferIfOn(), false)
bool EngDevice::AreTwoSidedPolygonsShown() ENG_FORWARD_RESULT(AreTwoSidedPolygonsShown(), false)
void EngDevice::ShowTwoSidedPolygons(bool show) { ENG_FORWARD(ShowTwoSidedPolygons(show)) }
bool EngDevice::SetTwoSidedPolygons(bool show) ENG_FORWARD_RESULT(SetTwoSidedPolygons(show), false)

void EngDevice::SetAlphaBlendTextureAlpha()
{
    if (EngDeviceDX9 *back = EngDeviceDX9GetCurrent())
        back->SetAlphaBlendTextureAlpha();
}

void EngDevice::EnsureAlphaModulateDiffuse(bool *changed)
{
    if (EngDeviceDX9 *back = EngDeviceDX9GetCurrent())
        back->EnsureAlphaModulateDiffuse(changed);
}

void EngDevice::SetNoTexture() { ENG_FORWARD(SetNoTexture()) }
void EngDevice::SetTextureQuality(signed char quality) { ENG_FORWARD(SetTextureQuality(quality)) }

void EngDevice::EnableBlendingType(EngBlendingType type) { ENG_FORWARD(EnableBlendingType(type)) }
void EngDevice::EnableBlending(int source, int destination) { ENG_FORWARD(EnableBlending(source, destination)) }
void EngDevice::DisableBlending() { ENG_FORWARD(DisableBlending()) }
bool EngDevice::GetBlendingState(bool *enabled, int *source, int *destination)
    ENG_FORWARD_RESULT(GetBlendingState(enabled, source, destination), false)
void EngDevice::SetBlendingState(bool enabled, int source, int destination)
{
    ENG_FORWARD(SetBlendingState(enabled, source, destination))
}
bool EngDevice::SaveOrRestoreBlendingState(bool save) ENG_FORWARD_RESULT(SaveOrRestoreBlendingState(save), false)

void EngDevice::PrepareFor2D(bool turnOffLighting) { ENG_FORWARD(PrepareFor2D(turnOffLighting)) }
void EngDevice::RestoreAfter2D() { ENG_FORWARD(RestoreAfter2D()) }
bool EngDevice::IsPreparedFor2D() ENG_FORWARD_RESULT(IsPreparedFor2D(), false)
bool EngDevice::PrepareFor2DIfNotPrepared(bool turnOffLighting)
    ENG_FORWARD_RESULT(PrepareFor2DIfNotPrepared(turnOffLighting), false)
bool EngDevice::EnsurePreparedFor2D(bool turnOffLighting)
    ENG_FORWARD_RESULT(PrepareFor2DIfNotPrepared(turnOffLighting), false)
bool EngDevice::RestoreAfter2DIfPrepared() ENG_FORWARD_RESULT(RestoreAfter2DIfPrepared(), false)

void EngDevice::TurnOnCrop(float x, float y, float w, float h) { ENG_FORWARD(TurnOnCrop(x, y, w, h)) }
void EngDevice::TurnOnCropFromRect(const float *rect)
{
    if (rect)
        TurnOnCrop(rect[0], rect[1], rect[2], rect[3]);
}
void EngDevice::TurnOnCropInViewport(float x, float y, float w, float h) { ENG_FORWARD(TurnOnCropInViewport(x, y, w, h)) }
void EngDevice::TurnOnCropInViewportFromRect(const float *rect)
{
    if (rect)
        TurnOnCropInViewport(rect[0], rect[1], rect[2], rect[3]);
}
void EngDevice::TurnOffCrop() { ENG_FORWARD(TurnOffCrop()) }
bool EngDevice::IsCropOn() ENG_FORWARD_RESULT(IsCropOn(), false)
