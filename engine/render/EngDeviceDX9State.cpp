// The DX9 back end's render state: viewport, clear colour, projection, view and world
// matrices with their stacks, 2D mode, lighting, depth test, culling, the texture
// stage's alpha operation, blending, the scissor crop and the dimming quad. Each state
// is cached and written to the device only when it changes; RestoreRenderStates
// re-applies the cache to a new device.
//
// Sections: defaults and restore, viewport and clear, matrices, stacks, lighting/depth/
// culling/stage, blending, 2D mode, crop, dimming.
#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngDeviceDX9.h"
#include "EngMath.h"
#include "EngUtilsDX9.h"
#include "EngVertexBufferDX9.h"
#include "EngGlobals.h"
#include "PlatWin.h"

int EngBlendFactors[11];

namespace
{
// Source and destination factor of each blending type.
const int kBlendingTypes[ENG_BLEND_TYPE_COUNT][2] = {
    {PLAT_BLEND_SRCALPHA, PLAT_BLEND_INVSRCALPHA},   {PLAT_BLEND_SRCALPHA, PLAT_BLEND_SRCALPHA},
    {PLAT_BLEND_SRCALPHA, PLAT_BLEND_DESTCOLOR},     {PLAT_BLEND_ONE, PLAT_BLEND_SRCALPHA},
    {PLAT_BLEND_SRCCOLOR, PLAT_BLEND_SRCALPHA},      {PLAT_BLEND_SRCCOLOR, PLAT_BLEND_INVSRCCOLOR},
    {PLAT_BLEND_INVSRCCOLOR, PLAT_BLEND_INVSRCCOLOR}, {PLAT_BLEND_ONE, PLAT_BLEND_INVSRCALPHA},
    {PLAT_BLEND_SRCALPHA, PLAT_BLEND_ONE},           {PLAT_BLEND_SRCCOLOR, PLAT_BLEND_INVSRCALPHA},
    {PLAT_BLEND_ONE, PLAT_BLEND_ONE},                {PLAT_BLEND_INVSRCALPHA, PLAT_BLEND_ONE},
    {PLAT_BLEND_INVSRCCOLOR, PLAT_BLEND_ONE},        {PLAT_BLEND_SRCCOLOR, PLAT_BLEND_ONE},
    {PLAT_BLEND_ZERO, PLAT_BLEND_INVSRCCOLOR},       {PLAT_BLEND_INVSRCALPHA, PLAT_BLEND_SRCALPHA},
    {PLAT_BLEND_SRCCOLOR, PLAT_BLEND_ONE},           {PLAT_BLEND_ONE, PLAT_BLEND_INVSRCCOLOR},
    {PLAT_BLEND_DESTCOLOR, PLAT_BLEND_ONE},
};

const int kBlendFactorTable[11] = {PLAT_BLEND_ZERO,         PLAT_BLEND_ONE,         PLAT_BLEND_SRCCOLOR,
                                   PLAT_BLEND_INVSRCCOLOR,  PLAT_BLEND_SRCALPHA,    PLAT_BLEND_INVSRCALPHA,
                                   PLAT_BLEND_INVDESTCOLOR, PLAT_BLEND_INVDESTALPHA, PLAT_BLEND_DESTCOLOR,
                                   PLAT_BLEND_DESTALPHA,    PLAT_BLEND_SRCALPHASAT};

struct
{
    // The one blending save slot.
    bool saved;
    bool savedEnabled;
    int savedSource, savedDestination;
    // Lighting as it was when 2D mode began.
    bool lightingBefore2D;
    // The full-screen dimming quad.
    EngVertexBufferDX9 *dimQuad;
    bool dimCreated;
} s_state = {};

void SetIdentity(float *m)
{
    memset(m, 0, 16 * sizeof(float));
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

PlatMatrix ToPlat(const float *m)
{
    PlatMatrix matrix;
    memcpy(matrix.m, m, sizeof(matrix.m));
    return matrix;
}

PlatD3dDevice *Device()
{
    return EngDeviceDX9GetD3dDevice();
}

EngWindow *MainWindow()
{
    return EngDeviceWindowHost()->getMainWindow();
}

int ScreenWidth()
{
    return EngScreenSettings.width > 0 ? EngScreenSettings.width : 640;
}

int ScreenHeight()
{
    return EngScreenSettings.height > 0 ? EngScreenSettings.height : 480;
}
} // namespace

// ---- Defaults and restore ----------------------------------------------------------------

void EngDeviceDX9::InitDefaults()
{
    fullScreenViewport = {0, 0, 640, 480, 0.0f, 1.0f};
    currentViewport = {0, 0, 0, 0, 0.0f, 1.0f};
    memset(&material, 0, sizeof(material));
    fieldOfViewDegrees = 45.0f;
    fieldOfViewRadians = 0.7853982f;
    perspectiveAspect = 1.0f;
    perspectiveAspectInverse = 1.0f;
    nearPlane = 0.01f;
    farPlane = 100.0f;
    zBufferWanted = 1;
    specularOn = 0;
    specularLocalViewer = 1;
    alphaModulateDiffuse = 0;
    textureQuality = 1;
    preparedFor2D = 0;
    lightingOn = 1;
    zBufferOn = 1;
    twoSided = 0;
    clearColour = 0;
    rendering = 0;
    viewportIsFullScreen = 1;
    allStackLevel = 0;
    worldStackLevel = 0;
    memset(projectionStack, 0, sizeof(projectionStack));
    memset(viewStack, 0, sizeof(viewStack));
    memset(worldStackAll, 0, sizeof(worldStackAll));
    memset(worldStack, 0, sizeof(worldStack));
    blendSource = -1;
    blendDestination = -1;
    blendingEnabled = 0;
    cropOn = 0;
    SetIdentity(projection);
    SetIdentity(view);
    SetIdentity(world);
    SetIdentity(identity);
    memcpy(EngBlendFactors, kBlendFactorTable, sizeof(EngBlendFactors));
}

void EngDeviceDX9::SendTransform(PlatD3dTransform which, const float *matrix)
{
    if (!Device())
        return;
    PlatMatrix value = ToPlat(matrix);
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetTransform", PlatD3dDeviceSetTransform(Device(), which, &value));
}

void EngDeviceDX9::WriteRenderState(PlatD3dRenderState state, uint32_t value, const char *operation)
{
    if (Device())
        PlatD3dDeviceSetRenderState(Device(), state, value);
}

void EngDeviceDX9::RestoreRenderStates()
{
    if (!Device())
        return;
    lossTime = 0.0;
    lost = 0;
    material.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    material.ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    material.specular = {0.0f, 0.0f, 0.0f, 0.0f};
    material.emissive = {0.0f, 0.0f, 0.0f, 0.0f};
    material.power = 0.0f;
    SetIdentity(identity);
    preparedFor2D = 0;
    // The new device culls counter-clockwise faces already.
    twoSided = 0;
    rendering = 0;
    allStackLevel = 0;
    worldStackLevel = 0;
    lightingOn = 1;
    zBufferOn = 1;
    viewportIsFullScreen = 1;
    SetIdentity(view);
    SendTransform(PLAT_TS_VIEW, view);
    UpdatePerspectiveMatrix();
    SetMaterialToDefault();
    SetNoTexture();
    SetTextureQuality(-1);
    TurnOnLighting();
    UpdateFullScreenViewport();
    EnableZBuffer(zBufferWanted != 0);
    if (specularOn)
        TurnOnSpecular(specularLocalViewer != 0);
    else
        TurnOffSpecular();
    if (alphaModulateDiffuse)
        SetAlphaModulateDiffuse();
    else
        SetAlphaBlendTextureAlpha();
    if (blendingEnabled)
    {
        WriteRenderState(PLAT_RS_SRCBLEND, (uint32_t)blendSource, "SRCBLEND");
        WriteRenderState(PLAT_RS_DESTBLEND, (uint32_t)blendDestination, "DESTBLEND");
        WriteRenderState(PLAT_RS_ALPHABLENDENABLE, 1, "ALPHABLENDENABLE");
    }
    else
    {
        WriteRenderState(PLAT_RS_ALPHABLENDENABLE, 0, "ALPHABLENDENABLE");
        blendSource = -1;
        blendDestination = -1;
    }
}

// ---- Viewport and clear ------------------------------------------------------------------

void EngDeviceDX9::UpdateViewportAfterResize()
{
    UpdateFullScreenViewport();
}

void EngDeviceDX9::UpdateFullScreenViewport()
{
    EngWindow *window = MainWindow();
    PlatWindow *osWindow = window ? EngDeviceWindowHost()->getOsWindow(window) : nullptr;
    if (window && EngScreenSettings.windowed && osWindow)
    {
        // The back buffer is the client area: its viewport starts at 0, 0 wherever the
        // window sits on the desktop.
        int32_t w = 0, h = 0;
        PlatWinGetClientSize(osWindow, &w, &h);
        fullScreenViewport = {0, 0, (uint32_t)w, (uint32_t)h, 0.0f, 1.0f};
    }
    else if (window || parentWindow || Device())
        fullScreenViewport = {0, 0, (uint32_t)ScreenWidth(), (uint32_t)ScreenHeight(), 0.0f, 1.0f};
    else
        fullScreenViewport = {0, 0, 640, 480, 0.0f, 1.0f};
}

void EngDeviceDX9::SetViewportFullScreen()
{
    if (!Device())
        return;
    PlatD3dViewport viewport;
    memcpy(&viewport, &fullScreenViewport, sizeof(viewport));
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetViewport", PlatD3dDeviceSetViewport(Device(), &viewport));
    currentViewport = fullScreenViewport;
    viewportIsFullScreen = 1;
}

void EngDeviceDX9::SetViewportToSize(int x, int y, int w, int h)
{
    if (!Device())
        return;
    EngWindow *window = MainWindow();
    PlatWindow *osWindow = window ? EngDeviceWindowHost()->getOsWindow(window) : nullptr;
    if (window && EngScreenSettings.windowed && osWindow && EngScreenSettings.width >= 1 && EngScreenSettings.height >= 1)
    {
        // Scaled from the screen settings' size to the client area's; the window's place
        // on the desktop does not move the back buffer.
        int32_t clientWidth = 0, clientHeight = 0;
        PlatWinGetClientSize(osWindow, &clientWidth, &clientHeight);
        w = EngMathTruncDoubleToInt((double)w * clientWidth / EngScreenSettings.width);
        h = EngMathTruncDoubleToInt((double)h * clientHeight / EngScreenSettings.height);
    }
    _EngViewport viewport = {(uint32_t)(x < 0 ? 0 : x), (uint32_t)(y < 0 ? 0 : y), (uint32_t)(w < 0 ? 0 : w),
                             (uint32_t)(h < 0 ? 0 : h), 0.0f, 1.0f};
    PlatD3dViewport platViewport;
    memcpy(&platViewport, &viewport, sizeof(platViewport));
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetViewport", PlatD3dDeviceSetViewport(Device(), &platViewport));
    currentViewport = viewport;
    viewportIsFullScreen = 0;
}

void EngDeviceDX9::SetViewportToRect(const float *rect)
{
    if (!rect)
    {
        SetViewportFullScreen();
        return;
    }
    SetViewportToSize(EngMathTruncDoubleToInt(rect[0]), EngMathTruncDoubleToInt(rect[1]),
                      EngMathTruncDoubleToInt(rect[2]), EngMathTruncDoubleToInt(rect[3]));
}

void EngDeviceDX9::SetViewportToRatioedRect(const float *rect)
{
    if (!rect)
    {
        SetViewportFullScreen();
        return;
    }
    float sx = EngScreenSettings.scaleToScreenX, sy = EngScreenSettings.scaleToScreenY;
    SetViewportToSize(EngMathRoundFloatToInt(rect[0] * sx), EngMathRoundFloatToInt(rect[1] * sy),
                      EngMathRoundFloatToInt(rect[2] * sx), EngMathRoundFloatToInt(rect[3] * sy));
}

void EngDeviceDX9::SetViewportToViewportStruct(const _EngViewport *viewport)
{
    if (!viewport || !Device())
        return;
    PlatD3dViewport platViewport;
    memcpy(&platViewport, viewport, sizeof(platViewport));
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetViewport", PlatD3dDeviceSetViewport(Device(), &platViewport));
    currentViewport = *viewport;
    viewportIsFullScreen = 0;
}

void EngDeviceDX9::GetViewport(_EngViewport *out)
{
    if (out)
        *out = viewportIsFullScreen ? fullScreenViewport : currentViewport;
}

void EngDeviceDX9::SetClearColour(float red, float green, float blue)
{
    auto channel = [](float value) -> uint32_t { return (uint32_t)EngMathTruncDoubleToInt(value * 255.0f) & 0xFF; };
    clearColour = 0xFF000000u | (channel(red) << 16) | (channel(green) << 8) | channel(blue);
}

void EngDeviceDX9::ClearScreenAndZBuffer()
{
    if (Device())
        PlatD3dDeviceClear(Device(), 0, nullptr, PLAT_CLEAR_TARGET | PLAT_CLEAR_ZBUFFER, clearColour, 1.0f, 0);
}

void EngDeviceDX9::ClearScreen()
{
    if (Device())
        PlatD3dDeviceClear(Device(), 0, nullptr, PLAT_CLEAR_TARGET, clearColour, 1.0f, 0);
}

// ---- Matrices ------------------------------------------------------------------------------

void EngDeviceDX9::SetPerspectiveAspect(float aspect, bool apply)
{
    if (!(aspect > 0.0f) || !std::isfinite(aspect))
    {
        DebugError(ENG_FUNC, "Bad Aspect [%6.3f]", aspect);
        return;
    }
    perspectiveAspect = aspect;
    perspectiveAspectInverse = 1.0f / aspect;
    if (apply)
        UpdatePerspectiveMatrix();
}

void EngDeviceDX9::SetNearAndFarPlanes(float zNear, float zFar, bool apply)
{
    // A near plane at or behind the eye, or no depth between the planes, makes no
    // projection: keep the planes we have.
    if (!(zNear > 0.0f) || !(zFar > zNear) || !std::isfinite(zFar))
    {
        DebugError(ENG_FUNC, "Bad near and far planes [%.4f, %.4f]", zNear, zFar);
        return;
    }
    nearPlane = zNear;
    farPlane = zFar;
    if (apply)
        UpdatePerspectiveMatrix();
}

void EngDeviceDX9::GetNearAndFarPlanes(float *zNear, float *zFar)
{
    if (zNear)
        *zNear = nearPlane;
    if (zFar)
        *zFar = farPlane;
}

void EngDeviceDX9::UpdatePerspectiveMatrix()
{
    PlatMatrix matrix;
    if (!PlatD3dxMatrixPerspectiveFovRH(&matrix, fieldOfViewRadians, perspectiveAspect, nearPlane, farPlane))
    {
        DebugError(ENG_FUNC, "Bad perspective (fov %.4f, aspect %.4f, near %.4f, far %.4f)", fieldOfViewRadians,
                   perspectiveAspect, nearPlane, farPlane);
        return;
    }
    memcpy(projection, matrix.m, sizeof(projection));
    SendTransform(PLAT_TS_PROJECTION, projection);
}

void EngDeviceDX9::SetProjectionMatrixToDxMatrix(const float *matrix)
{
    if (matrix)
        memcpy(projection, matrix, sizeof(projection));
    else
        SetIdentity(projection);
    SendTransform(PLAT_TS_PROJECTION, projection);
}

void EngDeviceDX9::SetViewMatrixLookAt(const _Vector3d *eye, const _Vector3d *target)
{
    if (!eye || !target)
        return;
    PlatVector3 from = {eye->x, eye->y, eye->z}, at = {target->x, target->y, target->z}, up = {0.0f, 0.0f, 1.0f};
    PlatMatrix matrix;
    if (!PlatD3dxMatrixLookAtRH(&matrix, &from, &at, &up))
    {
        DebugError(ENG_FUNC, "Bad view (eye %.3f %.3f %.3f, target %.3f %.3f %.3f)", eye->x, eye->y, eye->z,
                   target->x, target->y, target->z);
        return;
    }
    memcpy(view, matrix.m, sizeof(view));
    SendTransform(PLAT_TS_VIEW, view);
}

void EngDeviceDX9::SetViewMatrixToDxMatrix(const float *matrix)
{
    if (matrix)
        memcpy(view, matrix, sizeof(view));
    else
        SetIdentity(view);
    SendTransform(PLAT_TS_VIEW, view);
}

void EngDeviceDX9::ResetTransformMatrix()
{
    SetTransformMatrixToDxMatrix(identity);
}

void EngDeviceDX9::SetTransformMatrixToDxMatrix(const float *matrix)
{
    if (matrix)
        memcpy(world, matrix, sizeof(world));
    else
        SetIdentity(world);
    SendTransform(PLAT_TS_WORLD, world);
}

void EngDeviceDX9::SetTransformMatrixToTranslation(float x, float y, float z)
{
    PlatMatrix matrix;
    PlatD3dxMatrixTranslation(&matrix, x, y, z);
    SetTransformMatrixToDxMatrix(matrix.m);
}

void EngDeviceDX9::SetTransformMatrixToTranslationAndScale(float x, float y, float z, float sx, float sy, float sz)
{
    PlatMatrix scale, translation;
    PlatD3dxMatrixScaling(&scale, sx, sy, sz);
    PlatD3dxMatrixTranslation(&translation, x, y, z);
    PlatD3dxMatrixMultiply(&scale, &scale, &translation);
    SetTransformMatrixToDxMatrix(scale.m);
}

void EngDeviceDX9BuildMatrixFromPositionAndRotation(float *out, const _Vector3d *position,
                                                    const _Vector3d *rotation)
{
    PlatMatrix result;
    PlatD3dxMatrixIdentity(&result);
    if (rotation)
    {
        PlatMatrix rx, ry, rz;
        PlatD3dxMatrixRotationY(&ry, rotation->y);
        PlatD3dxMatrixRotationX(&rx, rotation->x);
        PlatD3dxMatrixRotationZ(&rz, rotation->z);
        PlatD3dxMatrixMultiply(&result, &ry, &rx);
        PlatD3dxMatrixMultiply(&result, &result, &rz);
    }
    if (position)
    {
        PlatMatrix translation;
        PlatD3dxMatrixTranslation(&translation, position->x, position->y, position->z);
        PlatD3dxMatrixMultiply(&result, &result, &translation);
    }
    memcpy(out, result.m, sizeof(result.m));
}

void EngDeviceDX9::SetTransformMatrixToPositionAndRotation(const _Vector3d *position, const _Vector3d *rotation)
{
    float matrix[16];
    EngDeviceDX9BuildMatrixFromPositionAndRotation(matrix, position, rotation);
    SetTransformMatrixToDxMatrix(matrix);
}

void EngDeviceDX9::SetTransformMatrixToPositionRotationAndScale(const _Vector3d *position, const _Vector3d *rotation,
                                                                const _Vector3d *scale)
{
    PlatMatrix matrix;
    EngDeviceDX9BuildMatrixFromPositionAndRotation(matrix.m, position, rotation);
    if (scale)
    {
        PlatMatrix scaling;
        PlatD3dxMatrixScaling(&scaling, scale->x, scale->y, scale->z);
        PlatD3dxMatrixMultiply(&matrix, &scaling, &matrix);
    }
    SetTransformMatrixToDxMatrix(matrix.m);
}

void EngDeviceDX9::GetTransformMatrixAsDxMatrix(float *out)
{
    if (out)
        memcpy(out, world, sizeof(world));
}

// ---- Stacks ----------------------------------------------------------------------------------

void EngDeviceDX9::PushTransformMatrix()
{
    if (worldStackLevel < 0)
    {
        DebugError(ENG_FUNC, "Stack level %d", worldStackLevel);
        worldStackLevel = 0;
    }
    if (worldStackLevel >= ENG_DX9_STACK_SIZE)
    {
        DebugError(ENG_FUNC, "Too many pushes");
        return;
    }
    memcpy(worldStack[worldStackLevel], world, sizeof(world));
    worldStackLevel++;
}

void EngDeviceDX9::PopTransformMatrix()
{
    if (worldStackLevel > 0)
    {
        worldStackLevel--;
        SetTransformMatrixToDxMatrix(worldStack[worldStackLevel]);
        return;
    }
    DebugError(ENG_FUNC, "Not pushed");
    worldStackLevel = 0;
}

void EngDeviceDX9::PushAllMatrices()
{
    if (worldStackLevel != 0)
        DebugError(ENG_FUNC, "Transform matrix stack level not 0 (%d)", worldStackLevel);
    if (allStackLevel < 0)
    {
        DebugError(ENG_FUNC, "Stack level %d", allStackLevel);
        allStackLevel = 0;
    }
    if (allStackLevel >= ENG_DX9_STACK_SIZE)
    {
        DebugError(ENG_FUNC, "Too many pushes");
        return;
    }
    memcpy(projectionStack[allStackLevel], projection, sizeof(projection));
    memcpy(viewStack[allStackLevel], view, sizeof(view));
    memcpy(worldStackAll[allStackLevel], world, sizeof(world));
    allStackLevel++;
}

void EngDeviceDX9::PopAllMatrices()
{
    if (allStackLevel < 1)
    {
        DebugError(ENG_FUNC, "Not pushed");
        allStackLevel = 0;
        return;
    }
    if (worldStackLevel != 0)
        DebugError(ENG_FUNC, "Transform matrix stack level not 0 (%d)", worldStackLevel);
    allStackLevel--;
    memcpy(projection, projectionStack[allStackLevel], sizeof(projection));
    memcpy(view, viewStack[allStackLevel], sizeof(view));
    memcpy(world, worldStackAll[allStackLevel], sizeof(world));
    SendTransform(PLAT_TS_PROJECTION, projection);
    SendTransform(PLAT_TS_VIEW, view);
    SendTransform(PLAT_TS_WORLD, world);
}

// ---- Lighting, depth, culling and texture stage --------------------------------------------

void EngDeviceDX9::TurnOnLighting()
{
    if (!Device() || lightingOn)
        return;
    WriteRenderState(PLAT_RS_LIGHTING, 1, "LIGHTING");
    lightingOn = 1;
}

void EngDeviceDX9::TurnOffLighting()
{
    if (!Device() || !lightingOn)
        return;
    WriteRenderState(PLAT_RS_LIGHTING, 0, "LIGHTING");
    lightingOn = 0;
}

bool EngDeviceDX9::TurnOffLightingIfOn()
{
    if (!Device() || !lightingOn)
        return false;
    TurnOffLighting();
    return true;
}

void EngDeviceDX9::EnableZBuffer(bool on)
{
    if (!Device())
        return;
    WriteRenderState(PLAT_RS_ZENABLE, on ? 1 : 0, "ZENABLE");
    zBufferWanted = zBufferOn = on ? 1 : 0;
}

void EngDeviceDX9::ResumeZBuffer()
{
    if (!Device() || !zBufferWanted || zBufferOn)
        return;
    WriteRenderState(PLAT_RS_ZENABLE, 1, "ZENABLE");
    zBufferOn = 1;
}

void EngDeviceDX9::SuspendZBuffer()
{
    SuspendZBufferIfOn();
}

bool EngDeviceDX9::SuspendZBufferIfOn()
{
    if (!Device() || !zBufferWanted || !zBufferOn)
        return false;
    WriteRenderState(PLAT_RS_ZENABLE, 0, "ZENABLE");
    zBufferOn = 0;
    return true;
}

void EngDeviceDX9::TurnOnSpecular(bool localViewer)
{
    if (!Device())
        return;
    WriteRenderState(PLAT_RS_SPECULARENABLE, 1, "SPECULARENABLE");
    WriteRenderState(PLAT_RS_LOCALVIEWER, localViewer ? 1 : 0, "LOCALVIEWER");
    specularOn = 1;
    specularLocalViewer = localViewer ? 1 : 0;
}

void EngDeviceDX9::TurnOffSpecular()
{
    if (!Device())
        return;
    WriteRenderState(PLAT_RS_SPECULARENABLE, 0, "SPECULARENABLE");
    WriteRenderState(PLAT_RS_LOCALVIEWER, 1, "LOCALVIEWER");
    specularOn = 0;
}

void EngDeviceDX9::ShowTwoSidedPolygons(bool show)
{
    if (!Device())
        return;
    if ((twoSided != 0) == show)
    {
        DebugError(ENG_FUNC, "Flag already set to %d", show ? 1 : 0);
        return;
    }
    WriteRenderState(PLAT_RS_CULLMODE, show ? PLAT_CULL_NONE : PLAT_CULL_CCW, "CULLMODE");
    twoSided = show ? 1 : 0;
}

bool EngDeviceDX9::SetTwoSidedPolygons(bool show)
{
    bool previous = twoSided != 0;
    if (Device() && previous != show)
    {
        WriteRenderState(PLAT_RS_CULLMODE, show ? PLAT_CULL_NONE : PLAT_CULL_CCW, "CULLMODE");
        twoSided = show ? 1 : 0;
    }
    return previous;
}

void EngDeviceDX9::SetAlphaModulateDiffuse()
{
    if (!Device())
        return;
    PlatD3dDeviceSetTextureStageState(Device(), 0, PLAT_TSS_ALPHAOP, PLAT_TOP_MODULATE);
    PlatD3dDeviceSetTextureStageState(Device(), 0, PLAT_TSS_ALPHAARG1, PLAT_TA_DIFFUSE);
    PlatD3dDeviceSetTextureStageState(Device(), 0, PLAT_TSS_ALPHAARG2, PLAT_TA_TEXTURE);
    PlatD3dDeviceSetTextureStageState(Device(), 1, PLAT_TSS_ALPHAOP, PLAT_TOP_DISABLE);
    alphaModulateDiffuse = 1;
}

void EngDeviceDX9::SetAlphaBlendTextureAlpha()
{
    if (!Device())
        return;
    PlatD3dDeviceSetTextureStageState(Device(), 0, PLAT_TSS_ALPHAOP, PLAT_TOP_BLENDTEXTUREALPHA);
    PlatD3dDeviceSetTextureStageState(Device(), 0, PLAT_TSS_ALPHAARG1, PLAT_TA_DIFFUSE);
    PlatD3dDeviceSetTextureStageState(Device(), 0, PLAT_TSS_ALPHAARG2, PLAT_TA_TEXTURE);
    PlatD3dDeviceSetTextureStageState(Device(), 1, PLAT_TSS_ALPHAOP, PLAT_TOP_DISABLE);
    alphaModulateDiffuse = 0;
}

void EngDeviceDX9::EnsureAlphaModulateDiffuse(bool *changed)
{
    bool wasOff = alphaModulateDiffuse == 0;
    if (changed)
        *changed = wasOff;
    if (wasOff)
        SetAlphaModulateDiffuse();
}

void EngDeviceDX9::SetNoTexture()
{
    if (Device())
        EngUtilsDX9_CheckResult(ENG_FUNC, "SetTexture", PlatD3dDeviceSetTexture(Device(), 0, nullptr));
}

void EngDeviceDX9::SetTextureQuality(signed char quality)
{
    if (quality >= 0)
        textureQuality = (uint8_t)quality;
    if (!Device())
        return;
    uint32_t filter = textureQuality ? PLAT_TEXF_LINEAR : PLAT_TEXF_POINT;
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetSamplerState",
                            PlatD3dDeviceSetSamplerState(Device(), 0, PLAT_SAMP_MAGFILTER, filter));
    EngUtilsDX9_CheckResult(ENG_FUNC, "SetSamplerState",
                            PlatD3dDeviceSetSamplerState(Device(), 0, PLAT_SAMP_MINFILTER, filter));
}

void EngDeviceDX9::SetMaterialToDefault()
{
    if (Device())
        EngUtilsDX9_CheckResult(ENG_FUNC, "SetMaterial", PlatD3dDeviceSetMaterial(Device(), &material));
}

// ---- Blending ------------------------------------------------------------------------------------

void EngDeviceDX9::EnableBlendingType(int type)
{
    if (type < 0 || type >= ENG_BLEND_TYPE_COUNT)
    {
        DebugError(ENG_FUNC, "Invalid Blending Type %d", type);
        return;
    }
    EnableBlending(kBlendingTypes[type][0], kBlendingTypes[type][1]);
}

void EngDeviceDX9::EnableBlending(int source, int destination)
{
    if (!Device())
        return;
    if (source != blendSource)
    {
        WriteRenderState(PLAT_RS_SRCBLEND, (uint32_t)source, "SRCBLEND");
        blendSource = source;
    }
    if (destination != blendDestination)
    {
        WriteRenderState(PLAT_RS_DESTBLEND, (uint32_t)destination, "DESTBLEND");
        blendDestination = destination;
    }
    if (!blendingEnabled)
    {
        WriteRenderState(PLAT_RS_ALPHABLENDENABLE, 1, "ALPHABLENDENABLE");
        blendingEnabled = 1;
    }
}

void EngDeviceDX9::DisableBlending()
{
    if (!Device() || !blendingEnabled)
        return;
    WriteRenderState(PLAT_RS_ALPHABLENDENABLE, 0, "ALPHABLENDENABLE");
    blendingEnabled = 0;
}

bool EngDeviceDX9::GetBlendingState(bool *enabled, int *source, int *destination)
{
    if (enabled)
        *enabled = blendingEnabled != 0;
    if (source)
        *source = blendSource;
    if (destination)
        *destination = blendDestination;
    return blendingEnabled != 0;
}

void EngDeviceDX9::SetBlendingState(bool enabled, int source, int destination)
{
    if (enabled)
        EnableBlending(source, destination);
    else if (blendingEnabled)
        DisableBlending();
}

bool EngDeviceDX9::SaveOrRestoreBlendingState(bool save)
{
    if (save)
    {
        if (s_state.saved)
        {
            DebugError(ENG_FUNC, "Already saved");
            return false;
        }
        s_state.savedEnabled = blendingEnabled != 0;
        s_state.savedSource = blendSource;
        s_state.savedDestination = blendDestination;
        s_state.saved = true;
        return true;
    }
    if (!s_state.saved)
    {
        DebugError(ENG_FUNC, "Not saved");
        return false;
    }
    if (s_state.savedEnabled)
        EnableBlending(s_state.savedSource, s_state.savedDestination);
    else if (blendingEnabled)
        DisableBlending();
    s_state.saved = false;
    return true;
}

// ---- 2D mode ---------------------------------------------------------------------------------------

void EngDeviceDX9::PrepareFor2D(bool turnOffLighting)
{
    if (preparedFor2D)
    {
        DebugError(ENG_FUNC, "Already Called");
        return;
    }
    PushAllMatrices();
    s_state.lightingBefore2D = lightingOn != 0;
    SetProjectionMatrixToDxMatrix(identity);
    SetViewMatrixToDxMatrix(identity);
    SetTransformMatrixToDxMatrix(identity);
    if (turnOffLighting)
        TurnOffLighting();
    SuspendZBuffer();
    preparedFor2D = 1;
}

void EngDeviceDX9::RestoreAfter2D()
{
    if (!preparedFor2D)
    {
        DebugError(ENG_FUNC, "Not prepared");
        return;
    }
    ResumeZBuffer();
    PopAllMatrices();
    if (s_state.lightingBefore2D)
        TurnOnLighting();
    else
        TurnOffLighting();
    preparedFor2D = 0;
}

bool EngDeviceDX9::PrepareFor2DIfNotPrepared(bool turnOffLighting)
{
    if (preparedFor2D)
        return false;
    PrepareFor2D(turnOffLighting);
    return true;
}

bool EngDeviceDX9::RestoreAfter2DIfPrepared()
{
    if (!preparedFor2D)
        return false;
    RestoreAfter2D();
    return true;
}

// ---- Crop ------------------------------------------------------------------------------------------

void EngDeviceDX9::TurnOnCrop(float x, float y, float w, float h)
{
    if (!Device())
        return;
    float sx = EngScreenSettings.scaleToScreenX, sy = EngScreenSettings.scaleToScreenY;
    PlatD3dRect rect;
    rect.left = EngMathRoundFloatToInt(x * sx);
    rect.top = EngMathRoundFloatToInt(y * sy);
    rect.right = EngMathRoundDoubleToInt((double)rect.left + EngMathRoundFloatToInt(w * sx));
    rect.bottom = EngMathRoundDoubleToInt((double)rect.top + EngMathRoundFloatToInt(h * sy));
    PlatD3dDeviceSetScissorRect(Device(), &rect);
    WriteRenderState(PLAT_RS_SCISSORTESTENABLE, 1, "SCISSORTESTENABLE");
    cropOn = 1;
}

void EngDeviceDX9::TurnOnCropInViewport(float x, float y, float w, float h)
{
    if (!Device())
        return;
    if (viewportIsFullScreen)
    {
        TurnOnCrop(x, y, w, h);
        return;
    }
    float sx = EngScreenSettings.scaleToScreenX, sy = EngScreenSettings.scaleToScreenY;
    float fx = (float)currentViewport.width / (float)ScreenWidth();
    float fy = (float)currentViewport.height / (float)ScreenHeight();
    PlatD3dRect rect;
    rect.left = EngMathTruncDoubleToInt(x * sx * fx + (float)currentViewport.x);
    rect.right = EngMathTruncDoubleToInt(fx * (w * sx) + (float)rect.left);
    rect.top = EngMathTruncDoubleToInt(y * sy * fy + (float)currentViewport.y);
    rect.bottom = EngMathTruncDoubleToInt(fy * (h * sy) + (float)rect.top);
    PlatD3dDeviceSetScissorRect(Device(), &rect);
    WriteRenderState(PLAT_RS_SCISSORTESTENABLE, 1, "SCISSORTESTENABLE");
    cropOn = 1;
}

void EngDeviceDX9::TurnOffCrop()
{
    if (!cropOn)
        DebugError(ENG_FUNC, "Crop is not on.");
    WriteRenderState(PLAT_RS_SCISSORTESTENABLE, 0, "SCISSORTESTENABLE");
    cropOn = 0;
}

// ---- Dimming ---------------------------------------------------------------------------------------

static bool EngDimCreateVertexBuffer_DX9()
{
    if (!s_state.dimQuad)
        s_state.dimQuad = new EngVertexBufferDX9("dim");
    if (!s_state.dimQuad->Create(EVBT_POS_COL_2D, nullptr))
        return false;
    s_state.dimQuad->SetPositionsScaled(0.0f, 0.0f, 640.0f, 480.0f);
    s_state.dimCreated = true;
    return true;
}

void EngDimScreen(float alpha)
{
    EngDeviceDX9 *device = EngDeviceDX9GetCurrent();
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9 || !EngMainDevice || !device)
        return;
    if (!s_state.dimCreated && !EngDimCreateVertexBuffer_DX9())
    {
        DebugError(ENG_FUNC, "Could not create VB");
        return;
    }
    alpha = alpha < 0.0f ? 0.0f : (alpha > 1.0f ? 1.0f : alpha);
    s_state.dimQuad->SetColour(0.0f, 0.0f, 0.0f, alpha);
    // The dimming keeps its own copy of the blending state: the shared save slot may be
    // held by the text drawing around it.
    bool enabled = false;
    int source = -1, destination = -1;
    device->GetBlendingState(&enabled, &source, &destination);
    device->EnableBlendingType(ENG_BLEND_ALPHA);
    s_state.dimQuad->Draw();
    device->SetBlendingState(enabled, source, destination);
}

void EngDimReset()
{
    if (s_state.dimQuad)
    {
        delete s_state.dimQuad;
        s_state.dimQuad = nullptr;
    }
    s_state.dimCreated = false;
}
