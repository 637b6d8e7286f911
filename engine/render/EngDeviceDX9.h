// The DX9 back end of EngDevice: one object at a time (the current one), holding the
// device settings and a cached copy of every render state, viewport and matrix, so that
// a state is written to the device only when it changes and is re-applied after each
// device creation. Only the DX9 back-end files include this header.
#pragma once
#include <cstdint>

#include "EngDevice.h"
#include "EngDxutDX9.h"
#include "PlatD3d9.h"

enum
{
    ENG_DX9_STACK_SIZE = 10,
};

class EngDeviceDX9
{
public:
    explicit EngDeviceDX9(EngDevice *owner);
    ~EngDeviceDX9();
    EngDeviceDX9(const EngDeviceDX9 &) = delete;
    EngDeviceDX9 &operator=(const EngDeviceDX9 &) = delete;

    // ---- Life cycle (EngDeviceDX9.cpp) ----
    bool Create(bool windowed, int width, int height, int depth, int refresh);
    void Destroy();
    bool IsReady();
    bool BeginRendering();
    bool BeginRenderingIfNotRendering();
    void EndRendering();
    void SwapBuffers();
    void SyncWithGPU();
    bool IsLost() const { return lost; }
    bool IsRendering() const { return rendering != 0; }

    // ---- State (EngDeviceDX9State.cpp) ----
    void InitDefaults();
    void RestoreRenderStates();
    void UpdateViewportAfterResize();
    void UpdateFullScreenViewport();
    void SetViewportFullScreen();
    void SetViewportToSize(int x, int y, int w, int h);
    void SetViewportToRect(const float *rect);
    void SetViewportToRatioedRect(const float *rect);
    void SetViewportToViewportStruct(const _EngViewport *viewport);
    void GetViewport(_EngViewport *out);
    bool IsViewportFullScreen() { return viewportIsFullScreen != 0; }
    void SetClearColour(float red, float green, float blue);
    void ClearScreenAndZBuffer();
    void ClearScreen();
    void SetPerspectiveAspect(float aspect, bool apply);
    float GetPerspectiveAspect() { return perspectiveAspect; }
    void SetNearAndFarPlanes(float zNear, float zFar, bool apply);
    void GetNearAndFarPlanes(float *zNear, float *zFar);
    void UpdatePerspectiveMatrix();
    void SetProjectionMatrixToDxMatrix(const float *matrix);
    void SetViewMatrixLookAt(const _Vector3d *eye, const _Vector3d *target);
    void SetViewMatrixToDxMatrix(const float *matrix);
    void ResetTransformMatrix();
    void SetTransformMatrixToDxMatrix(const float *matrix);
    void SetTransformMatrixToTranslation(float x, float y, float z);
    void SetTransformMatrixToTranslationAndScale(float x, float y, float z, float sx, float sy, float sz);
    void SetTransformMatrixToPositionAndRotation(const _Vector3d *position, const _Vector3d *rotation);
    void SetTransformMatrixToPositionRotationAndScale(const _Vector3d *position, const _Vector3d *rotation,
                                                      const _Vector3d *scale);
    void GetTransformMatrixAsDxMatrix(float *out);
    void PushTransformMatrix();
    void PopTransformMatrix();
    void PushAllMatrices();
    void PopAllMatrices();
    bool IsLightingOn() { return lightingOn != 0; }
    void TurnOnLighting();
    void TurnOffLighting();
    bool TurnOffLightingIfOn();
    void EnableZBuffer(bool on);
    void ResumeZBuffer();
    void SuspendZBuffer();
    bool SuspendZBufferIfOn();
    void TurnOnSpecular(bool localViewer);
    void TurnOffSpecular();
    bool AreTwoSidedPolygonsShown() { return twoSided != 0; }
    void ShowTwoSidedPolygons(bool show);
    bool SetTwoSidedPolygons(bool show);
    void SetAlphaModulateDiffuse();
    void SetAlphaBlendTextureAlpha();
    void EnsureAlphaModulateDiffuse(bool *changed);
    void SetNoTexture();
    void SetTextureQuality(signed char quality);
    void SetMaterialToDefault();
    void EnableBlendingType(int type);
    void EnableBlending(int source, int destination);
    void DisableBlending();
    bool IsBlendingEnabled() { return blendingEnabled != 0; }
    bool GetBlendingState(bool *enabled, int *source, int *destination);
    void SetBlendingState(bool enabled, int source, int destination);
    bool SaveOrRestoreBlendingState(bool save);
    void PrepareFor2D(bool turnOffLighting);
    void RestoreAfter2D();
    bool IsPreparedFor2D() { return preparedFor2D != 0; }
    bool PrepareFor2DIfNotPrepared(bool turnOffLighting);
    bool RestoreAfter2DIfPrepared();
    void TurnOnCrop(float x, float y, float w, float h);
    void TurnOnCropInViewport(float x, float y, float w, float h);
    void TurnOffCrop();
    bool IsCropOn() { return cropOn != 0; }

    const _DXUTDeviceSettings *GetDeviceSettings() const { return settings; }

private:
    bool SetupCreate(bool windowed, int width, int height, int depth, int refresh);
    bool DoChangeDevice(const _DXUTDeviceSettings *newSettings);
    bool Init3DEnvironment();
    void Cleanup3DEnvironment(bool freeSettings);
    void Destroy3DEnvironment();
    void SendTransform(PlatD3dTransform which, const float *matrix);
    void WriteRenderState(PlatD3dRenderState state, uint32_t value, const char *operation);

    EngDevice *owner;
    void *parentWindow;
    uint8_t created;
    uint8_t lost;
    double lossTime;
    _DXUTDeviceSettings *settings;
    uint8_t stateBytes[4];
    PlatD3dSurfaceDesc backBufferDesc;
    PlatD3dCaps caps;

    // Render state, viewport and matrices, in the order of their defaults.
    _EngViewport fullScreenViewport;
    _EngViewport currentViewport;
    PlatD3dMaterial material;
    float fieldOfViewDegrees, fieldOfViewRadians;
    float perspectiveAspect, perspectiveAspectInverse;
    float nearPlane, farPlane;
    uint8_t zBufferWanted, specularOn, specularLocalViewer, alphaModulateDiffuse, textureQuality;
    uint8_t preparedFor2D, lightingOn, zBufferOn, twoSided;
    uint32_t clearColour;
    uint8_t rendering, viewportIsFullScreen;
    int allStackLevel, worldStackLevel;
    float projectionStack[ENG_DX9_STACK_SIZE][16];
    float viewStack[ENG_DX9_STACK_SIZE][16];
    float worldStackAll[ENG_DX9_STACK_SIZE][16];
    float worldStack[ENG_DX9_STACK_SIZE][16];
    int blendSource, blendDestination;
    uint8_t blendingEnabled, cropOn;
    float projection[16], view[16], world[16], identity[16];
};

// The current back end and its device (NULL when there is none).
EngDeviceDX9 *EngDeviceDX9GetCurrent();
PlatD3dDevice *EngDeviceDX9GetD3dDevice();
PlatD3d *EngDeviceDX9GetD3d();

// World matrix from position and rotation (radians about x, y, z): Ry x Rx x Rz x T;
// either may be NULL.
void EngDeviceDX9BuildMatrixFromPositionAndRotation(float *out, const _Vector3d *position,
                                                    const _Vector3d *rotation);
// The device-acceptance check of the enumeration: the back-buffer format must blend.
bool EngDeviceDX9IsDeviceAcceptableCB(const PlatD3dCaps *caps, PlatD3dFormat adapterFormat,
                                      PlatD3dFormat backBufferFormat, bool windowed);

// Tests and benchmarks: a device without a window draws off-screen.
void EngDeviceDX9AllowNoWindow(bool allow);
// For tests: how long the event-query wait may take before it gives up (seconds).
void EngDeviceDX9SetEventWaitLimit(double seconds);
