// The graphics device front end every drawing module calls through EngMainDevice. One
// device per window, created by the window from the screen settings; each member
// forwards to the DX9 back end when the program's device type is DX9 and the back end
// exists, and otherwise does nothing and answers 0/false. A frame is BeginRendering ...
// EndRendering, then SyncWithGPU, then SwapBuffers. Positions are in the 640x480
// virtual screen unless a member says pixels.
#pragma once
#include <cstdint>

#include "EngGlobals.h"
#include "EngTypes.h"

class EngWindow;
class EngMatrix;

enum _EngDeviceType
{
    ENG_DEVICE_NONE = 0,
    ENG_DEVICE_DX9 = 1,
};

// A viewport in back-buffer pixels with its depth range.
struct _EngViewport
{
    uint32_t x, y, width, height;
    float minZ, maxZ;
};

// Fixed pairs of blend factors (EnableBlendingType).
enum _EngBlendingType
{
    ENG_BLEND_ALPHA = 0, // source alpha, inverse source alpha
    ENG_BLEND_TYPE_COUNT = 19,
};
typedef int EngBlendingType;

// The device's blend-factor codes that pictures and particles pass to EnableBlending:
// 0 ZERO, 1 ONE, 2 SRCCOLOR, 3 INVSRCCOLOR, 4 SRCALPHA, 5 INVSRCALPHA, 6 INVDESTCOLOR,
// 7 INVDESTALPHA, 8 DESTCOLOR, 9 DESTALPHA, 10 SRCALPHASAT (filled by InitDefaults).
extern int EngBlendFactors[11];

class EngDevice
{
public:
    explicit EngDevice(EngWindow *owner);
    ~EngDevice();
    EngDevice(const EngDevice &) = delete;
    EngDevice &operator=(const EngDevice &) = delete;

    // ---- Life cycle and frame ----
    // Creates the device for the owner's window; sets EngMainDevice on success.
    bool Create(bool windowed, int width, int height, int depth, int refresh);
    // Releases the device; clears EngMainDevice.
    void Destroy();
    bool IsCreated() const { return created; }
    bool IsReady();
    // Begins a scene; false while nothing can be drawn (no device, or lost).
    bool BeginRendering();
    // True when it began a scene (none was open).
    bool BeginRenderingIfNotRendering();
    void EndRendering();
    // Presents the frame.
    void SwapBuffers();
    // Keeps the processor at most one frame ahead of the graphics processor.
    void SyncWithGPU();

    // ---- Viewport and clearing ----
    void InitDefaults();
    // The window's client size changed.
    void UpdateViewportAfterResize();
    void UpdateFullScreenViewport();
    void SetViewportFullScreen();
    // x, y, w, h in pixels; NULL: full screen.
    void SetViewportToRect(const float *rect);
    // x, y, w, h in 640x480 units; NULL: full screen.
    void SetViewportToRatioedRect(const float *rect);
    void SetViewportToViewportStruct(const _EngViewport *viewport);
    void GetViewport(_EngViewport *out);
    bool IsViewportFullScreen();
    // Colour the clears use (0-1 each).
    void SetClearColour(float red, float green, float blue);
    void ClearScreen();
    void ClearScreenAndZBuffer();

    // ---- Matrices ----
    void SetPerspectiveAspect(float aspect, bool apply);
    float GetPerspectiveAspect();
    void SetNearAndFarPlanes(float zNear, float zFar, bool apply);
    void GetNearAndFarPlanes(float *zNear, float *zFar);
    void UpdatePerspectiveMatrix();
    void SetProjectionMatrix(const EngMatrix *matrix);
    void SetViewMatrixLookAt(const _Vector3d *eye, const _Vector3d *target);
    void SetViewMatrix(const EngMatrix *matrix);
    void ResetTransformMatrix();
    void SetTransformMatrix(const EngMatrix *matrix);
    void SetTransformMatrixToDxMatrix(const float *matrix);
    void SetTransformMatrixToTranslation(float x, float y, float z);
    void SetTransformMatrixToTranslationAndScale(float x, float y, float z, float sx, float sy, float sz);
    void SetTransformMatrixToPositionAndRotation(const _Vector3d *position, const _Vector3d *rotation);
    void SetTransformMatrixToPositionRotationAndScale(const _Vector3d *position, const _Vector3d *rotation,
                                                      const _Vector3d *scale);
    void GetTransformMatrix(EngMatrix *out);
    void GetTransformMatrixAsDxMatrix(float *out);
    void PushTransformMatrix();
    void PopTransformMatrix();

    // ---- Lighting, depth, culling, texture stage ----
    bool IsLightingOn();
    void TurnOnLighting();
    void TurnOffLighting();
    // True when lighting was on (and is now off).
    bool TurnOffLightingIfOn();
    void EnableZBuffer(bool on);
    void ResumeZBuffer();
    // True when it suspended the depth test.
    bool SuspendZBufferIfOn();
    bool AreTwoSidedPolygonsShown();
    void ShowTwoSidedPolygons(bool show);
    // Answers the previous flag.
    bool SetTwoSidedPolygons(bool show);
    void SetAlphaBlendTextureAlpha();
    void EnsureAlphaModulateDiffuse(bool *changed);
    void SetNoTexture();
    // Below 0 keeps the current quality; 0 point filtering, otherwise linear.
    void SetTextureQuality(signed char quality);

    // ---- Blending ----
    void EnableBlendingType(EngBlendingType type);
    void EnableBlending(int source, int destination);
    void DisableBlending();
    bool GetBlendingState(bool *enabled, int *source, int *destination);
    void SetBlendingState(bool enabled, int source, int destination);
    bool SaveOrRestoreBlendingState(bool save);

    // ---- 2D mode ----
    void PrepareFor2D(bool turnOffLighting);
    void RestoreAfter2D();
    bool IsPreparedFor2D();
    // True when it prepared (the caller then restores).
    bool PrepareFor2DIfNotPrepared(bool turnOffLighting);
    bool EnsurePreparedFor2D(bool turnOffLighting);
    bool RestoreAfter2DIfPrepared();

    // ---- Crop (scissor) ----
    void TurnOnCrop(float x, float y, float w, float h);
    void TurnOnCropFromRect(const float *rect);
    void TurnOnCropInViewport(float x, float y, float w, float h);
    void TurnOnCropInViewportFromRect(const float *rect);
    void TurnOffCrop();
    bool IsCropOn();

    EngWindow *GetOwner() const { return owner; }

private:
    bool created;
    EngWindow *owner;
};

// The device every module draws with; NULL while there is none.
extern EngDevice *EngMainDevice;

// ---- The device's settings ---------------------------------------------------------------------
// The program's device type (_EngDeviceType): ENG_DEVICE_NONE until a program object
// sets it; every member of the device and of the drawing modules checks it.
int EngDeviceGetMainType();
void EngDeviceSetMainType(int deviceType);
// GPU sync from the start-up settings: method 0 or 1, kept only when enabled (else -1);
// with fallBack a failing method hands over to the other once.
void EngDeviceSetGpuSync(bool enabled, int method, bool fallBack);
int EngDeviceGetGpuSyncMethod();
bool EngDeviceGetGpuSyncFallBack();

// ---- The window the device serves --------------------------------------------------------------
struct PlatWindow;
struct _EngTextureCursor;

// What the device needs of the window layer above it. The window layer (eng_program)
// registers it when it makes a window; `window` is the EngWindow that owns the device,
// opaque here.
struct _EngDeviceWindowHost
{
    // The main window, or NULL.
    EngWindow *(*getMainWindow)();
    // The window's stand-in window, or NULL.
    PlatWindow *(*getOsWindow)(EngWindow *window);
    // Publishes the back buffer's size as the window's screen settings.
    void (*setScreenSize)(EngWindow *window, int windowed, int width, int height, int depth, int refresh);
    // Asks the window to re-create the device at its next service.
    void (*requestDeviceRecreation)(EngWindow *window);
    // Hides, then shows the system cursor (gives it back where a texture cursor failed).
    void (*restoreSystemCursor)(EngWindow *window);
    // The window's texture cursor record.
    _EngTextureCursor *(*getTextureCursor)(EngWindow *window);
};
// NULL forgets it. The table must outlive its registration.
void EngDeviceSetWindowHost(const _EngDeviceWindowHost *host);
// The registered host; without one a host whose every answer is NULL and whose every
// request does nothing (so callers need no check). Never NULL.
const _EngDeviceWindowHost *EngDeviceWindowHost();

// Fades the frame drawn so far towards black: alpha 0 leaves it, 1 makes it black.
// The blending state is as before afterwards.
void EngDimScreen(float alpha);
// Releases the dimming quad (made again on the next EngDimScreen).
void EngDimReset();
